#include "plans/frm合同收付款计划设置.h"

#include "app/GridRowFit.h"
#include "platform/Services.h"
#include "plans/PlanRules.h"

namespace corvane {

using namespace plans;

namespace {

const QString kReceiptFormat =
    QStringLiteral("^序|<合同编号    |<收款日期   |>收款金额    |>余额        |<收款条件                      |");
const QString kPaymentFormat =
    QStringLiteral("^序|<合同编号    |<付款日期   |>付款金额    |>余额        |<付款条件                      |");
const QString kAddOn = QStringLiteral("取消新增");
const QString kAddOff = QStringLiteral("新增计划");
constexpr int kIdCol = 6;

QString cell(const std::optional<QDate>& d) { return d ? d->toString(QStringLiteral("yyyy-MM-dd")) : QString(); }

}  // namespace

frm合同收付款计划设置::frm合同收付款计划设置()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    for (int i = 0; i < 4; ++i)
        connect(Option4[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option4_Click(i); });
    for (int i : {0, 1, 2, 3, 5, 6, 7})
        connect(Option1[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option1_Click(i); });
}

void frm合同收付款计划设置::takeHandover(const contract::InstalmentPlanHandover& h)
{
    Label1->setText(h.Label1);
    Label13[1]->setText(h.Label13_1);
    if (h.DTPicker2.isValid()) DTPicker2->setDate(h.DTPicker2);
    if (h.DTPicker3.isValid()) DTPicker3->setDate(h.DTPicker3);
    setCaption(h.caption);
}

QString frm合同收付款计划设置::contractNumber() const { return Label1->text().section(QLatin1Char(' '), 0, 0); }

bool frm合同收付款计划设置::addModeOn() const { return Command2->text() == kAddOn; }

void frm合同收付款计划设置::Form_Load()
{
    DTPicker1->setDate(Today());
    DTPicker4->setDate(Today());
}

void frm合同收付款计划设置::Form_Activate()
{
    // The window loads once, when it is shown; a later activation must not
    // toggle the add mode again or drop rows not saved yet.
    if (m_activated) return;
    m_activated = true;
    const bool receipt = Caption() == kReceiptCaption;
    m_kind = receipt ? PlanKind::Receipt : PlanKind::Payment;
    const QString side = receipt ? QStringLiteral("收款") : QStringLiteral("付款");
    Frame1->setTitle(side + QStringLiteral("信息"));
    Label2->setText(side + QStringLiteral("日期"));
    Label3->setText(side + QStringLiteral("金额"));
    Label4->setText(QStringLiteral("余额"));
    Label5->setText(side + QStringLiteral("条件"));
    MSFlexGrid1->setFormatString(receipt ? kReceiptFormat : kPaymentFormat);

    加载收付款计划();
    加载控制节点();

    MSFlexGrid1->setColWidth(kIdCol, 0);
    DTPicker1->setDate(Today());
    Combo1->setCurrentIndex(0);
}

// ---------------------------------------------------------------- the plan

void frm合同收付款计划设置::fitRow(int row) { widenToRow(*MSFlexGrid1, font(), row, 0, 5); }

void frm合同收付款计划设置::fillGrid(const std::vector<StoredInstalment>& rows)
{
    MSFlexGrid1->setRows(1);
    m_loaded.clear();
    int n = 0;
    for (const StoredInstalment& s : rows) {
        ++n;
        m_loaded[s.id] = s;
        MSFlexGrid1->appendRow({QString::number(n), s.number, cell(s.date), storedAmountText(s.amount),
                                storedAmountText(s.balance), s.condition, QString::number(s.id)});
        fitRow(n);
    }
}

bool frm合同收付款计划设置::加载收付款计划()
{
    const auto rows = instalmentsOf(m_kind, contractNumber());
    if (!rows) {
        reportDbError(rows.error());
        return false;
    }
    fillGrid(*rows);
    if (rows->empty()) {
        Command2_Click();
        return true;
    }
    const StoredInstalment& last = rows->back();
    MSFlexGrid1->setRow(planRows());
    if (last.date) DTPicker1->setDate(*last.date);
    Text1->setText(last.amount ? Decimal::fromCents(*last.amount).hashFixed2() : QString());
    Text2->setText(storedAmountText(last.balance));
    Text3->setText(last.condition);
    return true;
}

