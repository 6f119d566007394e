#include <gtest/gtest.h>

#include "app/frmToExcel.h"
#include "statistics/DepartmentTreeView.h"
#include "statistics/StatisticsStore.h"
#include "statistics/frm合同收付款统计.h"
#include "statistics/frm合同汇总统计.h"
#include "testsupport/LayoutCheck.h"
#include "tests/statistics/StatisticsFixture.h"

namespace corvane::test {

using namespace statistics;

class InstalmentWindowTest : public StatisticsTest {
protected:
    void SetUp() override
    {
        StatisticsTest::SetUp();
        dept("D01", "总部");
        dept("2", "二部", "职能部门", "D01");
        dept("10", "十部", "职能部门", "D01");
        type("T1", "工程合同", "付款合同");
        type("T2", "物业服务合同", "收款合同");
        type("T3", "租赁合同", "收款合同");
        contract({"HT-01", "T2", "2", "甲公司", "履行中", "1500.50"});
        contract({"HT-02", "T3", "10", "租户", "履行中", "1000.00"});
        contract({"HT-03", "T1", "2", "乙公司", "履行中", "900.00"});
        const qint64 r1 = instalment(true, "HT-01", kStatsToday, "500.50");
        instalment(true, "HT-01", kStatsToday.addDays(1), "1000.00");
        instalment(true, "HT-02", kStatsToday, "1000.00");
        const qint64 p1 = instalment(false, "HT-03", kStatsToday, "900.00", "400.00");
        settle(true, r1, "500.50");
        settle(false, p1, "500.00");
        settle(false, p1, "100.00", true);
        w = Forms::get<frm合同收付款统计>();
        w->Form_Activate();
    }
    QStringList rows(FlexGrid* g) const
    {
        QStringList out;
        for (int r = 1; r < g->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->Cols(); ++c) cells << g->TextMatrix(r, c);
            out << cells.join(u'|');
        }
        return out;
    }
    frm合同收付款统计* w = nullptr;
};

TEST_F(InstalmentWindowTest, SiblingOrderDiffersBetweenTheWindows)
{
    QTreeWidgetItem* top = w->departmentNode("$D01");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->child(0)->text(0), QStringLiteral("10 十部"));
    auto* summary = Forms::get<frm合同汇总统计>();
    EXPECT_EQ(summary->departmentNode("$D01")->child(0)->text(0), QStringLiteral("2 二部"));
    // Loading again leaves one copy; a later activation leaves the tree alone.
    w->加载部门树();
    EXPECT_EQ(w->TreeView1->topLevelItemCount(), 1);
    w->departmentNode("$2")->setCheckState(0, Qt::Checked);
    w->Form_Activate();
    EXPECT_EQ(w->departmentNode("$2")->checkState(0), Qt::Checked);
}

TEST_F(InstalmentWindowTest, ReceiptRunListsTodayAndClosesThePanel)
{
    EXPECT_TRUE(w->Picture2->isHidden());
    w->Command5->click();
    w->Command1->click();
    EXPECT_EQ(doubles().boxes->shown.last().text, QStringLiteral("请选择部门!"));
    w->Check1->click();
    const int before = statementsIssued();
    w->Command1->click();
    EXPECT_EQ(statementsIssued() - before, 1);
    EXPECT_EQ(rows(w->MSFlexGrid1),
              QStringList({"1|HT-01|合同HT-01|物业服务合同|履行中|2026-01-01|2026-12-31|1500.5|500.5|2026-12-10|500.5|0",
                           "2|HT-02|合同HT-02|租赁合同|履行中|2026-01-01|2026-12-31|1000||2026-12-10|1000|1000"}));
    EXPECT_TRUE(w->Picture2->isHidden());
    EXPECT_TRUE(w->MSFlexGrid1->MergeCol(8));
    EXPECT_FALSE(w->MSFlexGrid1->MergeCol(9));
}

// Each of a contract's instalments shows the contract's columns, and the next
// contract shows its own (HT-02 has settled nothing, unlike HT-01 before it).
TEST_F(InstalmentWindowTest, EveryInstalmentOfAContractShowsTheContractsColumns)
{
    w->Check1->click();
    w->DTPicker2->setDate(kStatsToday.addDays(1));
    w->Command1->click();
    EXPECT_EQ(rows(w->MSFlexGrid1),
              QStringList({"1|HT-01|合同HT-01|物业服务合同|履行中|2026-01-01|2026-12-31|1500.5|500.5|2026-12-10|500.5|0",
                           "2|HT-01|合同HT-01|物业服务合同|履行中|2026-01-01|2026-12-31|1500.5|500.5|2026-12-11|1000|1000",
                           "3|HT-02|合同HT-02|租赁合同|履行中|2026-01-01|2026-12-31|1000||2026-12-10|1000|1000"}));
}

TEST_F(InstalmentWindowTest, PaymentRunLeavesThePanelOpen)
{
    w->Command5->click();
    w->Check1->click();
    w->SSTab1->setCurrentIndex(1);
    w->Command1->click();
    EXPECT_EQ(rows(w->MSFlexGrid2),
              QStringList({"1|HT-03|合同HT-03|工程合同|履行中|2026-01-01|2026-12-31|900|500|2026-12-10|900|400"}));
    EXPECT_FALSE(w->Picture2->isHidden());
    w->Command3->click();
    EXPECT_TRUE(w->Picture2->isHidden());
}

TEST_F(InstalmentWindowTest, ExportTitleAndRangeOnBothTabs)
{
    w->SSTab1->setCurrentIndex(1);
    w->DTPicker2->setDate(QDate(2026, 12, 31));
    QStringList seen;
    onModal<frmToExcel>([&](frmToExcel& x) {
        seen << x.Text1[1]->text() << x.Text1[2]->text() << x.Tag << x.Grid1->TextMatrix(0, 8)
             << x.Grid1->TextMatrix(1, 11);
    });
    w->Command2->click();
    EXPECT_EQ(seen, QStringList({"合同收款情况统计", "合同收款情况统计", "统计日期范围：2026-12-10至2026-12-31",
                                 "已付金额", "√"}));
}

// In the room a maximised child has on a 1024x768 screen, the criteria panel
// lies inside the window and closes with Esc as with its 关闭.
TEST_F(InstalmentWindowTest, OnTheSmallScreenTheCriteriaPanelClosesWithEscAndItsOwnButton)
{
    w->Show();
    w->resize(1024, 600);
    w->Command5->click();
    ASSERT_FALSE(w->Picture2->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture2, w->Command3), QStringList());
}

TEST_F(InstalmentWindowTest, LayoutShowsEveryControlWhole)
{
    w->resize(1000, 700);
    w->Show();
    w->Command5->click();
    EXPECT_EQ(layoutProblems(w, {"MSFlexGrid1", "MSFlexGrid2", "StatusBar1"}), QStringList());
}

}  // namespace corvane::test
