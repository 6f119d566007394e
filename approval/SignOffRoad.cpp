#include "approval/SignOffRoad.h"

#include "app/LoginContext.h"
#include "approval/ContractSubmission.h"
#include "approval/SignOffStore.h"
#include "contracts/ContractStates.h"
#include "contracts/Frm合同信息.h"
#include "platform/Services.h"
#include "platform/Tag.h"

namespace corvane::approval {

namespace {

const QString kNoType = QStringLiteral("请选择合同类型");
const QString kBadPlanTemplate = QStringLiteral("合同收付款计划模板格式不正确");
const QString kEmptyInstalment = QStringLiteral("收付款计划中有日期或金额为空的记录");

SignOffValues valuesOf(const Frm合同信息& w)
{
    SignOffValues v;
    v.合同名称 = w.Text1[0]->text();
    v.编号 = w.Text1[1]->text();
    v.合同部门 = w.Text3->text();
    v.合同类型 = w.Text1[3]->text();
    v.起始日期 = w.Text1[5]->text();
    v.终止日期 = w.Text1[6]->text();
    v.合同金额 = w.Text1[4]->text();
    v.对方单位 = w.Text1[2]->text();
    v.供 = TagOf(w.Label1[16]) == QStringLiteral("1") ? QStringLiteral("是") : QString();
    v.合同主要条款或要点 = w.Text1[7]->text();
    return v;
}

}  // namespace

bool OA审批文件生成(Frm合同信息& w, QString& signOff, QString& plan)
{
    signOff = fillSignOff(signOff, valuesOf(w));
    if (plan.isEmpty()) return true;

    const int index = w.List1->currentRow();
    if (index < 0 || index >= w.类型类别.size()) {
        MsgBox(kNoType, vbOKOnly);
        return false;
    }
    const bool receipts = w.类型类别[index] == contract::收款合同;
    const auto instalments = planInstalmentsOf(w.Text1[1]->text(), receipts);
    if (!instalments) {
        showHandlerError(instalments.error());
        return false;
    }
    const FilledPlan filled = fillPlan(plan, receipts, *instalments);
    switch (filled.outcome) {
    case FilledPlan::BadTemplate: MsgBox(kBadPlanTemplate, vbInformation); return false;
    case FilledPlan::MissingValue: MsgBox(kEmptyInstalment, vbInformation); return false;
    case FilledPlan::Filled: break;
    }
    plan = filled.text;
    return true;
}

QString 生成会签文件(Frm合同信息& w, const QString& signOff, const QString& plan)
{
    WaitCursor wait;
    const SubmissionState& state = submissionStateOf(w);
    SignOffSubmission s;
    const QString id = TagOf(w.Text1[1]);
    if (!id.isEmpty()) s.contract.id = id.toLongLong();
    s.contract.number = w.Text1[1]->text();
    s.文件标题 = w.Text1[0]->text();
    s.signOff = signOff;
    s.plan = plan;
    s.steps = state.会签路径;
    s.多级流转 = state.多级流转;
    s.部门 = Login().当前部门编号;
    s.岗位 = Login().当前岗位代号;
    s.工号 = Login().当前工号;
    s.now = Now();
    const SignOffResult result = writeSignOff(s);
    switch (result.outcome.kind) {
    case WriteOutcome::Done: return result.number;
    case WriteOutcome::NoRow:
        MsgBox(QStringLiteral("该合同已经提交，不能重复提交！"));
        // The window shows the road the contract took meanwhile.
        w.显示合同信息();
        return QString();
    case WriteOutcome::Failed: MsgBox(result.outcome.error.description, vbInformation); return QString();
    }
    return QString();
}

void 提交行政审批(Frm合同信息& w, const QString& signOffTemplate, const QString& planTemplate)
{
    QString signOff = signOffTemplate, plan = planTemplate;
    if (!OA审批文件生成(w, signOff, plan)) return;
    const QString number = 生成会签文件(w, signOff, plan);
    if (number.isEmpty()) return;
    w.显示合同信息();
    MsgBox(QStringLiteral("提交完成"));
}

}  // namespace corvane::approval
