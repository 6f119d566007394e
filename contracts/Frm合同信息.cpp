#include "contracts/Frm合同信息.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTextCursor>

#include "app/FileColumns.h"
#include "app/LoginContext.h"
#include "contracts/ContractFormats.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractNumbering.h"
#include "contracts/ContractRecord.h"
#include "contracts/ContractRecordRules.h"
#include "contracts/ContractRecordStore.h"
#include "contracts/ContractRecordWindow.h"
#include "contracts/frmCorvane.h"
#include "db/Dialect.h"
#include "db/Sql.h"
#include "platform/Services.h"
#include "platform/TextFile.h"

namespace corvane {

using namespace contract;

namespace {

const QString kAskNumber = QStringLiteral("<请输入合同编号>");
const QString kAutoNumber = QStringLiteral("<保存时自动生成编号>");
const QString kAskName = QStringLiteral("<请输入合同名称>");
const QString kNumberTaken = QStringLiteral("编号的合同已经存在，请输入其他的合同编号");
const QString kBadTerm = QStringLiteral("请输入正确合同的起止日期");
const QString kBadAmount = QStringLiteral("请输入正确的合同金额（数字，最多两位小数）");
const QString kChooseType = QStringLiteral("请选择合同类型");
const QString kBadSigningDate = QStringLiteral("请输入正确的签订日期");
const QString kNoRow = QStringLiteral("该合同已被删除，或其状态已被他人改变，本次操作没有执行。请重新打开该合同。");
const QString kContinue = QStringLiteral("请继续补充收付款计划等续签合同的相关信息，并按[确定]保存补充的信息");

constexpr int px(int twips) { return twips / TwipsPerPixel; }

template <class W>
W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    return named(new QPushButton(caption, parent), name);
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width = 960)
{
    auto* l = named(new QLabel(caption, parent), name);
    // Placed a little below its box's top, the caption lines up with the box's text.
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(px(left), px(top), px(width), px(315));
    return l;
}

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
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

// The type code: the text before the first blank of "code name".
QString codeOf(const QString& codeAndName) { return codeAndName.section(QLatin1Char(' '), 0, 0); }
// The type name: the text after the first blank, the whole text without one.
QString nameOf(const QString& codeAndName)
{
    const int blank = codeAndName.indexOf(QLatin1Char(' '));
    return blank < 0 ? codeAndName : codeAndName.mid(blank + 1);
}

QVariant nullable(const QString& text) { return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text); }
QVariant amountValue(std::optional<qint64> cents)
{
    return cents ? QVariant(centsText(*cents)) : QVariant(QMetaType::fromType<QString>());
}

// Other programs of the family keep line breaks of long texts as CR LF.
QString toStored(const QString& boxText)
{
    QString t = boxText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}
QString fromStored(const QString& stored)
{
    QString t = stored;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

// The month calendar of the old window: Chinese month and day names, no week numbers.
void chineseCalendar(QCalendarWidget* calendar)
{
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setFirstDayOfWeek(Qt::Sunday);
}

void showMissing(const QString& caption) { MsgBox(windowNotAvailableText(caption), vbInformation); }

}  // namespace

// ---------------------------------------------------------------- construction

Frm合同信息::Frm合同信息()
{
    setObjectName(QStringLiteral("Frm合同信息"));
    setCaption(QStringLiteral("合同信息"));
    // The geometry is in twips laid out for a nine-point face on a 96 dpi
    // screen; a larger face would cut the captions off.
    QFont face = font();
    face.setPixelSize(12);
    setFont(face);
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
    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
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
}

void Frm合同信息::connectEvents()
{
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Command14, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(Command15, &QPushButton::clicked, this, [this] { Command15_Click(); });
    connect(Command16, &QPushButton::clicked, this, [this] { Command16_Click(); });
    connect(Command17, &QPushButton::clicked, this, [this] { Command17_Click(); });
    connect(Command18, &QPushButton::clicked, this, [this] { Command18_Click(); });
    connect(Command19, &QPushButton::clicked, this, [this] { Command19_Click(); });
    connect(Command20, &QPushButton::clicked, this, [this] { Command20_Click(); });
    connect(Command21, &QPushButton::clicked, this, [this] { Command21_Click(); });
    connect(Command22, &QPushButton::clicked, this, [this] { Command22_Click(); });
    connect(Command24, &QPushButton::clicked, this, [this] { Command24_Click(); });
    connect(Command25, &QPushButton::clicked, this, [this] { Command25_Click(); });
    connect(Command26, &QPushButton::clicked, this, [this] { Command26_Click(); });
    connect(Command27, &QPushButton::clicked, this, [this] { Command27_Click(); });
    connect(Command28, &QPushButton::clicked, this, [this] { Command28_Click(); });
    connect(Command29, &QPushButton::clicked, this, [this] { Command29_Click(); });
    connect(Command30, &QPushButton::clicked, this, [this] { Command30_Click(); });
    connect(Command31, &QPushButton::clicked, this, [this] { Command31_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(Command23[size_t(i)], &QPushButton::clicked, this, [this, i] { Command23_Click(i); });
    connect(Image1, &QToolButton::clicked, this, [this] { Image1_Click(); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(Option1[size_t(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        connect(Option2[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option2_Click(i); });
    }
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(MSFlexGrid3, &FlexGrid::Click, this, [this] { MSFlexGrid3_Click(); });
    connect(MSFlexGrid2, &FlexGrid::Click, this, [this] { MSFlexGrid2_Click(); });
    connect(MonthView1, &QCalendarWidget::clicked, this, [this](const QDate& d) { MonthView1_DateClick(d); });
    connect(MonthView2, &QCalendarWidget::clicked, this, [this](const QDate& d) { MonthView2_DateClick(d); });
    for (int i = 0; i < int(Text1.size()); ++i) {
        connect(Text1[size_t(i)], &TextBox::Change, this, [this, i] { Text1_Change(i); });
        connect(Text1[size_t(i)], &TextBox::GotFocus, this, [this, i] { Text1_GotFocus(i); });
    }
    for (QWidget* w : {Picture1, Picture2, Picture3}) w->installEventFilter(this);
}

bool Frm合同信息::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == Picture1) Picture1_Resize();
        else if (watched == Picture2) Picture2_Resize();
        else if (watched == Picture3) Picture3_Resize();
    } else if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < int(Text5.size()); ++i)
            if (watched == Text5[size_t(i)]) Text5_GotFocus(i);
    }
    return Form::eventFilter(watched, event);
}

void Frm合同信息::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

// ---------------------------------------------------------------- load, activate, layout

void Frm合同信息::Form_Load()
{
    合同类型列表();
    // Attachments are copied here before they are opened.
    QDir program(ProgramFolder());
    if (!QFileInfo(program.filePath(QStringLiteral("Temp"))).isDir()) program.mkdir(QStringLiteral("Temp"));

    for (int c = 0; c < MSFlexGrid3->Cols(); ++c) MSFlexGrid3->setColAlignment(c, flexAlignCenterCenter);
    MSFlexGrid3->setColWidth(MSFlexGrid3->Cols() - 1, 0);
    MSFlexGrid3->setRows(1);
    MSFlexGrid2->setRows(1);
    for (int c = 0; c < MSFlexGrid2->Cols(); ++c) MSFlexGrid2->setColAlignment(c, flexAlignCenterCenter);

    供方列表(false);
    MonthView1->setSelectedDate(Today());
}

void Frm合同信息::Form_Activate()
{
    if (subWindow()) subWindow()->showMaximized();
    if (Tag != QStringLiteral("新增")) {
        显示合同信息();
        return;
    }
    Check1->setChecked(false);
    Text1[1]->setLocked(false);
    Frame1->setEnabled(false);
    Frame3->setEnabled(false);
    Command2->setEnabled(true);
    Command5->setEnabled(true);
}

void Frm合同信息::Form_Resize()
{
    const int status = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - status, width(), status);
    Picture1->setGeometry(0, height() - status - Picture1->height(), width(), Picture1->height());
    const int w = width() - Picture2->x() - px(30);
    const int h = height() - Picture1->height() - status - Picture2->y();
    if (w > 0 && h > 0) Picture2->resize(w, h);
}

