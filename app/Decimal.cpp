#include "app/Decimal.h"

namespace corvane {

namespace {

using Wide = __int128;

constexpr qint64 kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// n / d rounded to a whole number by `rule`; d > 0.
Wide roundedDivision(Wide n, Wide d, Rounding rule)
{
    const bool negative = n < 0;
    const Wide a = negative ? -n : n;
    Wide q = a / d;
    const Wide r = a % d;
    const Wide twice = r * 2;
    if (twice > d || (twice == d && (rule == Rounding::HalfAwayFromZero || q % 2 == 1))) ++q;
    return negative ? -q : q;
}

std::optional<Decimal> held(Wide raw)
{
    if (raw > Decimal::kLargestRaw || raw < -Decimal::kLargestRaw) return std::nullopt;
    return Decimal::fromRaw(qint64(raw));
}

QString digitsOf(quint64 v) { return QString::number(v); }

struct Reading {
    bool negative = false;
    bool anyDigit = false;
    bool tooLarge = false;
    Wide raw = 0;  // ten-thousandths, before rounding the fifth decimal
    int fifth = 0;
    int decimals = 0;
    qsizetype end = 0;
};

// Reads sign, digits and one point from `from`; stops at the first
// character that cannot continue the number.
Reading readNumber(QStringView t, qsizetype from)
{
    Reading r;
    qsizetype i = from;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        r.negative = t[i] == u'-';
        ++i;
    }
    bool point = false;
    int decimals = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9') break;
        const int d = c.unicode() - u'0';
        r.anyDigit = true;
        if (!point) {
            if (r.tooLarge) continue;
            r.raw = r.raw * 10 + Wide(d) * Decimal::kScale;
            if (r.raw > Wide(Decimal::kLargestRaw)) r.tooLarge = true;
        } else if (decimals < Decimal::kPlaces) {
            r.raw += Wide(d) * kPow10[Decimal::kPlaces - 1 - decimals];
            ++decimals;
        } else {
            if (decimals == Decimal::kPlaces) r.fifth = d;
            ++decimals;
        }
    }
    r.decimals = decimals;
    r.end = i;
    return r;
}

std::optional<Decimal> valueOf(const Reading& r)
{
    if (r.tooLarge) return std::nullopt;
    const Wide raw = r.raw + (r.fifth >= 5 ? 1 : 0);
    return held(r.negative ? -raw : raw);
}

}  // namespace

std::optional<qint64> Decimal::cents() const
{
    if (m_raw % 100 != 0) return std::nullopt;
    return m_raw / 100;
}

std::optional<qint64> Decimal::wholeNumber() const
{
    if (m_raw % kScale != 0) return std::nullopt;
    return m_raw / kScale;
}

Decimal Decimal::rounded(int places, Rounding rule) const
{
    const qint64 step = kPow10[kPlaces - places];
    return Decimal(qint64(roundedDivision(m_raw, step, rule) * step));
}

std::optional<Decimal> Decimal::quotient(Decimal numerator, qint64 denominator, int places, Rounding rule)
{
    if (denominator == 0) return std::nullopt;
    Wide n = numerator.m_raw;
    Wide d = denominator;
    if (d < 0) n = -n, d = -d;
    const qint64 step = kPow10[kPlaces - places];
    return held(roundedDivision(n, d * step, rule) * step);
}

std::optional<Decimal> Decimal::scaled(Decimal a, Decimal b, qint64 denominator, int places, Rounding rule)
{
    if (denominator == 0) return std::nullopt;
    // a × b carries eight decimals; four of them go with the scale.
    Wide n = Wide(a.m_raw) * Wide(b.m_raw);
    Wide d = Wide(denominator) * kScale;
    if (d < 0) n = -n, d = -d;
    const qint64 step = kPow10[kPlaces - places];
    return held(roundedDivision(n, d * step, rule) * step);
}

QString Decimal::fixed(int places) const
{
    const qint64 step = kPow10[kPlaces - places];
    const qint64 units = qint64(roundedDivision(m_raw, step, Rounding::HalfAwayFromZero));
    const bool negative = units < 0;
    const quint64 a = negative ? quint64(-units) : quint64(units);
    const quint64 scale = quint64(kPow10[places]);
    QString out = digitsOf(a / scale);
    if (places > 0) out += QLatin1Char('.') + digitsOf(a % scale).rightJustified(places, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + out : out;
}

QString Decimal::hashFixed2() const
{
    QString t = fixed(2);
    if (t.startsWith(QLatin1String("0."))) t.remove(0, 1);
    else if (t.startsWith(QLatin1String("-0."))) t.remove(1, 1);
    return t;
}

QString Decimal::plain() const
{
    QString t = fixed(kPlaces);
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

std::optional<Decimal> leadingDecimal(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\x3000')) ++i;
    const Reading r = readNumber(text, i);
    if (!r.anyDigit) return Decimal();
    return valueOf(r);
}

std::optional<Decimal> plainDecimal(QStringView text)
{
    const QStringView t = text.trimmed();
    const Reading r = readNumber(t, 0);
    if (!r.anyDigit || r.end != t.size()) return std::nullopt;
    if (r.decimals > Decimal::kPlaces) return std::nullopt;
    return valueOf(r);
}

}  // namespace corvane
