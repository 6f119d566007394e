#include <gtest/gtest.h>

#include "platform/Amounts.h"

using namespace corvane;

TEST(Amounts, TypedAndStoredAmountsAreReadInTheProgramOrRefused)
{
    const struct {
        const char* text;
        std::optional<qint64> cents;
    } cases[] = {
        {"1234.5", 123450},        {" 12 ", 1200},           {"0.005", 1},   {"-0.005", -1}, {"-12.345", -1235},
        {".5", 50},                {"9999999999999999.99", 999999999999999999LL},
        {"", std::nullopt},        {"abc", std::nullopt},    {"1e3", std::nullopt}, {"1,234", std::nullopt},
        {"12.3.4", std::nullopt},  {"-", std::nullopt},      {".", std::nullopt},
        {"10000000000000000", std::nullopt},  // seventeen digits do not fit DECIMAL(18,2)
        {"00000000000000000012.5", 1250},     // leading zeros take no room
        {"123456789012345678901234", std::nullopt},  // would overflow a 64-bit count of hundredths
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseCents(QString::fromUtf8(c.text)), c.cents) << c.text;
        // A database that hands the amount back as text is read by the same rule.
        if (*c.text) { EXPECT_EQ(centsOf(QString::fromUtf8(c.text)), c.cents) << c.text; }
    }
}

TEST(Amounts, TypedAmountsAreTakenAsTypedOrRefused)
{
    const struct {
        const char* text;
        std::optional<qint64> cents;
    } cases[] = {
        {"1234.5", 123450},
        {" -12.34 ", -1234},
        {"9999999999999.99", 999999999999999LL},    // thirteen digits: kept exactly on every engine
        {"-9999999999999.99", -999999999999999LL},
        {"00000000000001234.56", 123456},          // leading zeros take no room
        {"123456.789", std::nullopt},              // a third decimal would be rounded away
        {"0.005", std::nullopt},
        {"1.230", std::nullopt},
        {"12345678901234.56", std::nullopt},       // fourteen digits: SQLite would keep a float
        {"10000000000000", std::nullopt},
        {"9999999999999999.99", std::nullopt},
        {"", std::nullopt},
        {"12万", std::nullopt},
        {"1.2.3", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseTypedCents(QString::fromUtf8(c.text)), c.cents) << c.text;
}

// SQLite hands DECIMAL back as a binary double: each reads as its shortest
// text would, whole hundredths and halves alike.
TEST(Amounts, StoredDoublesReadAsTheirShortestText)
{
    for (const double v : {1234.56, 0.1 + 0.2, 0.285, -0.005, 1e-9, 99999999999.99, -42.0, 0.0, 2.675, 123456789012.345,
                           1e15 + 0.25, 5e-3, 79999.995})
        EXPECT_EQ(centsOf(v), parseCents(QString::number(v, 'g', 15).contains(QLatin1Char('e'))
                                             ? QString::number(v, 'f', 6)
                                             : QString::number(v, 'g', 15)))
            << v;
}
