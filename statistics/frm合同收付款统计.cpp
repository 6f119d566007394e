#include "statistics/frm合同收付款统计.h"

#include <QEvent>
#include <QResizeEvent>
#include <QTabBar>
#include <QTimer>

#include "app/Helpers.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "statistics/DepartmentTreeView.h"
#include "statistics/StatisticsStore.h"

namespace corvane {

using namespace statistics;

frm合同收付款统计::frm合同收付款统计()
{
    buildLayout();
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    Picture3->installEventFilter(this);
    SSTab1->installEventFilter(this);
}

void frm合同收付款统计::Form_Load()
{
    DTPicker1->setDate(Today());
    DTPicker2->setDate(Today());
    StatusBar1_Panels[0]->setText(Today().toString(QStringLiteral("yyyy-MM-dd")));
    StatusBar1_Panels[1]->setText(Now().time().toString(QStringLiteral("HH:mm")));
}

void frm合同收付款统计::Form_Activate()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    if (m_treeLoaded) return;
    m_treeLoaded = true;
    加载部门树();
}

void frm合同收付款统计::加载部门树()
{
    loadDepartmentScope(TreeView1, m_nodes, {SiblingOrder::Code, true, true});
    TreeView1->expandAll();
}

void frm合同收付款统计::Check1_Click()
{
    const Qt::CheckState state = Check1->isChecked() ? Qt::Checked : Qt::Unchecked;
    for (QTreeWidgetItem* item : allItems(TreeView1)) item->setCheckState(0, state);
}

void frm合同收付款统计::Command1_Click()
{
    if (SSTab1->currentIndex() == 0)
        统计收款计划();
    else
        统计付款计划();
}

void frm合同收付款统计::统计收款计划()
{
    if (统计(true)) Picture2->hide();
}

void frm合同收付款统计::统计付款计划() { 统计(false); }

bool frm合同收付款统计::统计(bool receipt)
{
    const QStringList departments = tickedDepartments(TreeView1);
    if (departments.isEmpty()) {
        MsgBox(QStringLiteral("请选择部门!"), vbOKOnly);
        return false;
    }
    FlexGrid* grid = receipt ? MSFlexGrid1 : MSFlexGrid2;
    WaitCursor wait;
    grid->setRows(1);
    DbError error;
    {
        FlexGridFill fill(*grid);
        int number = 0;
        // A contract's columns are made once for all its instalments.
        std::array<QString, 8> contract;
        error = readInstalments(receipt, departments, DTPicker1->date(), DTPicker2->date(),
                                [&](const InstalmentValues& v) {
                                    fill.row();
                                    fill.text(0, QString::number(++number));
                                    if (v.newContract) contract = instalmentContractTexts(v);
                                    for (int c = 0; c < 8; ++c) fill.text(c + 1, contract[size_t(c)]);
                                    const auto own = instalmentOwnTexts(receipt, v);
                                    for (int c = 0; c < 3; ++c) fill.text(c + 9, own[size_t(c)]);
                                });
    }
    if (error.isValid()) {
        ShowStandardError(error.number, error.description);
        return false;
    }
    grid->setMergeCells(flexMergeRestrictColumns);
    for (int c = 1; c <= 8; ++c) grid->setMergeCol(c, true);
    FitGridColWidth(*grid, *this);
    return true;
}

void frm合同收付款统计::Command2_Click()
{
    FlexGrid* grid = SSTab1->currentIndex() == 0 ? MSFlexGrid1 : MSFlexGrid2;
    const QString day = QStringLiteral("yyyy-MM-dd");
    handGridToExcel(grid, QStringLiteral("合同收款情况统计"),
                    QStringLiteral("统计日期范围：") + DTPicker1->date().toString(day) + QStringLiteral("至") +
                        DTPicker2->date().toString(day));
}

void frm合同收付款统计::Command3_Click() { Picture2->hide(); }
void frm合同收付款统计::Command4_Click() { Unload(); }

void frm合同收付款统计::Command5_Click()
{
    if (Picture2->isVisible()) {
        Picture2->hide();
        return;
    }
    Picture2->move(std::max(0, (width() - Picture2->width()) / 2), std::max(0, (height() - Picture2->height()) / 2));
    Picture2->show();
    Picture2->raise();
}

void frm合同收付款统计::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

void frm合同收付款统计::Form_Resize()
{
    const int W = pixelsToTwips(width()), H = pixelsToTwips(height());
    const int bar = pixelsToTwips(StatusBar1->sizeHint().height());
    StatusBar1->setGeometry(0, height() - px(bar), width(), px(bar));
    const int tabHeight = H - bar - pixelsToTwips(Picture3->height()) - 30;
    if (tabHeight <= 400 || W <= 70) return;  // minimised
    SSTab1->setGeometry(0, 0, px(W - 20), px(tabHeight));
    Picture3->setGeometry(0, SSTab1->y() + SSTab1->height(), px(W - 20), Picture3->height());
    // The grids fill their pages, below the tab bar; a page not shown yet has
    // no size of its own to go by.
    const int pageWidth = SSTab1->width() - 4, pageHeight = SSTab1->height() - SSTab1->tabBar()->sizeHint().height() - 4;
    for (FlexGrid* g : {MSFlexGrid1, MSFlexGrid2})
        g->resize(std::max(px(50), std::min(px(W - 20 - 50), pageWidth - 2 * g->x())),
                  std::max(px(50), std::min(px(tabHeight - 400), pageHeight - 2 * g->y())));
}

void frm合同收付款统计::Picture3_Resize()
{
    const int width = pixelsToTwips(Picture3->width());
    const int command4 = width - pixelsToTwips(Command4->width()) - 120;
    const int command2 = command4 - pixelsToTwips(Command2->width()) - 20;
    const int command5 = command2 - pixelsToTwips(Command5->width()) - 20;
    Command4->move(px(command4), Command4->y());
    Command2->move(px(command2), Command2->y());
    Command5->move(px(command5), Command5->y());
}

bool frm合同收付款统计::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == Picture3) Picture3_Resize();
        if (watched == SSTab1) QTimer::singleShot(0, this, [this] { Form_Resize(); });
    }
    return Form::eventFilter(watched, event);
}

}  // namespace corvane
