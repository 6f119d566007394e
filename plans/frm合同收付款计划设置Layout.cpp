// The control tree of the instalment plan window, geometry in twips.

#include <QButtonGroup>

#include "plans/frm合同收付款计划设置.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
              int height = 255)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top, width, height);
    return l;
}

QLineEdit* line(QWidget* parent, const QString& name, int left, int top, int width, int maxLength = 0)
{
    auto* e = named(new QLineEdit(parent), name);
    applyLineRules(e, maxLength);
    place(e, left, top, width, 300);
    return e;
}

QDateEdit* picker(QWidget* parent, const QString& name, int left, int top)
{
    auto* d = named(new QDateEdit(parent), name);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    d->setDateRange(frm合同收付款计划设置::noDate(), QDate(9999, 12, 31));
    d->setDate(frm合同收付款计划设置::noDate());
    place(d, left, top, 1500, 300);
    return d;
}

QGroupBox* groupBox(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width, int height)
{
    auto* g = named(new QGroupBox(caption, parent), name);
    place(g, left, top, width, height);
    return g;
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* o = named(new QRadioButton(caption, parent), name);
    place(o, left, top, width, 300);
    return o;
}

}  // namespace

void frm合同收付款计划设置::buildLayout()
{
    setObjectName(QStringLiteral("frm合同收付款计划设置"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(9720), px(6540));
    useLayoutFace(this);

    // ---- plan area
    Label1 = label(this, QStringLiteral("Label1"), QString(), 120, 150, 6000);
    Label13[0] = label(this, QStringLiteral("Label13_0"), QStringLiteral("合同金额："), 6240, 150, 1000);
    Label13[1] = label(this, QStringLiteral("Label13_1"), QString(), 7260, 150, 2300);
    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 120, 480, 9480, 3300);

    Frame1 = groupBox(this, QStringLiteral("Frame1"), QStringLiteral("收款信息"), 120, 3900, 6600, 2520);
    Label2 = label(Frame1, QStringLiteral("Label2"), QStringLiteral("收款日期"), 120, 360, 900);
    DTPicker1 = picker(Frame1, QStringLiteral("DTPicker1"), 1050, 330);
    Label3 = label(Frame1, QStringLiteral("Label3"), QStringLiteral("收款金额"), 2700, 360, 900);
    Text1 = line(Frame1, QStringLiteral("Text1"), 3600, 330, 1200, 20);
    Label4 = label(Frame1, QStringLiteral("Label4"), QStringLiteral("余额"), 4920, 360, 500);
    Text2 = line(Frame1, QStringLiteral("Text2"), 5400, 330, 1080, 20);
    Label5 = label(Frame1, QStringLiteral("Label5"), QStringLiteral("收款条件"), 120, 780, 900);
    Text3 = named(new TextBox(Frame1, true), QStringLiteral("Text3"));
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(Text3, 1050, 750, 5430, 1620);

    const auto cmd = [this](const QString& name, const QString& caption, int left, int top) {
        auto* b = button(this, name, caption);
        place(b, left, top, 1320, 420);
        return b;
    };
    Command2 = cmd(QStringLiteral("Command2"), QStringLiteral("新增计划"), 6900, 4020);
    Command1 = cmd(QStringLiteral("Command1"), QStringLiteral("计划确定"), 8280, 4020);
    Command3 = cmd(QStringLiteral("Command3"), QStringLiteral("计划删除"), 6900, 4620);
    Command9 = cmd(QStringLiteral("Command9"), QStringLiteral("清空计划"), 8280, 4620);
    Command8 = cmd(QStringLiteral("Command8"), QStringLiteral("计划保存"), 6900, 5220);
    Command5 = cmd(QStringLiteral("Command5"), QStringLiteral("自动生成计划"), 8280, 5220);
    Command4 = cmd(QStringLiteral("Command4"), QStringLiteral("关闭"), 8280, 5880);

    // ---- generator panel, over the plan area
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAutoFillBackground(true);
    place(Picture1, 120, 480, 9480, 5940);

    label(Picture1, QStringLiteral("Label7"), QStringLiteral("起始"), 120, 180, 450);
    DTPicker2 = picker(Picture1, QStringLiteral("DTPicker2"), 600, 150);
    label(Picture1, QStringLiteral("Label8"), QStringLiteral("终止"), 2280, 180, 450);
    DTPicker3 = picker(Picture1, QStringLiteral("DTPicker3"), 2760, 150);
    label(Picture1, QStringLiteral("Label9"), QStringLiteral("总金额"), 4440, 180, 700);
    Text8 = line(Picture1, QStringLiteral("Text8"), 5160, 150, 1800, 20);
    Text8->setText(QStringLiteral("0"));

    Frame3 = groupBox(Picture1, QStringLiteral("Frame3"), QStringLiteral("收/付款方式"), 120, 540, 9240, 4740);
    Option4[0] = option(Frame3, QStringLiteral("Option4_0"), QStringLiteral("每次相同金额"), 120, 300, 1700);
    Option4[1] = option(Frame3, QStringLiteral("Option4_1"), QStringLiteral("按比例确定每次金额"), 1920, 300, 2200);
    Option4[2] = option(Frame3, QStringLiteral("Option4_2"), QStringLiteral("按周期计算次数和金额"), 4200, 300, 2400);
    Option4[3] = option(Frame3, QStringLiteral("Option4_3"), QStringLiteral("长期合同"), 6720, 300, 1300);
    auto* modes = new QButtonGroup(Frame3);
    for (QRadioButton* o : Option4) modes->addButton(o);

    Label6[0] = label(Frame3, QStringLiteral("Label6_0"), QStringLiteral("计划次数"), 120, 750, 850);
    Text4 = line(Frame3, QStringLiteral("Text4"), 1000, 720, 600, 6);
    Text4->setText(QStringLiteral("1"));
    Label6[4] = label(Frame3, QStringLiteral("Label6_4"), QStringLiteral("付款日期"), 1740, 750, 850);
    Text10 = line(Frame3, QStringLiteral("Text10"), 2620, 720, 500, 4);
    Text10->setText(QStringLiteral("25"));
    Combo1 = named(new QComboBox(Frame3), QStringLiteral("Combo1"));
    Combo1->addItems({QStringLiteral("元"), QStringLiteral("角"), QStringLiteral("分")});
    place(Combo1, 3240, 720, 720, 300);
    Check1 = named(new QCheckBox(QStringLiteral("最后一次收/付款补差"), Frame3), QStringLiteral("Check1"));
    place(Check1, 4080, 720, 2400, 300);
    Check2 = named(new QCheckBox(QStringLiteral("先做后付"), Frame3), QStringLiteral("Check2"));
    place(Check2, 6600, 720, 1300, 300);

    frame4 = groupBox(Frame3, QStringLiteral("frame4"), QStringLiteral("比例设置"), 120, 1140, 9000, 1200);
    Text7 = line(frame4, QStringLiteral("Text7"), 120, 300, 8760);
    Label11[0] = label(frame4, QStringLiteral("Label11_0"),
                       QStringLiteral("示例：如果采用09年1月8日为30%，09年4月10日为40%和09年12月18日为30%的方式支付，"
                                      "则输入30[20090108]/40[20090408]/30[20091218]"),
                       120, 660, 8760, 480);
    Label11[0]->setWordWrap(true);

    Frame2 = groupBox(Frame3, QStringLiteral("Frame2"), QStringLiteral("周期"), 120, 2460, 4560, 2160);
    Option1[0] = option(Frame2, QStringLiteral("Option1_0"), QStringLiteral("按月"), 120, 270, 800);
    Option1[1] = option(Frame2, QStringLiteral("Option1_1"), QStringLiteral("按季度"), 960, 270, 960);
    Option1[2] = option(Frame2, QStringLiteral("Option1_2"), QStringLiteral("按年"), 1980, 270, 800);
    Option1[3] = option(Frame2, QStringLiteral("Option1_3"), QStringLiteral("控制节点"), 2820, 270, 1200);
    auto* periods = new QButtonGroup(Frame2);
    for (int i = 0; i < 4; ++i) periods->addButton(Option1[size_t(i)]);
    List1 = named(new QListWidget(Frame2), QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List1, 120, 630, 1980, 1410);
    Label11[1] = label(Frame2, QStringLiteral("Label11_1"), QStringLiteral("请输入所选节点的收付比例"), 2220, 630, 2220);
    Text9 = line(Frame2, QStringLiteral("Text9"), 2220, 930, 2220);
    Label11[2] = label(Frame2, QStringLiteral("Label11_2"), QStringLiteral("20/70/10表示三次付款比例为20%、70%和10%"),
                       2220, 1290, 2220, 750);
    Label11[2]->setWordWrap(true);

    Frame5 = groupBox(Frame3, QStringLiteral("Frame5"), QStringLiteral("计划设置"), 4800, 2460, 4320, 2160);
    Option1[7] = option(Frame5, QStringLiteral("Option1_7"), QStringLiteral("按月"), 120, 270, 800);
    Option1[6] = option(Frame5, QStringLiteral("Option1_6"), QStringLiteral("按季度"), 960, 270, 960);
    Option1[5] = option(Frame5, QStringLiteral("Option1_5"), QStringLiteral("按年"), 1980, 270, 800);
    auto* steps = new QButtonGroup(Frame5);
    for (int i : {5, 6, 7}) steps->addButton(Option1[size_t(i)]);
    Label11[4] = label(Frame5, QStringLiteral("Label11_4"), QStringLiteral("起始日期"), 120, 690, 900);
    DTPicker4 = picker(Frame5, QStringLiteral("DTPicker4"), 1260, 660);
    Label6[2] = label(Frame5, QStringLiteral("Label6_2"), QStringLiteral("计划每次金额"), 120, 1110, 1140);
    Text5 = line(Frame5, QStringLiteral("Text5"), 1260, 1080, 1500, 20);
    Label6[3] = label(Frame5, QStringLiteral("Label6_3"), QStringLiteral("（元）"), 2820, 1110, 700);
    Label6[1] = label(Frame5, QStringLiteral("Label6_1"), QStringLiteral("计划次数"), 120, 1530, 1140);
    Text6 = line(Frame5, QStringLiteral("Text6"), 1260, 1500, 800, 6);
    Text6->setText(QStringLiteral("1"));

    Command6 = button(Picture1, QStringLiteral("Command6"), QStringLiteral("生成计划"));
    place(Command6, 6600, 5400, 1320, 420);
    Command7 = button(Picture1, QStringLiteral("Command7"), QStringLiteral("取消"));
    place(Command7, 8040, 5400, 1320, 420);

    // Starting states: 按比例 chosen, its settings alone enabled; 按月 in
    // both step groups; the panel hidden.
    Option4[1]->setChecked(true);
    Option1[0]->setChecked(true);
    Option1[7]->setChecked(true);
    Label6[0]->setEnabled(false);
    Text4->setEnabled(false);
    Text10->setEnabled(false);
    Check1->setEnabled(false);
    Frame2->setEnabled(false);
    Frame5->setEnabled(false);
    List1->setEnabled(false);
    Text9->setEnabled(false);
    Picture1->hide();
    // Esc closes the generator panel as its 取消 does.
    addClosablePanel(Picture1, Command7);
}

}  // namespace corvane
