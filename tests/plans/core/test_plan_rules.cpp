#include <gtest/gtest.h>

#include "plans/PlanRules.h"

using namespace corvane;
using namespace corvane::plans;

TEST(PlanRules, WhatReadsAsADate)
{
    const struct {
        const char* text;
        QDate date;
    } cases[] = {
        {"2009-01-08", QDate(2009, 1, 8)}, {"2009-01-5", QDate(2009, 1, 5)}, {"2009/1/5", QDate(2009, 1, 5)},
        {" 2024-02-29 ", QDate(2024, 2, 29)}, {"2024-02-30", QDate()}, {"2009-13-01", QDate()},
        {"2009-01/05", QDate()}, {"20090108", QDate()}, {"", QDate()}, {"2009-01-", QDate()},
        {"2009-001-05", QDate()}, {"abcd-01-05", QDate()},
    };
    for (const auto& c : cases) EXPECT_EQ(readDate(QString::fromUtf8(c.text)).value_or(QDate()), c.date) << c.text;
}

TEST(PlanRules, StoredAmountsShowPlain)
{
    EXPECT_EQ(storedAmountText(100000), QStringLiteral("1000"));
    EXPECT_EQ(storedAmountText(100050), QStringLiteral("1000.5"));
    EXPECT_EQ(storedAmountText(1), QStringLiteral("0.01"));
    EXPECT_EQ(storedAmountText(-250), QStringLiteral("-2.5"));
    EXPECT_EQ(storedAmountText(std::nullopt), QString());
}

TEST(PlanRules, TheFirstBadCellIsNamedBeforeAnythingIsSaved)
{
    const PlanCaptions captions{QStringLiteral("收款日期"), QStringLiteral("收款金额"), QStringLiteral("余额")};
    const PlanGridRow good{QStringLiteral("2009-01-5"), QStringLiteral("1000"), QString(), QStringLiteral("验收后"),
                           QStringLiteral("7")};
    const struct {
        PlanGridRow bad;
        const char* refusal;
    } cases[] = {
        {{QStringLiteral("2009-02-30"), QStringLiteral("1"), QStringLiteral("1"), {}, {}}, "第2行的收款日期不正确！"},
        {{QStringLiteral("2009-02-01"), QStringLiteral("1,000"), QStringLiteral("1"), {}, {}}, "第2行的收款金额不正确！"},
        {{QStringLiteral("2009-02-01"), QStringLiteral("12abc"), QStringLiteral("1"), {}, {}}, "第2行的收款金额不正确！"},
        {{QStringLiteral("2009-02-01"), QStringLiteral("1.005"), QStringLiteral("1"), {}, {}}, "第2行的收款金额不正确！"},
        {{QStringLiteral("2009-02-01"), QStringLiteral("1"), QStringLiteral("x"), {}, {}}, "第2行的余额不正确！"},
        {{QString(), QString(), QString(), {}, {}}, ""},
    };
    for (const auto& c : cases) {
        const CheckedPlan checked = checkPlan({good, c.bad, {QStringLiteral("bad"), {}, {}, {}, {}}}, captions);
        if (*c.refusal) {
            EXPECT_EQ(checked.refusal, QString::fromUtf8(c.refusal));
            EXPECT_TRUE(checked.rows.empty());
        } else {
            EXPECT_EQ(checked.refusal, QStringLiteral("第3行的收款日期不正确！"));
        }
    }
    const CheckedPlan ok = checkPlan({good, {QString(), QString(), QString(), QString(), QString()}}, captions);
    ASSERT_TRUE(ok.refusal.isEmpty());
    ASSERT_EQ(ok.rows.size(), 2u);
    EXPECT_EQ(ok.rows[0].date, QDate(2009, 1, 5));
    EXPECT_EQ(ok.rows[0].amount, 100000);
    EXPECT_FALSE(ok.rows[0].balance.has_value());
    EXPECT_EQ(ok.rows[0].id, 7);
    EXPECT_FALSE(ok.rows[1].date.has_value());
    EXPECT_FALSE(ok.rows[1].id.has_value());
}

TEST(PlanRules, TheEditFrameIsHeldToTheSavesAmountRule)
{
    const PlanCaptions captions{QStringLiteral("付款日期"), QStringLiteral("付款金额"), QStringLiteral("余额")};
    const struct {
        const char *amount, *balance, *refused;
    } cases[] = {
        {"1200", "1200", ""},     {"1200.5", "", ""},          {" 1200 ", "0", ""},   {"-10", "-10", ""},
        {"abc", "abc", "付款金额"}, {"1,000", "1000", "付款金额"}, {"12abc", "", "付款金额"}, {"1200", "x", "余额"},
        {"1200", "1.2.3", "余额"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unreadableTypedAmount(QString::fromUtf8(c.amount), QString::fromUtf8(c.balance), captions).value_or(QString()),
                  QString::fromUtf8(c.refused))
            << c.amount << " / " << c.balance;
}
