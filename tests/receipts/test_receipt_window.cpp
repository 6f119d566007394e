// The receipt window on both engines: what it loads and reloads, the
// instalment grid, the invoice lines, the confirmation's roads and the print
// hand-over with the hand-back recorded before the window reloads.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>

#include "ReceiptFixture.h"
#include "platform/Amounts.h"
#include "platform/Tag.h"
#include "platform/Widgets.h"
#include "platform/TextFile.h"
#include "receipts/BillWindowSeams.h"
#include "bills/Registration.h"
#include "receipts/Registration.h"
#include "receipts/frm合同收款.h"
#include "bills/frm增值税发票打印.h"
#include "testsupport/InputCheck.h"
#include "bills/frm开票项目设置.h"
#include "testsupport/LayoutCheck.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

// A print window of bill printing, standing in until that is built: it hands
// back what its script writes into the receipt window's slot.
class FakePrintWindow : public Form {};

class ReceiptWindow : public ReceiptTest {
protected:
    void SetUp() override
    {
        ReceiptTest::SetUp();
        contract::contractHandovers() = contract::ContractHandovers();
        billWindowSeams() = BillWindowSeams();
        registerReceiptWindows();
        registerBillWindows();
        addOffice();
        addFeeItem(QStringLiteral("WY01"), QStringLiteral("物业服务费"), QStringLiteral("物业服务"), 6);
        addFeeItem(QStringLiteral("WY02"), QStringLiteral("公共能耗费"), QStringLiteral("物业服务"), 1.5);
        addFeeItem(QStringLiteral("JY01"), QStringLiteral("场地租金"), QStringLiteral("经营收入"));
        exec(QStringLiteral("INSERT INTO 收款方式列表 (收款方式) VALUES ('现金'), ('微信支付'), ('银行转账')"));
        exec(QStringLiteral("INSERT INTO 票据类型 (票据类型代号, 票据类型, 无票据编号, 定额) VALUES "
                            "('02', '收款收据', 1, 0), ('01', '增值税普通发票', 0, 0), ('09', '定额发票', 0, 1), "
                            "('03', '电子发票', NULL, 0)"));
        exec(QStringLiteral("INSERT INTO 票据自定义格式 (部门编号, 格式名称, 编号字, 票据管理) VALUES "
                            "('D01', '物业收费单', 'ZD', 0), ('D02', '管理处收据', 'ZG', 1), ('D02', '别人的', 'ZX', 0)"));
        addLentBook(QStringLiteral("B1"), QStringLiteral("01"), QStringLiteral("D01"), 11, 5);
        addContract(QStringLiteral("HT-1"), QStringLiteral("O'Brien 物业"));
        a = addInstalment(QStringLiteral("HT-1"), QDate(2026, 1, 10), QStringLiteral("300.00"));
        b = addInstalment(QStringLiteral("HT-1"), QDate(2026, 2, 10), QStringLiteral("500.00"));
        c = addInstalment(QStringLiteral("HT-1"), QDate(2026, 3, 10), QStringLiteral("400.00"));
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        contract::contractHandovers() = contract::ContractHandovers();
        billWindowSeams() = BillWindowSeams();
        ReceiptTest::TearDown();
    }

