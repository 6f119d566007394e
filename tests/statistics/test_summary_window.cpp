#include <gtest/gtest.h>

#include "app/frmToExcel.h"
#include "statistics/DepartmentTreeView.h"
#include "statistics/Registration.h"
#include "statistics/StatisticsStore.h"
#include "statistics/frm合同汇总统计.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"
#include "tests/statistics/StatisticsFixture.h"

namespace corvane::test {

using namespace statistics;

class SummaryWindowTest : public StatisticsTest {
protected:
    void SetUp() override
    {
        StatisticsTest::SetUp();
        dept("D01", "总部");
        dept("D02", "工程部", "职能部门", "D01");
        dept("D03", "工程一组", "职能部门", "D02");
        type("T1", "工程合同", "付款合同");
        type("T2", "物业服务合同", "收款合同");
        type("T3", "租赁合同", "收款合同");
        type("T4", "其他合同", "其他", false);
        contract({"HT-01", "T2", "D01", "甲公司", "履行中", "100.25"});
        contract({"HT-02", "T2", "D02", QVariant(QMetaType::fromType<QString>()), "签约完成", "50.00"});
        contract({"HT-03", "T2", "D02", QVariant(QMetaType::fromType<QString>()), "履行中", "20.00"});
        contract({"HT-04", "T1", "D03", "O'Neil", "履行中", "1000.00"});
        contract({"HT-05", "T3", "D01", "租户", "履行中", "999.00"});
        grantSpecialRight("D01", "P01");
        w = Forms::get<frm合同汇总统计>();
    }
    // Everything ticked, every state chosen.
    void criteria(QRadioButton* grouping = nullptr)
    {
        w->Check1->click();
        w->Check2->click();
        w->Check3->click();
        w->Check5->click();
        w->Command11->click();
        if (grouping) grouping->setChecked(true);
    }
    QStringList rows(FlexGrid* g, int cols) const
    {
        QStringList out;
        for (int r = 1; r < g->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < cols; ++c) cells << g->TextMatrix(r, c);
            out << cells.join(u'|');
        }
        return out;
    }
    const ShownBox& lastBox() const { return doubles().boxes->shown.last(); }
    frm合同汇总统计* w = nullptr;
};

TEST_F(SummaryWindowTest, OpensWithItsCriteriaAtRest)
{
    EXPECT_TRUE(w->全公司权限);
    EXPECT_EQ(w->TreeView1->topLevelItemCount(), 1);
    ASSERT_NE(w->departmentNode("$D03"), nullptr);
    EXPECT_EQ(w->departmentNode("$D03")->parent(), w->departmentNode("$D02"));
    EXPECT_TRUE(w->Check4->isChecked());
    EXPECT_FALSE(w->Check1->isChecked());
    // Two roots, no lease, and a type of neither category under 付款合同.
    EXPECT_EQ(w->typeNode("T 收款合同")->childCount(), 1);
    EXPECT_EQ(w->typeNode("T 付款合同")->childCount(), 2);
    EXPECT_EQ(w->typeNode("TT4")->parent(), w->typeNode("T 付款合同"));
    EXPECT_EQ(w->typeNode("TT3"), nullptr);
    EXPECT_EQ(w->List1->count(), 2);
    EXPECT_EQ(w->List2->count(), 2);  // 甲公司, O'Neil; not the lease's 租户
    EXPECT_EQ(w->DTPicker1->date(), QDate(2026, 12, 1));
    EXPECT_EQ(w->DTPicker2->date(), kStatsToday);
    EXPECT_FALSE(w->DTPicker1->isEnabled());
    EXPECT_FALSE(w->Text3->isEnabled());
    EXPECT_TRUE(w->Option1->isChecked());
    EXPECT_TRUE(w->Picture7->isHidden());
    EXPECT_TRUE(w->Picture2->isHidden());
    EXPECT_EQ(w->StatusBar1_Panels[1]->text(), QStringLiteral(" 总部 张三"));
}

