#include <gtest/gtest.h>

#include <QApplication>

#include "ContractFixture.h"
#include "contracts/frm合同信息浏览.h"

using namespace corvane;
using namespace corvane::test;

namespace {

class ContractViewTest : public ContractTest {
protected:
    frm合同信息浏览* open(const QString& number, const QString& dept = QStringLiteral("D01"))
    {
        auto* f = Forms::get<frm合同信息浏览>();
        f->Text1()->setText(number);
        SetTag(f->Text10(), dept);
        f->Show();
        return f;
    }
    static QStringList row(const FlexGrid& g, int r)
    {
        QStringList l;
        for (int c = 0; c < g.Cols(); ++c) l << g.TextMatrix(r, c);
        return l;
    }
    static int lastPaymentId()
    {
        return selectFirst(QStringLiteral("SELECT MAX(ID) FROM 合同付款计划表"))->value(0).toInt();
    }
};

}  // namespace

TEST_F(ContractViewTest, EachInstalmentCountsOnceHoweverManyRecordsSettleIt)
{
    addContract("P", "D01", "T1", "履行中");
    addPayment("P", QDate(2026, 1, 5), "1000", "400");
    const int id = lastPaymentId();
    exec("INSERT INTO 合同付款记录 (合同付款计划ID, 科目代号, 付款金额) VALUES (?, ?, ?)", {id, "5501", "300"});
    exec("INSERT INTO 合同付款记录 (合同付款计划ID, 科目代号, 付款金额) VALUES (?, ?, ?)", {id, "5502", "300"});
    addPayment("P", QDate(2027, 1, 5), "200", QVariant());

    auto* f = open("P");
    const FlexGrid& g = *f->MSFlexGrid1;
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("计划付款日期"));
    EXPECT_EQ(row(g, 1).mid(0, 6), QStringList({"1", "2026-01-05", "1000.00", "600.00", "400.00", "5501"}));
    EXPECT_EQ(row(g, 2).mid(0, 6), QStringList({"2", "2026-01-05", "1000.00", "600.00", "400.00", "5502"}));
    EXPECT_EQ(row(g, 3).mid(0, 6), QStringList({"3", "2027-01-05", "200.00", "200.00", "0.00", ""}));
    EXPECT_EQ(g.TextMatrix(1, 6).toInt(), id);
    EXPECT_EQ(g.ColWidth(6), 0);
    EXPECT_EQ(f->Label20->text(), QStringLiteral("合同总金额：1200.00   应付余额：400.00"));
}

TEST_F(ContractViewTest, DueOpenInstalmentsAreShadedAndReceiptsSayReceived)
{
    addContract("R", "D01", "T2", "履行中");
    addReceipt("R", kToday, "50", "50");                 // due and open
    addReceipt("R", kToday.addDays(-1), "30", "0");       // due, settled
    addReceipt("R", kToday.addDays(-2), "20", QVariant()); // no balance recorded
    addReceipt("R", kToday.addDays(1), "10", "10");      // not due yet
    auto* f = open("R");
    FlexGrid& g = *f->MSFlexGrid1;
    EXPECT_EQ(g.TextMatrix(0, 3), QStringLiteral("已收金额     "));
    ASSERT_EQ(g.Rows(), 5);
    QStringList shaded;
    for (int r = 1; r < g.Rows(); ++r) {
        g.setRow(r);
        g.setCol(1);
        if (g.CellBackColor().isValid()) shaded << g.TextMatrix(r, 1);
    }
    EXPECT_EQ(shaded, QStringList({kToday.toString("yyyy-MM-dd")}));
    EXPECT_EQ(f->Label20->text(), QStringLiteral("合同总金额：110.00   应收余额：60.00"));
}

