#include "statistics/frm合同汇总统计.h"

#include <QEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <cmath>
#include <limits>

#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "contracts/ContractHandovers.h"
#include "platform/ColumnFit.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "statistics/DepartmentTreeView.h"
#include "statistics/StatisticsStore.h"

namespace corvane {

using namespace statistics;

namespace {

const QColor kTotalColour(224, 224, 224);  // 14737632
const QString kRunning = QStringLiteral("请稍候，正在进行统计...");
const QString kDone = QStringLiteral("统计结束，请核对数据！");
const QString kReceiptRoot = QStringLiteral("T 收款合同");
const QString kPaymentRoot = QStringLiteral("T 付款合同");

QString keyOf(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }

QStringList selectedEntries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) out << list->item(i)->text();
    return out;
}

void fillList(QListWidget* list, const QStringList& values)
{
    list->clear();
    list->addItems(values);
}

}  // namespace

frm合同汇总统计::frm合同汇总统计()
{
    buildLayout();

    connect(Command10, &QPushButton::clicked, this, [this] { 统计(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { 明细(); });
    connect(MSFlexGrid2, &FlexGrid::Click, this, [this] { MSFlexGrid2_Click(); });
    connect(MSFlexGrid2, &FlexGrid::DblClick, this, [this] { MSFlexGrid2_DblClick(); });
    connect(Command7, &QPushButton::clicked, this, [this] { 查看(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::clicked, this, [this] { Check2_Click(); });
    for (QTreeWidget* t : {TreeView1, TreeView2})
        connect(t, &QTreeWidget::itemChanged, this, [this, t](QTreeWidgetItem* node, int column) {
            if (column == 0 && !m_settingTicks) TreeView_NodeCheck(t, node);
        });
    connect(Check3, &QCheckBox::clicked, this, [this] { Check3_Click(); });
    connect(Command14, &QToolButton::clicked, this, [this] { Command14_Click(); });
    connect(Check5, &QCheckBox::clicked, this, [this] { Check5_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Check7, &QCheckBox::clicked, this, [this] { Check7_Click(); });
    connect(Command12, &QToolButton::clicked, this, [this] { Command12_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Check6, &QCheckBox::toggled, this, [this] { Check6_Click(); });
    connect(Check9, &QCheckBox::toggled, this, [this] { Check9_Click(); });
    Picture2->installEventFilter(this);
}

// ---- loading

void frm合同汇总统计::Form_Load()
{
    CenterForm(*this);
    Picture7->hide();
    Frame2->hide();

    // The department tree first: the type tree depends on the scope it finds.
    if (!加载部门树()) return;

    const auto states = contractStates();
    if (!states) return ShowDescriptionError(states.error().description);
    fillList(List1, *states);

    const QDate today = Today();
    const QDate first(today.year(), today.month(), 1);
    DTPicker1->setDate(first);
    DTPicker3->setDate(first);
    DTPicker2->setDate(today);
    DTPicker4->setDate(today);
    // A range applies only while its box is ticked: its pickers wait till then.
    Check6_Click();
    Check9_Click();
    Check3->setChecked(false);
    Text3->setEnabled(false);
    Command14->setEnabled(false);
    Check7->setChecked(false);
    Text1->setEnabled(false);
    Command12->setEnabled(false);
    Check4->setChecked(true);

    合同类型列表();

    for (FlexGrid* g : {MSFlexGrid1, MSFlexGrid2}) {
        g->setRows(1);
        g->setFixedAlignment(0, flexAlignCenterCenter);
        g->setMergeCells(flexMergeRestrictColumns);
        g->setMergeCol(1, true);
        g->setMergeCol(2, true);
    }

    const auto parties = counterparties(QString());
    if (!parties) return ShowDescriptionError(parties.error().description);
    fillList(List2, *parties);

    StatusBar1_Panels[1]->setText(QLatin1Char(' ') + Login().当前部门名称 + QLatin1Char(' ') + Login().当前姓名);
    StatusBar1_Panels[2]->setText(Today().toString(QStringLiteral("yyyy-MM-dd")));
}

bool frm合同汇总统计::加载部门树()
{
    const bool loaded =
        loadDepartmentScope(TreeView1, m_departmentNodes, {SiblingOrder::LengthThenCode, false, false}, &全公司权限);
    TreeView1->expandAll();
    return loaded;
}

void frm合同汇总统计::Form_Activate() { setWindowState(windowState() | Qt::WindowMaximized); }

void frm合同汇总统计::合同类型列表()
{
    const auto types = typesForTree(全公司权限, Login().当前部门编号);
    if (!types) return ShowDescriptionError(types.error().description);
    m_settingTicks = true;
    TreeView2->clear();
    m_typeNodes.clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    auto add = [&](QTreeWidgetItem* parent, const QString& key, const QString& text) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView2);
        item->setText(0, text);
        item->setData(0, Qt::UserRole, key);
        item->setIcon(0, icon);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        m_typeNodes.insert(key, item);
        return item;
    };
    QTreeWidgetItem* receipt = add(nullptr, kReceiptRoot, kReceiptCategory);
    QTreeWidgetItem* payment = add(nullptr, kPaymentRoot, kPaymentCategory);
    for (const contract::ContractType& t : *types) {
        const QString key = QStringLiteral("T") + t.code.trimmed();
        // A second type with the same trimmed code: the first one stands.
        if (m_typeNodes.contains(key)) continue;
        add(t.category == kReceiptCategory ? receipt : payment, key, t.code + QLatin1Char(' ') + t.name);
    }
    TreeView2->expandAll();
    m_settingTicks = false;
}

// ---- ticking

void frm合同汇总统计::setTicks(QTreeWidget* tree, bool ticked)
{
    m_settingTicks = true;
    for (QTreeWidgetItem* item : allItems(tree)) item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    m_settingTicks = false;
}

void frm合同汇总统计::Check1_Click() { setTicks(TreeView1, Check1->isChecked()); }
void frm合同汇总统计::Check2_Click() { setTicks(TreeView2, Check2->isChecked()); }

void frm合同汇总统计::TreeView_NodeCheck(QTreeWidget* tree, QTreeWidgetItem* node)
{
    Q_UNUSED(tree);
    if (Check4->isChecked() && node->childCount() > 0) 子节点联动(node);
}

void frm合同汇总统计::子节点联动(QTreeWidgetItem* node)
{
    const Qt::CheckState state = node->checkState(0);
    m_settingTicks = true;
    std::vector<QTreeWidgetItem*> stack{node};
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        for (int i = 0; i < item->childCount(); ++i) {
            item->child(i)->setCheckState(0, state);
            stack.push_back(item->child(i));
        }
    }
    m_settingTicks = false;
}

// ---- states and counterparties

void frm合同汇总统计::placeFrame(QGroupBox* frame, QLineEdit* box)
{
    frame->move(Check7->x(), box->y() - frame->height() - px(15));
    frame->raise();
}

void frm合同汇总统计::Check3_Click()
{
    Frame2->hide();
    const bool on = Check3->isChecked();
    Text3->setEnabled(on);
    Command14->setEnabled(on);
    if (on) {
        placeFrame(Frame4, Text3);
        Frame4->show();
    } else {
        Frame4->hide();
    }
}

void frm合同汇总统计::Command14_Click()
{
    placeFrame(Frame4, Text3);
    Frame4->setVisible(!Frame4->isVisible());
}

void frm合同汇总统计::Check5_Click()
{
    if (Check5->isChecked())
        List1->selectAll();
    else
        List1->clearSelection();
}

void frm合同汇总统计::Command11_Click()
{
    const ChosenList chosen = chosenList(selectedEntries(List1));
    状态列表 = chosen.values;
    if (!chosen.values.isEmpty())
        Frame4->hide();
    else
        MsgBox(QStringLiteral("请选择合同状态"), vbOKOnly);
    Text3->setText(chosen.boxText);
}

void frm合同汇总统计::Command13_Click() { Frame4->hide(); }

void frm合同汇总统计::Check7_Click()
{
    Frame4->hide();
    const bool on = Check7->isChecked();
    Text1->setEnabled(on);
    Command12->setEnabled(on);
    if (on) {
        placeFrame(Frame2, Text1);
        Frame2->show();
    } else {
        Frame2->hide();
    }
}

void frm合同汇总统计::Command12_Click()
{
    placeFrame(Frame2, Text1);
    Frame2->setVisible(!Frame2->isVisible());
}

void frm合同汇总统计::Text2_Change()
{
    const auto found = counterparties(Text2->text());
    if (!found) return ShowDescriptionError(found.error().description);
    fillList(List2, *found);
}

void frm合同汇总统计::Command6_Click()
{
    const ChosenList chosen = chosenList(selectedEntries(List2));
    对方单位列表 = chosen.values;
    if (!chosen.values.isEmpty())
        Frame2->hide();
    else
        MsgBox(QStringLiteral("请选择合同对方单位"), vbOKOnly);
    Text1->setText(chosen.boxText);
}

void frm合同汇总统计::Check6_Click()
{
    DTPicker1->setEnabled(Check6->isChecked());
    DTPicker2->setEnabled(Check6->isChecked());
}

void frm合同汇总统计::Check9_Click()
{
    DTPicker3->setEnabled(Check9->isChecked());
    DTPicker4->setEnabled(Check9->isChecked());
}

// ---- the run

void frm合同汇总统计::统计()
{
    Frame2->hide();
    Command5->hide();
    Command7->hide();

    SummaryCriteria c;
    c.departments = tickedDepartments(TreeView1);
    if (c.departments.isEmpty()) {
        MsgBox(QStringLiteral("请选择合同部门"), vbOKOnly);
        return;
    }
    for (QTreeWidgetItem* item : allItems(TreeView2)) {
        const QString key = keyOf(item);
        if (item->checkState(0) == Qt::Checked && key != kReceiptRoot && key != kPaymentRoot) c.types << key.mid(1);
    }
    if (c.types.isEmpty()) {
        MsgBox(QStringLiteral("请选择合同类别"), vbOKOnly);
        return;
    }
    if (!Check3->isChecked() || 状态列表.isEmpty()) {
        MsgBox(QStringLiteral("请选择合同状态"), vbOKOnly);
        return;
    }
    c.states = 状态列表;
    if (Check6->isChecked()) {
        if (DTPicker1->date() > DTPicker2->date()) {
            MsgBox(QStringLiteral("合同起始日期的日期范围开始日期不能大于结束日期!"), vbInformation, ExeName());
            return;
        }
        c.start = DateRange{DTPicker1->date(), DTPicker2->date()};
    }
    if (Check9->isChecked()) {
        if (DTPicker3->date() > DTPicker4->date()) {
            MsgBox(QStringLiteral("合同终止日期的日期范围开始日期不能大于结束日期!"), vbInformation, ExeName());
            return;
        }
        c.end = DateRange{DTPicker3->date(), DTPicker4->date()};
    }
    if (Check7->isChecked()) {
        if (对方单位列表.isEmpty()) {
            MsgBox(QStringLiteral("请选择对方单位！"), vbInformation);
            Text1->setFocus();
            return;
        }
        c.counterparties = 对方单位列表;
    }
    c.grouping = Option2->isChecked()   ? Grouping::Counterparty
                 : Option3->isChecked() ? Grouping::ContractType
                                        : Grouping::Department;

    WaitCursor wait;
    StatusBar1_Panels[0]->setText(kRunning);
    MSFlexGrid1->setRows(1);
    m_lines.clear();
    MSFlexGrid1->setTextMatrix(0, 2, groupingHeader(c.grouping));
    汇总条件 = c;

    std::vector<SummaryLine> lines;
    for (const bool receipt : {true, false}) {
        const QString category = receipt ? kReceiptCategory : kPaymentCategory;
        const auto groups = readSummary(c, category);
        if (!groups) {
            fillSummary(lines);
            ShowStandardError(groups.error().number, groups.error().description);
            return;
        }
        for (SummaryLine& l : summaryBlock(category, receipt, *groups)) lines.push_back(std::move(l));
    }
    fillSummary(lines);
    AdjustColWidth(*this, *MSFlexGrid1, 0);
    StatusBar1_Panels[0]->setText(kDone);
    Picture7->hide();
}

void frm合同汇总统计::fillSummary(const std::vector<SummaryLine>& lines)
{
    {
        FlexGridFill fill(*MSFlexGrid1);
        for (const SummaryLine& l : lines) {
            fill.row();
            for (int c = 0; c < 6; ++c) fill.text(c, l.cells[size_t(c)]);
        }
    }
    m_lines = lines;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (!lines[size_t(i)].total) continue;
        const int r = i + 1;
        MSFlexGrid1->setRow(r);
        for (int c = 2; c < MSFlexGrid1->Cols(); ++c) {
            MSFlexGrid1->setCol(c);
            MSFlexGrid1->setCellBackColor(kTotalColour);
        }
        MSFlexGrid1->setCol(0);
    }
}

void frm合同汇总统计::AdjustColWidth(const QWidget& window, FlexGrid& grid, double margin)
{
    WidestText widest(window.font(), grid.Cols());
    for (int c = 0; c < grid.Cols(); ++c) {
        if (grid.ColWidth(c) == 0) continue;  // hidden columns stay hidden
        grid.forEachText(c, 0, grid.Rows() - 1, [&](QStringView t) { widest.add(c, t); });
        grid.setColWidth(c, int(std::lround(widest.widest(c) + margin + 200)));
    }
}

void frm合同汇总统计::MSFlexGrid1_Click()
{
    Command5->hide();
    Command7->hide();
    FlexGrid& g = *MSFlexGrid1;
    if (g.Rows() > 1 && g.Col() > 1 && g.Col() == g.Cols() - 1) {
        Command5->setGeometry(g.x() + px(g.CellLeft()), g.y() + px(g.CellTop()), px(g.CellWidth()),
                              px(g.CellHeight()));
        Command5->show();
        Command5->raise();
    }
}

// ---- drill-down

void frm合同汇总统计::明细()
{
    Command7->hide();
    if (MSFlexGrid1->Rows() <= 1 || !汇总条件) return;
    const int r = MSFlexGrid1->Row();
    if (r < 1 || r > int(m_lines.size())) return;
    const SummaryLine& line = m_lines[size_t(r - 1)];

    WaitCursor wait;
    StatusBar1_Panels[0]->setText(kRunning);
    MSFlexGrid2->setRows(1);

    const QString category =
        MSFlexGrid1->TextMatrix(r, 1).trimmed() == kPaymentCategory ? kPaymentCategory : kReceiptCategory;
    DetailGroup group;
    group.wholeCategory = line.total;
    group.value = line.value;
    group.isNull = line.valueNull;

    qint64 total = 0;
    std::vector<int> ids;
    DbError error;
    {
        FlexGridFill fill(*MSFlexGrid2);
        int number = 0;
        error = readDetail(*汇总条件, group, category, [&](const DetailValues& v) {
            fill.row();
            fill.text(0, QString::number(++number));
            fill.text(1, v.category);
            fill.text(2, v.departmentCode + QLatin1Char(' ') + v.departmentName);
            fill.text(3, v.number);
            fill.text(4, v.name);
            fill.text(5, v.typeName);
            fill.text(6, v.counterparty);
            fill.text(7, dayText(v.start));
            fill.text(8, dateDefaultText(v.signing));
            fill.text(9, dateDefaultText(v.ending));
            fill.text(10, v.state);
            fill.text(11, v.amountCents ? plainAmountText(v.amountCents) : QStringLiteral("0.00"));
            total += v.amountCents.value_or(0);
            // The grid keeps a 32-bit row value; an id beyond it cannot be opened.
            ids.push_back(v.id > 0 && v.id <= std::numeric_limits<int>::max() ? int(v.id) : 0);
        });
    }
    for (int i = 0; i < int(ids.size()); ++i) MSFlexGrid2->setRowData(i + 1, ids[size_t(i)]);
    if (error.isValid()) {
        ShowStandardError(error.number, error.description);
        return;
    }
    if (!ids.empty() && total != 0) {
        const int t = MSFlexGrid2->Rows();
        MSFlexGrid2->setRows(t + 1);
        MSFlexGrid2->setTextMatrix(t, 10, kTotalText);
        MSFlexGrid2->setTextMatrix(t, 11, amountText(total));
        MSFlexGrid2->setRow(t);
        for (int c = 0; c < MSFlexGrid2->Cols(); ++c) {
            MSFlexGrid2->setCol(c);
            MSFlexGrid2->setCellBackColor(kTotalColour);
        }
        MSFlexGrid2->setCol(0);
    }
    AdjustColWidth(*this, *MSFlexGrid2, 0);

    Picture2->setGeometry(MSFlexGrid1->x(), MSFlexGrid1->y(), MSFlexGrid1->width(),
                          MSFlexGrid1->height() + Frame3->height());
    Picture2->show();
    Picture2->raise();
    StatusBar1_Panels[0]->setText(kDone);
    Command5->hide();
}

void frm合同汇总统计::MSFlexGrid2_Click()
{
    Command7->hide();
    FlexGrid& g = *MSFlexGrid2;
    if (g.Rows() > 1 && g.Col() > 1 && !g.TextMatrix(g.Row(), 0).isEmpty() && g.Col() == g.Cols() - 1) {
        Command7->setGeometry(g.x() + px(g.CellLeft()), g.y() + px(g.CellTop()), px(g.CellWidth()),
                              px(g.CellHeight()));
        Command7->show();
        Command7->raise();
    }
}

void frm合同汇总统计::MSFlexGrid2_DblClick()
{
    FlexGrid& g = *MSFlexGrid2;
    if (g.Rows() > 1 && g.Col() > 1 && !g.TextMatrix(g.Row(), 0).isEmpty()) 查看();
}

void frm合同汇总统计::查看()
{
    const FlexGrid& g = *MSFlexGrid2;
    const int r = g.Row();
    if (r < 1 || g.TextMatrix(r, 0).isEmpty()) return;
    const auto& open = contract::contractHandovers().Frm合同信息;
    if (!open) {
        MsgBox(contract::windowNotAvailableText(QStringLiteral("合同信息")), vbInformation);
        return;
    }
    const QString department = g.TextMatrix(r, 2);
    contract::RecordWindowHandover h;
    h.mode = QStringLiteral("查看");
    h.departmentCode = department.section(QLatin1Char(' '), 0, 0).trimmed();
    h.departmentText = department.trimmed();
    h.number = g.TextMatrix(r, 3).trimmed();
    h.id = QString::number(g.RowData(r));
    open(h);
}

// ---- hand-offs and panels

void frm合同汇总统计::Command3_Click() { handGridToExcel(MSFlexGrid1, QStringLiteral("合同汇总统计")); }

void frm合同汇总统计::Command8_Click()
{
    Command7->hide();
    handGridToExcel(MSFlexGrid2, QStringLiteral("合同汇总统计明细"));
}

void frm合同汇总统计::Command1_Click()
{
    Command5->hide();
    Command7->hide();
    Frame2->hide();
    Picture7->setVisible(!Picture7->isVisible());
    if (Picture7->isVisible()) Picture7->raise();
}

void frm合同汇总统计::Command9_Click() { Picture7->hide(); }
void frm合同汇总统计::Command4_Click() { Picture2->hide(); }
void frm合同汇总统计::Command2_Click() { Unload(); }

// ---- layout

void frm合同汇总统计::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

void frm合同汇总统计::Form_Resize()
{
    const int W = pixelsToTwips(width()), H = pixelsToTwips(height());
    const int bar = pixelsToTwips(StatusBar1->sizeHint().height());
    StatusBar1->setGeometry(0, height() - px(bar), width(), px(bar));
    const int gridHeight = H - pixelsToTwips(Frame3->height()) - bar;
    const int gridWidth = W - 100;
    if (gridHeight <= 0 || gridWidth <= 0) return;  // minimised
    MSFlexGrid1->setGeometry(0, 0, px(gridWidth), px(gridHeight));
    Frame3->setGeometry(0, px(gridHeight + 50), px(gridWidth), Frame3->height());
    const int command2 = gridWidth - 1400 - 200;
    const int command3 = command2 - 1400 - 200;
    const int command1 = command3 - 1400 - 200;
    Command2->move(px(command2), Command2->y());
    Command3->move(px(command3), Command3->y());
    Command1->move(px(command1), Command1->y());
    Picture7->move(std::max(0, (width() - Picture7->width()) / 2), std::max(0, (height() - Picture7->height()) / 2));
    Picture2->setGeometry(0, 0, px(gridWidth), px(gridHeight) + Frame3->height() - px(100));
}

void frm合同汇总统计::Picture2_Resize()
{
    const int PW = pixelsToTwips(Picture2->width()), PH = pixelsToTwips(Picture2->height());
    Label6->setGeometry(px(10), Label6->y(), px(PW - 10), Label6->height());
    const int top = pixelsToTwips(Label6->y() + Label6->height()) + 10;
    const int height = PH - top - 825;
    if (PW <= 10 || height <= 0) return;
    MSFlexGrid2->setGeometry(px(10), px(top), px(PW - 10), px(height));
    const int buttonTop = top + height + 270;
    Command4->move(px(PW - 1245 - 200), px(buttonTop));
    Command8->move(px(PW - 1245 - 200 - 1245 - 200), px(buttonTop));
}

bool frm合同汇总统计::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture2 && event->type() == QEvent::Resize) Picture2_Resize();
    return Form::eventFilter(watched, event);
}

}  // namespace corvane
