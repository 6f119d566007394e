#include <QHeaderView>

#include "platform/Widgets.h"
#include "statistics/frm合同收付款统计.h"

// The window's controls and their geometry in twips.

namespace corvane {

namespace {

const QString kReceiptFormat = QStringLiteral(
    "序|<合同编号|<合同名称|<合同类型|<合同状态|<合同生效日期|<合同终止日期|>合同金额|>已收金额|<计划收款日期|"
    ">计划收款金额|>应收余额");
const QString kPaymentFormat = QStringLiteral(
    "序|<合同编号|<合同名称|<合同类型|<合同状态|<合同生效日期|<合同终止日期|>合同金额|>已付金额|<计划付款日期|"
    ">计划付款金额|>应付余额");

FlexGrid* grid(QWidget* page, const QString& name, const QString& format)
{
    auto* g = named(new FlexGrid(page), name);
    g->setFormatString(format);
    g->setRows(1);
    g->setMergeCells(flexMergeRestrictColumns);
    for (int c = 1; c <= 8; ++c) g->setMergeCol(c, true);
    g->move(px(20), px(20));
    return g;
}

}  // namespace

void frm合同收付款统计::buildLayout()
{
    setObjectName(QStringLiteral("frm合同收付款统计"));
    setCaption(QStringLiteral("合同汇总统计"));
    useLayoutFace(this);
    resize(px(12000), px(8000));

    SSTab1 = named(new QTabWidget(this), QStringLiteral("SSTab1"));
    auto* receipts = new QWidget;
    auto* payments = new QWidget;
    SSTab1->addTab(receipts, QStringLiteral("  合同收款统计  "));
    SSTab1->addTab(payments, QStringLiteral("  合同付款统计  "));
    MSFlexGrid1 = grid(receipts, QStringLiteral("MSFlexGrid1"), kReceiptFormat);
    MSFlexGrid2 = grid(payments, QStringLiteral("MSFlexGrid2"), kPaymentFormat);

    Picture3 = named(new QFrame(this), QStringLiteral("Picture3"));
    Picture3->resize(px(12000), px(600));
    Command5 = button(Picture3, QStringLiteral("Command5"), QStringLiteral("统计条件"));
    Command2 = button(Picture3, QStringLiteral("Command2"), QStringLiteral("输出EXCEL"));
    Command4 = button(Picture3, QStringLiteral("Command4"), QStringLiteral("退出"));
    for (QPushButton* b : {Command5, Command2, Command4}) place(b, 0, 90, 1300, 420);

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        StatusBar1_Panels[size_t(i)] = named(new QLabel(StatusBar1), QStringLiteral("Panel%1").arg(i + 1));
        StatusBar1->addPermanentWidget(StatusBar1_Panels[size_t(i)]);
    }

    // ---- criteria panel, floating over the grids
    Picture2 = named(new QFrame(this), QStringLiteral("Picture2"));
    Picture2->setFrameShape(QFrame::Panel);
    Picture2->setFrameShadow(QFrame::Raised);
    Picture2->setAutoFillBackground(true);
    place(Picture2, 0, 0, 5400, 6600);
    Label5 = named(new QLabel(QStringLiteral(" 统计条件"), Picture2), QStringLiteral("Label5"));
    place(Label5, 0, 0, 5400, 300);
    Label5->setAutoFillBackground(true);
    Label5->setStyleSheet(QStringLiteral("background-color: #003c74; color: white;"));

    Picture1 = named(new QFrame(Picture2), QStringLiteral("Picture1"));
    place(Picture1, 120, 420, 5160, 420);
    Label2 = named(new QLabel(QStringLiteral("统计日期"), Picture1), QStringLiteral("Label2"));
    place(Label2, 0, 60, 1000, 300);
    DTPicker1 = named(new QDateEdit(Picture1), QStringLiteral("DTPicker1"));
    place(DTPicker1, 1050, 30, 1800, 330);
    Label3 = named(new QLabel(QStringLiteral("至"), Picture1), QStringLiteral("Label3"));
    place(Label3, 2930, 60, 300, 300);
    DTPicker2 = named(new QDateEdit(Picture1), QStringLiteral("DTPicker2"));
    place(DTPicker2, 3300, 30, 1800, 330);
    for (QDateEdit* d : {DTPicker1, DTPicker2}) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
    }

    Label1 = named(new QLabel(QStringLiteral("部门"), Picture2), QStringLiteral("Label1"));
    place(Label1, 120, 960, 800, 300);
    Check1 = named(new QCheckBox(QStringLiteral("全部"), Picture2), QStringLiteral("Check1"));
    place(Check1, 4280, 960, 1000, 300);
    TreeView1 = named(new QTreeWidget(Picture2), QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    place(TreeView1, 120, 1290, 5160, 4600);

    Command1 = button(Picture2, QStringLiteral("Command1"), QStringLiteral("统计"));
    place(Command1, 2600, 6030, 1245, 420);
    Command3 = button(Picture2, QStringLiteral("Command3"), QStringLiteral("关闭"));
    place(Command3, 4035, 6030, 1245, 420);
    Picture2->hide();
    addClosablePanel(Picture2, Command3);  // Esc closes it as 关闭 does
}

}  // namespace corvane
