#include "contracts/Frm合同信息.h"

#include <QLocale>

#include "app/LoginStatusBar.h"
#include "platform/Widgets.h"

// The window's control tree and its geometry, in twips as the old window
// laid it out for a nine-point face on a 96 dpi screen.

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width = 960)
{
    auto* l = named(new QLabel(caption, parent), name);
    // Placed a little below its box's top, the caption lines up with the box's text.
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(px(left), px(top), px(width), px(315));
    return l;
}

// A pop-up panel of the window: a hidden raised frame that its button shows.
QFrame* popUpPanel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                   QFrame::Shadow shadow = QFrame::Raised)
{
    auto* panel = named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(shadow);
    panel->setAutoFillBackground(true);
    place(panel, left, top, width, height);
    return panel;
}

// The month calendar of the old window: Chinese month and day names, no week numbers.
void chineseCalendar(QCalendarWidget* calendar)
{
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setFirstDayOfWeek(Qt::Sunday);
}

}  // namespace

Frm合同信息::Frm合同信息()
{
    setObjectName(QStringLiteral("Frm合同信息"));
    setCaption(QStringLiteral("合同信息"));
    useLayoutFace(this);
    resize(px(10200), px(11400));

    buildBar();
    Picture2 = named(new QFrame(this), QStringLiteral("Picture2"));
    place(Picture2, 60, 60, 9900, 10000);
    Picture3 = named(new QFrame(Picture2), QStringLiteral("Picture3"));
    Picture3->setFrameShape(QFrame::Box);
    place(Picture3, 0, 30, 9795, 9900);
    buildSheet();
    buildStateFrame();
    buildAttachments();
    buildPickers();
    buildRenewalPanel();
    connectEvents();
    applyInputRules();

    // The controls as the window is created.
    for (QWidget* w : {static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3), static_cast<QWidget*>(Command5),
                       static_cast<QWidget*>(Command9), static_cast<QWidget*>(Command10), static_cast<QWidget*>(Command16),
                       static_cast<QWidget*>(Command18), static_cast<QWidget*>(Command19), static_cast<QWidget*>(Command20),
                       static_cast<QWidget*>(Command31), static_cast<QWidget*>(Command11), static_cast<QWidget*>(Command8)})
        w->setEnabled(false);
    Command10->hide();
    for (QPushButton* b : {Command12, Command13, Command14, Command15, Command26}) b->hide();
    Label1[16]->hide();
    List1->hide();
    Check1->setChecked(false);
    Check2->setChecked(true);
    Text1[1]->setText(kAskNumber);
}

void Frm合同信息::buildBar()
{
    StatusBar1 = new LoginStatusBar(this);
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setFixedHeight(px(450));
    Label1[15] = label(Picture1, QStringLiteral("Label1_15"), QStringLiteral("部门"), 120, 75, 450);
    Text3 = named(new QLineEdit(Picture1), QStringLiteral("Text3"));
    Text3->setReadOnly(true);
    place(Text3, 600, 60, 2800, 315);
    Picture5 = named(new QFrame(Picture1), QStringLiteral("Picture5"));
    place(Picture5, 3600, 30, 5 * 1260, 390);
    Command2 = button(Picture5, QStringLiteral("Command2"), QStringLiteral("确定"));
    Command9 = button(Picture5, QStringLiteral("Command9"), QStringLiteral("提交"));
    Command3 = button(Picture5, QStringLiteral("Command3"), QStringLiteral("删除"));
    Command10 = button(Picture5, QStringLiteral("Command10"), QStringLiteral("作废"));
    Command6 = button(Picture5, QStringLiteral("Command6"), QStringLiteral("退出"));
    int left = 0;
    for (QPushButton* b : {Command2, Command9, Command3, Command10, Command6}) {
        place(b, left, 15, 1200, 360);
        left += 1260;
    }
}

