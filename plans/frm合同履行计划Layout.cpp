// The control tree of the performance plan window, geometry in twips.

#include <QLabel>

#include "db/Schema.h"
#include "plans/frm合同履行计划.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"

namespace corvane {

namespace {

QGroupBox* groupBox(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width, int height)
{
    auto* g = named(new QGroupBox(caption, parent), name);
    place(g, left, top, width, height);
    return g;
}

void label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    place(named(new QLabel(caption, parent), name), left, top, width, 255);
}

// A node's boxes take what its row of 合同履行计划表 holds.
int nodeColumn(const char* column) { return schema::textLength(QStringLiteral("合同履行计划表"), QString::fromUtf8(column)); }

QLineEdit* line(QWidget* parent, const QString& name, int left, int top, int width, int maxLength)
{
    auto* e = named(new QLineEdit(parent), name);
    applyLineRules(e, maxLength);
    place(e, left, top, width, 300);
    return e;
}

}  // namespace

void frm合同履行计划::buildLayout()
{
    setObjectName(QStringLiteral("frm合同履行计划"));
    setCaption(QStringLiteral("合同履行控制节点计划"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(9120), px(6660));
    useLayoutFace(this);

    QGroupBox* info = groupBox(this, QStringLiteral("Frame1"), QStringLiteral("合同信息"), 120, 60, 8880, 720);
    label(info, QStringLiteral("Label1"), QStringLiteral("合同编号"), 120, 330, 850);
    Text4[0] = line(info, QStringLiteral("Text4_0"), 1000, 300, 2500, 50);
    label(info, QStringLiteral("Label2"), QStringLiteral("合同名称"), 3660, 330, 850);
    Text4[1] = line(info, QStringLiteral("Text4_1"), 4540, 300, 4200, 0);
    for (QLineEdit* t : Text4) t->setReadOnly(true);

    QGroupBox* nodes = groupBox(this, QStringLiteral("Frame2"), QStringLiteral("节点控制计划信息"), 120, 840, 8880, 2940);
    MSFlexGrid1 = named(new FlexGrid(nodes), QStringLiteral("MSFlexGrid1"));
    place(MSFlexGrid1, 120, 300, 8640, 2520);
    MSFlexGrid1->setFormatString(QStringLiteral("序号|阶段          |要求                          |时间节点    |"));

    QGroupBox* edit = groupBox(this, QStringLiteral("Frame3"), QStringLiteral("节点控制计划编辑"), 120, 3840, 7260, 2700);
    label(edit, QStringLiteral("Label3"), QStringLiteral("阶段"), 120, 360, 700);
    Text1 = line(edit, QStringLiteral("Text1"), 900, 330, 3000, nodeColumn("阶段"));
    label(edit, QStringLiteral("Label5"), QStringLiteral("时间节点"), 4080, 360, 850);
    Text3 = line(edit, QStringLiteral("Text3"), 4980, 330, 2100, 10);
    label(edit, QStringLiteral("Label4"), QStringLiteral("要求"), 120, 750, 700);
    Text2 = named(new TextBox(edit, true), QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(Text2, 900, 720, 6180, 1860);

    const auto cmd = [](QWidget* parent, const QString& name, const QString& caption, int left, int top) {
        auto* b = button(parent, name, caption);
        place(b, left, top, 1440, 420);
        return b;
    };
    Command3 = cmd(this, QStringLiteral("Command3"), QStringLiteral("新增"), 7560, 3960);
    Command1 = cmd(this, QStringLiteral("Command1"), QStringLiteral("确定"), 7560, 4500);
    Command4 = cmd(this, QStringLiteral("Command4"), QStringLiteral("删除"), 7560, 5040);
    Command2 = cmd(this, QStringLiteral("Command2"), QStringLiteral("关闭"), 7560, 6000);

    // The check face lies over everything below the contract.
    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    place(Picture1, 0, 810, 9120, 5850);
    QGroupBox* checks = groupBox(Picture1, QStringLiteral("Frame4"), QStringLiteral("节点完成情况检查"), 120, 30, 8880, 2940);
    MSFlexGrid2 = named(new FlexGrid(checks), QStringLiteral("MSFlexGrid2"));
    place(MSFlexGrid2, 120, 300, 8640, 2520);
    MSFlexGrid2->setFormatString(
        QStringLiteral("序|阶段        |要求                |时间节点  |完成情况            |检查人  |检查日期  |"));
    QGroupBox* done = groupBox(Picture1, QStringLiteral("Frame5"), QStringLiteral("完成情况"), 120, 3030, 7260, 2700);
    Text5 = named(new TextBox(done, true), QStringLiteral("Text5"));
    Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(Text5, 120, 300, 7020, 1680);
    label(done, QStringLiteral("Label6"), QStringLiteral("检查人"), 120, 2190, 700);
    Text6 = line(done, QStringLiteral("Text6"), 900, 2160, 2200, nodeColumn("检查人"));
    label(done, QStringLiteral("Label7"), QStringLiteral("检查日期"), 3300, 2190, 850);
    DTPicker1 = named(new QDateEdit(done), QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTPicker1->setCalendarPopup(true);
    place(DTPicker1, 4200, 2160, 1560, 300);
    Command5 = cmd(Picture1, QStringLiteral("Command5"), QStringLiteral("确定"), 7560, 3150);
    Command5->setEnabled(false);
    Command6 = cmd(Picture1, QStringLiteral("Command6"), QStringLiteral("退出"), 7560, 5190);
    Picture1->hide();
}

}  // namespace corvane