TEST_F(SummaryWindowTest, ChecksRunInOrderAndLeaveTheGridAlone)
{
    struct Step {
        std::function<void()> act;
        QString text;
        int style;
        QString title;
    };
    const QString app = AppTitle(), exe = ExeName();
    const std::vector<Step> steps{
        {[] {}, "请选择合同部门", vbOKOnly, app},
        {[this] { w->departmentNode("$D02")->setCheckState(0, Qt::Checked); }, "请选择合同类别", vbOKOnly, app},
        {[this] {
             w->Check4->setChecked(false);  // the root alone, not its types
             w->typeNode("T 收款合同")->setCheckState(0, Qt::Checked);
         },
         "请选择合同类别", vbOKOnly, app},
        {[this] { w->typeNode("TT2")->setCheckState(0, Qt::Checked); }, "请选择合同状态", vbOKOnly, app},
        {[this] { w->Check3->click(); }, "请选择合同状态", vbOKOnly, app},
        {[this] { w->Check5->click(); w->Command11->click(); w->Check3->click(); }, "请选择合同状态", vbOKOnly, app},
        {[this] {
             w->Check3->click();
             w->Check6->click();
             w->DTPicker1->setDate(QDate(2026, 5, 2));
             w->DTPicker2->setDate(QDate(2026, 5, 1));
         },
         "合同起始日期的日期范围开始日期不能大于结束日期!", vbInformation, exe},
        {[this] {
             w->DTPicker2->setDate(QDate(2026, 5, 2));  // a start equal to its end passes
             w->Check9->click();
             w->DTPicker3->setDate(QDate(2026, 5, 3));
             w->DTPicker4->setDate(QDate(2026, 5, 1));
         },
         "合同终止日期的日期范围开始日期不能大于结束日期!", vbInformation, exe},
        {[this] {
             w->Check9->click();
             w->Check7->click();
         },
         "请选择对方单位！", vbInformation, app},
    };
    for (const Step& s : steps) {
        s.act();
        const int shown = doubles().boxes->shown.size();
        w->Command10->click();
        ASSERT_EQ(doubles().boxes->shown.size(), shown + 1) << s.text.toStdString();
        EXPECT_EQ(lastBox().text, s.text);
        EXPECT_EQ(lastBox().style, s.style) << s.text.toStdString();
        EXPECT_EQ(lastBox().title, s.title) << s.text.toStdString();
        EXPECT_EQ(w->MSFlexGrid1->Rows(), 1);
        EXPECT_FALSE(w->汇总条件.has_value());
    }
}

TEST_F(SummaryWindowTest, RunFillsBothBlocksWithTwoStatements)
{
    criteria();
    w->Command1->click();
    EXPECT_TRUE(w->Picture7->isVisible() || !w->isVisible());
    const int before = statementsIssued();
    w->Command10->click();
    EXPECT_EQ(statementsIssued() - before, 2);
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(0, 2), QStringLiteral("职能部门名称"));
    EXPECT_EQ(rows(w->MSFlexGrid1, 6), QStringList({
                                           "1|收款合同|D01 总部|1|100.25|",
                                           "2|收款合同|D02 工程部|2|70.00|",
                                           "|收款合同|合计 |3|170.25|",
                                           "1|付款合同|D03 工程一组|1|1000.00|",
                                           "|付款合同|合计 |1|1000.00|",
                                       }));
    EXPECT_EQ(w->MSFlexGrid1->CellBackColor(3, 2), QColor(224, 224, 224));
    EXPECT_EQ(w->MSFlexGrid1->CellBackColor(3, 5), QColor(224, 224, 224));
    EXPECT_FALSE(w->MSFlexGrid1->CellBackColor(3, 1).isValid());
    EXPECT_EQ(w->StatusBar1_Panels[0]->text(), QStringLiteral("统计结束，请核对数据！"));
    EXPECT_TRUE(w->Picture7->isHidden());
    EXPECT_GT(w->MSFlexGrid1->ColWidth(2), 200);
}

TEST_F(SummaryWindowTest, DrillDownUsesTheLastRunAndTheRowsGroup)
{
    criteria(w->Option2);
    w->Command10->click();
    // Receipts: the group without counterparty, then 甲公司 (or the other way
    // round, as the engine orders NULL).
    int nullRow = w->MSFlexGrid1->TextMatrix(1, 2).isEmpty() ? 1 : 2;
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(nullRow, 3), QStringLiteral("2"));
    // Another grouping chosen since: the drill-down keeps the run's.
    w->Option1->setChecked(true);
    w->MSFlexGrid1->setRow(nullRow);
    w->MSFlexGrid1->setCol(5);
    w->MSFlexGrid1_Click();
    EXPECT_FALSE(w->Command5->isHidden());
    w->Command5->click();
    EXPECT_EQ(rows(w->MSFlexGrid2, 4), QStringList({"1|收款合同|D02 工程部|HT-02", "2|收款合同|D02 工程部|HT-03",
                                                    "|||"}));
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(3, 10), QStringLiteral("合计 "));
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(3, 11), QStringLiteral("70.00"));
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(1, 11), QStringLiteral("50"));
    EXPECT_EQ(w->MSFlexGrid2->CellBackColor(3, 0), QColor(224, 224, 224));
    EXPECT_FALSE(w->Picture2->isHidden());

    // The payment block's 合计 row lists the whole category.
    w->MSFlexGrid1->setRow(w->MSFlexGrid1->Rows() - 1);
    w->Command5->click();
    EXPECT_EQ(rows(w->MSFlexGrid2, 4), QStringList({"1|付款合同|D03 工程一组|HT-04", "|||"}));
    EXPECT_EQ(w->MSFlexGrid2->RowData(1),
              selectFirst("SELECT id FROM 合同信息 WHERE 合同编号 = 'HT-04'")->value(0).toInt());
}

