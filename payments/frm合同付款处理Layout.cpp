// The control tree of the payment window, geometry in twips.

#include <QPainter>

#include "payments/frm合同付款处理.h"
#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top + 30, width, 255);
    return l;
}

QLineEdit* box(QWidget* parent, const QString& name, int left, int top, int width, int maxLength, bool readOnly = false)
{
    auto* e = named(new QLineEdit(parent), name);
    applyLineRules(e, maxLength);
    e->setReadOnly(readOnly);
    place(e, left, top, width, 300);
    return e;
}

// The payee's boxes take what the reimbursement form (报销单表) holds.
int formColumn(const char* column) { return schema::textLength(QStringLiteral("报销单表"), QString::fromUtf8(column)); }

QComboBox* list(QWidget* parent, const QString& name, int left, int top, int width, const QStringList& items = {})
{
    auto* c = named(new QComboBox(parent), name);
    c->addItems(items);
    c->setCurrentIndex(-1);
    place(c, left, top, width, 300);
    return c;
}

QGroupBox* groupFrame(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width, int height)
{
    auto* g = named(new QGroupBox(caption, parent), name);
    place(g, left, top, width, height);
    return g;
}

}  // namespace

const QPixmap& frm合同付款处理::checkMark()
{
    static const QPixmap mark = [] {
        QPixmap p(8, 14);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(Qt::black, 2));
        g.drawLine(QPointF(0.5, 7.5), QPointF(3, 11));
        g.drawLine(QPointF(3, 11), QPointF(7.5, 2));
        return p;
    }();
    return mark;
}

