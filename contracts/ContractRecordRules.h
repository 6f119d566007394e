#pragma once
// Rules of the contract record window that need no window: reading the
// amounts and dates users type, the term in days, the last day of a month and
// the term proposed for a renewal.

#include <QDate>
#include <QString>
#include <optional>

namespace corvane::contract {

// The short date the windows show and read: yyyy-MM-dd.
QString shortDateText(const QDate& date);

// A date typed or shown in a box: year first, then month and day, separated
// by "-", "/" or "."; no value for anything else (an empty text included).
std::optional<QDate> parseDateText(const QString& text);

// Why a typed contract number (already trimmed) cannot be stored: a blank
// or a control character inside it would make a number that looks like
// another. No value when it can.
std::optional<QString> typedNumberProblem(const QString& number);

// Days of the term, both ends counted (start and end the same day: 1).
qint64 termDays(const QDate& start, const QDate& end);

// The last day of the month as text, "28" to "31", leap years by the
// Gregorian rule; "" for a month outside 1 to 12.
QString lastDayOfMonthText(int year, int month);

// The end of a renewal's term: as many calendar months as the old term,
// starting the day after the old end. The result keeps the old end's day of
// the month, or the month's last day when the old term ended on the last day
// of its month; it may name a day the month lacks (2020-02-30), which the
// save then refuses. No value when a date is not readable.
std::optional<QString> renewalEndText(const QString& oldStart, const QString& oldEnd, const QString& newStart);

}  // namespace corvane::contract
