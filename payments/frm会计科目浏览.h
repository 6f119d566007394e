#pragma once
// The subject tree browser: every subject of 财务科目 as a collapsed tree.
// 选择 hands the chosen subject to the opener's hand-back (the conversion
// window's accounting subject); the browser stays open beside its opener.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <array>

#include "payments/SubjectBrowserLayout.h"
#include "platform/Forms.h"

namespace corvane {

class frm会计科目浏览 : public Form {
public:
    frm会计科目浏览();

    QTreeWidget* TreeView1;
    std::array<QLineEdit*, 2> Text1{};  // 代码, 名称
    QPushButton* Command1;              // 选择
    QPushButton* Command2;              // 取消

    // Called with the subject 选择 takes; the opener checks it is still there.
    void handBackTo(payments::SubjectHandBack handBack) { m_handBack = std::move(handBack); }

    void Form_Load() override;
    void 科目树加载();
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void TreeView1_Expand(QTreeWidgetItem* node);
    void Command1_Click();
    void Command2_Click();

    QTreeWidgetItem* nodeOf(const QString& key) const;

private:
    void buildLayout();
    payments::SubjectHandBack m_handBack;
};

}  // namespace corvane
