// The receipt window's rules without a window: VAT arithmetic of a line, the
// rate look-up, the spreading of a total, the model text (规格型号) and the
// reading of a print window's hand-back.
#include <gtest/gtest.h>

#include "receipts/ReceiptRules.h"

namespace corvane::receipts {
namespace {

Decimal dec(const char* text) { return *leadingDecimal(QString::fromUtf8(text)); }

std::vector<RateEntry> rates()
{
    return {
        {"WY01", "物业服务费", "510101", "物业服务", dec("6"), "2221", "SK1", "物业管理服务"},
        {"JY01", "场地租金", "510201", "经营收入", dec("0"), "", "", ""},
        {"LOW", "低税率", "5103", "其他", dec("1.5"), "2223", "SK3", "低税"},
        {"WY01", "物业服务费", "999", "物业服务", dec("13"), "X", "X", "X"},  // a second row: never found
    };
}

InvoiceLine line(const char* qty, const char* price, const char* amount, const char* code = "WY01")
{
    InvoiceLine l;
    l.c[col::项目] = QStringLiteral("物业服务费");
    l.c[col::数量] = QString::fromUtf8(qty);
    l.c[col::单价] = QString::fromUtf8(price);
    l.c[col::金额] = QString::fromUtf8(amount);
    l.c[col::收费项目] = QString::fromUtf8(code);
    return l;
}

QStringList computed(const InvoiceLine& l)
{
    return {l.c[col::数量], l.c[col::单价], l.c[col::金额], l.c[col::税率], l.c[col::税额], l.c[col::不含税单价],
            l.c[col::不含税金额]};
}

TEST(ReceiptRules, LineNumbersReadTheLeadingNumberToTwelvePlaces)
{
    EXPECT_EQ(LineNumber::of(QStringLiteral("  -12.5abc")).fixed(2), "-12.50");
    EXPECT_EQ(LineNumber::of(QStringLiteral("abc")).fixed(2), "0.00");
    EXPECT_EQ(LineNumber::of(QString()).fixed(6), "0.000000");
    EXPECT_EQ(LineNumber::of(QStringLiteral("33.333333")).fixed(6), "33.333333");
    EXPECT_EQ(LineNumber::of(QStringLiteral("0.125")).fixed(2), "0.13");
    EXPECT_EQ(LineNumber::of(QStringLiteral("1.2.3")).fixed(2), "1.20");
    EXPECT_EQ(LineNumber::of(QStringLiteral("99999999999999999999999999999999")).isZero(), false);
}

TEST(ReceiptRules, RateLookUpTakesTheFirstExactCodeAndKeepsValuesWhenNotFound)
{
    CurrentItem cur;
    EXPECT_EQ(查找当前税率(rates(), QStringLiteral("WY01"), cur), dec("0.06"));
    EXPECT_EQ(cur.当前对应科目, "510101");
    EXPECT_EQ(cur.当前税控项目编号, "SK1");
    EXPECT_EQ(查找当前税率(rates(), QStringLiteral("LOW"), cur), dec("0.015"));
    EXPECT_EQ(查找当前税率(rates(), QStringLiteral("wy01"), cur), Decimal());
    EXPECT_EQ(cur.当前税控项目名称, "低税");  // kept from the last item found
}

TEST(ReceiptRules, LineComputations)
{
    struct Case {
        const char* name;
        InvoiceLine before;
        int computation;  // 0 pick, 1 A, 2 B
        QStringList after;  // 数量 单价 金额 税率 税额 不含税单价 不含税金额
    };
    const std::vector<Case> cases = {
        {"B: worked example", line("", "", "100.00"), 2,
         {"1", "100.000000", "100.00", "0.06", "5.66", "94.339623", "94.34"}},
        {"B: quantity 0 becomes 1", line("0", "5", "50"), 2,
         {"1", "50.000000", "50", "0.06", "2.83", "47.169811", "47.17"}},
        {"B: three units, price read back to six places", line("3", "", "100"), 2,
         {"3", "33.333333", "100", "0.06", "5.66", "31.446541", "94.34"}},
        {"A: quantity and price", line("2", "53", ""), 1,
         {"2", "53", "106.00", "0.06", "6.00", "50.000000", "100.00"}},
        {"A: 1.5 % shows 0.02, computes 0.015", line("1", "101.5", "", "LOW"), 1,
         {"1", "101.5", "101.50", "0.02", "1.50", "100.000000", "100.00"}},
        {"A: code no longer in the table", line("1", "100", "", "GONE"), 1,
         {"1", "100", "100.00", "0.00", "0.00", "100.000000", "100.00"}},
        {"pick on the prepared line", line("1", "100.00", "100.00"), 0,
         {"1", "100.00", "100.00", "0.06", "5.66", "94.339623", "94.34"}},
        {"pick with an empty price", line("1", "", ""), 0, {"1", "", "", "0.06", "0.00", "0.000000", "0.00"}},
        {"pick on three units records their tax", line("3", "106", "318"), 0,
         {"3", "106", "318", "0.06", "18.00", "100.000000", "300.00"}},
        {"pick of an item without setting", line("1", "100", "100", "JY01"), 0,
         {"1", "100", "100", "0.00", "0.00", "100.000000", "100.00"}},
    };
    for (const Case& c : cases) {
        InvoiceLine l = c.before;
        CurrentItem cur;
        switch (c.computation) {
        case 0: pickItem(l, QStringLiteral("项目"), l.c[col::收费项目], rates(), cur); break;
        case 1: computeFromQuantityAndPrice(l, rates(), cur); break;
        default: computeFromAmount(l, rates(), cur); break;
        }
        EXPECT_EQ(computed(l), c.after) << c.name;
    }
}

TEST(ReceiptRules, APickMarksTheLineAndCopiesTheCodes)
{
    InvoiceLine l = line("1", "100", "100", "");
    CurrentItem cur;
    pickItem(l, QStringLiteral("物业服务费"), QStringLiteral("WY01"), rates(), cur);
    EXPECT_EQ(l.mark, 1);
    EXPECT_EQ(l.c[col::项目], "物业服务费");
    EXPECT_EQ(l.c[col::收费项目], "WY01");
    EXPECT_EQ(l.c[col::对应科目], "510101");
    EXPECT_EQ(l.c[col::应税科目], "2221");
    EXPECT_EQ(l.c[col::税控编号], "SK1");
    EXPECT_EQ(l.c[col::税控名称], "物业管理服务");
    EXPECT_EQ(cur.当前税率, dec("0.06"));
}

TEST(ReceiptRules, VatRecomputationFromTheCurrentRate)
{
    CurrentItem cur;
    cur.当前税率 = dec("0.06");
    cur.当前税控项目编号 = QStringLiteral("SK1");
    cur.当前税控项目名称 = QStringLiteral("服务");
    InvoiceLine l = line("2", "50", "100.00");
    增值税计算(l, cur);
    EXPECT_EQ(computed(l), (QStringList{"2", "50", "100.00", "0.06", "5.66", "47.169811", "94.34"}));
    EXPECT_EQ(l.c[col::税控编号], "SK1");
    cur.当前税率 = dec("0.015");
    l = line("1", "x", "abc");
    增值税计算(l, cur);
    EXPECT_EQ(computed(l), (QStringList{"1", "x", "abc", "0.02", "0.00", "0.000000", "0.00"}));
}

TEST(ReceiptRules, TotalsSumLineByLine)
{
    std::vector<InvoiceLine> lines = {line("1", "", "100.00"), line("1", "", "50.5x"), line("", "", "")};
    lines[0].c[col::税额] = QStringLiteral("5.66");
    lines[1].c[col::税额] = QStringLiteral("2.86");
    const Totals t = totalsOf(lines);
    EXPECT_EQ(t.合计, "150.50");
    EXPECT_EQ(t.合计税额, "8.52");
    EXPECT_EQ(t.合计收入, "141.98");
    EXPECT_EQ(totalsOf({}).合计, "0.00");
}

TEST(ReceiptRules, SpreadingATotal)
{
    struct Case {
        const char* name;
        const char* total;
        std::vector<const char*> balances;
        QStringList expected;  // "*amount" marked, "" unmarked
    };
    const std::vector<Case> cases = {
        {"1000 over 300 500 400", "1000", {"300", "500", "400"}, {"*300.00", "*500.00", "*200.00"}},
        {"1200 gives every balance", "1200", {"300", "500", "400"}, {"*300.00", "*500.00", "*400.00"}},
        {"excess goes nowhere", "5000", {"300", "500", "400"}, {"*300.00", "*500.00", "*400.00"}},
        {"settled rows skipped", "400", {"0", "300", "500"}, {"", "*300.00", "*100.00"}},
        {"nothing marks the first open row", "0", {"0", "300", "500"}, {"", "*0.00", ""}},
        {"a negative balance adds to the rest", "100", {"-50", "120"}, {"*-50.00", "*120.00"}},
        {"stops where the total ends", "300", {"300", "500"}, {"*300.00", ""}},
    };
    for (const Case& c : cases) {
        std::vector<Decimal> balances;
        for (const char* b : c.balances) balances.push_back(dec(b));
        QStringList got;
        for (const Spread& s : spreadTotal(dec(c.total), balances)) got << (s.marked ? QLatin1Char('*') + s.amount : QString());
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(ReceiptRules, ModelTextForTheVatLine)
{
    const QString chinese30 = QString(30, QChar(0x6708));
    const QString digits45 = QString(45, QLatin1Char('7'));
    struct Case {
        QString in, out;
    };
    const std::vector<Case> cases = {
        {"101,102,103", "101,102,103"},
        {QString(40, QLatin1Char('x')), QString(40, QLatin1Char('x'))},
        {"101,102,103,104,105,106,107,108,109,110,112", "101-10,112"},
        {"101,103,105,107,109,111,113,115,117,119,121", QStringLiteral("101,103,105,107,109,111,113,115,117,119,121").left(40)},
        {digits45, digits45.left(40)},
        {chinese30, chinese30.left(20)},
        {"106,105,104,120,122,124,126,128,130,132,134", "106-04,120,122,124,126,128,130,132,134"},
        {"100,113,200,202,204,206,208,210,212,214,216", QStringLiteral("100-13,200,202,204,206,208,210,212,214,216").left(40)},
        {"201,202,203,204,205,206,207,208,209,210,211", "201-11"},
    };
    for (const Case& c : cases) EXPECT_EQ(规格型号处理(c.in), c.out) << qPrintable(c.in);
    EXPECT_EQ(displayWidth(QStringLiteral("a月")), 3);
}

TEST(ReceiptRules, HandBacksCountOnlyWithTheirRoadsFields)
{
    struct Case {
        const char* what;
        std::optional<BillHandBack> back;
        PrintRoad road;
        bool printed;
    };
    const std::vector<Case> cases = {
        {"VAT bill", BillHandBack{"B1", "00000012", 77}, PrintRoad::Vat, true},
        {"VAT bill id 0", BillHandBack{"B1", "00000012", 0}, PrintRoad::Vat, true},
        {"VAT without id", BillHandBack{"B1", "00000012", std::nullopt}, PrintRoad::Vat, false},
        {"VAT without book", BillHandBack{"", "00000012", 77}, PrintRoad::Vat, false},
        {"VAT without number", BillHandBack{"B1", "", 77}, PrintRoad::Vat, false},
        {"custom bill", BillHandBack{"B1", "00000012", std::nullopt}, PrintRoad::Custom, true},
        {"custom bill with id", BillHandBack{"B1", "00000012", 77}, PrintRoad::Custom, true},
        {"custom without number", BillHandBack{"B1", "", std::nullopt}, PrintRoad::Custom, false},
        {"custom without book", BillHandBack{"", "00000012", std::nullopt}, PrintRoad::Custom, false},
        {"nothing on VAT", std::nullopt, PrintRoad::Vat, false},
        {"nothing on custom", std::nullopt, PrintRoad::Custom, false},
    };
    for (const Case& c : cases) EXPECT_EQ(isPrinted(c.back, c.road), c.printed) << c.what;
}

TEST(ReceiptRules, SettingsFileFirstField)
{
    EXPECT_EQ(firstField(QStringLiteral("  01 增值税普通发票,x\r\nnext")), "01 增值税普通发票");
    EXPECT_EQ(firstField(QStringLiteral("\"01 增值税普通发票\",2")), "01 增值税普通发票");
    EXPECT_EQ(firstField(QString()), "");
}

TEST(ReceiptRules, StoredLinesWriteNullForEmptyTextsAndLeadingNumbers)
{
    InvoiceLine l = line("2件", "", "100.5元");
    const StoredLine s = storedLine(l);
    EXPECT_TRUE(s.摘要.isNull());
    EXPECT_EQ(s.项目.toString(), "物业服务费");
    EXPECT_EQ(s.数量.fixed(6), "2.000000");
    EXPECT_EQ(s.单价.fixed(6), "0.000000");
    EXPECT_EQ(s.金额.fixed(2), "100.50");
}

}  // namespace
}  // namespace corvane::receipts