void Frm合同信息::Picture1_Resize() { Picture5->move((Picture1->width() - Picture5->width()) / 2, Picture5->y()); }

void Frm合同信息::Picture2_Resize()
{
    const int h = Picture2->height() - px(60);
    Picture3->move((Picture2->width() - Picture3->width()) / 2, px(30));
    if (h > 0) Picture3->resize(Picture3->width(), h);
    Picture6->move(Picture3->x(), Picture2->height() - Picture6->height());
}

void Frm合同信息::Picture3_Resize()
{
    const int gap = px(45);
    Frame1->move(Frame1->x(), Picture3->height() - Frame1->height() - gap);
    Frame3->move(Frame3->x(), Frame1->y() - Frame3->height() - gap);
    Picture4->move(Picture4->x(), Frame3->y() - Picture4->height());
    const int termsHeight = Picture4->y() - Text1[7]->y();
    if (termsHeight > 0) Text1[7]->resize(Text1[7]->width(), termsHeight);
}

// ---------------------------------------------------------------- loading a contract

std::optional<qint64> Frm合同信息::contractId() const
{
    bool ok = false;
    const qint64 id = TagOf(Text1[1]).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return id;
}

void Frm合同信息::显示合同信息()
{
    const auto rows = selectRowsQuiet(QStringLiteral("SELECT * FROM 合同信息 WHERE 合同编号 = ?"), {Text1[1]->text()});
    if (!rows) {
        ShowNumberedError(lastDbError().number, lastDbError().description);
        return;
    }
    if (!rows->empty()) {
        const Row& r = rows->front();
        Text1[0]->setText(fromStored(r.text(QStringLiteral("合同名称"))));
        SetTag(Text1[1], r.text(QStringLiteral("id")));
        Text1[1]->setLocked(true);
        Text1[2]->setText(r.text(QStringLiteral("对方单位")));
        SetTag(Text1[2], r.text(QStringLiteral("合格供方代码")));
        const QString amount = amountText(r.value(QStringLiteral("合同金额")));
        Text1[4]->setText(amount.isEmpty() ? QStringLiteral("0.00") : amount);
        Text1[5]->setText(dateText(r.value(QStringLiteral("合同起始日期"))));
        Text1[6]->setText(dateText(r.value(QStringLiteral("合同终止日期"))));
        Text1[7]->setText(fromStored(r.text(QStringLiteral("主要条款"))));
        Text1[8]->setText(r.text(QStringLiteral("对方签约人")));
        Text1[9]->setText(r.text(QStringLiteral("签约人")));
        Text1[10]->setText(dateText(r.value(QStringLiteral("合同签订日期"))));
        Text1[11]->setText(dateText(r.value(QStringLiteral("合同生效日期"))));
        Text1[12]->setText(dateText(r.value(QStringLiteral("合同中止日期"))));
        Text1[13]->setText(r.text(QStringLiteral("中止原因")));
        Text1[14]->setText(r.text(QStringLiteral("对应续约合同编号")));

        // The mark follows the row shown, not a contract shown earlier.
        const bool qualified = !r.isNull(QStringLiteral("是否是合格供方")) && r.value(QStringLiteral("是否是合格供方")).toInt() != 0;
        Label1[16]->setVisible(qualified);
        SetTag(Label1[16], qualified ? QStringLiteral("1") : QString());
        if (qualified) Text2->setText(Text1[2]->text());
        // The picker's bank data belong to the contract it was used for.
        m_supplierPicked = false;

        const QString type = r.text(QStringLiteral("合同类型"));
        if (!r.isNull(QStringLiteral("合同类型"))) {
            for (int i = 0; i < List1->count(); ++i) {
                if (codeOf(List1->item(i)->text()) != type) continue;
                List1->setCurrentRow(i);
                List1_Click();
                break;
            }
        }
        Text4[0]->setText(Text1[2]->text());
        Text4[1]->setText(r.text(QStringLiteral("对方开户行")));
        Text4[2]->setText(r.text(QStringLiteral("对方帐号")));
        Text4[3]->setText(r.text(QStringLiteral("对方税号")));

        for (QPushButton* b : {Command1, Command5, Command17, Command11, Command18, Command19, Command20, Command31,
                               Command29, Command2, Command3, Command9, Command10, Command16})
            b->setEnabled(false);
        Frame1->setEnabled(false);

        const QString state = r.text(QStringLiteral("合同状态"));
        const bool hasState = !r.isNull(QStringLiteral("合同状态"));
        Label1[18]->setText(state);
        if (hasState && state == 履行中) {
            Command20->setEnabled(true);
            Command31->setEnabled(true);
            Command19->setEnabled(true);
            Command12->show();
            Command12->setEnabled(true);
            Frame1->setEnabled(true);
            const auto end = parseDateText(Text1[6]->text());
            if (end && end->toString(QStringLiteral("yyyyMMdd")) <= Today().toString(QStringLiteral("yyyyMMdd")))
                Label1[18]->setText(state + QStringLiteral("(已到期)"));
        } else if (hasState && state == 已中止) {
            Command20->setEnabled(true);
            Frame1->setEnabled(true);
        }
        if (hasState && state != 履行中 && state != 已中止 && state != 已作废) {
            const QString documentNumber = r.text(QStringLiteral("行政审批编号"));
            if (r.isNull(QStringLiteral("提交日期"))) {
                Command9->setText(QStringLiteral("提交"));
                for (QPushButton* b : {Command9, Command1, Command4, Command5, Command29, Command17, Command11, Command2,
                                       Command16, Command7})
                    b->setEnabled(true);
                Command3->show();
                Command3->setEnabled(true);
                Command10->show();
                Command10->setEnabled(true);
            } else {
                SetTag(Command9, documentNumber);
                Command9->setEnabled(true);
                Command9->setText(QStringLiteral("流转情况"));
                const bool ended = !r.isNull(QStringLiteral("流转结束日期"));
                const bool passed = ended && !r.isNull(QStringLiteral("流转通过")) &&
                                    r.value(QStringLiteral("流转通过")).toInt() != 0;
                if (passed) {
                    Frame1->setEnabled(true);
                    if (Text1[10]->text().isEmpty()) {
                        Command18->setText(QStringLiteral("合同签订"));
                        Command15->show();
                        Command18->setEnabled(true);
                        Command3->setEnabled(true);
                        Command10->setEnabled(true);
                    } else if (Text1[11]->text().isEmpty()) {
                        Command18->setText(QStringLiteral("合同生效"));
                        Command26->show();
                        Command18->setEnabled(true);
                    } else if (Text1[12]->text().isEmpty()) {
                        Command18->setText(QStringLiteral("合同生效"));
                        Command12->show();
                        Command19->setEnabled(true);
                    } else {
                        Command18->setText(QStringLiteral("合同生效"));
                    }
                }
            }
        }
        附件列表(int(TagOf(Text1[1]).toLongLong()));
    }
    if (Tag == QStringLiteral("查看")) {
        if (Command9->text() == QStringLiteral("提交")) Command9->setEnabled(false);
        Command2->setEnabled(false);
        Command3->setEnabled(false);
    }
}

