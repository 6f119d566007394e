#include <gtest/gtest.h>

#include <QSet>

#include "plans/ExpiryRules.h"

using namespace corvane;
using namespace corvane::plans;

TEST(ExpiryRules, EveryCategoryButExpiryStopsTheContract)
{
    const QStringList categories = terminationCategories();
    ASSERT_EQ(categories.size(), 8);
    EXPECT_EQ(stateAfterEnding(QStringLiteral("合同到期")), QStringLiteral("履行完成"));
    for (int i = 1; i < categories.size(); ++i) EXPECT_EQ(stateAfterEnding(categories[i]), QStringLiteral("中止"));
    EXPECT_EQ(penaltyHandlings(), (QStringList{"无", "收取违约金", "支付违约金"}));
}

TEST(ExpiryRules, DatesBefore1978StandForNoDate)
{
    const struct {
        QDate date;
        bool entered;
        bool penaltyStored;
    } cases[] = {
        {kNoDate, false, false},
        {QDate(1977, 12, 31), false, false},
        {QDate(1978, 1, 1), true, false},
        {QDate(1978, 1, 2), true, true},
        {QDate(2026, 12, 10), true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isEnteredDate(c.date), c.entered) << c.date.toString().toStdString();
        EXPECT_EQ(storedPenaltyDate(c.date).has_value(), c.penaltyStored) << c.date.toString().toStdString();
    }
}

TEST(ExpiryRules, RenewalNumbersStepOnWhileTakenAndEndAtSevenDigits)
{
    EXPECT_EQ(renewalNumber(2024, 1), QStringLiteral("2024-0000001"));
    EXPECT_EQ(renewalNumber(2024, 9999999), QStringLiteral("2024-9999999"));

    const struct {
        qint64 highest;
        QSet<QString> taken;
        RenewalNumber::Kind kind;
        QString number;
    } cases[] = {
        {0, {}, RenewalNumber::Free, "2024-0000001"},
        {-5, {}, RenewalNumber::Free, "2024-0000001"},
        {41, {}, RenewalNumber::Free, "2024-0000042"},
        {41, {"2024-0000042", "2024-0000043"}, RenewalNumber::Free, "2024-0000044"},
        // Past 32767, where a 16-bit serial would have wrapped.
        {32767, {}, RenewalNumber::Free, "2024-0032768"},
        {9999998, {}, RenewalNumber::Free, "2024-9999999"},
        {9999998, {"2024-9999999"}, RenewalNumber::Exhausted, ""},
        {9999999, {}, RenewalNumber::Exhausted, ""},
    };
    for (const auto& c : cases) {
        const RenewalNumber n = firstFreeRenewalNumber(
            2024, c.highest, [&](const QString& number) -> std::optional<bool> { return c.taken.contains(number); });
        EXPECT_EQ(n.kind, c.kind) << c.highest;
        EXPECT_EQ(n.number, c.number) << c.highest;
        if (n.kind == RenewalNumber::Free) { EXPECT_EQ(renewalNumber(2024, n.serial), n.number); }
    }
    const RenewalNumber unknown = firstFreeRenewalNumber(2024, 0, [](const QString&) { return std::nullopt; });
    EXPECT_EQ(unknown.kind, RenewalNumber::Unknown);
}

TEST(ExpiryRules, RenewalEndDateAddsThePeriodClampingToTheMonthsEnd)
{
    const struct {
        QDate start;
        std::optional<qint64> period;
        const char* unit;
        QDate end;
    } cases[] = {
        {QDate(2024, 3, 31), 6, "月", QDate(2024, 9, 30)},
        {QDate(2024, 2, 29), 1, "年", QDate(2025, 2, 28)},
        {QDate(2024, 1, 1), 30, "日", QDate(2024, 1, 31)},
        {QDate(2024, 1, 31), 1, "月", QDate(2024, 2, 29)},
        {QDate(2024, 1, 1), 0, "年", QDate(2024, 1, 1)},
        {QDate(2024, 1, 1), std::nullopt, "年", QDate()},
        {QDate(2024, 1, 1), 3, "周", QDate()},
        {QDate(2024, 1, 1), 3, "", QDate()},
        {QDate(2024, 1, 1), 100000000, "日", QDate()},
    };
    for (const auto& c : cases) {
        const auto end = renewalEndDate(c.start, c.period, QString::fromUtf8(c.unit));
        EXPECT_EQ(end.value_or(QDate()), c.end) << c.unit << c.period.value_or(-1);
    }
}

TEST(ExpiryRules, ReminderDaysAndCutOff)
{
    const QDate today(2026, 12, 10);
    const struct {
        const char* text;
        std::optional<int> saved;
        QDate cutOff;
    } cases[] = {
        {"60", 60, QDate(2027, 2, 8)},
        {"0", 0, today},
        {" 7 ", 7, QDate(2026, 12, 17)},
        {"36500", 36500, today.addDays(36500)},
        {"36501", std::nullopt, today.addDays(36501)},
        {"", std::nullopt, today},
        {"abc", std::nullopt, today},
        {"12abc", std::nullopt, QDate(2026, 12, 22)},
        {"-1", std::nullopt, QDate(2026, 12, 9)},
        {"1.5", std::nullopt, QDate(2026, 12, 11)},
        {"99999999999", std::nullopt, today.addDays(3000000)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(savedReminderDays(QString::fromUtf8(c.text)), c.saved) << c.text;
        EXPECT_EQ(reminderCutOff(today, QString::fromUtf8(c.text)), c.cutOff) << c.text;
    }
}
