#include <gtest/gtest.h>

#include <QDateTime>

#include "contracts/ContractFormats.h"
#include "contracts/ContractGridFormats.h"

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

// The list keeps amounts, dates and flags as values in the grid; every cell
// must read exactly as the text the list used to store.
TEST(Formats, AGridShowsValuesWithTheSameTexts)
{
    using Fill = void (*)(FlexGridFill&, int, const QVariant&);
    using Text = QString (*)(const QVariant&);
    struct Kind {
        int kind;
        Fill fill;
        Text text;
        QVariantList values;
    } kinds[] = {
        {flexKindAmount, fillAmount, amountText,
         {QVariant(), "1234.5", 0.285, "-0.005", "0.004", 12, "abc", " 7 ", "-1234567890123456.78", 1e20, 0, QString()}},
        {flexKindDate, fillDate, dateText,
         {QVariant(), "2026-01-02", "2026-01-02 00:00:00", "2026-01-02T08:05:06", "2026-01-02 23:59:59",
          "2026-02-30", "2026-01-02 25:00:00", "2026/01/02", " 2026-01-02", "2026-01-02 08:05", "not a date", "",
          QDate(2026, 1, 2), QDateTime(QDate(2026, 1, 2), QTime(0, 0)), QDateTime(QDate(1999, 12, 31), QTime(7, 8, 9)),
          QDate(), "0000-01-01", "9999-12-31 12:00:00"}},
        {flexKindFlag, fillFlag, flagText, {QVariant(), 0, 1, 2, -1, "1", "0", true, false}},
    };
    for (const Kind& k : kinds) {
        FlexGrid g;
        g.setCols(2);
        g.setColKind(1, k.kind);
        {
            FlexGridFill fill(g);
            for (const QVariant& v : k.values) {
                fill.row();
                k.fill(fill, 1, v);
            }
        }
        ASSERT_EQ(g.Rows(), int(k.values.size()) + 1);
        for (int i = 0; i < int(k.values.size()); ++i)
            EXPECT_EQ(g.TextMatrix(i + 1, 1), k.text(k.values[i])) << "kind " << k.kind << ": " << k.values[i].toString().toStdString();
    }
}
