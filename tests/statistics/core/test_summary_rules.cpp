#include <gtest/gtest.h>

#include "app/Decimal.h"
#include "statistics/StatisticsQuery.h"
#include "statistics/StatisticsRules.h"

namespace corvane::statistics {

namespace {

QStringList cellsOf(const SummaryLine& l)
{
    return QStringList(l.cells.begin(), l.cells.end());
}

}  // namespace

TEST(SummaryBlock, NumbersGroupsAndTotalsTheShownTexts)
{
    const auto lines = summaryBlock(kPaymentCategory, false,
                                    {{"D1 总部", "D1", false, 2, 10050}, {"", "", true, 3, std::nullopt}});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(cellsOf(lines[0]), QStringList({"1", "付款合同", "D1 总部", "2", "100.50", ""}));
    EXPECT_EQ(cellsOf(lines[1]), QStringList({"2", "付款合同", "", "3", "", ""}));
    EXPECT_TRUE(lines[1].valueNull);
    EXPECT_EQ(cellsOf(lines[2]), QStringList({"", "付款合同", "合计 ", "5", "100.50", ""}));
    EXPECT_TRUE(lines[2].total);
}

TEST(SummaryBlock, TotalRowRules)
{
    struct Case {
        bool receipt;
        std::vector<SummaryGroup> groups;
        bool total;
    } cases[] = {
        {true, {}, false},
        {false, {}, false},
        {true, {{"a", "a", false, 1, 0}}, false},                              // receipts adding up to 0
        {true, {{"a", "a", false, 1, 500}, {"b", "b", false, 1, -500}}, false},
        {true, {{"a", "a", false, 1, 1}}, true},
        {false, {{"a", "a", false, 1, 0}}, true},                              // payments: whenever rows
        {false, {{"a", "a", false, 1, std::nullopt}}, true},
    };
    for (const Case& c : cases) {
        const auto lines = summaryBlock(c.receipt ? kReceiptCategory : kPaymentCategory, c.receipt, c.groups);
        EXPECT_EQ(lines.size(), c.groups.size() + (c.total ? 1 : 0));
    }
}

// The list's plain amounts are Decimal's plain texts, made without it.
TEST(Texts, PlainAmountsAreDecimalsPlainTexts)
{
    for (const qint64 cents : {0LL, 1LL, 10LL, 100LL, 101LL, 110LL, 1000LL, 100000LL, 100050LL, 100005LL, -1LL, -10LL,
                               -100LL, -150LL, -100005LL, 999999999999999LL, -999999999999999LL})
        EXPECT_EQ(plainAmountText(cents), Decimal::fromCents(cents).plain()) << cents;
}

TEST(Texts, AmountsDatesAndChosenLists)
{
    EXPECT_EQ(plainAmountText(150000), QStringLiteral("1500"));
    EXPECT_EQ(plainAmountText(150050), QStringLiteral("1500.5"));
    EXPECT_EQ(plainAmountText(-1), QStringLiteral("-0.01"));
    EXPECT_EQ(plainAmountText(std::nullopt), QString());
    EXPECT_EQ(amountText(5), QStringLiteral("0.05"));
    EXPECT_EQ(dayText("2026-03-01 12:30:00"), QStringLiteral("2026-03-01"));
    EXPECT_EQ(dateDefaultText("2026-03-01 00:00:00"), QStringLiteral("2026-03-01"));
    EXPECT_EQ(dateDefaultText("2026-03-01 12:30:00"), QStringLiteral("2026-03-01 12:30:00"));
    EXPECT_EQ(chosenList({"履行中", "签约完成"}).boxText, QStringLiteral("履行中,签约完成   "));
    EXPECT_EQ(chosenList({}).boxText, QStringLiteral("   "));
    EXPECT_EQ(chosenList({"O'Neil"}).values, QStringList({"O'Neil"}));
}

TEST(Texts, InstalmentRows)
{
    InstalmentValues v;
    v.number = "HT-1";
    v.effective = "2026-01-01";
    v.contractAmount = 1000000;
    v.planned = "2026-03-01 00:00:00";
    v.plannedAmount = 150000;
    v.storedBalance = 150000;
    v.instalmentSettled = 50000;
    const auto receipt = instalmentTexts(true, v);
    EXPECT_EQ(receipt[6], QStringLiteral("10000"));
    EXPECT_EQ(receipt[7], QString());  // nothing settled: empty, not 0
    EXPECT_EQ(receipt[8], QStringLiteral("2026-03-01"));
    EXPECT_EQ(receipt[10], QStringLiteral("1000"));  // planned less received
    EXPECT_EQ(instalmentTexts(false, v)[10], QStringLiteral("1500"));  // the stored balance
}

TEST(Queries, EveryValueIsBoundAndDaysAreWhole)
{
    SummaryCriteria c;
    c.types = {"T1"};
    c.departments = {"D1", "D2"};
    c.states = {"履行中"};
    c.counterparties = QStringList{"O'Neil"};
    c.end = DateRange{QDate(2026, 1, 1), QDate(2026, 1, 31)};
    const SqlText q = summaryQuery(Dialect::PostgreSQL, c, kReceiptCategory);
    EXPECT_FALSE(q.sql.contains(u'\''));
    EXPECT_EQ(q.sql.count(u'?'), q.values.size());
    EXPECT_TRUE(q.values.contains(QVariant(QDate(2026, 2, 1))));  // before the day after the last
    const SqlText d = detailQuery(Dialect::SQLite, c, {false, "", true}, kPaymentCategory);
    EXPECT_TRUE(d.sql.contains(QStringLiteral("合同信息.对应部门 IS NULL")));
    EXPECT_EQ(d.sql.count(u'?'), d.values.size());
    const SqlText i = instalmentQuery(Dialect::SQLite, false, {"D1"}, QDate(2026, 1, 1), QDate(2026, 1, 1));
    EXPECT_EQ(i.sql.count(u'?'), i.values.size());
    EXPECT_EQ(groupingOfHeader(groupingHeader(Grouping::Counterparty)), Grouping::Counterparty);
}

}  // namespace corvane::statistics
