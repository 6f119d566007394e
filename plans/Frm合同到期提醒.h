#pragma once
// Contracts in performance that end within the set number of days (or ended
// already), receipt and payment contracts on a tab each, counted per type,
// within the user's department scope. A child of the main window.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QCheckBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/cColFlexGridSortColumn.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "plans/ReminderStore.h"

namespace corvane {

class Frm合同到期提醒 : public Form {
public:
    Frm合同到期提醒();

    QTabWidget* SSTab1;
    QFrame* Shape1;  // around MSFlexGrid1
    QFrame* Shape2;  // around MSFlexGrid2
    QFrame* Shape5;  // around MSFlexGrid4
    QFrame* Shape4;  // around MSFlexGrid3
    QFrame* Shape3;  // around the days box
    FlexGrid* MSFlexGrid1;  // receipt counts
    QLabel* Label1;
    FlexGrid* MSFlexGrid2;  // receipt list
    FlexGrid* MSFlexGrid4;  // payment counts
    QLabel* Label2;
    FlexGrid* MSFlexGrid3;  // payment list
    QFrame* Picture2;  // days panel
    QLabel* Label3;
    QLineEdit* Text1;  // days ahead
    QLabel* Label4;
    QFrame* Picture1;  // button bar
    QCheckBox* Check1;  // 自动提醒
    QPushButton* Command3;  // 设置
    QPushButton* Command1;  // 输出
    QPushButton* Command2;  // 关闭

    // The cut-off of the last load.
    QDate 到期截止日期;
    cColFlexGridSortColumn 收款列表排序;

    void Form_Load() override;
    void Form_Activate() override;

    void 加载到期合同();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void MSFlexGrid2_MouseDown(int Button, int Shift, float x, float y);
    void MSFlexGrid2_DblClick();
    void MSFlexGrid3_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid4_Click();
    void Form_Resize();
    void Picture1_Resize();
    void Text1_KeyPress(int& KeyAscii);
    // Fits every visible column to its widest text plus `extra` and 250 twips.
    void AdjustColWidth(const QWidget& frm, FlexGrid& grid, const QVariant& unused, double extra);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void 打开合同(const FlexGrid& list);
    void 标示类型(FlexGrid& list, FlexGrid& counts);
    // Fills the list and counts of one tab for the scope and cut-off of the
    // last load.
    void 填写页(int tab);
    // A tab's lists are filled when it is first shown after a load: at login
    // the clerk sees the receipt tab, and a company's payment contracts
    // need not be read before the main window appears.
    plans::ReminderScope m_scope;
    int m_unfilledTab = -1;
    // The press on the receipt list lay in its header row.
    bool m_pressInHeader = false;
};

}  // namespace corvane