void frm合同收付款计划设置::加载控制节点()
{
    List1->clear();
    m_nodeDates.clear();
    const auto nodes = nodesOf(contractNumber());
    if (!nodes) {
        reportDbError(nodes.error());
        return;
    }
    if (nodes->empty()) {
        List1->setEnabled(false);
        Option1[3]->setEnabled(false);
        return;
    }
    m_nodeDates.reserve(nodes->size());
    for (const Node& n : *nodes) {
        List1->addItem(n.阶段);
        m_nodeDates.push_back(n.时间节点.value_or(QDate()));
    }
    Option1[3]->setEnabled(true);
}

void frm合同收付款计划设置::清空计划编辑()
{
    DTPicker1->setDate(Today());
    Text1->clear();
    Text2->clear();
    Text3->setText(QString());
}

void frm合同收付款计划设置::showRowInFrame(int row)
{
    if (const auto d = readDate(MSFlexGrid1->TextMatrix(row, 2))) DTPicker1->setDate(*d);
    // The amount first: its change copies into the balance, which then shows
    // the row's own balance.
    Text1->setText(MSFlexGrid1->TextMatrix(row, 3));
    Text2->setText(MSFlexGrid1->TextMatrix(row, 4));
    Text3->setText(MSFlexGrid1->TextMatrix(row, 5));
}

void frm合同收付款计划设置::MSFlexGrid1_Click()
{
    if (planRows() < 1) return;
    const int row = MSFlexGrid1->Row();
    showRowInFrame(row);
    MSFlexGrid1->setCol(0);
    MSFlexGrid1->setRowSel(row);
    MSFlexGrid1->setColSel(MSFlexGrid1->Cols() - 1);
    DTPicker1->setFocus();
    Command2->setText(kAddOff);
}

void frm合同收付款计划设置::Text1_Change() { Text2->setText(Text1->text()); }

void frm合同收付款计划设置::Command2_Click()
{
    清空计划编辑();
    if (Command2->text() == kAddOff) {
        DTPicker1->setFocus();
        Command2->setText(kAddOn);
        return;
    }
    if (planRows() > 0) {
        showRowInFrame(MSFlexGrid1->Row());
        DTPicker1->setFocus();
    }
    Command2->setText(kAddOff);
}

void frm合同收付款计划设置::Command1_Click()
{
    if (Text1->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("请输入") + Label3->text() + QStringLiteral("！"), vbInformation, ExeName());
        Text1->setFocus();
        return;
    }
    if (const auto bad = unreadableTypedAmount(Text1->text(), Text2->text(), {Label2->text(), Label3->text(), Label4->text()})) {
        MsgBox(*bad + QStringLiteral("不正确！"), vbInformation, ExeName());
        (*bad == Label3->text() ? Text1 : Text2)->setFocus();
        return;
    }
    // With no row to change, a confirm appends one as in the add mode.
    int row = MSFlexGrid1->Row();
    if (addModeOn() || planRows() < 1) {
        row = MSFlexGrid1->Rows();
        MSFlexGrid1->appendRow({QString::number(row), contractNumber(), {}, {}, {}, {}, {}});
        MSFlexGrid1->setRow(row);
    }
    MSFlexGrid1->setTextMatrix(row, 2, DTPicker1->date().toString(QStringLiteral("yyyy-MM-dd")));
    MSFlexGrid1->setTextMatrix(row, 3, Text1->text());
    MSFlexGrid1->setTextMatrix(row, 4, Text2->text());
    MSFlexGrid1->setTextMatrix(row, 5, Text3->text());
    fitRow(row);
}

void frm合同收付款计划设置::Command3_Click()
{
    if (planRows() < 1) return;
    const int row = MSFlexGrid1->Row();
    if (MsgBox(QStringLiteral("确定要删除") + MSFlexGrid1->TextMatrix(row, 2) + QStringLiteral("的收/付款计划吗？"),
               vbYesNo | vbExclamation, ExeName()) != vbYes)
        return;
    const QString id = MSFlexGrid1->TextMatrix(row, kIdCol);
    if (!id.isEmpty()) {
        const DeleteOutcome out = deleteInstalment(m_kind, id.toLongLong());
        if (out.kind == DeleteOutcome::HasRecords) {
            MsgBox(QStringLiteral("该计划已有收/付款记录，不能删除！"), vbExclamation, ExeName());
            return;
        }
        if (out.kind == DeleteOutcome::Failed) {
            reportDbError(out.error);
            return;
        }
    }
    if (planRows() == 1) {
        MSFlexGrid1->setRows(1);
        Command2_Click();
        return;
    }
    MSFlexGrid1->RemoveItem(row);
    const int current = std::min(row, planRows());
    for (int r = current; r <= planRows(); ++r) MSFlexGrid1->setTextMatrix(r, 0, QString::number(r));
    MSFlexGrid1->setRow(current);
    MSFlexGrid1_Click();
}

