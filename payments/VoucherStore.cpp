#include "payments/VoucherStore.h"

#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::payments {

namespace {

QString dayText(const QVariant& v)
{
    if (v.isNull()) return QString();
    const QDate d = toDate(v);
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : v.toString();
}

}  // namespace

DbResult<QString> GetApproverName(const QString& code, int kind, const QString& date)
{
    if (kind == 1) {
        const auto r = selectRowsQuiet(QStringLiteral("SELECT 职能部门名称 FROM 职能部门new WHERE 职能部门编号 = ?"), {code});
        if (!r) return r.error();
        return r->empty() ? QString() : r->front().text(0);
    }
    if (kind != 2) return QString();
    if (date.isEmpty()) {
        const auto r = selectRowsQuiet(
            QStringLiteral("SELECT 员工档案.姓名 FROM 岗位员工new INNER JOIN 员工档案 ON 岗位员工new.员工代号 = 员工档案.工号"
                           " WHERE 岗位员工new.岗位代号 = ? AND 岗位员工new.离岗日期 IS NULL ORDER BY 岗位员工new.ID"),
            {code});
        if (!r) return r.error();
        return r->empty() ? QString() : r->front().text(0);
    }
    const QDate day = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    const QVariant on = dateValue(day);
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT 员工档案.姓名 FROM 岗位员工new INNER JOIN 员工档案 ON 岗位员工new.员工代号 = 员工档案.工号"
                       " WHERE 岗位员工new.岗位代号 = ? AND 岗位员工new.入岗日期 <= ?"
                       " AND (岗位员工new.离岗日期 IS NULL OR 岗位员工new.离岗日期 >= ?)"
                       " ORDER BY 岗位员工new.入岗日期, 岗位员工new.ID"),
        {code, on, on});
    if (!r) return r.error();
    return r->empty() ? QString() : r->front().text(0);
}

DbResult<VoucherData> voucherData(qint64 formId, std::vector<DbError>& unreadNames)
{
    const auto head = selectRowsQuiet(
        QStringLiteral("SELECT f.报销日期, f.付款方式, f.银行卡号, f.对方单位名称, f.对方帐号, f.对方银行, f.制单人, f.报销人,"
                       " f.凭证编号, d.职能部门名称,"
                       " (SELECT SUM(a.附件数量) FROM 报销附件 a INNER JOIN 报销单明细 m ON a.报销单明细ID = m.ID"
                       "   WHERE m.报销单ID = f.报销单ID) AS 附件数量"
                       " FROM 报销单表 f LEFT JOIN 职能部门new d ON f.部门代号 = d.职能部门编号"
                       " WHERE f.报销单ID = ?"),
        {formId});
    if (!head) return head.error();
    if (head->empty()) return DbError{0, QStringLiteral("找不到报销单（ID %1）").arg(formId)};
    const Row& h = head->front();
    VoucherData v;
    v.报销日期 = dayText(h.value(0));
    if (!h.isNull(QStringLiteral("付款方式"))) v.付款方式 = h.text(1);
    v.银行卡号 = h.text(2);
    v.对方单位名称 = h.text(3);
    v.对方帐号 = h.text(4);
    v.对方银行 = h.text(5);
    v.制单人 = h.text(6);
    v.报销人 = h.text(7);
    v.凭证编号 = h.text(8);
    v.职能部门名称 = h.text(9);
    if (!h.isNull(QStringLiteral("附件数量"))) v.附件数量 = QString::number(h.value(10).toLongLong());

    const auto lines = selectRowsQuiet(
        QStringLiteral("SELECT m.摘要, m.科目代号, s.科目名称, m.金额 FROM 报销单明细 m"
                       " LEFT JOIN 财务科目 s ON m.科目代号 = s.科目代号 WHERE m.报销单ID = ? ORDER BY m.ID"),
        {formId});
    if (!lines) return lines.error();
    for (const Row& r : *lines) {
        VoucherLine l{r.text(0), r.text(1), r.text(2), std::nullopt};
        if (!r.isNull(QStringLiteral("金额")))
            if (const auto c = centsOf(r.value(3))) l.金额 = Decimal::fromCents(*c);
        v.lines.push_back(l);
    }

    const auto steps = selectRowsQuiet(
        QStringLiteral("SELECT 部门代号, 岗位代号, 审批日期 FROM 报销单审批 WHERE 报销单ID = ? AND 审批日期 IS NOT NULL"
                       " ORDER BY 审批环节序号 DESC, ID DESC"),
        {formId});
    if (!steps) return steps.error();
    for (const Row& s : *steps) {
        const auto d = GetApproverName(s.text(0), 1, QString());
        if (!d) unreadNames.push_back(d.error());
        const auto p = GetApproverName(s.text(1), 2, dayText(s.value(2)));
        if (!p) unreadNames.push_back(p.error());
        v.trail.emplace_back(d.value_or(QString()), p.value_or(QString()));
    }
    return v;
}

StampOutcome stampPrinted(const std::vector<qint64>& formIds, const QDate& day, DbError* error)
{
    Transaction tx;
    auto fail = [&](const DbError& e) {
        if (error) *error = e;
        return StampOutcome::Failed;
    };
    if (!tx.isActive()) return fail(tx.error());
    for (qint64 id : formIds) {
        const auto n = executeQuiet(QStringLiteral("UPDATE 报销单表 SET 凭证打印日期 = ? WHERE 报销单ID = ?"),
                                    {dateValue(day), id});
        if (!n) return fail(n.error());
        if (*n == 0) return StampOutcome::NoRow;
    }
    if (!tx.commit()) return fail(tx.error());
    return StampOutcome::Done;
}

}  // namespace corvane::payments
