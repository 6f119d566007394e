// The control tree of the print-file export window, geometry in twips, and
// the paper invoice it draws behind the form's boxes.

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"
#include "bills/frm打印文件导出.h"

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width, int height = 255)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top, width, height);
    return l;
}

QLineEdit* textBox(QWidget* parent, const QString& name, int left, int top, int width, int height = 300, int maxLength = 0)
{
    auto* e = named(new QLineEdit(parent), name);
    applyLineRules(e, maxLength);
    place(e, left, top, width, height);
    return e;
}

// The number actually printed goes to 票据.实际票据编号.
int actualNumberLength() { return schema::textLength(QStringLiteral("票据"), QStringLiteral("实际票据编号")); }

QPushButton* command(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                     int height = 390)
{
    auto* b = button(parent, name, caption);
    place(b, left, top, width, height);
    return b;
}

QListWidget* dropList(QWidget* parent, const QString& name, const QStringList& entries, int left, int top, int width,
                      int height)
{
    auto* l = named(new QListWidget(parent), name);
    l->addItems(entries);
    place(l, left, top, width, height);
    l->hide();
    return l;
}

QFrame* panel(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    f->setAutoFillBackground(true);
    place(f, left, top, width, height);
    return f;
}

QToolButton* pictureButton(QWidget* parent, int index, const QString& caption, int left, int top, int width, int height)
{
    auto* b = named(new QToolButton(parent), QStringLiteral("Picture9_%1").arg(index));
    if (caption == QStringLiteral("▼"))
        b->setArrowType(Qt::DownArrow);  // a drop arrow that fits a narrow button
    else
        b->setText(caption);
    b->setAutoRaise(false);
    place(b, left, top, width, height);
    return b;
}

// The drawn paper invoice: where its labels and boxes lie, in twips.
constexpr int kFrameLeft = 150, kFrameTop = 1050, kFrameWidth = 12225, kFrameHeight = 6600;
constexpr int kTableTop = 3600, kHeadHeight = 330, kRowHeight = 390;
constexpr int kColSeq = 300, kColItem = 900, kColAmount = 6000, kColRemark = 8400, kColEnd = 12075;

const QStringList kInvoiceKinds{QStringLiteral("10000004 广东省地方税收通用发票（电子-单联平推式）"),
                                QStringLiteral("10000005 广东省地方税收通用发票（电子-两联打孔式）")};
const QStringList kDocumentTypes{QStringLiteral("1 护照"),       QStringLiteral("2 通行证"),
                                 QStringLiteral("3 回乡证"),     QStringLiteral("4 台胞证"),
                                 QStringLiteral("5 组织机构代码"), QStringLiteral("6 身份证"),
                                 QStringLiteral("7 军官证"),     QStringLiteral("8 纳税人识别号"),
                                 QStringLiteral("9 其他")};
const QStringList kItems{
    QStringLiteral("0104 管道运输"), QStringLiteral("0106 装卸搬运"), QStringLiteral("0107 公共交通"),
    QStringLiteral("0197 客运旅游包车业务"), QStringLiteral("0199 交运相关业务"), QStringLiteral("0301 银行业"),
    QStringLiteral("0303 证券业"), QStringLiteral("0309 其他金融业"), QStringLiteral("0399 典当业"),
    QStringLiteral("0401 邮政业"), QStringLiteral("0402 电信业"), QStringLiteral("0501 文化业"),
    QStringLiteral("0502 体育业"), QStringLiteral("0602 酒吧（音乐茶座）"), QStringLiteral("0603 台球"),
    QStringLiteral("0604 高尔夫球"), QStringLiteral("0605 保龄球"), QStringLiteral("0606 游艺"),
    QStringLiteral("0651 网吧"), QStringLiteral("0652 舞厅"), QStringLiteral("0653 歌厅"),
    QStringLiteral("0654 卡拉OK、夜总会"), QStringLiteral("0699 其他娱乐业"), QStringLiteral("0701 代理业"),
    QStringLiteral("0702 旅店业"), QStringLiteral("0703 饮食业"), QStringLiteral("0704 旅游业"),
    QStringLiteral("0705 仓储业"), QStringLiteral("0706 租赁业"), QStringLiteral("0707 广告业"),
    QStringLiteral("0708 美容美发"), QStringLiteral("0709 沐浴、桑拿"), QStringLiteral("0710 教育业"),
    QStringLiteral("0711 卫生医疗业"), QStringLiteral("0751 计算机服务和软件服务"), QStringLiteral("0787 个人出租住宅收入"),
    QStringLiteral("0788 个人出租非住宅收入"), QStringLiteral("0789 支付个人劳务收入"), QStringLiteral("0797 拍卖业"),
    QStringLiteral("0799 其他服务业"), QStringLiteral("0801 转让土地使用权"), QStringLiteral("0802 转让商标权"),
    QStringLiteral("0803 转让专利权"), QStringLiteral("0804 转让非专利权"), QStringLiteral("0805 转让著作权"),
    QStringLiteral("0806 转让商誉"), QStringLiteral("0899 其他转让无形资产")};

