// The control tree of the receipt window, geometry in twips.

#include <QPainter>
#include <QScrollBar>

#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"
#include "receipts/frm合同收款.h"

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top, width, 300);
    return l;
}

QLineEdit* textBox(QWidget* parent, const QString& name, int left, int top, int width, int maxLength = 0)
{
    auto* e = named(new QLineEdit(parent), name);
    applyLineRules(e, maxLength);
    place(e, left, top, width, 300);
    return e;
}

// The boxes of the bill take what its row in 票据 holds.
int billColumn(const char* column) { return schema::textLength(QStringLiteral("票据"), QString::fromUtf8(column)); }

QComboBox* list(QWidget* parent, const QString& name, int left, int top, int width)
{
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(false);
    place(c, left, top, width, 300);
    return c;
}

QDateEdit* picker(QWidget* parent, const QString& name, int left, int top)
{
    auto* d = named(new QDateEdit(parent), name);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    place(d, left, top, 1500, 300);
    return d;
}

QPushButton* command(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* b = button(parent, name, caption);
    place(b, left, top, width, 360);
    return b;
}

// The tick drawn in a selected instalment's 选择 cell.
QPixmap tickPicture()
{
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 128, 0), 2.2));
    painter.drawLine(QPointF(2, 7.5), QPointF(5.5, 11));
    painter.drawLine(QPointF(5.5, 11), QPointF(12, 3));
    return p;
}

// Width in twips of n half-width character cells of the grid's font.
int cells(const FlexGrid* grid, int n)
{
    return pixelsToTwips(grid->fontMetrics().horizontalAdvance(QLatin1Char('0')) * n) + 90;
}

// The invoice lines' sixteen columns at their widths fit without scrolling.
constexpr int kWider = 4680;
constexpr int kWidth = 11520 + kWider;

}  // namespace

