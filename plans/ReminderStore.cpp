#include "plans/ReminderStore.h"

#include "contracts/ContractLookups.h"
#include "db/Dialect.h"
#include "plans/ExpiryRules.h"

namespace corvane::plans {

namespace {


// The contracts a reminder lists; the caller puts its select list and its
// tail around it.
QString dueBody(Dialect d, const ReminderScope& scope, QVariantList& values, ContractCategory category,
                const QDate& cutOff)
{
    QString sql = QStringLiteral(
        " FROM 合同信息 INNER JOIN 合同类型 ON 合同信息.合同类型 = 合同类型.合同类型编号"
        " INNER JOIN 职能部门new ON 职能部门new.职能部门编号 = 合同信息.对应部门"
        " WHERE 合同信息.合同状态 = ?");
    values << QStringLiteral("履行中");
    if (!scope.everyDepartment) {
        sql += QStringLiteral(" AND 职能部门new.职能部门编号 IN (") + placeholders(int(scope.departments.size())) +
               QStringLiteral(")");
        for (const QString& code : scope.departments) values << code;
    }
    sql += QStringLiteral(" AND 合同类型.合同类型 <> ? AND 合同类型.合同类别 = ? AND 合同信息.合同终止日期 < ?");
    values << QStringLiteral("租赁合同") << categoryName(category) << dateValue(d, cutOff.addDays(1));
    return sql;
}

}  // namespace

QString categoryName(ContractCategory category)
{
    return category == ContractCategory::Receipt ? QStringLiteral("收款合同") : QStringLiteral("付款合同");
}

DbResult<ReminderScope> reminderScope(const QString& department, const QString& post)
{
    ReminderScope scope;
    const auto right = contract::hasCompanyScope(department, post);
    if (!right) return right.error();
    if (*right) {
        scope.everyDepartment = true;
        return scope;
    }
    QString category;
    {
        Statement kind(QStringLiteral("SELECT app部门类别 FROM 职能部门new WHERE 职能部门编号 = ?"), {department});
        if (!kind.exec()) return kind.error();
        if (kind.next()) category = kind.value(0).toString().trimmed();
        if (kind.error().isValid()) return kind.error();
    }
    if (category == QStringLiteral("职能部门")) {
        scope.everyDepartment = true;
        return scope;
    }
    if (category == QStringLiteral("分公司区域")) {
        const auto projects = contract::managedProjectDepartments(department);
        if (!projects) return projects.error();
        for (const contract::Department& d : *projects) scope.departments << d.code;
    }
    scope.departments << department;
    return scope;
}

DbResult<std::optional<ReminderSetting>> reminderSetting(const QString& department, const QString& post)
{
    Statement st(QStringLiteral("SELECT 提前天数, 启用提醒 FROM 合同提醒设置 WHERE 类型 = ? AND 部门代号 = ? AND 岗位代号 = ? "
                                "ORDER BY ID"),
                 {kReminderKind, department, post});
    if (!st.exec()) return st.error();
    if (!st.next()) {
        if (st.error().isValid()) return st.error();
        return std::optional<ReminderSetting>();
    }
    ReminderSetting s;
    if (!st.value(0).isNull()) s.days = st.value(0).toLongLong();
    s.enabled = !st.value(1).isNull() && st.value(1).toLongLong() != 0;
    return std::optional<ReminderSetting>(s);
}

DbResult<int> saveReminderSetting(const QString& department, const QString& post, int days, bool enabled)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) return tx.error();
    QVariant first;
    {
        Statement st(db,
                     QStringLiteral("SELECT MIN(ID) FROM 合同提醒设置 WHERE 类型 = ? AND 部门代号 = ? AND 岗位代号 = ?"),
                     {kReminderKind, department, post});
        if (!st.exec()) return st.error();
        if (st.next()) first = st.value(0);
        if (st.error().isValid()) return st.error();
    }
    int written = 0;
    if (!first.isNull()) {
        Statement up(db, QStringLiteral("UPDATE 合同提醒设置 SET 提前天数 = ?, 启用提醒 = ? WHERE ID = ?"),
                     {days, enabled ? 1 : 0, first});
        if (!up.exec()) return up.error();
        written = up.rowsAffected();
    }
    if (written < 1) {
        Statement add(db,
                      QStringLiteral("INSERT INTO 合同提醒设置 (提前天数, 启用提醒, 部门代号, 岗位代号, 类型) "
                                     "VALUES (?, ?, ?, ?, ?)"),
                      {days, enabled ? 1 : 0, department, post, kReminderKind});
        if (!add.exec()) return add.error();
        written = add.rowsAffected();
    }
    if (!tx.commit()) return tx.error();
    return written;
}

BoundQuery dueContractsQuery(Dialect d, ContractCategory category, const ReminderScope& scope, const QDate& cutOff)
{
    BoundQuery q;
    q.sql = QStringLiteral("SELECT 合同信息.id, 合同信息.合同编号, 合同信息.合同名称, 合同信息.对方单位, ") +
            dialect::dateTimeText(d, QStringLiteral("合同信息.合同终止日期")) +
            QStringLiteral(", 合同类型.合同类型, 职能部门new.职能部门编号, 职能部门new.职能部门名称, ") +
            dialect::dateTimeText(d, QStringLiteral("合同信息.合同起始日期")) +
            dueBody(d, scope, q.values, category, cutOff);
    q.sql += category == ContractCategory::Receipt
                 ? QStringLiteral(" ORDER BY 职能部门new.职能部门名称, 合同类型.合同类型, 合同信息.id")
                 : QStringLiteral(" ORDER BY 合同类型.合同类型, 合同信息.id");
    return q;
}

BoundQuery dueCountsQuery(Dialect d, ContractCategory category, const ReminderScope& scope, const QDate& cutOff)
{
    BoundQuery q;
    q.sql = QStringLiteral("SELECT 合同类型.合同类型, COUNT(合同类型.合同类型) AS 数量") +
            dueBody(d, scope, q.values, category, cutOff) +
            QStringLiteral(" GROUP BY 合同类型.合同类型 HAVING COUNT(合同类型.合同类型) > 0 ORDER BY 合同类型.合同类型");
    return q;
}

DbError readRows(const BoundQuery& query, const std::function<void(const Statement&)>& each)
{
    Statement st(query.sql, query.values);
    if (!st.exec()) return st.error();
    while (st.next()) each(st);
    return st.error();
}

}  // namespace corvane::plans
