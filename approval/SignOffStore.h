#pragma once
// What the administrative road reads and writes: the sign-off document with
// its attachments, route and first deliveries (XZ文件记录, XZ文件附件,
// XZ文件流转路径, XZ文件流转情况), the urgency names, and the start-up
// synchronisation that carries finished documents back into 合同信息 and
// 合同信息附件 under the busy flag "合同同步".

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <vector>

#include "approval/ApprovalRules.h"
#include "approval/ApprovalStore.h"
#include "approval/SignOffDocument.h"
#include "db/Sql.h"

namespace corvane::approval {

// The numbering lock of sign-off documents.
inline const QString kSignOffNumberingKey = QStringLiteral("XZ文件记录.HTHQ-");

// The contract's instalments in date order, from the receipt or payment plan.
DbResult<std::vector<PlanInstalment>> planInstalmentsOf(const QString& contractNumber, bool receipts);

// 读取紧急程度设置: the urgency with the lowest 序 ("" when none, or NULL).
DbResult<QString> defaultUrgency(const QSqlDatabase& db);

struct SignOffSubmission {
    ContractKey contract;     // id and number
    QString 文件标题;          // the contract name
    QString signOff;          // the filled form, 《会签单编号》 still open
    QString plan;             // the filled plan table, or ""
    std::vector<RouteStep> steps;
    bool 多级流转 = false;
    QString 部门, 岗位, 工号;  // the submitting user
    QDateTime now;            // the workstation's clock
};
struct SignOffResult {
    WriteOutcome outcome;  // NoRow: the contract was submitted meanwhile
    QString number;
    qint64 documentId = 0;
};
// 生成会签文件 and the contract's claim, all or nothing: the document with
// the next free HTHQ number (taken under the numbering lock), its
// attachments, route and first deliveries, sent; then the contract put into
// 审批中 with the number, unless it was submitted meanwhile.
SignOffResult writeSignOff(const QSqlDatabase& db, const SignOffSubmission& s);
SignOffResult writeSignOff(const SignOffSubmission& s);

// ---- Synchronisation

// The family's other clients know only the flag ('0' free, '1' held). Beside
// it this program keeps when the flag was claimed, so that a flag left held
// by a client that died mid-run is taken over once no run can still be going.
inline const QString kSyncClaimedAtCode = QStringLiteral("合同同步时间");
inline constexpr qint64 kSyncStaleSeconds = 30 * 60;

enum class FlagClaim { Claimed, Held, Failed };
// Sets "合同同步" to '1' and records `now` as the claim's time, in one
// transaction; a missing row is added with '1'. A flag held since less than
// kSyncStaleSeconds before `now` is Held; one held longer is taken over
// (Claimed). A flag held with no time of ours (set by another program) is
// timed from now on, and Held.
FlagClaim claimSyncFlag(const QSqlDatabase& db, const QDateTime& now, DbError* error);
// The flag back to '0' and the claim's time cleared.
DbError releaseSyncFlag(const QSqlDatabase& db);

struct FinishedDocument {
    qint64 documentId = 0;
    QString 编号;
    QDateTime 结束日期;
    bool 同意 = false;
    qint64 contractId = 0;
};
// The finished documents made for the number of a waiting contract (行政审批编号
// set, 流转结束日期 empty), the earliest finished first.
DbResult<std::vector<FinishedDocument>> finishedDocuments(const QSqlDatabase& db);
// Its statement (no values to bind), for measuring it bare.
QString finishedDocumentsSql(Dialect d);

// 处理附件: the document's attachments the contract lacks by name, added with
// 类别 "文件"; the caller holds the transaction. The error that stopped it, or
// an empty one.
DbError 处理附件(const QSqlDatabase& db, qint64 documentId, qint64 contractId);

// The documents carried back in their order within one transaction, each
// all or nothing (a savepoint per document): its attachments and its
// contract's outcome. A contract no longer waiting (decided by an earlier
// document) takes nothing from a later one. A failure keeps the documents
// before it, rolls back its own and ends the run with its error. The busy
// flag goes back to '0' (its claim time cleared) in the same commit.
DbError carryBack(const QSqlDatabase& db, const std::vector<FinishedDocument>& documents);

// Every (table, column) this store names, for the schema test.
std::vector<std::pair<QString, QString>> columnsNamedBySignOffStore();

}  // namespace corvane::approval
