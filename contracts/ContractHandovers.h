#pragma once
// The windows the contract list hands a contract to are built by later work
// (the record window, receipts, payments, performance plan, expiry). Each one
// registers its opener here; until it does, the list says the window is not
// available yet. An opener sets its window's tag and boxes from the values
// and shows the window (the record window modeless, the others modally).

#include <QString>
#include <functional>

namespace corvane::contract {

// Frm合同信息: mode "新增" or "修改".
struct RecordWindowHandover {
    QString mode;            // window Tag
    QString departmentCode;  // Text3's tag
    QString departmentText;  // Text3 ("code name")
    QString number;          // Text1(1), locked; empty for "新增"
    QString id;              // Text1(1)'s tag
};

// frm合同付款处理
struct PaymentHandover {
    QString number;             // Text3(0)
    QString id;                 // Text3(0)'s tag
    QString name;               // Text3(1)
    QString amount;             // Text3(2), as shown
    QString ownerDepartment;    // Text3(5): "code name", empty when not in the tree
    QString budgetSubject;      // Text10
    QString userDepartmentText; // Text8: 当前部门编号 + " " + 当前部门名称
    QString userDepartmentCode; // Text8's tag
    QString counterparty;       // Text5
    QString bank;               // Text6
    QString account;            // Text7
};

// frm合同收款
struct ReceiptHandover {
    QString number;           // Text3(0)'s tag
    QString name;             // Text3(0)
    QString ownerDepartment;  // Text3(1)
    QString id;               // the contract's id: what the window acts on
};

// frm合同履行计划 in check mode
struct PerformancePlanHandover {
    QString caption;  // "合同履行情况及检查记录"
    QString number;   // Text4(0)
    QString name;     // Text4(1)
    QString mode;     // window Tag, "浏览"
    QString id;       // the contract's id: what the window acts on
};

// frm合同到期处理; it writes columns 14 and 15 of the list's current row.
struct ExpiryHandover {
    QString number;  // Text1(0)
    QString name;    // Text1(1)
    QString id;      // the contract's id: what the window acts on
};

struct ContractHandovers {
    std::function<void(const RecordWindowHandover&)> Frm合同信息;
    std::function<void(const PaymentHandover&)> frm合同付款处理;
    std::function<void(const ReceiptHandover&)> frm合同收款;
    std::function<void(const PerformancePlanHandover&)> frm合同履行计划;
    std::function<void(const ExpiryHandover&)> frm合同到期处理;
};

ContractHandovers& contractHandovers();

// The message shown by a button whose window is not registered yet.
QString windowNotAvailableText(const QString& windowCaption);

}  // namespace corvane::contract
