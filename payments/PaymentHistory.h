#pragma once
// The payment history of a contract and the reimbursement forms behind it:
// the list of payments by date, form, confirmation and subject with their
// state, a form's header and detail lines, and its approval trail. Read only.

#include <QString>
#include <optional>
#include <vector>

#include "app/Decimal.h"
#include "db/Sql.h"

namespace corvane::payments {

// The state of a payment line, decided in this order: approval running,
// not approved, returned by the cashier, approved, paid.
QString paymentLineState(bool approvalDated, bool approved, bool returnDated, bool returned, bool confirmed);

struct PaymentLine {
    QString 付款日期;  // yyyy-MM-dd
    Decimal 付款金额;  // summed over the line's records
    QString 凭证编号, 支付确认单编号, 支付日期, 科目代号;
    QString state;
};
// One line per payment date, form, confirmation and subject of the contract's
// instalments, for records that belong to a form; voided ones only when asked.
DbResult<std::vector<PaymentLine>> paymentHistory(const QString& contract, bool withVoided);

struct FormView {
    qint64 id = 0;
    QString 报销单编号, 报销费用类别, 报销类型, 付款方式, 报销日期, 制单人;
    bool approvalDated = false, approved = false, returnDated = false;
    QString 出纳退回原因;
};
DbResult<std::optional<FormView>> formView(const QString& number);

struct FormLine {
    QString 摘要, 科目代号, 科目名称;
    Decimal 金额;
};
// The detail lines by ID; a subject missing from 财务科目 gives an empty name.
DbResult<std::vector<FormLine>> formLines(qint64 formId);

struct TrailRow {
    QString 部门, 审批人, 审批意见, 审批日期, 同意;
};
// The approval steps whose post and department exist, by step number: the
// approver, or the post holder while the step is pending; "在审批中" without a date.
DbResult<std::vector<TrailRow>> approvalTrail(qint64 formId);

}  // namespace corvane::payments