TEST_F(SummaryWindowTest, ViewOpensTheContractWindowInViewMode)
{
    std::vector<contract::RecordWindowHandover> opened;
    contract::contractHandovers().Frm合同信息 = [&](const contract::RecordWindowHandover& h) { opened.push_back(h); };
    criteria();
    w->Command10->click();
    w->MSFlexGrid1->setRow(1);
    w->Command5->click();
    // Column 0 or 1, or the 合计 row, opens nothing.
    w->MSFlexGrid2->setRow(1);
    w->MSFlexGrid2->setCol(1);
    w->MSFlexGrid2_DblClick();
    w->MSFlexGrid2->setRow(2);
    w->MSFlexGrid2->setCol(4);
    w->MSFlexGrid2_DblClick();
    EXPECT_TRUE(opened.empty());
    w->MSFlexGrid2->setRow(1);
    w->MSFlexGrid2->setCol(12);
    w->MSFlexGrid2_Click();
    EXPECT_FALSE(w->Command7->isHidden());
    w->Command7->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].mode, QStringLiteral("查看"));
    EXPECT_EQ(opened[0].departmentCode, QStringLiteral("D01"));
    EXPECT_EQ(opened[0].departmentText, QStringLiteral("D01 总部"));
    EXPECT_EQ(opened[0].number, QStringLiteral("HT-01"));
    EXPECT_EQ(opened[0].id, selectFirst("SELECT id FROM 合同信息 WHERE 合同编号 = 'HT-01'")->value(0).toString());
}

TEST_F(SummaryWindowTest, LinkedTickingGoesDownOnly)
{
    QTreeWidgetItem* top = w->departmentNode("$D01");
    top->setCheckState(0, Qt::Checked);
    EXPECT_EQ(tickedDepartments(w->TreeView1), QStringList({"D01", "D02", "D03"}));
    w->departmentNode("$D02")->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(tickedDepartments(w->TreeView1), QStringList({"D01"}));
    w->departmentNode("$D03")->setCheckState(0, Qt::Checked);
    EXPECT_EQ(tickedDepartments(w->TreeView1), QStringList({"D01", "D03"}));
    w->Check4->setChecked(false);
    top->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(tickedDepartments(w->TreeView1), QStringList({"D03"}));
    w->Check2->click();
    EXPECT_EQ(w->typeNode("T 收款合同")->checkState(0), Qt::Checked);
    w->Check2->click();
    EXPECT_EQ(w->typeNode("TT1")->checkState(0), Qt::Unchecked);
}

TEST_F(SummaryWindowTest, ChoicePanelsAndTheFuzzySearch)
{
    w->Check3->click();
    EXPECT_FALSE(w->Frame4->isHidden());
    w->Command11->click();  // nothing selected
    EXPECT_EQ(lastBox().text, QStringLiteral("请选择合同状态"));
    EXPECT_FALSE(w->Frame4->isHidden());
    EXPECT_EQ(w->Text3->text(), QStringLiteral("   "));
    w->List1->item(0)->setSelected(true);
    w->Command11->click();
    EXPECT_TRUE(w->Frame4->isHidden());
    EXPECT_EQ(w->状态列表, QStringList({w->List1->item(0)->text()}));
    w->Check3->click();  // unticked: the choice stays
    EXPECT_EQ(w->状态列表.size(), 1);

    w->Check7->click();
    EXPECT_FALSE(w->Frame2->isHidden());
    w->Text2->setText("o'n");
    ASSERT_EQ(w->List2->count(), 1);
    EXPECT_EQ(w->List2->item(0)->text(), QStringLiteral("O'Neil"));
    w->List2->item(0)->setSelected(true);
    w->Command6->click();
    EXPECT_EQ(w->对方单位列表, QStringList({"O'Neil"}));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("O'Neil   "));
    w->Text2->clear();
    EXPECT_EQ(w->List2->count(), 2);

    criteria();
    w->Option3->setChecked(true);
    w->Command10->click();
    EXPECT_EQ(rows(w->MSFlexGrid1, 5), QStringList({"1|付款合同|工程合同|1|1000.00", "|付款合同|合计 |1|1000.00"}));
}

