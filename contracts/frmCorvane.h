#pragma once
// The contract list: the hub from which every contract task starts. It hands
// the chosen row on through contractHandovers(), and reads rows again when a
// contract it may show has changed (app/Changes): no other window touches its
// grid. Its layout is frmCorvaneLayout.cpp.

#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <vector>

#include "app/LoginStatusBar.h"
#include "contracts/ContractLookups.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane::contract {
struct ListSelection;
}

namespace corvane {

class Statement;

// A panel that reports presses and moves in twips of its own coordinates.
class DragPanel : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;
signals:
    void MouseDown(int Button, int Shift, float x, float y);
    void MouseMove(int Button, int Shift, float x, float y);
    void MouseUp(int Button, int Shift, float x, float y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class frmCorvane : public Form {
    Q_OBJECT
public:
    frmCorvane();

    // The grid's columns by name: the row number, then one per column of the
    // list statement in its order (contract::ListColumn). The columns from
    // 提交日期 on are hidden.
    struct Col {
        enum : int {
            序, 合同编号, 合同名称, 职能部门名称, 合同类型名称, 合同类别, 合同金额, 对方单位, 对方开户行, 对方帐号,
            合同签订日期, 合同生效日期, 合同期限, 合同终止日期, 合同中止日期, 合同状态, 签约人, 对方签约人,
            对应续约合同编号, 提交日期, 流转结束日期, 流转通过, 对应部门, 对应科目, id,
            count
        };
    };
    static constexpr int kCols = Col::count;

    QLabel* Label3;
    FlexGrid* MSFlexGrid1;
    LoginStatusBar* StatusBar1;
    std::array<QLabel*, 6> StatusBar1_Panels;  // panels 1..6 at index 0..5

    QFrame* Picture1;  // button bar
    QPushButton* Command13;  // 快速查找
    QPushButton* Command6;  // 合同筛选
    QPushButton* Command7;  // 合同付款处理 / 合同收款处理, by the row's kind
    QPushButton* Command8;  // 合同履行计划
    QPushButton* Command9;  // 合同到期/中止处理
    QPushButton* Command5;  // 删除
    QPushButton* Command3;  // 新增
    QPushButton* Command4;  // 关闭
    QPushButton* Command2;  // 修改/查看
    QPushButton* Command10;  // 输出EXCEL
    std::array<QLabel*, 4> Label1{};  // Label1(0), Label1(2), Label1(3) exist

    QFrame* Picture2;  // filter panel
    QLabel* Label5;
    QLineEdit* Text1;  // department; its Tag holds the code
    QTreeWidget* TreeView1;
    QPushButton* Command1;  // 确定: lists by the filter
    QPushButton* Command11;  // 关闭 (the filter panel)
    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> Option3;  // 全部履行中合同, 应付到期合同, 应收到期合同, 到期合同
    std::array<QRadioButton*, 2> Option1;  // 已终止履行合同, 已到期未终止履行合同
    QRadioButton* Option4;  // 签约中
    QRadioButton* Option2;  // 全部(合同较多时会影响速度)
    QLineEdit* Text2;  // 天数范围
    QCheckBox* Check1;  // 按全公司显示
    QGroupBox* Frame2;
    std::array<QRadioButton*, 3> Option5;  // 按生效日期, 按终止日期, 按中止日期
    std::array<QLabel*, 3> Label2{};  // Label2(2) exists
    QDateEdit* DTPicker1;  // 日期范围: from
    QDateEdit* DTPicker2;  // 日期范围: to

    DragPanel* Picture3;  // quick search
    QLabel* Label4;
    QLabel* Label6;
    QLineEdit* Text3;  // 请输入对方单位名称
    QListWidget* List1;  // the counterparties that match Text3
    QPushButton* Command14;  // 查找
    QPushButton* Command15;  // 关闭 (quick search)
    QPushButton* Command16;  // 查下一个
    std::array<QToolButton*, 1> Image1;

    void Form_Load() override;
    void Form_Activate() override;

    void Command1_Click();
    QString 显示部门(const QString& departmentCode) const;
    void 合同列表();
    // After these contracts were created, edited or deleted: their rows read
    // again where the list shows them (a row the list no longer selects
    // leaves it); the whole list when one of them is not in it.
    void refreshContracts(const std::vector<qint64>& ids);
    // After a contract moved on: its row, where the list shows it, shows the
    // stored values again and stays, whether or not the list's filter still
    // selects it. An unlisted contract reads nothing.
    void refreshRowInPlace(qint64 id);

    // The tree node of a department ("$" + code), nullptr when not in the tree.
    QTreeWidgetItem* nodeByKey(const QString& key) const;
    static QString nodeKey(const QTreeWidgetItem* node);
    // The nodes in the order they were added.
    const std::vector<QTreeWidgetItem*>& nodes() const { return m_nodes; }

    // Handlers.
    bool 加载部门树();  // false when a statement failed
    void 添加下级部门(const QString& departmentCode);
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void TreeView1_DblClick();
    void Check1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Option3_Click(int index);
    void Option1_Click(int index);
    void Option4_Click();
    void Option2_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_MouseDown(int Button, int Shift, float x, float y);
    void Command13_Click();
    void Text3_Change();
    // Runs a quick search still waiting for typing to pause.
    void flushQuickSearch();
    static constexpr int kSearchPauseMs = 250;
    void Command14_Click();
    void Command16_Click();
    void Command15_Click();
    void Image1_Click(int index);
    void Picture3_MouseDown(int Button, int Shift, float x, float y);
    void Picture3_MouseMove(int Button, int Shift, float x, float y);
    void Picture3_MouseUp(int Button, int Shift, float x, float y);
    void Picture1_Resize();

    // The filter selection the controls hold now.
    contract::ListSelection selection() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    using Department = contract::Department;
    void buildLayout();
    void connectEvents();
    // The cells of row r from a row of the list statement.
    void writeRow(int r, const Statement& q);
    void 清空列表();
    void fitColumns(int firstRow, int lastRow);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const Department& d);
    bool hasContractRow() const { return MSFlexGrid1->Rows() > 1; }
    // Command7 opens the payment or the receipt window by the current row's category.
    void followCurrentCategory();
    void placeCentred(QWidget* panel);
    void hidePanel(QWidget* panel);
    void 查找自(int firstRow);
    void layoutBar();

    bool m_activated = false;
    std::vector<Department> m_departments;
    std::vector<QTreeWidgetItem*> m_nodes;
    QHash<QString, QTreeWidgetItem*> m_nodeByKey;
    int m_searchRow = 1;
    QTimer* m_searchPause = nullptr;
    bool m_dragging = false;
    float m_dragX = 0, m_dragY = 0;
};

}  // namespace corvane
