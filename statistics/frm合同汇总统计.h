#pragma once
// The summary statistics: contracts counted and added up by department,
// counterparty or contract type, receipt and payment contracts apart, with
// the contracts behind each row and the hand-offs to the contract window
// and to Excel.

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
#include <QTreeWidget>
#include <array>
#include <optional>
#include <vector>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "statistics/StatisticsQuery.h"
#include "statistics/StatisticsRules.h"

namespace corvane {

class frm合同汇总统计 : public Form {
public:
    frm合同汇总统计();

    FlexGrid* MSFlexGrid1;
    QFrame* Frame3;  // button bar
    QPushButton* Command1;  // 统计条件
    QPushButton* Command3;  // 输出到Excel
    QPushButton* Command2;  // 退出
    QPushButton* Command5;  // "…" over a summary row's 明细 cell
    QStatusBar* StatusBar1;
    std::array<QLabel*, 3> StatusBar1_Panels{};

    QFrame* Picture2;  // detail panel
    QLabel* Label6;
    FlexGrid* MSFlexGrid2;
    QPushButton* Command7;  // "…" over a detail row's 明细 cell
    QPushButton* Command8;  // 导出明细
    QPushButton* Command4;  // 关闭 (the detail panel)

    QFrame* Picture7;  // criteria panel
    QLabel* Label2;
    std::array<QLabel*, 12> Label1{};  // Label1(0), (1), (2), (3), (11)
    QCheckBox* Check4;  // 下级联动
    QCheckBox* Check1;  // 全部 (部门列表)
    QTreeWidget* TreeView1;
    QCheckBox* Check2;  // 全部 (合同类别列表)
    QTreeWidget* TreeView2;
    QGroupBox* Frame1;
    QRadioButton* Option1;  // 按部门
    QRadioButton* Option2;  // 按对方单位
    QRadioButton* Option3;  // 按合同类别
    QLabel* Label3;
    QCheckBox* Check3;  // 合同状态
    QLineEdit* Text3;  // the chosen 合同状态, read-only
    QToolButton* Command14;  // opens 选择合同状态 (Frame4)
    QCheckBox* Check6;  // 起始日期
    QDateEdit* DTPicker1;  // 起始日期: from
    QDateEdit* DTPicker2;  // 起始日期: to
    QCheckBox* Check9;  // 终止日期
    QDateEdit* DTPicker3;  // 终止日期: from
    QDateEdit* DTPicker4;  // 终止日期: to
    QCheckBox* Check7;  // 对方单位
    QLineEdit* Text1;  // the chosen 对方单位, read-only
    QToolButton* Command12;  // opens 选择对方单位 (Frame2)
    QPushButton* Command10;  // 确定
    QPushButton* Command9;  // 关闭 (the criteria panel)
    QGroupBox* Frame4;  // states
    QListWidget* List1;  // the states to choose from
    QCheckBox* Check5;  // 全选
    QPushButton* Command11;  // 确定 (states)
    QPushButton* Command13;  // 取消 (states)
    QGroupBox* Frame2;  // counterparties
    QListWidget* List2;  // the counterparties to choose from
    QLineEdit* Text2;  // 模糊查找
    QPushButton* Command6;  // 确定 (counterparties)

    bool 全公司权限 = false;
    QStringList 状态列表;
    QStringList 对方单位列表;
    // The criteria of the last run that passed its checks; the drill-down
    // lists its contracts from them.
    std::optional<statistics::SummaryCriteria> 汇总条件;

    void Form_Load() override;
    void Form_Activate() override;

    // Handlers.
    void 统计();  // Command10 "确定"
    void AdjustColWidth(const QWidget& window, FlexGrid& grid, double margin);
    void MSFlexGrid1_Click();
    void 明细();  // Command5
    void MSFlexGrid2_Click();
    void MSFlexGrid2_DblClick();
    void 查看();  // Command7
    void Command3_Click();  // 输出到Excel
    void Command8_Click();  // 导出明细
    void Command1_Click();
    void Command9_Click();
    void Command4_Click();
    void Command2_Click();
    void Check1_Click();
    void Check2_Click();
    void TreeView_NodeCheck(QTreeWidget* tree, QTreeWidgetItem* node);
    void 子节点联动(QTreeWidgetItem* node);
    void Check3_Click();
    void Command14_Click();
    void Check5_Click();
    void Command11_Click();
    void Command13_Click();
    void Check7_Click();
    void Command12_Click();
    void Text2_Change();
    void Command6_Click();
    void Check6_Click();
    void Check9_Click();
    void 合同类型列表();

    // The tree node of a key ("$" + department code, "T" + type code).
    QTreeWidgetItem* departmentNode(const QString& key) const { return m_departmentNodes.value(key); }
    QTreeWidgetItem* typeNode(const QString& key) const { return m_typeNodes.value(key); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void Form_Resize();
    void Picture2_Resize();
    void placeFrame(QGroupBox* frame, QLineEdit* box);
    void setTicks(QTreeWidget* tree, bool ticked);
    bool 加载部门树();
    void fillSummary(const std::vector<statistics::SummaryLine>& lines);

    QHash<QString, QTreeWidgetItem*> m_departmentNodes;
    QHash<QString, QTreeWidgetItem*> m_typeNodes;
    // The summary grid's rows after its header, as the last run filled them.
    std::vector<statistics::SummaryLine> m_lines;
    bool m_settingTicks = false;
};

}  // namespace corvane