    // The window as the contract list opens it, loaded and activated.
    frm合同收款* open(const QString& number = QStringLiteral("HT-1"))
    {
        auto* w = Forms::get<frm合同收款>();
        w->takeHandover({number, number + QStringLiteral("合同"), QStringLiteral("D01 第一管理处"), QString()});
        w->Form_Activate();
        return w;
    }
    static void clickPlan(frm合同收款* w, int row, int column)
    {
        w->MSFlexGrid1->setRow(row);
        w->MSFlexGrid1->setCol(column);
        w->MSFlexGrid1_Click();
    }
    static void chooseKind(frm合同收款* w, const QString& text)
    {
        w->Combo2->setCurrentIndex(w->Combo2->findText(text));
        w->Combo2_Click();
    }
    static void pick(frm合同收款* w, const QString& key)
    {
        for (QTreeWidgetItemIterator it(w->TreeView3); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == key) return w->TreeView3_NodeClick(*it);
        FAIL() << qPrintable(key);
    }
    // Ticks rows a and b (300 and 500), opens the panel and picks WY01 for line 1.
    frm合同收款* preparedBill()
    {
        auto* w = open();
        clickPlan(w, 1, 1);
        clickPlan(w, 2, 1);
        w->Command5_Click();
        w->MSFlexGrid2->setRow(1);
        pick(w, QStringLiteral("XWY01"));
        w->Combo1->setCurrentIndex(0);
        w->Combo1_Click();
        return w;
    }
    static QStringList itemTexts(const QComboBox* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
        return out;
    }
    QStringList boxTexts() const { return doubles().boxes->texts(); }
    // plan id / time / cents / number / book of every receipt record
    QStringList receipts() const
    {
        QStringList out;
        const auto rows = selectRows(QStringLiteral(
            "SELECT 合同收款计划ID, 收款日期, 收款金额, 票据编号, 入库单编号 FROM 合同收款记录 ORDER BY ID"));
        for (const Row& r : *rows)
            out << QStringList{r.text(0), toDateTime(r.value(1)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                               QString::number(centsOf(r.value(2)).value_or(-1)), r.text(3), r.text(4)}
                       .join(QLatin1Char('/'));
        return out;
    }
    QString receipt(qint64 plan, const char* cents, const char* number, const char* book) const
    {
        return QStringLiteral("%1/2026-12-10 09:30:15/%2/%3/%4").arg(plan).arg(QString::fromUtf8(cents),
                                                                           QString::fromUtf8(number), QString::fromUtf8(book));
    }
    qint64 a = 0, b = 0, c = 0;
};

TEST_F(ReceiptWindow, LoadingFillsTheListsOfTheBillPanel)
{
    exec(QStringLiteral("INSERT INTO 系统设置表 (名称, 值) VALUES ('电子发票接口URL', NULL)"));
    addPost(QStringLiteral("P03"), QStringLiteral("会计"), QStringLiteral("D01"), QStringLiteral("02"));
    exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = '1001' WHERE 岗位代号 = 'P03'"));
    auto* w = open();
    EXPECT_EQ(itemTexts(w->Combo1), (QStringList{"现金", "微信支付", "银行转账"}));
    EXPECT_EQ(w->Combo1->currentIndex(), -1);
    EXPECT_EQ(w->Combo1->itemData(1).toLongLong(), count(QStringLiteral("SELECT id FROM 收款方式列表 WHERE 收款方式 = '微信支付'")));
    EXPECT_EQ(itemTexts(w->Combo6), (QStringList{"王芳", "刘洋", "王芳"}));
    EXPECT_EQ(w->Combo6->currentIndex(), 0);  // the user's trimmed name
    EXPECT_EQ(w->Combo7->currentIndex(), 0);
    EXPECT_EQ(itemTexts(w->Combo2), (QStringList{"01 增值税普通发票", "02 收款收据", "03 电子发票", "ZG 管理处收据", "ZD 物业收费单"}));
    std::vector<int> kinds;
    for (int i = 0; i < w->Combo2->count(); ++i) kinds.push_back(w->Combo2->itemData(i).toInt());
    EXPECT_EQ(kinds, (std::vector<int>{1, 4, 1, 3, 2}));
    EXPECT_EQ(w->Combo2->currentIndex(), 0);  // no ZPDYPJLX.INI
    EXPECT_TRUE(w->Option2[0]->isEnabled());   // the row is there, its value empty
    EXPECT_TRUE(w->Option2[1]->isChecked());
    EXPECT_EQ(w->panels[1]->text(), "第一管理处 ");
    EXPECT_EQ(w->panels[3]->text(), "收费员 ");
    EXPECT_FALSE(w->Command16->isEnabled());
    EXPECT_FALSE(w->Combo5->isEnabled());
    EXPECT_EQ(w->MSFlexGrid2->Rows(), 1);
    EXPECT_EQ(w->MSFlexGrid2->ColWidth(8), 45);
    EXPECT_EQ(w->MSFlexGrid2->CellBackColor(0, 8), QColor(255, 0, 0));
    for (int col = 10; col < 16; ++col) EXPECT_EQ(w->MSFlexGrid2->ColWidth(col), 0);
    EXPECT_EQ(w->MSFlexGrid1->ColWidth(7), 0);
}

TEST_F(ReceiptWindow, TheBillTypeFileChoosesTheType)
{
    struct Case {
        const char* line;
        int chosen;
    };
    for (const Case& c : {Case{"ZD 物业收费单,x", 4}, Case{"\"02 收款收据\"", 1}, Case{"99 没有", -1}}) {
        ASSERT_TRUE(writeGbkLines(programFolder() + QStringLiteral("/ZPDYPJLX.INI"), {QString::fromUtf8(c.line)}));
        auto* w = open();
        EXPECT_EQ(w->Combo2->currentIndex(), c.chosen) << c.line;
        FormRegistry::instance().unloadAll();
    }
    QFile::remove(programFolder() + QStringLiteral("/ZPDYPJLX.INI"));
}

TEST_F(ReceiptWindow, ActivationReadsOfficeFeeItemsPayerAndInstalments)
{
    exec(QStringLiteral("INSERT INTO SETUPSFXM (DH, XM, 收费类别, 终止日期) VALUES ('OLD', '停用项目', '物业服务', ?)"), {kReceiptToday});
    exec(QStringLiteral("INSERT INTO SETUPSFXM (DH, XM) VALUES ('NOCAT', '无类别')"));
    addReceipt(a, QStringLiteral("100.00"));
    addReceipt(a, QStringLiteral("50.00"));
    addReceipt(c, QStringLiteral("450.00"));
    auto* w = open();
    EXPECT_EQ(itemTexts(w->Combo3), QStringList{"GL01 翠湖管理处"});
    EXPECT_EQ(w->Combo3->currentIndex(), 0);
    EXPECT_EQ(w->Text5[0]->text(), "O'Brien 物业");
    EXPECT_EQ(w->Text5[3]->text(), "建设银行 6217");
    ASSERT_EQ(w->rateTable().size(), 4u);  // NOCAT first on every engine: an empty category sorts first
    EXPECT_EQ(w->TreeView3->topLevelItemCount(), 2);
    EXPECT_EQ(w->TreeView3->topLevelItem(0)->data(0, Qt::UserRole).toString(), "L物业服务");
    EXPECT_EQ(w->TreeView3->topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(w->TreeView3->topLevelItem(1)->child(0)->data(0, Qt::UserRole + 1).toInt(), 3);  // JY01's entry
    QList<QStringList> rows;
    for (int r = 1; r < w->MSFlexGrid1->Rows(); ++r)
        rows << QStringList{w->MSFlexGrid1->TextMatrix(r, 0), w->MSFlexGrid1->TextMatrix(r, 2), w->MSFlexGrid1->TextMatrix(r, 3),
                            w->MSFlexGrid1->TextMatrix(r, 4), w->MSFlexGrid1->TextMatrix(r, 5)};
    EXPECT_EQ(rows, (QList<QStringList>{{"1", "2026-01-10", "300.00", "150.00", "150.00"},
                                        {"2", "2026-02-10", "500.00", "0.00", "500.00"},
                                        {"3", "2026-03-10", "400.00", "450.00", "-50.00"}}));
    EXPECT_EQ(w->MSFlexGrid1->RowData(1), int(a));

    // Typed payer details are replaced at the next activation.
    w->Text5[0]->setText(QStringLiteral("改过的"));
    w->Text3[2]->setText(QStringLiteral("12"));
    w->Form_Activate();
    EXPECT_EQ(w->Text5[0]->text(), "O'Brien 物业");
    EXPECT_EQ(w->Text3[2]->text(), "");
}

TEST_F(ReceiptWindow, MergedSupplementsShareTheMainContractsInstalments)
{
    addContract(QStringLiteral("HT-1-B1"), QStringLiteral("x"), QStringLiteral("HT-1"), true);
    addContract(QStringLiteral("HT-1-B2"), QStringLiteral("x"), QStringLiteral("HT-1"), false);
    addInstalment(QStringLiteral("HT-1-B1"), QDate(2026, 1, 20), QStringLiteral("70.00"));
    addInstalment(QStringLiteral("HT-1-B2"), QDate(2026, 1, 25), QStringLiteral("80.00"));
    const auto planned = [&](const QString& number) {
        auto* w = open(number);
        QStringList out;
        for (int r = 1; r < w->MSFlexGrid1->Rows(); ++r) out << w->MSFlexGrid1->TextMatrix(r, 3);
        FormRegistry::instance().unloadAll();
        return out;
    };
    EXPECT_EQ(planned(QStringLiteral("HT-1")), (QStringList{"300.00", "70.00", "500.00", "400.00"}));
    EXPECT_EQ(planned(QStringLiteral("HT-1-B1")), (QStringList{"300.00", "70.00", "500.00", "400.00"}));
    EXPECT_EQ(planned(QStringLiteral("HT-1-B2")), QStringList{"80.00"});
}

TEST_F(ReceiptWindow, TickingAndTypingAmounts)
{
    addReceipt(c, QStringLiteral("400.00"));  // settled
    auto* w = open();
    clickPlan(w, 3, 1);  // a settled instalment cannot be ticked
    EXPECT_FALSE(w->ticked(3));
    clickPlan(w, 2, 6);  // an unticked row opens nothing
    EXPECT_FALSE(w->Text2->isVisibleTo(w));
    EXPECT_EQ(w->MSFlexGrid1->Col(), 1);

    clickPlan(w, 1, 1);
    EXPECT_TRUE(w->ticked(1));
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 6), "300.00");
    EXPECT_TRUE(w->Text2->isVisibleTo(w));
    EXPECT_EQ(w->Text3[2]->text(), "300.00");
    w->Text2->setText(QStringLiteral("120.5元"));
    w->Text2_KeyPress(13);
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 6), "120.5元");
    EXPECT_EQ(w->Text3[2]->text(), "120.50");
    EXPECT_EQ(w->Text1[1]->text(), "120.50");
    clickPlan(w, 1, 1);  // untick
    EXPECT_FALSE(w->ticked(1));
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 6), "");
    EXPECT_EQ(w->Text3[2]->text(), "0.00");
}

