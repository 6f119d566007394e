#pragma once
// The subject tree browser: every subject of 财务科目 as a collapsed tree.
// 选择 hands the chosen subject to the window that opened it (the payment
// window's subject, or the conversion window's accounting subject).
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <array>

#include "platform/Forms.h"

namespace corvane {

class frm合同付款处理;
class frm会计科目转换;

class frm会计科目浏览 : public Form {
public:
    frm会计科目浏览();

    QTreeWidget* TreeView1;
    std::array<QLineEdit*, 2> Text1{};  // 代码, 名称
    QPushButton* Command1;              // 选择
    QPushButton* Command2;              // 取消

    void setPaymentWindow(frm合同付款处理* w);
    void setConversionWindow(frm会计科目转换* w);

    void Form_Load() override;
    void 科目树加载();
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void TreeView1_Expand(QTreeWidgetItem* node);
    void Command1_Click();
    void Command2_Click();

    QTreeWidgetItem* nodeOf(const QString& key) const;

private:
    void buildLayout();
    // Either opener may be closed while the browser stays open.
    QPointer<Form> m_payment;
    QPointer<Form> m_conversion;
};

}  // namespace corvane
