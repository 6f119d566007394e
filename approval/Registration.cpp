#include "approval/Registration.h"

#include "approval/ContractSubmission.h"
#include "contracts/ContractRecordWindow.h"

namespace corvane::approval {

void registerApprovalWindows()
{
    auto& seams = contract::recordWindowSeams();
    seams.提交 = [](Frm合同信息& w) { Command9_Click(w); };
    seams.流转情况 = [](Frm合同信息& w) { Command9_Click(w); };
}

}  // namespace corvane::approval
