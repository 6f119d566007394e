#include "contracts/ContractGridFormats.h"

#include "contracts/ContractFormats.h"
#include "platform/Amounts.h"

namespace corvane::contract {

void fillAmount(FlexGridFill& fill, int col, const QVariant& amount) { fill.amount(col, centsOf(amount)); }

void fillDate(FlexGridFill& fill, int col, const QVariant& value)
{
    if (value.isNull()) return;
    // The stored text forms (all of SQLite's, and what the list reads as
    // text elsewhere) become values without a detour through QDateTime.
    if (value.typeId() == QMetaType::QString && fill.date(col, value.toString())) return;
    fill.text(col, dateText(value));
}

void fillFlag(FlexGridFill& fill, int col, const QVariant& value)
{
    fill.flag(col, value.isNull() ? std::optional<bool>() : std::optional<bool>(value.toInt() != 0));
}

}  // namespace corvane::contract
