#pragma once
// The contract record window: one contract created, numbered, edited, viewed,
// signed, suspended, voided, deleted, renewed and supplemented. The window's
// Tag is its mode ("新增", "修改", "查看"); the number box Text1[1] holds the
// contract number and its Tag the contract's id once the contract exists.

#include <QCalendarWidget>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStringList>
#include <QToolButton>
#include <array>
#include <optional>

#include "app/LoginStatusBar.h"
#include "contracts/RecordSheet.h"
#include "platform/TextBox.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

// moc cannot read a class name outside ASCII, so this window has no
// Q_OBJECT of its own; it needs no signals or slots.
class Frm合同信息 : public Form {
public:
    Frm合同信息();

    // What the number box shows until a number is typed.
    static inline const QString kAskNumber = QStringLiteral("<请输入合同编号>");

    // ---- bottom bar
    QFrame* Picture1;
    QFrame* Picture5;
    QPushButton* Command6;   // 退出
    QPushButton* Command3;   // 删除
    QPushButton* Command2;   // 确定
    QPushButton* Command9;   // 提交 / 流转情况
    QPushButton* Command10;  // 作废
    QLineEdit* Text3;        // department "code name"; Tag = code
    LoginStatusBar* StatusBar1;  // who is working, date and time

    // ---- work area and contract sheet
    QFrame* Picture2;
    QFrame* Picture3;
    QFrame* Picture4;
    // Text1: (0) 合同名称, (1) 合同编号, (2) 对方单位, (3) 合同类型, (4) 合同金额,
    // (5) 合同期 从, (6) 至, (7) 主要条款或要点, (8) 对方签字人, (9) 本方经办人, (10) 签订日期,
    // (11) 生效日期, (12) 中止日期, (13) 中止原因, (14) 续签合同编号
    std::array<TextBox*, 15> Text1{};
    std::array<QLabel*, 39> Label1{};
    std::array<QLabel*, 13> Label{};  // Label(12) "续签合同编号"
    std::array<QFrame*, 9> Shape1{};
    QCheckBox* Check1;  // 采用自动编号
    QCheckBox* Check2;  // 签定即生效
    QPushButton* Command1;   // 选择合格供方
    QPushButton* Command4;   // 输入对方资料
    QPushButton* Command5;   // type drop-down
    QListWidget* List1;  // the contract types that Command5 drops down
    QPushButton* Command7;   // 收付款计划
    QPushButton* Command13;  // start date
    QPushButton* Command14;  // end date
    QCalendarWidget* MonthView1;
    QPushButton* Command17;  // 主要条款保存为模板
    QPushButton* Command29;  // 使用模板
    QPushButton* Command16;  // 设置履行计划

    // ---- state frame
    QGroupBox* Frame1;
    QPushButton* Command15;  // 签订日期
    QPushButton* Command26;  // 生效日期
    QPushButton* Command12;  // 中止日期
    QPushButton* Command18;  // 合同签订 / 合同生效
    QPushButton* Command19;  // 合同中止
    QPushButton* Command20;  // 续签
    QPushButton* Command31;  // 补充

    // ---- supplier picker
    QFrame* Picture9;
    FlexGrid* MSFlexGrid3;
    QLineEdit* Text2;  // 合格供方: the supplier searched for
    std::array<QRadioButton*, 2> Option1{};  // 按编号排序, 按名称排序
    QPushButton* Command24;  // 确定 (supplier)
    QPushButton* Command25;  // 关闭 (supplier)

    // ---- counterparty panel
    QFrame* Picture8;
    std::array<QLineEdit*, 4> Text4{};  // 对方单位名称, 对方开户行, 对方帐号, 对方税号
    QPushButton* Command21;  // 确定 (counterparty)
    QPushButton* Command22;  // 关闭 (counterparty)

    // ---- attachments
    QGroupBox* Frame3;
    FlexGrid* MSFlexGrid2;
    QPushButton* Command11;  // 添加资料
    QPushButton* Command8;   // 删除资料

    // ---- approval circulation
    QFrame* Picture10;
    FlexGrid* MSFlexGrid1;
    QPushButton* Command27;  // 关闭 (circulation)

    // ---- renewal and supplement panel
    QFrame* Picture6;
    // Text5: (0) 新（补）合同名称, (1) 新（补）合同编号, (2) 新（补）合同期 从, (3) 至,
    // (4) 新（补）合同金额, (5) 补合同类型
    std::array<QLineEdit*, 6> Text5{};
    QCheckBox* Check3;  // 采用自动编号
    QCheckBox* Check4;  // 补充合同收付款计划合并
    std::array<QPushButton*, 3> Command23{};  // "…" beside Text5(5), (2) and (3)
    std::array<QRadioButton*, 2> Option2{};  // 续签合同, 补充合同
    QToolButton* Image1;
    QPushButton* Command28;  // 确定
    QPushButton* Command30;  // 取消
    QListWidget* List2;  // the contract types of the renewal panel
    QCalendarWidget* MonthView2;