TEST_F(ReceiptWindow, SpreadingSetsTheTotalsToWhatWasGivenOut)
{
    auto* w = open();
    struct Case {
        const char* total;
        QStringList amounts;
        const char* after;
    };
    for (const Case& c : {Case{"1000", {"300.00", "500.00", "200.00"}, "1000.00"},
                          Case{"5000", {"300.00", "500.00", "400.00"}, "1200.00"},
                          Case{"200", {"200.00", "", ""}, "200.00"}}) {
        w->Text3[2]->setText(QString::fromUtf8(c.total));
        w->Command2_Click();
        QStringList got;
        for (int r = 1; r <= 3; ++r) got << w->MSFlexGrid1->TextMatrix(r, 6);
        EXPECT_EQ(got, c.amounts) << c.total;
        EXPECT_EQ(w->ticked(3), !c.amounts[2].isEmpty()) << c.total;
        EXPECT_EQ(w->Text3[2]->text(), c.after) << c.total;
        EXPECT_EQ(w->Text1[1]->text(), c.after) << c.total;
    }
}

TEST_F(ReceiptWindow, ReceiptHandlingOpensThePanelWithOneLine)
{
    auto* w = open();
    w->Command5_Click();
    ASSERT_EQ(boxTexts(), QStringList{"请选择收款金额!"});
    EXPECT_EQ(doubles().boxes->shown[0].title, "系统提示");
    EXPECT_FALSE(w->Picture4->isVisibleTo(w));

    clickPlan(w, 2, 1);
    w->Command5_Click();
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));
    EXPECT_EQ(w->Picture4->pos(), QPoint(px(45), w->MSFlexGrid1->y()));
    ASSERT_EQ(w->MSFlexGrid2->Rows(), 2);
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 3), "1");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 4), "500.00");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 5), "500.00");
    EXPECT_EQ(w->Command8->geometry().right() + 1,
              w->MSFlexGrid2->x() + px(w->MSFlexGrid2->CellLeft() + w->MSFlexGrid2->CellWidth()));
}

TEST_F(ReceiptWindow, TheItemPickerChoosesFromTheKeyboard)
{
    auto* w = open();
    w->Text3[2]->setText(QStringLiteral("100.00"));
    w->Command5_Click();
    w->MSFlexGrid2->setRow(1);
    auto press = [&](QTreeWidgetItem* at, Qt::Key key) {
        w->TreeView3->setCurrentItem(at);
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString());
        QApplication::sendEvent(w->TreeView3, &e);
    };
    auto node = [&](const QString& key) -> QTreeWidgetItem* {
        for (QTreeWidgetItemIterator it(w->TreeView3); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == key) return *it;
        return nullptr;
    };
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(int(key));
        w->MSFlexGrid2->setTextMatrix(1, 0, QString());
        w->Command8_Click();
        ASSERT_TRUE(w->TreeView3->isVisibleTo(w));
        // A category opens or closes and keeps the picker open.
        QTreeWidgetItem* category = node(QStringLiteral("L物业服务"));
        ASSERT_TRUE(category);
        const bool expanded = category->isExpanded();
        press(category, key);
        EXPECT_NE(category->isExpanded(), expanded);
        EXPECT_TRUE(w->TreeView3->isVisibleTo(w));
        EXPECT_TRUE(w->MSFlexGrid2->TextMatrix(1, 0).isEmpty());
        // An item is chosen as a click chooses it.
        press(node(QStringLiteral("XWY01")), key);
        EXPECT_FALSE(w->TreeView3->isVisibleTo(w));
        EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 0), "物业服务费");
        EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 7), "5.66");
        EXPECT_EQ(w->Text1[3]->text(), "5.66");
    }
}

