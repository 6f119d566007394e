#include "approval/Registration.h"

#include "app/MainWindowHooks.h"
#include "approval/ContractSubmission.h"
#include "approval/SignOffRoad.h"
#include "approval/Synchronisation.h"
#include "contracts/ContractRecordWindow.h"

namespace corvane::approval {

void registerApprovalWindows()
{
    auto& seams = contract::recordWindowSeams();
    seams.提交 = [](Frm合同信息& w) { Command9_Click(w); };
    seams.流转情况 = [](Frm合同信息& w) { Command9_Click(w); };
    administrativeRoad().提交 = [](Frm合同信息& w, const QString& signOff, const QString& plan) {
        提交行政审批(w, signOff, plan);
    };
    mainWindowHooks().行政合同审批同步 = [] { return 行政合同审批同步(); };
}

}  // namespace corvane::approval
