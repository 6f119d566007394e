// The control tree of the invoicing item settings window, geometry in twips.

#include <QDir>
#include <QScrollBar>

#include "platform/InputRules.h"
#include "platform/Widgets.h"
#include "bills/InvoicingItemRules.h"
#include "bills/frm开票项目设置.h"

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
    place(e, left, top, width, 330);
    return e;
}

QPushButton* command(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* b = button(parent, name, caption);
    place(b, left, top, width, 380);
    return b;
}

QFrame* panel(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* p = named(new QFrame(parent), name);
    p->setFrameShape(QFrame::Box);
    p->setAutoFillBackground(true);
    place(p, left, top, width, height);
    p->hide();
    return p;
}

QToolButton* closeImage(QFrame* parent, const QString& name, int panelWidth)
{
    auto* b = named(new QToolButton(parent), name);
    b->setText(QStringLiteral("×"));
    b->setAutoRaise(true);
    place(b, panelWidth - 330, 30, 300, 300);
    return b;
}

// Keeps what a box may hold of what was typed or pasted, the caret where it was.
void keepOnly(QLineEdit* box, const std::function<QString(const QString&)>& rule)
{
    QObject::connect(box, &QLineEdit::textEdited, box, [box, rule](const QString& text) {
        const QString kept = rule(text);
        if (kept == text) return;
        const int caret = box->cursorPosition() - int(text.size() - kept.size());
        box->setText(kept);
        box->setCursorPosition(std::max(0, caret));
    });
}

}  // namespace