void frm合同收付款计划设置::Command9_Click()
{
    if (planRows() < 1) return;
    if (MsgBox(QStringLiteral("确定要删除吗？"), vbYesNo | vbExclamation, ExeName()) != vbYes) return;
    const ClearOutcome out = clearPlan(m_kind, contractNumber());
    if (!out.ok) {
        reportDbError(out.error);
        return;
    }
    // The instalments money refers to stay, and the grid shows them.
    const auto rows = instalmentsOf(m_kind, contractNumber());
    if (rows) fillGrid(*rows);
    else MSFlexGrid1->setRows(1);
    清空计划编辑();
    Command2->setText(kAddOff);
    if (!rows) reportDbError(rows.error());
    if (out.kept > 0) MsgBox(QStringLiteral("有%1条计划已有收/付款记录，未删除。").arg(out.kept));
}

void frm合同收付款计划设置::Command8_Click()
{
    if (planRows() < 1) return;
    std::vector<PlanGridRow> cells;
    cells.reserve(size_t(planRows()));
    for (int r = 1; r <= planRows(); ++r)
        cells.push_back({MSFlexGrid1->TextMatrix(r, 2), MSFlexGrid1->TextMatrix(r, 3), MSFlexGrid1->TextMatrix(r, 4),
                         MSFlexGrid1->TextMatrix(r, 5), MSFlexGrid1->TextMatrix(r, kIdCol)});
    const CheckedPlan checked = checkPlan(cells, {Label2->text(), Label3->text(), Label4->text()});
    if (!checked.refusal.isEmpty()) {
        MsgBox(checked.refusal, vbExclamation, ExeName());
        return;
    }
    std::vector<InstalmentToSave> rows = checked.rows;
    for (InstalmentToSave& r : rows)
        if (r.id)
            if (const auto it = m_loaded.find(*r.id); it != m_loaded.end()) r.loaded = it->second;
    const PlanSaveOutcome out = savePlan(m_kind, contractNumber(), rows);
    if (out.kind == PlanSaveOutcome::RowGone) {
        MsgBox(QStringLiteral("第%1行的计划已被删除，请重新打开本窗口！").arg(out.goneRow + 1), vbExclamation, ExeName());
        return;
    }
    if (out.kind == PlanSaveOutcome::RowChanged) {
        MsgBox(QStringLiteral("第%1行的计划已被他人修改，请重新打开本窗口！").arg(out.goneRow + 1), vbExclamation, ExeName());
        return;
    }
    if (out.kind == PlanSaveOutcome::Failed) {
        reportDbError(out.error);
        return;
    }
    for (int r = 1; r <= planRows(); ++r) {
        const size_t i = size_t(r - 1);
        MSFlexGrid1->setTextMatrix(r, kIdCol, QString::number(out.ids[i]));
        // What is stored now is what the next save holds the row to.
        m_loaded[out.ids[i]] = {out.ids[i], contractNumber(), rows[i].date, rows[i].amount, rows[i].balance,
                                rows[i].condition};
    }
    MsgBox(QStringLiteral("计划保存完成"));
}

void frm合同收付款计划设置::Command4_Click() { Unload(); }

// ---------------------------------------------------------------- the generator panel

void frm合同收付款计划设置::Command5_Click()
{
    bool longTermOnly = false;
    if (planRows() < 1) {
        const PanelOpening opening = openingOnEmptyGrid(Label13[1]->text());
        if (!opening.total.isEmpty()) Text8->setText(opening.total);
        longTermOnly = opening.forceLongTerm;
        for (int i = 0; i < 3; ++i) Option4[size_t(i)]->setEnabled(opening.modesZeroToTwo);
    } else {
        if (MsgBox(QStringLiteral("本合同是否是长期合同"), vbYesNo) != vbYes) {
            MsgBox(QStringLiteral("你已经设置了至少一条计划，如采用自动生成计划的功能可能会出现数据冲突。\n"
                                  "你可以先清除计划再生成新的计划"));
            Picture1->raise();
            return;
        }
        longTermOnly = true;
        for (int i = 0; i < 3; ++i) Option4[size_t(i)]->setEnabled(false);
    }
    Option4[3]->setEnabled(true);
    if (longTermOnly) {
        Option4[3]->setChecked(true);
        Option4_Click(3);
    }
    Picture1->setVisible(Picture1->isHidden());
    Picture1->raise();
}

