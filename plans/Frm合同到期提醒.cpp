#include "plans/Frm合同到期提醒.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QTimer>
#include <cmath>

#include "app/LoginContext.h"
#include "app/frmToExcel.h"
#include "contracts/ContractHandovers.h"
#include "platform/ColumnFit.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "plans/ExpiryRules.h"
#include "plans/ReminderStore.h"

namespace corvane {

using namespace plans;

namespace {

constexpr int kListCols = 8;
constexpr int kCountCols = 3;
const QColor kMarkedText(0, 0, 255);
const QColor kMarkedBack(100, 255, 255);

// The reminder's own error box: number and description on one line.
void showReminderError(const DbError& e)
{
    QString description = e.description;
    description.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    MsgBox(QStringLiteral("错误号：") + QString::number(e.number) + QStringLiteral("错误描述：") + description,
           vbInformation, QStringLiteral("系统提示"));
}

QString shortDate(const QString& stored) { return stored.left(10); }

// A grid filled row by row widens a column to its widest text plus 90
// twips; it never narrows.
void widenToTexts(FlexGrid& g, WidestText& widest)
{
    for (int c = 0; c < g.Cols(); ++c) {
        const int wide = int(std::ceil(widest.widest(c))) + 90;
        if (widest.widest(c) > 0 && g.ColWidth(c) < wide) g.setColWidth(c, wide);
    }
}

DbError fillList(FlexGrid& g, const BoundQuery& q, const QFont& font)
{
    g.setRows(1);
    WidestText widest(font, kListCols);
    std::vector<int> ids;
    DbError failed;
    {
        FlexGridFill fill(g);
        const auto put = [&](int col, const QString& text) {
            fill.text(col, text);
            widest.add(col, text);
        };
        failed = readRows(q, [&](const Statement& st) {
            fill.row();
            ids.push_back(int(st.value(dcId).toLongLong()));
            put(0, QString::number(fill.rows()));
            put(1, st.value(dc职能部门编号).toString() + u' ' + st.value(dc职能部门名称).toString());
            put(2, st.value(dc合同编号).toString());
            put(3, st.value(dc合同名称).toString());
            put(4, st.value(dc对方单位).toString());
            put(5, st.value(dc合同类型).toString());
            put(6, shortDate(st.value(dc合同起始日期).toString()));
            put(7, shortDate(st.value(dc合同终止日期).toString()));
        });
    }
    for (size_t i = 0; i < ids.size() && int(i) + 1 < g.Rows(); ++i) g.setRowData(int(i) + 1, ids[i]);
    if (g.Rows() > 1) g.setRow(g.Rows() - 1);
    widenToTexts(g, widest);
    return failed;
}

DbError fillCounts(FlexGrid& g, const BoundQuery& q, const QFont& font)
{
    g.setRows(1);
    WidestText widest(font, kCountCols);
    DbError failed;
    {
        FlexGridFill fill(g);
        failed = readRows(q, [&](const Statement& st) {
            fill.row();
            const QString cells[] = {QString::number(fill.rows()), st.value(0).toString(), st.value(1).toString()};
            for (int c = 0; c < kCountCols; ++c) {
                fill.text(c, cells[c]);
                widest.add(c, cells[c]);
            }
        });
    }
    widenToTexts(g, widest);
    return failed;
}

}  // namespace

Frm合同到期提醒::Frm合同到期提醒()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(MSFlexGrid2, &FlexGrid::MouseDown, this,
            [this](int b, int s, float x, float y) { MSFlexGrid2_MouseDown(b, s, x, y); });
    connect(MSFlexGrid2, &FlexGrid::DblClick, this, [this] { MSFlexGrid2_DblClick(); });
    connect(MSFlexGrid3, &FlexGrid::Click, this, [this] { MSFlexGrid3_Click(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid4, &FlexGrid::Click, this, [this] { MSFlexGrid4_Click(); });
    Picture1->installEventFilter(this);
    // The tab control sizes its pages only once it is shown: the grids follow.
    Shape2->parentWidget()->installEventFilter(this);
    Text1->installEventFilter(this);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab != m_unfilledTab) return;
        m_unfilledTab = -1;
        填写页(tab);
    });
}