void Frm合同信息::清空界面()
{
    for (TextBox* t : Text1) t->setText(QString());
    for (QLineEdit* t : Text4) t->clear();
    for (QLineEdit* t : Text5) t->clear();
    Text2->clear();
    Text3->clear();
    Label1[18]->clear();
    Picture8->hide();
    Picture9->hide();
    MonthView1->hide();
    for (QPushButton* b : {Command3, Command5, Command8, Command9, Command10, Command11, Command16, Command18, Command19,
                           Command20})
        b->setEnabled(false);
    for (QPushButton* b : {Command12, Command15, Command26}) b->hide();
    Command21->show();
    Command9->setText(QStringLiteral("提交"));
}

// ---------------------------------------------------------------- exit and plan windows

void Frm合同信息::Command6_Click()
{
    if (Tag != QStringLiteral("查看")) {
        if (auto* list = Forms::find<frmCorvane>()) list->Command1_Click();
    }
    Unload();
}

void Frm合同信息::Command16_Click()
{
    const auto& open = recordWindowSeams().frm合同履行计划;
    if (!open) return showMissing(QStringLiteral("设置履行计划"));
    open({Text1[1]->text(), Text1[0]->text(), QStringLiteral("编辑")});
}

void Frm合同信息::Command7_Click()
{
    const int index = List1->currentRow();
    if (index < 0 || index >= 类型类别.size()) {
        MsgBox(kChooseType, vbOKOnly);
        return;
    }
    const auto& open = recordWindowSeams().frm合同收付款计划设置;
    if (!open) return showMissing(QStringLiteral("收付款计划"));
    InstalmentPlanHandover h;
    h.Label1 = Text1[1]->text().trimmed() + QLatin1Char(' ') + Text1[0]->text().trimmed();
    h.Label13_1 = Text1[4]->text();
    if (!Text1[5]->text().isEmpty()) h.DTPicker2 = parseDateText(Text1[5]->text()).value_or(QDate());
    if (!Text1[6]->text().isEmpty()) h.DTPicker3 = parseDateText(Text1[6]->text()).value_or(QDate());
    h.caption = 类型类别[index] == 收款合同 ? QStringLiteral("合同收款计划设置") : QStringLiteral("合同付款计划设置");
    open(h);
}

// ---------------------------------------------------------------- saving

QString Frm合同信息::获取字(const QString& typeName) { return typePrefixByName(typeName).value_or(QString()); }

Frm合同信息::Counterparty Frm合同信息::counterparty() const
{
    Counterparty c;
    c.qualified = !Label1[16]->isHidden();
    if (c.qualified && m_supplierPicked) {
        c.bank = 供方开户行;
        c.account = 供方帐号;
        c.taxNumber = 供方税号;
    } else {
        // Without a pick since the load, the panel holds the stored bank data.
        c.bank = Text4[1]->text();
        c.account = Text4[2]->text();
        c.taxNumber = Text4[3]->text();
    }
    return c;
}

void Frm合同信息::reportNoRow() { MsgBox(kNoRow, vbExclamation); }