void frm合同收款::buildLayout()
{
    setObjectName(QStringLiteral("frm合同收款"));
    setCaption(kCaption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(kWidth), px(7440));
    useLayoutFace(this);

    // ---- contract and instalments
    Label1[0] = label(this, QStringLiteral("Label1_0"), QStringLiteral("合同名称"), 120, 150, 900);
    Text3[0] = textBox(this, QStringLiteral("Text3_0"), 1050, 120, 10290 + kWider);
    Label1[1] = label(this, QStringLiteral("Label1_1"), QStringLiteral("对应部门"), 120, 510, 900);
    Text3[1] = textBox(this, QStringLiteral("Text3_1"), 1050, 480, 4500 + kWider);
    Label1[2] = label(this, QStringLiteral("Label1_2"), QStringLiteral("对应管理处"), 5760 + kWider, 510, 1100);
    Combo3 = list(this, QStringLiteral("Combo3"), 6900 + kWider, 480, 4440);
    for (QLineEdit* e : {Text3[0], Text3[1]}) e->setReadOnly(true);

    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 120, 900, 11220 + kWider, 5280);
    MSFlexGrid1->setCols(8);
    MSFlexGrid1->setFixedCols(1);
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setFixedRows(1);
    MSFlexGrid1->setFormatString(QStringLiteral("^序|^选择|<收款日期|>计划金额|>已收金额|>余额|>本次收款|"));
    const int planWidths[7] = {4, 4, 22, 16, 16, 18, 18};
    for (int c = 0; c < 7; ++c) MSFlexGrid1->setColWidth(c, cells(MSFlexGrid1, planWidths[c]));
    MSFlexGrid1->setColWidth(7, 0);
    for (int c = 0; c < 8; ++c) MSFlexGrid1->setFixedAlignment(c, flexAlignCenterCenter);
    Text2 = textBox(this, QStringLiteral("Text2"), 0, 0, 1200, 20);
    Text2->setStyleSheet(QStringLiteral("background: #ffffe1"));
    Text2->hide();
    Image1[0] = tickPicture();
    Image1[1] = QPixmap();

    Label1[3] = label(this, QStringLiteral("Label1_3"), QStringLiteral("合计收款"), 120, 6360, 900);
    Text3[2] = textBox(this, QStringLiteral("Text3_2"), 1050, 6330, 1800, 20);
    Text3[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Command2 = command(this, QStringLiteral("Command2"), QStringLiteral("分摊"), 3000, 6300, 1100);
    Command5 = command(this, QStringLiteral("Command5"), QStringLiteral("收款处理"), 6720 + kWider, 6300, 1400);
    Command3 = command(this, QStringLiteral("Command3"), QStringLiteral("已开票据查询"), 8220 + kWider, 6300, 1600);
    Command4 = command(this, QStringLiteral("Command4"), QStringLiteral("关闭"), 9920 + kWider, 6300, 1400);

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    place(StatusBar1, 0, 7440 - 330, kWidth, 330);
    const QString captions[5] = {QStringLiteral("部门"), QString(), QStringLiteral("岗位"), QString(), QString()};
    for (int i = 0; i < 5; ++i) {
        panels[size_t(i)] = named(new QLabel(captions[i], StatusBar1), QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        StatusBar1->addWidget(panels[size_t(i)], i == 4 ? 1 : 0);
    }

    // ---- bill panel
    Picture4 = named(new QFrame(this), QStringLiteral("Picture4"));
    Picture4->setFrameShape(QFrame::Box);
    Picture4->setAutoFillBackground(true);
    place(Picture4, 45, 900, 11400 + kWider, 6150);
    auto* p = Picture4;
    int n = 0;
    auto caption = [&](const QString& text, int left, int top, int width) {
        Q_ASSERT(n < int(Label2.size()));
        Label2.at(size_t(n)) = label(p, QStringLiteral("Label2_%1").arg(n), text, left, top, width);
        return Label2[size_t(n++)];
    };
    QFont bold = caption(QStringLiteral("票据详细信息"), 120, 60, 2400)->font();
    bold.setBold(true);
    Label2[0]->setFont(bold);
    Image4 = named(new QToolButton(p), QStringLiteral("Image4"));
    Image4->setText(QStringLiteral("×"));
    Image4->setAutoRaise(true);
    place(Image4, 11400 + kWider - 420, 30, 330, 330);

    caption(QStringLiteral("票据类型"), 120, 420, 800);
    Combo2 = list(p, QStringLiteral("Combo2"), 920, 390, 2900);
    caption(QStringLiteral("票据簿"), 3960, 420, 700);
    Combo5 = list(p, QStringLiteral("Combo5"), 4620, 390, 3900);
    caption(QStringLiteral("票据"), 8660, 420, 500);
    Combo8 = list(p, QStringLiteral("Combo8"), 9140, 390, 1500);
    caption(QStringLiteral("定位票据"), 10760, 420, 800);
    Text10 = textBox(p, QStringLiteral("Text10"), 11540, 390, kWider - 260, 50);

    caption(QStringLiteral("付款人"), 120, 780, 800);
    Text5[0] = textBox(p, QStringLiteral("Text5_0"), 920, 750, 5000 + kWider / 2, billColumn("付款人"));
    caption(QStringLiteral("税号"), 6060 + kWider / 2, 780, 600);
    Text5[1] = textBox(p, QStringLiteral("Text5_1"), 6660 + kWider / 2, 750, 4620 + kWider / 2, billColumn("税号"));
    caption(QStringLiteral("地址"), 120, 1140, 800);
    Text5[2] = textBox(p, QStringLiteral("Text5_2"), 920, 1110, 5000 + kWider / 2, billColumn("地址"));
    caption(QStringLiteral("账号"), 6060 + kWider / 2, 1140, 600);
    Text5[3] = textBox(p, QStringLiteral("Text5_3"), 6660 + kWider / 2, 1110, 4620 + kWider / 2, billColumn("账号"));
    caption(QStringLiteral("备注"), 120, 1500, 800);
    Text5[4] = textBox(p, QStringLiteral("Text5_4"), 920, 1470, 10360 + kWider, billColumn("备注"));

    MSFlexGrid2 = named(new FlexGrid(p), QStringLiteral("MSFlexGrid2"));
    place(MSFlexGrid2, 120, 1860, 11160 + kWider, 1800);
    MSFlexGrid2->setCols(16);
    MSFlexGrid2->setFixedCols(0);
    MSFlexGrid2->setRows(1);
    MSFlexGrid2->setFixedRows(1);
    MSFlexGrid2->setFormatString(
        QStringLiteral("<项  目|<摘  要|^单位|>数量|>单价|>金额|>税率|>税额||<对应科目||||||"));
    const int lineWidths[16] = {25, 38, 7, 7, 14, 14, 5, 10, 0, 17, 0, 0, 0, 0, 0, 0};
    for (int c = 0; c < 16; ++c) {
        MSFlexGrid2->setColWidth(c, c >= 10 ? 0 : c == 8 ? 45 : cells(MSFlexGrid2, lineWidths[c]));
        MSFlexGrid2->setFixedAlignment(c, flexAlignCenterCenter);
    }
    MSFlexGrid2->setRow(0);
    MSFlexGrid2->setCol(8);
    MSFlexGrid2->setCellBackColor(QColor(255, 0, 0));
    MSFlexGrid2->setCol(0);
    Text4 = textBox(p, QStringLiteral("Text4"), 0, 0, 1200, 0);  // the limit of the cell it is opened on
    Text4->setStyleSheet(QStringLiteral("background: #ffffe1"));
    Text4->hide();
    Command8 = named(new QPushButton(QStringLiteral("…"), p), QStringLiteral("Command8"));
    place(Command8, 0, 0, 300, 285);
    Command8->hide();
    TreeView3 = named(new QTreeWidget(p), QStringLiteral("TreeView3"));
    TreeView3->setHeaderHidden(true);
    place(TreeView3, 120, 2200, 3600, 2800);
    TreeView3->hide();

    caption(QStringLiteral("合计"), 120, 3780, 500);
    Text1[1] = textBox(p, QStringLiteral("Text1_1"), 620, 3750, 1700);
    caption(QStringLiteral("合计收入"), 2460, 3780, 800);
    Text1[2] = textBox(p, QStringLiteral("Text1_2"), 3260, 3750, 1700);
    caption(QStringLiteral("合计税额"), 5100, 3780, 800);
    Text1[3] = textBox(p, QStringLiteral("Text1_3"), 5900, 3750, 1700);
    for (int i = 1; i <= 3; ++i) {
        Text1[size_t(i)]->setReadOnly(true);
        Text1[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Text1[size_t(i)]->setText(QStringLiteral("0.00"));
    }

    caption(QStringLiteral("收款日期"), 120, 4170, 800);
    DTPicker1 = picker(p, QStringLiteral("DTPicker1"), 920, 4140);
    caption(QStringLiteral("收款方式"), 2580, 4170, 800);
    Combo1 = list(p, QStringLiteral("Combo1"), 3380, 4140, 1700);
    Option2[0] = named(new QRadioButton(QStringLiteral("电子发票"), p), QStringLiteral("Option2_0"));
    place(Option2[0], 5400, 4140, 1200, 300);
    Option2[1] = named(new QRadioButton(QStringLiteral("纸质发票"), p), QStringLiteral("Option2_1"));
    place(Option2[1], 6660, 4140, 1200, 300);
    Option2[1]->setChecked(true);
    for (QRadioButton* o : Option2) o->setEnabled(false);

    caption(QStringLiteral("电子发票附加信息："), 120, 4530, 1800);
    caption(QStringLiteral("移动电话号码"), 1920, 4530, 1200);
    Text1[4] = textBox(p, QStringLiteral("Text1_4"), 3120, 4500, 1960, billColumn("手机号码"));
    caption(QStringLiteral("邮箱地址"), 5400, 4530, 800);
    Text1[5] = textBox(p, QStringLiteral("Text1_5"), 6200, 4500, 3000, billColumn("邮箱地址"));

    caption(QStringLiteral("开票日期"), 120, 4920, 800);
    DTPicker2 = picker(p, QStringLiteral("DTPicker2"), 920, 4890);
    caption(QStringLiteral("开票人"), 2580, 4920, 700);
    Combo6 = list(p, QStringLiteral("Combo6"), 3280, 4890, 1500);
    caption(QStringLiteral("收款人"), 4920, 4920, 700);
    Combo7 = list(p, QStringLiteral("Combo7"), 5620, 4890, 1500);
    Check2 = named(new QCheckBox(QStringLiteral(" 预开票据"), p), QStringLiteral("Check2"));
    place(Check2, 7380, 4890, 1300, 300);
    Check6 = named(new QCheckBox(QStringLiteral("无需打印票据"), p), QStringLiteral("Check6"));
    place(Check6, 8760, 4890, 1600, 300);

    Command16 = command(p, QStringLiteral("Command16"), QStringLiteral("票据打印"), 4500 + kWider, 5460, 1500);
    Command26 = command(p, QStringLiteral("Command26"), QStringLiteral("扫码收款"), 6120 + kWider, 5460, 1500);
    Command1 = command(p, QStringLiteral("Command1"), QStringLiteral("收款确定"), 7740 + kWider, 5460, 1500);
    Command22 = command(p, QStringLiteral("Command22"), QStringLiteral("开票项目设置"), 9360 + kWider, 5460, 1800);
    Command16->setEnabled(false);
    Command26->setEnabled(false);
    Combo5->setEnabled(false);
    Combo8->setEnabled(false);
    Picture4->hide();

    // ---- scan panel
    Picture7 = named(new QFrame(this), QStringLiteral("Picture7"));
    Picture7->setAutoFillBackground(true);
    Picture7->setFrameShape(QFrame::Box);
    place(Picture7, 0, 0, kWidth, 7440);
    label(Picture7, QStringLiteral("Label12_0"), QStringLiteral("条码"), 3600 + kWider / 2, 2700, 700);
    Text12[0] = textBox(Picture7, QStringLiteral("Text12_0"), 4320 + kWider / 2, 2670, 3600, 100);
    label(Picture7, QStringLiteral("Label12_1"), QStringLiteral("金额"), 3600 + kWider / 2, 3120, 700);
    Text12[1] = textBox(Picture7, QStringLiteral("Text12_1"), 4320 + kWider / 2, 3090, 3600, 20);
    Text12[1]->setReadOnly(true);
    Label12 = label(Picture7, QStringLiteral("Label12"), QStringLiteral("扫码前请把光标置于条码框内"), 4320 + kWider / 2, 3540, 3600);
    Command19 = command(Picture7, QStringLiteral("Command19"), QStringLiteral("取消"), 5400 + kWider / 2, 4020, 1300);
    Picture7->hide();

    // Esc closes the panel on show by its own button, and then the window as 关闭 does.
    addClosablePanel(Picture4, Image4);
    addClosablePanel(Picture7, Command19);
    setCancelButton(Command4);

    // ---- what the user does
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command16, &QPushButton::clicked, this, [this] { Command16_Click(); });
    connect(Command26, &QPushButton::clicked, this, [this] { Command26_Click(); });
    connect(Command19, &QPushButton::clicked, this, [this] { Command19_Click(); });
    connect(Command22, &QPushButton::clicked, this, [this] { Command22_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Image4, &QToolButton::clicked, this, [this] { Image4_Click(); });
    connect(Combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Combo3, &QComboBox::activated, this, [this] { Combo3_Click(); });
    connect(Combo5, &QComboBox::activated, this, [this] { Combo5_Click(); });
    connect(Check6, &QCheckBox::clicked, this, [this] { Check6_Click(); });
    connect(Option2[0], &QRadioButton::clicked, this, [this] { Option2_Click(0); });
    connect(Option2[1], &QRadioButton::clicked, this, [this] { Option2_Click(1); });
    connect(Text10, &QLineEdit::returnPressed, this, [this] { Text10_KeyPress(13); });
    connect(Text2, &QLineEdit::returnPressed, this, [this] { Text2_KeyPress(13); });
    connect(Text4, &QLineEdit::returnPressed, this, [this] { Text4_KeyPress(13); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid2, &FlexGrid::Click, this, [this] { MSFlexGrid2_Click(); });
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });
    Text10->installEventFilter(this);
    Text4->installEventFilter(this);
    TreeView3->installEventFilter(this);
    connect(TreeView3, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { TreeView3_NodeClick(node); });
}

}  // namespace corvane
