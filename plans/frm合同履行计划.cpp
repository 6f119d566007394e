#include "plans/frm合同履行计划.h"

#include "app/GridRowFit.h"
#include "platform/Services.h"
#include "plans/PlanRules.h"
#include "plans/PlanStore.h"

namespace corvane {

using namespace plans;

namespace {

constexpr int kNodeId = 4;
constexpr int kCheckId = 7;
const QString kAdd = QStringLiteral("新增");
const QString kCancelAdd = QStringLiteral("取消新增");

QString dateText(const std::optional<QDate>& d) { return d ? d->toString(QStringLiteral("yyyy-MM-dd")) : QString(); }

// A node that another workstation deleted meanwhile.
void reportNodeGone() { ShowStandardError(0, QStringLiteral("该节点已被删除，请重新打开本窗口！")); }
void reportNodeChanged(int row)
{
    MsgBox(QStringLiteral("第%1行的计划已被他人修改，请重新打开本窗口！").arg(row), vbExclamation, ExeName());
}

}  // namespace

frm合同履行计划::frm合同履行计划()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid2, &FlexGrid::Click, this, [this] { MSFlexGrid2_Click(); });
}

void frm合同履行计划::fit(FlexGrid& grid, int row, int firstCol, int lastCol)
{
    widenToRow(grid, font(), row, firstCol, lastCol, {90, 40});
}

void frm合同履行计划::enterAdding()
{
    Command3->setText(kCancelAdd);
    Command4->setEnabled(false);
    Text1->setFocus();
}

void frm合同履行计划::Form_Activate()
{
    const auto nodes = nodesOf(Text4[0]->text());
    if (!editing()) {
        Picture1->show();
        Picture1->raise();
        MSFlexGrid2->setRows(1);
        MSFlexGrid2->setColWidth(kCheckId, 0);
        if (nodes) {
            int n = 0;
            for (const Node& node : *nodes) {
                ++n;
                MSFlexGrid2->appendRow({QString::number(n), node.阶段, node.要求, dateText(node.时间节点), node.完成情况,
                                        node.检查人, dateText(node.检查日期), QString::number(node.id)});
                MSFlexGrid2->setRow(n);
                fit(*MSFlexGrid2, n, 0, 6);
            }
        }
        for (int c = 1; c <= 6; ++c) MSFlexGrid2->setColAlignment(c, flexAlignLeftCenter);
        DTPicker1->setDate(Today());
    } else {
        MSFlexGrid1->setRows(1);
        MSFlexGrid1->setColWidth(kNodeId, 0);
        if (nodes) {
            int n = 0;
            for (const Node& node : *nodes) {
                ++n;
                MSFlexGrid1->appendRow(
                    {QString::number(n), node.阶段, node.要求, dateText(node.时间节点), QString::number(node.id)});
                MSFlexGrid1->setRow(n);
                fit(*MSFlexGrid1, n, 0, 3);
            }
            if (nodes->empty()) enterAdding();
        }
        for (int c = 1; c <= 3; ++c) MSFlexGrid1->setColAlignment(c, flexAlignLeftCenter);
        Picture1->hide();
    }
    if (!nodes) reportDbError(nodes.error());
}

// ---------------------------------------------------------------- editing face

void frm合同履行计划::Command1_Click()
{
    const QString stage = Text1->text().trimmed();
    if (stage.isEmpty()) {
        MsgBox(QStringLiteral("请输入阶段！"), vbInformation, ExeName());
        Text1->setFocus();
        return;
    }
    const auto date = readDate(Text3->text());
    if (!date) {
        MsgBox(QStringLiteral("请输入时间节点"));
        Text3->setFocus();
        Text3->selectAll();
        return;
    }
    const QString requirement = Text2->text().trimmed();
    if (adding()) {
        const NodeWrite w = addNode(Text4[0]->text(), stage, requirement, *date);
        if (w.kind != NodeWrite::Done) {
            reportDbError(w.error);
            return;
        }
        const int n = MSFlexGrid1->Rows();
        MSFlexGrid1->appendRow({QString::number(n), w.stored.阶段, w.stored.要求, dateText(w.stored.时间节点),
                                QString::number(w.stored.id)});
        MSFlexGrid1->setRow(n);
        fit(*MSFlexGrid1, n, 0, 3);
        Text1->clear();
        Text2->setText(QString());
        Text3->clear();
        return;
    }
    if (MSFlexGrid1->Rows() < 2) return;
    const int row = MSFlexGrid1->Row();
    bool numeric = false;
    const qint64 id = MSFlexGrid1->TextMatrix(row, kNodeId).toLongLong(&numeric);
    if (!numeric) return;
    // The row as this window shows it is what the database must still hold.
    Node shown;
    shown.id = id;
    shown.阶段 = MSFlexGrid1->TextMatrix(row, 1);
    shown.要求 = MSFlexGrid1->TextMatrix(row, 2);
    shown.时间节点 = readDate(MSFlexGrid1->TextMatrix(row, 3));
    const NodeWrite w = changeNode(shown, stage, requirement, *date);
    if (w.kind == NodeWrite::Gone) return reportNodeGone();
    if (w.kind == NodeWrite::Changed) return reportNodeChanged(row);
    if (w.kind != NodeWrite::Done) return reportDbError(w.error);
    MSFlexGrid1->setTextMatrix(row, 1, w.stored.阶段);
    MSFlexGrid1->setTextMatrix(row, 2, w.stored.要求);
    MSFlexGrid1->setTextMatrix(row, 3, dateText(w.stored.时间节点));
    fit(*MSFlexGrid1, row, 1, 3);
}

