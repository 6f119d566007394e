#pragma once
// The custom bill window: one receipt's bill on the department's own layout,
// shown as a page in millimetres, printed, recorded and handed back to the
// receipt window as book "," number. A self-numbered layout gives the bill
// the next number of its book; a layout on lent books completes the paper
// bill the user picks in the number panel. A spoiled print is printed again
// under the same number, or voided.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <array>
#include <vector>

#include "platform/Forms.h"
#include "receipts/BillWindowSeams.h"
#include "bills/CustomBillPage.h"
#include "bills/CustomBillStore.h"

namespace corvane {


namespace receipts {
// The bill page drawn on screen: every element where the layout puts it.
class BillPageView : public QWidget {
public:
    explicit BillPageView(QWidget* parent) : QWidget(parent) {}
    const BillPage* page = nullptr;
    double pixelsPerMillimetre() const;

protected:
    void paintEvent(QPaintEvent*) override;
};
}  // namespace receipts

class frm自定义票据打印 : public Form {
public:
    frm自定义票据打印();

    static inline const QString kCaption = QStringLiteral("自定义票据打印");

    QFrame* Picture1;                 // viewport
    receipts::BillPageView* Picture2; // the page
    QScrollBar* HScroll1;
    QScrollBar* VScroll1;
    QFrame* Picture3;                 // bottom bar
    QPushButton* Command4;            // 票据选择
    QPushButton* Command3;            // 选择打印机
    QPushButton* Command2;            // 退出
    QPushButton* Command1;            // 打印 / 重新打印
    QLabel* Label2;                   // printer line
    QFrame* Picture4;                 // number panel
    std::array<QLabel*, 3> Label3{};  // 请选择票据编号, 票据簿编号, 票据编号
    QComboBox* Combo1;                // books
    QComboBox* Combo2;                // free bills; item data: 票据.ID
    QPushButton* Command5;            // 确定
    QPushButton* Command6;            // 作废票据
    QStatusBar* StatusBar1;
    std::array<QLabel*, 6> panels{};  // panels 1..6

    // ---- window values
    bool 格式票据管理 = false;
    QString 格式编号字;
    receipts::PendingBill 待开票据;
    std::vector<receipts::PendingLine> 待开票据行;  // bill line k is element k - 1
    receipts::BillPage page;
    receipts::PagePlacement placement;

    // What the receipt window hands over before showing this window, and
    // where the bill printed goes.
    void takeReceipt(const receipts::ReceiptBillContext& context, receipts::BillHandBackTo handBack);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

    // ---- procedures
    bool 初始化(const QString& 格式名称);
    void 获取前台收款数据();
    void 票据簿列表();
    void 获取可用票据();
    void 票据作废();
    // Records a self-numbered bill with its lines; its ID as text, "" when
    // nothing was saved (the reason has been shown).
    QString 获取编号();
    // Completes the chosen paper bill with its lines; false when nothing was saved.
    bool 更新票据信息();
    bool 票据打印();

    // ---- handlers
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Combo1_Click();
    void Combo2_Click();

    bool printBlocked() const { return m_printBlocked; }
    // The bills this window saved in this opening.
    const std::vector<qint64>& savedBills() const { return m_ownIds; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLayout();
    void layoutControls();
    void placePage();
    void blockPrinting();
    void enterSpoiledState();
    void handBack(const std::optional<receipts::BillHandBack>& bill);
    void showPrinterLine(const QString& prefix);
    // 退出's question and void for a bill waiting for its reprint; false
    // when the window is to stay open.
    bool leaveAfterSpoiledPrint();
    receipts::CustomBillSave saveRequest() const;
    QString chosenBook() const;

    receipts::BillHandBackTo m_handBack;
    receipts::ReceiptBillContext m_context;
    bool m_activated = false;
    bool m_printBlocked = false;
    bool m_leaving = false;
    qint64 m_savedId = 0;
    QString m_printError;  // why the last 票据打印 failed
    std::vector<qint64> m_ownIds;
};

namespace receipts {
// Fills the receipt window's seam with this window.
void registerCustomBillWindow();
}

}  // namespace corvane
