#pragma once
// The instalment statistics: for the ticked departments, every instalment of
// a receipt or payment contract planned within a date range, with the
// contract's data and what it has received or paid in all.

#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <array>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

class frm合同收付款统计 : public Form {
public:
    frm合同收付款统计();

    QTabWidget* SSTab1;
    FlexGrid* MSFlexGrid1;  // receipt instalments (tab 0)
    FlexGrid* MSFlexGrid2;  // payment instalments (tab 1)
    QFrame* Picture3;       // button bar
    QPushButton* Command5;  // 统计条件
    QPushButton* Command2;  // 输出EXCEL
    QPushButton* Command4;  // 退出
    QFrame* Picture2;  // criteria panel
    QLabel* Label5;
    QFrame* Picture1;
    QLabel* Label2;
    QDateEdit* DTPicker1;  // 统计日期: from
    QLabel* Label3;
    QDateEdit* DTPicker2;  // 至
    QLabel* Label1;
    QTreeWidget* TreeView1;
    QCheckBox* Check1;  // 全部 (departments)
    QPushButton* Command1;  // 统计
    QPushButton* Command3;  // 关闭 (the criteria panel)
    QStatusBar* StatusBar1;
    std::array<QLabel*, 2> StatusBar1_Panels{};

    void Form_Load() override;
    void Form_Activate() override;

    void Check1_Click();
    void Command1_Click();
    void 统计收款计划();
    void 统计付款计划();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    // Fills the tree again for the user's scope (the first activation does).
    void 加载部门树();

    QTreeWidgetItem* departmentNode(const QString& key) const { return m_nodes.value(key); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void Form_Resize();
    void Picture3_Resize();
    bool 统计(bool receipt);

    QHash<QString, QTreeWidgetItem*> m_nodes;
    bool m_treeLoaded = false;
};

}  // namespace corvane