TEST_F(ReceiptWindow, PickingAndEditingALine)
{
    auto* w = open();
    w->Text3[2]->setText(QStringLiteral("100.00"));
    w->Command5_Click();
    w->MSFlexGrid2->setRow(1);
    w->Command8_Click();
    EXPECT_TRUE(w->TreeView3->isVisibleTo(w));
    pick(w, QStringLiteral("L物业服务"));  // a category does nothing
    EXPECT_TRUE(w->TreeView3->isVisibleTo(w));
    pick(w, QStringLiteral("XWY01"));
    EXPECT_FALSE(w->TreeView3->isVisibleTo(w));
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 0), "物业服务费");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 14), "94.339623");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 15), "94.34");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 7), "5.66");
    EXPECT_EQ(w->MSFlexGrid2->RowData(1), 1);
    EXPECT_EQ(w->MSFlexGrid2->CellBackColor(1, 8), QColor(255, 0, 0));
    EXPECT_EQ(w->MSFlexGrid2->Col(), 2);
    EXPECT_EQ(w->Text1[3]->text(), "5.66");
    EXPECT_EQ(w->Text1[2]->text(), "94.34");

    // 金额 typed with 数量 emptied: the worked example.
    w->MSFlexGrid2->setTextMatrix(1, 3, QString());
    w->MSFlexGrid2->setCol(5);
    w->MSFlexGrid2_Click();
    ASSERT_TRUE(w->Text4->isVisibleTo(w));
    w->Text4->setText(QStringLiteral("100.00"));
    w->Text4_KeyPress(13);
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 3), "1");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 4), "100.000000");
    EXPECT_EQ(w->Text1[1]->text(), "100.00");
    EXPECT_FALSE(w->Text4->isVisibleTo(w));  // the last line

    // 数量 with 单价 empty: nothing computed, on to 单价.
    w->MSFlexGrid2->setTextMatrix(1, 4, QString());
    w->MSFlexGrid2->setCol(3);
    w->MSFlexGrid2_Click();
    w->Text4->setText(QStringLiteral("2"));
    w->Text4_KeyPress(13);
    EXPECT_EQ(w->MSFlexGrid2->Col(), 4);
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 5), "100.00");
    w->Text4->setText(QStringLiteral("53"));
    w->Text4_KeyPress(13);
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 5), "106.00");
    EXPECT_EQ(w->Text1[3]->text(), "6.00");
    EXPECT_EQ(w->MSFlexGrid2->Col(), 5);

    // Columns that cannot be edited, and a line without an item.
    for (int col : {0, 6, 7}) {
        w->MSFlexGrid2->setCol(col);
        w->MSFlexGrid2_Click();
        EXPECT_FALSE(w->Text4->isVisibleTo(w)) << col;
    }
    w->Image4_Click();
    EXPECT_FALSE(w->Picture4->isVisibleTo(w));
}

TEST_F(ReceiptWindow, BillTypeNoPrintPaperAndMethodSwitches)
{
    exec(QStringLiteral("INSERT INTO 系统设置表 (名称, 值) VALUES ('扫码支付接口URL', 'http://pay'), ('电子发票接口URL', 'http://e')"));
    auto* w = open();
    w->Check6->setChecked(true);
    w->Check6_Click();
    EXPECT_EQ(itemTexts(w->Combo5), QStringList{"B1 增值税普通发票"});
    EXPECT_EQ(w->Combo5->currentIndex(), -1);
    EXPECT_FALSE(w->Command16->isEnabled());
    for (const auto& [text, note] : {std::pair{"ZD 物业收费单", "部门自定义票据格式，将采用打印票据模式处理。"},
                                     std::pair{"ZG 管理处收据", "自定义票据格式，将采用打印票据模式处理。"},
                                     std::pair{"02 收款收据", "【注】采用打印文件导出方式打印票据。"}}) {
        w->Check6->setChecked(true);
        chooseKind(w, QString::fromUtf8(text));
        EXPECT_EQ(w->panels[4]->text(), QString::fromUtf8(note));
        EXPECT_FALSE(w->Check6->isChecked());
        EXPECT_TRUE(w->Command16->isEnabled());
        EXPECT_FALSE(w->Combo5->isEnabled());
    }
    chooseKind(w, QStringLiteral("ZD 物业收费单"));
    w->Check6->setChecked(true);
    w->Check6_Click();
    EXPECT_EQ(w->Combo5->count(), 0);

    w->Option2[0]->setChecked(true);
    w->Option2_Click(0);
    EXPECT_FALSE(w->Check6->isChecked());
    EXPECT_FALSE(w->Check6->isEnabled());
    EXPECT_FALSE(w->Check2->isEnabled());
    w->Option2[1]->setChecked(true);
    w->Option2_Click(1);
    EXPECT_TRUE(w->Check6->isEnabled());
    EXPECT_FALSE(w->Check6->isChecked());

    w->Combo1->setCurrentIndex(1);  // 微信支付
    w->Combo1_Click();
    EXPECT_TRUE(w->Command26->isEnabled());
    EXPECT_FALSE(w->Command1->isEnabled());
    w->Text1[1]->setText(QStringLiteral("88.00"));
    w->Command26_Click();
    EXPECT_TRUE(w->Picture7->isVisibleTo(w));
    EXPECT_EQ(w->Text12[1]->text(), "88.00");
    w->Combo1->setCurrentIndex(0);
    w->Combo1_Click();
    EXPECT_FALSE(w->Command26->isEnabled());
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_FALSE(w->Picture7->isVisibleTo(w));
}

TEST_F(ReceiptWindow, LocatingABillByItsNumber)
{
    auto* w = open();
    w->Check6->setChecked(true);
    w->Check6_Click();
    exec(QStringLiteral("UPDATE 票据 SET 开票日期 = ? WHERE 票据编号 = '00000012'"), {QDateTime(kReceiptToday, QTime(8, 0))});
    w->Text10->setText(QStringLiteral(" 00000013 "));
    w->Text10_KeyPress(13);
    EXPECT_EQ(w->Combo5->currentText(), "B1 增值税普通发票");
    EXPECT_EQ(w->Combo8->currentText(), "00000013");
    EXPECT_TRUE(boxTexts().isEmpty());
    for (const char* missing : {"00000012", "99999999"}) {
        w->Text10->setText(QString::fromUtf8(missing));
        w->Text10_KeyPress(13);
        EXPECT_EQ(boxTexts().last(), "未找到匹配的票据本和票据，请核对！");
        EXPECT_EQ(doubles().boxes->shown.last().title, "提醒");
    }
}

