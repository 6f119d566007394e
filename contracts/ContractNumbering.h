#pragma once
// Automatic contract numbers: the type's prefix, "-", and an eight-digit
// serial one above the highest serial of the whole table, stepped on while
// the number is taken. Pure rules; ContractStore allocates them under the
// numbering lock.

#include <QString>
#include <functional>
#include <optional>

namespace corvane::contract {

// The key under which contract numbers are allocated one at a time.
inline const QString kContractNumberingKey = QStringLiteral("合同信息.合同编号");

enum class PrefixForm {
    DashAlways,             // "-00000001" when the prefix is empty (record window)
    DigitsAloneWhenNoPrefix  // "00000001" when the prefix is empty (supplement and renewal panel)
};

QString contractNumber(const QString& prefix, qint64 serial, PrefixForm form);

struct NumberAndSerial {
    QString number;
    qint64 serial = 0;
};

// The first free number above `highestSerial` (0 when the table has none):
// serials are stepped on while `taken` says the number is in use. `taken`
// gives no value when it could not tell; so does this.
std::optional<NumberAndSerial> firstFreeNumber(const QString& prefix, PrefixForm form, qint64 highestSerial,
                                               const std::function<std::optional<bool>(const QString&)>& taken);

}  // namespace corvane::contract
