#pragma once
// The contract windows' stored values into a grid's value columns
// (flexKindAmount, flexKindDate, flexKindFlag), shown there with the texts of
// contracts/ContractFormats.h.

#include <QVariant>

#include "platform/FlexGrid.h"

namespace corvane::contract {

void fillAmount(FlexGridFill& fill, int col, const QVariant& amount);
void fillDate(FlexGridFill& fill, int col, const QVariant& value);
void fillFlag(FlexGridFill& fill, int col, const QVariant& value);

}  // namespace corvane::contract
