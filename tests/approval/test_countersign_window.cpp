#include "ApprovalFixture.h"
#include "testsupport/InputCheck.h"
#include "platform/TextMeasure.h"
#include "testsupport/LayoutCheck.h"

namespace corvane::test {
namespace {

class CountersignWindow : public ApprovalTest {
protected:
    // The window as the submission hands it over, after its first activation.
    frm合同会签提交处理* open(const QString& mode = QStringLiteral("合同信息"))
    {
        const frmCorvane* list = openList();
        auto* f = Forms::get<frm合同会签提交处理>();
        f->takeHandover({mode, QStringLiteral("HT-1"), QString::number(idOf("HT-1")), QStringLiteral("办公楼维修"),
                         QStringLiteral("工程合同"), QStringLiteral("T1")},
                        *list);
        f->activate();
        return f;
    }
    static void clickRow(frm合同会签提交处理& f, int row)
    {
        f.MSFlexGrid1->setRow(row);
        f.MSFlexGrid1_Click();
    }
    // A click on the department's tree node; the node, or null when the tree has none.
    static QTreeWidgetItem* clickDepartment(frm合同会签提交处理& f, const QString& code)
    {
        QTreeWidgetItem* node = nullptr;
        for (QTreeWidgetItemIterator it(f.TreeView1); *it; ++it)
            if (frm合同会签提交处理::nodeKey(*it) == QStringLiteral("$") + code) node = *it;
        if (!node) return nullptr;
        f.TreeView1->setCurrentItem(node);
        f.TreeView1_NodeClick(node);
        return node;
    }
    static void pickPost(frm合同会签提交处理& f, const QString& code)
    {
        for (int i = 0; i < f.Combo1->count(); ++i)
            if (f.Combo1->itemText(i).startsWith(code + QLatin1Char(' '))) f.Combo1->setCurrentIndex(i);
    }
};

// On a 1024x768 screen the window fits and Esc closes it as its 退出 does.
TEST_F(CountersignWindow, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    setType(QStringLiteral("T1"), false, true);
    auto* f = open();
    EXPECT_EQ(screenProblems(*f), QStringList());
    EXPECT_EQ(escapeProblems(*f, f->Command4), QStringList());
}

TEST_F(CountersignWindow, ProposesTheHeadThenTheTemplateAndKeepsTheHeadStep)
{
    setType(QStringLiteral("T1"), false, true);
    threeSteps();
    auto* f = open();
    EXPECT_EQ(gridRows(*f->MSFlexGrid1), (QList<QStringList>{{"1", "D01 部门D01", "P01 财务经理", "张伟[主管]", "有"},
                                                              {"2", "D01 财务部", "P02 会计", "王芳", "有"},
                                                              {"3", "D02 工程部", "P03 工程师", "", ""},
                                                              {"4", "D01 财务部", "P01 财务经理", "张伟", ""}}));
    EXPECT_FALSE(f->Check2->isChecked());
    EXPECT_TRUE(f->Command3->isEnabled());
    EXPECT_EQ(problemsOf(f), QStringList());
    EXPECT_EQ(inputProblems(f, {}).join(u'\n').toStdString(), "");  // steps are chosen, never typed

    clickRow(*f, 1);
    EXPECT_EQ(f->Command1->text(), "修改确定");
    EXPECT_EQ(f->Combo1->currentText(), "P01 财务经理 [张伟]");
    EXPECT_TRUE(f->Command5[1]->isEnabled());
    f->Command1_Click();
    f->Command2_Click();
    EXPECT_EQ(texts(), (QStringList{"主管流程不能修改，如需更改，请在合同类型设置中取消部门主管审核设置！",
                                    "主管流程不能删除，如需删除，请在合同类型设置中取消部门主管审核设置！"}));
    // The head moves like any other step; the numbers stay.
    f->Command5_Click(1);
    EXPECT_EQ(gridRow(*f->MSFlexGrid1, 2), (QStringList{"2", "D01 部门D01", "P01 财务经理", "张伟[主管]", "有"}));
    EXPECT_EQ(f->MSFlexGrid1->Row(), 2);

    f->Command3_Click();
    EXPECT_EQ(storedRoute(), (QStringList{"D01/P02/1/1/0", "D01/P01/1/2/0", "D02/P03/0/3/0", "D01/P01/0/4/0"}));
    EXPECT_EQ(storedCirculation(), QStringList{"D01/P02/1/1"});
    EXPECT_EQ(contractRow("HT-1").text("合同状态"), "审批中");
    EXPECT_EQ(toDateTime(contractRow("HT-1").value("提交日期")), QDateTime(kToday, QTime(9, 30)));
    EXPECT_FALSE(Forms::isLoaded<frm合同会签提交处理>());
}

TEST_F(CountersignWindow, ParallelSubmissionSendsEveryStepAtOnce)
{
    setType(QStringLiteral("T1"), true, false);
    threeSteps();
    auto* f = open();
    EXPECT_TRUE(f->Check2->isChecked());
    EXPECT_FALSE(f->Command5[0]->isEnabled());
    EXPECT_EQ(f->MSFlexGrid1->TextMatrix(3, 0), "0");
    f->Command3_Click();
    EXPECT_EQ(storedRoute(), (QStringList{"D01/P02/1/0/1", "D02/P03/0/0/1", "D01/P01/0/0/1"}));
    EXPECT_EQ(storedCirculation(), (QStringList{"D01/P02/1/0", "D02/P03/0/0", "D01/P01/0/0"}));
}

TEST_F(CountersignWindow, AnEmptyProposalIsFilledByHandAndEmptiedAgain)
{
    auto* f = open(QStringLiteral("其它"));
    EXPECT_EQ(texts(), QStringList{"没有设置工程合同的会签环节路径，您可以手动添加会签环节（至少一个）"});
    EXPECT_FALSE(f->Command3->isEnabled());
    EXPECT_FALSE(f->Check2->isChecked());

    doubles().boxes->shown.clear();
    f->Command1_Click();  // no post
    f->TreeView1->setCurrentItem(nullptr);
    f->岗位列表(QStringLiteral("D02"));
    pickPost(*f, QStringLiteral("P03"));
    f->Command1_Click();  // no department
    EXPECT_EQ(texts(), (QStringList{"请选择岗位", "请选择部门"}));

    ASSERT_NE(clickDepartment(*f, QStringLiteral("D02")), nullptr);
    EXPECT_EQ(f->Combo1->currentIndex(), -1);
    pickPost(*f, QStringLiteral("P03"));
    f->Check1->setChecked(true);
    f->Command1_Click();
    EXPECT_EQ(gridRows(*f->MSFlexGrid1), (QList<QStringList>{{"1", "D02 工程部", "P03 工程师 []", "", "有"}}));
    EXPECT_TRUE(f->Command3->isEnabled());

    // 修改确定 takes 决策权 from Check1 both ways.
    clickRow(*f, 1);
    f->Check1->setChecked(false);
    f->Command1_Click();
    EXPECT_EQ(f->MSFlexGrid1->TextMatrix(1, 4), "");

    doubles().boxes->shown.clear();
    doubles().boxes->answers = {vbYes};
    f->Command2_Click();
    EXPECT_EQ(texts(), (QStringList{"确认要删除D02 工程部会签环节?", "如果要提交会签，必须设置一个以上会签环节"}));
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
    EXPECT_FALSE(f->Command3->isEnabled());
}

// A step added by hand shows the chosen post entry as it stands, holder in
// brackets, and no name of its own; it is stored whole with the proposed
// ones, and in a sequential route only the first step receives the contract.
TEST_F(CountersignWindow, AStepAddedByHandIsStoredWithTheProposedOnesAndShownWhole)
{
    setType(QStringLiteral("T1"), false, false);
    addTemplateStep(QStringLiteral("T1"), QStringLiteral("D01"), QStringLiteral("P02"), true, 1);
    exec(QStringLiteral("UPDATE 岗位信息new SET 岗位名称 = '财务经理兼合同与预算审核负责人' WHERE 岗位代号 = 'P01'"));
    auto* f = open();
    const QTreeWidgetItem* d01 = clickDepartment(*f, QStringLiteral("D01"));
    ASSERT_NE(d01, nullptr);
    pickPost(*f, QStringLiteral("P01"));
    f->Check1->setChecked(false);
    f->Command1_Click();
    EXPECT_EQ(gridRows(*f->MSFlexGrid1), (QList<QStringList>{{"1", "D01 财务部", "P02 会计", "王芳", "有"},
                                                              {"2", d01->text(0), "P01 财务经理兼合同与预算审核负责人 [张伟]", "", ""}}));
    for (int r = 0; r < f->MSFlexGrid1->Rows(); ++r)
        for (int c = 1; c < f->MSFlexGrid1->Cols(); ++c)
            EXPECT_GE(f->MSFlexGrid1->ColWidth(c), TextWidthTwips(f->MSFlexGrid1->font(), f->MSFlexGrid1->TextMatrix(r, c)))
                << f->MSFlexGrid1->TextMatrix(r, c).toStdString();

    f->Command3_Click();
    EXPECT_EQ(storedRoute(), (QStringList{"D01/P02/1/1/0", "D01/P01/0/2/0"}));
    EXPECT_EQ(storedCirculation(), QStringList{"D01/P02/1/1"});
}

TEST_F(CountersignWindow, SubmissionWritesTheListRowOfItsOwnContract)
{
    addContract(QStringLiteral("HT-0"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("未提交"));
    threeSteps();
    auto* list = openList();
    list->Command1_Click();
    const int own = rowOf(*list, "HT-1"), other = rowOf(*list, "HT-0");
    ASSERT_GT(own, 0);
    list->MSFlexGrid1->setRow(other);
    auto* f = open(QStringLiteral("其它"));
    f->Command3_Click();
    using Col = frmCorvane::Col;
    EXPECT_EQ(list->MSFlexGrid1->TextMatrix(own, Col::提交日期), "2026-12-10 09:30:00");
    EXPECT_EQ(list->MSFlexGrid1->TextMatrix(own, Col::合同状态), "审批中");
    EXPECT_EQ(list->MSFlexGrid1->TextMatrix(other, Col::提交日期), "");
    EXPECT_EQ(list->MSFlexGrid1->TextMatrix(other, Col::合同状态), "未提交");
    // No longer of the kind listed, the row stays where it was.
    EXPECT_EQ(rowOf(*list, "HT-1"), own);
}

// Submitted from the record window: the record window shows the contract's
// new state with the buttons it offers (the countersign window names none).
TEST_F(CountersignWindow, ASubmissionLeavesTheRecordWindowInTheSubmittedState)
{
    threeSteps();
    auto* w = record();
    ASSERT_EQ(w->Command9->text(), "提交");
    ASSERT_TRUE(w->Command2->isEnabled());
    auto* f = open();
    f->Command3_Click();
    EXPECT_FALSE(Forms::isLoaded<frm合同会签提交处理>());
    EXPECT_EQ(w->Command9->text(), "流转情况");
    for (const QPushButton* b : {w->Command2, w->Command3, w->Command10})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(w->Label1[18]->text(), "审批中");
}

TEST_F(CountersignWindow, AContractSubmittedElsewhereIsNotSubmittedTwice)
{
    threeSteps();
    auto* w = record();
    auto* f = open();
    exec(QStringLiteral("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中'"), {QDateTime(kToday, QTime(8, 0))});
    f->Command3_Click();
    EXPECT_EQ(lastText(), "该合同已经提交，不能重复提交！");
    EXPECT_EQ(storedRoute(), QStringList());
    EXPECT_FALSE(Forms::isLoaded<frm合同会签提交处理>());
    EXPECT_EQ(w->Command9->text(), "流转情况");
}

TEST_F(CountersignWindow, AFailedSubmissionStoresNothingAndStaysOpen)
{
    threeSteps();
    auto* f = open();
    exec(QStringLiteral("DROP TABLE 合同流转信息表"));
    f->Command3_Click();
    ASSERT_FALSE(boxes().isEmpty());
    EXPECT_EQ(boxes().last().title, "提示");
    EXPECT_EQ(storedRoute(), QStringList());
    EXPECT_TRUE(contractRow("HT-1").isNull("提交日期"));
    EXPECT_TRUE(Forms::isLoaded<frm合同会签提交处理>());
}

}  // namespace
}  // namespace corvane::test
