#include <gtest/gtest.h>

#include "approval/ApprovalRules.h"

namespace corvane::approval {
namespace {

TEST(SubmissionRoute, HeadStepFirstAndTemplateShiftedWheneverTheTypeAsksForTheHead)
{
    const std::vector<TemplateStep> three{{"D1", "P1", true, 1}, {"D2", "P2", false, 2}, {"D3", "P3", false, 3}};
    struct Case {
        bool headFlag;
        std::optional<QString> head;
        std::vector<TemplateStep> steps;
        std::vector<int> numbers;
    };
    const Case cases[] = {
        {true, QStringLiteral("H1"), three, {1, 2, 3, 4}},
        {true, std::nullopt, three, {2, 3, 4}},  // no head found, the user went on
        {false, QStringLiteral("H1"), three, {1, 2, 3}},
        {true, QStringLiteral("H1"), {}, {1}},
        {true, std::nullopt, {}, {}},
    };
    for (const Case& c : cases) {
        const auto route = 会签路径(c.headFlag, QStringLiteral("D0"), c.head, c.steps);
        std::vector<int> numbers;
        for (const RouteStep& s : route) numbers.push_back(s.环节序号);
        EXPECT_EQ(numbers, c.numbers);
        if (c.headFlag && c.head) { EXPECT_EQ(route.front(), (RouteStep{1, "D0", "H1", 1})); }
    }
    const auto route = 会签路径(false, QString(), std::nullopt, three);
    EXPECT_EQ(route[0].决策权, 1);
    EXPECT_EQ(route[1].决策权, 0);
}

TEST(ProgressRows, AdministrativeAndCountersignCells)
{
    struct Case {
        Delivery d;
        QStringList cells;
    };
    const Case cases[] = {
        // Not answered yet: no verdict.
        {{"财务部", "会计", "", "王芳", "", "", false, false, false}, {"财务部 会计", "王芳", "", "", ""}},
        {{"财务部", "会计", "李娜", "王芳", "", "", false, false, false}, {"财务部 会计", "李娜", "", "", ""}},
        {{"财务部", "会计", "", "", "", "", false, false, false}, {"财务部 会计", "空", "", "", ""}},
        {{"财务部", "会计", "", "王芳", "2026-12-01", "好", true, false, false}, {"财务部 会计", "王芳", "2026-12-01", "好", "同意"}},
        {{"财务部", "会计", "", "王芳", "2026-12-01", "否", false, false, false},
         {"财务部 会计", "王芳", "2026-12-01", "否", "不同意"}},
    };
    for (const Case& c : cases) EXPECT_EQ(deliveryCells(c.d), c.cells);
    const auto step = [](bool appended, bool open) {
        Delivery d;
        d.hasAppendedOrder = appended;
        d.公开 = open;
        return d;
    };
    EXPECT_TRUE(listed(step(false, false)));
    EXPECT_TRUE(listed(step(true, true)));
    EXPECT_FALSE(listed(step(true, false)));

    struct CsCase {
        CountersignRecord r;
        QStringList cells;
    };
    const CsCase records[] = {
        {{"财务部", "会计", "", "", "", "", std::nullopt}, {"财务部 会计", "", "", "", ""}},
        {{"财务部", "会计", "", "王芳", "", "", true}, {"财务部 会计", "王芳", "", "", ""}},  // 同意 without 日期
        {{"财务部", "会计", "张伟", "王芳", "2026-12-01", "可", true}, {"财务部 会计", "张伟", "2026-12-01", "可", "同意"}},
        {{"财务部", "会计", "", "王芳", "2026-12-01", "", false}, {"财务部 会计", "王芳", "2026-12-01", "", "不同意"}},
        {{"财务部", "会计", "", "王芳", "2026-12-01", "", std::nullopt}, {"财务部 会计", "王芳", "2026-12-01", "", ""}},
    };
    for (const CsCase& c : records) EXPECT_EQ(countersignCells(c.r), c.cells);
}

TEST(ProgressRows, ReplyHeightCountsLinesAndWidePieces)
{
    // Each character 100 twips wide; lines 200 twips high; column 1000 wide.
    const WidthOf width = [](const QString& t) { return 100.0 * t.size(); };
    EXPECT_EQ(replyRowHeight("短\r\n短\r\n短", 1000, width, 200, 240), 3 * 200 + 300);
    // Exactly twice the column: n = 1 + 2.
    const WidthOf exact = [](const QString&) { return 1910.0; };
    EXPECT_EQ(replyRowHeight("一行", 1000, exact, 200, 240), 3 * 200 + 300);
    EXPECT_EQ(replyRowHeight("一行", 1000, width, 200, 240), 200 + 300);
    // Not above the minimum: the row keeps its height.
    EXPECT_EQ(replyRowHeight("一行", 1000, width, 200, 500), std::nullopt);
    EXPECT_EQ(replyRowHeight("一行", 1000, width, 200, 499), 500);
}

TEST(Codes, TextBeforeAndAfterTheFirstBlank)
{
    EXPECT_EQ(codeOf("T1 工程 合同"), "T1");
    EXPECT_EQ(nameAfterCode("T1 工程 合同"), "工程 合同");
    EXPECT_EQ(codeOf("T1"), "T1");
    EXPECT_EQ(nameAfterCode("T1"), "T1");
}

}  // namespace
}  // namespace corvane::approval

#include "approval/ApprovalStore.h"
#include "db/Schema.h"

namespace corvane::approval {
namespace {

// A misspelt column fails here, not at a customer's.
TEST(ApprovalStore, EveryColumnItNamesIsInTheSchema)
{
    for (const auto& [table, column] : columnsNamedByStore()) {
        const schema::Table* t = schema::table(table);
        ASSERT_NE(t, nullptr) << table.toStdString();
        EXPECT_NE(t->column(column), nullptr) << table.toStdString() << "." << column.toStdString();
    }
}

}  // namespace
}  // namespace corvane::approval
