#pragma once
// Ends one contract, at expiry ("合同到期": 履行完成) or early (中止), with
// its termination date and reason, the penalty, the write-off of unpaid
// payment instalments and the renewal flag; and renews it (续签合同).
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <optional>

#include "platform/Forms.h"
#include "platform/TextBox.h"
#include "plans/ExpiryStore.h"

namespace corvane {

class frm合同到期处理 : public Form {
public:
    frm合同到期处理();

    // Text1(0) 合同编号, (1) 合同名称, (2) 生效日期, (3) 终止日期, (4) 余款, (5) 已付.
    std::array<QLineEdit*, 6> Text1{};
    QComboBox* Combo1;      // 终止类型
    QDateEdit* DTPicker1;   // 中止日期
    TextBox* Text2;         // 中止原因
    QComboBox* Combo2;      // 违约金处理
    QLineEdit* Text3;       // 违约金
    QDateEdit* DTPicker2;   // 违约金收/付日期
    QCheckBox* Check1;      // 余款勾销
    QLabel* Label10;        // the reminder
    QCheckBox* Check2;      // 合同续签
    QPushButton* Command3;  // 续签合同
    QPushButton* Command1;  // 确定
    QPushButton* Command2;  // 退出

    // The contract the list handed over; loading and writes act on it.
    void takeHandover(const QString& number, const QString& name, const QString& id);

    void Form_Activate() override;
    void Command1_Click();
    void Command2_Click();
    void Check2_Click();
    void Command3_Click();

private:
    void buildLayout();
    // The renewal button's rule: ticked and not yet renewed.
    void applyRenewalRule();
    qint64 m_id = 0;
    // The contract as loaded, or as this window last wrote it.
    std::optional<plans::ExpiryContract> m_loaded;
};

}  // namespace corvane
