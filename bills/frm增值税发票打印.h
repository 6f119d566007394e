#pragma once
// The VAT invoice window: one receipt invoiced by the outside tax-control
// program through an exchange of files. The user chooses the VAT bill type,
// exports the interface file (automatically, then waits for the result file;
// or by hand, then says how it went), locates the paper invoice among the
// department's free bills, marks skipped paper void, and on 打印完成 hands
// the bill back to the receipt window.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <optional>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "receipts/BillWindowSeams.h"

namespace corvane {


class frm增值税发票打印 : public Form {
public:
    frm增值税发票打印();

    static inline const QString kCaption = QStringLiteral("增值税发票打印");

    std::array<QLabel*, 11> Label1{};  // 0-8 and 10; 9 is not used
    QComboBox* Combo1;       // VAT bill types
    FlexGrid* MSFlexGrid1;   // invoice lines
    FlexGrid* MSFlexGrid2;   // buyer block; tag: the 管理处 entry
    QLineEdit* Text2;        // 商品编码版本号
    QPushButton* Command8;   // 保存
    QPushButton* Command1;   // 批量导出文件
    QPushButton* Command5;   // 手动导出文件
    QPushButton* Command3;   // 取消打印

    // ---- locating panel
    QFrame* Picture1;
    QComboBox* Combo2;       // bill books
    QLineEdit* Text1;        // bill number; tag: the located bill's ID
    QListWidget* List1;      // possible voids; item data: 票据.ID
    QPushButton* Command4;   // 标志为废票
    QPushButton* Command2;   // 打印完成
    QPushButton* Command6;   // 导出成功
    QPushButton* Command7;   // 导出失败

    // Fills the window as the receipt window's print button does; the bill
    // printed goes to handBack.
    void takeHandover(const receipts::VatInvoiceHandover& h, receipts::BillHandBackTo handBack);

    void Form_Load() override;

    // ---- procedures
    void 票据类型列表();
    void 获取票据簿();
    bool 建立接口文件(bool manual);
    void 解析回写文件();
    void 票据定位();
    void 可能废票列表();

    // ---- handlers
    void Combo1_Click();
    void Combo2_Click();
    void Command1_Click();
    void Command5_Click();
    void Command3_Click();
    void Command8_Click();
    void Command4_Click();
    void Command6_Click();
    void Command7_Click();
    void Command2_Click();
    void Text1_KeyPress(int keyAscii);

    // What tests read: the state kept between the steps of one run.
    const QString& baseName() const { return m_baseName; }
    const std::array<QString, 4>& folders() const { return m_folders; }

private:
    void showReceiptsType(const QString& heading);
    void buildLayout();
    QString officeCode() const;
    QString officeName() const;
    std::optional<QString> configFile() const;
    // Steps shared by both exports; false when one stopped the export.
    bool readFolders(int count);
    bool readNumbering();
    bool goodsCodesSet();
    bool emptyFolder(const QString& folder);
    void showPanel();
    void setExportButtons(bool on);
    void pollForResult();
    void closeWindow();

    receipts::BillHandBackTo m_handBack;
    std::array<QString, 4> m_folders;
    QString m_baseName;
    qint64 m_prefix = 0;
    qint64 m_start = 0;
    bool m_reserved = false;  // m_prefix and m_start hold this window's reserved number
    bool m_filling = false;
};

}  // namespace corvane
