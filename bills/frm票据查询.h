#pragma once
// The bill query window: the bills the user's department issued for the
// receipts of one contract (the tag), the chosen bill's data and lines, and
// the collection of a pre-issued bill when its money comes in.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <array>
#include <vector>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "bills/BillIssueStore.h"

namespace corvane {

class frm票据查询 : public Form {
public:
    frm票据查询();

    static inline const QString kCaption = QStringLiteral("票据查询");

    std::array<QLabel*, 17> Label1{};  // 0 票据明细, 1 票据编号, 2-11 the value captions, 13 预开票据收款, 14-16 collection captions
    QListWidget* List1;  // 票据编号
    QFrame* Picture1;
    std::array<QLabel*, 10> Label2{};  // the chosen bill's values
    FlexGrid* MSFlexGrid1;
    QFrame* Picture2;
    QComboBox* Combo2;     // 收款方式; item data: id
    QDateEdit* DTPicker1;  // 收款日期
    QComboBox* Combo3;     // 收款人
    QPushButton* Command2; // 预开发票收款确认
    QPushButton* Command4; // 退出
    QStatusBar* StatusBar1;
    std::array<QLabel*, 4> panels{};  // StatusBar1 panels 1..4

    void Form_Load() override;
    void Form_Activate() override;

    void 加载合同票据();
    void List1_Click();
    void Command2_Click();
    void Command4_Click();

    // The records of the listed bills, in list order.
    const std::vector<receipts::QueriedBill>& records() const { return m_bills; }

private:
    void buildLayout();
    void clearValues();
    void setCollectable(bool on);
    void widenColumns(int row);

    std::vector<receipts::QueriedBill> m_bills;
};

}  // namespace corvane
