#pragma once
// The writes of the contract record window. Every state change is a
// conditional UPDATE keyed by the contract's id: it hits the row only while
// the contract is still in a state from which the action is offered, and a
// write that hits no row is reported as such, never as success.

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include "contracts/ContractRecord.h"
#include "db/Sql.h"

namespace corvane::contract {

struct WriteOutcome {
    enum Kind { Done, NoRow, Failed };
    Kind kind = Failed;
    DbError error;
    bool done() const { return kind == Done; }
};

// The columns of the save, on a contract that was never submitted.
WriteOutcome updateUnsubmittedContract(qint64 id, const ColumnValues& columns);

// Signing of an approved contract that is not signed yet: 签约完成, or
// 履行中 with the same date as effective date when `immediate`.
WriteOutcome signContract(qint64 id, const QDate& signedOn, bool immediate, const QString& counterpartySignatory,
                          const QString& ownSignatory);
// A signed contract that has not taken effect yet goes into force.
WriteOutcome takeEffect(qint64 id, const QDate& effectiveOn);
// A contract not yet suspended, voided or ended; an empty reason is Null.
WriteOutcome suspendContract(qint64 id, const QDate& suspendedOn, const QString& reason);
// A contract not yet signed (never submitted, or approved) becomes 已作废.
WriteOutcome voidContract(qint64 id, const QDate& today);
// The contract and its 合同单元信息 rows, in one transaction, while it is
// not signed and neither in approval nor refused.
WriteOutcome deleteContract(qint64 id);
// 保存对方资料: the four counterparty columns; empty texts are Null.
WriteOutcome saveCounterparty(qint64 id, const QString& name, const QString& bank, const QString& account,
                              const QString& taxNumber);

// A renewal or a supplement made from the contract `fromNumber`: numbering,
// insert and, for a renewal, the link on the old row run in one write
// transaction under the numbering lock.
struct FollowUp {
    NewContract contract;
    bool renewal = false;
    QString fromNumber;
};
struct FollowUpOutcome {
    enum Kind { Inserted, NumberTaken, AlreadyRenewed, OldGone, Failed };
    Kind kind = Failed;
    QString number;
    qint64 id = 0;
    DbError error;
};
FollowUpOutcome insertFollowUp(const QSqlDatabase& db, const FollowUp& followUp);
FollowUpOutcome insertFollowUp(const FollowUp& followUp);

}  // namespace corvane::contract
