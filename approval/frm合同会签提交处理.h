#pragma once
// The countersign route of one contract, proposed from its type, edited by
// the clerk and submitted: the contract's route rows, the circulation
// records due at once, and the contract in 审批中.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <array>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

class frmCorvane;

struct CountersignHandover {
    QString mode;        // window Tag: "合同信息" from the record window
    QString number;      // Text1(0)
    QString id;          // tag of Text1(0): 合同信息.id, empty when unknown
    QString name;        // Text1(1)
    QString typeName;    // Text1(2)
    QString typeCode;    // tag of Text1(2): the type is read by its code
};

class frm合同会签提交处理 : public Form {
public:
    frm合同会签提交处理();

    std::array<QLabel*, 6> Label1{};
    std::array<QLineEdit*, 3> Text1{};  // 合同编号, 合同名称, 合同类型 (read-only)
    QTreeWidget* TreeView1;
    QComboBox* Combo1;  // 岗位
    QCheckBox* Check1;   // 决策权
    QPushButton* Command1;  // 添加 / 修改确定
    QPushButton* Command2;  // 删除
    std::array<QPushButton*, 2> Command5{};  // ↑ ↓
    QCheckBox* Check2;   // 平行会签
    QPushButton* Command3;  // 提交确定
    QPushButton* Command4;  // 退出
    FlexGrid* MSFlexGrid1;

    // The opener's values, and the list window's department tree copied
    // node by node in the order its nodes were added.
    void takeHandover(const CountersignHandover& h, const frmCorvane& list);

    void Form_Load() override;
    void Form_Activate() override;

    void 岗位列表(const QString& departmentCode);
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void MSFlexGrid1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command5_Click(int index);
    void Check2_Click();
    void Command3_Click();
    void Command4_Click();

    static QString nodeKey(const QTreeWidgetItem* node);

private:
    void connectEvents();
    void 建议路径();
    bool hasSteps() const { return MSFlexGrid1->Rows() > 1; }
    void selectWholeRow(int row);
    void setArrows(bool on);
    void widenToFit();
    QTreeWidgetItem* nodeByKey(const QString& key) const;
    bool m_proposed = false;
};

}  // namespace corvane
