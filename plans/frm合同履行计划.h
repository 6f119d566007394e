#pragma once
// A contract's performance plan: its control nodes (阶段, 要求, 时间节点) and
// how each was met. Tag "编辑" is the face where nodes are added, changed and
// deleted; any other tag is the check face (Picture1), where a node's
// completion, inspector and inspection date are recorded.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/TextBox.h"

namespace corvane {

class frm合同履行计划 : public Form {
public:
    frm合同履行计划();

    static inline const QString kEditMode = QStringLiteral("编辑");

    std::array<QLineEdit*, 2> Text4{};  // contract number, contract name
    FlexGrid* MSFlexGrid1;
    QLineEdit* Text1;  // 阶段
    TextBox* Text2;    // 要求
    QLineEdit* Text3;  // 时间节点
    QPushButton* Command1;  // 确定
    QPushButton* Command2;  // 关闭
    QPushButton* Command3;  // 新增 / 取消新增
    QPushButton* Command4;  // 删除

    QFrame* Picture1;
    FlexGrid* MSFlexGrid2;
    TextBox* Text5;    // 完成情况
    QLineEdit* Text6;  // 检查人
    QDateEdit* DTPicker1;  // 检查日期
    QPushButton* Command5;  // 确定
    QPushButton* Command6;  // 退出

    void Form_Activate() override;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid2_Click();

    bool editing() const { return Tag == kEditMode; }
    bool adding() const { return Command3->text() == QStringLiteral("取消新增"); }

private:
    void buildLayout();
    void enterAdding();
    void fit(FlexGrid& grid, int row, int firstCol, int lastCol);
};

}  // namespace corvane
