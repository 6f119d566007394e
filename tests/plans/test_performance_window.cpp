#include <gtest/gtest.h>

#include "PlanFixture.h"

using namespace corvane;
using namespace corvane::test;

using Nodes = frm合同履行计划;

TEST_F(PlanTest, NodesAreAddedCheckedAndStored)
{
    openNodes(Nodes::kEditMode, [&](Nodes& f) {
        // No nodes: the adding state, cursor in 阶段.
        EXPECT_TRUE(f.adding());
        EXPECT_FALSE(f.Command4->isEnabled());
        EXPECT_TRUE(f.Picture1->isHidden());
        EXPECT_EQ(f.MSFlexGrid1->ColWidth(4), 0);

        const struct {
            const char* stage;
            const char* date;
            const char* refusal;
        } refusals[] = {
            {"   ", "2024-01-10", "请输入阶段！"},
            {"进场", "2024-02-30", "请输入时间节点"},
            {"进场", "20240110", "请输入时间节点"},
            {"进场", "", "请输入时间节点"},
        };
        for (const auto& r : refusals) {
            f.Text1->setText(QString::fromUtf8(r.stage));
            f.Text3->setText(QString::fromUtf8(r.date));
            f.Command1_Click();
            EXPECT_EQ(doubles().boxes->shown.last().text, QString::fromUtf8(r.refusal)) << r.date;
            EXPECT_EQ(f.Text1->text(), QString::fromUtf8(r.stage));
        }
        EXPECT_EQ(doubles().boxes->shown[0].title, ExeName());
        EXPECT_EQ(count("SELECT COUNT(*) FROM 合同履行计划表"), 0);

        const char* nodes[][3] = {{" 进场 ", "", "2024-1-10"}, {"中期", "完成主体", "2024/05/01"}, {"验收", "", "2024-09-30"}};
        for (const auto& n : nodes) {
            f.Text1->setText(QString::fromUtf8(n[0]));
            f.Text2->setText(QString::fromUtf8(n[1]));
            f.Text3->setText(QString::fromUtf8(n[2]));
            f.Command1_Click();
            EXPECT_TRUE(f.Text1->text().isEmpty());
            EXPECT_TRUE(f.Text3->text().isEmpty());
        }
        EXPECT_TRUE(f.adding());
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 4);
        EXPECT_EQ(row(*f.MSFlexGrid1, 1, 3), (QStringList{"1", "进场", "", "2024-01-10"}));
        EXPECT_EQ(row(*f.MSFlexGrid1, 2, 3), (QStringList{"2", "中期", "完成主体", "2024-05-01"}));
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(3, 0), QStringLiteral("3"));

        // 取消新增 leaves 删除 off, also after a click; 新增 and a click bring it back.
        f.Command3_Click();
        EXPECT_FALSE(f.adding());
        EXPECT_FALSE(f.Command4->isEnabled());
        f.MSFlexGrid1->setRow(2);
        f.MSFlexGrid1_Click();
        EXPECT_FALSE(f.Command4->isEnabled());
        f.Command3_Click();
        f.MSFlexGrid1_Click();
        EXPECT_FALSE(f.adding());
        EXPECT_TRUE(f.Command4->isEnabled());
        EXPECT_EQ(f.Text2->text(), QStringLiteral("完成主体"));
        f.Text1->setText(QStringLiteral("中期检查"));
        f.Command1_Click();
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(2, 1), QStringLiteral("中期检查"));
    });
    const Row first = *selectFirst(QStringLiteral("SELECT 阶段, 要求, 时间节点 FROM 合同履行计划表 ORDER BY ID"));
    EXPECT_EQ(first.text(0), QStringLiteral("进场"));
    EXPECT_TRUE(first.value(1).isNull());
    EXPECT_EQ(toDate(first.value(2)), QDate(2024, 1, 10));
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同履行计划表 WHERE 阶段 = '中期检查'"), 1);
}

TEST_F(PlanTest, DeletingAsksAboutTheNodeThatGoes)
{
    addNodeRow("HT-1", QStringLiteral("进场"), QDate(2024, 1, 10));
    addNodeRow("HT-1", QStringLiteral("中期"), QDate(2024, 5, 1));
    const qint64 last = addNodeRow("HT-1", QStringLiteral("验收"), QDate(2024, 9, 30));
    openNodes(Nodes::kEditMode, [&](Nodes& f) {
        EXPECT_FALSE(f.adding());
        EXPECT_TRUE(f.Command4->isEnabled());
        // Right after opening the boxes are empty and the last node is current.
        answer({vbNo});
        f.Command4_Click();
        EXPECT_EQ(doubles().boxes->shown.last().text, QStringLiteral("是否确认删除验收信息？"));
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 4);
        // The question names the row, whatever the box shows.
        f.MSFlexGrid1->setRow(2);
        f.MSFlexGrid1_Click();
        f.Text1->setText(QStringLiteral("别的"));
        answer({vbYes});
        f.Command4_Click();
        EXPECT_EQ(doubles().boxes->shown.last().text, QStringLiteral("是否确认删除中期信息？"));
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 3);
        EXPECT_EQ(row(*f.MSFlexGrid1, 2, 1), (QStringList{"2", "验收"}));
        f.MSFlexGrid1->setRow(1);
        answer({vbYes});
        f.Command4_Click();
        // The only node: the grid empties, adding, the boxes keep their text.
        f.MSFlexGrid1->setRow(1);
        f.MSFlexGrid1_Click();
        answer({vbYes});
        f.Command4_Click();
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
        EXPECT_TRUE(f.adding());
        EXPECT_EQ(f.Text1->text(), QStringLiteral("验收"));
        f.Command1_Click();
        EXPECT_NE(f.MSFlexGrid1->TextMatrix(1, 4), QString::number(last));
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同履行计划表"), 1);
}