void frm开票项目设置::buildLayout()
{
    setCaption(kCaption);
    useLayoutFace(this);
    setFixedSize(px(12600), px(8100));
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    const char* links[] = {"应用到其他项目", "接口文件目录设置", "接口文件编号设置"};
    for (int i = 0; i < 3; ++i) {
        const int left = 5400 + i * 2400;
        Shape1[size_t(i)] = named(new QFrame(this), QStringLiteral("Shape1_%1").arg(i));
        place(Shape1[size_t(i)], left, 150, 2250, 390);
        Label2[size_t(i)] = named(new QLabel(QString::fromUtf8(links[i]), this), QStringLiteral("Label2_%1").arg(i));
        Label2[size_t(i)]->setAlignment(Qt::AlignCenter);
        Label2[size_t(i)]->setStyleSheet(QStringLiteral("QLabel { color: #0000c0; text-decoration: underline; }"
                                                        "QLabel:disabled { color: gray; }"));
        Label2[size_t(i)]->setCursor(Qt::PointingHandCursor);
        place(Label2[size_t(i)], left + 30, 180, 2190, 330);
        Label2[size_t(i)]->installEventFilter(this);
        Label2[size_t(i)]->setEnabled(false);
    }

    Label1[0] = label(this, QStringLiteral("Label1_0"), QStringLiteral("请选择项目"), 240, 210, 1100);
    Combo1 = named(new QComboBox(this), QStringLiteral("Combo1"));
    place(Combo1, 1380, 180, 3800, 330);

    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 240, 690, 12120, 6180);
    MSFlexGrid1->setCols(8);
    MSFlexGrid1->setFixedCols(0);
    MSFlexGrid1->setFormatString(
        QStringLiteral("^序|^收费项目|^显示名称|^应税科目|^税控盘对应项目编号|^税控盘对应项目名称|^税率（%）|"));
    const int widths[] = {500, 2300, 1500, 2300, 2100, 2100, 1000, 0};
    for (int c = 0; c < 8; ++c) {
        MSFlexGrid1->setColWidth(c, widths[c]);
        MSFlexGrid1->setFixedAlignment(c, flexAlignCenterCenter);
        if (c >= 1 && c <= 5) MSFlexGrid1->setColAlignment(c, flexAlignLeftCenter);
    }
    MSFlexGrid1->setColAlignment(6, flexAlignRightCenter);
    MSFlexGrid1->setRows(1);

    Text1 = textBox(this, QStringLiteral("Text1"), 0, 0, 1000, 0);  // the limit of the cell it is opened on
    Text1->hide();
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("…"));
    place(Command3, 0, 0, 330, 300);
    Command3->hide();

    Command1 = command(this, QStringLiteral("Command1"), QStringLiteral("保存"), 9300, 7020, 1400);
    Command1->setEnabled(false);
    Command2 = command(this, QStringLiteral("Command2"), QStringLiteral("退出"), 10920, 7020, 1400);

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    place(StatusBar1, 0, 7560, 12600, 540);

    // ---- apply panel
    Picture1 = panel(this, QStringLiteral("Picture1"), 5400, 690, 4200, 4200);
    label(Picture1, QStringLiteral("Picture1Title"), QStringLiteral("应用到其他项目"), 120, 60, 3000);
    Image1 = closeImage(Picture1, QStringLiteral("Image1"), 4200);
    Label1[2] = label(Picture1, QStringLiteral("Label1_2"), QStringLiteral("请选择应用到的项目"), 120, 420, 3900);
    List1 = named(new QListWidget(Picture1), QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List1, 120, 780, 3960, 2700);
    Command4 = command(Picture1, QStringLiteral("Command4"), QStringLiteral("应用"), 2700, 3660, 1380);

    // ---- subject panel
    Picture5 = panel(this, QStringLiteral("Picture5"), 7560, 690, 4800, 5400);
    label(Picture5, QStringLiteral("Picture5Title"), QStringLiteral("应税科目选择"), 120, 60, 3000);
    Image5 = closeImage(Picture5, QStringLiteral("Image5"), 4800);
    TreeView1 = named(new QTreeWidget(Picture5), QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    place(TreeView1, 120, 420, 4560, 4320);
    Text6 = textBox(Picture5, QStringLiteral("Text6"), 120, 4860, 3000, 200);
    Command11 = command(Picture5, QStringLiteral("Command11"), QStringLiteral("确定"), 3240, 4830, 1440);

    // ---- folder panel
    Picture2 = panel(this, QStringLiteral("Picture2"), 2400, 1200, 7800, 3000);
    Label1[3] = label(Picture2, QStringLiteral("Label1_3"), QStringLiteral("接口文件目录设置"), 120, 60, 3000);
    Image2 = closeImage(Picture2, QStringLiteral("Image2"), 7800);
    const struct { int label; const char* caption; } rows[] = {
        {4, "导出文件目录"}, {5, "回写文件目录"}, {6, "备份文件目录"}, {13, "手动导出目录"}};
    for (int i = 0; i < 4; ++i) {
        const int top = 480 + i * 480;
        Label1[size_t(rows[i].label)] = label(Picture2, QStringLiteral("Label1_%1").arg(rows[i].label),
                                              QString::fromUtf8(rows[i].caption), 120, top + 30, 1300);
        Text2[size_t(i)] = textBox(Picture2, QStringLiteral("Text2_%1").arg(i), 1440, top, 5500, 255);
        Command6[size_t(i)] = button(Picture2, QStringLiteral("Command6_%1").arg(i), QStringLiteral("…"));
        place(Command6[size_t(i)], 7020, top, 600, 330);
    }
    Command5 = command(Picture2, QStringLiteral("Command5"), QStringLiteral("保存"), 6240, 2460, 1380);

    // ---- folder chooser
    Picture3 = panel(this, QStringLiteral("Picture3"), 3000, 1500, 4500, 5000);
    Label1[7] = label(Picture3, QStringLiteral("Label1_7"), QStringLiteral("接口文件目录设置"), 120, 60, 3000);
    Image3 = closeImage(Picture3, QStringLiteral("Image3"), 4500);
    Drive1 = named(new QComboBox(Picture3), QStringLiteral("Drive1"));
    place(Drive1, 120, 420, 4260, 330);
    Dir1 = named(new QListWidget(Picture3), QStringLiteral("Dir1"));
    place(Dir1, 120, 840, 4260, 2700);
    Text3 = textBox(Picture3, QStringLiteral("Text3"), 120, 3660, 4260, 255);
    Command9 = command(Picture3, QStringLiteral("Command9"), QStringLiteral("新建文件夹"), 120, 4200, 1500);
    Command7 = command(Picture3, QStringLiteral("Command7"), QStringLiteral("确定"), 1860, 4200, 1200);
    Command8 = command(Picture3, QStringLiteral("Command8"), QStringLiteral("取消"), 3180, 4200, 1200);
    Text4 = textBox(Picture3, QStringLiteral("Text4"), 570, 870, 3465, 200);
    Text4->hide();
    for (const QFileInfo& d : QDir::drives()) Drive1->addItem(d.absoluteFilePath());
    m_dirPath = QDir::homePath();

    // ---- numbering panel
    Picture4 = panel(this, QStringLiteral("Picture4"), 3000, 1500, 6600, 2700);
    Label1[8] = label(Picture4, QStringLiteral("Label1_8"), QStringLiteral("接口文件编号设置"), 120, 60, 3000);
    Image4 = closeImage(Picture4, QStringLiteral("Image4"), 6600);
    Label1[9] = label(Picture4, QStringLiteral("Label1_9"), QStringLiteral("编号字"), 120, 540, 900);
    Text5[0] = textBox(Picture4, QStringLiteral("Text5_0"), 1080, 510, 1200, 3);
    Label1[12] = label(Picture4, QStringLiteral("Label1_12"), QStringLiteral("（数字，最多3位，第一位不能为0）"), 2400, 540,
                       4000);
    Label1[10] = label(Picture4, QStringLiteral("Label1_10"), QStringLiteral("起始编号"), 120, 1020, 900);
    Text5[1] = textBox(Picture4, QStringLiteral("Text5_1"), 1080, 990, 2400, 0);
    Label1[11] = label(Picture4, QStringLiteral("Label1_11"), QString(), 120, 1500, 6360);
    Command10 = command(Picture4, QStringLiteral("Command10"), QStringLiteral("确定"), 5100, 2100, 1380);

    // ---- what a box lets in
    keepOnly(Text5[0], [](const QString& t) { return receipts::numberingInput(t, 3); });
    keepOnly(Text5[1], [](const QString& t) { return receipts::numberingInput(t, 0); });
    keepOnly(Text1, [this](const QString& t) {
        if (MSFlexGrid1->Col() == 4) return receipts::digitsOnly(t);
        if (MSFlexGrid1->Col() == 6) return receipts::rateInput(t);
        return t;
    });

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });
    connect(MSFlexGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyPress(13); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* n) { TreeView1_NodeClick(n); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Image5, &QToolButton::clicked, Picture5, &QWidget::hide);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Image1, &QToolButton::clicked, this, [this] { Image1_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Image4, &QToolButton::clicked, Picture4, &QWidget::hide);
    connect(Text5[0], &QLineEdit::textChanged, this, [this] { Text5_Change(); });
    connect(Text5[1], &QLineEdit::textChanged, this, [this] { Text5_Change(); });
    for (int i = 0; i < 4; ++i)
        connect(Command6[size_t(i)], &QPushButton::clicked, this, [this, i] { Command6_Click(i); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Image2, &QToolButton::clicked, Picture2, &QWidget::hide);
    connect(Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    connect(Dir1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        setDirPath(item->data(Qt::UserRole).toString());
    });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Image3, &QToolButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Text4, &QLineEdit::returnPressed, this, [this] { Text4_KeyPress(13); });

    // Esc closes the panel on top as its × (the folder chooser: its 取消) does.
    addClosablePanel(Picture1, Image1);
    addClosablePanel(Picture2, Image2);
    addClosablePanel(Picture3, Command8);
    addClosablePanel(Picture4, Image4);
    addClosablePanel(Picture5, Image5);
}

}  // namespace corvane
