#include <gtest/gtest.h>

#include "plans/Generators.h"

using namespace corvane;
using namespace corvane::plans;

namespace {

const QDate kStart(2009, 1, 8);
const QDate kEnd(2009, 12, 18);

QStringList rowsOf(const Generated& g)
{
    QStringList out;
    for (const GeneratedRow& r : g.rows) out << r.date + QLatin1Char(' ') + r.amount;
    return out;
}

QStringList split(const char* rows) { return QString::fromUtf8(rows).split(QLatin1Char('|'), Qt::SkipEmptyParts); }

}  // namespace

TEST(EqualInstalments, WorkedExamplesAndEdges)
{
    const struct {
        const char* total;
        const char* count;
        int decimals;
        QDate start, end;
        const char* day;
        bool last, workFirst;
        const char* rows;
    } cases[] = {
        {"10000", "3", 0, kStart, kEnd, "25", false, false, "2009-01-25 3334.00|2009-05-25 3333.00|2009-09-25 3333.00"},
        {"10000", "3", 0, kStart, kEnd, "25", true, false, "2009-01-25 3333.00|2009-05-25 3333.00|2009-09-25 3334.00"},
        {"10000", "3", 0, kStart, kEnd, "25", false, true, "2009-05-25 3334.00|2009-09-25 3333.00|2010-01-25 3333.00"},
        {"10000", "3", 0, kStart, kEnd, "0", false, false, "2009-01-08 3334.00|2009-05-03 3333.00|2009-08-26 3333.00"},
        {"10000", "3", 0, kStart, kEnd, "0", false, true, "2009-05-03 3334.00|2009-08-26 3333.00|2009-12-19 3333.00"},
        // 2.5 goes to the even neighbour; the remainder to the first.
        {"10", "4", 0, kStart, kEnd, "25", false, false, "2009-01-25 4.00|2009-04-25 2.00|2009-07-25 2.00|2009-10-25 2.00"},
        // 角 and 分: 0.125 at 分 gives 0.12.
        {"10", "3", 1, kStart, kEnd, "5", false, false, "2009-01-5 3.40|2009-05-5 3.30|2009-09-5 3.30"},
        {"0.375", "3", 2, kStart, kEnd, "5", true, false, "2009-01-5 0.12|2009-05-5 0.12|2009-09-5 0.14"},
        // A month span of at most half the count gives a step of 0.
        {"100", "2", 0, QDate(2009, 1, 8), QDate(2009, 2, 1), "10", false, false, "2009-01-10 50.00|2009-01-10 50.00"},
        // 29, 30 and 31 step by days as 0 does; a leading zero is a day as typed.
        {"100", "2", 0, QDate(2009, 1, 1), QDate(2009, 1, 10), "30", false, false, "2009-01-01 50.00|2009-01-06 50.00"},
        {"100", "2", 0, QDate(2009, 1, 1), QDate(2009, 3, 10), "05", false, false, "2009-01-05 50.00|2009-02-05 50.00"},
        {"100", "2.0", 0, QDate(2009, 1, 1), QDate(2009, 3, 10), "05", false, false, "2009-01-05 50.00|2009-02-05 50.00"},
        // An empty box reads as day 0: the dates step by days, as with a typed 0.
        {"10000", "3", 0, kStart, kEnd, "", false, false, "2009-01-08 3334.00|2009-05-03 3333.00|2009-08-26 3333.00"},
        {"10000", "3", 0, kStart, kEnd, "  ", false, true, "2009-05-03 3334.00|2009-08-26 3333.00|2009-12-19 3333.00"},
        {"100", "2", 0, QDate(2009, 1, 1), QDate(2009, 1, 10), "", false, false, "2009-01-01 50.00|2009-01-06 50.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        const Generated g = 每次相同金额({QString::fromUtf8(c.total), QString::fromUtf8(c.count), c.decimals, c.start,
                                      c.end, QString::fromUtf8(c.day), c.last, c.workFirst});
        ASSERT_TRUE(g.ok()) << g.refusal.toStdString();
        EXPECT_EQ(rowsOf(g), split(c.rows));
    }
}

