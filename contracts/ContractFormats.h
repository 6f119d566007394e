#pragma once
// How the contract windows show stored values: amounts "0.00" (halves away
// from zero, in fixed point), dates as yyyy-MM-dd with the time only when it
// is not midnight, flags as "True"/"False", and the Tag of a control.

#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>

namespace corvane::contract {

// The amount in hundredths, rounded half away from zero; no value for NULL
// or a text that is not a number.
std::optional<qint64> centsOf(const QVariant& amount);
QString centsText(qint64 cents);  // "0.00"
// "" for NULL.
QString amountText(const QVariant& amount);
// "#.00": no leading zero before the point (0 gives ".00").
QString amountTextNoLeadingZero(qint64 cents);
QString dateText(const QVariant& value);
QString flagText(const QVariant& value);

// The Tag text that the old controls carried, kept as a property of the widget.
QString TagOf(const QObject* control);
void SetTag(QObject* control, const QString& tag);

// The number at the start of a text, as the old Val() read it (blanks
// skipped, a sign, digits, a decimal part); 0 when there is none.
double leadingNumber(const QString& text);

}  // namespace corvane::contract