TEST_F(ReceiptWindow, ConfirmationChecks)
{
    auto* w = open();
    clickPlan(w, 1, 1);
    w->Command5_Click();
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "请确定收费项目!");
    w->MSFlexGrid2->setRow(1);
    pick(w, QStringLiteral("XWY01"));
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "请选择收款方式!");
    EXPECT_EQ(doubles().boxes->shown.last().title, ExeName());
    w->Combo1->setCurrentIndex(0);
    w->Check6->setChecked(true);
    w->Check6_Click();
    w->Command1_Click();  // no book or number chosen
    EXPECT_EQ(boxTexts().last(), "请选择票据簿和票据号码！");
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同收款记录")), 0);
}

TEST_F(ReceiptWindow, NoPrintRoadRecordsLinesBillAndReceiptsTogether)
{
    auto* w = preparedBill();
    // A second line without an item is not written; an instalment ticked
    // with 0 gets no record.
    w->MSFlexGrid2->setRows(3);
    w->MSFlexGrid2->setTextMatrix(2, 5, QStringLiteral("10"));
    clickPlan(w, 3, 1);
    w->MSFlexGrid1->setTextMatrix(3, 6, QStringLiteral("0"));
    clickPlan(w, 3, 2);  // the totals follow the grid: 800.00 again
    ASSERT_EQ(w->Text1[1]->text(), "800.00");
    w->Text5[1]->setText(QString());
    w->Text5[4]->setText(QStringLiteral("备'注"));
    w->Check6->setChecked(true);
    w->Check6_Click();
    w->Combo5->setCurrentIndex(0);
    w->Combo5_Click();
    ASSERT_EQ(w->Combo8->currentText(), "00000011");
    const qint64 billId = w->Combo8->currentData().toLongLong();
    w->Command1_Click();

    EXPECT_EQ(boxTexts(), QStringList{"收款记录处理完成！"});
    EXPECT_EQ(doubles().boxes->shown.last().title, ExeName());
    ASSERT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据")), 1);
    const Row stored = *selectFirst(QStringLiteral("SELECT * FROM 票据开票数据"));
    EXPECT_EQ(stored.text("票据编号"), "00000011");
    EXPECT_EQ(stored.text("入库单编号"), "B1");
    EXPECT_EQ(stored.value("票据ID").toLongLong(), billId);
    EXPECT_EQ(stored.text("项目"), "物业服务费");
    EXPECT_TRUE(stored.isNull("摘要"));
    EXPECT_EQ(centsOf(stored.value("数量")), 100);
    EXPECT_EQ(centsOf(stored.value("金额")), 80000);
    EXPECT_EQ(centsOf(stored.value("税率")), 6);
    EXPECT_EQ(centsOf(stored.value("税额")), 4528);
    EXPECT_EQ(centsOf(stored.value("不含税金额")), 75472);
    EXPECT_EQ(stored.text("科目代号"), "51WY01");
    EXPECT_EQ(stored.text("收费项目代号"), "WY01");
    EXPECT_EQ(stored.value("非日常").toInt(), 1);
    const Row bill = *selectFirst(QStringLiteral("SELECT * FROM 票据 WHERE ID = ?"), {billId});
    EXPECT_EQ(bill.text("开票部门编号"), "D01");
    EXPECT_EQ(toDateTime(bill.value("开票日期")), QDateTime(kReceiptToday, QTime(0, 0)));
    EXPECT_EQ(centsOf(bill.value("金额")), 80000);
    EXPECT_EQ(centsOf(bill.value("税额")), 4528);
    EXPECT_EQ(bill.text("付款人"), "O'Brien 物业");
    EXPECT_EQ(bill.text("开票人"), "王芳");
    EXPECT_EQ(bill.text("收款人"), "王芳");
    EXPECT_EQ(bill.text("收款方式"), "现金");
    EXPECT_EQ(bill.value("预开").toInt(), 0);
    EXPECT_EQ(bill.text("管理处"), "GL01");
    EXPECT_EQ(bill.text("合同编号"), "HT-1");
    EXPECT_TRUE(bill.isNull("税号"));
    EXPECT_EQ(bill.text("备注"), "备'注");
    EXPECT_EQ(bill.value("无需打印票据").toInt(), 1);
    EXPECT_EQ(receipts(), (QStringList{receipt(a, "30000", "00000011", "B1"), receipt(b, "50000", "00000011", "B1")}));
    // The number left the list, the panel is reset and the grid shows the receipts.
    EXPECT_EQ(w->Combo8->currentText(), "00000012");
    EXPECT_FALSE(w->Picture4->isVisibleTo(w));
    EXPECT_EQ(w->MSFlexGrid2->Rows(), 1);
    EXPECT_EQ(w->Text1[1]->text(), "0");
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 4), "300.00");
    EXPECT_FALSE(w->ticked(1));
}

TEST_F(ReceiptWindow, PreIssuedWithoutMethodKeepsTheReceiptColumns)
{
    auto* w = preparedBill();
    w->Combo1->setCurrentIndex(-1);
    w->Check2->setChecked(true);
    w->Check6->setChecked(true);
    w->Check6_Click();
    w->Combo5->setCurrentIndex(0);
    w->Combo5_Click();
    w->Command1_Click();
    const Row bill = *selectFirst(QStringLiteral("SELECT * FROM 票据 WHERE 票据编号 = '00000011'"));
    EXPECT_EQ(bill.value("预开").toInt(), 1);
    EXPECT_TRUE(bill.isNull("收款日期"));
    EXPECT_TRUE(bill.isNull("收款人"));
    EXPECT_TRUE(bill.isNull("收款方式"));
    EXPECT_EQ(receipts().size(), 2);
}

TEST_F(ReceiptWindow, OwnLayoutGeneratesTheNumberInTheSameTransaction)
{
    auto* w = preparedBill();
    chooseKind(w, QStringLiteral("ZD 物业收费单"));
    w->Check6->setChecked(true);
    w->Check6_Click();
    exec(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号) VALUES ('ZD', '00000001')"));
    w->Command1_Click();
    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据编号, 开票部门编号, 无需打印票据 FROM 票据 WHERE 入库单编号 = 'ZD' ORDER BY ID")),
              (QStringList{"ZD/00000001//", "ZD/00000002/D01/1"}));
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT 入库单编号, 票据编号 FROM 合同收款记录")), QStringList{"ZD/00000002"});
    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据编号 FROM 票据开票数据")), QStringList{"ZD/00000002"});
    EXPECT_EQ(itemTexts(w->Combo5), QStringList{"ZD 自定义票据"});
}