TEST(EqualInstalments, Refusals)
{
    const struct {
        const char* count;
        QDate start, end;
        const char* day;
        const char* refusal;
        bool information;
    } cases[] = {
        {"", kStart, kEnd, "25", "请输入整数！", true},
        {"  ", kStart, kEnd, "25", "请输入整数！", true},
        {"0", kStart, kEnd, "25", "请输入整数！", true},
        {"abc", kStart, kEnd, "25", "请输入整数！", true},
        {"-2", kStart, kEnd, "25", "请输入整数！", true},
        {"2.5", kStart, kEnd, "25", "请输入整数！", true},
        {"3", QDate(1989, 12, 31), kEnd, "25", "起始日期或终止日期非法，请输入正确的日期值", false},
        {"3", kStart, QDate(1900, 1, 1), "25", "起始日期或终止日期非法，请输入正确的日期值", false},
        {"3", kEnd, kStart, "0", "起始日期或终止日期非法，请输入正确的日期值", false},
        {"3", kStart, kEnd, "5abc", "请输入正确的付款日期！", false},
        {"3", kStart, kEnd, "-3", "请输入正确的付款日期！", false},
        {"3", kStart, kEnd, " 5", "请输入正确的付款日期！", false},
        {"3", kStart, kEnd, "5 ", "请输入正确的付款日期！", false},
        {"3", kStart, kEnd, "abc", "请输入正确的付款日期！", false},
        {"3", kStart, kEnd, "５", "请输入正确的付款日期！", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const Generated g =
            每次相同金额({QStringLiteral("10000"), QString::fromUtf8(c.count), 0, c.start, c.end, QString::fromUtf8(c.day)});
        EXPECT_EQ(g.refusal, QString::fromUtf8(c.refusal));
        EXPECT_EQ(g.informationBox, c.information);
        EXPECT_TRUE(g.rows.empty());
    }
    EXPECT_EQ(每次相同金额({"10", "", 0, kStart, kEnd, "25"}).focus, RefusalFocus::Text4);
}

TEST(RatioPlan, WorkedExamplesRefusalsAndEdges)
{
    const struct {
        const char* total;
        const char* ratios;
        const char* result;  // rows, or the refusal
    } cases[] = {
        {"10000", "30[20090108]/40[20090408]/30[20091218]", "2009-01-08 3000.00|2009-04-08 4000.00|2009-12-18 3000.00"},
        {"10000", "30[20090108]/40[20090408]/20[20091218]", "2009-01-08 3000.00|2009-04-08 4000.00|2009-12-18 3000.00"},
        {"10000", "100[20090108]", "2009-01-08 10000.00"},
        {"100", "33.333[20090108]/33.333[20090201]/0[20090301]", "2009-01-08 33.33|2009-02-01 33.33|2009-03-01 33.34"},
        {"0.05", "50[20090108]/50[20090201]", "2009-01-08 0.03|2009-02-01 0.02"},
        {"10000", "", "请输入比例和日期"},
        {"10000", "30[2009/01/08]/70[20090408]", "分割符“/”数量不匹配"},
        {"10000", "30[20090108]]", "“[”和“]”不匹配"},
        {"10000", "[20090108]/70[20090408]", "比例必须是数字，请核对"},
        {"10000", "3x[20090108]/70[20090408]", "比例必须是数字，请核对"},
        {"10000", "30[2009018]/70[20090408]", "比例中的日期必须是8位有效日期，如20090108"},
        {"10000", "30[20090230]/70[20090408]", "比例中的日期必须是8位有效日期，如20090108"},
        {"10000", "30[2009O108]/70[20090408]", "比例中的日期必须是8位有效日期，如20090108"},
        {"10000", "30]20090108[", "比例必须是数字，请核对"},
        {"10000", "30[20090108]/[20090408]", "比例必须是数字，请核对"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ratios);
        const Generated g = 按比例生成计划(QString::fromUtf8(c.total), QString::fromUtf8(c.ratios));
        if (g.ok()) { EXPECT_EQ(rowsOf(g), split(c.result)); }
        else EXPECT_EQ(g.refusal, QString::fromUtf8(c.result));
        EXPECT_FALSE(g.informationBox);
    }
}

TEST(PeriodPlan, CountsPeriodDatesWithMonthEndsThatStay)
{
    const struct {
        const char* total;
        QDate start, end;
        Period period;
        int count;
        const char* first;
        const char* last;
    } cases[] = {
        {"1000", QDate(2009, 1, 1), QDate(2009, 12, 31), Period::Month, 12, "2009-01-01 83.33", "2009-12-01 83.37"},
        {"1000", QDate(2009, 1, 1), QDate(2010, 1, 1), Period::Month, 13, "2009-01-01 76.92", "2010-01-01 76.96"},
        {"1000", QDate(2009, 1, 1), QDate(2009, 12, 31), Period::Quarter, 4, "2009-01-01 250.00", "2009-10-01 250.00"},
        {"1000", QDate(2009, 1, 1), QDate(2011, 1, 1), Period::Year, 3, "2009-01-01 333.33", "2011-01-01 333.34"},
        {"900", QDate(2009, 1, 31), QDate(2009, 4, 30), Period::Month, 4, "2009-01-31 225.00", "2009-04-28 225.00"},
        {"10", QDate(2009, 5, 5), QDate(2009, 5, 5), Period::Month, 1, "2009-05-05 10.00", "2009-05-05 10.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const Generated g = 按周期生成计划({QString::fromUtf8(c.total), c.start, c.end, c.period});
        ASSERT_TRUE(g.ok());
        const QStringList rows = rowsOf(g);
        ASSERT_EQ(rows.size(), c.count);
        EXPECT_EQ(rows.first(), QString::fromUtf8(c.first));
        EXPECT_EQ(rows.last(), QString::fromUtf8(c.last));
    }
    const Generated monthEnds = 按周期生成计划({"300", QDate(2009, 1, 31), QDate(2009, 3, 31), Period::Month});
    EXPECT_EQ(rowsOf(monthEnds), split("2009-01-31 100.00|2009-02-28 100.00|2009-03-28 100.00"));
    // A start after the end gives no period and divides by nothing.
    EXPECT_EQ(按周期生成计划({"300", QDate(2009, 3, 1), QDate(2009, 1, 1), Period::Month}).refusal,
              QStringLiteral("起始日期或终止日期非法，请输入正确的日期值"));
}

TEST(NodePlan, PercentagesOfTheMarkedNodes)
{
    const std::vector<QDate> three{QDate(2024, 1, 10), QDate(2024, 5, 1), QDate(2024, 9, 30)};
    const struct {
        std::vector<QDate> nodes;
        const char* shares;
        const char* result;
    } cases[] = {
        {three, "20/70/10", "2024-01-10 10000.00|2024-05-01 35000.00|2024-09-30 5000.00"},
        {three, "20/70/99", "2024-01-10 10000.00|2024-05-01 35000.00|2024-09-30 5000.00"},
        {three, "20/70/abc", "2024-01-10 10000.00|2024-05-01 35000.00|2024-09-30 5000.00"},
        {{QDate(2024, 1, 10)}, "30", "2024-01-10 50000.00"},
        {{QDate(2024, 1, 10), QDate()}, "40/60", "2024-01-10 20000.00| 30000.00"},
        {three, "20/70", "输入的支付比例与选择的节点数量不匹配，请核对"},
        {{}, "20", "请选择控制节点（至少选一个）"},
        {three, "", "请输入收/付款比例"},
        {three, "20//10", "比例必须是数字，请核对"},
        {three, "2o/70/10", "比例必须是数字，请核对"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shares);
        const Generated g = 按节点生成计划(QStringLiteral("50000"), c.nodes, QString::fromUtf8(c.shares));
        if (g.ok()) { EXPECT_EQ(rowsOf(g), QString::fromUtf8(c.result).split(QLatin1Char('|'))); }
        else EXPECT_EQ(g.refusal, QString::fromUtf8(c.result));
    }
}

TEST(LongTermPlan, FixedAmountsStepByStep)
{
    const struct {
        QDate first;
        const char* amount;
        const char* count;
        Period step;
        const char* result;
        RefusalFocus focus;
    } cases[] = {
        {QDate(2010, 1, 31), "5000", "3", Period::Month, "2010-01-31 5000.00|2010-02-28 5000.00|2010-03-28 5000.00",
         RefusalFocus::None},
        {QDate(2010, 1, 31), "5000", "2", Period::Quarter, "2010-01-31 5000.00|2010-04-30 5000.00", RefusalFocus::None},
        {QDate(2012, 2, 29), "0.125", "2", Period::Year, "2012-02-29 0.13|2013-02-28 0.13", RefusalFocus::None},
        // Counts round to the even neighbour.
        {QDate(2010, 1, 1), "1", "2.5", Period::Month, "2010-01-01 1.00|2010-02-01 1.00", RefusalFocus::None},
        {QDate(2010, 1, 1), "1", "3.5", Period::Year, "2010-01-01 1.00|2011-01-01 1.00|2012-01-01 1.00|2013-01-01 1.00",
         RefusalFocus::None},
        {QDate(2010, 1, 1), "", "3", Period::Month, "请输入计划每次金额", RefusalFocus::Text5},
        {QDate(2010, 1, 1), "abc", "3", Period::Month, "请输入计划每次金额", RefusalFocus::Text5},
        {QDate(2010, 1, 1), "-5", "3", Period::Month, "请输入计划每次金额", RefusalFocus::Text5},
        {QDate(2010, 1, 1), "5", "0", Period::Month, "请输入计划次数", RefusalFocus::Text6},
        {QDate(2010, 1, 1), "5", "-3", Period::Month, "请输入计划次数", RefusalFocus::Text6},
        {QDate(2010, 1, 1), "5", "0.4", Period::Month, "请输入计划次数", RefusalFocus::Text6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        const Generated g = 按长期合同({c.first, QString::fromUtf8(c.amount), QString::fromUtf8(c.count), c.step});
        if (g.ok()) {
            EXPECT_EQ(rowsOf(g), split(c.result));
        } else {
            EXPECT_EQ(g.refusal, QString::fromUtf8(c.result));
            EXPECT_TRUE(g.informationBox);
        }
        EXPECT_EQ(g.focus, c.focus);
    }
}

TEST(GeneratorPanel, OpeningRuleAndEnablingTable)
{
    const struct {
        const char* label;
        bool allModes;
    } openings[] = {{"10000", true}, {" 1234.5 ", true}, {"", false}, {"abc", false}, {"1,000", false}, {"12元", false}};
    for (const auto& o : openings) {
        const PanelOpening p = openingOnEmptyGrid(QString::fromUtf8(o.label));
        EXPECT_EQ(p.modesZeroToTwo, o.allModes) << o.label;
        EXPECT_EQ(p.forceLongTerm, !o.allModes) << o.label;
    }
    EXPECT_EQ(openingOnEmptyGrid(QStringLiteral("10000")).total, QStringLiteral("10000"));

    const struct {
        Mode mode;
        ModeSettings enabled;
    } table[] = {
        {Mode::Equal, {true, true, true, false, false, false}},
        {Mode::Ratio, {false, false, false, true, false, false}},
        {Mode::Period, {false, false, false, false, true, false}},
        {Mode::LongTerm, {false, false, false, false, false, true}},
    };
    for (const auto& t : table) EXPECT_EQ(settingsEnabledFor(t.mode), t.enabled) << int(t.mode);
}