void Frm合同信息::buildSheet()
{
    QWidget* s = Picture3;
    auto box = [&](int i, int left, int top, int width, int height = 315, bool multi = false) {
        Text1[size_t(i)] = named(new TextBox(s, multi), QStringLiteral("Text1_%1").arg(i));
        place(Text1[size_t(i)], left, top, width, height);
    };
    // A thin frame drawn around a box (and its button); the box inside has
    // no border of its own, as on the old sheet.
    auto frameAround = [&](int i, TextBox* inside, int width) {
        QWidget* parent = inside->parentWidget();
        Shape1[size_t(i)] = named(new QFrame(parent), QStringLiteral("Shape1_%1").arg(i));
        Shape1[size_t(i)]->setFrameShape(QFrame::Box);
        const QRect r = inside->geometry();
        Shape1[size_t(i)]->setGeometry(r.x() - 1, r.y() - 1, px(width), r.height() + 2);
        Shape1[size_t(i)]->lower();
        inside->setFrameShape(QFrame::NoFrame);
    };

    Label1[38] = label(s, QStringLiteral("Label1_38"), QStringLiteral("合同名称"), 120, 150);
    // Two lines high: a long name wraps, and names may hold line breaks.
    box(0, 1100, 120, 8595, 615, true);
    Text1[0]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frameAround(0, Text1[0], 8625);

    Label1[0] = label(s, QStringLiteral("Label1_0"), QStringLiteral("合同编号"), 120, 885);
    box(1, 1100, 855, 3855);
    frameAround(1, Text1[1], 3885);
    Check1 = named(new QCheckBox(QStringLiteral("采用自动编号"), s), QStringLiteral("Check1"));
    place(Check1, 5100, 855, 1600, 315);
    Label1[16] = label(s, QStringLiteral("Label1_16"), QStringLiteral("对方单位是合格供方"), 6800, 885, 2400);
    Label1[16]->setStyleSheet(QStringLiteral("color: rgb(0, 128, 0);"));

    Label1[1] = label(s, QStringLiteral("Label1_1"), QStringLiteral("对方单位"), 120, 1275);
    box(2, 1100, 1245, 5000);
    Text1[2]->setReadOnly(true);
    frameAround(2, Text1[2], 5030);
    Command1 = button(s, QStringLiteral("Command1"), QStringLiteral("选择合格供方"));
    place(Command1, 6250, 1230, 1650, 345);
    Command4 = button(s, QStringLiteral("Command4"), QStringLiteral("输入对方资料"));
    place(Command4, 8000, 1230, 1650, 345);

    Label1[12] = label(s, QStringLiteral("Label1_12"), QStringLiteral("合同类型"), 120, 1665);
    box(3, 1100, 1635, 3000);
    Text1[3]->setReadOnly(true);
    Command5 = button(s, QStringLiteral("Command5"), QStringLiteral("▼"));
    place(Command5, 4100, 1635, 285, 315);
    frameAround(3, Text1[3], 3315);
    Label1[4] = label(s, QStringLiteral("Label1_4"), QStringLiteral("合同金额"), 4550, 1665, 900);
    box(4, 5450, 1635, 1800);
    frameAround(4, Text1[4], 1830);
    Label1[5] = label(s, QStringLiteral("Label1_5"), QStringLiteral("元"), 7300, 1665, 300);
    Command7 = button(s, QStringLiteral("Command7"), QStringLiteral("收付款计划"));
    place(Command7, 7700, 1620, 1950, 345);

    Label1[2] = label(s, QStringLiteral("Label1_2"), QStringLiteral("合同期"), 120, 2060, 700);
    Label1[21] = label(s, QStringLiteral("Label1_21"), QStringLiteral("从"), 850, 2060, 250);
    box(5, 1100, 2030, 1500);
    frameAround(5, Text1[5], 1830);
    Command13 = button(s, QStringLiteral("Command13"), QStringLiteral("…"));
    place(Command13, 2600, 2030, 300, 315);
    Label1[3] = label(s, QStringLiteral("Label1_3"), QStringLiteral("至"), 2990, 2060, 250);
    box(6, 3250, 2030, 1500);
    frameAround(6, Text1[6], 1830);
    Command14 = button(s, QStringLiteral("Command14"), QStringLiteral("…"));
    place(Command14, 4750, 2030, 300, 315);
    Label1[17] = label(s, QStringLiteral("Label1_17"), QString(), 5150, 2060, 1300);
    Command29 = button(s, QStringLiteral("Command29"), QStringLiteral("使用模板"));
    place(Command29, 6450, 2015, 1200, 345);
    Command17 = button(s, QStringLiteral("Command17"), QStringLiteral("主要条款保存为模板"));
    place(Command17, 7700, 2015, 1950, 345);

    Label1[6] = label(s, QStringLiteral("Label1_6"), QStringLiteral("主要条款"), 120, 2490);
    Label1[22] = label(s, QStringLiteral("Label1_22"), QStringLiteral("或要点"), 120, 2805);
    box(7, 1100, 2460, 8595, 2400, true);

    MonthView1 = named(new QCalendarWidget(s), QStringLiteral("MonthView1"));
    place(MonthView1, 1100, 2400, 4200, 3200);
    chineseCalendar(MonthView1);
    MonthView1->hide();

    List1 = named(new QListWidget(s), QStringLiteral("List1"));
    place(List1, 1085, 2000, 3825, 2325);

    Picture4 = named(new QFrame(s), QStringLiteral("Picture4"));
    place(Picture4, 0, 4900, 9795, 465);
    Label1[7] = label(Picture4, QStringLiteral("Label1_7"), QStringLiteral("对方签字人"), 120, 105);
    Text1[8] = named(new TextBox(Picture4), QStringLiteral("Text1_8"));
    place(Text1[8], 1100, 75, 2400, 315);
    frameAround(7, Text1[8], 2430);
    Label1[8] = label(Picture4, QStringLiteral("Label1_8"), QStringLiteral("本方经办人"), 3700, 105);
    Text1[9] = named(new TextBox(Picture4), QStringLiteral("Text1_9"));
    place(Text1[9], 4700, 75, 2400, 315);
    frameAround(8, Text1[9], 2430);
    Command16 = button(Picture4, QStringLiteral("Command16"), QStringLiteral("设置履行计划"));
    place(Command16, 7700, 45, 1950, 360);
}

