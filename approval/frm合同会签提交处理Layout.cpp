#include "approval/frm合同会签提交处理.h"

#include "app/frmToExcel.h"
#include "platform/Widgets.h"

// The window's controls and their geometry in twips.

namespace corvane {

frm合同会签提交处理::frm合同会签提交处理()
{
    setObjectName(QStringLiteral("frm合同会签提交处理"));
    setCaption(QStringLiteral(" "));
    keepFixedDialogFrame(*this);
    useLayoutFace(this);
    setFixedSize(px(9930), px(6500));

    auto label = [this](int i, const QString& caption, int left, int top, int width) {
        Label1[i] = named(new QLabel(caption, this), QStringLiteral("Label1_%1").arg(i));
        place(Label1[i], left, top, width, 300);
    };
    label(0, QStringLiteral("合同编号"), 120, 150, 900);
    label(1, QStringLiteral("合同名称"), 3420, 150, 900);
    label(2, QStringLiteral("合同类型"), 6900, 150, 900);
    const int boxes[3][2] = {{1050, 2250}, {4350, 2450}, {7830, 1980}};
    for (int i = 0; i < 3; ++i) {
        Text1[i] = named(new QLineEdit(this), QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setReadOnly(true);
        place(Text1[i], boxes[i][0], 105, boxes[i][1], 330);
    }

    TreeView1 = named(new QTreeWidget(this), QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    place(TreeView1, 120, 570, 3060, 5730);

    label(3, QStringLiteral("岗位"), 3420, 630, 600);
    Combo1 = named(new QComboBox(this), QStringLiteral("Combo1"));
    place(Combo1, 4050, 570, 3300, 345);
    Check1 = named(new QCheckBox(QStringLiteral("决策权"), this), QStringLiteral("Check1"));
    place(Check1, 7470, 600, 1000, 300);
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("添加"));
    place(Command1, 8520, 555, 1290, 375);

    label(4, QStringLiteral("流转路径"), 3420, 1080, 1200);
    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setCols(5);
    MSFlexGrid1->setFormatString(QStringLiteral("^序|<部门|<岗位|<员工姓名|<决策权"));
    const int widths[] = {420, 1650, 2150, 1250, 780};
    for (int c = 0; c < 5; ++c) MSFlexGrid1->setColWidth(c, widths[c]);
    place(MSFlexGrid1, 3420, 1380, 6390, 4170);

    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("删除"));
    place(Command2, 3420, 5700, 1000, 375);
    label(5, QStringLiteral("次序调整"), 4600, 5745, 900);
    Command5[0] = button(this, QStringLiteral("Command5_0"), QStringLiteral("↑"));
    place(Command5[0], 5520, 5700, 480, 375);
    Command5[1] = button(this, QStringLiteral("Command5_1"), QStringLiteral("↓"));
    place(Command5[1], 6030, 5700, 480, 375);
    Check2 = named(new QCheckBox(QStringLiteral("平行会签"), this), QStringLiteral("Check2"));
    place(Check2, 6660, 5730, 1200, 300);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("提交确定"));
    place(Command3, 7950, 5700, 1000, 375);
    Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("退出"));
    place(Command4, 8970, 5700, 840, 375);

    Command5[0]->setEnabled(false);
    Command5[1]->setEnabled(false);
    connectEvents();
}

}  // namespace corvane