void Frm合同信息::Command2_Click()
{
    const bool adding = Tag == QStringLiteral("新增");
    const QString name = Text1[0]->text();
    if (name.isEmpty() || name == kAskName) {
        MsgBox(QStringLiteral("合同名称不能为空，请填写合同名称!"));
        return;
    }
    const QString number = Text1[1]->text();
    if (number.isEmpty() || number == kAskNumber) {
        MsgBox(QStringLiteral("请输入合同编号"));
        return;
    }
    if (Text1[3]->text().isEmpty()) {
        MsgBox(kChooseType);
        return;
    }
    const auto start = parseDateText(Text1[5]->text());
    const auto end = parseDateText(Text1[6]->text());
    if (!start || !end) {
        MsgBox(kBadTerm);
        return;
    }
    std::optional<qint64> amount;
    if (!Text1[4]->text().trimmed().isEmpty()) {
        amount = parseAmountText(Text1[4]->text());
        if (!amount) {
            MsgBox(kBadAmount);
            return;
        }
    }

    const Counterparty cp = counterparty();
    ColumnValues columns{
        {QStringLiteral("合同名称"), nullable(toStored(name))},
        {QStringLiteral("对方单位"), nullable(Text1[2]->text())},
        {QStringLiteral("对方开户行"), nullable(cp.bank)},
        {QStringLiteral("对方帐号"), nullable(cp.account)},
        {QStringLiteral("对方税号"), nullable(cp.taxNumber)},
        {QStringLiteral("是否是合格供方"), cp.qualified ? 1 : 0},
    };
    if (cp.qualified) columns.emplace_back(QStringLiteral("合格供方代码"), TagOf(Text1[2]));
    columns.emplace_back(QStringLiteral("合同类型"), nullable(codeOf(Text1[3]->text())));
    columns.emplace_back(QStringLiteral("合同金额"), amountValue(amount));
    columns.emplace_back(QStringLiteral("合同起始日期"), *start);
    columns.emplace_back(QStringLiteral("合同终止日期"), *end);
    columns.emplace_back(QStringLiteral("主要条款"), nullable(toStored(Text1[7]->text())));
    columns.emplace_back(QStringLiteral("对方签约人"), nullable(Text1[8]->text()));
    columns.emplace_back(QStringLiteral("签约人"), nullable(Text1[9]->text()));
    columns.emplace_back(QStringLiteral("CzyDH"), nullable(Login().当前工号));

    if (adding) {
        NewContract c;
        c.automatic = Check1->isChecked();
        if (c.automatic) {
            const auto prefix = typePrefixByName(nameOf(Text1[3]->text()));
            if (!prefix) return;
            c.prefix = *prefix;
        }
        c.form = PrefixForm::DashAlways;
        c.typedNumber = number;
        c.columns = columns;
        c.columns.emplace_back(QStringLiteral("对应部门"), TagOf(Text3));
        const InsertedContract saved = insertContract(c);
        if (saved.outcome == InsertedContract::NumberTaken) {
            MsgBox(saved.number + kNumberTaken);
            return;
        }
        if (saved.outcome != InsertedContract::Inserted) {
            ShowNumberedError(saved.error.number, saved.error.description);
            return;
        }
        Text1[1]->setText(saved.number);
        SetTag(Text1[1], QString::number(saved.id));
    } else {
        const auto id = contractId();
        if (!id) {
            reportNoRow();
            return;
        }
        const WriteOutcome out = updateUnsubmittedContract(*id, columns);
        if (out.kind == WriteOutcome::Failed) {
            ShowNumberedError(out.error.number, out.error.description);
            return;
        }
        if (out.kind == WriteOutcome::NoRow) {
            reportNoRow();
            return;
        }
    }

    // The contract exists now: later saves address it by id, never by a
    // number typed into the box.
    Text1[1]->setLocked(true);
    Frame3->setEnabled(true);
    for (QPushButton* b : {Command11, Command7, Command16, Command5, Command3, Command10, Command9}) b->setEnabled(true);
    if (adding) Tag = QStringLiteral("修改");
}

void Frm合同信息::Check1_Click()
{
    if (Tag != QStringLiteral("新增")) return;
    if (Check1->isChecked()) {
        Text1[1]->setText(kAutoNumber);
        Text1[1]->setLocked(true);
    } else {
        Text1[1]->setText(kAskNumber);
        Text1[1]->setLocked(false);
    }
}

// ---------------------------------------------------------------- state actions

void Frm合同信息::Command18_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (Command18->text() == QStringLiteral("合同生效")) {
        // Taking effect needs a date just as signing does.
        const auto effective = parseDateText(Text1[11]->text());
        if (!effective) {
            MsgBox(kBadSigningDate);
            return;
        }
        const WriteOutcome out = takeEffect(*id, *effective);
        if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
        if (out.kind == WriteOutcome::NoRow) return reportNoRow();
        Command15->hide();
        Command26->hide();
        Command12->show();
        Command18->setEnabled(false);
        Label1[18]->setText(履行中);
        Command20->setEnabled(true);
        return;
    }

    const auto signedOn = parseDateText(Text1[10]->text());
    if (!signedOn) {
        MsgBox(kBadSigningDate);
        return;
    }
    const QString question = QStringLiteral("请核对：\n\n对方签字人（代表）为 ") + Text1[8]->text() +
                             QStringLiteral("\n本方签字人（代表）为 ") + Text1[9]->text() + QStringLiteral("\n\n 是否继续？");
    if (MsgBox(question, vbYesNo + vbQuestion) != vbYes) return;
    const bool immediate = Check2->isChecked();
    const WriteOutcome out = signContract(*id, *signedOn, immediate, Text1[8]->text(), Text1[9]->text());
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    if (immediate) {
        Command15->hide();
        Command26->hide();
        Command12->show();
        Text1[11]->setText(Text1[10]->text());
        Command18->setEnabled(false);
        Label1[18]->setText(履行中);
    } else {
        Command15->hide();
        Command26->show();
        Command12->hide();
        Label1[18]->setText(签约完成);
    }
}

void Frm合同信息::Command19_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (MsgBox(QStringLiteral("确定要中止本合同履行吗？"), vbYesNo + vbQuestion) != vbYes) return;
    const auto suspendedOn = parseDateText(Text1[12]->text());
    if (!suspendedOn) {
        MsgBox(QStringLiteral("您输入了非法的中止日期"));
        return;
    }
    const WriteOutcome out = suspendContract(*id, *suspendedOn, Text1[13]->text());
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    for (QPushButton* b : {Command1, Command4, Command5, Command17, Command11, Command18, Command19, Command20, Command29,
                           Command2, Command3, Command9, Command10, Command16})
        b->setEnabled(false);
}

void Frm合同信息::Command10_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (MsgBox(QStringLiteral("确认要作废本合同？"), vbYesNo + vbQuestion) != vbYes) return;
    const WriteOutcome out = voidContract(*id, Today());
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    Label1[18]->setText(已作废);
    for (QPushButton* b : {Command2, Command3, Command9, Command10}) b->setEnabled(false);
}

void Frm合同信息::Command3_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (MsgBox(QStringLiteral("确定要删除合同编号为 ") + Text1[1]->text() + QStringLiteral(" 的合同信息吗？"),
               vbYesNo + vbQuestion) != vbYes)
        return;
    const WriteOutcome out = deleteContract(*id);
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    MsgBox(QStringLiteral("删除操作完成！"));
}

