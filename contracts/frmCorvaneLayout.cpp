#include "contracts/frmCorvane.h"

#include <QButtonGroup>

#include "platform/InputRules.h"
#include "platform/Widgets.h"

// The list window's control tree and its geometry, in twips for the old
// nine-point face; the grid, the button bar and the status bar follow the
// window's size (layoutBar).

namespace corvane {

namespace {

const QString kFormat = QStringLiteral(
    "^序|<合同编号|<合同名称|<所属部门|<合同类别|<合同性质|>合同金额|<对方单位|<对方开户行|<对方帐号|<合同签订日期|"
    "<合同生效日期|>合同期限|<合同终止日期|<合同中止日期|<合同状态|<签约人|<对方签约人|<对应续约合同编号||||||");

// The button bar's height, and its buttons' top, height, least width and gap.
constexpr int kBarHeight = 600;
constexpr int kButtonTop = 90, kButtonHeight = 420, kButtonWidth = 1200, kButtonGap = 60;
// What a button narrowed on a small screen keeps beside its caption.
constexpr int kCaptionPadding = 180;
// The least width of the count label at the bar's right.
constexpr int kCountWidth = 2400;

template <class T>
T* placed(T* w, int left, int top, int width, int height)
{
    place(w, left, top, width, height);
    return w;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width, int height)
{
    return placed(named(new QLabel(caption, parent), name), left, top, width, height);
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, QButtonGroup* group, int left,
                     int top, int width)
{
    auto* o = placed(named(new QRadioButton(caption, parent), name), left, top, width, 360);
    group->addButton(o);
    return o;
}

QDateEdit* picker(QWidget* parent, const QString& name, int left, int top)
{
    auto* d = named(new QDateEdit(parent), name);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return placed(d, left, top, 1980, 360);
}

// A panel laid over the list: a hidden raised frame that its button shows.
template <class T>
T* panel(T* frame, const QString& name, int width, int height)
{
    named(frame, name);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setAutoFillBackground(true);
    return placed(frame, 0, 0, width, height);
}

}  // namespace

void frmCorvane::buildLayout()
{
    setObjectName(QStringLiteral("frmCorvane"));
    setCaption(QStringLiteral("合同信息"));
    resize(px(14400), px(9600));
    // The panels are laid out in twips for the old nine-point face, and the
    // bar's ten buttons must fit a 1024-pixel screen.
    useLayoutFace(this);

    Label3 = label(this, QStringLiteral("Label3"), QStringLiteral(" 合同列表"), 60, 30, 4500, 300);

    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->move(px(30), px(360));
    MSFlexGrid1->setFormatString(kFormat);
    MSFlexGrid1->setColKind(Col::序, flexKindRowNumber);
    MSFlexGrid1->setColKind(Col::合同金额, flexKindAmount);
    for (int c : {Col::合同签订日期, Col::合同生效日期, Col::合同终止日期, Col::合同中止日期, Col::提交日期,
                  Col::流转结束日期})
        MSFlexGrid1->setColKind(c, flexKindDate);
    MSFlexGrid1->setColKind(Col::流转通过, flexKindFlag);

    StatusBar1 = new LoginStatusBar(this);
    StatusBar1_Panels = StatusBar1->panels;

    // ---- button bar (placed by layoutBar)
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Command13 = button(Picture1, QStringLiteral("Command13"), QStringLiteral("快速查找"));
    Command6 = button(Picture1, QStringLiteral("Command6"), QStringLiteral("合同筛选"));
    Command7 = button(Picture1, QStringLiteral("Command7"), QStringLiteral("合同付款处理"));
    Command8 = button(Picture1, QStringLiteral("Command8"), QStringLiteral("合同履行计划"));
    Command9 = button(Picture1, QStringLiteral("Command9"), QStringLiteral("合同到期/中止处理"));
    Command5 = button(Picture1, QStringLiteral("Command5"), QStringLiteral("删除"));
    Command3 = button(Picture1, QStringLiteral("Command3"), QStringLiteral("新增"));
    Command4 = button(Picture1, QStringLiteral("Command4"), QStringLiteral("关闭"));
    Command2 = button(Picture1, QStringLiteral("Command2"), QStringLiteral("修改/查看"));
    Command10 = button(Picture1, QStringLiteral("Command10"), QStringLiteral("输出EXCEL"));
    Label1[2] = named(new QLabel(QStringLiteral("共有  份合同"), Picture1), QStringLiteral("Label1_2"));

    // ---- filter panel
    Picture2 = panel(new QFrame(this), QStringLiteral("Picture2"), 10350, 6690);
    Label5 = label(Picture2, QStringLiteral("Label5"), QStringLiteral("合同筛选"), 120, 90, 3000, 330);
    Label1[0] = label(Picture2, QStringLiteral("Label1_0"), QStringLiteral("部门"), 120, 510, 600, 360);
    Text1 = placed(named(new QLineEdit(Picture2), QStringLiteral("Text1")), 750, 510, 3750, 360);
    Text1->setReadOnly(true);
    TreeView1 = placed(named(new QTreeWidget(Picture2), QStringLiteral("TreeView1")), 120, 960, 4380, 4950);
    TreeView1->setHeaderHidden(true);
    Command1 = placed(button(Picture2, QStringLiteral("Command1"), QStringLiteral("确定")), 7140, 6090, 1440, 450);
    Command11 = placed(button(Picture2, QStringLiteral("Command11"), QStringLiteral("关闭")), 8730, 6090, 1440, 450);

    Frame1 = placed(named(new QGroupBox(QStringLiteral("查询"), Picture2), QStringLiteral("Frame1")), 4650, 420, 5550, 5490);
    // The options one under another, the first clear of the frame's caption.
    const int step = 405;
    int y = 450;
    auto* filters = new QButtonGroup(this);
    const QString option3Captions[4] = {QStringLiteral("全部履行中合同"), QStringLiteral("应付到期合同"),
                                        QStringLiteral("应收到期合同"), QStringLiteral("到期合同")};
    for (int i = 0; i < 4; ++i, y += step)
        Option3[size_t(i)] = option(Frame1, QStringLiteral("Option3_%1").arg(i), option3Captions[i], filters, 150, y, 2550);
    const QString option1Captions[2] = {QStringLiteral("已终止履行合同"), QStringLiteral("已到期未终止履行合同")};
    for (int i = 0; i < 2; ++i, y += step)
        Option1[size_t(i)] = option(Frame1, QStringLiteral("Option1_%1").arg(i), option1Captions[i], filters, 150, y, 3300);
    Option4 = option(Frame1, QStringLiteral("Option4"), QStringLiteral("签约中"), filters, 150, y, 3300);
    y += step;
    Option2 = option(Frame1, QStringLiteral("Option2"), QStringLiteral("全部(合同较多时会影响速度)"), filters, 150, y, 4500);
    y += step;
    // Beside the due options; Option3_Click moves them to the option chosen.
    Label1[3] = label(Frame1, QStringLiteral("Label1_3"), QStringLiteral("天数范围"), 2940, 540, 1140, 300);
    Text2 = placed(named(new QLineEdit(QStringLiteral("60"), Frame1), QStringLiteral("Text2")), 4140, 480, 1080, 360);
    Check1 = placed(named(new QCheckBox(QStringLiteral("按全公司显示"), Frame1), QStringLiteral("Check1")), 150, y, 3300, 360);
    y += 420;
    Frame2 = placed(named(new QGroupBox(Frame1), QStringLiteral("Frame2")), 90, y, 5370, 5400 - y);
    auto* basis = new QButtonGroup(this);
    const QString option5Captions[3] = {QStringLiteral("按生效日期"), QStringLiteral("按终止日期"),
                                        QStringLiteral("按中止日期")};
    for (int i = 0; i < 3; ++i)
        Option5[size_t(i)] = option(Frame2, QStringLiteral("Option5_%1").arg(i), option5Captions[i], basis,
                                    90 + 1740 * i, 120, 1680);
    Option5[0]->setChecked(true);
    Label2[2] = label(Frame2, QStringLiteral("Label2_2"), QStringLiteral("日期范围"), 90, 600, 1080, 360);
    DTPicker1 = picker(Frame2, QStringLiteral("DTPicker1"), 1200, 600);
    DTPicker2 = picker(Frame2, QStringLiteral("DTPicker2"), 3270, 600);
    Option3[0]->setChecked(true);
    Picture2->hide();

    // ---- quick search panel
    Picture3 = panel(new DragPanel(this), QStringLiteral("Picture3"), 4950, 4800);
    Label4 = label(Picture3, QStringLiteral("Label4"), QStringLiteral("合同快速查找"), 150, 90, 3000, 300);
    Image1[0] = placed(named(new QToolButton(Picture3), QStringLiteral("Image1_0")), 4380, 60, 480, 360);
    Image1[0]->setText(QStringLiteral("×"));
    Image1[0]->setAutoRaise(true);
    Label6 = label(Picture3, QStringLiteral("Label6"), QStringLiteral("请输入对方单位名称"), 150, 480, 3000, 300);
    Text3 = placed(named(new QLineEdit(Picture3), QStringLiteral("Text3")), 150, 810, 4650, 330);
    // A counterparty name is at most as long as 合同信息.对方单位.
    applyLineRules(Text3, 200);
    List1 = placed(named(new QListWidget(Picture3), QStringLiteral("List1")), 150, 1230, 4650, 2850);
    Command14 = placed(button(Picture3, QStringLiteral("Command14"), QStringLiteral("查找")), 150, 4230, 1440, 420);
    Command16 = placed(button(Picture3, QStringLiteral("Command16"), QStringLiteral("查下一个")), 1740, 4230, 1440, 420);
    Command15 = placed(button(Picture3, QStringLiteral("Command15"), QStringLiteral("关闭")), 3330, 4230, 1440, 420);
    Picture3->hide();
}

// The status bar at the bottom, the button bar above it and the grid filling
// the rest. The count label keeps the room its text needs at the right; on a
// narrow screen the buttons give up their padding first, never their captions.
void frmCorvane::layoutBar()
{
    const int barHeight = px(kBarHeight);
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
    Picture1->setGeometry(0, height() - statusHeight - barHeight, width(), barHeight);
    const int labelWidth = std::max(px(kCountWidth), Label1[2]->sizeHint().width());
    const std::array<QPushButton*, 10> buttons = {Command13, Command6, Command7, Command8, Command9,
                                                  Command5,  Command3, Command2, Command10, Command4};
    const int gap = px(kButtonGap);
    const auto wideOf = [](const QPushButton* b) { return std::max(px(kButtonWidth), b->sizeHint().width()); };
    const auto narrowOf = [](const QPushButton* b) {
        return b->fontMetrics().horizontalAdvance(b->text()) + px(kCaptionPadding);
    };
    int natural = 0, tight = 0;
    for (const QPushButton* b : buttons) {
        natural += wideOf(b) + gap;
        tight += narrowOf(b) + gap;
    }
    const int room = width() - px(180) - px(120) - labelWidth;
    int x = px(90);
    for (QPushButton* b : buttons) {
        const int wide = wideOf(b), narrow = narrowOf(b);
        int w = wide;
        if (natural > room && natural > tight)
            w = narrow + (wide - narrow) * std::max(0, room - tight) / (natural - tight);
        b->setGeometry(x, px(kButtonTop), w, px(kButtonHeight));
        x += w + gap;
    }
    Label1[2]->setGeometry(x + px(120), px(kButtonTop), std::max(0, width() - x - px(120) - px(90)), px(kButtonHeight));
    Picture1_Resize();
}

void frmCorvane::Picture1_Resize()
{
    const int w = width() - MSFlexGrid1->x() - px(30);
    const int h = Picture1->y() - MSFlexGrid1->y() - px(60);
    if (w > 0 && h > 0) MSFlexGrid1->resize(w, h);
}

void frmCorvane::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    layoutBar();
}

}  // namespace corvane
