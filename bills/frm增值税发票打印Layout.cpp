// The control tree of the VAT invoice window, geometry in twips.

#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"
#include "bills/frm增值税发票打印.h"

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top, width, 300);
    return l;
}

QPushButton* command(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* b = button(parent, name, caption);
    place(b, left, top, width, 400);
    return b;
}

}  // namespace

void frm增值税发票打印::buildLayout()
{
    setCaption(kCaption);
    useLayoutFace(this);
    setFixedSize(px(11400), px(8400));

    Label1[0] = label(this, QStringLiteral("Label1_0"), QStringLiteral("增票类型"), 240, 180, 4200);
    Combo1 = named(new QComboBox(this), QStringLiteral("Combo1"));
    place(Combo1, 4560, 150, 3600, 330);

    Label1[1] = label(this, QStringLiteral("Label1_1"), QStringLiteral("发票项目明细"), 240, 600, 3000);
    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 240, 900, 10920, 2700);
    MSFlexGrid1->setCols(9);
    MSFlexGrid1->setFixedCols(0);
    MSFlexGrid1->setFormatString(
        QStringLiteral("^项目|^规格型号|^单位|^数量|^单价|^金额|^税率|^税额|"));
    const int widths[] = {2200, 1800, 700, 900, 1400, 1300, 800, 1300, 0};
    for (int c = 0; c < 9; ++c) {
        MSFlexGrid1->setColWidth(c, widths[c]);
        MSFlexGrid1->setFixedAlignment(c, flexAlignCenterCenter);
    }

    MSFlexGrid2 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid2"));
    place(MSFlexGrid2, 240, 3720, 6600, 1900);
    MSFlexGrid2->setCols(2);
    MSFlexGrid2->setFixedCols(0);
    MSFlexGrid2->setFormatString(QStringLiteral("^内容名称|^内容"));
    MSFlexGrid2->setRows(6);
    MSFlexGrid2->setColWidth(0, 1500);
    MSFlexGrid2->setColWidth(1, 4800);
    for (int c = 0; c < 2; ++c) MSFlexGrid2->setFixedAlignment(c, flexAlignCenterCenter);
    const char* rows[] = {"名称", "纳税人税别号", "地址、电话", "开户行及账号", "备注"};
    for (int r = 1; r <= 5; ++r) MSFlexGrid2->setTextMatrix(r, 0, QString::fromUtf8(rows[r - 1]));

    Label1[2] = label(this, QStringLiteral("Label1_2"), QStringLiteral("合计："), 240, 5760, 6600);
    Label1[10] = label(this, QStringLiteral("Label1_10"), QStringLiteral("商品编码版本号"), 7080, 3780, 1500);
    Text2 = named(new QLineEdit(QStringLiteral("10.0"), this), QStringLiteral("Text2"));
    applyLineRules(Text2, 50);
    place(Text2, 8640, 3750, 1300, 330);
    Command8 = command(this, QStringLiteral("Command8"), QStringLiteral("保存"), 10020, 3720, 1140);

    Command1 = command(this, QStringLiteral("Command1"), QStringLiteral("批量导出文件"), 7080, 4320, 2000);
    Command5 = command(this, QStringLiteral("Command5"), QStringLiteral("手动导出文件"), 9160, 4320, 2000);
    Command3 = command(this, QStringLiteral("Command3"), QStringLiteral("取消打印"), 9160, 4860, 2000);

    // ---- locating panel
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setAutoFillBackground(true);
    place(Picture1, 240, 6120, 10920, 2160);
    Label1[3] = label(Picture1, QStringLiteral("Label1_3"), QStringLiteral("自动定位票据为："), 120, 60, 10680);
    Label1[5] = label(Picture1, QStringLiteral("Label1_5"), QStringLiteral("自动定位票据为："), 120, 420, 2200);
    Label1[8] = label(Picture1, QStringLiteral("Label1_8"), QStringLiteral("票据入库单"), 120, 800, 1100);
    Combo2 = named(new QComboBox(Picture1), QStringLiteral("Combo2"));
    place(Combo2, 1260, 770, 2200, 330);
    Label1[4] = label(Picture1, QStringLiteral("Label1_4"), QStringLiteral("票据"), 3600, 800, 500);
    Text1 = named(new QLineEdit(Picture1), QStringLiteral("Text1"));
    applyLineRules(Text1, schema::textLength(QStringLiteral("票据"), QStringLiteral("票据编号")));
    place(Text1, 4140, 770, 1900, 330);
    Label1[7] = label(Picture1, QStringLiteral("Label1_7"), QStringLiteral("如果未能自动定位您可以输入票据编号。"), 120, 1200,
                      5900);
    Label1[7]->hide();
    Label1[6] = label(Picture1, QStringLiteral("Label1_6"), QStringLiteral("可能是废票处理"), 6240, 60, 1800);
    List1 = named(new QListWidget(Picture1), QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List1, 6240, 400, 2400, 1650);
    Command4 = command(Picture1, QStringLiteral("Command4"), QStringLiteral("标志为废票"), 8760, 400, 2000);
    Command4->setEnabled(false);
    Command2 = command(Picture1, QStringLiteral("Command2"), QStringLiteral("打印完成"), 8760, 1640, 2000);
    Command2->setEnabled(false);
    Command6 = command(Picture1, QStringLiteral("Command6"), QStringLiteral("导出成功"), 120, 1620, 1600);
    Command7 = command(Picture1, QStringLiteral("Command7"), QStringLiteral("导出失败"), 1860, 1620, 1600);
    Command6->hide();
    Command7->hide();
    Picture1->hide();

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this] { Combo2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyPress(13); });
}

}  // namespace corvane
