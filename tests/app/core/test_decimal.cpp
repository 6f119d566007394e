#include <gtest/gtest.h>

#include "app/Decimal.h"

using namespace corvane;

namespace {
QString leadingPlain(const char* text)
{
    const auto d = leadingDecimal(QString::fromUtf8(text));
    return d ? d->plain() : QStringLiteral("<none>");
}
}  // namespace

TEST(Decimal, ReadsTheNumberATextBeginsWith)
{
    const struct {
        const char* text;
        const char* value;
    } cases[] = {
        {"", "0"},           {"abc", "0"},        {"  12abc", "12"},    {"-3.5x", "-3.5"},   {"+7", "7"},
        {".5", "0.5"},       {"5.", "5"},         {"1.2.3", "1.2"},     {"1,000", "1"},      {" - 3", "0"},
        {"\t42", "42"},      {"0.12345", "0.1235"}, {"-0.00005", "-0.0001"}, {"1e5", "1"},   {"-", "0"},
        {"99999999999999.9999", "99999999999999.9999"}, {"100000000000000", "<none>"},
        {"00000000000000000001", "1"},
    };
    for (const auto& c : cases) EXPECT_EQ(leadingPlain(c.text), QString::fromUtf8(c.value)) << c.text;
}

TEST(Decimal, PlainNumbersOnly)
{
    const struct {
        const char* text;
        const char* value;
    } cases[] = {
        {"30", "30"}, {" 12.5 ", "12.5"}, {"-1", "-1"}, {"", nullptr}, {"3a", nullptr}, {"1.2.3", nullptr},
        {".", nullptr}, {"1.23456", nullptr}, {"1,0", nullptr}, {"1.2345", "1.2345"},
    };
    for (const auto& c : cases) {
        const auto d = plainDecimal(QString::fromUtf8(c.text));
        if (!c.value) { EXPECT_FALSE(d.has_value()) << c.text; }
        else EXPECT_EQ(d ? d->plain() : QString(), QString::fromUtf8(c.value)) << c.text;
    }
}

TEST(Decimal, RoundsOnceFromTheExactValue)
{
    const auto q = [](const char* n, qint64 d, int places, Rounding r) {
        return Decimal::quotient(*leadingDecimal(QString::fromUtf8(n)), d, places, r)->fixed(places);
    };
    const auto even = Rounding::HalfToEven;
    const auto away = Rounding::HalfAwayFromZero;
    EXPECT_EQ(q("10000", 3, 0, even), "3333");
    EXPECT_EQ(q("10", 4, 0, even), "2");       // 2.5 to the even neighbour
    EXPECT_EQ(q("14", 4, 0, even), "4");       // 3.5
    EXPECT_EQ(q("0.125", 1, 2, even), "0.12");
    EXPECT_EQ(q("0.375", 1, 2, even), "0.38");
    EXPECT_EQ(q("0.125", 1, 2, away), "0.13");
    EXPECT_EQ(q("-0.125", 1, 2, away), "-0.13");
    EXPECT_EQ(q("-10", 4, 0, even), "-2");
    EXPECT_EQ(q("1000", 12, 2, away), "83.33");
    EXPECT_EQ(q("2", 3, 2, away), "0.67");
    // 1/3 of 0.0001 is below what is kept, yet its rounding is exact.
    EXPECT_EQ(q("0.0001", 3, 4, away), "0.0000");
    EXPECT_FALSE(Decimal::quotient(Decimal::whole(1), 0, 2, away).has_value());

    const auto pct = [](const char* total, const char* share) {
        return Decimal::scaled(*leadingDecimal(QString::fromUtf8(total)), *leadingDecimal(QString::fromUtf8(share)), 100,
                               2, Rounding::HalfAwayFromZero)
            ->fixed(2);
    };
    EXPECT_EQ(pct("10000", "30"), "3000.00");
    EXPECT_EQ(pct("0.05", "50"), "0.03");   // 0.025 halves away from zero
    EXPECT_EQ(pct("333.33", "33.3333"), "111.11");
    EXPECT_EQ(pct("99999999999999", "100"), "99999999999999.00");
}

TEST(Decimal, ShowsZeroPointZeroZeroHashAndPlainForms)
{
    const struct {
        const char* text;
        const char* fixed2;
        const char* hash;
        const char* plain;
    } cases[] = {
        {"1000", "1000.00", "1000.00", "1000"},     {"1000.5", "1000.50", "1000.50", "1000.5"},
        {"0.5", "0.50", ".50", "0.5"},             {"0", "0.00", ".00", "0"},
        {"-0.5", "-0.50", "-.50", "-0.5"},         {"2.345", "2.35", "2.35", "2.345"},
        {"-2.345", "-2.35", "-2.35", "-2.345"},    {"0.004", "0.00", ".00", "0.004"},
        {"-0.004", "0.00", ".00", "-0.004"},
    };
    for (const auto& c : cases) {
        const Decimal d = *leadingDecimal(QString::fromUtf8(c.text));
        EXPECT_EQ(d.fixed(2), QString::fromUtf8(c.fixed2)) << c.text;
        EXPECT_EQ(d.hashFixed2(), QString::fromUtf8(c.hash)) << c.text;
        EXPECT_EQ(d.plain(), QString::fromUtf8(c.plain)) << c.text;
    }
}
