#pragma once
// The contract row of 合同信息: its state vocabulary, the renewal link, the
// delete of a contract that was never submitted, and the insert of a new row
// with its number (ContractNumbering.h).

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

#include "contracts/ContractNumbering.h"
#include "db/Sql.h"

namespace corvane::contract {

// 合同状态: every value some writer puts into the column.
inline const QString 未提交 = QStringLiteral("未提交");        // insert (record window, supplement and renewal panel)
inline const QString 签约中 = QStringLiteral("签约中");        // renewal at expiry, new row
inline const QString 审批中 = QStringLiteral("审批中");        // submission
inline const QString 审批通过 = QStringLiteral("审批通过");    // synchronisation, or immediate approval
inline const QString 审批未通过 = QStringLiteral("审批未通过");  // synchronisation
inline const QString 签约完成 = QStringLiteral("签约完成");    // signing without immediate effect
inline const QString 履行中 = QStringLiteral("履行中");        // signing with immediate effect, taking effect
inline const QString 已中止 = QStringLiteral("已中止");        // suspended in the record window
inline const QString 履行完成 = QStringLiteral("履行完成");    // ended at expiry
inline const QString 中止 = QStringLiteral("中止");            // ended early by the expiry handling
inline const QString 已作废 = QStringLiteral("已作废");        // voided
QStringList allStates();

// 合同类型.合同类别
inline const QString 收款合同 = QStringLiteral("收款合同");
inline const QString 付款合同 = QStringLiteral("付款合同");
// The type name (合同类型.合同类型) of lease contracts, which the contract
// list, its quick search, the reminders and the summary leave out.
inline const QString 租赁合同 = QStringLiteral("租赁合同");

// Columns the writer fills besides 合同编号, 流水号 and 合同状态, by name.
using ColumnValues = std::vector<std::pair<QString, QVariant>>;

struct NewContract {
    // Automatic number (scheme A with `prefix`), or the typed number.
    bool automatic = false;
    QString prefix;
    PrefixForm form = PrefixForm::DashAlways;
    QString typedNumber;
    QString state = 未提交;
    ColumnValues columns;
};

// Marks a new row as a supplementary contract of `mainNumber`.
void addSupplementColumns(ColumnValues& columns, const QString& mainNumber, bool mergedPlans);

struct InsertedContract {
    enum Outcome { Inserted, NumberTaken, Failed };
    Outcome outcome = Failed;
    QString number;
    QVariant serial;  // null for a typed number
    qint64 id = 0;
    DbError error;
};

// Numbering, the probe of a typed number and the insert run in one write
// transaction under the numbering lock: two workstations saving at the same
// moment get different numbers, and a typed number is refused while taken.
InsertedContract insertContract(const QSqlDatabase& db, const NewContract& contract);
// The same inside the caller's write transaction, which it leaves open: for
// saves that write more rows with the new contract.
InsertedContract insertContractRow(const QSqlDatabase& db, const NewContract& contract);
InsertedContract insertContract(const NewContract& contract);

// The record window's renewal: the old row points at the new one. Refused
// (false, no error) when the old row already has a renewal or is gone.
bool linkRenewalOnOld(const QString& oldNumber, const QString& newNumber, DbError* error);

struct DeleteOutcome {
    enum Kind { Deleted, Refused, Failed };
    Kind kind = Failed;
    DbError error;
};

// Deletes the contract while it still has no submission and no approval
// outcome; Refused when the row is no longer in that state (or is gone).
// With `withUnits` its 合同单元信息 rows go in the same transaction.
DeleteOutcome deleteUnsubmittedContract(const QString& number, bool withUnits);

}  // namespace corvane::contract
