#pragma once
// Opening the contract record window from the contract list, and the windows
// of later work that the record window opens. Until such a window registers
// itself here, its button says that it is not available yet.

#include <QDate>
#include <QString>
#include <functional>

namespace corvane {
class Frm合同信息;
}

namespace corvane::contract {

// Sets contractHandovers().Frm合同信息 to open the record window.
void registerContractRecordWindow();

// frm合同收付款计划设置, shown modally; nothing is read back.
struct InstalmentPlanHandover {
    QString Label1;     // number, one blank, name
    QString Label13_1;  // the amount as shown
    QDate DTPicker2;    // start; invalid when the box is empty
    QDate DTPicker3;    // end; invalid when the box is empty
    QString caption;    // "合同收款计划设置" or "合同付款计划设置"
};

// frm合同履行计划 in node editing, shown modally; nothing is read back.
struct PerformancePlanEditHandover {
    QString Text4_0;  // contract number
    QString Text4_1;  // contract name
    QString mode;     // window Tag, "编辑"
};

struct RecordWindowSeams {
    // Command9 captioned "提交": submits the contract shown to its route.
    std::function<void(Frm合同信息&)> 提交;
    // Command9 with any other caption: the approval circulation of the contract shown.
    std::function<void(Frm合同信息&)> 流转情况;
    std::function<void(const InstalmentPlanHandover&)> frm合同收付款计划设置;
    std::function<void(const PerformancePlanEditHandover&)> frm合同履行计划;
};

RecordWindowSeams& recordWindowSeams();

}  // namespace corvane::contract
