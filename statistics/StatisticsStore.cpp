#include "statistics/StatisticsStore.h"

#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::statistics {

namespace {

int g_statements = 0;

DbResult<Rows> rows(const QString& sql, const QVariantList& values = {})
{
    ++g_statements;
    return selectRowsQuiet(sql, values);
}

// Puts the lists too long to bind into the session's staging table.
DbError stage(const std::vector<QStringList>& lists)
{
    const Dialect d = DbDialect();
    Transaction t;
    for (const QString& sql : {createStagingTable(d), clearStagingTable(d)}) {
        ++g_statements;
        const auto done = executeQuiet(sql);
        if (!done) return done.error();
    }
    const QString insert = stageValue(d);
    for (int i = 0; i < int(lists.size()); ++i)
        for (const QString& v : lists[size_t(i)]) {
            ++g_statements;
            const auto done = executeQuiet(insert, {i, v});
            if (!done) return done.error();
        }
    if (!t.commit()) return t.error();
    return {};
}

// Runs a statement and hands its rows on one by one, forward only.
DbError each(const SqlText& q, const std::function<void(const Statement&)>& row)
{
    if (!q.staged.empty()) {
        const DbError e = stage(q.staged);
        if (e.isValid()) return e;
    }
    ++g_statements;
    Statement st(q.sql, q.values);
    if (q.planEachRun) st.planEachRun();
    if (!st.exec()) return st.error();
    while (st.next()) row(st);
    return st.error();
}

QString textOf(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

const QString kLease = QStringLiteral("租赁合同");

}  // namespace

int statementsIssued() { return g_statements; }

DbResult<bool> hasSpecialRight(const QString& department, const QString& post)
{
    ++g_statements;
    return contract::hasCompanyScope(department, post);
}

DbResult<std::vector<TreeNode>> wholeDepartmentTree(SiblingOrder order)
{
    const auto found = rows(QStringLiteral(
        "SELECT 职能部门new.职能部门编号, 职能部门new.职能部门名称, latest.上级部门编号 FROM 职能部门new LEFT JOIN "
        "(SELECT 上级部门new.职能部门编号, 上级部门new.上级部门编号, 上级部门new.ID FROM 上级部门new, "
        "(SELECT 职能部门编号, MAX(起始日期) AS 设置日期 FROM 上级部门new GROUP BY 职能部门编号) newest "
        "WHERE 上级部门new.职能部门编号 = newest.职能部门编号 AND 上级部门new.起始日期 = newest.设置日期) latest "
        "ON 职能部门new.职能部门编号 = latest.职能部门编号 WHERE 职能部门new.终止日期 IS NULL "
        "ORDER BY 职能部门new.职能部门编号, latest.ID"));
    if (!found) return found.error();
    std::vector<DepartmentEntry> entries;
    entries.reserve(found->size());
    for (const Row& r : *found) entries.push_back({r.text(0), r.text(1), r.text(2)});
    return wholeTree(std::move(entries), order);
}

DbResult<std::vector<TreeNode>> scopedDepartmentTree(const QString& ownCode, const QString& ownName, SiblingOrder order,
                                                     bool* whole)
{
    if (whole) *whole = false;
    const auto category =
        rows(QStringLiteral("SELECT app部门类别 FROM 职能部门new WHERE 职能部门编号 = ?"), {ownCode});
    if (!category) return category.error();
    // No row, or a NULL category, reads as no category.
    const QString name = category->empty() ? QString() : category->front().text(0).trimmed();
    const ScopeKind kind = chooseScope(false, name);
    if (kind == ScopeKind::WholeTree) {
        if (whole) *whole = true;
        return wholeDepartmentTree(order);
    }
    std::vector<ManagedProject> projects;
    if (kind == ScopeKind::ManagedProjects) {
        ++g_statements;
        const auto found = contract::managedProjectDepartments(ownCode);
        if (!found) return found.error();
        for (const contract::Department& d : *found) projects.push_back({d.code, d.name});
    }
    return scopedTree(kind, ownCode, ownName, projects);
}

DbResult<std::vector<contract::ContractType>> typesForTree(bool companyScope, const QString& department)
{
    QString sql = QStringLiteral("SELECT 合同类型编号, 合同类型, 合同类别 FROM 合同类型 WHERE NOT (合同类型 = ?)");
    QVariantList values{kLease};
    if (!companyScope) {
        sql += QStringLiteral(" AND (公用 <> 0 OR EXISTS (SELECT 1 FROM 合同使用部门设置 WHERE "
                              "合同使用部门设置.合同类型编号 = 合同类型.合同类型编号 AND 合同使用部门设置.部门 = ?))");
        values << department;
    }
    sql += QStringLiteral(" ORDER BY 合同类型编号");
    const auto found = rows(sql, values);
    if (!found) return found.error();
    std::vector<contract::ContractType> out;
    out.reserve(found->size());
    for (const Row& r : *found) out.push_back({r.text(0), r.text(1), r.text(2)});
    return out;
}

DbResult<QStringList> contractStates()
{
    const auto found = rows(QStringLiteral(
        "SELECT 合同状态 FROM 合同信息 WHERE 合同状态 IS NOT NULL GROUP BY 合同状态 ORDER BY 合同状态"));
    if (!found) return found.error();
    QStringList out;
    for (const Row& r : *found) out << r.text(0);
    return out;
}

DbResult<QStringList> counterparties(const QString& search)
{
    // 合同信息.合同类型 holds the type's code: a lease is known by its type's name.
    QString sql = QStringLiteral(
        "SELECT 合同信息.对方单位 FROM 合同信息 WHERE 合同信息.对方单位 IS NOT NULL AND NOT EXISTS "
        "(SELECT 1 FROM 合同类型 WHERE 合同类型.合同类型编号 = 合同信息.合同类型 AND 合同类型.合同类型 = ?)");
    QVariantList values{kLease};
    const QString typed = search.trimmed();
    if (!typed.isEmpty()) {
        const dialect::LikeCondition holds = dialect::containsText(QStringLiteral("合同信息.对方单位"), typed);
        sql += QStringLiteral(" AND ") + holds.sql;
        values << holds.value;
    }
    sql += QStringLiteral(" GROUP BY 合同信息.对方单位 ORDER BY 合同信息.对方单位");
    const auto found = rows(sql, values);
    if (!found) return found.error();
    QStringList out;
    for (const Row& r : *found) out << r.text(0);
    return out;
}

DbResult<std::vector<SummaryGroup>> readSummary(const SummaryCriteria& criteria, const QString& category)
{
    const Dialect d = DbDialect();
    std::vector<SummaryGroup> out;
    const DbError error = each(summaryQuery(d, criteria, category), [&](const Statement& st) {
        SummaryGroup g;
        const QVariant first = st.value(0);
        g.valueNull = first.isNull();
        g.value = textOf(first);
        g.name = criteria.grouping == Grouping::Department ? g.value + QLatin1Char(' ') + textOf(st.value(1)) : g.value;
        g.count = st.value(2).toLongLong();
        g.amountCents = sumCents(d, st.value(3));
        out.push_back(std::move(g));
    });
    if (error.isValid()) return error;
    return out;
}

DbError readDetail(const SummaryCriteria& criteria, const DetailGroup& group, const QString& category,
                   const std::function<void(const DetailValues&)>& row)
{
    const Dialect d = DbDialect();
    DetailValues v;
    return each(detailQuery(d, criteria, group, category), [&](const Statement& st) {
        v.id = st.value(0).toLongLong();
        v.category = textOf(st.value(1));
        v.number = textOf(st.value(2));
        v.name = textOf(st.value(3));
        v.counterparty = textOf(st.value(4));
        v.ending = textOf(st.value(5));
        v.typeName = textOf(st.value(6));
        v.departmentName = textOf(st.value(7));
        v.signing = textOf(st.value(8));
        v.start = textOf(st.value(9));
        v.state = textOf(st.value(10));
        v.amountCents = centsOf(st.value(11));
        v.departmentCode = textOf(st.value(12));
        row(v);
    });
}

DbError readInstalments(bool receipt, const QStringList& departments, const QDate& from, const QDate& to,
                        const std::function<void(const InstalmentValues&)>& row)
{
    const Dialect d = DbDialect();
    InstalmentValues v;
    bool first = true;
    return each(instalmentQuery(d, receipt, departments, from, to), [&](const Statement& st) {
        // The rows come by 合同编号, and columns 1 to 7 are the contract's:
        // a contract's later instalments keep what its first one read.
        QString number = textOf(st.value(0));
        v.newContract = first || number != v.number;
        first = false;
        if (v.newContract) {
            v.number = std::move(number);
            v.name = textOf(st.value(1));
            v.typeName = textOf(st.value(2));
            v.state = textOf(st.value(3));
            v.effective = textOf(st.value(4));
            v.ending = textOf(st.value(5));
            v.contractAmount = centsOf(st.value(6));
            v.contractSettled = sumCents(d, st.value(7));
        }
        v.planned = textOf(st.value(8));
        v.plannedAmount = centsOf(st.value(9));
        v.storedBalance = centsOf(st.value(10));
        v.instalmentSettled = sumCents(d, st.value(11));
        row(v);
    });
}

}  // namespace corvane::statistics