TEST_F(ReceiptWindow, ABillTakenByAnotherWorkstationIsRefusedAndNothingWritten)
{
    auto* w = preparedBill();
    w->Check6->setChecked(true);
    w->Check6_Click();
    w->Combo5->setCurrentIndex(0);
    w->Combo5_Click();
    ASSERT_EQ(w->Combo8->currentText(), "00000011");
    {
        const auto other = openSecondConnection(QStringLiteral("other"));
        ASSERT_TRUE(executeQuiet(other->db(), QStringLiteral("UPDATE 票据 SET 开票日期 = ? WHERE 票据编号 = '00000011'"),
                                 {dateTimeValue(QDateTime(kReceiptToday, QTime(9, 0)))}));
    }
    w->Command1_Click();
    EXPECT_EQ(boxTexts(), QStringList{"该票据已被使用，请重新选择票据！"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同收款记录")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据")), 0);
    EXPECT_EQ(w->Combo8->currentText(), "00000012");
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));
}

TEST_F(ReceiptWindow, AFailingReceiptRecordLeavesNoGeneratedBillLinesOrBillData)
{
    auto* w = preparedBill();
    chooseKind(w, QStringLiteral("ZD 物业收费单"));
    w->Check6->setChecked(true);
    w->Check6_Click();
    if (testingOnPostgres()) {
        exec(QStringLiteral("CREATE OR REPLACE FUNCTION injected_failure() RETURNS trigger AS $$ "
                            "BEGIN RAISE EXCEPTION 'injected failure'; END $$ LANGUAGE plpgsql"));
        exec(QStringLiteral("CREATE TRIGGER injected BEFORE INSERT ON 合同收款记录 FOR EACH ROW EXECUTE FUNCTION injected_failure()"));
    } else {
        exec(QStringLiteral("CREATE TRIGGER injected BEFORE INSERT ON 合同收款记录 BEGIN SELECT RAISE(ABORT, 'injected failure'); END"));
    }
    w->Command1_Click();
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].title, "提示");
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 入库单编号 = 'ZD'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据")), 0);
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));  // ready for another attempt
}

TEST_F(ReceiptWindow, CustomPrintHandBackIsRecordedBeforeTheWindowReloads)
{
    // The custom bill window, shown modally, hands back a book and number.
    ReceiptBillContext seen;
    billWindowSeams().frm自定义票据打印 = [&](frm合同收款&, const ReceiptBillContext& ctx) {
        seen = ctx;
        std::optional<BillHandBack> printed;
        onModal<FakePrintWindow>([&printed](FakePrintWindow& f) {
            printed = BillHandBack{QStringLiteral("B1"), QStringLiteral("00000012"), std::nullopt};
            f.Hide();
        });
        Forms::get<FakePrintWindow>()->ShowModal();
        Forms::unload<FakePrintWindow>();
        return printed;
    };
    // The whole receipt inside the window's own modal run, so the print
    // window's closing activates it again.
    bool ran = false;
    onModal<frm合同收款>([&](frm合同收款& w) {
        clickPlan(&w, 1, 1);
        clickPlan(&w, 2, 1);
        w.Command5_Click();
        w.MSFlexGrid2->setRow(1);
        pick(&w, QStringLiteral("XWY01"));
        w.Combo1->setCurrentIndex(0);
        chooseKind(&w, QStringLiteral("ZG 管理处收据"));
        w.Text5[0]->setText(QStringLiteral("临时付款人"));
        doubles().boxes->answers.push_back(vbYes);
        w.Command1_Click();
        EXPECT_EQ(boxTexts(), QStringList{"是否要开始打印票据？"});
        EXPECT_EQ(seen.payer, "临时付款人");
        // Recorded with the ticks still in place, then the activation reloaded.
        EXPECT_EQ(receipts(), (QStringList{receipt(a, "30000", "00000012", "B1"), receipt(b, "50000", "00000012", "B1")}));
        EXPECT_EQ(w.Text5[0]->text(), "O'Brien 物业");
        EXPECT_EQ(w.MSFlexGrid1->TextMatrix(1, 4), "300.00");
        EXPECT_FALSE(w.ticked(1));
        EXPECT_FALSE(w.Picture4->isVisibleTo(&w));
        ran = true;
    });
    contract::contractHandovers().frm合同收款({QStringLiteral("HT-1"), QStringLiteral("HT-1合同"),
                                             QStringLiteral("D01 第一管理处"), QString()});
    ASSERT_TRUE(ran);
    EXPECT_EQ(seen.tag, "前台收款");
    EXPECT_EQ(seen.statusPanel6, "ZG 管理处收据");
    EXPECT_TRUE(seen.chooseBillFirst);
    EXPECT_EQ(seen.layoutName, "管理处收据");
    EXPECT_EQ(seen.contract, "HT-1");
    ASSERT_EQ(seen.lines.size(), 1u);
    EXPECT_EQ(seen.lines[0].mark, 1);
}

TEST_F(ReceiptWindow, NothingPrintedRecordsNothing)
{
    const std::optional<BillHandBack> nothing[] = {std::nullopt, BillHandBack{"", "00000012", std::nullopt},
                                                   BillHandBack{"B1", "", std::nullopt}};
    for (const auto& back : nothing) {
        billWindowSeams().frm自定义票据打印 = [&](frm合同收款&, const ReceiptBillContext&) { return back; };
        auto* w = preparedBill();
        chooseKind(w, QStringLiteral("ZD 物业收费单"));
        w->Command16_Click();
        EXPECT_TRUE(receipts().isEmpty()) << (back ? back->book + u'/' + back->number : QStringLiteral("none")).toStdString();
        FormRegistry::instance().unloadAll();
    }
}