void Frm合同信息::buildStateFrame()
{
    Frame1 = named(new QGroupBox(QStringLiteral("合同状态信息"), Picture3), QStringLiteral("Frame1"));
    place(Frame1, 135, 7900, 9525, 1695);
    QWidget* f = Frame1;
    auto box = [&](int i, int left, int top, int width) {
        Text1[size_t(i)] = named(new TextBox(f), QStringLiteral("Text1_%1").arg(i));
        place(Text1[size_t(i)], left, top, width, 315);
    };
    Label1[11] = label(f, QStringLiteral("Label1_11"), QStringLiteral("合同状态："), 120, 330, 960);
    Label1[18] = label(f, QStringLiteral("Label1_18"), QString(), 1100, 330, 2200);
    Label1[9] = label(f, QStringLiteral("Label1_9"), QStringLiteral("签订日期"), 3400, 330, 900);
    box(10, 4300, 300, 1400);
    Text1[10]->setReadOnly(true);
    Command15 = button(f, QStringLiteral("Command15"), QStringLiteral("…"));
    place(Command15, 5700, 300, 300, 315);
    Label1[19] = label(f, QStringLiteral("Label1_19"), QStringLiteral("生效日期"), 6200, 330, 900);
    box(11, 7100, 300, 1400);
    Text1[11]->setReadOnly(true);
    Command26 = button(f, QStringLiteral("Command26"), QStringLiteral("…"));
    place(Command26, 8500, 300, 300, 315);

    Label1[10] = label(f, QStringLiteral("Label1_10"), QStringLiteral("中止日期"), 120, 750, 900);
    box(12, 1100, 720, 1400);
    Text1[12]->setReadOnly(true);
    Command12 = button(f, QStringLiteral("Command12"), QStringLiteral("…"));
    place(Command12, 2500, 720, 300, 315);
    Label1[20] = label(f, QStringLiteral("Label1_20"), QStringLiteral("中止原因"), 3000, 750, 900);
    box(13, 3900, 720, 5400);

    Label[12] = label(f, QStringLiteral("Label_12"), QStringLiteral("续签合同编号"), 120, 1170, 1260);
    box(14, 1400, 1140, 2600);
    Text1[14]->setReadOnly(true);
    Command20 = button(f, QStringLiteral("Command20"), QStringLiteral("续签"));
    place(Command20, 4100, 1125, 800, 345);
    Command31 = button(f, QStringLiteral("Command31"), QStringLiteral("补充"));
    place(Command31, 5000, 1125, 800, 345);
    Check2 = named(new QCheckBox(QStringLiteral("签定即生效"), f), QStringLiteral("Check2"));
    place(Check2, 5900, 1140, 1300, 315);
    Command18 = button(f, QStringLiteral("Command18"), QStringLiteral("合同生效"));
    place(Command18, 7200, 1125, 1050, 345);
    Command19 = button(f, QStringLiteral("Command19"), QStringLiteral("合同中止"));
    place(Command19, 8300, 1125, 1050, 345);
}

