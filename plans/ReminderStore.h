#pragma once
// What the expiry reminder reads: the user's department scope, the reminder
// setting of a department and post (合同提醒设置), and the contracts in
// performance that end on or before a cut-off date. Windows call these; only
// these call db/.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

#include "db/Sql.h"

namespace corvane::plans {

// Every department, or the departments listed.
struct ReminderScope {
    bool everyDepartment = false;
    QStringList departments;
    bool operator==(const ReminderScope&) const = default;
};
// A special right or a "职能部门" department: every department; a
// "分公司区域" department: its managed projects and itself; otherwise
// the own department.
DbResult<ReminderScope> reminderScope(const QString& department, const QString& post);

struct ReminderSetting {
    std::optional<qint64> days;  // NULL read as none
    bool enabled = false;        // NULL read as false
};
// The first setting row of the department and post by ID; none inside when
// there is no row.
DbResult<std::optional<ReminderSetting>> reminderSetting(const QString& department, const QString& post);
// Edits the first row of the department and post, or adds one.
DbResult<int> saveReminderSetting(const QString& department, const QString& post, int days, bool enabled);

enum class ContractCategory { Receipt, Payment };
QString categoryName(ContractCategory category);  // "收款合同" / "付款合同"

// A statement and its bound values.
struct BoundQuery {
    QString sql;
    QVariantList values;
};
// Columns of the due list, by position.
enum DueColumn { dcId, dc合同编号, dc合同名称, dc对方单位, dc合同终止日期, dc合同类型, dc职能部门编号, dc职能部门名称, dc合同起始日期 };
// Contracts in performance ("履行中"), not leases, of the category, in the
// scope, ending before the day after `cutOff` (so an end date with a time
// of day on the cut-off day is listed). Receipts by department name and
// type, payments by type.
BoundQuery dueContractsQuery(Dialect d, ContractCategory category, const ReminderScope& scope, const QDate& cutOff);
// The same contracts counted per type name, by type name.
BoundQuery dueCountsQuery(Dialect d, ContractCategory category, const ReminderScope& scope, const QDate& cutOff);

// Runs a query forward-only, handing each row to `each`; the error that
// stopped it, or an empty one.
DbError readRows(const BoundQuery& query, const std::function<void(const Statement&)>& each);

}  // namespace corvane::plans