void frm合同收付款计划设置::Command7_Click() { Picture1->hide(); }

void frm合同收付款计划设置::Option4_Click(int index)
{
    const ModeSettings s = settingsEnabledFor(Mode(index));
    Label6[0]->setEnabled(s.countBox);
    Text4->setEnabled(s.countBox);
    Text10->setEnabled(s.dueDay);
    Check1->setEnabled(s.remainder);
    frame4->setEnabled(s.ratios);
    Frame2->setEnabled(s.periods);
    Frame5->setEnabled(s.longTerm);
}

void frm合同收付款计划设置::Option1_Click(int index)
{
    const bool nodes = index > 2;
    List1->setEnabled(nodes);
    Text9->setEnabled(nodes);
}

void frm合同收付款计划设置::Command6_Click()
{
    MSFlexGrid1->setRows(1);
    bool made = false;
    if (Option4[0]->isChecked()) {
        made = 每次相同金额();
    } else if (Option4[1]->isChecked()) {
        made = 按比例生成计划();
    } else if (Option4[2]->isChecked()) {
        const QString bad = dateRangeRefusal(DTPicker2->date(), DTPicker3->date());
        if (!bad.isEmpty()) {
            MsgBox(bad);
            return;
        }
        made = Option1[3]->isChecked() ? 按节点生成计划() : 按周期生成计划();
    } else if (Option4[3]->isChecked()) {
        made = 按长期合同();
    }
    if (made) Picture1->hide();
}

bool frm合同收付款计划设置::writeGenerated(const Generated& plan, bool fitColumns)
{
    if (!plan.ok()) {
        if (!plan.informationBox) {
            MsgBox(plan.refusal);
            return false;
        }
        MsgBox(plan.refusal, vbInformation, ExeName());
        QLineEdit* box = plan.focus == RefusalFocus::Text4   ? Text4
                         : plan.focus == RefusalFocus::Text5 ? Text5
                         : plan.focus == RefusalFocus::Text6 ? Text6
                                                             : nullptr;
        if (box) {
            box->setFocus();
            box->selectAll();
        }
        return false;
    }
    MSFlexGrid1->setRows(1);
    const QString number = contractNumber();
    int n = 0;
    for (const GeneratedRow& r : plan.rows) {
        ++n;
        MSFlexGrid1->appendRow({QString::number(n), number, r.date, r.amount, r.amount, QString(), QString()});
        if (fitColumns) fitRow(n);
    }
    return true;
}

bool frm合同收付款计划设置::每次相同金额()
{
    EqualInput in;
    in.total = Text8->text();
    in.count = Text4->text();
    in.decimals = std::max(0, Combo1->currentIndex());
    in.start = DTPicker2->date();
    in.end = DTPicker3->date();
    in.dueDay = Text10->text();
    in.remainderLast = Check1->isChecked();
    in.workFirst = Check2->isChecked();
    return writeGenerated(plans::每次相同金额(in), true);
}

bool frm合同收付款计划设置::按比例生成计划() { return writeGenerated(plans::按比例生成计划(Text8->text(), Text7->text()), true); }

bool frm合同收付款计划设置::按周期生成计划()
{
    const Period p = Option1[1]->isChecked() ? Period::Quarter : Option1[2]->isChecked() ? Period::Year : Period::Month;
    return writeGenerated(plans::按周期生成计划({Text8->text(), DTPicker2->date(), DTPicker3->date(), p}), true);
}

bool frm合同收付款计划设置::按节点生成计划()
{
    std::vector<QDate> marked;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->isSelected() && size_t(i) < m_nodeDates.size()) marked.push_back(m_nodeDates[size_t(i)]);
    return writeGenerated(plans::按节点生成计划(Text8->text(), marked, Text9->text()), true);
}

bool frm合同收付款计划设置::按长期合同()
{
    const Period p = Option1[5]->isChecked() ? Period::Year : Option1[6]->isChecked() ? Period::Quarter : Period::Month;
    return writeGenerated(plans::按长期合同({DTPicker4->date(), Text5->text(), Text6->text(), p}), false);
}

}  // namespace corvane