void Frm合同到期提醒::Form_Load()
{
    MSFlexGrid2->setMergeCells(flexMergeFree);
    MSFlexGrid2->setMergeCol(1, true);

    收款列表排序.Clear();
    收款列表排序.setGrid(MSFlexGrid2);
    for (int c = 1; c <= MSFlexGrid2->Cols() - 2; ++c) 收款列表排序.Add(c, true, flexSortStringAscending, flexSortStringDescending);

    加载到期合同();
}

void Frm合同到期提醒::Form_Activate()
{
    QMdiSubWindow* frame = subWindow();
    if (!frame) return;
    frame->showMaximized();
    // The main window centres the window once it is shown; it is maximised
    // again after that.
    QTimer::singleShot(0, frame, [frame] {
        // Moved while maximised, it still counts as maximised and would not
        // fill the area again without leaving that state first.
        if (!frame->isVisible()) return;
        frame->setWindowState(frame->windowState() & ~Qt::WindowMaximized);
        frame->showMaximized();
    });
}

void Frm合同到期提醒::加载到期合同()
{
    WaitCursor wait;
    const LoginContext& me = Login();
    const auto scope = reminderScope(me.当前部门编号, me.当前岗位代号);
    if (!scope) return showReminderError(scope.error());

    const auto setting = reminderSetting(me.当前部门编号, me.当前岗位代号);
    if (!setting) return showReminderError(setting.error());
    if (!*setting) {
        Check1->setChecked(true);
        Text1->setText(QString::number(kDefaultReminderDays));
    } else {
        Text1->setText(QString::number((*setting)->days.value_or(0)));
        Check1->setChecked((*setting)->enabled);
    }
    到期截止日期 = reminderCutOff(Today(), Text1->text());
    m_scope = *scope;

    const int shown = SSTab1->currentIndex() == 1 ? 1 : 0;
    m_unfilledTab = 1 - shown;
    填写页(shown);
}

void Frm合同到期提醒::填写页(int tab)
{
    WaitCursor wait;
    const ContractCategory category = tab == 0 ? ContractCategory::Receipt : ContractCategory::Payment;
    FlexGrid& list = tab == 0 ? *MSFlexGrid2 : *MSFlexGrid3;
    FlexGrid& counts = tab == 0 ? *MSFlexGrid1 : *MSFlexGrid4;
    const Dialect d = DbDialect();
    DbError failed = fillList(list, dueContractsQuery(d, category, m_scope, 到期截止日期), font());
    if (!failed.isValid()) failed = fillCounts(counts, dueCountsQuery(d, category, m_scope, 到期截止日期), font());
    if (failed.isValid()) showReminderError(failed);
}

// ---------------------------------------------------------------- setting

void Frm合同到期提醒::Command3_Click()
{
    // The column takes whole days only; typing allows digits, pasting anything.
    const auto days = savedReminderDays(Text1->text());
    if (!days) {
        MsgBox(QStringLiteral("请输入正确的提前天数！"));
        Text1->setFocus();
        return;
    }
    const auto saved = saveReminderSetting(Login().当前部门编号, Login().当前岗位代号, *days, Check1->isChecked());
    if (!saved) return showReminderError(saved.error());
    加载到期合同();
}

// ---------------------------------------------------------------- lists

void Frm合同到期提醒::MSFlexGrid2_MouseDown(int Button, int Shift, float x, float y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    收款列表排序.MouseDown(x, y);
    m_pressInHeader = y <= MSFlexGrid2->RowHeight(0);
}

void Frm合同到期提醒::MSFlexGrid2_DblClick()
{
    收款列表排序.Sort();
    // A double click on a heading sorts; it opens nothing.
    if (m_pressInHeader) return;
    打开合同(*MSFlexGrid2);
}

void Frm合同到期提醒::MSFlexGrid3_Click()
{
    const int pressed = MSFlexGrid3->MouseRow();
    if (pressed >= 0 && pressed < MSFlexGrid3->FixedRows()) return;
    打开合同(*MSFlexGrid3);
}

