#include "contracts/frmCorvane.h"

#include <QMouseEvent>
#include <QSet>
#include <QStyle>
#include <QTimer>
#include <cmath>

#include "app/Changes.h"
#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "app/LoginStatusBar.h"
#include "app/frmToExcel.h"
#include "platform/ColumnFit.h"
#include "contracts/ContractFormats.h"
#include "contracts/ContractGridFormats.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractListQuery.h"
#include "contracts/ContractLookups.h"
#include "contracts/ContractStore.h"
#include "platform/Services.h"
#include "platform/TextMeasure.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace contract;

namespace {

const QString kAscending = QStringLiteral("▼");
const QString kDescending = QStringLiteral("▲");
using Col = frmCorvane::Col;
// The grid shows the list statement's columns in their order.
static_assert(Col::合同编号 == lc合同编号 + 1 && Col::合同状态 == lc合同状态 + 1 && Col::id == lcId + 1 &&
              Col::count == lcCount + 1);
// Only the columns a user reads at a glance (序 to 对方单位) are fitted to their texts.
constexpr int kFittedCols = Col::对方单位 + 1;
// The least a fitted column may take on a narrow grid, in twips.
constexpr int kMinFitCap = 3000;

int vbButtonOf(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? vbLeftButton : 0) | (b & Qt::RightButton ? vbRightButton : 0) |
           (b & Qt::MiddleButton ? vbMiddleButton : 0);
}

int vbShiftOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? vbShiftMask : 0) | (m & Qt::ControlModifier ? vbCtrlMask : 0) |
           (m & Qt::AltModifier ? vbAltMask : 0);
}

QString withoutMarker(const QString& header)
{
    if (header.startsWith(kAscending) || header.startsWith(kDescending)) return header.mid(1);
    return header;
}

void showMissing(const QString& caption) { MsgBox(windowNotAvailableText(caption), vbInformation); }

}  // namespace

void DragPanel::mousePressEvent(QMouseEvent* e)
{
    emit MouseDown(vbButtonOf(e->button()), vbShiftOf(e->modifiers()), float(pixelsToTwips(1) * e->position().x()),
                   float(pixelsToTwips(1) * e->position().y()));
}

void DragPanel::mouseMoveEvent(QMouseEvent* e)
{
    emit MouseMove(vbButtonOf(e->buttons()), vbShiftOf(e->modifiers()), float(pixelsToTwips(1) * e->position().x()),
                   float(pixelsToTwips(1) * e->position().y()));
}

void DragPanel::mouseReleaseEvent(QMouseEvent* e)
{
    emit MouseUp(vbButtonOf(e->button()), vbShiftOf(e->modifiers()), float(pixelsToTwips(1) * e->position().x()),
                 float(pixelsToTwips(1) * e->position().y()));
}

frmCorvane::frmCorvane()
{
    buildLayout();
    connectEvents();
    // The initial panel state follows the option chosen at design.
    Option3_Click(0);
    layoutBar();
}

