#pragma once
// The payment window: the contract list hands it a payment contract; it
// lists the instalments of the contract and of the supplements merged into
// it, lets the user choose instalments and amounts and fill in the payment,
// and with 确定 turns them into a submitted reimbursement form with its
// payment records. Files to go with the form are listed in the attachment
// panel (Picture6). 支付情况察看 opens the payment history (Picture1), from
// which a line opens its reimbursement form (Picture2) with its approval
// trail (Picture7), return note (Picture5) and voucher.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <optional>
#include <vector>

#include "contracts/ContractHandovers.h"
#include "payments/PaymentStore.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

class frm合同付款处理 : public Form {
public:
    frm合同付款处理();

    static inline const QString kCaption = QStringLiteral("合同付款处理");

    // ---- contract
    QGroupBox* Frame1;
    std::array<QLineEdit*, 6> Text3{};  // 合同编号, 合同名称, 总额, 已付, 余额, 对应部门
    // ---- instalments
    QGroupBox* Frame2;
    FlexGrid* MSFlexGrid1;
    QLineEdit* Text2;  // the floating amount editor
    // ---- this payment
    QGroupBox* Frame3;
    QLineEdit* Text1;   // 付款金额
    QComboBox* Combo1;  // 付款方式
    QComboBox* Combo2;  // 性质
    QComboBox* Combo3;  // 类别
    QLineEdit* Text9;   // 科目名称
    QLineEdit* Text10;  // 科目代号
    QLineEdit* Text8;   // 经办部门
    QComboBox* Combo4;  // 经办人
    QLineEdit* Text4;   // 发票编号
    QLineEdit* Text5;   // 对方单位
    QLineEdit* Text6;   // 对方开户银行
    QLineEdit* Text7;   // 对方银行帐号
    QDateEdit* DTPicker1;  // 付款日期
    QPushButton* Command4;  // 分摊
    QPushButton* Command5;  // the subject picker
    QPushButton* Command8;  // 添加资料
    std::array<QLabel*, 55> Label1{};
    // ---- button row
    QPushButton* Command1;  // 确定
    QPushButton* Command3;  // 支付情况察看
    QPushButton* Command2;  // 关闭
    QLabel* Label2;         // progress caption
    // ---- budget balance, never shown
    QGroupBox* Frame4;
    QLineEdit* txtMoney;
    // ---- attachments
    QFrame* Picture6;
    FlexGrid* MSFlexGrid4;
    QPushButton* Command9;   // 添加图片
    QPushButton* Command10;  // 添加文件
    QPushButton* Command11;  // 删除资料
    QPushButton* Command12;  // 关闭
    QLabel* Image2;          // the small close picture

    // ---- payment history (Picture1), form view (Picture2, Picture5), approval trail (Picture7)
    QFrame* Picture1;
    QCheckBox* Check1;  // 显示审批未通过记录
    FlexGrid* MSFlexGrid2;
    QPushButton* Command6;  // 关闭
    QPushButton* Command7;  // 打印清单
    QFrame* Picture2;
    QString Picture2_Tag;  // the 报销单ID of the form on show
    std::array<QLineEdit*, 6> Text11{};  // 报销单编号, 费用类别, 报销类型, 付款方式, 报销日期, 经办人
    FlexGrid* MSFlexGrid5;
    std::array<QLabel*, 6> Label3{};  // 审批情况, 支付情况, 凭证打印, 关闭, 返回, 返回
    QFrame* Picture5;
    QPlainTextEdit* Text14;  // 支付情况
    QFrame* Picture7;
    FlexGrid* MSFlexGrid3;

    // The check mark of a chosen instalment (Image1(0)); Image1(1) is empty.
    static const QPixmap& checkMark();

    // Tags of the old controls.
    QString Text3_0_Tag;  // the contract's id
    QString Text8_Tag;    // the user's department code
    QString DTPicker1_Tag;  // the department category found by 获取部门类别

    // The contract list's values, before the window is shown.
    void takeHandover(const contract::PaymentHandover& h);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

    void 刷新();
    Decimal 合计();
    bool isChosen(int row);

    void MSFlexGrid1_Click();
    void MSFlexGrid1_Scroll();
    void Text2_KeyPress(int& KeyAscii);
    void Text1_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command8_Click();
    void Command12_Click();

    bool 提交付款申请();
    bool 获取审批路径(const QString& expenseCategory, Decimal amount, const QString& department);

    // ---- payment history and form view
    void Command6_Click();
    void Command7_Click();
    void MSFlexGrid2_Click();
    void MSFlexGrid2_DblClick();
    void 报销单显示(const QString& number);
    void 刷新报销单详细(qint64 formId);
    void 刷新审批情况(qint64 formId);
    void Label3_Click(int index);
    void 凭证打印();

    // ---- attachments
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void MSFlexGrid4_Click();
    void MSFlexGrid4_DblClick();
    bool 原图处理();
    bool 文件附件处理();

    // The grid's instalment rows as the save needs them.
    std::vector<payments::GridInstalment> gridInstalments();
    // The handler's card kept by the last cash request that passed its check.
    const payments::Card& heldCard() const { return m_card; }
    const std::vector<payments::PathStep>& pendingPath() const { return m_path; }
    bool requestRunning() const { return m_busy; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildHistoryLayout();
    void connectHistory();
    void setChosen(int row, bool chosen);
    void sumIntoText1();
    QString contractDepartment() const;
    void showProgress(const QString& caption);
    bool runRequest();

    bool m_activated = false;
    bool m_busy = false;
    payments::Card m_card;
    QString m_pathCode;
    std::vector<payments::PathStep> m_path;
};

}  // namespace corvane
