#pragma once
// Everything that reads or writes a contract's instalment plan (合同收款计划表
// or 合同付款计划表) and its performance nodes (合同履行计划表). Windows call
// these; only these call db/.

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "db/Sql.h"

namespace corvane::plans {

enum class PlanKind { Receipt, Payment };

// The table and the names of its date, amount, balance and condition columns.
struct PlanTable {
    QString table, date, amount, balance, condition;
};
PlanTable planTable(PlanKind kind);

// A stored instalment as the plan window shows it.
struct StoredInstalment {
    qint64 id = 0;
    QString number;
    std::optional<QDate> date;
    std::optional<qint64> amount;   // hundredths
    std::optional<qint64> balance;  // hundredths
    QString condition;              // "" for NULL
};
// The contract's instalments by date (rows without a date first), equal
// dates by ID.
DbResult<std::vector<StoredInstalment>> instalmentsOf(PlanKind kind, const QString& number);

// A row of the plan grid to save: its ID when it was saved before, its
// values already checked (NULL where the cell is empty).
struct InstalmentToSave {
    std::optional<qint64> id;
    std::optional<QDate> date;
    std::optional<qint64> amount;
    std::optional<qint64> balance;
    QString condition;
    // A saved row's values as the window loaded (or last wrote) them.
    std::optional<StoredInstalment> loaded;
};
struct PlanSaveOutcome {
    enum Kind { Saved, RowGone, RowChanged, Failed };
    Kind kind = Failed;
    std::vector<qint64> ids;  // by row, when Saved
    int goneRow = -1;         // index of the saved row that is gone or was changed meanwhile
    DbError error;
};
// Every row in one transaction: saved rows are updated by ID, the others
// inserted for the contract. Nothing stays written unless all of it is.
// A saved row that carries what was loaded is written only when the user
// changed it, and only while its stored date, amount and balance are still
// those: another workstation may have lowered the balance by a payment since.
PlanSaveOutcome savePlan(PlanKind kind, const QString& number, const std::vector<InstalmentToSave>& rows);

// Receipts (合同收款记录) and payments not void (合同付款记录) hold an
// instalment: it is not deleted while they refer to it.
struct DeleteOutcome {
    enum Kind { Deleted, Gone, HasRecords, Failed };
    Kind kind = Failed;
    DbError error;
};
DeleteOutcome deleteInstalment(PlanKind kind, qint64 id);

struct ClearOutcome {
    bool ok = false;
    int kept = 0;  // instalments kept because money refers to them
    DbError error;
};
// Every instalment of the contract that no money refers to.
ClearOutcome clearPlan(PlanKind kind, const QString& number);

// ---- Performance nodes

struct Node {
    qint64 id = 0;
    QString 阶段, 要求, 完成情况, 检查人;
    std::optional<QDate> 时间节点, 检查日期;
};
// The contract's nodes by 时间节点, equal dates by ID.
DbResult<std::vector<Node>> nodesOf(const QString& number);

struct NodeWrite {
    enum Kind { Done, Gone, Changed, Failed };
    Kind kind = Failed;
    Node stored;
    DbError error;
};
// 要求 empty is stored as NULL.
NodeWrite addNode(const QString& number, const QString& 阶段, const QString& 要求, const QDate& 时间节点);
// A change and a check write `loaded.id` only while the columns they write
// are still stored as `loaded` holds them (an empty text there matches NULL
// too); otherwise Changed, or Gone when the row is.
NodeWrite changeNode(const Node& loaded, const QString& 阶段, const QString& 要求, const QDate& 时间节点);
NodeWrite recordCheck(const Node& loaded, const QString& 完成情况, const QString& 检查人, const QDate& 检查日期);
DeleteOutcome deleteNode(qint64 id);

// Every (table, column) the store names, for the schema test.
std::vector<std::pair<QString, QString>> columnsNamedByStore();

}  // namespace corvane::plans