// What the bill panel and the status line show follows the lines and the
// choices of this receipt, never an earlier one.
TEST_F(ReceiptWindow, PanelsFollowTheirLines)
{
    // A print left without printing: the next receipt starts from its own line.
    billWindowSeams().frm自定义票据打印 = [](frm合同收款&, const ReceiptBillContext&) {
        return std::optional<BillHandBack>();
    };
    auto* w = preparedBill();
    ASSERT_EQ(w->Text1[3]->text(), "45.28");
    chooseKind(w, QStringLiteral("ZD 物业收费单"));
    w->Command16_Click();
    w->Form_Activate();
    clickPlan(w, 3, 1);
    w->Command5_Click();
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 0), QString());
    EXPECT_EQ(QStringList({w->Text1[1]->text(), w->Text1[2]->text(), w->Text1[3]->text()}),
              QStringList({"400.00", "400.00", "0.00"}));

    // After a receipt nothing is ticked, so nothing is being collected.
    pick(w, QStringLiteral("XWY01"));
    w->Combo1->setCurrentIndex(0);
    w->Combo1_Click();
    chooseKind(w, QStringLiteral("01 增值税普通发票"));
    w->Check6->setChecked(true);
    w->Check6_Click();
    w->Combo5->setCurrentIndex(0);
    w->Combo5_Click();
    w->Command1_Click();
    ASSERT_EQ(boxTexts(), QStringList{"收款记录处理完成！"});
    EXPECT_FALSE(w->ticked(3));
    EXPECT_EQ(w->Text3[2]->text(), QString());

    // The status line names the printing only while a bill is to be printed.
    const QString lent = QStringLiteral("自定义票据格式，将采用打印票据模式处理。");
    chooseKind(w, QStringLiteral("ZG 管理处收据"));
    EXPECT_EQ(w->panels[4]->text(), lent);
    w->Check6->setChecked(true);
    w->Check6_Click();
    EXPECT_EQ(w->panels[4]->text(), QString());
    w->Check6->setChecked(false);
    w->Check6_Click();
    EXPECT_EQ(w->panels[4]->text(), lent);
}

TEST_F(ReceiptWindow, VatInvoiceWindowReceivesEveryLine)
{
    VatInvoiceHandover seen;
    bool finished = false;
    billWindowSeams().frm增值税发票打印 = [&](frm合同收款&, const VatInvoiceHandover& h) {
        seen = h;
        return std::optional(BillHandBack{QStringLiteral("B1"), QStringLiteral("00000011"), 7});
    };
    billWindowSeams().票据最终处理 = [&](frm合同收款& w) {
        finished = w.handBack() == BillHandBack{QStringLiteral("B1"), QStringLiteral("00000011"), 7};
    };
    auto* w = preparedBill();
    w->MSFlexGrid2->setRows(3);
    w->MSFlexGrid2->setTextMatrix(2, 1, QStringLiteral("101,102,103,104,105,106,107,108,109,110,112"));
    w->MSFlexGrid2->setTextMatrix(2, 5, QStringLiteral("10"));
    w->Command16_Click();
    EXPECT_TRUE(finished);
    EXPECT_EQ(seen.Label1_0, "发票类型：01 增值税普通发票");
    EXPECT_EQ(seen.MSFlexGrid2Tag, "GL01 翠湖管理处");
    EXPECT_EQ(seen.MSFlexGrid1Rows, 3);
    ASSERT_EQ(seen.lines.size(), 2u);
    EXPECT_EQ(seen.lines[0], (std::array<QString, 9>{"税控物业服务费", "", "", "1", "754.716981", "754.72", "0.06", "45.28", "SKWY01"}));
    EXPECT_EQ(seen.lines[1][1], "101-10,112");
    EXPECT_EQ(seen.buyer[0], "O'Brien 物业");
    EXPECT_EQ(seen.Label1_2, "价税合计：810.00元     税额：45.28元");
    EXPECT_EQ(seen.tag, "前台收款");
}

TEST_F(ReceiptWindow, UnbuiltWindowsSayTheyAreNotAvailableAndKindFourDoesNothing)
{
    billWindowSeams().frm票据查询 = nullptr;
    billWindowSeams().frm增值税发票打印 = nullptr;
    billWindowSeams().frm开票项目设置 = nullptr;
    auto* w = preparedBill();
    w->Command16_Click();  // kind 1, no VAT window yet
    w->Command3_Click();
    w->Command22_Click();
    EXPECT_EQ(boxTexts(), (QStringList{contract::windowNotAvailableText("增值税发票打印"),
                                       contract::windowNotAvailableText("票据查询"),
                                       contract::windowNotAvailableText("开票项目设置")}));
    chooseKind(w, QStringLiteral("02 收款收据"));
    w->Command16_Click();
    EXPECT_EQ(boxTexts().size(), 3);
    w->Combo2->setCurrentIndex(-1);
    w->Command16_Click();
    EXPECT_EQ(boxTexts().last(), "请选择票据类型");
    EXPECT_TRUE(receipts().isEmpty());
}

// The real VAT invoice window, located by hand: its hand-back reaches the
// final processing of the printed bill.
TEST_F(ReceiptWindow, VatInvoiceHandBackReachesFinalProcessing)
{
    exec(QStringLiteral("UPDATE 设置管理处 SET 编号字 = 888, 起始编号 = 41 WHERE gyd_dh = 'GL01'"));
    BillHandBack handedBack;
    billWindowSeams().票据最终处理 = [&](frm合同收款& w) { handedBack = w.handBack(); };
    onModal<frm增值税发票打印>([](frm增值税发票打印& v) {
        EXPECT_EQ(v.Tag, "前台收款");
        v.Combo1->setCurrentIndex(v.Combo1->findText(QStringLiteral("01 增值税普通发票")));
        v.Text1->setText(QStringLiteral("00000013"));
        v.票据定位();
        v.Command2_Click();
    });
    auto* w = preparedBill();
    doubles().boxes->answers = {vbNo};  // do not remember the type
    w->Command16_Click();
    const qint64 id = selectFirst(QStringLiteral("SELECT ID FROM 票据 WHERE 票据编号 = '00000013'"))->value(0).toLongLong();
    EXPECT_EQ(handedBack, (BillHandBack{QStringLiteral("B1"), QStringLiteral("00000013"), id}))
        << boxTexts().join(QLatin1Char('|')).toStdString();
    // Located by hand without an export in this run: the number is not lowered.
    EXPECT_EQ(count(QStringLiteral("SELECT 起始编号 FROM 设置管理处 WHERE gyd_dh = 'GL01'")), 41);
}

