#include <QHeaderView>

#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"
#include "statistics/frm合同汇总统计.h"

// The window's controls and their geometry in twips.

namespace corvane {

namespace {

const QString kSummaryFormat = QStringLiteral("序|<合同类别|<职能部门名称  |>合同数量|>合同金额 |^明细   ");
const QString kDetailFormat = QStringLiteral(
    "序|<合同类别  |<职能部门名称  |<合同编号  |<合同名称|合同类型|<对方单位|<合同起始日期|<合同签订日期  |"
    "<合同终止日期  |<合同状态  |>合同金额  |^明细   ");

QCheckBox* check(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* c = named(new QCheckBox(caption, parent), name);
    place(c, left, top, width, 300);
    return c;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top, width, 300);
    return l;
}

QDateEdit* picker(QWidget* parent, const QString& name, int left, int top)
{
    auto* d = named(new QDateEdit(parent), name);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    place(d, left, top, 1560, 330);
    return d;
}

QTreeWidget* tree(QWidget* parent, const QString& name)
{
    auto* t = named(new QTreeWidget(parent), name);
    t->setHeaderHidden(true);
    t->setColumnCount(1);
    t->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->header()->setStretchLastSection(false);
    return t;
}

QGroupBox* choicePanel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* f = named(new QGroupBox(caption, parent), name);
    f->setAutoFillBackground(true);
    return f;
}

}  // namespace