void Frm合同信息::buildAttachments()
{
    Frame3 = named(new QGroupBox(QStringLiteral("合同资料或附件"), Picture3), QStringLiteral("Frame3"));
    place(Frame3, 135, 5400, 9525, 2400);
    MSFlexGrid2 = named(new FlexGrid(Frame3), QStringLiteral("MSFlexGrid2"));
    place(MSFlexGrid2, 120, 270, 6900, 2000);
    MSFlexGrid2->setFormatString(QStringLiteral("^序|^附件文件名称                                  |^浏览"));
    Command11 = button(Frame3, QStringLiteral("Command11"), QStringLiteral("添加资料"));
    place(Command11, 7250, 300, 2100, 360);
    Command8 = button(Frame3, QStringLiteral("Command8"), QStringLiteral("删除资料"));
    place(Command8, 7250, 750, 2100, 360);
    Label1[37] = label(Frame3, QStringLiteral("Label1_37"),
                       QStringLiteral("附件支持WORD、PDF、Excel、图片（Jpg、Bmp）格式，建议单个文件大小控制在10M内"), 7250, 1170,
                       2200);
    Label1[37]->setWordWrap(true);
    Label1[37]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1[37]->setFixedHeight(px(1170));

    Picture10 = popUpPanel(Picture3, QStringLiteral("Picture10"), 135, 2460, 9525, 4000, QFrame::Plain);
    MSFlexGrid1 = named(new FlexGrid(Picture10), QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setCols(6);
    MSFlexGrid1->setFormatString(QStringLiteral(
        "<序  |<部门                        |<审批人   |日期                     |<意见                                                            |<同意"));
    place(MSFlexGrid1, 60, 60, 9400, 3400);
    Command27 = button(Picture10, QStringLiteral("Command27"), QStringLiteral("关闭"));
    place(Command27, 8200, 3540, 1200, 360);
    Picture10->hide();
}

void Frm合同信息::buildPickers()
{
    // Qualified-supplier picker.
    Picture9 = popUpPanel(Picture3, QStringLiteral("Picture9"), 1085, 1560, 6600, 4400);
    Label1[23] = label(Picture9, QStringLiteral("Label1_23"), QStringLiteral("合格供方"), 120, 90, 1200);
    Text2 = named(new QLineEdit(Picture9), QStringLiteral("Text2"));
    place(Text2, 120, 420, 6300, 315);
    MSFlexGrid3 = named(new FlexGrid(Picture9), QStringLiteral("MSFlexGrid3"));
    place(MSFlexGrid3, 120, 800, 6300, 2950);
    MSFlexGrid3->setFormatString(QStringLiteral("^序   |^供方编号      |^供方单位名称                                  |"));
    Option1[0] = named(new QRadioButton(QStringLiteral("按编号排序"), Picture9), QStringLiteral("Option1_0"));
    place(Option1[0], 120, 3900, 1500, 315);
    Option1[1] = named(new QRadioButton(QStringLiteral("按名称排序"), Picture9), QStringLiteral("Option1_1"));
    place(Option1[1], 1700, 3900, 1500, 315);
    Option1[0]->setChecked(true);
    Command24 = button(Picture9, QStringLiteral("Command24"), QStringLiteral("确定"));
    place(Command24, 3900, 3870, 1200, 360);
    Command25 = button(Picture9, QStringLiteral("Command25"), QStringLiteral("关闭"));
    place(Command25, 5200, 3870, 1200, 360);
    Picture9->hide();

    // Counterparty panel.
    Picture8 = popUpPanel(Picture3, QStringLiteral("Picture8"), 3000, 1575, 6600, 2220);
    const int labelIndex[4] = {13, 31, 14, 36};
    const QString captions[4] = {QStringLiteral("对方单位名称"), QStringLiteral("对方开户行"), QStringLiteral("对方帐号"),
                                 QStringLiteral("对方税号")};
    for (int i = 0; i < 4; ++i) {
        Label1[size_t(labelIndex[i])] =
            label(Picture8, QStringLiteral("Label1_%1").arg(labelIndex[i]), captions[i], 120, 150 + 420 * i, 1300);
        Text4[size_t(i)] = named(new QLineEdit(Picture8), QStringLiteral("Text4_%1").arg(i));
        place(Text4[size_t(i)], 1450, 120 + 420 * i, 5000, 315);
    }
    Command21 = button(Picture8, QStringLiteral("Command21"), QStringLiteral("确定"));
    place(Command21, 3900, 1710, 1200, 345);
    Command22 = button(Picture8, QStringLiteral("Command22"), QStringLiteral("关闭"));
    place(Command22, 5250, 1710, 1200, 345);
    Picture8->hide();
}

void Frm合同信息::buildRenewalPanel()
{
    Picture6 = popUpPanel(Picture2, QStringLiteral("Picture6"), 0, 6000, 9795, 3765);
    QWidget* p = Picture6;
    Label1[24] = label(p, QStringLiteral("Label1_24"), QStringLiteral("合同续签/补充处理"), 120, 30, 4000);
    Image1 = named(new QToolButton(p), QStringLiteral("Image1"));
    Image1->setText(QStringLiteral("×"));
    Image1->setAutoRaise(true);
    place(Image1, 9795 - 465 - 60, 30, 465, 255);
    Label1[33] = label(p, QStringLiteral("Label1_33"), QStringLiteral("合同续签/补充处理"), 120, 510, 9500);
    QFont bold(QStringLiteral("微软雅黑"));
    bold.setPointSizeF(10.5);
    bold.setBold(true);
    Label1[33]->setFont(bold);
    Label1[33]->setStyleSheet(QStringLiteral("color: rgb(255, 128, 0);"));

    auto box = [&](int i, int left, int top, int width) {
        Text5[size_t(i)] = named(new QLineEdit(p), QStringLiteral("Text5_%1").arg(i));
        place(Text5[size_t(i)], left, top, width, 315);
        Text5[size_t(i)]->installEventFilter(this);
    };
    Label1[26] = label(p, QStringLiteral("Label1_26"), QStringLiteral("新（补）合同名称"), 120, 1110, 1800);
    box(0, 1950, 1080, 7635);
    Label1[30] = label(p, QStringLiteral("Label1_30"), QStringLiteral("新（补）合同编号"), 120, 1590, 1800);
    box(1, 1950, 1560, 3855);
    Check3 = named(new QCheckBox(QStringLiteral("采用自动编号"), p), QStringLiteral("Check3"));
    place(Check3, 6000, 1560, 1700, 315);
    Check3->setChecked(true);
    Label1[27] = label(p, QStringLiteral("Label1_27"), QStringLiteral("新（补）合同期"), 120, 2070, 1500);
    Label1[28] = label(p, QStringLiteral("Label1_28"), QStringLiteral("从"), 1650, 2070, 300);
    box(2, 1950, 2040, 2295);
    Label1[29] = label(p, QStringLiteral("Label1_29"), QStringLiteral("至"), 4600, 2070, 300);
    box(3, 4900, 2040, 2295);
    Label1[32] = label(p, QStringLiteral("Label1_32"), QStringLiteral("新（补）合同金额"), 120, 2550, 1800);
    box(4, 1950, 2520, 1365);
    Text5[4]->setText(QStringLiteral("0"));
    Check4 = named(new QCheckBox(QStringLiteral("补充合同收付款计划合并"), p), QStringLiteral("Check4"));
    place(Check4, 3600, 2520, 3000, 315);
    Label1[25] = label(p, QStringLiteral("Label1_25"), QStringLiteral("补合同类型"), 120, 3000, 1500);
    box(5, 1950, 2970, 3855);
    const QString names[3] = {QStringLiteral("Command23_0"), QStringLiteral("Command23_1"), QStringLiteral("Command23_2")};
    for (int i = 0; i < 3; ++i) Command23[size_t(i)] = button(p, names[i], QStringLiteral("…"));
    place(Command23[0], 1950 + 3855 - 285, 2985, 270, 285);
    place(Command23[1], 1950 + 2295 - 285, 2055, 270, 285);
    place(Command23[2], 4900 + 2295 - 285, 2055, 270, 285);
    Command23[1]->hide();
    Command23[2]->hide();
    Label1[34] = label(p, QStringLiteral("Label1_34"), QStringLiteral("合同续签/补充处理"), 120, 3360, 3000);
    Label1[34]->setFont(bold);
    Label1[34]->setStyleSheet(QStringLiteral("color: rgb(255, 128, 0);"));
    Command28 = button(p, QStringLiteral("Command28"), QStringLiteral("确定"));
    place(Command28, 6500, 3240, 1200, 345);
    Command30 = button(p, QStringLiteral("Command30"), QStringLiteral("取消"));
    place(Command30, 7800, 3240, 1200, 345);
    Option2[0] = named(new QRadioButton(QStringLiteral("续签合同"), p), QStringLiteral("Option2_0"));
    Option2[1] = named(new QRadioButton(QStringLiteral("补充合同"), p), QStringLiteral("Option2_1"));
    Option2[0]->setChecked(true);
    Option2[0]->hide();
    Option2[1]->hide();
    for (QWidget* w : {static_cast<QWidget*>(Check4), static_cast<QWidget*>(Label1[25]), static_cast<QWidget*>(Text5[5]),
                       static_cast<QWidget*>(Command23[0])})
        w->hide();
    Picture6->hide();

    List2 = named(new QListWidget(Picture2), QStringLiteral("List2"));
    place(List2, 0, 0, 3825, 2325);
    List2->hide();
    MonthView2 = named(new QCalendarWidget(Picture2), QStringLiteral("MonthView2"));
    place(MonthView2, 0, 0, 2775 * 3 / 2, 2910);
    chineseCalendar(MonthView2);
    MonthView2->hide();

    // Esc closes the pop-up panel on show as its own 关闭 or 取消 does.
    addClosablePanel(Picture10, Command27);
    addClosablePanel(Picture9, Command25);
    addClosablePanel(Picture8, Command22);
    addClosablePanel(Picture6, Command30);
}

}  // namespace corvane
