#pragma once
// Scheme A contract numbers: the type's prefix, "-", and an eight-digit
// serial one above the highest 流水号 of the whole table, stepped on while
// the number is taken.

#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "db/Sql.h"

namespace corvane::contract {

// The key under which contract numbers are allocated one at a time.
inline const QString kContractNumberingKey = QStringLiteral("合同信息.合同编号");

enum class PrefixForm {
    DashAlways,             // "-00000001" when the prefix is empty (record window)
    DigitsAloneWhenNoPrefix  // "00000001" when the prefix is empty (supplement and renewal panel)
};

QString schemeANumber(const QString& prefix, qint64 serial, PrefixForm form);

struct AllocatedNumber {
    QString number;
    qint64 serial = 0;
};

// Must run inside a Transaction(Transaction::Write) on `db` that has taken
// takeNumberingLock(db, kContractNumberingKey): the number stays free only
// until that transaction inserts it and ends.
std::optional<AllocatedNumber> nextSchemeANumber(const QSqlDatabase& db, const QString& prefix, PrefixForm form,
                                                 DbError* error);

// True when a row has this 合同编号; no value on a database error.
std::optional<bool> contractNumberTaken(const QSqlDatabase& db, const QString& number, DbError* error);

// 合同类型.字 of the type with this name (合同类型.合同类型): the first row's,
// "" when there is none or it is empty. No value on a database error (shown).
std::optional<QString> typePrefixByName(const QString& typeName);

}  // namespace corvane::contract