    // Category (合同类别) of each entry of List1 and List2, by index.
    QStringList 类型类别;
    // The qualified supplier's bank data, set by the picker's 确定.
    QString 供方开户行, 供方帐号, 供方税号;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    // True while the sheet holds typing not saved yet.
    bool hasUnsavedEdits() const { return m_edited; }
    // True when the clerk agrees to lose unsaved typing (or there is none).
    bool discardEditsAllowed();

    // ---- operations other code uses
    // The list's hand-overs: a new contract from an empty sheet, or the
    // contract with this number and id.
    void beginNewContract();
    void showContract(const QString& number, const QString& id);
    void 显示合同信息();
    void 清空界面();
    QString 获取字(const QString& typeName);
    // False after a database error (shown).
    bool 合同类型列表();
    bool 供方列表(bool byName);
    // True when Form_Load could not read what the window needs.
    bool loadFailed() const { return m_loadFailed; }
    // The contracts this window wrote (saved, signed, suspended, voided,
    // deleted...), in the order first written: what the list must read again.
    const std::vector<qint64>& changedContracts() const { return m_changed; }
    // False when nothing was written (no contract yet, an error shown, or the row gone).
    bool 保存对方资料();
    void 附件列表(qint64 contractId);
    bool 续签合同确定();
    bool 补充合同确定();
    QString 月底日期(const QString& dateText) const;
    static QString 文件名(const QString& path);

    // ---- handlers
    void Command6_Click();
    void Command16_Click();
    void Command7_Click();
    void Command2_Click();
    void Check1_Click();
    void Command18_Click();
    void Command19_Click();
    void Command10_Click();
    void Command3_Click();
    void Command9_Click();
    void Command27_Click();
    void Command5_Click();
    void List1_Click();
    void Command1_Click();
    void Option1_Click(int index);
    void Text2_Change();
    void MSFlexGrid3_Click();
    void Command24_Click();
    void Command25_Click();
    void Command4_Click();
    void Command21_Click();
    void Command22_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command26_Click();
    void Command12_Click();
    void MonthView1_DateClick(const QDate& date);
    void Text1_Change(int index);
    void Text1_GotFocus(int index);
    void Command17_Click();
    void Command29_Click();
    void Command11_Click();
    void Command8_Click();
    void MSFlexGrid2_Click();
    void Command20_Click();
    void Command31_Click();
    void Option2_Click(int index);
    void Command23_Click(int index);
    void List2_Click();
    void Text5_GotFocus(int index);
    void MonthView2_DateClick(const QDate& date);
    void Command28_Click();
    void Command30_Click();
    void Image1_Click();
    void Picture1_Resize();
    void Picture2_Resize();
    void Picture3_Resize();
    void Form_Resize();

    // The path of the main-terms template for the department and type shown;
    // no value (after the standard error box) when their texts make no plain
    // file name in the program folder.
    std::optional<QString> templatePath() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildSheet();
    void buildStateFrame();
    void buildPickers();
    void buildAttachments();
    void buildRenewalPanel();
    void buildBar();
    void connectEvents();  // in the behaviour file, beside the handlers
    void applyInputRules();

    // The id in Text1[1]'s Tag; no value when the contract does not exist yet.
    std::optional<qint64> contractId() const;
    // Texts of the counterparty columns the saves write.
    struct Counterparty {
        QString bank, account, taxNumber;
        bool qualified = false;
    };
    Counterparty counterparty() const;
    void openCalendar(int index);
    void placePanelCalendar(int index);
    void addAttachmentRow(qint64 id, const QString& name);
    void applyButtons(const contract::RecordButtons& buttons);
    // The typed sheet as the saves write it.
    contract::RecordSheet sheet(const QString& name, const QString& typeEntry, std::optional<qint64> amount,
                                const QDate& start, const QDate& end) const;
    // The numbering prefix of the type shown; no value after a database error (shown).
    std::optional<QString> numberingPrefix();
    bool 保存后续合同(bool renewal);
    void reportNoRow();

    // True once the picker's 确定 has filled 供方开户行 ... for the contract shown.
    bool m_supplierPicked = false;
    bool m_searching = false;
    bool m_loadFailed = false;
    // Typing not saved yet: an activation keeps it, leaving asks first.
    bool m_edited = false;
    std::vector<qint64> m_changed;
    void markChanged(qint64 contractId);
};

}  // namespace corvane
