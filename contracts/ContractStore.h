#pragma once
// Everything that reads or writes a contract (合同信息), its units and its
// attachments. Windows call these; only these call db/.
//
// Writes on a contract the user chose are keyed by its id, and each is a
// conditional statement: it hits the row only while the contract is still in
// a state from which the action is offered, and a write that hits no row is
// reported as such (NoRow), never as success.

#include <QByteArray>
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <utility>
#include <vector>

#include "contracts/ContractListQuery.h"
#include "contracts/ContractNumbering.h"
#include "contracts/ContractStates.h"
#include "db/Sql.h"

namespace corvane::contract {

// ---- New contracts

struct NewContract {
    // Automatic number (prefix, "-", serial), or the typed number.
    bool automatic = false;
    QString prefix;
    PrefixForm form = PrefixForm::DashAlways;
    QString typedNumber;
    QString state = 未提交;
    // Every column but 合同编号, 流水号 and 合同状态.
    ColumnValues columns;
};

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
InsertedContract insertContract(const NewContract& contract);

// Marks a new row as a supplementary contract of `mainNumber`.
void addSupplementColumns(ColumnValues& columns, const QString& mainNumber, bool mergedPlans);

// A renewal or a supplement made from the contract `fromId`: numbering,
// insert and, for a renewal, the link on the old row run in one write
// transaction under the numbering lock.
struct FollowUp {
    NewContract contract;
    bool renewal = false;
    qint64 fromId = 0;  // the contract renewed (0 for a supplement)
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

// Whether a contract already carries `number`, read inside the caller's
// transaction; nullopt with `error` set when the read failed.
std::optional<bool> contractNumberTaken(const QSqlDatabase& db, const QString& number, DbError* error);

// ---- Writes on a chosen contract

struct WriteOutcome {
    enum Kind { Done, NoRow, Failed };
    Kind kind = Failed;
    DbError error;
    bool done() const { return kind == Done; }

    static WriteOutcome failure(const DbError& e)
    {
        WriteOutcome out;
        out.error = e;
        return out;
    }
    static WriteOutcome of(Kind kind)
    {
        WriteOutcome out;
        out.kind = kind;
        return out;
    }
};

// The record window offers editing (the save, the counterparty panel, new
// attachments) only on a contract that was never submitted and has a state
// other than 履行中, 已中止 and 已作废 (recordButtonsFor); these writes
// require the same of the row.
WriteOutcome updateEditableContract(qint64 id, const ColumnValues& columns);
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
// 保存对方资料, on an editable contract: the four counterparty columns;
// empty texts are Null.
WriteOutcome saveCounterparty(qint64 id, const QString& name, const QString& bank, const QString& account,
                              const QString& taxNumber);

// Who may still delete a contract.
enum class DeletableWhile {
    // The contract list: never submitted, no end of circulation, no approval.
    NeverSubmitted,
    // The record window: not signed, and never submitted or approved (not
    // while approval runs, not when refused), and in no final state.
    NotSignedNorInApproval,
};
// The contract and its 合同单元信息 rows, in one transaction; NoRow when the
// contract is gone or no longer deletable.
WriteOutcome deleteContract(qint64 id, DeletableWhile rule);

// ---- Reads

// The row of 合同信息 with this id, or number; an empty Row when there is none.
DbResult<Row> contractById(qint64 id);
DbResult<Row> contractByNumber(const QString& number);
// The same with the category of its type (合同类型.合同类别); contracts
// whose type is missing from 合同类型 are not found.
DbResult<Row> contractWithCategoryByNumber(const QString& number);

// Runs the contract list's statement and hands every row to `row`, which
// reads its columns by ListColumn position. The error that stopped it, or an
// empty one.
DbError readContractList(const ListSelection& selection, const std::function<void(const Statement& row)>& row);

// Quick search: the counterparties (合同信息.对方单位) that hold `typed`
// literally, whatever the letter case, of contracts other than leases, each
// once, in order.
DbResult<QStringList> counterpartiesHolding(const QString& typed);

// The instalments of a contract (by number) with the records that settled
// them, for the read-only view: ID, date, amount, balance (余额), account
// code of the record (科目代号); one row per record, an instalment without
// records once.
DbResult<Rows> instalmentsWithRecords(bool payment, const QString& number);
// Performance plan nodes: ID, 阶段, 要求, 时间节点, 完成情况, 检查人, 检查日期.
DbResult<Rows> performanceNodes(const QString& number);

// ---- Attachments (合同信息附件)

struct Attachment {
    qint64 id = 0;
    QString name;
};
DbResult<std::vector<Attachment>> attachmentsOf(qint64 contractId);
// A new attachment of an editable contract; `newId` receives its id. NoRow
// when the contract is gone or no longer editable: nothing is stored.
WriteOutcome addAttachment(qint64 contractId, const QString& name, const QVariant& bytes, qint64* newId);
struct AttachmentFile {
    bool found = false;
    QString name;
    QVariant bytes;
};
DbResult<AttachmentFile> attachmentFile(qint64 attachmentId);
// Deletes an attachment of an editable contract. NoRow with `locked` when the
// attachment is there but its contract no longer takes changes; NoRow alone
// when it is gone.
struct AttachmentDeletion {
    WriteOutcome write;
    bool locked = false;
};
AttachmentDeletion deleteAttachment(qint64 attachmentId);

// ---- For tests

// Every (table, column) the store names, so a test can hold them against the
// schema description.
std::vector<std::pair<QString, QString>> columnsNamedByStore();

}  // namespace corvane::contract
