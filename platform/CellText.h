#pragma once
// Texts of the values a grid keeps as values (amounts, dates), written into
// a small buffer of the caller: a column of 100,000 amounts is shown, fitted
// and sorted without making 100,000 strings. The texts are the ones the
// windows always showed: amounts "0.00", dates yyyy-MM-dd with the time
// HH:mm:ss after a blank only when it is not midnight.

#include <QDate>
#include <QStringView>
#include <QTime>
#include <optional>

namespace corvane {

struct CellTextBuffer {
    char16_t chars[32];
    int at = 32;  // the text is chars[at..32)
    QStringView view() const { return QStringView(chars + at, 32 - at); }
};

// "0.00": at least one digit before the point, two after.
QStringView writeCents(qint64 cents, CellTextBuffer& out);

// A date and time of day as one number (the Julian day times 86400 plus the
// second of the day), ordered as the moments are and formatted without any
// time-zone rule: a stored date is a wall-clock value.
qint64 packDateTime(const QDate& date, const QTime& time = QTime(0, 0));
// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" (or with a "T" between), as SQLite
// keeps dates and as the database layer reads them as text; nothing for
// any other text or for a date or time that does not exist.
std::optional<qint64> packStoredDate(QStringView text);
QStringView writeDateTime(qint64 packed, CellTextBuffer& out);
QDate packedDate(qint64 packed);

}  // namespace corvane
