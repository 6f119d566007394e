#pragma once
// The instalment plan of one contract: the dated amounts the company expects
// to receive under a receipt contract or to pay under a payment contract.
// Rows are edited in the grid and reach the database only with 计划保存, all
// of them or none; deletions reach it at once, except of instalments that
// money already refers to. The generator panel (Picture1) fills the grid
// from a rule.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <map>
#include <vector>

#include "contracts/ContractRecordWindow.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/TextBox.h"
#include "plans/Generators.h"
#include "plans/PlanStore.h"

namespace corvane {

class frm合同收付款计划设置 : public Form {
public:
    frm合同收付款计划设置();

    static inline const QString kReceiptCaption = QStringLiteral("合同收款计划设置");
    // What the date pickers show for a contract without that date.
    static QDate noDate() { return QDate(1900, 1, 1); }

    // ---- plan area
    QLabel* Label1;
    std::array<QLabel*, 2> Label13{};
    FlexGrid* MSFlexGrid1;
    QGroupBox* Frame1;
    QDateEdit* DTPicker1;  // 收款日期 / 付款日期
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* Text1;  // amount
    QLineEdit* Text2;  // balance
    TextBox* Text3;    // condition
    QPushButton* Command1;  // 计划确定
    QPushButton* Command2;  // 新增计划 / 取消新增
    QPushButton* Command3;  // 计划删除
    QPushButton* Command4;  // 关闭
    QPushButton* Command5;  // 自动生成计划
    QPushButton* Command8;  // 计划保存
    QPushButton* Command9;  // 清空计划

    // ---- generator panel
    QFrame* Picture1;
    QDateEdit* DTPicker2;  // 起始
    QDateEdit* DTPicker3;  // 终止
    QLineEdit* Text8;      // 总金额
    QGroupBox* Frame3;
    std::array<QRadioButton*, 4> Option4{};  // 每次相同金额, 按比例确定每次金额, 按周期计算次数和金额, 长期合同
    QLineEdit* Text4;   // 计划次数
    std::array<QLabel*, 5> Label6{};
    QCheckBox* Check1;  // 最后一次收/付款补差
    QComboBox* Combo1;  // 元 角 分
    QLineEdit* Text10;  // 付款日期 (day of the month)
    QCheckBox* Check2;  // 先做后付
    QGroupBox* frame4;
    QLineEdit* Text7;   // ratios
    std::array<QLabel*, 5> Label11{};
    QGroupBox* Frame2;
    std::array<QRadioButton*, 8> Option1{};  // 0..3 in Frame2, 5..7 in Frame5
    QListWidget* List1;  // the control points (控制节点)
    QLineEdit* Text9;  // 请输入所选节点的收付比例
    QGroupBox* Frame5;
    QDateEdit* DTPicker4;  // 起始日期
    QLineEdit* Text5;  // 计划每次金额
    QLineEdit* Text6;  // 计划次数
    QPushButton* Command6;  // 生成计划
    QPushButton* Command7;  // 取消

    // The opener's values, before the window is shown.
    void takeHandover(const contract::InstalmentPlanHandover& h);

    void Form_Load() override;
    void Form_Activate() override;

    bool 加载收付款计划();
    void 加载控制节点();
    void 清空计划编辑();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command8_Click();
    void Command9_Click();
    void MSFlexGrid1_Click();
    void Text1_Change();

    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Option4_Click(int index);
    void Option1_Click(int index);

    bool 每次相同金额();
    bool 按比例生成计划();
    bool 按周期生成计划();
    bool 按节点生成计划();
    bool 按长期合同();

    bool addModeOn() const;
    plans::PlanKind planKind() const { return m_kind; }
    // The node dates of List1's items, by index.
    const std::vector<QDate>& nodeDates() const { return m_nodeDates; }

private:
    void buildLayout();
    QString contractNumber() const;
    int planRows() const { return MSFlexGrid1->Rows() - 1; }
    void fillGrid(const std::vector<plans::StoredInstalment>& rows);
    void fitRow(int row);
    void showRowInFrame(int row);
    // The rows of a generator, or its refusal shown; false when refused.
    bool writeGenerated(const plans::Generated& plan, bool fitColumns);

    plans::PlanKind m_kind = plans::PlanKind::Payment;
    std::vector<QDate> m_nodeDates;
    // The saved rows as loaded or last written, by ID: a save holds each row
    // it writes to them.
    std::map<qint64, plans::StoredInstalment> m_loaded;
    bool m_activated = false;
};

}  // namespace corvane
