#pragma once
// Hands the record window's 提交 and 流转情况 to contract approval.

namespace corvane::approval {

void registerApprovalWindows();

}  // namespace corvane::approval
