#include <gtest/gtest.h>

#include "contracts/ContractRecordRules.h"

using namespace corvane::contract;

TEST(RecordRules, DatesAreYearMonthDay)
{
    EXPECT_EQ(parseDateText("2026-01-02"), QDate(2026, 1, 2));
    EXPECT_EQ(parseDateText("2026/1/2"), QDate(2026, 1, 2));
    EXPECT_EQ(parseDateText("2024-02-29"), QDate(2024, 2, 29));
    for (const char* bad : {"", "2023-02-29", "2020-02-30", "02-01-2026", "2026-01", "2026-01/02", "明天"})
        EXPECT_EQ(parseDateText(QString::fromUtf8(bad)), std::nullopt) << bad;
}

TEST(RecordRules, LastDayOfMonthFollowsTheGregorianCalendar)
{
    EXPECT_EQ(lastDayOfMonthText(2024, 2), "29");
    EXPECT_EQ(lastDayOfMonthText(2023, 2), "28");
    EXPECT_EQ(lastDayOfMonthText(2000, 2), "29");
    EXPECT_EQ(lastDayOfMonthText(1900, 2), "28");  // divisible by four, not a leap year
    EXPECT_EQ(lastDayOfMonthText(2100, 2), "28");
    EXPECT_EQ(lastDayOfMonthText(2021, 4), "30");
    EXPECT_EQ(lastDayOfMonthText(2021, 12), "31");
    EXPECT_EQ(lastDayOfMonthText(2021, 13), "");
}

TEST(RecordRules, RenewalTermKeepsTheNumberOfMonths)
{
    const struct {
        const char *start, *end, *expectedEnd;
    } cases[] = {
        {"2020-01-01", "2020-12-31", "2021-12-31"},
        {"2020-03-15", "2021-03-14", "2022-03-14"},
        {"2021-01-01", "2021-02-28", "2021-04-30"},
        {"2021-03-01", "2021-03-31", "2021-04-30"},
        {"2019-12-31", "2020-01-30", "2020-02-30"},  // not a date: the save refuses it
        {"2099-11-01", "2099-12-31", "2100-02-28"},  // 2100 is no leap year
    };
    for (const auto& c : cases) {
        const QDate newStart = *parseDateText(c.end);
        EXPECT_EQ(renewalEndText(c.start, c.end, shortDateText(newStart.addDays(1))), QString::fromUtf8(c.expectedEnd))
            << c.start << " " << c.end;
    }
    EXPECT_EQ(renewalEndText("", "2020-12-31", "2021-01-01"), std::nullopt);
}

TEST(RecordRules, TermCountsBothEnds)
{
    EXPECT_EQ(termDays(QDate(2020, 1, 1), QDate(2020, 12, 31)), 366);
    EXPECT_EQ(termDays(QDate(2020, 1, 1), QDate(2020, 1, 1)), 1);
    EXPECT_EQ(termDays(QDate(2020, 1, 2), QDate(2020, 1, 1)), 0);
    EXPECT_EQ(termDays(QDate(2020, 1, 5), QDate(2020, 1, 1)), -3);
}
