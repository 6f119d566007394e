#include <gtest/gtest.h>

#include "app/AmountInWords.h"

using namespace corvane;

namespace {

struct Case {
    const char* amount;
    const char* capitals;
};

void expectBothNames(const Case& c)
{
    const QString amount = QString::fromUtf8(c.amount);
    EXPECT_EQ(金额大写(amount), QString::fromUtf8(c.capitals)) << c.amount;
    EXPECT_EQ(金额大写2(amount), QString::fromUtf8(c.capitals)) << c.amount;
}

}  // namespace

TEST(AmountCapitals, AmountsAsCallersPassThem)
{
    const Case cases[] = {
        {"0.00", ""},
        {"0.01", "壹分"},
        {"0.05", "伍分"},
        {"0.10", "壹角"},
        {"0.50", "伍角"},
        {"1.00", "壹圆整"},
        {"1.05", "壹圆零伍分"},
        {"1.50", "壹圆伍角"},
        {"10.01", "壹拾圆零壹分"},
        {"10.50", "壹拾圆伍角"},
        {"60.00", "陆拾圆整"},
        {"100.05", "壹佰圆零伍分"},
        {"100.50", "壹佰圆伍角"},
        {"105.00", "壹佰零伍圆整"},
        {"1001.00", "壹仟零壹圆整"},
        {"1010.10", "壹仟零壹拾圆壹角"},
        {"10010.00", "壹万零壹拾圆整"},
        {"20000.30", "贰万圆叁角"},
        {"100000.00", "壹拾万圆整"},
        {"1000000.00", "壹佰万圆整"},
        {"1234567.89", "壹佰贰拾叁万肆仟伍佰陆拾柒圆捌角玖分"},
        {"100000000.00", "壹亿圆整"},
        {"100000001.00", "壹亿零壹圆整"},
        {"1000000000000.00", "壹万亿圆整"},
        {"-25.00", "贰拾伍圆整"},
    };
    for (const Case& c : cases)
        expectBothNames(c);
}

TEST(AmountCapitals, ZerosGroupsAndSmallestPlaces)
{
    const Case cases[] = {
        {"0.0001", "壹毫"},
        {"0.001", "壹厘"},
        {"0.0101", "壹分零壹毫"},
        {"0.1001", "壹角零壹毫"},
        {"1000.0001", "壹仟圆零壹毫"},
        {"100010000.00", "壹亿零壹万圆整"},
        {"100000010.00", "壹亿零壹拾圆整"},
        {"1000100000000.00", "壹万零壹亿圆整"},
        {"1001000000000.00", "壹万零壹拾亿圆整"},
        {"10000000.50", "壹仟万圆伍角"},
        {"999999999999999.9999", "玖佰玖拾玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分玖厘玖毫"},
    };
    for (const Case& c : cases)
        expectBothNames(c);
}

TEST(AmountCapitals, ReadsTheNumberAtTheStartOfTheText)
{
    const Case cases[] = {
        {"", ""},
        {"abc", ""},
        {"-", ""},
        {".", ""},
        {"1,234.00", "壹圆整"},
        {" 1 2 3 . 4 5 ", "壹佰贰拾叁圆肆角伍分"},
        {"\t-\n7", "柒圆整"},
        {"+8", "捌圆整"},
        {".5", "伍角"},
        {"12abc", "壹拾贰圆整"},
        {"1.5e2", "壹佰伍拾圆整"},
        {"25E-1", "贰圆伍角"},
        {"1e", "壹圆整"},
        {"0012.3", "壹拾贰圆叁角"},
        {"1.2.3", "壹圆贰角"},
    };
    for (const Case& c : cases)
        expectBothNames(c);
}

TEST(AmountCapitals, RoundsToTenThousandthsHalvesAwayFromZero)
{
    const Case cases[] = {
        {"0.00005", "壹毫"},
        {"0.00004999", ""},
        {"-0.00005", "壹毫"},
        {"0.99995", "壹圆整"},
        {"9.99999", "壹拾圆整"},
        {"1e-30", ""},
    };
    for (const Case& c : cases)
        expectBothNames(c);
}

TEST(AmountCapitals, AmountsBeyondTheUnitsGiveEmptyText)
{
    const Case cases[] = {
        {"1000000000000000", ""},
        {"999999999999999.99995", ""},
        {"1e15", ""},
        {"1e999999999999", ""},
        {"123456789012345678901234567890", ""},
    };
    for (const Case& c : cases)
        expectBothNames(c);
}