void frm合同付款处理::buildLayout()
{
    setObjectName(QStringLiteral("frm合同付款处理"));
    setCaption(kCaption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(10800), px(8160));
    useLayoutFace(this);

    // ---- contract
    Frame1 = groupFrame(this, QStringLiteral("Frame1"), QStringLiteral("合同信息"), 120, 60, 10560, 1080);
    label(Frame1, QStringLiteral("Label3_0"), QStringLiteral("合同编号"), 120, 270, 900);
    Text3[0] = box(Frame1, QStringLiteral("Text3_0"), 1020, 270, 2400, 50, true);
    label(Frame1, QStringLiteral("Label3_1"), QStringLiteral("合同名称"), 3600, 270, 900);
    Text3[1] = box(Frame1, QStringLiteral("Text3_1"), 4500, 270, 5880, 200, true);
    label(Frame1, QStringLiteral("Label3_5"), QStringLiteral("对应部门"), 120, 660, 900);
    Text3[5] = box(Frame1, QStringLiteral("Text3_5"), 1020, 660, 2400, 120, true);
    label(Frame1, QStringLiteral("Label3_2"), QStringLiteral("总额"), 3600, 660, 500);
    Text3[2] = box(Frame1, QStringLiteral("Text3_2"), 4100, 660, 1700, 30, true);
    label(Frame1, QStringLiteral("Label3_3"), QStringLiteral("已付"), 5940, 660, 500);
    Text3[3] = box(Frame1, QStringLiteral("Text3_3"), 6440, 660, 1700, 30, true);
    label(Frame1, QStringLiteral("Label3_4"), QStringLiteral("余额"), 8280, 660, 500);
    Text3[4] = box(Frame1, QStringLiteral("Text3_4"), 8780, 660, 1600, 30, true);
    for (int i : {2, 3, 4}) Text3[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // ---- instalments
    Frame2 = groupFrame(this, QStringLiteral("Frame2"), QStringLiteral("付款计划表"), 120, 1200, 10560, 3000);
    MSFlexGrid1 = named(new FlexGrid(Frame2), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 120, 270, 10320, 2610);
    Text2 = named(new QLineEdit(Frame2), QStringLiteral("Text2"));
    applyLineRules(Text2, kNumberBoxLength);
    Text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text2->hide();

    // ---- this payment
    Frame3 = groupFrame(this, QStringLiteral("Frame3"), QStringLiteral("本次付款信息"), 120, 4260, 10560, 3180);
    constexpr int c1 = 120, b1 = 1260, c2 = 3600, b2 = 4740, c3 = 7080, b3 = 8220;
    constexpr int w1 = 2160, w2 = 2160, w3 = 2220;
    int y = 300;
    Label1[0] = label(Frame3, QStringLiteral("Label1_0"), QStringLiteral("付款金额"), c1, y, 1100);
    Text1 = box(Frame3, QStringLiteral("Text1"), b1, y, w1, kNumberBoxLength);
    Text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1[1] = label(Frame3, QStringLiteral("Label1_1"), QStringLiteral("付款方式"), c2, y, 1100);
    Combo1 = list(Frame3, QStringLiteral("Combo1"), b2, y, w2, {QStringLiteral("银行-网上银行"), QStringLiteral("现金")});
    Label1[2] = label(Frame3, QStringLiteral("Label1_2"), QStringLiteral("性质"), c3, y, 1100);
    Combo2 = list(Frame3, QStringLiteral("Combo2"), b3, y, w3,
                  {QStringLiteral("预算"), QStringLiteral("非预算"), QStringLiteral("其他")});
    y += 420;
    Label1[3] = label(Frame3, QStringLiteral("Label1_3"), QStringLiteral("类别"), c1, y, 1100);
    Combo3 = list(Frame3, QStringLiteral("Combo3"), b1, y, w1);
    Label1[4] = label(Frame3, QStringLiteral("Label1_4"), QStringLiteral("科目名称"), c2, y, 1100);
    Text9 = box(Frame3, QStringLiteral("Text9"), b2, y, w2, 100, true);
    Label1[5] = label(Frame3, QStringLiteral("Label1_5"), QStringLiteral("科目代号"), c3, y, 1100);
    Text10 = box(Frame3, QStringLiteral("Text10"), b3, y, w3 - 420, 50, true);
    Command5 = button(Frame3, QStringLiteral("Command5"), QStringLiteral("…"));
    place(Command5, b3 + w3 - 390, y, 390, 300);
    y += 420;
    Label1[6] = label(Frame3, QStringLiteral("Label1_6"), QStringLiteral("经办部门"), c1, y, 1100);
    Text8 = box(Frame3, QStringLiteral("Text8"), b1, y, w1, 120, true);
    Label1[7] = label(Frame3, QStringLiteral("Label1_7"), QStringLiteral("经办人"), c2, y, 1100);
    Combo4 = list(Frame3, QStringLiteral("Combo4"), b2, y, w2);
    Label1[8] = label(Frame3, QStringLiteral("Label1_8"), QStringLiteral("发票编号"), c3, y, 1100);
    Text4 = box(Frame3, QStringLiteral("Text4"), b3, y, w3, schema::textLength(QStringLiteral("报销附件"), QStringLiteral("票据编号")));
    y += 420;
    Label1[9] = label(Frame3, QStringLiteral("Label1_9"), QStringLiteral("对方单位"), c1, y, 1100);
    Text5 = box(Frame3, QStringLiteral("Text5"), b1, y, b2 + w2 - b1, formColumn("对方单位名称"));
    Label1[10] = label(Frame3, QStringLiteral("Label1_10"), QStringLiteral("对方开户银行"), c3, y, 1100);
    Text6 = box(Frame3, QStringLiteral("Text6"), b3, y, w3, formColumn("对方银行"));
    y += 420;
    Label1[11] = label(Frame3, QStringLiteral("Label1_11"), QStringLiteral("对方银行帐号"), c1, y, 1100);
    Text7 = box(Frame3, QStringLiteral("Text7"), b1, y, w1, formColumn("对方帐号"));
    Label1[12] = label(Frame3, QStringLiteral("Label1_12"), QStringLiteral("付款日期"), c2, y, 1100);
    DTPicker1 = named(new QDateEdit(Frame3), QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTPicker1->setCalendarPopup(true);
    place(DTPicker1, b2, y, w2, 300);
    y += 480;
    Command4 = button(Frame3, QStringLiteral("Command4"), QStringLiteral("分摊"));
    place(Command4, b1, y, 1200, 360);
    Command8 = button(Frame3, QStringLiteral("Command8"), QStringLiteral("添加资料"));
    place(Command8, b2, y, 1200, 360);
    Label1[21] = label(Frame3, QStringLiteral("Label1_21"), QStringLiteral("资料 0 份"), b2 + 1320, y + 30, 1500);

    // ---- button row
    Label2 = named(new QLabel(this), QStringLiteral("Label2"));
    place(Label2, 120, 7620, 6000, 300);
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("确定"));
    place(Command1, 6480, 7560, 1200, 420);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("支付情况察看"));
    place(Command3, 7800, 7560, 1560, 420);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("关闭"));
    place(Command2, 9480, 7560, 1200, 420);

    // ---- budget balance: written by the budget check, never shown
    Frame4 = groupFrame(this, QStringLiteral("Frame4"), QStringLiteral("对应科目预算金额"), 120, 60, 3600, 720);
    label(Frame4, QStringLiteral("Label1_20"), QStringLiteral("当前余额"), 120, 300, 900);
    txtMoney = box(Frame4, QStringLiteral("txtMoney"), 1080, 300, 2400, 30, true);
    Frame4->hide();

    // ---- attachments, over Frame3 when opened
    Picture6 = named(new QFrame(this), QStringLiteral("Picture6"));
    Picture6->setFrameShape(QFrame::Box);
    Picture6->setAutoFillBackground(true);
    place(Picture6, 120, 4260, 10560, 3180);
    Label1[22] = label(Picture6, QStringLiteral("Label1_22"), QStringLiteral("附件资料"), 120, 90, 1500);
    Image2 = named(new QLabel(QStringLiteral("×"), Picture6), QStringLiteral("Image2"));
    Image2->setAlignment(Qt::AlignCenter);
    place(Image2, 10140, 60, 300, 300);
    MSFlexGrid4 = named(new FlexGrid(Picture6), QStringLiteral("MSFlexGrid4"));
    place(MSFlexGrid4, 120, 420, 8760, 2640);
    Command9 = button(Picture6, QStringLiteral("Command9"), QStringLiteral("添加图片"));
    place(Command9, 9060, 420, 1380, 420);
    Command10 = button(Picture6, QStringLiteral("Command10"), QStringLiteral("添加文件"));
    place(Command10, 9060, 960, 1380, 420);
    Command11 = button(Picture6, QStringLiteral("Command11"), QStringLiteral("删除资料"));
    place(Command11, 9060, 1500, 1380, 420);
    Command11->setEnabled(false);
    Command12 = button(Picture6, QStringLiteral("Command12"), QStringLiteral("关闭"));
    place(Command12, 9060, 2640, 1380, 420);
    Picture6->hide();

    buildHistoryLayout();
}