TEST_F(SummaryWindowTest, ExportsMarkEveryColumn)
{
    criteria();
    w->Command10->click();
    QStringList seen;
    onModal<frmToExcel>([&](frmToExcel& x) {
        seen << x.Text1[1]->text() << x.Text1[2]->text() << QString::number(x.Grid1->Cols())
             << x.Grid1->TextMatrix(0, 2) << x.Grid1->TextMatrix(1, 0) << x.Grid1->TextMatrix(1, 5);
        EXPECT_EQ(x.Grid(), w->MSFlexGrid1);
    });
    w->Command3->click();
    EXPECT_EQ(seen, QStringList({"合同汇总统计", "合同汇总统计", "6", "职能部门名称", "√", "√"}));
    seen.clear();
    onModal<frmToExcel>([&](frmToExcel& x) { seen << x.Text1[1]->text() << QString::number(x.Grid1->Cols()); });
    w->Command8->click();
    EXPECT_EQ(seen, QStringList({"合同汇总统计明细", "13"}));
}

TEST_F(SummaryWindowTest, TheMenuOpensOneInstanceAndKeepsItsCriteria)
{
    registerStatisticsWindows();
    criteria();
    Form* again = mainWindowHooks().frm合同汇总统计();
    EXPECT_EQ(again, w);
    EXPECT_TRUE(w->Check3->isChecked());
}

TEST_F(SummaryWindowTest, UserWithoutCompanyScopeSeesOwnTypes)
{
    FormRegistry::instance().unloadAll();
    loginAs("D02", "P02", "工程部");
    assignType("T4", "D03");
    auto* own = Forms::get<frm合同汇总统计>();
    EXPECT_FALSE(own->全公司权限);
    // A functional department: the whole tree; the unshared type only where assigned.
    EXPECT_NE(own->departmentNode("$D01"), nullptr);
    EXPECT_EQ(own->typeNode("TT4"), nullptr);
    FormRegistry::instance().unloadAll();
    loginAs("D03", "P03", "工程一组");
    own = Forms::get<frm合同汇总统计>();
    EXPECT_NE(own->typeNode("TT4"), nullptr);
}

TEST_F(SummaryWindowTest, ASecondTypeWithTheSameTrimmedCodeIsLeftOut)
{
    type("T2 ", "物业服务合同又", "收款合同");
    FormRegistry::instance().unloadAll();
    doubles().boxes->shown.clear();
    w = Forms::get<frm合同汇总统计>();
    EXPECT_EQ(w->typeNode("T 收款合同")->childCount(), 1);
    EXPECT_EQ(w->typeNode("TT2")->text(0), QStringLiteral("T2 物业服务合同"));
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(SummaryWindowTest, LayoutShowsEveryControlWhole)
{
    w->resize(1100, 700);
    w->Show();
    w->Command1->click();
    EXPECT_EQ(layoutProblems(w, {"MSFlexGrid1", "MSFlexGrid2", "Picture2", "Frame2", "Frame4", "StatusBar1"}),
              QStringList());
    w->Check3->click();
    EXPECT_EQ(layoutProblems(w->Frame4), QStringList());
    w->Check7->click();
    EXPECT_EQ(layoutProblems(w->Frame2), QStringList());
}

// In the room a maximised child has on a 1024x768 screen: each panel lies
// inside the window with its own close button in reach, and Esc closes the
// panel on top (a choice panel before the criteria it opens from). The
// detail panel covers the grid and the buttons below it, as it always has:
// Esc takes it away again.
TEST_F(SummaryWindowTest, OnTheSmallScreenEveryPanelClosesWithEscAndItsOwnButton)
{
    w->Show();
    w->resize(1024, 600);
    criteria(w->Option2);
    w->Command10->click();
    ASSERT_GT(w->MSFlexGrid1->Rows(), 1);
    w->MSFlexGrid1->setRow(1);
    w->MSFlexGrid1->setCol(5);
    w->MSFlexGrid1_Click();
    w->Command5->click();
    ASSERT_FALSE(w->Picture2->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture2, w->Command4), QStringList());

    w->Command1->click();
    ASSERT_FALSE(w->Picture7->isHidden());
    w->Command14->click();
    ASSERT_FALSE(w->Frame4->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Frame4, w->Command13), QStringList());
    EXPECT_FALSE(w->Picture7->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture7, w->Command9), QStringList());
}

// The counterparty search looks within 合同信息.对方单位: it takes no more.
TEST_F(SummaryWindowTest, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    w->Check7->click();
    EXPECT_EQ(inputProblems(w, {{"Text2", "合同信息.对方单位"}}).join(u'\n').toStdString(), "");
}

}  // namespace corvane::test
