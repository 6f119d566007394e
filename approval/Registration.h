#pragma once
// Hands the record window's 提交 and 流转情况 to contract approval, with the
// administrative road of a submission and the start-up synchronisation.

namespace corvane::approval {

void registerApprovalWindows();

}  // namespace corvane::approval