void Frm合同信息::Command9_Click()
{
    auto& seams = recordWindowSeams();
    if (Command9->text() == QStringLiteral("提交")) {
        if (!seams.提交) return showMissing(QStringLiteral("合同会签提交"));
        seams.提交(*this);
    } else {
        if (!seams.流转情况) return showMissing(QStringLiteral("流转情况"));
        seams.流转情况(*this);
    }
}

void Frm合同信息::Command27_Click() { Picture10->hide(); }

// ---------------------------------------------------------------- contract types

void Frm合同信息::合同类型列表()
{
    const auto right = selectRowsQuiet(
        QStringLiteral("SELECT 类型 FROM 专项审核权限表 WHERE 类型 = ? AND 部门代号 = ? AND 岗位代号 = ?"),
        {QStringLiteral("Corvane"), Login().当前部门编号, Login().当前岗位代号});
    if (!right) return ShowDescriptionError(lastDbError().description);
    const bool company = !right->empty();

    List1->clear();
    List2->clear();
    类型类别.clear();
    auto add = [this](const Row& r) {
        const QString entry = r.text(QStringLiteral("合同类型编号")) + QLatin1Char(' ') + r.text(QStringLiteral("合同类型"));
        List1->addItem(entry);
        List2->addItem(entry);
        // A type without a category still belongs in the list.
        类型类别.append(r.text(QStringLiteral("合同类别")));
    };

    const auto types = selectRowsQuiet(
        QStringLiteral("SELECT 合同类型编号, 合同类型, 合同类别, 公用 FROM 合同类型 ORDER BY 合同类型编号"));
    if (!types) return ShowDescriptionError(lastDbError().description);
    for (const Row& r : *types) {
        const bool shared = !r.isNull(QStringLiteral("公用")) && r.value(QStringLiteral("公用")).toInt() != 0;
        if (company || shared) add(r);
    }
    if (company) return;
    const auto own = selectRowsQuiet(
        QStringLiteral("SELECT 合同类型.合同类型编号, 合同类型.合同类型, 合同类型.合同类别 FROM 合同使用部门设置 "
                       "INNER JOIN 合同类型 ON 合同使用部门设置.合同类型编号 = 合同类型.合同类型编号 "
                       "WHERE 合同使用部门设置.部门 = ? AND 合同类型.公用 = 0 "
                       "GROUP BY 合同类型.合同类型编号, 合同类型.合同类型, 合同类型.合同类别 ORDER BY 合同类型.合同类型编号"),
        {Login().当前部门编号});
    if (!own) return ShowDescriptionError(lastDbError().description);
    for (const Row& r : *own) add(r);
}

void Frm合同信息::Command5_Click()
{
    const QFrame* frame = Shape1[3];
    List1->move(frame->x(), frame->y() + frame->height() + px(30));
    List1->setVisible(List1->isHidden());
    List1->raise();
}

void Frm合同信息::List1_Click()
{
    const int index = List1->currentRow();
    if (index < 0) return;
    Text1[3]->setText(List1->item(index)->text());
    List1->hide();
    const QString category = index < 类型类别.size() ? 类型类别[index] : QString();
    Command7->setText(category == 付款合同 ? QStringLiteral("付款计划") : QStringLiteral("收款计划"));
    if (Tag != QStringLiteral("新增")) Command7->setEnabled(true);
}

// ---------------------------------------------------------------- supplier picker

void Frm合同信息::供方列表(bool byName)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 供方信息.供应商编号, 供方信息.供应商名称, 合格供方 FROM 供方信息 WHERE 供方信息.结束日期 IS NULL "
                       "ORDER BY ") +
        (byName ? QStringLiteral("供应商名称") : QStringLiteral("供应商编号")));
    MSFlexGrid3->setRows(1);
    if (!rows) return ShowDescriptionError(lastDbError().description);
    std::vector<std::vector<QString>> cells;
    cells.reserve(rows->size());
    for (const Row& r : *rows) {
        const bool qualified = !r.value(2).isNull() && r.value(2).toInt() != 0;
        cells.push_back({QString::number(cells.size() + 1), r.text(0), r.text(1), qualified ? QStringLiteral("1")
                                                                                            : QStringLiteral("0")});
    }
    MSFlexGrid3->setRowsData(std::move(cells));
}

void Frm合同信息::Command1_Click()
{
    Picture9->move(Text1[2]->x(), px(1560));
    Picture9->show();
    Picture9->raise();
}

void Frm合同信息::Option1_Click(int index) { 供方列表(index == 1); }

void Frm合同信息::Text2_Change()
{
    if (m_searching) return;
    const QString typed = Text2->text();
    const int n = int(typed.size());
    FlexGrid& g = *MSFlexGrid3;
    int match = -1;
    for (int r = 1; r < g.Rows(); ++r) {
        if (g.TextMatrix(r, 2).left(n) == typed) {
            match = r;
            break;
        }
    }
    if (match < 0) return;
    g.setRow(match);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
    const int rowHeight = std::max(1, g.RowHeight(1));
    const int visible = std::max(1, pixelsToTwips(g.viewport()->height()) / rowHeight - 1);
    if (match < g.TopRow() || match >= g.TopRow() + visible) g.setTopRow(std::max(1, match - 10));

    m_searching = true;
    Text2->setText(g.TextMatrix(match, 2));
    m_searching = false;
    SetTag(Text2, g.TextMatrix(match, 1));
    Text2->setSelection(n, int(Text2->text().size()) - n);
}

void Frm合同信息::MSFlexGrid3_Click()
{
    FlexGrid& g = *MSFlexGrid3;
    if (g.Rows() <= 1) return;
    // The row clicked is the row taken, even when a name above it begins the same way.
    const int r = std::max(1, g.Row());
    m_searching = true;
    Text2->setText(g.TextMatrix(r, 2));
    m_searching = false;
    SetTag(Text2, g.TextMatrix(r, 1));
    g.setRow(r);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
}