// The history panels lie over the working area, from the top-left corner of Frame1.
void frm合同付款处理::buildHistoryLayout()
{
    constexpr int left = 120, top = 60, width = 10560, height = 7380;
    auto panel = [this](const QString& name) {
        auto* p = named(new QFrame(this), name);
        p->setFrameShape(QFrame::Box);
        p->setAutoFillBackground(true);
        place(p, left, top, width, height);
        p->hide();
        return p;
    };
    auto title = [](QWidget* parent, const QString& name, const QString& caption, int x, int y, int w) {
        auto* l = label(parent, name, caption, x, y, w);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    auto labelButton = [this](QWidget* parent, int index, const QString& caption, int x, int y) {
        auto* l = named(new QLabel(caption, parent), QStringLiteral("Label3_%1").arg(index));
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet(QStringLiteral("QLabel { color: #0000ff; text-decoration: underline; }"
                                        "QLabel:disabled { color: #808080; }"));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        place(l, x, y, 1200, 300);
        Label3[size_t(index)] = l;
    };

    // ---- payment list
    Picture1 = panel(QStringLiteral("Picture1"));
    Label1[25] = title(Picture1, QStringLiteral("Label1_25"), QStringLiteral("支付列表"), 120, 90, 1200);
    Label1[26] = label(Picture1, QStringLiteral("Label1_26"), QStringLiteral("支付列表"), 1440, 90, 5900);
    Check1 = named(new QCheckBox(QStringLiteral("显示审批未通过记录"), Picture1), QStringLiteral("Check1"));
    place(Check1, 7560, 90, 2880, 300);
    MSFlexGrid2 = named(new FlexGrid(Picture1), QStringLiteral("MSFlexGrid2"));
    place(MSFlexGrid2, 120, 480, 10320, 6180);
    Label1[15] = label(Picture1, QStringLiteral("Label1_15"), QStringLiteral("合计支付："), 120, 6840, 7000);
    Command7 = button(Picture1, QStringLiteral("Command7"), QStringLiteral("打印清单"));
    place(Command7, 7920, 6780, 1200, 420);
    Command6 = button(Picture1, QStringLiteral("Command6"), QStringLiteral("关闭"));
    place(Command6, 9240, 6780, 1200, 420);

    // ---- reimbursement form
    Picture2 = panel(QStringLiteral("Picture2"));
    Label1[31] = title(Picture2, QStringLiteral("Label1_31"), QStringLiteral("报销单"), 120, 90, 10320);
    Label1[31]->setAlignment(Qt::AlignCenter);
    const struct {
        int label, box;
        const char16_t* caption;
        int x, y;
    } fields[] = {{44, 0, u"报销单编号", 120, 480},  {35, 1, u"费用类别", 3600, 480}, {47, 2, u"报销类型", 7080, 480},
                  {30, 3, u"付款方式", 120, 900},    {46, 4, u"报销日期", 3600, 900}, {40, 5, u"经办人", 7080, 900}};
    for (const auto& f : fields) {
        Label1[size_t(f.label)] = label(Picture2, QStringLiteral("Label1_%1").arg(f.label),
                                        QString::fromUtf16(f.caption), f.x, f.y, 1080);
        Text11[size_t(f.box)] = box(Picture2, QStringLiteral("Text11_%1").arg(f.box), f.x + 1140, f.y, 2220, 50, true);
    }
    Text11[0]->setText(QStringLiteral("【保存时自动生成】"));
    Text11[1]->setText(QStringLiteral("维修费"));
    MSFlexGrid5 = named(new FlexGrid(Picture2), QStringLiteral("MSFlexGrid5"));
    place(MSFlexGrid5, 120, 1320, 10320, 4260);
    Label1[53] = label(Picture2, QStringLiteral("Label1_53"), QStringLiteral("总计：人民币（零圆）"), 120, 5700, 7200);
    Label1[54] = label(Picture2, QStringLiteral("Label1_54"), QStringLiteral("￥0"), 7440, 5700, 3000);
    Label1[54]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labelButton(Picture2, 0, QStringLiteral("审批情况"), 120, 6120);
    labelButton(Picture2, 1, QStringLiteral("支付情况"), 1440, 6120);
    labelButton(Picture2, 2, QStringLiteral("凭证打印"), 2760, 6120);
    labelButton(Picture2, 3, QStringLiteral("关闭"), 9240, 6120);
    Picture5 = named(new QFrame(Picture2), QStringLiteral("Picture5"));
    Picture5->setFrameShape(QFrame::Box);
    Picture5->setAutoFillBackground(true);
    place(Picture5, 120, 6480, 10320, 840);
    Label1[29] = label(Picture5, QStringLiteral("Label1_29"), QStringLiteral("支付情况"), 90, 60, 960);
    Text14 = named(new QPlainTextEdit(Picture5), QStringLiteral("Text14"));
    Text14->setReadOnly(true);
    place(Text14, 1080, 45, 7920, 750);
    labelButton(Picture5, 4, QStringLiteral("返回"), 9060, 270);
    Picture5->hide();

    // ---- approval trail
    Picture7 = panel(QStringLiteral("Picture7"));
    Label1[27] = title(Picture7, QStringLiteral("Label1_27"), QStringLiteral("审批情况"), 120, 90, 3000);
    MSFlexGrid3 = named(new FlexGrid(Picture7), QStringLiteral("MSFlexGrid3"));
    place(MSFlexGrid3, 120, 480, 10320, 6180);
    labelButton(Picture7, 5, QStringLiteral("返回"), 9240, 6840);

    // Esc closes the panel on top as its own 关闭 or 返回 does.
    addClosablePanel(Picture6, Command12);
    addClosablePanel(Picture1, Command6);
    addClosablePanel(Picture2, Label3[3], [this] { Label3_Click(3); });
    addClosablePanel(Picture5, Label3[4], [this] { Label3_Click(4); });
    addClosablePanel(Picture7, Label3[5], [this] { Label3_Click(5); });
}

}  // namespace corvane
