#pragma once
// The read-only contract view: one contract's register fields, its
// instalment plan with what was settled and what is open, and its
// performance nodes. It writes nothing; edits are lost on the next load.
// (No Q_OBJECT: the meta-object compiler cannot read this class's name.)

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

class frm合同信息浏览 : public Form {
public:
    frm合同信息浏览();

    // The smallest date of the pickers; it stands for "no date".
    static QDate minimumDate() { return QDate(1000, 1, 1); }

    QTabWidget* SSTab1;
    QPushButton* Command4;  // 关闭
    // Text1 .. Text12 at index 1 .. 12 (index 0 unused); Text11 is the multi-line box.
    // (1) 合同编号, (2) 合同名称, (3) 合同期限, (4) 对方单位, (5) 对方开户行, (6) 对方帐号,
    // (7) 对应部门, (8) 本方签约人, (9) 对方签约人, (10) 合同金额, (12) 对应续约合同编号
    std::array<QLineEdit*, 13> Text{};
    QPlainTextEdit* Text11;  // 主要条款
    // (1) 合同类别, (2) the 合同期限 unit, (3) 合同状态, (4) 合格供方名称
    std::array<QComboBox*, 5> Combo{};        // Combo1 .. Combo4 at 1 .. 4
    // (1) 合同签订日期, (2) 合同生效日期, (3) 合同终止日期, (4) 合同中止日期
    std::array<QDateEdit*, 5> DTPicker{};     // DTPicker1 .. DTPicker4 at 1 .. 4
    QCheckBox* Check1;  // 合格供方
    FlexGrid* MSFlexGrid1;
    QLabel* Label20;
    FlexGrid* MSFlexGrid2;

    QLineEdit* Text1() const { return Text[1]; }
    QLineEdit* Text10() const { return Text[10]; }

    void Form_Activate() override;

    // False when a statement failed (the error box has been shown).
    bool 加载选择列表();
    void 读取合同资料();

    void Check1_Click();
    void Combo2_Click();
    void DTPicker_DblClick(int index);
    void Command4_Click();
    // KeyAscii 0 drops the key.
    void Text_KeyPress(int index, int& KeyAscii);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool 读取收付款计划(bool payment, const QString& number);
    bool 读取节点计划(const QString& number);
    bool m_centred = false;
};

}  // namespace corvane
