#include "approval/frm合同会签提交处理.h"

#include <cmath>

#include "app/Changes.h"
#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "approval/ApprovalRules.h"
#include "approval/ApprovalStore.h"
#include "contracts/frmCorvane.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/TextMeasure.h"

namespace corvane {

using namespace approval;

namespace {
const QString kHead = QStringLiteral("[主管]");
const QString kAdd = QStringLiteral("添加");
const QString kChange = QStringLiteral("修改确定");
}  // namespace

void frm合同会签提交处理::connectEvents()
{
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { TreeView1_NodeClick(node); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    for (int i = 0; i < 2; ++i) connect(Command5[i], &QPushButton::clicked, this, [this, i] { Command5_Click(i); });
    connect(Check2, &QCheckBox::clicked, this, [this] { Check2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

QString frm合同会签提交处理::nodeKey(const QTreeWidgetItem* node)
{
    return node ? node->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* frm合同会签提交处理::nodeByKey(const QString& key) const
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        if (nodeKey(*it) == key) return *it;
    return nullptr;
}

void frm合同会签提交处理::takeHandover(const CountersignHandover& h, const frmCorvane& list)
{
    Tag = h.mode;
    Text1[0]->setText(h.number);
    SetTag(Text1[0], h.id);
    Text1[1]->setText(h.name);
    Text1[2]->setText(h.typeName);
    SetTag(Text1[2], h.typeCode);
    // A long name shows from its beginning, not its end.
    for (QLineEdit* box : Text1) box->setCursorPosition(0);

    TreeView1->clear();
    QHash<QString, QTreeWidgetItem*> copied;
    for (const QTreeWidgetItem* source : list.nodes()) {
        QTreeWidgetItem* parent = source->parent() ? copied.value(frmCorvane::nodeKey(source->parent())) : nullptr;
        auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
        node->setText(0, source->text(0));
        node->setData(0, Qt::UserRole, frmCorvane::nodeKey(source));
        node->setIcon(0, source->icon(0));
        copied.insert(frmCorvane::nodeKey(source), node);
    }
    TreeView1->expandAll();
}

void frm合同会签提交处理::Form_Load() { CenterForm(*this); }

void frm合同会签提交处理::Form_Activate()
{
    if (m_proposed) return;
    m_proposed = true;
    建议路径();
}

void frm合同会签提交处理::建议路径()
{
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->hide();
    const QString typeCode = TagOf(Text1[2]);
    const auto settings = typeSettings(typeCode);
    if (!settings) {
        MSFlexGrid1->show();
        return reportDbError(settings.error());
    }
    // A type that cannot be found is proposed as a parallel countersign without a head.
    Check2->setChecked(!*settings || (*settings)->单级流转);
    Check2_Click();
    const bool headFlag = *settings && (*settings)->部门主管审批;

    if (headFlag) {
        const auto head = headPostOf(Login().当前部门编号);
        if (!head) {
            MSFlexGrid1->show();
            return reportDbError(head.error());
        }
        if (*head) {
            const HeadPost& h = **head;
            MSFlexGrid1->appendRow({Check2->isChecked() ? QStringLiteral("0") : QStringLiteral("1"),
                                    Login().当前部门编号 + QLatin1Char(' ') + Login().当前部门名称,
                                    h.岗位代号 + QLatin1Char(' ') + h.岗位名称, h.姓名 + kHead, QStringLiteral("有")});
        }
    }
    const auto steps = proposedSteps(typeCode);
    if (!steps) {
        MSFlexGrid1->show();
        return reportDbError(steps.error());
    }
    for (const ProposedStep& s : *steps) {
        const int row = MSFlexGrid1->Rows();
        MSFlexGrid1->appendRow({Check2->isChecked() ? QStringLiteral("0") : QString::number(row),
                                s.部门编号 + QLatin1Char(' ') + s.职能部门名称, s.岗位编号 + QLatin1Char(' ') + s.岗位名称,
                                s.姓名, s.决策权 ? QStringLiteral("有") : QString()});
    }
    if (!hasSteps()) {
        MsgBox(QStringLiteral("没有设置") + Text1[2]->text() +
               QStringLiteral("的会签环节路径，您可以手动添加会签环节（至少一个）"));
        Command3->setEnabled(false);
    }
    widenToFit();
    MSFlexGrid1->show();
    MSFlexGrid1->setRow(MSFlexGrid1->Rows() - 1);
}

// Every step is read whole: a column narrower than one of its texts grows
// (the grid scrolls sideways instead of cutting a post or a name).
void frm合同会签提交处理::widenToFit()
{
    for (int c = 1; c < MSFlexGrid1->Cols(); ++c) {
        int need = MSFlexGrid1->ColWidth(c);
        for (int r = 0; r < MSFlexGrid1->Rows(); ++r)
            need = std::max(need, int(std::ceil(TextWidthTwips(MSFlexGrid1->font(), MSFlexGrid1->TextMatrix(r, c)))) + 120);
        MSFlexGrid1->setColWidth(c, need);
    }
}

void frm合同会签提交处理::岗位列表(const QString& departmentCode)
{
    const auto posts = postsOf(departmentCode, false);
    Combo1->clear();
    if (!posts) return reportDbError(posts.error());
    for (const PostEntry& p : *posts)
        Combo1->addItem(p.岗位代号 + QLatin1Char(' ') + p.岗位名称 + QStringLiteral(" [") + p.姓名 + QLatin1Char(']'));
    Combo1->setCurrentIndex(-1);
}

void frm合同会签提交处理::TreeView1_NodeClick(QTreeWidgetItem* node)
{
    if (!node) return;
    Command1->setText(kAdd);
    岗位列表(nodeKey(node).mid(1));
}

void frm合同会签提交处理::selectWholeRow(int row)
{
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(0);
    MSFlexGrid1->setRowSel(row);
    MSFlexGrid1->setColSel(MSFlexGrid1->Cols() - 1);
}

void frm合同会签提交处理::setArrows(bool on)
{
    Command5[0]->setEnabled(on);
    Command5[1]->setEnabled(on);
}

void frm合同会签提交处理::MSFlexGrid1_Click()
{
    if (!hasSteps()) return;
    const int row = MSFlexGrid1->Row();
    if (row < 1) return;
    const QString department = codeOf(MSFlexGrid1->TextMatrix(row, 1));
    const QString post = codeOf(MSFlexGrid1->TextMatrix(row, 2));
    Check1->setChecked(!MSFlexGrid1->TextMatrix(row, 4).isEmpty());
    selectWholeRow(row);
    岗位列表(department);
    for (int i = 0; i < Combo1->count(); ++i) {
        if (codeOf(Combo1->itemText(i)) != post) continue;
        Combo1->setCurrentIndex(i);
        break;
    }
    if (QTreeWidgetItem* node = nodeByKey(QStringLiteral("$") + department)) TreeView1->setCurrentItem(node);
    setArrows(!Check2->isChecked());
    Command1->setText(kChange);
}

void frm合同会签提交处理::Command1_Click()
{
    if (Combo1->currentIndex() < 0) {
        MsgBox(QStringLiteral("请选择岗位"));
        return;
    }
    const QString entry = Combo1->currentText();
    if (Command1->text() != kAdd) {
        const int row = MSFlexGrid1->Row();
        if (row < 1) return;
        if (MSFlexGrid1->TextMatrix(row, 3).endsWith(kHead)) {
            MsgBox(QStringLiteral("主管流程不能修改，如需更改，请在合同类型设置中取消部门主管审核设置！"));
            return;
        }
        const qsizetype open = entry.indexOf(QLatin1Char('['));
        MSFlexGrid1->setTextMatrix(row, 2, entry);
        MSFlexGrid1->setTextMatrix(row, 3, open < 0 ? QString() : entry.mid(open + 1).chopped(1));
        MSFlexGrid1->setTextMatrix(row, 4, Check1->isChecked() ? QStringLiteral("有") : QString());
        widenToFit();
        return;
    }
    const QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node) {
        MsgBox(QStringLiteral("请选择部门"));
        return;
    }
    const int row = MSFlexGrid1->Rows();
    MSFlexGrid1->appendRow({Check2->isChecked() ? QStringLiteral("0") : QString::number(row), node->text(0), entry,
                            QString(), Check1->isChecked() ? QStringLiteral("有") : QString()});
    MSFlexGrid1->setRow(row);
    widenToFit();
    Command3->setEnabled(true);
}

void frm合同会签提交处理::Command2_Click()
{
    if (!hasSteps()) return;
    const int row = MSFlexGrid1->Row();
    if (row < 1) return;
    if (MSFlexGrid1->TextMatrix(row, 3).endsWith(kHead)) {
        MsgBox(QStringLiteral("主管流程不能删除，如需删除，请在合同类型设置中取消部门主管审核设置！"));
        return;
    }
    if (MsgBox(QStringLiteral("确认要删除") + MSFlexGrid1->TextMatrix(row, 1) + QStringLiteral("会签环节?"), vbYesNo) != vbYes)
        return;
    if (MSFlexGrid1->Rows() == 2) {
        MSFlexGrid1->setRows(1);
        Command3->setEnabled(false);
        MsgBox(QStringLiteral("如果要提交会签，必须设置一个以上会签环节"));
        return;
    }
    std::vector<std::vector<QString>> kept;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        if (r == row) continue;
        std::vector<QString> cells;
        for (int c = 0; c < MSFlexGrid1->Cols(); ++c) cells.push_back(MSFlexGrid1->TextMatrix(r, c));
        if (!Check2->isChecked()) cells[0] = QString::number(kept.size() + 1);
        kept.push_back(std::move(cells));
    }
    MSFlexGrid1->setRowsData(std::move(kept));
    MSFlexGrid1->setRow(std::min(row, MSFlexGrid1->Rows() - 1));
}

void frm合同会签提交处理::Command5_Click(int index)
{
    if (!Command5[index]->isEnabled() || !hasSteps()) return;
    const int row = MSFlexGrid1->Row();
    const int other = index == 1 ? row + 1 : row - 1;
    if (row < 1 || other < 1 || other >= MSFlexGrid1->Rows()) return;
    // The contents move; the numbers in 序 stay where they are.
    for (int c = 1; c <= 4; ++c) {
        const QString here = MSFlexGrid1->TextMatrix(row, c);
        MSFlexGrid1->setTextMatrix(row, c, MSFlexGrid1->TextMatrix(other, c));
        MSFlexGrid1->setTextMatrix(other, c, here);
    }
    selectWholeRow(other);
}

void frm合同会签提交处理::Check2_Click()
{
    const bool parallel = Check2->isChecked();
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        MSFlexGrid1->setTextMatrix(r, 0, parallel ? QStringLiteral("0") : QString::number(r));
    setArrows(!parallel);
}

void frm合同会签提交处理::Command3_Click()
{
    if (!hasSteps()) return;
    CountersignSubmission s;
    const QString id = TagOf(Text1[0]);
    if (!id.isEmpty()) s.contract.id = id.toLongLong();
    s.contract.number = Text1[0]->text();
    s.parallel = Check2->isChecked();
    s.now = Now();
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        s.steps.push_back({codeOf(MSFlexGrid1->TextMatrix(r, 1)), codeOf(MSFlexGrid1->TextMatrix(r, 2)),
                           MSFlexGrid1->TextMatrix(r, 4).isEmpty() ? 0 : 1, MSFlexGrid1->TextMatrix(r, 0).toInt()});
    const WriteOutcome out = submitCountersign(s);
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);

    // The record window and the list show the contract as it is stored now.
    const auto announce = [&] {
        if (s.contract.id) emit changes().contractProgressed(*s.contract.id);
    };
    if (out.kind == WriteOutcome::NoRow) {
        MsgBox(QStringLiteral("该合同已经提交，不能重复提交！"));
        Unload();
        announce();
        return;
    }
    announce();
    Unload();
}

void frm合同会签提交处理::Command4_Click() { Unload(); }

}  // namespace corvane