TEST_F(ContractViewTest, FieldsShowTheRowAndMissingDatesShowTheMinimum)
{
    exec("INSERT INTO 供方信息 (供应商编号, 供应商名称) VALUES ('S1', '甲公司'), ('S2', '乙公司')");
    exec("INSERT INTO 供方对应部门 (供应商编号, 职能部门编号) VALUES ('S1', 'D01'), ('S2', 'D01')");
    struct Case {
        const char* name;
        QVariant amount;
        const char* shown;
    } cases[] = {{"zero", "0", ".00"}, {"null", QVariant(), "0.00"}, {"fraction", "1234.5", "1234.50"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DELETE FROM 合同信息");
        addContract("X", "D01", "T2", "已中止",
                    {{"合同名称", "保洁"}, {"合同金额", c.amount}, {"合同生效日期", QDate(2020, 1, 31)},
                     {"合同期限", 12}, {"字", "月"}, {"是否是合格供方", 1}, {"合格供方代码", "S2"},
                     {"对方单位", "乙公司"}, {"主要条款", "条款"}});
        FormRegistry::instance().unloadAll();
        auto* f = open("X");
        EXPECT_EQ(f->Text10()->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(f->Text[2]->text(), QStringLiteral("保洁"));
        EXPECT_EQ(f->Combo[1]->currentText(), QStringLiteral("T2 物业服务合同"));
        EXPECT_EQ(f->DTPicker[1]->date(), frm合同信息浏览::minimumDate());
        EXPECT_EQ(f->DTPicker[2]->date(), QDate(2020, 1, 31));
        EXPECT_EQ(f->Combo[3]->currentIndex(), -1) << "a state outside the list selects nothing";
        EXPECT_TRUE(f->Check1->isChecked());
        EXPECT_EQ(f->Combo[4]->currentText(), QStringLiteral("S2 乙公司"));
        EXPECT_EQ(f->Text11->toPlainText(), QStringLiteral("条款"));
        EXPECT_EQ(f->Combo[2]->currentText(), QStringLiteral("月"));
    }
}

TEST_F(ContractViewTest, PickingAUnitComputesTheEndFromTheEffectiveDate)
{
    addContract("X", "D01", "T1", "履行中", {{"合同生效日期", QDate(2020, 1, 31)}, {"合同期限", 12}});
    auto* f = open("X");
    struct Case {
        const char* term;
        int unit;
        QDate end;
    } cases[] = {{"12", 1, QDate(2021, 1, 31)}, {"1", 1, QDate(2020, 2, 29)}, {"1", 0, QDate(2021, 1, 31)},
                 {"10", 2, QDate(2020, 2, 10)}, {"1.5月", 1, QDate(2020, 2, 29)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        f->Text[3]->setText(QString::fromUtf8(c.term));
        f->Combo[2]->setCurrentIndex(c.unit);
        f->Combo2_Click();
        EXPECT_EQ(f->DTPicker[3]->date(), c.end);
    }
    f->DTPicker[3]->setDate(QDate(2030, 1, 1));
    f->Text[3]->clear();
    f->Combo2_Click();
    EXPECT_EQ(f->DTPicker[3]->date(), QDate(2030, 1, 1));
}

TEST_F(ContractViewTest, NodesAndAnUnknownCategory)
{
    addType("T9", "其他", "其他合同", "QT");
    addContract("Q", "D01", "T9", "履行中");
    exec("INSERT INTO 合同履行计划表 (合同编号, 阶段, 要求, 时间节点, 完成情况, 检查人) VALUES (?, ?, ?, ?, ?, ?)",
         {"Q", "开工", "第一行\n第二行", QDate(2026, 3, 1), "完成", "王五"});
    auto* f = open("Q");
    EXPECT_EQ(f->Label20->text(), QStringLiteral("合计"));
    EXPECT_EQ(f->MSFlexGrid1->TextMatrix(0, 1), QStringLiteral("计划付款日期")) << "the design headings stay";
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
    const FlexGrid& n = *f->MSFlexGrid2;
    ASSERT_EQ(n.Rows(), 2);
    EXPECT_EQ(n.TextMatrix(1, 1), QStringLiteral("开工"));
    EXPECT_EQ(n.TextMatrix(1, 3), QStringLiteral("2026-03-01"));
    EXPECT_EQ(n.ColWidth(7), 0);
    EXPECT_EQ(n.ColAlignment(2), flexAlignLeftCenter);
    EXPECT_GT(n.RowHeight(1), n.RowHeight(0));
}

TEST_F(ContractViewTest, AFailedLoadReportsOnceAndFillsNothing)
{
    addContract("X", "D01", "T1", "履行中", {{"合同名称", "名"}});
    struct Case {
        const char* name;
        const char* number;
        const char* before;
    } cases[] = {{"no such contract", "NONE", ""}, {"the supplier list fails", "X", "DROP TABLE 供方对应部门"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.before) exec(c.before);
        FormRegistry::instance().unloadAll();
        boxes().clear();
        auto* f = open(c.number);
        ASSERT_EQ(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].title, QStringLiteral("提示"));
        EXPECT_TRUE(f->Text[2]->text().isEmpty());
    }
}

TEST_F(ContractViewTest, ATypeThatMatchesNoItemSelectsNone)
{
    // The list item is cut at its first blank, so a code with a blank never matches.
    addType("T 9", "其他", "付款合同", "QT");
    addContract("X", "D01", "T 9", "履行中");
    auto* f = open("X");
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(f->Combo[1]->currentIndex(), -1);
}

TEST_F(ContractViewTest, EveryFieldOfTheFirstTabShowsWhole)
{
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    addContract("X", "D01", "T1", "履行中");
    auto* f = open("X");
    QWidget* page = f->SSTab1->widget(0);
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = w->objectName() + (qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text() : QString());
        EXPECT_TRUE(page->rect().contains(w->geometry())) << name.toStdString();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_LE(l->sizeHint().width(), l->width()) << name.toStdString();
        }
    }
    QApplication::setFont(before);
}

TEST_F(ContractViewTest, NumericBoxesRefuseLettersAndEnterMovesOn)
{
    addContract("X", "D01", "T1", "履行中");
    auto* f = open("X");
    int key = 'a';
    f->Text_KeyPress(10, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(boxes().size(), 1);
    key = '5';
    f->Text_KeyPress(3, key);
    EXPECT_EQ(key, '5');
    key = 'a';
    f->Text_KeyPress(2, key);
    EXPECT_EQ(key, 'a');
    f->DTPicker_DblClick(2);
    EXPECT_EQ(f->DTPicker[2]->date(), frm合同信息浏览::minimumDate());
}