void frm合同履行计划::Command3_Click()
{
    Text1->clear();
    Text2->setText(QString());
    Text3->clear();
    if (Command3->text() == kAdd) {
        enterAdding();
        return;
    }
    Command3->setText(kAdd);
    if (MSFlexGrid1->Rows() > 1) {
        MSFlexGrid1->setRowSel(MSFlexGrid1->Rows() - 1);
        MSFlexGrid1_Click();
    }
    // 删除 comes back only when a node is chosen after 新增.
    Command4->setEnabled(false);
}

void frm合同履行计划::Command4_Click()
{
    if (MSFlexGrid1->Rows() < 2) return;
    const int row = MSFlexGrid1->Row();
    // The question names the node that goes, whatever the boxes show.
    if (MsgBox(QStringLiteral("是否确认删除") + MSFlexGrid1->TextMatrix(row, 1) + QStringLiteral("信息？"), vbYesNo) != vbYes)
        return;
    const DeleteOutcome out = deleteNode(MSFlexGrid1->TextMatrix(row, kNodeId).toLongLong());
    if (out.kind == DeleteOutcome::Failed) return reportDbError(out.error);
    if (MSFlexGrid1->Rows() == 2) {
        MSFlexGrid1->setRows(1);
        Command3->setText(kCancelAdd);
        Command4->setEnabled(false);
        return;
    }
    MSFlexGrid1->RemoveItem(row);
    for (int r = row; r < MSFlexGrid1->Rows(); ++r) MSFlexGrid1->setTextMatrix(r, 0, QString::number(r));
}

void frm合同履行计划::MSFlexGrid1_Click()
{
    if (MSFlexGrid1->Rows() < 2) return;
    const int row = MSFlexGrid1->Row();
    Text1->setText(MSFlexGrid1->TextMatrix(row, 1));
    Text2->setText(MSFlexGrid1->TextMatrix(row, 2));
    Text3->setText(MSFlexGrid1->TextMatrix(row, 3));
    MSFlexGrid1->setCol(0);
    MSFlexGrid1->setRowSel(row);
    MSFlexGrid1->setColSel(MSFlexGrid1->Cols() - 1);
    if (adding()) {
        Command3->setText(kAdd);
        Command4->setEnabled(true);
    }
}

void frm合同履行计划::Command2_Click() { Unload(); }

// ---------------------------------------------------------------- check face

void frm合同履行计划::MSFlexGrid2_Click()
{
    if (MSFlexGrid2->Rows() < 2) return;
    const int row = MSFlexGrid2->Row();
    Text5->setText(MSFlexGrid2->TextMatrix(row, 4));
    Text6->setText(MSFlexGrid2->TextMatrix(row, 5));
    if (const auto d = readDate(MSFlexGrid2->TextMatrix(row, 6))) DTPicker1->setDate(*d);
    MSFlexGrid2->setCol(0);
    MSFlexGrid2->setRowSel(row);
    MSFlexGrid2->setColSel(MSFlexGrid2->Cols() - 1);
    Command5->setEnabled(true);
}

void frm合同履行计划::Command5_Click()
{
    if (Text5->text().isEmpty()) {
        MsgBox(QStringLiteral("请输入检查检查情况"));
        return;
    }
    if (Text6->text().isEmpty()) {
        MsgBox(QStringLiteral("请输入检查人"));
        return;
    }
    if (MSFlexGrid2->Rows() < 2) return;
    const int row = MSFlexGrid2->Row();
    Node shown;
    shown.id = MSFlexGrid2->TextMatrix(row, kCheckId).toLongLong();
    shown.完成情况 = MSFlexGrid2->TextMatrix(row, 4);
    shown.检查人 = MSFlexGrid2->TextMatrix(row, 5);
    shown.检查日期 = readDate(MSFlexGrid2->TextMatrix(row, 6));
    const NodeWrite w = recordCheck(shown, Text5->text(), Text6->text(), DTPicker1->date());
    if (w.kind == NodeWrite::Gone) return reportNodeGone();
    if (w.kind == NodeWrite::Changed) return reportNodeChanged(row);
    if (w.kind != NodeWrite::Done) return reportDbError(w.error);
    MSFlexGrid2->setTextMatrix(row, 4, w.stored.完成情况);
    MSFlexGrid2->setTextMatrix(row, 5, w.stored.检查人);
    MSFlexGrid2->setTextMatrix(row, 6, dateText(w.stored.检查日期));
    fit(*MSFlexGrid2, row, 4, 6);
}

void frm合同履行计划::Command6_Click() { Unload(); }

}  // namespace corvane
