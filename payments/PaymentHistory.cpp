#include "payments/PaymentHistory.h"

#include <map>

#include "platform/Amounts.h"

namespace corvane::payments {

namespace {

QString dayText(const QVariant& v)
{
    if (v.isNull()) return QString();
    const QDate d = toDate(v);
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : v.toString();
}


Decimal amountOf(const QVariant& v)
{
    const auto c = centsOf(v);
    return c ? Decimal::fromCents(*c) : Decimal();
}

}  // namespace

QString paymentLineState(bool approvalDated, bool approved, bool returnDated, bool returned, bool confirmed)
{
    if (!approvalDated) return QStringLiteral("审批中");
    if (!approved) return QStringLiteral("审批未通过");
    if (returnDated && returned) return QStringLiteral("出纳退回");
    if (!confirmed) return QStringLiteral("审批完成");
    return QStringLiteral("支付完成");
}

DbResult<std::vector<PaymentLine>> paymentHistory(const QString& contract, bool withVoided)
{
    QString sql = QStringLiteral(
        "SELECT r.付款日期, r.付款金额, r.凭证编号, r.支付确认单编号, r.科目代号, c.支付日期,"
        " f.审批日期, f.审批通过, f.出纳退回日期, f.出纳退回"
        " FROM 合同付款记录 r INNER JOIN 合同付款计划表 p ON r.合同付款计划ID = p.ID"
        " INNER JOIN 报销单表 f ON r.凭证编号 = f.报销单编号"
        " LEFT JOIN 报销支付确认单 c ON r.支付确认单编号 = c.报销支付单编号"
        " WHERE p.合同编号 = ?");
    if (!withVoided) sql += QStringLiteral(" AND (r.作废 IS NULL OR r.作废 = 0)");
    sql += QStringLiteral(" ORDER BY r.付款日期, r.ID");
    const auto rows = selectRowsQuiet(sql, {contract});
    if (!rows) return rows.error();
    // Summed per date, form, confirmation and subject, in the order the first record comes.
    std::vector<PaymentLine> lines;
    std::map<QString, size_t> index;
    for (const Row& r : *rows) {
        const QString date = dayText(r.value(0));
        const QString key = date + QChar(1) + r.text(2) + QChar(1) + r.text(3) + QChar(1) + r.text(4) + QChar(1) +
                            (r.value(3).isNull() ? QStringLiteral("N") : QStringLiteral("V"));
        const auto found = index.find(key);
        if (found != index.end()) {
            lines[found->second].付款金额 += amountOf(r.value(1));
            continue;
        }
        PaymentLine l;
        l.付款日期 = date;
        l.付款金额 = amountOf(r.value(1));
        l.凭证编号 = r.text(2);
        l.支付确认单编号 = r.text(3);
        l.科目代号 = r.text(4);
        l.支付日期 = dayText(r.value(5));
        l.state = paymentLineState(!r.value(6).isNull(), r.flag(7), !r.value(8).isNull(), r.flag(9),
                                   !r.value(3).isNull());
        index.emplace(key, lines.size());
        lines.push_back(l);
    }
    return lines;
}

DbResult<std::optional<FormView>> formView(const QString& number)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 报销单ID, 报销单编号, 报销费用类别, 报销类型, 付款方式, 报销日期, 制单人, 审批日期, 审批通过,"
                       " 出纳退回日期, 出纳退回原因 FROM 报销单表 WHERE 报销单编号 = ?"),
        {number});
    if (!rows) return rows.error();
    if (rows->empty()) return std::optional<FormView>();
    const Row& r = rows->front();
    FormView v;
    v.id = r.value(0).toLongLong();
    v.报销单编号 = r.text(1);
    v.报销费用类别 = r.text(2);
    v.报销类型 = r.text(3);
    v.付款方式 = r.text(4);
    v.报销日期 = dayText(r.value(5));
    v.制单人 = r.text(6);
    v.approvalDated = !r.value(7).isNull();
    v.approved = r.flag(8);
    v.returnDated = !r.value(9).isNull();
    v.出纳退回原因 = r.text(10);
    return std::optional<FormView>(v);
}

DbResult<std::vector<FormLine>> formLines(qint64 formId)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT m.摘要, m.科目代号, s.科目名称, m.金额 FROM 报销单明细 m"
                       " LEFT JOIN 财务科目 s ON m.科目代号 = s.科目代号 WHERE m.报销单ID = ? ORDER BY m.ID"),
        {formId});
    if (!rows) return rows.error();
    std::vector<FormLine> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1), r.text(2), amountOf(r.value(3))});
    return out;
}

DbResult<std::vector<TrailRow>> approvalTrail(qint64 formId)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT d.职能部门名称, p.岗位名称, a.审批人, e.姓名, a.审批意见, a.审批日期, a.同意"
                       " FROM 岗位信息new p INNER JOIN 报销单审批 a ON p.岗位代号 = a.岗位代号"
                       " INNER JOIN 职能部门new d ON a.部门代号 = d.职能部门编号"
                       " LEFT JOIN 员工档案 e ON p.工号 = e.工号"
                       " WHERE a.报销单ID = ? ORDER BY a.审批环节序号, a.ID"),
        {formId});
    if (!rows) return rows.error();
    std::vector<TrailRow> out;
    for (const Row& r : *rows) {
        TrailRow t;
        t.部门 = r.text(0) + QLatin1Char(' ') + r.text(1);
        t.审批人 = r.value(2).isNull() ? r.text(3) : r.text(2);
        t.审批意见 = r.text(4);
        const bool dated = !r.value(5).isNull();
        t.审批日期 = dated ? dayText(r.value(5)) : QStringLiteral("在审批中");
        const bool disagreed = !r.value(6).isNull() && r.value(6).toInt() == 0;
        t.同意 = disagreed ? (dated ? QStringLiteral("×") : QString()) : QStringLiteral("√");
        out.push_back(t);
    }
    return out;
}

}  // namespace corvane::payments
