#pragma once
// The record window's 提交 button: the contract shown goes to its route, and
// once submitted the same button shows how the approval is getting on.

#include <QString>
#include <functional>
#include <vector>

#include "approval/ApprovalRules.h"
#include "db/Sql.h"

namespace corvane {
class Frm合同信息;
}

namespace corvane::approval {

// The administrative road (a sign-off document for the outside approval
// program); until it is filled, a configured template says the window is
// not available and nothing is written.
struct AdministrativeRoad {
    std::function<void(Frm合同信息&, const QString& signOffTemplate, const QString& planTemplate)> 提交;
};
AdministrativeRoad& administrativeRoad();

// What a submission builds and the administrative road reads; it lives as
// long as the record window.
struct SubmissionState {
    std::vector<RouteStep> 会签路径;
    bool 多级流转 = false;
};
SubmissionState& submissionStateOf(Frm合同信息& window);

// Command9_Click in both of its roles.
void Command9_Click(Frm合同信息& window);
void 未设置处理(Frm合同信息& window);
// True when a sign-off template is configured; both texts receive the templates.
// No value after an error (shown).
std::optional<bool> 在行政办公审批(QString& signOffTemplate, QString& planTemplate);
// The progress lists in the window's panel; false after an error (shown).
bool XZ审批列表(Frm合同信息& window);
bool 审批列表(Frm合同信息& window);

// The error box of these handlers: number, "|", description, no icon.
void showHandlerError(const DbError& error);

}  // namespace corvane::approval
