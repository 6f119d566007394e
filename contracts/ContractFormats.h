#pragma once
// How the contract windows show stored values: amounts "0.00" (halves away
// from zero, in fixed point), dates as yyyy-MM-dd with the time only when it
// is not midnight, flags as "True"/"False".

#include <QString>
#include <QVariant>

#include "platform/Amounts.h"
#include "platform/FlexGrid.h"
#include "platform/Tag.h"

namespace corvane::contract {

// "" for NULL.
QString amountText(const QVariant& amount);
QString dateText(const QVariant& value);
QString flagText(const QVariant& value);

// The same values into a grid's value columns (flexKindAmount, flexKindDate,
// flexKindFlag), shown there with the texts above.
void fillAmount(FlexGridFill& fill, int col, const QVariant& amount);
void fillDate(FlexGridFill& fill, int col, const QVariant& value);
void fillFlag(FlexGridFill& fill, int col, const QVariant& value);

}  // namespace corvane::contract
