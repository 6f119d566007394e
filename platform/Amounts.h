#pragma once
// Amounts of money as integer hundredths: read from what users type or a
// database returns, and written "0.00". Never through binary floating point,
// so "0.285" is 0.29 as written.

#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

namespace corvane {

// A plain decimal text (blanks around it, an optional sign, digits, at most
// one point) in hundredths, halves of a hundredth rounded away from zero. No
// value for any other text, an empty one included, or for an amount that
// DECIMAL(18,2) cannot hold (more than sixteen digits before the point).
std::optional<qint64> parseCents(QStringView text);

// An amount as a user types it: the same plain decimal text, but nothing is
// rounded (at most two decimals) and at most thirteen digits before the point,
// so that every engine keeps it as typed (SQLite's numeric affinity stores
// DECIMAL as a binary float, exact to fifteen significant digits). No value
// for anything else.
std::optional<qint64> parseTypedCents(QStringView text);

// The amount a database returned (a number or its text) in hundredths; no
// value for NULL or a text that is not a number.
std::optional<qint64> centsOf(const QVariant& amount);

// "0.00": at least one digit before the point, two after.
QString centsText(qint64 cents);
// "#.00": no leading zero before the point (0 gives ".00").
QString amountTextNoLeadingZero(qint64 cents);

// The number at the start of a text, as the old Val() read it (blanks
// skipped, a sign, digits, a decimal part); 0 when there is none.
double leadingNumber(const QString& text);

}  // namespace corvane