QRect twipRect(int left, int top, int width, int height) { return QRect(px(left), px(top), px(width), px(height)); }

}  // namespace

ArrowPicture::ArrowPicture(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setCursor(Qt::PointingHandCursor);
}

void ArrowPicture::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(palette().windowText());
    p.setPen(Qt::NoPen);
    const QPointF c(width() / 2.0, height() / 2.0 + 1);
    p.drawPolygon(QPolygonF{{c.x() - 4, c.y() - 2}, {c.x() + 4, c.y() - 2}, {c.x(), c.y() + 3}});
}

void ArrowPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        setFrameShape(QFrame::Box);
        setLineWidth(1);
    }
}

void ArrowPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    setFrameShape(QFrame::NoFrame);
    if (rect().contains(event->position().toPoint()) && Click) Click();
}

void frm打印文件导出::drawPaper(QPainter& p) const
{
    p.fillRect(rect(), QColor(255, 253, 240));
    const QColor ink(150, 60, 40);
    p.setPen(QPen(ink, 1));
    auto text = [&](int left, int top, int width, const QString& t, Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter) {
        p.drawText(twipRect(left, top, width, 300), int(a), t);
    };
    text(300, 150, 1000, QStringLiteral("开票日期"));
    text(6600, 150, 900, QStringLiteral("发票代码"));
    p.drawRect(twipRect(7500, 150, 1950, 300));
    text(9600, 150, 900, QStringLiteral("发票号码"));
    p.drawRect(twipRect(10500, 150, 1875, 300));
    text(300, 600, 1200, QStringLiteral("开票项目 *"));
    text(6000, 600, 1200, QStringLiteral("发票种类 *"));

    p.drawRect(twipRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));
    text(kFrameLeft + 120, kFrameTop + 15, 1200, QStringLiteral("发票明细"));
    text(300, 1350, 1500, QStringLiteral("付款方类型"));
    text(6000, 1350, 1500, QStringLiteral("付款方手机号码"));
    text(300, 1800, 1500, QStringLiteral("付款方名称 *"));
    text(300, 2250, 1500, QStringLiteral("付款方证件号码 *"));
    text(300, 2700, 1500, QStringLiteral("收款方名称"));
    text(6000, 2700, 1500, QStringLiteral("收款方证件号码 *"));
    text(300, 3150, 1500, QStringLiteral("主管税务机关 *"));

    // The detail table: heading, five numbered rows.
    const int bottom = kTableTop + kHeadHeight + 5 * kRowHeight;
    p.drawRect(twipRect(kColSeq, kTableTop, kColEnd - kColSeq, bottom - kTableTop));
    for (int x : {kColItem, kColAmount, kColRemark}) p.drawLine(px(x), px(kTableTop), px(x), px(bottom));
    for (int i = 0; i <= 5; ++i) {
        const int y = kTableTop + kHeadHeight + i * kRowHeight;
        p.drawLine(px(kColSeq), px(y), px(kColEnd), px(y));
    }
    text(kColSeq, kTableTop + 15, kColItem - kColSeq, QStringLiteral("序号"), Qt::AlignCenter);
    text(kColItem, kTableTop + 15, kColAmount - kColItem, QStringLiteral("开票项目说明 *"), Qt::AlignCenter);
    text(kColAmount, kTableTop + 15, kColRemark - kColAmount, QStringLiteral("金额 *"), Qt::AlignCenter);
    text(kColRemark, kTableTop + 15, kColEnd - kColRemark, QStringLiteral("备注"), Qt::AlignCenter);
    for (int i = 0; i < 5; ++i)
        text(kColSeq, kTableTop + kHeadHeight + i * kRowHeight + 45, kColItem - kColSeq, QString::number(i + 1),
             Qt::AlignCenter);
    text(300, 6000, 1500, QStringLiteral("合计金额(元)"));
    text(300, 6450, 1500, QStringLiteral("附注"));
}

