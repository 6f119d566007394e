// The control tree of the bill query window, geometry in twips.

#include "platform/Widgets.h"
#include "bills/frm票据查询.h"

namespace corvane {

namespace {

constexpr int kWidth = 11440;
// Taller than the receipt window it opens over by a status line, so its
// title bar and its status line lie beyond that window's rows of buttons and
// figures, and the two status lines never read as one.
constexpr int kHeight = 8100;

QLabel* caption(QWidget* parent, const QString& name, const QString& text, int left, int top, int width)
{
    auto* l = named(new QLabel(text, parent), name);
    place(l, left, top, width, 300);
    return l;
}

QLabel* value(QWidget* parent, const QString& name, int left, int top, int width)
{
    auto* l = named(new QLabel(parent), name);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(224, 224, 224));
    l->setPalette(p);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    place(l, left, top, width, 300);
    return l;
}

}  // namespace

void frm票据查询::buildLayout()
{
    setObjectName(QStringLiteral("frm票据查询"));
    setCaption(kCaption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(kWidth), px(kHeight));
    useLayoutFace(this);

    Label1[1] = caption(this, QStringLiteral("Label1_1"), QStringLiteral("票据编号"), 120, 120, 2200);
    List1 = named(new QListWidget(this), QStringLiteral("List1"));
    place(List1, 120, 420, 2200, 6900);

    // ---- the chosen bill
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Box);
    place(Picture1, 2400, 120, 8920, 2160);
    const QString wide[4] = {QStringLiteral("付款人（单位）"), QStringLiteral("纳税人识别号"), QStringLiteral("地址、电话"),
                             QStringLiteral("开户行及账号")};
    for (int i = 0; i < 4; ++i) {
        Label1[size_t(2 + i)] = caption(Picture1, QStringLiteral("Label1_%1").arg(2 + i), wide[i], 120, 90 + i * 345, 1500);
        Label2[size_t(i)] = value(Picture1, QStringLiteral("Label2_%1").arg(i), 1680, 90 + i * 345, 7080);
    }
    const QString narrow[6] = {QStringLiteral("开票日期"), QStringLiteral("金额"),   QStringLiteral("税额"),
                               QStringLiteral("开票人"),   QStringLiteral("收款人"), QStringLiteral("收款日期")};
    for (int i = 0; i < 6; ++i) {
        const int left = 100 + (i % 3) * 2920, top = 90 + (4 + i / 3) * 345;
        Label1[size_t(6 + i)] = caption(Picture1, QStringLiteral("Label1_%1").arg(6 + i), narrow[i], left, top, 820);
        Label2[size_t(4 + i)] = value(Picture1, QStringLiteral("Label2_%1").arg(4 + i), left + 820, top, 2100);
    }
    for (int i : {5, 6}) Label2[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // ---- its lines
    Label1[0] = caption(this, QStringLiteral("Label1_0"), QStringLiteral("票据明细"), 2400, 2400, 2000);
    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 2400, 2700, 8920, 3480);
    MSFlexGrid1->setCols(11);
    MSFlexGrid1->setFixedCols(0);
    MSFlexGrid1->setFormatString(
        QStringLiteral("<项  目|<摘  要|^单位|>数量|>单价|>金额|>税率|>税额||<对应科目|"));
    const int widths[11] = {1300, 1800, 500, 600, 800, 900, 600, 800, 45, 1000, 0};
    for (int c = 0; c < 11; ++c) MSFlexGrid1->setColWidth(c, widths[c]);
    MSFlexGrid1->setRows(1);

    // ---- collecting a pre-issued bill
    Picture2 = named(new QFrame(this), QStringLiteral("Picture2"));
    Picture2->setFrameShape(QFrame::Box);
    place(Picture2, 2400, 6300, 8920, 1020);
    Label1[13] = caption(Picture2, QStringLiteral("Label1_13"), QStringLiteral("预开票据收款"), 120, 60, 2000);
    Label1[14] = caption(Picture2, QStringLiteral("Label1_14"), QStringLiteral("收款方式"), 120, 480, 800);
    Combo2 = named(new QComboBox(Picture2), QStringLiteral("Combo2"));
    place(Combo2, 930, 450, 1800, 300);
    Label1[15] = caption(Picture2, QStringLiteral("Label1_15"), QStringLiteral("收款日期"), 2940, 480, 800);
    DTPicker1 = named(new QDateEdit(Picture2), QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTPicker1->setCalendarPopup(true);
    place(DTPicker1, 3750, 450, 1560, 300);
    Label1[16] = caption(Picture2, QStringLiteral("Label1_16"), QStringLiteral("收款人"), 5520, 480, 660);
    Combo3 = named(new QComboBox(Picture2), QStringLiteral("Combo3"));
    place(Combo3, 6180, 450, 2200, 300);

    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("预开发票收款确认"));
    place(Command2, 7540, 7410, 2160, 360);
    Command2->setEnabled(false);
    Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("退出"));
    place(Command4, 9820, 7410, 1500, 360);

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    place(StatusBar1, 0, kHeight - 300, kWidth, 300);
    const QString texts[4] = {QStringLiteral("部门"), QString(), QStringLiteral("岗位"), QString()};
    for (int i = 0; i < 4; ++i) {
        panels[size_t(i)] = named(new QLabel(texts[i], StatusBar1), QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        StatusBar1->addWidget(panels[size_t(i)], i == 3 ? 1 : 0);
    }

    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

}  // namespace corvane
