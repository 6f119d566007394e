#pragma once
// The statements of the statistics windows, built from the criteria as text
// with bound values, so they can be read and tested without a database.
// Every value is bound: a name with an apostrophe is just a name. A date
// range takes whole days: from the first day's start to before the day after
// the last, so a stored time of day on the last day still counts.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <vector>

#include "db/Connection.h"

namespace corvane::statistics {

struct SqlText {
    QString sql;
    QVariantList values;
    // Lists too long to bind one placeholder per value: each is read from
    // the rows of stagingTable() with its index as `list`, which the store
    // fills before it runs the statement.
    std::vector<QStringList> staged;
    // Run with Statement::planEachRun(): its best plan depends on the values.
    bool planEachRun = false;
};

// The most values a list binds one by one (the engines limit the
// placeholders of a statement: SQL Server to 2,100); longer lists are staged.
int bindLimit(Dialect d);
// The session's temporary table of staged values (list, value) and the
// statement that makes it when it is missing.
QString stagingTable(Dialect d);
QString createStagingTable(Dialect d);
// The statements that empty the staging table and add one value to a list.
QString clearStagingTable(Dialect d);
QString stageValue(Dialect d);

enum class Grouping { Department, Counterparty, ContractType };

// The header of the summary grid's column 2 for a grouping, and back.
QString groupingHeader(Grouping g);
std::optional<Grouping> groupingOfHeader(const QString& header);

struct DateRange {
    QDate from, to;
};

// What a summary run counted: the criteria of the last run, which the
// drill-down reuses whatever the controls show since.
struct SummaryCriteria {
    QStringList types;        // 合同类型编号 of the ticked type nodes
    QStringList departments;  // 职能部门编号 of the ticked department nodes
    QStringList states;       // 合同状态
    std::optional<QStringList> counterparties;  // only when 对方单位 is ticked
    std::optional<DateRange> start;             // 合同起始日期, when 起始日期 is ticked
    std::optional<DateRange> end;               // 合同终止日期, when 终止日期 is ticked
    Grouping grouping = Grouping::Department;
};

inline const QString kReceiptCategory = QStringLiteral("收款合同");
inline const QString kPaymentCategory = QStringLiteral("付款合同");

// The money sum of a column as the engine keeps it exactly: whole cents on
// SQLite (whose DECIMAL is a binary float), the decimal sum elsewhere. Read
// the value back with sumCents().
QString moneySum(Dialect d, const QString& column);
std::optional<qint64> sumCents(Dialect d, const QVariant& value);

// One category block of the summary: columns 名称 (code and name for
// departments), whether the name is NULL, 合同总数 (every contract of the
// group, with or without a counterparty) and 合同总额; groups by name.
// Columns: 0 name or code, 1 department name (department grouping only,
// else NULL), 2 count, 3 amount sum.
SqlText summaryQuery(Dialect d, const SummaryCriteria& c, const QString& category);

// The group a drill-down lists: a group row's value (and whether it was
// NULL), or, for a "合计 " row, the whole category.
struct DetailGroup {
    bool wholeCategory = false;
    QString value;  // department code, counterparty or type name
    bool isNull = false;
};

// The contracts behind a summary row, by 合同编号. Columns: 0 id, 1 合同类别,
// 2 合同编号, 3 合同名称, 4 对方单位, 5 合同终止日期, 6 type name,
// 7 职能部门名称, 8 合同签订日期, 9 合同起始日期, 10 合同状态, 11 合同金额,
// 12 职能部门编号; dates as text.
SqlText detailQuery(Dialect d, const SummaryCriteria& c, const DetailGroup& group, const QString& category);

// The instalments of a tab whose planned day lies in [from, to], of the
// category's contracts of the departments, by 合同编号, date and ID; lease
// contracts included. Columns: 0 合同编号, 1 合同名称, 2 type name,
// 3 合同状态, 4 合同生效日期, 5 合同终止日期, 6 合同金额, 7 the contract's
// settled total over all its instalments and all time (NULL when nothing is
// settled; void payments left out), 8 planned date, 9 planned amount,
// 10 stored 余额, 11 what the instalment itself has settled (NULL when
// nothing). Dates as text; 7 and 11 as moneySum() gives them. Planned for
// each run's range: PostgreSQL's plan for any range read the settlements
// instalment by instalment, 1.3 s against 0.9 s over a year of 100,000
// contracts.
SqlText instalmentQuery(Dialect d, bool receipt, const QStringList& departments, const QDate& from, const QDate& to);

}  // namespace corvane::statistics
