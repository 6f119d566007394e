#include <gtest/gtest.h>

#include <QDateTime>

#include "contracts/ContractFormats.h"

using namespace corvane;
using namespace corvane::contract;

TEST(Formats, AmountsDatesAndFlags)
{
    struct Case {
        QVariant in;
        const char* out;
    } amounts[] = {{QVariant(), ""},         {"1234.5", "1234.50"}, {0.285, "0.29"},   {"-0.005", "-0.01"},
                   {"0.004", "0.00"},        {12, "12.00"},         {"abc", ""},       {" 7 ", "7.00"}};
    for (const Case& c : amounts) EXPECT_EQ(amountText(c.in), QString::fromUtf8(c.out)) << c.in.toString().toStdString();
    EXPECT_EQ(amountTextNoLeadingZero(0), QStringLiteral(".00"));
    EXPECT_EQ(amountTextNoLeadingZero(-50), QStringLiteral("-.50"));
    EXPECT_EQ(dateText("2026-01-02"), QStringLiteral("2026-01-02"));
    EXPECT_EQ(dateText("2026-01-02 00:00:00"), QStringLiteral("2026-01-02"));
    EXPECT_EQ(dateText("2026-01-02T08:05:06"), QStringLiteral("2026-01-02 08:05:06"));
    EXPECT_EQ(dateText(QDateTime(QDate(2026, 1, 2), QTime(0, 0))), QStringLiteral("2026-01-02"));
    EXPECT_EQ(dateText(QVariant()), QString());
    EXPECT_EQ(flagText(QVariant()), QString());
    EXPECT_EQ(flagText(0), QStringLiteral("False"));
    EXPECT_EQ(leadingNumber(" -12abc"), -12);
    EXPECT_EQ(leadingNumber("1.5"), 1.5);
    EXPECT_EQ(leadingNumber("abc"), 0);
}
