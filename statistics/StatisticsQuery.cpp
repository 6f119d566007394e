#include "statistics/StatisticsQuery.h"

#include "db/Dialect.h"
#include "db/Sql.h"
#include "platform/Amounts.h"

namespace corvane::statistics {

namespace {

// "column IN (...)": one placeholder per value, or the staged list.
QString inList(Dialect d, SqlText& q, const QString& column, const QStringList& values)
{
    if (values.size() > bindLimit(d)) {
        q.values << int(q.staged.size());
        q.staged.push_back(values);
        return column + QStringLiteral(" IN (SELECT value FROM ") + stagingTable(d) + QStringLiteral(" WHERE list = ?)");
    }
    for (const QString& v : values) q.values << v;
    return column + QStringLiteral(" IN (") + placeholders(int(values.size())) + QLatin1Char(')');
}

void inList(SqlText& q, Dialect d, const QString& column, const QStringList& values)
{
    const QString condition = inList(d, q, column, values);
    q.sql += QStringLiteral(" AND ") + condition;
}

void dayRange(Dialect d, SqlText& q, const QString& column, const DateRange& r)
{
    q.sql += QStringLiteral(" AND ") + column + QStringLiteral(" >= ? AND ") + column + QStringLiteral(" < ?");
    q.values << dateValue(d, r.from) << dateValue(d, r.to.addDays(1));
}

// The FROM and WHERE of the summary and its drill-down, without the category.
SqlText criteriaText(Dialect d, const SummaryCriteria& c)
{
    SqlText q;
    q.sql = QStringLiteral(
        " FROM 合同信息 INNER JOIN 合同类型 ON 合同信息.合同类型 = 合同类型.合同类型编号"
        " INNER JOIN 职能部门new ON 职能部门new.职能部门编号 = 合同信息.对应部门 WHERE 1 = 1");
    inList(q, d, QStringLiteral("合同信息.合同类型"), c.types);
    inList(q, d, QStringLiteral("合同信息.对应部门"), c.departments);
    inList(q, d, QStringLiteral("合同信息.合同状态"), c.states);
    if (c.counterparties) inList(q, d, QStringLiteral("合同信息.对方单位"), *c.counterparties);
    if (c.start) dayRange(d, q, QStringLiteral("合同信息.合同起始日期"), *c.start);
    if (c.end) dayRange(d, q, QStringLiteral("合同信息.合同终止日期"), *c.end);
    return q;
}

// Appends a text whose staged lists are the only ones.
void append(SqlText& q, const SqlText& more)
{
    q.sql += more.sql;
    q.values += more.values;
    q.staged = more.staged;
}

}  // namespace

int bindLimit(Dialect d) { return d == Dialect::SqlServer ? 400 : 1000; }

QString stagingTable(Dialect d)
{
    return d == Dialect::SqlServer ? QStringLiteral("#statistics_values") : QStringLiteral("statistics_values");
}

QString createStagingTable(Dialect d)
{
    switch (d) {
    case Dialect::SQLite: return QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS statistics_values (list INTEGER, value TEXT)");
    case Dialect::PostgreSQL:
        return QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS statistics_values (list INTEGER, value TEXT)");
    case Dialect::SqlServer:
        // The temporary database may sort text otherwise than ours.
        return QStringLiteral("IF OBJECT_ID('tempdb..#statistics_values') IS NULL CREATE TABLE #statistics_values "
                              "(list INT, value NVARCHAR(400) COLLATE DATABASE_DEFAULT)");
    }
    return {};
}

QString clearStagingTable(Dialect d) { return QStringLiteral("DELETE FROM ") + stagingTable(d); }

QString stageValue(Dialect d)
{
    return QStringLiteral("INSERT INTO ") + stagingTable(d) + QStringLiteral(" (list, value) VALUES (?, ?)");
}

QString groupingHeader(Grouping g)
{
    switch (g) {
    case Grouping::Department: return QStringLiteral("职能部门名称");
    case Grouping::Counterparty: return QStringLiteral("对方单位");
    case Grouping::ContractType: return QStringLiteral("合同类型");
    }
    return {};
}

std::optional<Grouping> groupingOfHeader(const QString& header)
{
    for (Grouping g : {Grouping::Department, Grouping::Counterparty, Grouping::ContractType})
        if (groupingHeader(g) == header.trimmed()) return g;
    return std::nullopt;
}

QString moneySum(Dialect d, const QString& column)
{
    if (d == Dialect::SQLite) return QStringLiteral("SUM(CAST(ROUND(") + column + QStringLiteral(" * 100) AS INTEGER))");
    return QStringLiteral("SUM(") + column + QLatin1Char(')');
}

std::optional<qint64> sumCents(Dialect d, const QVariant& value)
{
    if (value.isNull()) return std::nullopt;
    if (d == Dialect::SQLite) return value.toLongLong();
    return centsOf(value);
}

SqlText summaryQuery(Dialect d, const SummaryCriteria& c, const QString& category)
{
    SqlText q;
    QString groupBy, orderBy;
    switch (c.grouping) {
    case Grouping::Department:
        q.sql = QStringLiteral("SELECT 职能部门new.职能部门编号, 职能部门new.职能部门名称");
        groupBy = QStringLiteral("职能部门new.职能部门编号, 职能部门new.职能部门名称");
        orderBy = groupBy;
        break;
    case Grouping::Counterparty:
        q.sql = QStringLiteral("SELECT 合同信息.对方单位, NULL");
        groupBy = orderBy = QStringLiteral("合同信息.对方单位");
        break;
    case Grouping::ContractType:
        q.sql = QStringLiteral("SELECT 合同类型.合同类型, NULL");
        groupBy = orderBy = QStringLiteral("合同类型.合同类型");
        break;
    }
    q.sql += QStringLiteral(", COUNT(*), ") + moneySum(d, QStringLiteral("合同信息.合同金额"));
    append(q, criteriaText(d, c));
    q.sql += QStringLiteral(" AND 合同类型.合同类别 = ? GROUP BY ") + groupBy + QStringLiteral(" ORDER BY ") + orderBy;
    q.values << category;
    return q;
}

SqlText detailQuery(Dialect d, const SummaryCriteria& c, const DetailGroup& group, const QString& category)
{
    SqlText q;
    q.sql = QStringLiteral("SELECT 合同信息.id, 合同类型.合同类别, 合同信息.合同编号, 合同信息.合同名称, 合同信息.对方单位, ") +
            dialect::dateTimeText(d, QStringLiteral("合同信息.合同终止日期")) +
            QStringLiteral(", 合同类型.合同类型, 职能部门new.职能部门名称, ") +
            dialect::dateTimeText(d, QStringLiteral("合同信息.合同签订日期")) + QStringLiteral(", ") +
            dialect::dateTimeText(d, QStringLiteral("合同信息.合同起始日期")) +
            QStringLiteral(", 合同信息.合同状态, 合同信息.合同金额, 职能部门new.职能部门编号");
    append(q, criteriaText(d, c));
    if (!group.wholeCategory) {
        QString column;
        switch (c.grouping) {
        case Grouping::Department: column = QStringLiteral("合同信息.对应部门"); break;
        case Grouping::Counterparty: column = QStringLiteral("合同信息.对方单位"); break;
        case Grouping::ContractType: column = QStringLiteral("合同类型.合同类型"); break;
        }
        if (group.isNull) {
            q.sql += QStringLiteral(" AND ") + column + QStringLiteral(" IS NULL");
        } else {
            q.sql += QStringLiteral(" AND ") + column + QStringLiteral(" = ?");
            q.values << group.value;
        }
    }
    q.sql += QStringLiteral(" AND 合同类型.合同类别 = ? ORDER BY 合同信息.合同编号, 合同信息.id");
    q.values << category;
    return q;
}

SqlText instalmentQuery(Dialect d, bool receipt, const QStringList& departments, const QDate& from, const QDate& to)
{
    const QString plan = receipt ? QStringLiteral("合同收款计划表") : QStringLiteral("合同付款计划表");
    const QString record = receipt ? QStringLiteral("合同收款记录") : QStringLiteral("合同付款记录");
    const QString planId = receipt ? QStringLiteral("合同收款计划ID") : QStringLiteral("合同付款计划ID");
    const QString date = receipt ? QStringLiteral("收款日期") : QStringLiteral("付款日期");
    const QString amount = receipt ? QStringLiteral("收款金额") : QStringLiteral("付款金额");
    // A void payment settles nothing; receipts cannot be voided.
    const QString valid = receipt ? QString() : QStringLiteral(" AND (r.作废 IS NULL OR r.作废 = 0)");
    const QString settled = moneySum(d, QStringLiteral("r.") + amount);

    // A contract's settled total spans all its instalments: it is summed
    // once per contract with an instalment in the range (one aggregate over
    // them, rather than once per listed instalment); an instalment's own
    // settled sum is looked up through the index of the records.
    SqlText q;
    q.planEachRun = true;
    q.values << (receipt ? kReceiptCategory : kPaymentCategory);
    const QString inDepartments = inList(d, q, QStringLiteral("c.对应部门"), departments);
    const auto inRange = [&](const QString& alias) {
        const QString column = alias + QLatin1Char('.') + date;
        return column + QStringLiteral(" >= ? AND ") + column + QStringLiteral(" < ?");
    };
    q.sql = QStringLiteral("SELECT c.合同编号, c.合同名称, t.合同类型, c.合同状态, ") +
            dialect::dateTimeText(d, QStringLiteral("c.合同生效日期")) + QStringLiteral(", ") +
            dialect::dateTimeText(d, QStringLiteral("c.合同终止日期")) + QStringLiteral(", c.合同金额, cs.已结算, ") +
            dialect::dateTimeText(d, QStringLiteral("p.") + date) + QStringLiteral(", p.") + amount +
            QStringLiteral(", p.余额, (SELECT ") + settled + QStringLiteral(" FROM ") + record +
            QStringLiteral(" r WHERE r.") + planId + QStringLiteral(" = p.ID") + valid + QStringLiteral(") FROM ") + plan +
            QStringLiteral(" p INNER JOIN 合同信息 c ON c.合同编号 = p.合同编号"
                           " INNER JOIN 合同类型 t ON c.合同类型 = t.合同类型编号"
                           " LEFT JOIN (SELECT pp.合同编号 AS 合同编号, ") +
            settled + QStringLiteral(" AS 已结算 FROM ") + plan + QStringLiteral(" pp INNER JOIN ") + record +
            QStringLiteral(" r ON r.") + planId + QStringLiteral(" = pp.ID WHERE pp.合同编号 IN (SELECT pr.合同编号 FROM ") +
            plan + QStringLiteral(" pr WHERE ") + inRange(QStringLiteral("pr")) + QStringLiteral(")") + valid +
            QStringLiteral(" GROUP BY pp.合同编号) cs ON cs.合同编号 = c.合同编号"
                           " WHERE t.合同类别 = ? AND ") +
            inDepartments + QStringLiteral(" AND ") + inRange(QStringLiteral("p")) +
            QStringLiteral(" ORDER BY c.合同编号, p.") + date + QStringLiteral(", p.ID");
    // The range binds first in the contracts' totals, then in the listing;
    // the category and the departments lie between.
    q.values.insert(0, dateValue(d, from));
    q.values.insert(1, dateValue(d, to.addDays(1)));
    q.values << dateValue(d, from) << dateValue(d, to.addDays(1));
    return q;
}

}  // namespace corvane::statistics
