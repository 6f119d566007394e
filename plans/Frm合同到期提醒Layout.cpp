// The control tree of the expiry reminder window, geometry in twips. The
// grids follow the window's size (Form_Resize); these are their first places.

#include "plans/Frm合同到期提醒.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"

namespace corvane {

namespace {

QString heading(QChar align, const QString& text, int blanks)
{
    return QString(align) + text + QString(blanks, u' ');
}

QString listFormat()
{
    return QStringList{heading(u'^', QStringLiteral("序"), 2),        heading(u'<', QStringLiteral("职能部门名称"), 5),
                       heading(u'<', QStringLiteral("合同编号"), 14), heading(u'<', QStringLiteral("合同名称"), 42),
                       heading(u'<', QStringLiteral("对方单位"), 44), heading(u'<', QStringLiteral("合同类型"), 32),
                       heading(u'>', QStringLiteral("起始日期"), 6),  heading(u'>', QStringLiteral("终止日期"), 6)}
        .join(u'|');
}

QString countFormat()
{
    return QStringList{heading(u'^', QStringLiteral("序"), 2), heading(u'<', QStringLiteral("合同类型名称"), 179),
                       heading(u'>', QStringLiteral("合同数量"), 6)}
        .join(u'|');
}

QFrame* shape(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* s = named(new QFrame(parent), name);
    s->setFrameShape(QFrame::Box);
    s->setFrameShadow(QFrame::Plain);
    place(s, left, top, width, height);
    return s;
}

FlexGrid* grid(QWidget* parent, const QString& name, const QString& format, int left, int top, int width, int height)
{
    auto* g = named(new FlexGrid(parent), name);
    g->setFormatString(format);
    place(g, left, top, width, height);
    return g;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* l = named(new QLabel(caption, parent), name);
    place(l, left, top, width, 255);
    return l;
}

}  // namespace

void Frm合同到期提醒::buildLayout()
{
    setObjectName(QStringLiteral("Frm合同到期提醒"));
    setCaption(QStringLiteral("合同到期提醒"));
    resize(px(12000), px(8400));
    useLayoutFace(this);

    SSTab1 = named(new QTabWidget(this), QStringLiteral("SSTab1"));
    place(SSTab1, 0, 0, 12000, 7300);
    auto* receipts = named(new QWidget, QStringLiteral("SSTab1_0"));
    auto* payments = named(new QWidget, QStringLiteral("SSTab1_1"));
    SSTab1->addTab(receipts, QStringLiteral("  收款合同提醒"));
    SSTab1->addTab(payments, QStringLiteral("  付款合同提醒"));

    Shape1 = shape(receipts, QStringLiteral("Shape1"), 30, 60, 11800, 1900);
    MSFlexGrid1 = grid(receipts, QStringLiteral("MSFlexGrid1"), countFormat(), 85, 110, 11690, 1800);
    Label1 = label(receipts, QStringLiteral("Label1"), QStringLiteral("收款合同明细"), 85, 2040, 2000);
    Shape2 = shape(receipts, QStringLiteral("Shape2"), 30, 2340, 11800, 4400);
    MSFlexGrid2 = grid(receipts, QStringLiteral("MSFlexGrid2"), listFormat(), 85, 2390, 11690, 4300);

    Shape5 = shape(payments, QStringLiteral("Shape5"), 30, 60, 11800, 1900);
    MSFlexGrid4 = grid(payments, QStringLiteral("MSFlexGrid4"), countFormat(), 85, 110, 11690, 1800);
    Label2 = label(payments, QStringLiteral("Label2"), QStringLiteral("付款合同明细"), 85, 2040, 2000);
    Shape4 = shape(payments, QStringLiteral("Shape4"), 30, 2340, 11800, 4400);
    MSFlexGrid3 = grid(payments, QStringLiteral("MSFlexGrid3"), listFormat(), 85, 2390, 11690, 4300);

    // Beside the tab captions, at the top right.
    Picture2 = named(new QFrame(this), QStringLiteral("Picture2"));
    place(Picture2, 9000, 0, 2900, 360);
    Shape3 = shape(Picture2, QStringLiteral("Shape3"), 0, 0, 2900, 360);
    Label3 = label(Picture2, QStringLiteral("Label3"), QStringLiteral("距现在"), 120, 60, 700);
    Text1 = named(new QLineEdit(Picture2), QStringLiteral("Text1"));
    applyLineRules(Text1, 11);  // whatever the column holds shows whole
    Text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(Text1, 840, 30, 800, 300);
    Label4 = label(Picture2, QStringLiteral("Label4"), QStringLiteral("天内到期"), 1720, 60, 1000);

    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    place(Picture1, 0, 7400, 11800, 600);
    Check1 = named(new QCheckBox(QStringLiteral("自动提醒"), Picture1), QStringLiteral("Check1"));
    place(Check1, 120, 150, 1400, 300);
    Command3 = button(Picture1, QStringLiteral("Command3"), QStringLiteral("设置"));
    Command1 = button(Picture1, QStringLiteral("Command1"), QStringLiteral("输出"));
    Command2 = button(Picture1, QStringLiteral("Command2"), QStringLiteral("关闭"));
    for (QPushButton* b : {Command3, Command1, Command2}) place(b, 0, 90, 1200, 420);
}

}  // namespace corvane
