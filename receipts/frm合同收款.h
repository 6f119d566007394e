#pragma once
// The receipt window: money collected against the receipt instalments of
// one contract, with the bill that covers it. The upper part lists the
// instalments to tick and the amounts collected now; 收款处理 lays the bill
// panel (Picture4) over it: bill type, book and number, payer, invoice lines
// with their VAT, payment method and dates. 收款确定 records the receipt, or
// hands the bill to a print window whose hand-back is recorded before the
// window reloads.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <array>
#include <vector>

#include "contracts/ContractHandovers.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "receipts/BillWindowSeams.h"
#include "receipts/ReceiptRules.h"
#include "receipts/ReceiptStore.h"

namespace corvane {

class frm合同收款 : public Form {
public:
    frm合同收款();

    static inline const QString kCaption = QStringLiteral("合同收款");

    // ---- contract and instalments
    std::array<QLabel*, 4> Label1{};
    std::array<QLineEdit*, 3> Text3{};  // 0 contract name (tag: number), 1 department, 2 合计收款
    QComboBox* Combo3;                  // 对应管理处
    FlexGrid* MSFlexGrid1;
    QLineEdit* Text2;                   // amount editor
    QPushButton* Command2;              // 分摊
    QPushButton* Command5;              // 收款处理
    QPushButton* Command3;              // 已开票据查询
    QPushButton* Command4;              // 关闭
    std::array<QPixmap, 2> Image1;      // the tick, and no picture
    QStatusBar* StatusBar1;
    std::array<QLabel*, 5> panels{};    // StatusBar1 panels 1..5

    // ---- bill panel
    QFrame* Picture4;
    std::array<QLabel*, 21> Label2{};
    QComboBox* Combo2;   // 票据类型; item data: BillKind
    QComboBox* Combo5;   // 票据簿
    QComboBox* Combo8;   // 票据; item data: 票据.ID
    QLineEdit* Text10;   // 定位票据
    std::array<QLineEdit*, 5> Text5{};  // 付款人 税号 地址 账号 备注
    FlexGrid* MSFlexGrid2;
    QLineEdit* Text4;    // line editor
    QPushButton* Command8;  // "…"
    QTreeWidget* TreeView3;
    QToolButton* Image4;    // close mark
    std::array<QLineEdit*, 6> Text1{};  // 1 合计, 2 合计收入, 3 合计税额, 4 手机, 5 邮箱
    QDateEdit* DTPicker1;   // 收款日期
    QComboBox* Combo1;      // 收款方式; item data: id
    std::array<QRadioButton*, 2> Option2{};  // 电子发票, 纸质发票
    QDateEdit* DTPicker2;   // 开票日期
    QComboBox* Combo6;      // 开票人
    QComboBox* Combo7;      // 收款人
    QCheckBox* Check2;      // 预开票据
    QCheckBox* Check6;      // 无需打印票据
    QPushButton* Command16; // 票据打印
    QPushButton* Command26; // 扫码收款
    QPushButton* Command1;  // 收款确定
    QPushButton* Command22; // 开票项目设置

    // ---- scan panel
    QFrame* Picture7;
    std::array<QLineEdit*, 2> Text12{};  // 条码, 金额
    QLabel* Label12;
    QPushButton* Command19;  // 取消

    // The opener's values, before the window is shown.
    void takeHandover(const contract::ReceiptHandover& h);

    void Form_Load() override;
    void Form_Activate() override;

    // ---- procedures
    void 初始化收款窗口();
    void 获取扫码支付接口设置();
    void 获取电子发票接口设置();
    void 获取管理处();
    void 获取票据簿();
    void 获取可用票据();
    QString 获取自定义编号();
    void 收费项目设置刷新();
    Decimal 查找当前税率(const QString& code);
    void 增值税计算(int row);
    void 刷新收款计划();
    // Writes the receipt records of the ticked instalments; false when the
    // database refused them (the error has been shown).
    bool 处理收款计划(const QString& book, const QString& number);
    static QString 规格型号处理(const QString& text) { return receipts::规格型号处理(text); }
    // The bill panel back to empty, the instalments reloaded.
    void resetBillPanel();

    // ---- handlers
    void Command5_Click();
    void Combo2_Click();
    void Check6_Click();
    void Option2_Click(int index);
    void Combo1_Click();
    void Command26_Click();
    void Command19_Click();
    void Combo3_Click();
    void Combo5_Click();
    void Text10_GotFocus();
    void Text10_KeyPress(int keyAscii);
    void Command22_Click();
    void Command3_Click();
    void Command4_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_Scroll();
    void Text2_KeyPress(int keyAscii);
    void Command2_Click();
    void Command8_Click();
    void TreeView3_NodeClick(QTreeWidgetItem* node);
    void MSFlexGrid2_Click();
    void Text4_GotFocus();
    void Text4_KeyPress(int keyAscii);
    void Image4_Click();
    void Command1_Click();
    void Command16_Click();

    // ---- what other windows and tests read
    QString contractNumber() const;
    const QString& scanPayAddress() const { return m_scanUrl; }
    const QString& eInvoiceAddress() const { return m_eInvoiceUrl; }
    const std::vector<receipts::RateEntry>& rateTable() const { return m_rates; }
    const receipts::CurrentItem& currentItem() const { return m_current; }
    // The bill of the last VAT print or electronic invoice.
    const receipts::BillHandBack& handBack() const { return m_handBack; }
    void setHandBack(const receipts::BillHandBack& bill) { m_handBack = bill; }
    bool ticked(int row) const;
    receipts::BillKind chosenKind() const;
    receipts::InvoiceLine line(int row) const;
    std::vector<receipts::InvoiceLine> lines() const;
    // What the custom bill window reads from this window.
    receipts::ReceiptBillContext billContext() const;
    receipts::VatInvoiceHandover vatHandover() const;
    // The ticked instalments with a non-zero amount collected now.
    std::vector<receipts::Collected> collected() const;
    // The chosen 管理处's code, "" without one.
    QString officeCode() const;

protected:
    // Text10 and Text4 select their whole text when they get the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    int planRows() const { return MSFlexGrid1->Rows() - 1; }
    void setTicked(int row, bool on);
    void openPlanEditor(int row);
    void showPlanTotals();
    void writeLine(int row, const receipts::InvoiceLine& l);
    void showLineTotals();
    void showPrintMode();
    void openLineEditor(int row, int col);
    void placeItemButton();
    void 无需打印票据收款();

    QString m_scanUrl, m_eInvoiceUrl;
    std::vector<receipts::RateEntry> m_rates;
    receipts::CurrentItem m_current;
    receipts::BillHandBack m_handBack;
};

}  // namespace corvane
