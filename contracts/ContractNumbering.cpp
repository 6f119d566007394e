#include "contracts/ContractNumbering.h"

namespace corvane::contract {

QString contractNumber(const QString& prefix, qint64 serial, PrefixForm form)
{
    const QString digits = QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0'));
    if (prefix.isEmpty() && form == PrefixForm::DigitsAloneWhenNoPrefix) return digits;
    return prefix + QLatin1Char('-') + digits;
}

std::optional<NumberAndSerial> firstFreeNumber(const QString& prefix, PrefixForm form, qint64 highestSerial,
                                               const std::function<std::optional<bool>(const QString&)>& taken)
{
    NumberAndSerial n;
    n.serial = highestSerial + 1;
    for (;;) {
        n.number = contractNumber(prefix, n.serial, form);
        const auto inUse = taken(n.number);
        if (!inUse) return std::nullopt;
        if (!*inUse) return n;
        ++n.serial;
    }
}

}  // namespace corvane::contract
