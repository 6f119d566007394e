#pragma once
// Which contracts the contract list shows: the statement for a scope, a
// filter option, a number of days and a date range, with every value bound.

#include <QDate>
#include <QString>
#include <QVariantList>
#include <vector>

#include "db/Connection.h"

namespace corvane::contract {

// The filter options in the order the list tests them.
enum class ListFilter {
    全部履行中合同,
    应付到期合同,
    应收到期合同,
    到期合同,
    已终止履行合同,
    已到期未终止履行合同,
    签约中,
    全部,
};

// The date column the range of 已终止履行合同 applies to.
enum class DateBasis { 按生效日期, 按终止日期, 按中止日期 };

struct ListSelection {
    bool companyScope = false;
    QString department;  // read in department scope only
    ListFilter filter = ListFilter::全部履行中合同;
    double days = 0;
    DateBasis basis = DateBasis::按生效日期;
    QDate from, to;
    QDate today;
    // Only these contracts (by id) among those the rest selects; all when empty.
    std::vector<qint64> ids;
};

struct BoundStatement {
    QString sql;
    QVariantList values;
};

// The due limit: today plus the days, a part day counting as the day it falls in.
QDate dueLimit(const QDate& today, double days);

// The columns come in this order, one per grid column 1..24 (see
// ListColumn); dates and date-times as the text "yyyy-MM-dd HH:mm:ss" (or
// SQLite's own text), so reading them costs no time-zone rule.
BoundStatement contractListStatement(const ListSelection& selection, Dialect d = DbDialect());

// Result positions of contractListStatement.
enum ListColumn : int {
    lc合同编号, lc合同名称, lc职能部门名称, lc合同类型名称, lc合同类别, lc合同金额, lc对方单位, lc对方开户行,
    lc对方帐号, lc合同签订日期, lc合同生效日期, lc合同期限, lc合同终止日期, lc合同中止日期, lc合同状态, lc签约人,
    lc对方签约人, lc对应续约合同编号, lc提交日期, lc流转结束日期, lc流转通过, lc对应部门, lc对应科目, lcId,
    lcCount
};

}  // namespace corvane::contract