// Opened from a receipt, the settings window shows that receipt's 管理处.
TEST_F(ReceiptWindow, InvoicingSettingsOpenOnTheReceiptsOffice)
{
    QString shown;
    bool savable = false;
    onModal<frm开票项目设置>([&](frm开票项目设置& s) {
        shown = s.Combo1->currentText();
        savable = s.Command1->isEnabled();
        s.Command2_Click();
    });
    auto* w = open();
    ASSERT_EQ(w->Combo3->currentText(), "GL01 翠湖管理处");
    w->Command22_Click();
    EXPECT_EQ(shown, "GL01 翠湖管理处");
    EXPECT_TRUE(savable);
}

TEST_F(ReceiptWindow, InvoicingSettingsRecomputeEveryLine)
{
    billWindowSeams().frm开票项目设置 = [&](const QString&) {
        exec(QStringLiteral("UPDATE 税控盘收费项目设置 SET 税率 = 3, SKDH = 'NEW' WHERE DH = 'WY01'"));
    };
    auto* w = preparedBill();
    w->Command22_Click();
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 6), "0.03");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 7), "23.30");
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 12), "NEW");
    EXPECT_EQ(w->Text1[3]->text(), "23.30");
    EXPECT_EQ(w->Text1[2]->text(), "776.70");
    EXPECT_EQ(w->Text1[1]->text(), "800.00");
}

TEST_F(ReceiptWindow, TheOwnLayoutsNumberIsTakenIntoTheLists)
{
    auto* w = open();
    chooseKind(w, QStringLiteral("ZD 物业收费单"));
    const QString id = w->获取自定义编号();
    EXPECT_EQ(itemTexts(w->Combo5), QStringList{"ZD 自定义票据"});
    EXPECT_EQ(w->Combo5->currentIndex(), 0);
    EXPECT_EQ(w->Combo8->currentText(), "00000001");
    EXPECT_EQ(w->Combo8->currentData().toString(), id);
    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据编号, 开票部门编号, 流水号 FROM 票据 WHERE ID = ?"), {id}),
              QStringList{"ZD/00000001/D01/"});
}

TEST_F(ReceiptWindow, ADepartmentWithoutOfficeLeavesTheListEmpty)
{
    exec(QStringLiteral("DELETE FROM 设置管理处"));
    auto* w = open();
    EXPECT_EQ(w->Combo3->count(), 0);
    EXPECT_EQ(w->Combo3->currentIndex(), -1);
    ASSERT_EQ(w->rateTable().size(), 1u);  // the single empty entry: every look-up gives 0
    EXPECT_EQ(w->查找当前税率(QStringLiteral("WY01")), Decimal());
}

TEST_F(ReceiptWindow, TheContractListOpensItAndTheLayoutHoldsTogether)
{
    bool shown = false;
    onModal<frm合同收款>([&](frm合同收款& w) {
        shown = true;
        EXPECT_EQ(w.Caption(), "合同收款");
        EXPECT_EQ(w.Text3[0]->text(), "HT-1合同");
        EXPECT_EQ(w.contractNumber(), "HT-1");
        EXPECT_EQ(layoutProblems(&w), QStringList());
        w.Picture4->show();
        EXPECT_EQ(layoutProblems(&w), QStringList());
    });
    contract::contractHandovers().frm合同收款({QStringLiteral("HT-1"), QStringLiteral("HT-1合同"),
                                             QStringLiteral("D01 第一管理处"), QString()});
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Forms::isLoaded<frm合同收款>());
}

// Whatever is pasted, no box of the bill holds more than its column: a
// 10,000-character payer is refused at the box, never sent to the server.
TEST_F(ReceiptWindow, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    auto* w = preparedBill();
    std::map<QString, QString> stored = {
        {"Text5_0", "票据.付款人"},   {"Text5_1", "票据.税号"},      {"Text5_2", "票据.地址"},
        {"Text5_3", "票据.账号"},     {"Text5_4", "票据.备注"},      {"Text1_4", "票据.手机号码"},
        {"Text1_5", "票据.邮箱地址"}, {"Text10", "票据.票据编号"}, {"Text4", "票据开票数据.摘要"},
    };
    // Amounts read as numbers, and the scanned payment code sent to the payment service.
    const QSet<QString> unstored = {"Text2", "Text3_2", "Text1_1", "Text1_2", "Text1_3", "Text12_0"};
    auto openLineEditor = [w](int column) {
        w->MSFlexGrid2->setRow(1);
        w->MSFlexGrid2->setCol(column);
        w->MSFlexGrid2_Click();
    };
    openLineEditor(col::摘要);
    EXPECT_EQ(inputProblems(w, stored, unstored).join(u'\n').toStdString(), "");
    // The line editor takes the limit of the cell it is opened on.
    openLineEditor(col::单位);
    stored["Text4"] = QStringLiteral("票据开票数据.单位");
    EXPECT_EQ(inputProblems(w, stored, unstored).join(u'\n').toStdString(), "");
    openLineEditor(col::数量);
    w->Text4->setText(QString());
    w->Text4->insert(QString(kNumberBoxLength + 1, QLatin1Char('9')));
    EXPECT_EQ(w->Text4->text(), QString());
    EXPECT_EQ(boxTexts().value(boxTexts().size() - 1), tooLongMessage(kNumberBoxLength));
}

// At 1024x768 the window is wider than the screen: it scrolls to every
// control, and Esc closes the panel on show, then the window, as their own
// buttons do.
TEST_F(ReceiptWindow, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    bool shown = false;
    onModal<frm合同收款>([&](frm合同收款& w) {
        shown = true;
        EXPECT_EQ(screenProblems(w), QStringList());
        EXPECT_EQ(panelProblems(w, w.Picture4, w.Image4), QStringList());
        EXPECT_EQ(panelProblems(w, w.Picture7, w.Command19), QStringList());
        EXPECT_EQ(escapeProblems(w, w.Command4), QStringList());
    });
    contract::contractHandovers().frm合同收款({QStringLiteral("HT-1"), QStringLiteral("HT-1合同"),
                                             QStringLiteral("D01 第一管理处"), QString()});
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Forms::isLoaded<frm合同收款>());
}

}  // namespace
}  // namespace corvane::test
