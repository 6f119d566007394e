#include "approval/ContractSubmission.h"

#include "app/LoginContext.h"
#include "approval/ApprovalStore.h"
#include "approval/frm合同会签提交处理.h"
#include "contracts/ContractHandovers.h"
#include "contracts/Frm合同信息.h"
#include "contracts/frmCorvane.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/TextMeasure.h"
#include "platform/Widgets.h"

namespace corvane::approval {

namespace {

// Kept as a child of the record window, so it ends with the window.
class SubmissionHolder : public QObject {
public:
    using QObject::QObject;
    SubmissionState state;
};

ContractKey keyOf(const Frm合同信息& w)
{
    ContractKey key;
    const QString id = TagOf(w.Text1[1]);
    if (!id.isEmpty()) key.id = id.toLongLong();
    key.number = w.Text1[1]->text();
    return key;
}

void openCountersign(Frm合同信息& w)
{
    const frmCorvane& list = *Forms::get<frmCorvane>();
    auto* f = Forms::get<frm合同会签提交处理>();
    const QString type = w.Text1[3]->text();
    f->takeHandover({QStringLiteral("合同信息"), w.Text1[1]->text(), TagOf(w.Text1[1]), w.Text1[0]->text(),
                     nameAfterCode(type), codeOf(type)},
                    list);
    f->ShowModal();
}

void placeProgressPanel(Frm合同信息& w)
{
    const int inner = pixelsToTwips(w.Picture3->contentsRect().height());
    const int top = inner - pixelsToTwips(w.Picture10->height()) - 45;
    w.Picture10->move(px(30), px(top));
    w.Picture10->show();
    w.Picture10->raise();
}

}  // namespace

AdministrativeRoad& administrativeRoad()
{
    static AdministrativeRoad road;
    return road;
}

SubmissionState& submissionStateOf(Frm合同信息& window)
{
    for (QObject* child : window.children())
        if (auto* holder = dynamic_cast<SubmissionHolder*>(child)) return holder->state;
    return (new SubmissionHolder(&window))->state;
}

void showHandlerError(const DbError& error)
{
    MsgBox(QString::number(error.number) + QLatin1Char('|') + error.description);
}

void Command9_Click(Frm合同信息& w)
{
    if (w.Command9->text() != QStringLiteral("提交")) {
        const bool shown = TagOf(w.Command9).isEmpty() ? 审批列表(w) : XZ审批列表(w);
        if (shown) placeProgressPanel(w);
        return;
    }
    const QString typeText = w.Text1[3]->text();
    if (!typeText.contains(QLatin1Char(' '))) {
        // No code can be taken from the type text: nothing is read or written.
        showHandlerError({5, QStringLiteral("无效的过程调用或参数")});
        return;
    }
    const QString typeCode = codeOf(typeText);
    SubmissionState& state = submissionStateOf(w);
    state.会签路径.clear();

    const auto settings = typeSettings(typeCode);
    if (!settings) return showHandlerError(settings.error());
    bool headFlag = false;
    if (*settings) {
        state.多级流转 = !(*settings)->单级流转;
        headFlag = (*settings)->部门主管审批;
    }

    std::optional<QString> headPost;
    if (headFlag) {
        const auto head = headPostOf(Login().当前部门编号);
        if (!head) return showHandlerError(head.error());
        if (*head) {
            headPost = (*head)->岗位代号;
        } else if (MsgBox(QStringLiteral("该合同类别设置了部门主管审批，但是[") + Login().当前部门名称 +
                              QStringLiteral("]部门主管不存在，是否继续提交？"),
                          vbYesNo + vbInformation) != vbYes) {
            return;
        }
    }
    const auto steps = templateSteps(typeCode);
    if (!steps) return showHandlerError(steps.error());
    state.会签路径 = 会签路径(headFlag, Login().当前部门编号, headPost, *steps);
    if (state.会签路径.empty()) return 未设置处理(w);

    QString signOff, plan;
    const auto administrative = 在行政办公审批(signOff, plan);
    if (!administrative) return;
    if (*administrative) {
        const auto& road = administrativeRoad().提交;
        if (!road) {
            MsgBox(contract::windowNotAvailableText(QStringLiteral("行政办公审批")), vbInformation);
            return;
        }
        road(w, signOff, plan);
        return;
    }
    openCountersign(w);
}

void 未设置处理(Frm合同信息& w)
{
    if (MsgBox(QStringLiteral("相应的合同流转路径未设置，是否为审批通过？"), vbYesNo) == vbYes) {
        w.Command9->setText(QStringLiteral("流转信息"));
        const WriteOutcome out = approveDirectly(keyOf(w), Today());
        if (out.kind == WriteOutcome::Failed) showHandlerError(out.error);
        if (out.kind == WriteOutcome::NoRow) MsgBox(QStringLiteral("该合同已经提交，不能重复提交！"));
        w.显示合同信息();
        return;
    }
    if (MsgBox(QStringLiteral("是否采用自定义审批路径？"), vbYesNo) != vbYes) return;
    openCountersign(w);
    w.显示合同信息();
}

std::optional<bool> 在行政办公审批(QString& signOffTemplate, QString& planTemplate)
{
    const auto signOff = setupValue(QStringLiteral("合同会签单模板"));
    if (!signOff) {
        showHandlerError(signOff.error());
        return std::nullopt;
    }
    if (!*signOff || (*signOff)->isEmpty()) return false;
    signOffTemplate = **signOff;
    const auto plan = setupValue(QStringLiteral("合同收付款计划模板"));
    if (!plan) {
        showHandlerError(plan.error());
        return std::nullopt;
    }
    if (*plan) planTemplate = **plan;
    return true;
}

bool XZ审批列表(Frm合同信息& w)
{
    FlexGrid& grid = *w.MSFlexGrid1;
    grid.setRows(1);
    grid.setColAlignment(1, flexAlignLeftCenter);
    grid.setColAlignment(2, flexAlignLeftCenter);
    const auto deliveries = deliveriesOf(TagOf(w.Command9));
    // The panel shows whatever was listed, also after an error.
    if (!deliveries) {
        showHandlerError(deliveries.error());
        return true;
    }
    const QFont font = w.font();
    const double lineHeight = TextHeightTwips(font, QStringLiteral("国"));
    for (const Delivery& d : *deliveries) {
        if (!listed(d)) continue;
        const int row = grid.Rows();
        const QStringList cells = deliveryCells(d);
        std::vector<QString> texts{QString::number(row)};
        for (const QString& c : cells) texts.push_back(c);
        grid.appendRow(std::move(texts));
        if (d.回复内容.isEmpty()) continue;
        const auto height = replyRowHeight(
            d.回复内容, grid.ColWidth(4), [&](const QString& line) { return TextWidthTwips(font, line); }, lineHeight,
            grid.RowHeight(row));
        if (height) grid.setRowHeight(row, *height);
    }
    return true;
}

bool 审批列表(Frm合同信息& w)
{
    FlexGrid& grid = *w.MSFlexGrid1;
    grid.setRows(1);
    const auto records = countersignRecordsOf(w.Text1[1]->text());
    if (!records) {
        showHandlerError(records.error());
        return false;
    }
    for (const CountersignRecord& r : *records) {
        std::vector<QString> texts{QString::number(grid.Rows())};
        for (const QString& c : countersignCells(r)) texts.push_back(c);
        grid.appendRow(std::move(texts));
    }
    grid.setColAlignment(3, flexAlignLeftCenter);
    return true;
}

}  // namespace corvane::approval
