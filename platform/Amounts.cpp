#include "platform/Amounts.h"

#include "platform/CellText.h"

#include <cmath>

namespace corvane {

std::optional<qint64> parseCents(QStringView t)
{
    t = t.trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t = t.mid(1);
    }
    qint64 whole = 0;
    int wholeDigits = 0, fracDigits = 0, digits = 0;
    int frac[3] = {0, 0, 0};
    bool point = false;
    for (const QChar c : t) {
        if (c == QLatin1Char('.') && !point) {
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        const int d = c.unicode() - '0';
        ++digits;
        if (!point) {
            // Leading zeros take no room; sixteen digits are what DECIMAL(18,2) keeps.
            if (whole == 0 && d == 0) continue;
            if (++wholeDigits > 16) return std::nullopt;
            whole = whole * 10 + d;
        } else if (fracDigits < 3) {
            frac[fracDigits++] = d;
        }
    }
    if (digits == 0) return std::nullopt;
    const qint64 cents = whole * 100 + frac[0] * 10 + frac[1] + (frac[2] >= 5 ? 1 : 0);
    return negative ? -cents : cents;
}

std::optional<qint64> parseTypedCents(QStringView text)
{
    const QStringView t = text.trimmed();
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    if (point >= 0 && t.size() - point - 1 > 2) return std::nullopt;
    const auto cents = parseCents(t);
    constexpr qint64 kLargest = 9999999999999'99;
    if (!cents || *cents > kLargest || *cents < -kLargest) return std::nullopt;
    return cents;
}

std::optional<qint64> centsOf(const QVariant& amount)
{
    if (amount.isNull()) return std::nullopt;
    switch (amount.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return amount.toLongLong() * 100;
    case QMetaType::Double: {
        // A stored amount of whole hundredths (SQLite's REAL for DECIMAL)
        // lies far closer to them than the text below could tell apart, so
        // it is read without making that text.
        const double v = amount.toDouble();
        if (std::isfinite(v) && std::fabs(v) < 1e13) {
            const double scaled = v * 100.0, whole = std::round(scaled);
            if (std::fabs(scaled - whole) < 1e-6) return qint64(whole);
        }
        // The shortest text of the stored value: a double 0.285 reads "0.285"
        // and is rounded as written, not as its binary neighbour.
        const QString t = QString::number(amount.toDouble(), 'g', 15);
        if (t.contains(QLatin1Char('e'), Qt::CaseInsensitive))
            return parseCents(QString::number(amount.toDouble(), 'f', 6));
        return parseCents(t);
    }
    default: return parseCents(amount.toString());
    }
}

QString centsText(qint64 cents)
{
    CellTextBuffer buf;
    return writeCents(cents, buf).toString();
}

QString amountTextNoLeadingZero(qint64 cents)
{
    QString t = centsText(cents);
    if (t.startsWith(QLatin1String("0."))) t.remove(0, 1);
    else if (t.startsWith(QLatin1String("-0."))) t.remove(1, 1);
    return t;
}

double leadingNumber(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i, digits = true;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i, digits = true;
    }
    if (!digits) return 0;
    return text.mid(start, i - start).toDouble();
}

}  // namespace corvane