TEST_F(PlanTest, ChecksAreRecordedUntrimmed)
{
    const qint64 id = addNodeRow("HT-1", QStringLiteral("进场"), QDate(2024, 1, 10));
    exec(QStringLiteral("UPDATE 合同履行计划表 SET 要求 = ? WHERE ID = ?"), {QStringLiteral("第一行\n第二行"), id});
    openNodes(QStringLiteral("浏览"), [&](Nodes& f) {
        EXPECT_EQ(f.Caption(), QStringLiteral("合同履行情况及检查记录"));
        EXPECT_FALSE(f.Picture1->isHidden());
        EXPECT_FALSE(f.Command5->isEnabled());
        EXPECT_EQ(f.DTPicker1->date(), kPlanToday);
        EXPECT_EQ(f.MSFlexGrid2->ColWidth(7), 0);
        // Two lines raise the row.
        EXPECT_GT(f.MSFlexGrid2->RowHeight(1), f.MSFlexGrid2->RowHeight(0));
        f.MSFlexGrid2->setRow(1);
        f.MSFlexGrid2_Click();
        EXPECT_TRUE(f.Command5->isEnabled());
        EXPECT_EQ(f.DTPicker1->date(), kPlanToday);  // no 检查日期 yet

        const struct {
            const char* done;
            const char* inspector;
            const char* refusal;
        } cases[] = {{"", "王五", "请输入检查检查情况"}, {"完成", "", "请输入检查人"}};
        for (const auto& c : cases) {
            f.Text5->setText(QString::fromUtf8(c.done));
            f.Text6->setText(QString::fromUtf8(c.inspector));
            f.Command5_Click();
            EXPECT_EQ(doubles().boxes->shown.last().text, QString::fromUtf8(c.refusal));
        }
        f.Text5->setText(QStringLiteral(" "));
        f.Text6->setText(QStringLiteral("王五 "));
        f.DTPicker1->setDate(QDate(2024, 2, 1));
        f.Command5_Click();
        EXPECT_EQ(row(*f.MSFlexGrid2, 1, 6), (QStringList{"1", "进场", "第一行\n第二行", "2024-01-10", " ", "王五 ", "2024-02-01"}));
    });
    const Row r = *selectFirst(QStringLiteral("SELECT 完成情况, 检查人, 检查日期 FROM 合同履行计划表"));
    EXPECT_EQ(r.text(0), QStringLiteral(" "));
    EXPECT_EQ(r.text(1), QStringLiteral("王五 "));
    EXPECT_EQ(toDate(r.value(2)), QDate(2024, 2, 1));
}

// A node changed on another workstation after the window loaded it is not
// overwritten: neither by a change of the node nor by a check.
TEST_F(PlanTest, ANodeChangedMeanwhileIsNotOverwritten)
{
    const struct {
        const char* mode;
        const char* otherWrites;  // what the other workstation sets
        const char* column;       // the column that must keep its value
        const char* kept;
    } cases[] = {
        {"编辑", "UPDATE 合同履行计划表 SET 要求 = '完成主体' WHERE ID = ?", "要求", "完成主体"},
        {"编辑", "UPDATE 合同履行计划表 SET 时间节点 = '2024-02-01' WHERE ID = ?", "阶段", "进场"},
        {"浏览", "UPDATE 合同履行计划表 SET 检查人 = '赵六' WHERE ID = ?", "检查人", "赵六"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.otherWrites);
        exec(QStringLiteral("DELETE FROM 合同履行计划表"));
        const qint64 id = addNodeRow("HT-1", QStringLiteral("进场"), QDate(2024, 1, 10));
        doubles().boxes->shown.clear();
        openNodes(QString::fromUtf8(c.mode), [&](Nodes& f) {
            {
                const auto workstation = openSecondConnection(QStringLiteral("other"));
                ASSERT_TRUE(executeQuiet(workstation->db(), QString::fromUtf8(c.otherWrites), {id}));
            }
            if (QString::fromUtf8(c.mode) == Nodes::kEditMode) {
                f.MSFlexGrid1->setRow(1);
                f.MSFlexGrid1_Click();
                f.Text1->setText(QStringLiteral("入场"));
                f.Command1_Click();
                EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 1), QStringLiteral("进场"));
            } else {
                f.MSFlexGrid2->setRow(1);
                f.MSFlexGrid2_Click();
                f.Text5->setText(QStringLiteral("完成"));
                f.Text6->setText(QStringLiteral("王五"));
                f.Command5_Click();
                EXPECT_EQ(f.MSFlexGrid2->TextMatrix(1, 5), QString());
            }
        });
        EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("第1行的计划已被他人修改，请重新打开本窗口！")});
        const Row node = *selectFirst(QStringLiteral("SELECT 阶段, 要求, 完成情况, 检查人 FROM 合同履行计划表"));
        EXPECT_EQ(node.text(QString::fromUtf8(c.column)), QString::fromUtf8(c.kept));
        EXPECT_NE(node.text(0), QStringLiteral("入场"));
        EXPECT_TRUE(node.text(2).isEmpty());
    }
}