void Frm合同信息::Command24_Click()
{
    FlexGrid& g = *MSFlexGrid3;
    const QString name = Text2->text();
    int found = -1;
    if (g.Row() >= 1 && g.Row() < g.Rows() && g.TextMatrix(g.Row(), 2) == name) found = g.Row();
    for (int r = 1; found < 0 && r < g.Rows(); ++r)
        if (g.TextMatrix(r, 2) == name) found = r;
    if (found < 0) {
        MsgBox(QStringLiteral("未找到您所选择的供方单位，请核对输入或选择的供方单位名称是否正确"), vbOKOnly);
        return;
    }
    // A name that matches no row leaves the bank data of the last pick in place.
    供方开户行.clear();
    供方帐号.clear();
    供方税号.clear();
    const QString supplier = g.TextMatrix(found, 1);
    SetTag(Text2, supplier);
    Text1[2]->setText(name);
    SetTag(Text1[2], supplier);
    const auto bank = selectRowsQuiet(QStringLiteral("SELECT 开户行, 帐号, 税号 FROM 供方单位基本信息 WHERE 供应商编号 = ?"),
                                      {supplier});
    if (!bank) return ShowStandardError(lastDbError().number, lastDbError().description);
    if (!bank->empty()) {
        供方开户行 = bank->front().text(0);
        供方帐号 = bank->front().text(1);
        供方税号 = bank->front().text(2);
    }
    m_supplierPicked = true;
    Picture9->hide();
    const bool qualified = g.TextMatrix(found, g.Cols() - 1).toInt() == 1;
    Label1[16]->setVisible(qualified);
    SetTag(Label1[16], qualified ? QStringLiteral("1") : QString());
}

void Frm合同信息::Command25_Click() { Picture9->hide(); }

// ---------------------------------------------------------------- counterparty panel

void Frm合同信息::Command4_Click()
{
    Picture8->move(Command4->x() + Command4->width() - Picture8->width(), Command4->y() + px(345));
    Picture8->show();
    Picture8->raise();
    Text4[0]->setFocus();
}

void Frm合同信息::Command21_Click()
{
    Text1[2]->setText(Text4[0]->text());
    if (contractId() && !保存对方资料()) return;
    Picture8->hide();
    Label1[16]->hide();
}

bool Frm合同信息::保存对方资料()
{
    const auto id = contractId();
    if (!id) return false;
    const WriteOutcome out = saveCounterparty(*id, Text4[0]->text(), Text4[1]->text(), Text4[2]->text(), Text4[3]->text());
    if (out.kind == WriteOutcome::Failed) {
        ShowStandardError(out.error.number, out.error.description);
        return false;
    }
    if (out.kind == WriteOutcome::NoRow) {
        reportNoRow();
        return false;
    }
    return true;
}

void Frm合同信息::Command22_Click() { Picture8->hide(); }

// ---------------------------------------------------------------- dates and term

void Frm合同信息::openCalendar(QPushButton* button, int index)
{
    if (index == 5 || index == 6) {
        const QFrame* frame = Shape1[size_t(index)];
        MonthView1->move(frame->x(), frame->y() + frame->height());
    } else {
        const TextBox* box = Text1[size_t(index)];
        MonthView1->move(Frame1->x() + box->x(), Frame1->y() + box->y() - MonthView1->height());
    }
    MonthView1->setVisible(MonthView1->isHidden());
    SetTag(MonthView1, QString::number(index));
    if (button != Command26) MonthView1->raise();
}

void Frm合同信息::Command13_Click() { openCalendar(Command13, 5); }
void Frm合同信息::Command14_Click() { openCalendar(Command14, 6); }
void Frm合同信息::Command15_Click() { openCalendar(Command15, 10); }
void Frm合同信息::Command26_Click() { openCalendar(Command26, 11); }
void Frm合同信息::Command12_Click() { openCalendar(Command12, 12); }

void Frm合同信息::MonthView1_DateClick(const QDate& date)
{
    bool ok = false;
    const int index = TagOf(MonthView1).toInt(&ok);
    if (ok && index >= 0 && index < int(Text1.size())) Text1[size_t(index)]->setText(shortDateText(date));
    MonthView1->hide();
}

void Frm合同信息::Text1_Change(int index)
{
    if (index != 5 && index != 6) return;
    const auto start = parseDateText(Text1[5]->text());
    const auto end = parseDateText(Text1[6]->text());
    if (!start || !end) return;
    Label1[17]->setText(QStringLiteral("共 ") + QString::number(termDays(*start, *end)) + QStringLiteral(" 天"));
}

void Frm合同信息::Text1_GotFocus(int index)
{
    if (Command9->text() != QStringLiteral("提交")) {
        Command13->hide();
        Command14->hide();
        return;
    }
    Command13->setVisible(index == 5);
    Command14->setVisible(index == 6);
    // The placeholder of automatic numbering stays: the save needs it.
    if (Tag == QStringLiteral("新增") && index == 1 && !Check1->isChecked()) Text1[1]->setText(QString());
}

// ---------------------------------------------------------------- main-terms templates

QString Frm合同信息::templatePath() const
{
    return ProgramPath(Text3->text() + Text1[3]->text() + QStringLiteral("主要条款.TXT"));
}

void Frm合同信息::Command17_Click()
{
    if (MsgBox(QStringLiteral("确认要把当前的主要条款内容保存为模块？"), vbYesNo + vbQuestion) != vbYes) return;
    if (Text1[3]->text().isEmpty()) {
        MsgBox(kChooseType);
        return;
    }
    QString text = Text1[7]->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString error;
    if (!writeGbkLines(templatePath(), text.split(QLatin1Char('\n')), &error)) ShowStandardError(0, error);
}

void Frm合同信息::Command29_Click()
{
    if (Text1[3]->text().isEmpty()) {
        MsgBox(kChooseType);
        return;
    }
    const QString path = templatePath();
    if (!QFileInfo::exists(path)) return;
    QString error;
    const auto content = readGbkFile(path, &error);
    if (!content) return ShowStandardError(0, error);
    QStringList lines = content->split(QLatin1Char('\n'));
    // A file ends with a line break; it opens no further line.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QString box = Text1[7]->text();
    for (const QString& line : lines) box = box.isEmpty() ? line : box + QLatin1Char('\n') + line;
    Text1[7]->setText(box);
}

// ---------------------------------------------------------------- attachments

