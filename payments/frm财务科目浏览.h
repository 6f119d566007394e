#pragma once
// The budget subject picker: the subjects the payment's department may book
// for the chosen reimbursement type and expense category, as a tree with
// their parents above them. 选择 hands the chosen subject to the opener's
// hand-back (the payment window's 科目代号 and 科目名称).
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <array>

#include "payments/SubjectBrowserLayout.h"
#include "platform/Forms.h"

namespace corvane {

class frm财务科目浏览 : public Form {
public:
    frm财务科目浏览();

    QTreeWidget* TreeView1;
    std::array<QLineEdit*, 2> Text1{};  // 代码, 名称
    QPushButton* Command1;  // 选择
    QPushButton* Command2;  // 退出

    // The opener's inputs (the old controls' tags).
    QString Command1_Tag;  // "合同付款": pre-select the payment window's subject
    QString Command2_Tag;  // "yusuan", or "分摊单"
    QString Text1_0_Tag;   // 报销类型
    QString Text1_1_Tag;   // 费用类别
    QString TreeView1_Tag;
    QString currentSubject;  // the opener's subject code, chosen in the tree when it is there
    // Called with the subject 选择 takes.
    void handBackTo(payments::SubjectHandBack handBack) { m_handBack = std::move(handBack); }

    void Form_Load() override;
    void Form_Activate() override;

    void 预算科目列表();
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void Command1_Click();
    void Command2_Click();

    // The node of a key ("code K"), or none.
    QTreeWidgetItem* nodeOf(const QString& key) const;

private:
    void buildLayout();
    payments::SubjectHandBack m_handBack;
};

}  // namespace corvane