void Frm合同到期提醒::打开合同(const FlexGrid& list)
{
    if (list.Rows() == 1) return;
    const int r = list.Row();
    if (r < list.FixedRows()) return;
    const QString department = list.TextMatrix(r, 1);
    if (department.trimmed().isEmpty()) return;
    const auto& open = contract::contractHandovers().Frm合同信息;
    if (!open) {
        MsgBox(contract::windowNotAvailableText(QStringLiteral("合同信息")));
        return;
    }
    contract::RecordWindowHandover h;
    h.mode = QStringLiteral("查看");
    h.departmentCode = department.section(u' ', 0, 0).trimmed();
    h.departmentText = department.trimmed();
    h.number = list.TextMatrix(r, 2).trimmed();
    h.id = QString::number(list.RowData(r));
    open(h);
}

void Frm合同到期提醒::MSFlexGrid1_Click() { 标示类型(*MSFlexGrid2, *MSFlexGrid1); }
void Frm合同到期提醒::MSFlexGrid4_Click() { 标示类型(*MSFlexGrid3, *MSFlexGrid4); }

void Frm合同到期提醒::标示类型(FlexGrid& list, FlexGrid& counts)
{
    if (list.Rows() <= 1 || counts.Rows() <= 1) return;
    const int countRow = counts.Row();
    if (countRow < counts.FixedRows()) return;
    const QString type = counts.TextMatrix(countRow, 1);
    const bool redraw = list.Redraw();
    list.setRedraw(false);
    for (int r = 1; r < list.Rows(); ++r) {
        const bool marked = list.TextMatrix(r, 5) == type;
        list.setRow(r);
        for (int c = 2; c < list.Cols(); ++c) {
            list.setCol(c);
            list.setCellForeColor(marked ? kMarkedText : QColor(Qt::black));
            list.setCellBackColor(marked ? kMarkedBack : QColor(Qt::white));
        }
    }
    list.setRedraw(redraw);
    list.setRow(1);
    list.setCol(1);
    counts.setCol(0);
    counts.setColSel(counts.Cols() - 1);
}

// ---------------------------------------------------------------- output

void Frm合同到期提醒::Command1_Click()
{
    const bool receipts = SSTab1->currentIndex() == 0;
    FlexGrid* list = receipts ? MSFlexGrid2 : MSFlexGrid3;
    const QString sheet = receipts ? QStringLiteral("收款到期合同") : QStringLiteral("付款到期合同");
    auto* excel = Forms::get<frmToExcel>();
    excel->Grid1->setCols(2);
    excel->Grid1->setCols(list->Cols());
    for (int c = 0; c < list->Cols(); ++c) {
        excel->Grid1->setTextMatrix(0, c, list->TextMatrix(0, c));
        excel->Grid1->setFixedAlignment(c, list->FixedAlignment(c));
        excel->Grid1->setTextMatrix(1, c, QStringLiteral("√"));
        excel->Grid1->setColWidth(c, list->ColWidth(c));
    }
    excel->setGrid(list);
    excel->Text1[1]->setText(到期截止日期.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("到期合同"));
    excel->Text1[2]->setText(sheet);
    excel->ShowModal();
}

void Frm合同到期提醒::Command2_Click() { Unload(); }

// ---------------------------------------------------------------- layout

void Frm合同到期提醒::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