QString Frm合同信息::文件名(const QString& path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

void Frm合同信息::addAttachmentRow(int id, const QString& name)
{
    FlexGrid& g = *MSFlexGrid2;
    g.appendRow({QString::number(g.Rows()), name, QStringLiteral("浏览")});
    g.setRowData(g.Rows() - 1, id);
    g.setRow(g.Rows() - 1);
}

void Frm合同信息::附件列表(int contractId)
{
    WaitCursor wait;
    MSFlexGrid2->hide();
    MSFlexGrid2->setRows(1);
    const auto rows = selectRows(QStringLiteral("SELECT ID, 合同ID, 名称, 类别 FROM 合同信息附件 WHERE 合同ID = ? ORDER BY ID"),
                                 {contractId});
    if (rows)
        for (const Row& r : *rows) addAttachmentRow(r.value(0).toInt(), r.text(2));
    MSFlexGrid2->show();
}

void Frm合同信息::Command11_Click()
{
    const QString path = Services::dialogs().openFileName(
        QStringLiteral("添加资料"),
        QStringLiteral("所有文件 (*.pdf *.doc *.docx *.xls *.xlsx *.jpg *.jpeg *.bmp);;PDF文件 (*.pdf);;Word文件 (*.doc *.docx);;"
                       "Excel文件 (*.xls *.xlsx);;图片文件 (*.jpg *.jpeg *.bmp)"),
        QString());
    if (path.isEmpty()) return;
    const auto id = contractId();
    if (!id) return;
    QVariant bytes;
    if (!文件存入字段(bytes, path, nullptr)) return;
    const QString name = 文件名(path);
    Statement insert(dialect::insertReturningId(QStringLiteral("合同信息附件"),
                                                {QStringLiteral("合同ID"), QStringLiteral("名称"), QStringLiteral("附件"),
                                                 QStringLiteral("类别")},
                                                QStringLiteral("ID")),
                     {*id, name, bytes, QStringLiteral("文件")});
    if (!insert.exec()) return ShowStandardError(insert.error().number, insert.error().description);
    addAttachmentRow(insert.lastInsertId().toInt(), name);
    Command8->setEnabled(true);
}

void Frm合同信息::MSFlexGrid2_Click()
{
    Command8->setEnabled(false);
    FlexGrid& g = *MSFlexGrid2;
    if (g.Rows() <= 1) return;
    Command8->setEnabled(true);
    const int r = std::max(1, g.Row());
    if (g.Col() == 2) {
        const auto row = selectFirst(QStringLiteral("SELECT 名称, 附件 FROM 合同信息附件 WHERE ID = ?"), {g.RowData(r)});
        if (!row) return;
        if (row->count() == 0) {
            ShowStandardError(0, QStringLiteral("附件已不存在"));
            return;
        }
        QDir program(ProgramFolder());
        if (!QFileInfo(program.filePath(QStringLiteral("Temp"))).isDir()) program.mkdir(QStringLiteral("Temp"));
        const QString target = program.filePath(QStringLiteral("Temp/") + 文件名(row->text(0)));
        QFile::remove(target);
        if (字段存为文件(row->value(1), target)) Services::shell().open(target, nullptr);
    }
    g.setRow(r);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
}

void Frm合同信息::Command8_Click()
{
    Command8->setEnabled(false);
    FlexGrid& g = *MSFlexGrid2;
    if (g.Rows() <= 1) return;
    const int r = std::max(1, g.Row());
    if (MsgBox(QStringLiteral("确认要删除 ") + g.TextMatrix(r, 1) + QStringLiteral(" 这个文件？"), vbYesNo + vbQuestion) != vbYes) {
        Command8->setEnabled(true);
        return;
    }
    if (!execute(QStringLiteral("DELETE FROM 合同信息附件 WHERE ID = ?"), {g.RowData(r)})) return;
    if (g.Rows() == 2) {
        g.setRows(1);
        return;
    }
    g.RemoveItem(r);
    for (int i = std::min(r, g.Rows() - 1); i < g.Rows(); ++i) g.setTextMatrix(i, 0, QString::number(i));
}

// ---------------------------------------------------------------- renewal and supplement

QString Frm合同信息::月底日期(const QString& dateText) const
{
    const auto d = parseDateText(dateText);
    if (!d) return QString();
    return lastDayOfMonthText(d->year(), d->month());
}

void Frm合同信息::Command20_Click()
{
    Label1[34]->clear();
    if (!Text1[14]->text().isEmpty()) {
        MsgBox(QStringLiteral("已经有续签合同，不能生成多份续签合同"), vbOKOnly);
        return;
    }
    Option2[0]->setChecked(true);
    QString name = Text1[0]->text();
    name.remove(QStringLiteral("\r\n"));
    name.remove(QLatin1Char('\n'));
    Label1[24]->setText(QStringLiteral("续签合同处理"));
    Label1[33]->setText(QStringLiteral("您正在处理 ") + name + QStringLiteral(" 的续签信息"));
    Picture6->show();
    Picture6->raise();
    Command28->setEnabled(true);
    Text5[0]->setText(name);
    Text5[4]->setText(Text1[4]->text());
    const auto oldEnd = parseDateText(Text1[6]->text());
    if (oldEnd) Text5[2]->setText(shortDateText(oldEnd->addDays(1)));
    if (!oldEnd || !parseDateText(Text1[5]->text())) {
        MsgBox(QStringLiteral("原合同的起止日期不正确，无法推算续签合同期，请直接输入新合同期"), vbOKOnly);
        return;
    }
    Text5[3]->setText(renewalEndText(Text1[5]->text(), Text1[6]->text(), Text5[2]->text()).value_or(QString()));
}

void Frm合同信息::Command31_Click()
{
    Option2[1]->setChecked(true);
    Picture6->show();
    Picture6->raise();
    Label1[24]->setText(QStringLiteral("补充合同处理"));
    Label1[33]->setText(QStringLiteral("您正在处理 ") + Text1[0]->text() + QStringLiteral(" 合同的补充合同"));
    Command28->setEnabled(true);
    Text5[0]->clear();
    Text5[2]->clear();
    Text5[3]->clear();
    Text5[4]->setText(QStringLiteral("0"));
}

void Frm合同信息::Option2_Click(int index)
{
    const bool supplement = index != 0;
    for (QWidget* w : {static_cast<QWidget*>(Check4), static_cast<QWidget*>(Label1[25]), static_cast<QWidget*>(Text5[5]),
                       static_cast<QWidget*>(Command23[0])})
        w->setVisible(supplement);
}

void Frm合同信息::placePanelCalendar(int index)
{
    const QLineEdit* box = Text5[size_t(index)];
    MonthView2->move(Picture6->x() + box->x() + box->width() - MonthView2->width(),
                     Picture6->y() + box->y() - MonthView2->height() - px(15));
    if (const auto d = parseDateText(box->text())) MonthView2->setSelectedDate(*d);
}

void Frm合同信息::Command23_Click(int index)
{
    if (index == 0) {
        List2->move(Picture6->x() + Text5[5]->x(), Picture6->y() + Text5[5]->y() - List2->height() - px(15));
        List2->setVisible(List2->isHidden());
        List2->raise();
        return;
    }
    const int box = index == 1 ? 2 : 3;
    placePanelCalendar(box);
    SetTag(MonthView2, QString::number(box));
    MonthView2->setVisible(MonthView2->isHidden());
    MonthView2->raise();
}

void Frm合同信息::List2_Click()
{
    const int index = List2->currentRow();
    if (index < 0) return;
    Text5[5]->setText(List2->item(index)->text());
    Label1[34]->setText(index < 类型类别.size() ? 类型类别[index] : QString());
    List2->hide();
}

void Frm合同信息::Text5_GotFocus(int index)
{
    Command23[1]->hide();
    Command23[2]->hide();
    MonthView2->hide();
    if (index != 2 && index != 3) return;
    QPushButton* b = Command23[index == 2 ? 1 : 2];
    b->show();
    b->raise();
    SetTag(MonthView2, QString::number(index));
    placePanelCalendar(index);
    MonthView2->show();
    MonthView2->raise();
}

void Frm合同信息::MonthView2_DateClick(const QDate& date)
{
    const QString tag = TagOf(MonthView2);
    if (tag == QStringLiteral("2")) Text5[2]->setText(shortDateText(date));
    else if (tag == QStringLiteral("3")) Text5[3]->setText(shortDateText(date));
    MonthView2->hide();
}

void Frm合同信息::Command28_Click()
{
    const bool renewal = Option2[0]->isChecked();
    if (!(renewal ? 续签合同确定() : 补充合同确定())) return;
    显示合同信息();
    if (renewal) {
        Picture6->hide();
        MsgBox(kContinue, vbOKOnly);
    } else {
        MsgBox(kContinue, vbOKOnly);
        Picture6->hide();
    }
}

void Frm合同信息::Command30_Click() { Picture6->hide(); }
void Frm合同信息::Image1_Click() { Picture6->hide(); }

bool Frm合同信息::续签合同确定() { return 保存后续合同(true); }
bool Frm合同信息::补充合同确定() { return 保存后续合同(false); }

bool Frm合同信息::保存后续合同(bool renewal)
{
    if (Text5[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("合同名称不能为空，请填写合同名称!"), vbOKOnly);
        return false;
    }
    if (Text5[1]->text().isEmpty() && !Check3->isChecked()) {
        MsgBox(QStringLiteral("请输入合同编号"), vbOKOnly);
        return false;
    }
    const auto start = parseDateText(Text5[2]->text());
    const auto end = parseDateText(Text5[3]->text());
    if (!start || !end) {
        MsgBox(kBadTerm, vbOKOnly);
        return false;
    }
    if (!renewal) {
        // A type typed by hand must still read "code name".
        if (Text5[5]->text().isEmpty() || !Text5[5]->text().contains(QLatin1Char(' '))) {
            MsgBox(QStringLiteral("请确定补充合同的合同类型"), vbOKOnly);
            return false;
        }
        if (leadingNumber(Text5[4]->text()) == 0 &&
            MsgBox(QStringLiteral("确认补充合同的金额为0"), vbYesNo + vbQuestion) != vbYes)
            return false;
    }
    std::optional<qint64> amount;
    if (!Text5[4]->text().trimmed().isEmpty()) {
        amount = parseAmountText(Text5[4]->text());
        if (!amount) {
            MsgBox(kBadAmount, vbOKOnly);
            return false;
        }
    }

    Command28->setEnabled(false);
    FollowUp f;
    f.renewal = renewal;
    f.fromNumber = Text1[1]->text();
    NewContract& c = f.contract;
    c.automatic = Check3->isChecked();
    c.form = PrefixForm::DigitsAloneWhenNoPrefix;
    c.typedNumber = Text5[1]->text();
    if (c.automatic) {
        // A supplement is numbered with its main contract's prefix.
        const auto prefix = typePrefixByName(nameOf(Text1[3]->text()));
        if (!prefix) {
            Command28->setEnabled(true);
            return false;
        }
        c.prefix = *prefix;
    }
    const Counterparty cp = counterparty();
    c.columns = {
        {QStringLiteral("对应部门"), TagOf(Text3)},
        {QStringLiteral("合同名称"), nullable(Text5[0]->text())},
        {QStringLiteral("对方单位"), nullable(Text1[2]->text())},
        {QStringLiteral("对方开户行"), nullable(cp.bank)},
        {QStringLiteral("对方帐号"), nullable(cp.account)},
        {QStringLiteral("对方税号"), nullable(cp.taxNumber)},
        {QStringLiteral("是否是合格供方"), cp.qualified ? 1 : 0},
    };
    if (cp.qualified) c.columns.emplace_back(QStringLiteral("合格供方代码"), TagOf(Text1[2]));
    c.columns.emplace_back(QStringLiteral("合同类型"),
                           nullable(codeOf(renewal ? Text1[3]->text() : Text5[5]->text())));
    c.columns.emplace_back(QStringLiteral("合同金额"), amountValue(amount));
    c.columns.emplace_back(QStringLiteral("合同起始日期"), *start);
    c.columns.emplace_back(QStringLiteral("合同终止日期"), *end);
    c.columns.emplace_back(QStringLiteral("主要条款"), nullable(toStored(Text1[7]->text())));
    c.columns.emplace_back(QStringLiteral("对方签约人"), nullable(Text1[8]->text()));
    c.columns.emplace_back(QStringLiteral("签约人"), nullable(Text1[9]->text()));
    if (!renewal) addSupplementColumns(c.columns, Text1[1]->text(), Check4->isChecked());

    const FollowUpOutcome out = insertFollowUp(f);
    switch (out.kind) {
    case FollowUpOutcome::Inserted: break;
    case FollowUpOutcome::NumberTaken:
        MsgBox(out.number + kNumberTaken, vbOKOnly);
        Command28->setEnabled(true);
        return false;
    case FollowUpOutcome::AlreadyRenewed:
        MsgBox(QStringLiteral("已经有续签合同，不能生成多份续签合同"), vbOKOnly);
        Command28->setEnabled(true);
        return false;
    case FollowUpOutcome::OldGone:
        reportNoRow();
        Command28->setEnabled(true);
        return false;
    case FollowUpOutcome::Failed:
        ShowStandardError(out.error.number, out.error.description);
        Command28->setEnabled(true);
        return false;
    }
    if (c.automatic) Text5[1]->setText(out.number);
    SetTag(Text1[1], QString::number(out.id));
    Text1[1]->setText(out.number);
    Tag = QStringLiteral("修改");
    return true;
}

}  // namespace corvane
