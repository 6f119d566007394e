#pragma once
// How the contract windows show stored values: amounts "0.00" (halves away
// from zero, in fixed point), dates as yyyy-MM-dd with the time only when it
// is not midnight, flags as "True"/"False". Into a grid: contracts/ContractGridFormats.h.

#include <QString>
#include <QVariant>

#include "platform/Amounts.h"
#include "platform/Tag.h"

namespace corvane::contract {

// "" for NULL.
QString amountText(const QVariant& amount);
QString dateText(const QVariant& value);
QString flagText(const QVariant& value);

}  // namespace corvane::contract
