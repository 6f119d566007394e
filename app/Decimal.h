#pragma once
// Money and percentages as the plans and receipts compute them: a signed
// fixed-point value of ten-thousandths, read from what a clerk typed by the
// number the text begins with, and rounded only where a value is shown or
// divided, once, from the exact value. Binary floating point never takes part,
// so 10000 / 3 shown "0.00" is 3333.33 and 0.125 at two places is 0.13.

#include <QString>
#include <QStringView>
#include <optional>

namespace corvane {

enum class Rounding {
    HalfAwayFromZero,  // what "0.00" shows
    HalfToEven,        // where the rules ask for the even neighbour
};

class Decimal {
public:
    static constexpr int kPlaces = 4;
    static constexpr qint64 kScale = 10000;
    // The largest magnitude held: fourteen digits before the point.
    static constexpr qint64 kLargestRaw = 99999999999999'9999;

    constexpr Decimal() = default;
    static constexpr Decimal fromRaw(qint64 raw) { return Decimal(raw); }
    static constexpr Decimal whole(qint64 units) { return Decimal(units * kScale); }
    static constexpr Decimal fromCents(qint64 cents) { return Decimal(cents * 100); }

    constexpr qint64 raw() const { return m_raw; }
    constexpr bool isZero() const { return m_raw == 0; }
    constexpr bool isNegative() const { return m_raw < 0; }
    // Hundredths, when the value has no finer part.
    std::optional<qint64> cents() const;
    // The whole number, when the value has no fraction.
    std::optional<qint64> wholeNumber() const;

    // The value rounded to `places` decimals (0 to 4).
    Decimal rounded(int places, Rounding rule) const;
    // numerator / denominator rounded once to `places` decimals; no value for
    // a zero denominator or a result too large to hold.
    static std::optional<Decimal> quotient(Decimal numerator, qint64 denominator, int places, Rounding rule);
    // a × b / denominator rounded once to `places` decimals (a total times a
    // percentage over 100); no value as for quotient.
    static std::optional<Decimal> scaled(Decimal a, Decimal b, qint64 denominator, int places, Rounding rule);

    // "0.00" for places 2: rounded half away from zero, at least one digit
    // before the point.
    QString fixed(int places) const;
    // "#.00": as fixed(2), without a lone zero before the point (0.5 gives ".50").
    QString hashFixed2() const;
    // The value as a plain number: no trailing zeros, no point when whole
    // (1000 gives "1000", 1000.5 gives "1000.5").
    QString plain() const;

    friend constexpr Decimal operator+(Decimal a, Decimal b) { return Decimal(a.m_raw + b.m_raw); }
    friend constexpr Decimal operator-(Decimal a, Decimal b) { return Decimal(a.m_raw - b.m_raw); }
    friend constexpr Decimal operator-(Decimal a) { return Decimal(-a.m_raw); }
    friend constexpr Decimal operator*(Decimal a, qint64 n) { return Decimal(a.m_raw * n); }
    Decimal& operator+=(Decimal b) { m_raw += b.m_raw; return *this; }
    Decimal& operator-=(Decimal b) { m_raw -= b.m_raw; return *this; }
    friend constexpr auto operator<=>(Decimal a, Decimal b) = default;

private:
    constexpr explicit Decimal(qint64 raw) : m_raw(raw) {}
    qint64 m_raw = 0;
};

// The number a text begins with, as typed numbers are read: blanks skipped,
// an optional sign, digits and one decimal point up to the first character
// that cannot continue the number; a text that does not begin with a number
// reads as 0. Decimals past the fourth are rounded half away from zero. No
// value only when the number is too large to hold.
std::optional<Decimal> leadingDecimal(QStringView text);

// A text that is a number and nothing else (blanks around it allowed): an
// optional sign, digits, at most one point, at most four decimals. No value
// for anything else, an empty text included.
std::optional<Decimal> plainDecimal(QStringView text);

}  // namespace corvane
