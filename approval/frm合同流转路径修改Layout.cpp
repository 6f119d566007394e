#include "approval/frm合同流转路径修改.h"

#include <QStyle>

#include "app/frmToExcel.h"
#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"

// The window's controls and their geometry in twips.

namespace corvane {

frm合同流转路径修改::frm合同流转路径修改()
{
    setObjectName(QStringLiteral("frm合同流转路径修改"));
    setCaption(QStringLiteral("合同流转路径修改"));
    keepFixedDialogFrame(*this);
    useLayoutFace(this);
    setFixedSize(px(9660), px(6120));

    auto label = [this](const QString& name, const QString& caption, int left, int top, int width) {
        auto* l = named(new QLabel(caption, this), name);
        place(l, left, top, width, 300);
        return l;
    };
    Label21 = label(QStringLiteral("Label21"), QStringLiteral("部门"), 120, 165, 600);
    Text13 = named(new QLineEdit(this), QStringLiteral("Text13"));
    place(Text13, 720, 120, 3000, 330);
    // "code name" of a department, and of a post below.
    auto entryLength = [](const char* table, const char* code, const char* name) {
        const QString t = QString::fromUtf8(table);
        return schema::textLength(t, QString::fromUtf8(code)) + 1 + schema::textLength(t, QString::fromUtf8(name));
    };
    applyLineRules(Text13, entryLength("职能部门new", "职能部门编号", "职能部门名称"));
    Command3 = named(new QToolButton(this), QStringLiteral("Command3"));
    Command3->setArrowType(Qt::DownArrow);
    place(Command3, 3720, 120, 330, 330);

    Label22 = label(QStringLiteral("Label22"), QStringLiteral("岗位"), 4260, 165, 600);
    Combo5 = named(new QComboBox(this), QStringLiteral("Combo5"));
    Combo5->setEditable(true);
    applyLineRules(Combo5->lineEdit(), entryLength("岗位信息new", "岗位代号", "岗位名称"));
    place(Combo5, 4860, 120, 2900, 330);
    Check2 = named(new QCheckBox(QStringLiteral("决策权"), this), QStringLiteral("Check2"));
    place(Check2, 7920, 135, 1200, 300);

    Check1 = named(new QCheckBox(QStringLiteral("单级流转"), this), QStringLiteral("Check1"));
    Check1->setEnabled(false);
    place(Check1, 120, 645, 1400, 300);
    Label23 = label(QStringLiteral("Label23"), QStringLiteral("环节序号"), 1620, 675, 1000);
    Text14 = named(new QLineEdit(this), QStringLiteral("Text14"));
    Text14->setEnabled(false);
    applyLineRules(Text14, kNumberBoxLength);
    place(Text14, 2640, 630, 900, 330);
    Command6 = button(this, QStringLiteral("Command6"), QStringLiteral("添加"));
    place(Command6, 4860, 600, 1000, 375);
    Command8 = button(this, QStringLiteral("Command8"), QStringLiteral("删除"));
    place(Command8, 5940, 600, 1000, 375);
    Command32[0] = button(this, QStringLiteral("Command32_0"), QStringLiteral("↑"));
    place(Command32[0], 7020, 600, 480, 375);
    Command32[1] = button(this, QStringLiteral("Command32_1"), QStringLiteral("↓"));
    place(Command32[1], 7560, 600, 480, 375);

    MSFlexGrid1 = named(new FlexGrid(this), QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setCols(8);
    MSFlexGrid1->setFormatString(QStringLiteral("^序|<合同编号|<部门|<岗位|<决策权|环节序号|流转方式|"));
    const int widths[] = {450, 1100, 1500, 1500, 700, 900, 1000, 0};
    for (int c = 0; c < 8; ++c) MSFlexGrid1->setColWidth(c, widths[c]);
    place(MSFlexGrid1, 120, 1110, 9420, 4890);

    TreeView1 = named(new QTreeWidget(this), QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    place(TreeView1, 720, 450, 3330, 4200);
    TreeView1->hide();
    TreeView1->raise();

    connectEvents();
}

}  // namespace corvane
