#pragma once
// The words 合同信息 and 合同类型 keep a contract's state and category in.

#include <QString>
#include <QStringList>

namespace corvane::contract {

// 合同状态: every value some writer puts into the column.
inline const QString 未提交 = QStringLiteral("未提交");        // insert (record window, supplement and renewal panel)
inline const QString 签约中 = QStringLiteral("签约中");        // renewal at expiry, new row
inline const QString 审批中 = QStringLiteral("审批中");        // submission
inline const QString 审批通过 = QStringLiteral("审批通过");    // synchronisation, or immediate approval
inline const QString 审批未通过 = QStringLiteral("审批未通过");  // synchronisation
inline const QString 签约完成 = QStringLiteral("签约完成");    // signing without immediate effect
inline const QString 履行中 = QStringLiteral("履行中");        // signing with immediate effect, taking effect
inline const QString 已中止 = QStringLiteral("已中止");        // suspended in the record window
inline const QString 履行完成 = QStringLiteral("履行完成");    // ended at expiry
inline const QString 中止 = QStringLiteral("中止");            // ended early by the expiry handling
inline const QString 已作废 = QStringLiteral("已作废");        // voided
QStringList allStates();

// 合同类型.合同类别
inline const QString 收款合同 = QStringLiteral("收款合同");
inline const QString 付款合同 = QStringLiteral("付款合同");
// The type name (合同类型.合同类型) of lease contracts, which the contract
// list, its quick search, the reminders and the summary leave out.
inline const QString 租赁合同 = QStringLiteral("租赁合同");

}  // namespace corvane::contract