void frm合同汇总统计::buildLayout()
{
    setObjectName(QStringLiteral("frm合同汇总统计"));
    setCaption(QStringLiteral("合同汇总统计"));
    useLayoutFace(this);
    resize(px(12000), px(8000));

    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setFormatString(kSummaryFormat);
    MSFlexGrid1->setFixedCols(0);

    Frame3 = named(new QFrame(this), QStringLiteral("Frame3"));
    Frame3->setFrameShape(QFrame::NoFrame);
    Frame3->resize(px(12000), px(600));
    Command1 = button(Frame3, QStringLiteral("Command1"), QStringLiteral("统计条件"));
    Command3 = button(Frame3, QStringLiteral("Command3"), QStringLiteral("输出到Excel"));
    Command2 = button(Frame3, QStringLiteral("Command2"), QStringLiteral("退出"));
    for (QPushButton* b : {Command1, Command3, Command2}) place(b, 0, 90, 1400, 420);

    Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("…"));
    Command5->hide();

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->resize(px(12000), px(375));
    for (int i = 0; i < 3; ++i) {
        StatusBar1_Panels[size_t(i)] = named(new QLabel(StatusBar1), QStringLiteral("Panel%1").arg(i + 1));
        StatusBar1->addWidget(StatusBar1_Panels[size_t(i)], i == 0 ? 3 : 1);
    }

    // ---- detail panel
    Picture2 = named(new QFrame(this), QStringLiteral("Picture2"));
    Picture2->setFrameShape(QFrame::Panel);
    Picture2->setAutoFillBackground(true);
    Label6 = named(new QLabel(QStringLiteral("合同汇总统计明细"), Picture2), QStringLiteral("Label6"));
    place(Label6, 10, 60, 6000, 300);
    MSFlexGrid2 = named(new FlexGrid(Picture2), QStringLiteral("MSFlexGrid2"));
    MSFlexGrid2->setFormatString(kDetailFormat);
    Command8 = button(Picture2, QStringLiteral("Command8"), QStringLiteral("导出明细"));
    Command4 = button(Picture2, QStringLiteral("Command4"), QStringLiteral("关闭"));
    for (QPushButton* b : {Command8, Command4}) place(b, 0, 0, 1245, 420);
    Command7 = button(Picture2, QStringLiteral("Command7"), QStringLiteral("…"));
    Command7->hide();
    Picture2->hide();

    // ---- criteria panel
    Picture7 = named(new QFrame(this), QStringLiteral("Picture7"));
    Picture7->setFrameShape(QFrame::Panel);
    Picture7->setFrameShadow(QFrame::Raised);
    Picture7->setAutoFillBackground(true);
    Picture7->resize(px(7725), px(6975));
    Label2 = label(Picture7, QStringLiteral("Label2"), QStringLiteral("统计条件"), 0, 0, 7725);
    Label2->setAutoFillBackground(true);
    Label2->setStyleSheet(QStringLiteral("background-color: #003c74; color: white; padding-left: 4px;"));

    Label1[11] = label(Picture7, QStringLiteral("Label1_11"), QStringLiteral("部门列表："), 120, 420, 980);
    Check4 = check(Picture7, QStringLiteral("Check4"), QStringLiteral("下级联动"), 1100, 420, 1060);
    Check1 = check(Picture7, QStringLiteral("Check1"), QStringLiteral("全部"), 2190, 420, 720);
    TreeView1 = tree(Picture7, QStringLiteral("TreeView1"));
    place(TreeView1, 120, 780, 2800, 5400);

    Label1[1] = label(Picture7, QStringLiteral("Label1_1"), QStringLiteral("合同类别列表："), 3040, 420, 1500);
    Check2 = check(Picture7, QStringLiteral("Check2"), QStringLiteral("全部"), 4640, 420, 900);
    TreeView2 = tree(Picture7, QStringLiteral("TreeView2"));
    place(TreeView2, 3040, 780, 4565, 2100);

    Frame1 = named(new QGroupBox(QStringLiteral("汇总类型"), Picture7), QStringLiteral("Frame1"));
    place(Frame1, 3040, 2940, 4565, 660);
    Option1 = named(new QRadioButton(QStringLiteral("按部门"), Frame1), QStringLiteral("Option1"));
    place(Option1, 120, 270, 1150, 300);
    Option2 = named(new QRadioButton(QStringLiteral("按对方单位"), Frame1), QStringLiteral("Option2"));
    place(Option2, 1450, 270, 1500, 300);
    Option3 = named(new QRadioButton(QStringLiteral("按合同类别"), Frame1), QStringLiteral("Option3"));
    place(Option3, 3050, 270, 1450, 300);
    Option1->setChecked(true);

    Label3 = label(Picture7, QStringLiteral("Label3"), QStringLiteral("*"), 2930, 3750, 110);
    Label3->setStyleSheet(QStringLiteral("color: red;"));
    Check3 = check(Picture7, QStringLiteral("Check3"), QStringLiteral("合同状态"), 3040, 3750, 1120);
    Text3 = named(new QLineEdit(Picture7), QStringLiteral("Text3"));
    place(Text3, 4190, 3735, 3080, 330);
    Text3->setReadOnly(true);
    Command14 = named(new QToolButton(Picture7), QStringLiteral("Command14"));
    Command14->setArrowType(Qt::UpArrow);
    place(Command14, 7275, 3735, 330, 330);

    Check6 = check(Picture7, QStringLiteral("Check6"), QStringLiteral("起始日期"), 3040, 4215, 1120);
    DTPicker1 = picker(Picture7, QStringLiteral("DTPicker1"), 4190, 4200);
    Label1[2] = label(Picture7, QStringLiteral("Label1_2"), QStringLiteral("至"), 5800, 4215, 240);
    DTPicker2 = picker(Picture7, QStringLiteral("DTPicker2"), 6045, 4200);

    Check9 = check(Picture7, QStringLiteral("Check9"), QStringLiteral("终止日期"), 3040, 4680, 1120);
    DTPicker3 = picker(Picture7, QStringLiteral("DTPicker3"), 4190, 4665);
    Label1[3] = label(Picture7, QStringLiteral("Label1_3"), QStringLiteral("至"), 5800, 4680, 240);
    DTPicker4 = picker(Picture7, QStringLiteral("DTPicker4"), 6045, 4665);

    Check7 = check(Picture7, QStringLiteral("Check7"), QStringLiteral("对方单位"), 3040, 5145, 1120);
    Text1 = named(new QLineEdit(Picture7), QStringLiteral("Text1"));
    place(Text1, 4190, 5130, 3080, 330);
    Text1->setReadOnly(true);
    Command12 = named(new QToolButton(Picture7), QStringLiteral("Command12"));
    Command12->setArrowType(Qt::UpArrow);
    place(Command12, 7275, 5130, 330, 330);

    Command10 = button(Picture7, QStringLiteral("Command10"), QStringLiteral("确定"));
    place(Command10, 4880, 6360, 1245, 420);
    Command9 = button(Picture7, QStringLiteral("Command9"), QStringLiteral("关闭"));
    place(Command9, 6360, 6360, 1245, 420);

    // The two choice panels open upwards from their boxes, over the type tree.
    Frame4 = choicePanel(Picture7, QStringLiteral("Frame4"), QStringLiteral("选择合同状态"));
    place(Frame4, 3040, 720, 4565, 3000);
    List1 = named(new QListWidget(Frame4), QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List1, 120, 300, 4325, 2100);
    Check5 = check(Frame4, QStringLiteral("Check5"), QStringLiteral("全选"), 120, 2535, 900);
    Command11 = button(Frame4, QStringLiteral("Command11"), QStringLiteral("确定"));
    place(Command11, 2225, 2490, 1050, 390);
    Command13 = button(Frame4, QStringLiteral("Command13"), QStringLiteral("取消"));
    place(Command13, 3395, 2490, 1050, 390);
    Frame4->hide();

    Frame2 = choicePanel(Picture7, QStringLiteral("Frame2"), QStringLiteral("选择对方单位"));
    place(Frame2, 3040, 1600, 4565, 3500);
    Label1[0] = label(Frame2, QStringLiteral("Label1_0"), QStringLiteral("模糊查找："), 120, 330, 1050);
    Text2 = named(new QLineEdit(Frame2), QStringLiteral("Text2"));
    // Searched for within 合同信息.对方单位: a longer text finds nothing.
    applyLineRules(Text2, schema::textLength(QStringLiteral("合同信息"), QStringLiteral("对方单位")));
    place(Text2, 1185, 315, 3260, 330);
    List2 = named(new QListWidget(Frame2), QStringLiteral("List2"));
    List2->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List2, 120, 750, 4325, 2200);
    Command6 = button(Frame2, QStringLiteral("Command6"), QStringLiteral("确定"));
    place(Command6, 3395, 3020, 1050, 390);
    Frame2->hide();

    Picture7->hide();
    // Esc closes the panel on show as its 关闭 does.
    addClosablePanel(Picture7, Command9);
    addClosablePanel(Frame4, Command13);
    addClosablePanel(Picture2, Command4);
}

}  // namespace corvane