void frm打印文件导出::buildLayout()
{
    useLayoutFace(this);
    setCaption(kCaption);
    setFixedSize(px(kClientWidth), px(kClientHeight));

    // ---- the invoice form
    for (int i = 0; i < 8; ++i) Label1[size_t(i)] = nullptr;
    Label1[3] = label(this, QStringLiteral("Label1_3"), QString(), 1300, 175, 1800);
    Text3 = textBox(this, QStringLiteral("Text3"), 1800, 600, 3600);
    Picture4 = named(new ArrowPicture(this), QStringLiteral("Picture4"));
    place(Picture4, 5400, 600, 300, 300);
    Text4 = textBox(this, QStringLiteral("Text4"), 7200, 600, 4800);
    Picture3 = named(new ArrowPicture(this), QStringLiteral("Picture3"));
    place(Picture3, 12000, 600, 300, 300);

    Option1[0] = named(new QRadioButton(QStringLiteral("单位"), this), QStringLiteral("Option1_0"));
    place(Option1[0], 1800, 1350, 900, 300);
    Option1[1] = named(new QRadioButton(QStringLiteral("个人"), this), QStringLiteral("Option1_1"));
    place(Option1[1], 2800, 1350, 900, 300);
    Option1[0]->setChecked(true);
    Text5 = textBox(this, QStringLiteral("Text5"), 7500, 1350, 4500);
    Text6 = textBox(this, QStringLiteral("Text6"), 1800, 1800, 10200);
    Text7 = textBox(this, QStringLiteral("Text7"), 1800, 2250, 2400);
    Picture5 = named(new ArrowPicture(this), QStringLiteral("Picture5"));
    place(Picture5, 4200, 2250, 300, 300);
    Text8 = textBox(this, QStringLiteral("Text8"), 4650, 2250, 7350);
    Text9 = textBox(this, QStringLiteral("Text9"), 1800, 2700, 3900);
    Text10 = textBox(this, QStringLiteral("Text10"), 7500, 2700, 4500);
    Text11 = textBox(this, QStringLiteral("Text11"), 1800, 3150, 10200);
    for (int i = 0; i < 5; ++i) {
        const int top = kTableTop + kHeadHeight + i * kRowHeight + 45;
        Text12[size_t(i)] = textBox(this, QStringLiteral("Text12_%1").arg(i), kColItem + 60, top, kColAmount - kColItem - 120);
        Text12[size_t(i + 5)] =
            textBox(this, QStringLiteral("Text12_%1").arg(i + 5), kColAmount + 60, top, kColRemark - kColAmount - 120);
        Text12[size_t(i + 10)] =
            textBox(this, QStringLiteral("Text12_%1").arg(i + 10), kColRemark + 60, top, kColEnd - kColRemark - 120);
    }
    Text14 = textBox(this, QStringLiteral("Text14"), 1800, 6000, 4200);
    Text13 = textBox(this, QStringLiteral("Text13"), 1800, 6450, 10200, 900);

    List2 = dropList(this, QStringLiteral("List2"), kItems, 1800, 900, 3900, 3000);
    List1 = dropList(this, QStringLiteral("List1"), kInvoiceKinds, 7200, 900, 5100, 600);
    List3 = dropList(this, QStringLiteral("List3"), kDocumentTypes, 1800, 2580, 2700, 2100);

    // ---- toolbar along the bottom
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setAutoFillBackground(true);
    place(Picture1, 0, kClientHeight - 540, kClientWidth, 540);
    Command8 = command(Picture1, QStringLiteral("Command8"), QStringLiteral("设置"), 150, 75, 1500);
    Command4 = command(Picture1, QStringLiteral("Command4"), QStringLiteral("生成导出文件"), 1800, 75, 1500);
    Command5 = command(Picture1, QStringLiteral("Command5"), QStringLiteral("浏览导出文件"), 3450, 75, 1500);
    Command1 = command(Picture1, QStringLiteral("Command1"), QStringLiteral("处理结束"), 5100, 75, 1500);
    Command13 = command(Picture1, QStringLiteral("Command13"), QStringLiteral("批打印票据完成"), 6750, 75, 1650);
    Command9 = command(Picture1, QStringLiteral("Command9"), QStringLiteral("取消打印"), 8550, 75, 1500);
    Command4->setEnabled(false);
    Command5->setEnabled(false);
    Command1->setEnabled(false);

    // ---- batch panel, over the invoice form
    Picture7 = panel(this, QStringLiteral("Picture7"), 30, 480, 12435, 7815);
    MSFlexGrid1 = named(new FlexGrid(Picture7), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 60, 60, 12315, 7695);
    Picture7->hide();

    // ---- settings panel
    Picture2 = panel(this, QStringLiteral("Picture2"), 1500, 1500, 9300, 2700);
    Label1[0] = label(Picture2, QStringLiteral("Label1_0"), QStringLiteral("模板文件路径及文件名"), 150, 150, 3000);
    Text1[0] = textBox(Picture2, QStringLiteral("Text1_0"), 150, 450, 7800, 330);
    Command6 = command(Picture2, QStringLiteral("Command6"), QStringLiteral("浏览"), 8070, 420, 1050);
    Label1[1] = label(Picture2, QStringLiteral("Label1_1"), QStringLiteral("导出文件保存文件夹"), 150, 930, 3000);
    Text1[1] = textBox(Picture2, QStringLiteral("Text1_1"), 150, 1230, 7800, 330);
    Command3 = command(Picture2, QStringLiteral("Command3"), QStringLiteral("浏览"), 8070, 1200, 1050);
    Command7 = command(Picture2, QStringLiteral("Command7"), QStringLiteral("保存"), 5850, 1950, 1500, 450);
    Command2 = command(Picture2, QStringLiteral("Command2"), QStringLiteral("取消"), 7500, 1950, 1500, 450);
    Picture2->hide();

    // ---- completion panel
    Picture6 = panel(this, QStringLiteral("Picture6"), 3000, 2100, 6300, 3300);
    Label1[4] = label(Picture6, QStringLiteral("Label1_4"), QStringLiteral("票据打印完成处理"), 150, 120, 6000, 330);
    Label1[4]->setAlignment(Qt::AlignCenter);
    QFont bold = Label1[4]->font();
    bold.setBold(true);
    Label1[4]->setFont(bold);
    Label1[5] = label(Picture6, QStringLiteral("Label1_5"), QStringLiteral("票据簿"), 150, 615, 900);
    Combo1 = named(new QComboBox(Picture6), QStringLiteral("Combo1"));
    place(Combo1, 1100, 570, 5000, 330);
    Label1[7] = label(Picture6, QStringLiteral("Label1_7"), QStringLiteral("票据张数："), 1100, 990, 5000, 270);
    Label1[6] = label(Picture6, QStringLiteral("Label1_6"), QStringLiteral("票据"), 150, 1395, 900);
    Text16 = textBox(Picture6, QStringLiteral("Text16"), 1100, 1350, 4700, 330);
    Text16->setReadOnly(true);
    Command11 = command(Picture6, QStringLiteral("Command11"), QStringLiteral("▼"), 5800, 1350, 300, 330);
    Label1[2] = label(Picture6, QStringLiteral("Label1_2"), QStringLiteral("输入打印完成的票据编号"), 150, 1845, 2900);
    Label1[2]->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    Text2 = textBox(Picture6, QStringLiteral("Text2"), 3100, 1800, 3000, 330, actualNumberLength());
    Command10 = command(Picture6, QStringLiteral("Command10"), QStringLiteral("确定"), 1100, 2550, 1800, 450);
    Command12 = command(Picture6, QStringLiteral("Command12"), QStringLiteral("票据作废"), 3300, 2550, 1800, 450);
    Command12->setEnabled(false);
    Label1[2]->hide();
    Text2->hide();
    Picture6->hide();
    List4 = dropList(this, QStringLiteral("List4"), {}, 4100, 3800, 4700, 2000);

    // ---- editor panels, outside the client area until laid over a cell
    Picture8 = panel(this, QStringLiteral("Picture8"), kClientWidth + 300, 0, kPayerPictureWidth, kPictureHeight);
    Label2[0] = label(Picture8, QStringLiteral("Label2_0"), QStringLiteral("付款方式"), 60, 60, 720);
    Text15[0] = textBox(Picture8, QStringLiteral("Text15_0"), 840, 60, 735, 255);
    Label2[1] = label(Picture8, QStringLiteral("Label2_1"), QStringLiteral("手机"), 1620, 60, 360);
    Text15[1] = textBox(Picture8, QStringLiteral("Text15_1"), 2010, 60, 1545, 255);
    Label2[2] = label(Picture8, QStringLiteral("Label2_2"), QStringLiteral("付款方"), 60, 420, 540);
    Text15[2] = textBox(Picture8, QStringLiteral("Text15_2"), 660, 420, 2895, 255);
    Label2[3] = label(Picture8, QStringLiteral("Label2_3"), QStringLiteral("证件"), 60, 780, 360);
    Text15[3] = textBox(Picture8, QStringLiteral("Text15_3"), 480, 780, 1275, 255);
    Text15[4] = textBox(Picture8, QStringLiteral("Text15_4"), 1770, 780, 1785, 255);
    Text15[0]->setReadOnly(true);
    Text15[3]->setReadOnly(true);
    Picture9[2] = pictureButton(Picture8, 2, QStringLiteral("▼"), 1380, 60, 195, 255);
    Picture9[3] = pictureButton(Picture8, 3, QStringLiteral("▼"), 1560, 780, 195, 255);
    Picture9[0] = pictureButton(Picture8, 0, QStringLiteral("确定"), 2040, 1140, 720, 300);
    Picture9[1] = pictureButton(Picture8, 1, QStringLiteral("取消"), 2835, 1140, 720, 300);
    List5 = dropList(Picture8, QStringLiteral("List5"), {QStringLiteral("0 个人"), QStringLiteral("1 单位")}, 840, 315,
                     735, 510);
    Picture8->hide();

    Picture11 = panel(this, QStringLiteral("Picture11"), kClientWidth + 300, 1800, kBillPictureWidth, kPictureHeight);
    Label3[1] = label(Picture11, QStringLiteral("Label3_1"), QStringLiteral("票据编号："), 120, 30, 900);
    Text17[0] = textBox(Picture11, QStringLiteral("Text17_0"), 60, 300, 1575, 255);
    Text17[0]->setReadOnly(true);
    Label3[0] = label(Picture11, QStringLiteral("Label3_0"), QStringLiteral("实际票据编号："), 120, 600, 1260);
    Text17[1] = textBox(Picture11, QStringLiteral("Text17_1"), 60, 870, 1575, 255, actualNumberLength());
    Picture9[4] = pictureButton(Picture11, 4, QStringLiteral("▼"), 1440, 300, 195, 255);
    Picture9[5] = pictureButton(Picture11, 5, QStringLiteral("确定"), 60, 1185, 765, 285);
    Picture9[6] = pictureButton(Picture11, 6, QStringLiteral("取消"), 870, 1185, 765, 285);
    Picture11->hide();
    List6 = dropList(this, QStringLiteral("List6"), {}, 0, 0, 1575, 1500);

    Picture10 = QPixmap(px(kPayerPictureWidth), px(kPictureHeight));
    Picture12 = QPixmap(px(kBillPictureWidth), px(kPictureHeight));
    Picture10.fill(Qt::white);
    Picture12.fill(Qt::white);

    // ---- events
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
    connect(List3, &QListWidget::itemClicked, this, [this] { List3_Click(); });
    connect(List4, &QListWidget::itemClicked, this, [this] { List4_Click(); });
    connect(List5, &QListWidget::itemClicked, this, [this] { List5_Click(); });
    connect(List6, &QListWidget::itemClicked, this, [this] { List6_Click(); });
    Picture3->Click = [this] { Picture3_Click(); };
    Picture4->Click = [this] { Picture4_Click(); };
    Picture5->Click = [this] { Picture5_Click(); };
    for (int i = 0; i < 7; ++i)
        connect(Picture9[size_t(i)], &QToolButton::clicked, this, [this, i] { Picture9_Click(i); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });
    connect(MSFlexGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });

    // Esc closes the settings and the two cell editors as their 取消 does.
    addClosablePanel(Picture2, Command2);
    addClosablePanel(Picture8, Picture9[1]);
    addClosablePanel(Picture11, Picture9[6]);
}

void frm打印文件导出::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawPaper(p);
}

void frm打印文件导出::mousePressEvent(QMouseEvent* event)
{
    Form::mousePressEvent(event);
    Form_Click();
}

}  // namespace corvane