void Frm合同到期提醒::Form_Resize()
{
    const auto tw = [](int pixels) { return pixelsToTwips(pixels); };
    const int innerWidth = tw(width()), innerHeight = tw(height());
    const int outerHeight = tw(frame()->height());
    const auto setWidth = [](QWidget* w, int twips) {
        if (twips >= 0) w->resize(px(twips), w->height());
    };
    const auto setHeight = [](QWidget* w, int twips) {
        if (twips >= 0) w->resize(w->width(), px(twips));
    };

    Picture2->move(std::max(0, px(innerWidth - tw(Picture2->width()) - 100)), Picture2->y());
    setWidth(SSTab1, innerWidth + 10);
    setHeight(SSTab1, outerHeight - tw(Picture1->height()) - 580);

    // The shapes keep inside their tab page, which is a little narrower
    // than the tab control.
    const QWidget* page = Shape2->parentWidget();
    int shapeWidth = tw(SSTab1->width()) - 100;
    if (page->width() > 0) shapeWidth = std::min(shapeWidth, tw(page->width()) - tw(Shape1->x()) - 30);
    setWidth(Shape1, shapeWidth);
    setWidth(MSFlexGrid1, tw(Shape1->width()) - 110);
    setWidth(Shape2, tw(Shape1->width()));
    // The shape ends 700 twips above the window's bottom, and never below
    // its tab page.
    const int pageTop = tw(page->mapTo(this, QPoint(0, 0)).y());
    int shapeHeight = innerHeight - (pageTop + tw(Shape2->y())) - 700;
    if (page->height() > 0) shapeHeight = std::min(shapeHeight, tw(page->height()) - tw(Shape2->y()) - 60);
    setHeight(Shape2, shapeHeight);
    setWidth(MSFlexGrid2, tw(MSFlexGrid1->width()));
    setHeight(MSFlexGrid2, tw(Shape2->height()) - 100);

    Shape5->resize(Shape1->size());
    Shape4->resize(Shape2->size());
    MSFlexGrid3->resize(MSFlexGrid2->size());
    MSFlexGrid4->resize(MSFlexGrid1->size());

    setWidth(Picture1, tw(SSTab1->width()) - 200);
    Picture1->move(Picture1->x(), px(tw(SSTab1->y()) + tw(SSTab1->height()) + 100));
}

void Frm合同到期提醒::Picture1_Resize()
{
    const auto tw = [](int pixels) { return pixelsToTwips(pixels); };
    const int bar = tw(Picture1->width());
    Command2->move(px(bar - tw(Command2->width()) - 200), Command2->y());
    Command1->move(px(tw(Command2->x()) - 100 - tw(Command1->width())), Command1->y());
    Command3->move(px(tw(Command1->x()) - 100 - tw(Command3->width())), Command3->y());
}

void Frm合同到期提醒::Text1_KeyPress(int& KeyAscii)
{
    if ((KeyAscii < '0' || KeyAscii > '9') && KeyAscii != 8) KeyAscii = 0;
}

bool Frm合同到期提醒::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture1 && event->type() == QEvent::Resize) Picture1_Resize();
    if (watched == Shape2->parentWidget() && event->type() == QEvent::Resize) Form_Resize();
    if (watched == Text1 && event->type() == QEvent::FocusIn) {
        // A new number replaces the old one, as in the other number boxes; again
        // once a click has placed the cursor.
        Text1->selectAll();
        QTimer::singleShot(0, Text1, [this] { Text1->selectAll(); });
    }
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Editing shortcuts (select all, copy, paste, undo) are no characters typed.
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return Form::eventFilter(watched, event);
        int ascii = 0;
        if (key->key() == Qt::Key_Backspace) ascii = 8;
        else if (!key->text().isEmpty()) ascii = key->text().at(0).unicode();
        // Keys without a character (arrows, Delete) move and edit as usual.
        if (!ascii) return Form::eventFilter(watched, event);
        Text1_KeyPress(ascii);
        if (ascii == 0) return true;
    }
    return Form::eventFilter(watched, event);
}

void Frm合同到期提醒::AdjustColWidth(const QWidget& frm, FlexGrid& grid, const QVariant& unused, double extra)
{
    Q_UNUSED(unused);
    WidestText widest(frm.font(), std::max(grid.Cols(), 0));
    for (int c = 0; c < grid.Cols(); ++c) {
        if (grid.ColWidth(c) == 0) continue;
        if (grid.Rows() > 0) grid.forEachText(c, 0, grid.Rows() - 1, [&](QStringView t) { widest.add(c, t); });
        grid.setColWidth(c, int(std::ceil(widest.widest(c) + extra + 250)));
    }
}

}  // namespace corvane
