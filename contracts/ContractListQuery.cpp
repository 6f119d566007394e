#include "contracts/ContractListQuery.h"

#include <QStringList>
#include <cmath>

#include "contracts/ContractStates.h"
#include "db/Dialect.h"
#include "db/Sql.h"

namespace corvane::contract {

QDate dueLimit(const QDate& today, double days) { return today.addDays(qint64(std::floor(days))); }

namespace {

QString stateTest(const QStringList& states, QVariantList& values)
{
    values << QVariant(states).toList();
    return QStringLiteral(" AND 合同信息.合同状态 IN (") + placeholders(int(states.size())) + QLatin1Char(')');
}

}  // namespace

BoundStatement contractListStatement(const ListSelection& s, Dialect d)
{
    const auto date = [d](const char* column) {
        const QString name = QString::fromUtf8(column);
        return dialect::dateTimeText(d, QStringLiteral("合同信息.") + name) + QStringLiteral(" AS ") + name;
    };
    BoundStatement b;
    b.sql = QStringLiteral(
                "SELECT 合同信息.合同编号, 合同信息.合同名称, 职能部门new.职能部门名称, 合同类型.合同类型 AS 合同类型名称, "
                "合同类型.合同类别, 合同信息.合同金额, 合同信息.对方单位, 合同信息.对方开户行, 合同信息.对方帐号, ") +
            date("合同签订日期") + QStringLiteral(", ") + date("合同生效日期") + QStringLiteral(", 合同信息.合同期限, ") +
            date("合同终止日期") + QStringLiteral(", ") + date("合同中止日期") +
            QStringLiteral(", 合同信息.合同状态, 合同信息.签约人, 合同信息.对方签约人, 合同信息.对应续约合同编号, ") +
            date("提交日期") + QStringLiteral(", ") + date("流转结束日期") +
            QStringLiteral(", 合同信息.流转通过, 合同信息.对应部门, 合同类型.对应科目, 合同信息.id"
        " FROM 合同信息 INNER JOIN 合同类型 ON 合同信息.合同类型 = 合同类型.合同类型编号"
        " INNER JOIN 职能部门new ON 职能部门new.职能部门编号 = 合同信息.对应部门"
        " WHERE 合同类型.合同类型 <> ?");
    b.values << 租赁合同;
    if (!s.companyScope) {
        b.sql += QStringLiteral(" AND 合同信息.对应部门 = ?");
        b.values << s.department;
    }
    const QDate due = dueLimit(s.today, s.days);
    auto dueInstalment = [&](const QString& category, const QString& table, const QString& dateColumn) {
        b.sql += stateTest({履行中}, b.values);
        b.sql += QStringLiteral(" AND 合同类型.合同类别 = ? AND 合同信息.合同编号 IN (SELECT 合同编号 FROM ") + table +
                 QStringLiteral(" WHERE 余额 > 0 AND ") + dateColumn + QStringLiteral(" <= ?)");
        b.values << category << dateValue(due);
    };
    switch (s.filter) {
    case ListFilter::全部履行中合同: b.sql += stateTest({履行中, 未提交, 签约中}, b.values); break;
    case ListFilter::应付到期合同:
        dueInstalment(付款合同, QStringLiteral("合同付款计划表"), QStringLiteral("付款日期"));
        break;
    case ListFilter::应收到期合同:
        dueInstalment(收款合同, QStringLiteral("合同收款计划表"), QStringLiteral("收款日期"));
        break;
    case ListFilter::到期合同:
        b.sql += stateTest({履行中}, b.values) + QStringLiteral(" AND 合同信息.合同终止日期 <= ?");
        b.values << dateValue(due);
        break;
    case ListFilter::已终止履行合同: {
        // Both kinds of early end and the end at expiry, in either scope.
        b.sql += stateTest({已中止, 中止, 履行完成}, b.values);
        const QString column = s.basis == DateBasis::按生效日期   ? QStringLiteral("合同信息.合同生效日期")
                               : s.basis == DateBasis::按终止日期 ? QStringLiteral("合同信息.合同终止日期")
                                                                  : QStringLiteral("合同信息.合同中止日期");
        b.sql += QStringLiteral(" AND ") + column + QStringLiteral(" <= ? AND ") + column + QStringLiteral(" >= ?");
        b.values << dateValue(s.to) << dateValue(s.from);
        break;
    }
    case ListFilter::已到期未终止履行合同:
        b.sql += stateTest({履行中}, b.values) + QStringLiteral(" AND 合同信息.合同终止日期 <= ?");
        b.values << dateValue(s.today);
        break;
    case ListFilter::签约中: b.sql += stateTest({签约中, 审批通过, 签约完成, 审批中, 未提交}, b.values); break;
    case ListFilter::全部: break;
    }
    if (!s.ids.empty()) {
        b.sql += QStringLiteral(" AND 合同信息.id IN (") + placeholders(int(s.ids.size())) + QLatin1Char(')');
        for (qint64 id : s.ids) b.values << id;
    }
    b.sql += QStringLiteral(" ORDER BY 合同信息.id");
    return b;
}

}  // namespace corvane::contract