void frmCorvane::connectEvents()
{
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Command14, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(Command15, &QPushButton::clicked, this, [this] { Command15_Click(); });
    connect(Command16, &QPushButton::clicked, this, [this] { Command16_Click(); });
    connect(Image1[0], &QToolButton::clicked, this, [this] { Image1_Click(0); });
    // Esc closes the panel on show as its 关闭 does.
    addClosablePanel(Picture2, Command11);
    addClosablePanel(Picture3, Command15);
    // The search runs once typing pauses, not on every keystroke.
    m_searchPause = new QTimer(this);
    m_searchPause->setSingleShot(true);
    m_searchPause->setInterval(kSearchPauseMs);
    connect(m_searchPause, &QTimer::timeout, this, [this] { Text3_Change(); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { m_searchPause->start(); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(Option3[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option3_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(Option1[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option1_Click(i); });
    connect(Option4, &QRadioButton::toggled, this, [this](bool on) { if (on) Option4_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { TreeView1_NodeClick(node); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1_DblClick(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    // A row reached with the keyboard must not leave Command7 naming the previous row's window.
    connect(MSFlexGrid1, &FlexGrid::RowColChange, this, [this] { followCurrentCategory(); });
    connect(MSFlexGrid1, &FlexGrid::MouseDown, this, &frmCorvane::MSFlexGrid1_MouseDown);
    connect(Picture3, &DragPanel::MouseDown, this, &frmCorvane::Picture3_MouseDown);
    connect(Picture3, &DragPanel::MouseMove, this, &frmCorvane::Picture3_MouseMove);
    connect(Picture3, &DragPanel::MouseUp, this, &frmCorvane::Picture3_MouseUp);
    // Rows of contracts changed elsewhere are read again where the list shows them.
    connect(&changes(), &Changes::contractsEdited, this,
            [this](const std::vector<qint64>& ids) { refreshContracts(ids); });
    connect(&changes(), &Changes::contractProgressed, this, [this](qint64 id) { refreshRowInPlace(id); });
}

void frmCorvane::Form_Load()
{
    StatusBar1->showLogin();
    DTPicker1->setDate(Today());
    DTPicker2->setDate(Today());
    m_activated = false;
}

void frmCorvane::Form_Activate()
{
    if (subWindow()) subWindow()->showMaximized();
    if (m_activated) return;

    WaitCursor wait;
    // A failed statement has shown its error; the next activation tries again.
    if (!加载部门树()) return;

    Text1->clear();
    SetTag(Text1, QString());
    if (QTreeWidgetItem* own = nodeByKey(QStringLiteral("$") + Login().当前部门编号)) {
        TreeView1->setCurrentItem(own);
        Text1->setText(own->text(0));
        SetTag(Text1, Login().当前部门编号);
    }

    const auto company = hasCompanyScope(Login().当前部门编号, Login().当前岗位代号);
    if (!company) return reportDbError(company.error());
    TreeView1->setEnabled(true);
    if (!*company) {
        Check1->setChecked(false);
        Check1->setEnabled(false);
        Tag = QStringLiteral("0");
    } else {
        Check1->setEnabled(true);
        Tag = QStringLiteral("1");
    }

    for (int c = 0; c < MSFlexGrid1->Cols(); ++c) MSFlexGrid1->setFixedAlignment(c, flexAlignCenterCenter);
    MSFlexGrid1->setRows(1);
    for (int c = Col::提交日期; c < kCols; ++c) MSFlexGrid1->setColWidth(c, 0);

    合同列表();
    m_activated = true;
}

// ---- public members

void frmCorvane::Command1_Click()
{
    合同列表();
    Command11_Click();
}

QString frmCorvane::显示部门(const QString& departmentCode) const
{
    for (const QTreeWidgetItem* node : m_nodes) {
        const QString text = node->text(0);
        if (text.section(QLatin1Char(' '), 0, 0) == departmentCode) return text;
    }
    return QString();
}

void frmCorvane::合同列表()
{
    WaitCursor wait;
    FlexGrid& g = *MSFlexGrid1;
    // Amounts and dates are kept as values and formatted only where a cell
    // is shown, read or exported; the row numbers are the rows' own.
    FlexGridFill fill(g);
    auto text = [&](int col, const QVariant& v) {
        if (v.typeId() == QMetaType::QString) return fill.text(col, *static_cast<const QString*>(v.constData()));
        fill.text(col, v.toString());
    };
    auto date = [&](int col, const QVariant& v) { fillDate(fill, col, v); };
    const DbError failed = readContractList(selection(), [&](const Statement& q) {
        fill.row();
        const QString number = q.value(lc合同编号).toString(), name = q.value(lc合同名称).toString();
        fill.text(Col::合同编号, QStringView(number).trimmed());
        fill.text(Col::合同名称, QStringView(name).trimmed());
        text(Col::职能部门名称, q.value(lc职能部门名称));
        text(Col::合同类型名称, q.value(lc合同类型名称));
        text(Col::合同类别, q.value(lc合同类别));
        fillAmount(fill, Col::合同金额, q.value(lc合同金额));
        text(Col::对方单位, q.value(lc对方单位));
        text(Col::对方开户行, q.value(lc对方开户行));
        text(Col::对方帐号, q.value(lc对方帐号));
        date(Col::合同签订日期, q.value(lc合同签订日期));
        date(Col::合同生效日期, q.value(lc合同生效日期));
        text(Col::合同期限, q.value(lc合同期限));
        date(Col::合同终止日期, q.value(lc合同终止日期));
        date(Col::合同中止日期, q.value(lc合同中止日期));
        text(Col::合同状态, q.value(lc合同状态));
        text(Col::签约人, q.value(lc签约人));
        text(Col::对方签约人, q.value(lc对方签约人));
        text(Col::对应续约合同编号, q.value(lc对应续约合同编号));
        date(Col::提交日期, q.value(lc提交日期));
        date(Col::流转结束日期, q.value(lc流转结束日期));
        fillFlag(fill, Col::流转通过, q.value(lc流转通过));
        text(Col::对应部门, q.value(lc对应部门));
        text(Col::对应科目, q.value(lc对应科目));
        text(Col::id, q.value(lcId));
    });
    fill.end();
    const int n = fill.rows();
    if (failed.isValid()) {
        // Rows read before the failure are no list of anything.
        if (n > 0) g.setRows(1);
        return reportDbError(failed);
    }
    if (n == 0) g.setRows(1);
    fitColumns(1, g.Rows() - 1);
    g.setRow(g.Rows() - 1);
    Label1[2]->setText(QStringLiteral("共有 ") + QString::number(n) + QStringLiteral(" 份合同"));
}

void frmCorvane::writeRow(int r, const Statement& q)
{
    FlexGrid& g = *MSFlexGrid1;
    const auto cell = [&](int col, const QString& text) { g.setTextMatrix(r, col, text); };
    cell(Col::合同编号, q.value(lc合同编号).toString().trimmed());
    cell(Col::合同名称, q.value(lc合同名称).toString().trimmed());
    cell(Col::职能部门名称, q.value(lc职能部门名称).toString());
    cell(Col::合同类型名称, q.value(lc合同类型名称).toString());
    cell(Col::合同类别, q.value(lc合同类别).toString());
    cell(Col::合同金额, amountText(q.value(lc合同金额)));
    cell(Col::对方单位, q.value(lc对方单位).toString());
    cell(Col::对方开户行, q.value(lc对方开户行).toString());
    cell(Col::对方帐号, q.value(lc对方帐号).toString());
    cell(Col::合同签订日期, dateText(q.value(lc合同签订日期)));
    cell(Col::合同生效日期, dateText(q.value(lc合同生效日期)));
    cell(Col::合同期限, q.value(lc合同期限).toString());
    cell(Col::合同终止日期, dateText(q.value(lc合同终止日期)));
    cell(Col::合同中止日期, dateText(q.value(lc合同中止日期)));
    cell(Col::合同状态, q.value(lc合同状态).toString());
    cell(Col::签约人, q.value(lc签约人).toString());
    cell(Col::对方签约人, q.value(lc对方签约人).toString());
    cell(Col::对应续约合同编号, q.value(lc对应续约合同编号).toString());
    cell(Col::提交日期, dateText(q.value(lc提交日期)));
    cell(Col::流转结束日期, dateText(q.value(lc流转结束日期)));
    cell(Col::流转通过, flagText(q.value(lc流转通过)));
    cell(Col::对应部门, q.value(lc对应部门).toString());
    cell(Col::对应科目, q.value(lc对应科目).toString());
}

void frmCorvane::refreshContracts(const std::vector<qint64>& ids)
{
    FlexGrid& g = *MSFlexGrid1;
    std::vector<int> rows;
    for (qint64 id : ids) {
        const int r = g.FindRow(Col::id, QString::number(id), g.FixedRows());
        if (r < 0) return Command1_Click();
        rows.push_back(r);
    }
    if (ids.empty()) return;
    WaitCursor wait;
    ListSelection s = selection();
    s.ids = ids;
    std::vector<char> still(ids.size(), 0);
    const DbError failed = readContractList(s, [&](const Statement& q) {
        const qint64 id = q.value(lcId).toLongLong();
        const auto at = std::find(ids.begin(), ids.end(), id);
        if (at == ids.end()) return;
        const size_t i = size_t(at - ids.begin());
        still[i] = 1;
        writeRow(rows[i], q);
    });
    if (failed.isValid()) return reportDbError(failed);
    for (size_t i = 0; i < ids.size(); ++i)
        if (still[i]) fitColumns(rows[i], rows[i]);
    // A contract deleted, or no longer of the kind the list shows, leaves it.
    std::vector<int> gone;
    for (size_t i = 0; i < ids.size(); ++i)
        if (!still[i]) gone.push_back(rows[i]);
    std::sort(gone.rbegin(), gone.rend());
    for (int r : gone) g.RemoveItem(r);
    if (!gone.empty()) {
        g.numberRows(0);
        Label1[2]->setText(QStringLiteral("共有 ") + QString::number(g.Rows() - 1) + QStringLiteral(" 份合同"));
    }
    Command11_Click();
}

void frmCorvane::refreshRowInPlace(qint64 id)
{
    FlexGrid& g = *MSFlexGrid1;
    const int r = g.FindRow(Col::id, QString::number(id), g.FixedRows());
    if (r < 0) return;
    // The row is read whatever the filter selects: the list keeps what the
    // user listed until they list again.
    ListSelection s;
    s.companyScope = true;
    s.filter = ListFilter::全部;
    s.ids = {id};
    bool found = false;
    const DbError failed = readContractList(s, [&](const Statement& q) {
        found = true;
        writeRow(r, q);
    });
    if (failed.isValid()) return reportDbError(failed);
    if (found) fitColumns(r, r);
}

// Widths only grow, each to its widest text of those rows, and no
// further than a third of the grid: one very long text must not push every
// other column off the screen (the cut text ends in "…", its tooltip shows it).
void frmCorvane::fitColumns(int firstRow, int lastRow)
{
    FlexGrid& g = *MSFlexGrid1;
    lastRow = std::min(lastRow, g.Rows() - 1);
    if (lastRow < firstRow) return;
    WidestText measure(font(), kFittedCols);
    const int cap = std::max(kMinFitCap, pixelsToTwips(g.width()) / 3);
    for (int c = 0; c < kFittedCols; ++c) {
        g.forEachText(c, firstRow, lastRow, [&](QStringView t) { measure.add(c, t); });
        const int widest = std::min(cap, int(std::lround(measure.widest(c) + 90)));
        if (widest > g.ColWidth(c)) g.setColWidth(c, widest);
    }
}

ListSelection frmCorvane::selection() const
{
    ListSelection s;
    s.companyScope = Check1->isChecked();
    s.department = TagOf(Text1);
    if (Option3[0]->isChecked()) s.filter = ListFilter::全部履行中合同;
    else if (Option3[1]->isChecked()) s.filter = ListFilter::应付到期合同;
    else if (Option3[2]->isChecked()) s.filter = ListFilter::应收到期合同;
    else if (Option3[3]->isChecked()) s.filter = ListFilter::到期合同;
    else if (Option1[0]->isChecked()) s.filter = ListFilter::已终止履行合同;
    else if (Option1[1]->isChecked()) s.filter = ListFilter::已到期未终止履行合同;
    else if (Option4->isChecked()) s.filter = ListFilter::签约中;
    else s.filter = ListFilter::全部;
    s.days = leadingNumber(Text2->text());
    s.basis = Option5[0]->isChecked()   ? DateBasis::按生效日期
              : Option5[1]->isChecked() ? DateBasis::按终止日期
                                        : DateBasis::按中止日期;
    s.from = DTPicker1->date();
    s.to = DTPicker2->date();
    s.today = Today();
    return s;
}

// ---- department tree

QString frmCorvane::nodeKey(const QTreeWidgetItem* node) { return node ? node->data(0, Qt::UserRole).toString() : QString(); }

QTreeWidgetItem* frmCorvane::nodeByKey(const QString& key) const { return m_nodeByKey.value(key, nullptr); }

QTreeWidgetItem* frmCorvane::addNode(QTreeWidgetItem* parent, const Department& d)
{
    const QString key = QStringLiteral("$") + d.code;
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
    node->setText(0, d.code + QLatin1Char(' ') + d.name);
    node->setData(0, Qt::UserRole, key);
    node->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    m_nodes.push_back(node);
    m_nodeByKey.insert(key, node);
    return node;
}

bool frmCorvane::加载部门树()
{
    TreeView1->clear();
    m_nodes.clear();
    m_nodeByKey.clear();
    m_departments.clear();

    const auto departments = departmentsInForce();
    if (!departments) {
        reportDbError(departments.error());
        return false;
    }
    m_departments = *departments;

    for (const Department& d : m_departments) {
        if (!d.superior.isEmpty()) continue;
        addNode(nullptr, d);
        添加下级部门(d.code);
    }
    TreeView1->expandAll();
    return true;
}

void frmCorvane::添加下级部门(const QString& departmentCode)
{
    QTreeWidgetItem* parent = nodeByKey(QStringLiteral("$") + departmentCode);
    for (const Department& d : m_departments) {
        // A department already placed is never placed again, so a loop of
        // superior links cannot recurse for ever.
        if (d.superior != departmentCode || m_nodeByKey.contains(QStringLiteral("$") + d.code)) continue;
        addNode(parent, d);
        添加下级部门(d.code);
    }
}

void frmCorvane::TreeView1_NodeClick(QTreeWidgetItem* node)
{
    if (Tag.isEmpty() || !node) return;
    const QString own = QStringLiteral("$") + Login().当前部门编号;
    if (Tag.toInt() == 0 && nodeKey(node) != own) {
        bool below = false;
        for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
            if (nodeKey(up) == own) below = true;
        if (!below) {
            MsgBox(QStringLiteral("不属于您的部门，无法显示相关合同信息"), vbOKOnly);
            清空列表();
            return;
        }
    }
    Text1->setText(node->text(0));
    SetTag(Text1, nodeKey(node).mid(1));
}

void frmCorvane::TreeView1_DblClick() { 合同列表(); }

void frmCorvane::清空列表() { MSFlexGrid1->setRows(1); }

// ---- filter panel

void frmCorvane::Check1_Click()
{
    清空列表();
    const bool company = Check1->isChecked();
    Command3->setEnabled(!company);
    Command5->setEnabled(!company);
}

void frmCorvane::placeCentred(QWidget* panel)
{
    panel->move((width() - panel->width()) / 2, (height() - panel->height()) / 2);
}

void frmCorvane::Command6_Click()
{
    // The panel belongs to the list: the list comes to the front with it.
    ZOrder();
    Picture2->setVisible(!Picture2->isVisible());
    placeCentred(Picture2);
    Picture2->raise();
}

void frmCorvane::Command11_Click() { hidePanel(Picture2); }

// A panel hidden with the focus inside would pass the focus on along the
// chain, into whichever other child window comes next, which then comes to
// the front: the focus goes to the list's grid first.
void frmCorvane::hidePanel(QWidget* panel)
{
    if (panel->isAncestorOf(focusWidget()) && MSFlexGrid1->isEnabled()) MSFlexGrid1->setFocus();
    panel->hide();
}

void frmCorvane::Option3_Click(int index)
{
    if (index == 0) {
        Label1[3]->setEnabled(false);
        Text2->setEnabled(false);
    } else {
        const int top = Option3[size_t(index)]->y();
        Label1[3]->move(Label1[3]->x(), top + twipsToPixels(90));
        Text2->move(Text2->x(), top + twipsToPixels(30));
        Label1[3]->setEnabled(true);
        Text2->setEnabled(true);
        Text2->setFocus();
    }
    Frame2->setEnabled(false);
}

void frmCorvane::Option1_Click(int index) { Frame2->setEnabled(index == 0); }

void frmCorvane::Option4_Click() { Frame2->setEnabled(false); }

// 全部 uses no dates, so the range stays unavailable.
void frmCorvane::Option2_Click() { Frame2->setEnabled(false); }

// ---- grid click and hand-overs

void frmCorvane::MSFlexGrid1_Click()
{
    if (!hasContractRow()) return;
    FlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
    followCurrentCategory();
    if (g.TextMatrix(r, Col::合同状态) == 签约中) {
        QString text = g.TextMatrix(r, Col::合同编号) + QLatin1Char(' ') + g.TextMatrix(r, Col::合同名称);
        if (g.TextMatrix(r, Col::流转结束日期).isEmpty()) text += QStringLiteral("会签之中，请等待会签结果");
        else if (g.TextMatrix(r, Col::流转通过) == QLatin1String("False")) text += QStringLiteral("会签没有通过");
        else text += QStringLiteral("会签通过，你可以修改合同状态。");
        MsgBox(text, vbOKOnly);
    }
}

void frmCorvane::followCurrentCategory()
{
    const FlexGrid& g = *MSFlexGrid1;
    if (!hasContractRow() || g.Row() < g.FixedRows()) return;
    Command7->setText(g.TextMatrix(g.Row(), Col::合同类别) == 付款合同 ? QStringLiteral("合同付款处理")
                                                           : QStringLiteral("合同收款处理"));
}

void frmCorvane::Command3_Click()
{
    const auto& open = contractHandovers().Frm合同信息;
    if (!open) return showMissing(QStringLiteral("合同信息"));
    open({QStringLiteral("新增"), TagOf(Text1), Text1->text(), QString(), QString()});
}

void frmCorvane::Command2_Click()
{
    if (!hasContractRow()) return;
    const auto& open = contractHandovers().Frm合同信息;
    if (!open) return showMissing(QStringLiteral("合同信息"));
    const FlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    open({QStringLiteral("修改"), TagOf(Text1), Text1->text(), g.TextMatrix(r, Col::合同编号), g.TextMatrix(r, Col::id)});
}

void frmCorvane::Command7_Click()
{
    if (!hasContractRow()) return;
    const FlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    if (Command7->text() == QStringLiteral("合同付款处理")) {
        const auto& open = contractHandovers().frm合同付款处理;
        if (!open) return showMissing(QStringLiteral("合同付款处理"));
        PaymentHandover h;
        h.number = g.TextMatrix(r, Col::合同编号);
        h.id = g.TextMatrix(r, Col::id);
        h.name = g.TextMatrix(r, Col::合同名称);
        h.amount = g.TextMatrix(r, Col::合同金额);
        h.ownerDepartment = 显示部门(g.TextMatrix(r, Col::对应部门));
        h.budgetSubject = g.TextMatrix(r, Col::对应科目);
        h.userDepartmentText = Login().当前部门编号 + QLatin1Char(' ') + Login().当前部门名称;
        h.userDepartmentCode = Login().当前部门编号;
        h.counterparty = g.TextMatrix(r, Col::对方单位);
        h.bank = g.TextMatrix(r, Col::对方开户行);
        h.account = g.TextMatrix(r, Col::对方帐号);
        open(h);
    } else {
        const auto& open = contractHandovers().frm合同收款;
        if (!open) return showMissing(QStringLiteral("合同收款处理"));
        open({g.TextMatrix(r, Col::合同编号), g.TextMatrix(r, Col::合同名称), 显示部门(g.TextMatrix(r, Col::对应部门)),
              g.TextMatrix(r, Col::id)});
    }
}

void frmCorvane::Command8_Click()
{
    if (!hasContractRow()) return;
    const auto& open = contractHandovers().frm合同履行计划;
    if (!open) return showMissing(QStringLiteral("合同履行计划"));
    const FlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    open({QStringLiteral("合同履行情况及检查记录"), g.TextMatrix(r, Col::合同编号), g.TextMatrix(r, Col::合同名称),
          QStringLiteral("浏览"), g.TextMatrix(r, Col::id)});
}

void frmCorvane::Command9_Click()
{
    if (!hasContractRow()) return;
    const auto& open = contractHandovers().frm合同到期处理;
    if (!open) return showMissing(QStringLiteral("合同到期/中止处理"));
    const FlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    open({g.TextMatrix(r, Col::合同编号), g.TextMatrix(r, Col::合同名称), g.TextMatrix(r, Col::id)});
}

void frmCorvane::Command10_Click()
{
    auto* excel = Forms::get<frmToExcel>();
    excel->Config(MSFlexGrid1, QStringLiteral("合同列表"), Text1->text() + QStringLiteral("合同信息"));
    excel->Show();
}

void frmCorvane::Command4_Click() { Unload(); }

void frmCorvane::Command5_Click()
{
    if (!hasContractRow()) return;
    const FlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    if (MsgBox(QStringLiteral("您确定要删除合同 ") + g.TextMatrix(r, Col::合同编号) + QStringLiteral(" 吗？"),
               vbYesNo + vbInformation, QStringLiteral("删除合同")) == vbYes) {
        const QString refused = QStringLiteral("已经提交、流转结束或流转通过的合同不能删除！");
        if (!g.TextMatrix(r, Col::流转结束日期).isEmpty() || !g.TextMatrix(r, Col::提交日期).isEmpty()) {
            MsgBox(refused, vbOKOnly);
            return;
        }
        // The grid may be stale: the delete itself requires the row to be
        // still unsubmitted, and nothing deleted means it no longer is.
        const WriteOutcome outcome =
            deleteContract(g.TextMatrix(r, Col::id).toLongLong(), DeletableWhile::NeverSubmitted);
        if (outcome.kind == WriteOutcome::Failed) {
            ShowNumberedError(outcome.error.number, outcome.error.description);
            return;
        }
        if (outcome.kind == WriteOutcome::NoRow) {
            MsgBox(refused, vbOKOnly);
            return;
        }
    }
    合同列表();
}

// ---- header press

void frmCorvane::MSFlexGrid1_MouseDown(int Button, int Shift, float x, float y)
{
    FlexGrid& g = *MSFlexGrid1;
    if (y >= g.RowHeight(0)) return;
    int pressed = -1;
    int edge = g.ColWidth(0);
    for (int c = g.LeftCol(); c < g.Cols(); ++c) {
        edge += g.ColWidth(c);
        if (edge > x) {
            pressed = c;
            break;
        }
    }
    if (pressed >= 0) {
        const bool wasAscending = g.TextMatrix(0, pressed).startsWith(kAscending);
        for (int c = 0; c < g.Cols(); ++c) {
            const QString h = g.TextMatrix(0, c);
            const QString plain = withoutMarker(h);
            if (plain != h) g.setTextMatrix(0, c, plain);
        }
        if (g.Rows() > 2) {
            g.setRow(1);
            g.setRowSel(g.Rows() - 1);
            g.setCol(pressed);
            g.setColSel(pressed);
            g.setSort(wasAscending ? flexSortGenericDescending : flexSortGenericAscending);
        }
        const QString marked = (wasAscending ? kDescending : kAscending) + g.TextMatrix(0, pressed);
        g.setTextMatrix(0, pressed, marked);
        // The marker must not push the heading's own text out of sight.
        const double fits = TextWidthTwips(font(), marked) + 90;
        if (g.ColWidth(pressed) < fits) g.setColWidth(pressed, int(std::lround(fits)));
    }
    g.numberRows(0);
}

// ---- quick search

void frmCorvane::Command13_Click()
{
    Text3->clear();
    List1->clear();
    Command16->setEnabled(false);
    placeCentred(Picture3);
    Picture3->show();
    Picture3->raise();
    // The focus moves into the panel before the button bar it leaves is disabled.
    Text3->setFocus();
    Picture1->setEnabled(false);
    MSFlexGrid1->setEnabled(false);
}

void frmCorvane::flushQuickSearch()
{
    if (!m_searchPause->isActive()) return;
    m_searchPause->stop();
    Text3_Change();
}

void frmCorvane::Text3_Change()
{
    // The typed text is matched literally, whatever the letter case.
    const auto names = counterpartiesHolding(Text3->text().trimmed());
    if (!names) return reportDbError(names.error());
    List1->clear();
    for (QString name : *names) {
        name.remove(QStringLiteral("\r\n"));
        List1->addItem(name);
    }
}

void frmCorvane::查找自(int firstRow)
{
    const QListWidgetItem* chosen = List1->currentItem();
    const QString name = chosen ? chosen->text() : QString();
    FlexGrid& g = *MSFlexGrid1;
    if (const int r = g.FindRow(Col::对方单位, name, firstRow); r >= 0) {
        g.setTopRow(r);
        g.setRow(r);
        MSFlexGrid1_Click();
        Command16->setEnabled(true);
        m_searchRow = r;
        return;
    }
    Command16->setEnabled(false);
}

void frmCorvane::Command14_Click()
{
    if (List1->currentRow() < 0) {
        MsgBox(QStringLiteral("请选择对方单位！"), vbInformation, QStringLiteral("系统提示"));
        return;
    }
    查找自(1);
}

void frmCorvane::Command16_Click() { 查找自(m_searchRow + 1); }

void frmCorvane::Command15_Click()
{
    Picture1->setEnabled(true);
    MSFlexGrid1->setEnabled(true);
    hidePanel(Picture3);
}

void frmCorvane::Image1_Click(int) { Command15_Click(); }

void frmCorvane::Picture3_MouseDown(int, int, float x, float y)
{
    m_dragging = true;
    m_dragX = x;
    m_dragY = y;
}

void frmCorvane::Picture3_MouseMove(int, int, float x, float y)
{
    if (!m_dragging) return;
    const int left = pixelsToTwips(Picture3->x()) + int(x - m_dragX);
    const int top = pixelsToTwips(Picture3->y()) + int(y - m_dragY);
    Picture3->move(twipsToPixels(left), twipsToPixels(top));
}

void frmCorvane::Picture3_MouseUp(int, int, float, float) { m_dragging = false; }

}  // namespace corvane
