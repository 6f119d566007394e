// The payment rules that need no database: due instalments, 分摊, the form
// number, budget periods and balance, the picture reduction and the picker's tree.

#include <gtest/gtest.h>

#include "payments/PaymentRules.h"

namespace corvane::payments {
namespace {

Decimal d(const char* text) { return *plainDecimal(QString::fromUtf8(text)); }

TEST(PaymentRules, AnInstalmentFallsDueInItsMonthOrEarlier)
{
    const QDate today(2026, 12, 10);
    struct Case {
        std::optional<QDate> due;
        bool expected;
    } cases[] = {
        {QDate(2026, 12, 31), true},  // later day, same month
        {QDate(2026, 11, 30), true},
        {QDate(2025, 12, 31), true},
        {QDate(2027, 1, 1), false},
        {std::nullopt, true},  // no date reads as the empty text, never later
    };
    for (const Case& c : cases) EXPECT_EQ(fallsDue(c.due, today), c.expected) << (c.due ? c.due->toString().toStdString() : "none");
    EXPECT_FALSE(chosenByRefresh(QDate(2026, 1, 1), today, Decimal()));
    EXPECT_TRUE(chosenByRefresh(QDate(2026, 1, 1), today, d("-5.00")));  // overpaid counts as outstanding
}

TEST(PaymentRules, ApportionSpreadsATotalInGridOrder)
{
    struct Case {
        std::vector<const char*> outstanding;
        const char* total;
        std::vector<std::optional<const char*>> shares;  // none: not chosen
    } cases[] = {
        {{"100", "100", "100"}, "150", {"100", "50", std::nullopt}},
        {{"100", "0", "100"}, "150", {"100", std::nullopt, "50"}},
        {{"100", "100"}, "200", {"100", "100"}},  // the last row takes what remains
        {{"100", "100"}, "250", {"100", "100"}},  // excess left unassigned
        // A negative outstanding amount is put on its row and carried on.
        {{"-20", "100", "100"}, "150", {"-20", "100", "70"}},
        {{}, "10", {}},
    };
    for (const Case& c : cases) {
        std::vector<Decimal> outstanding;
        for (const char* o : c.outstanding) outstanding.push_back(d(o));
        const auto shares = apportion(outstanding, d(c.total));
        ASSERT_EQ(shares.size(), c.shares.size());
        for (size_t i = 0; i < shares.size(); ++i) {
            EXPECT_EQ(shares[i].chosen, c.shares[i].has_value()) << c.total << " row " << i;
            if (c.shares[i]) { EXPECT_EQ(shares[i].amount, d(*c.shares[i])) << c.total << " row " << i; }
        }
    }
}

TEST(PaymentRules, FormNumberHasAtLeastSixDigits)
{
    EXPECT_EQ(formNumber(2026, "003", 1), QStringLiteral("2026-003-000001"));
    EXPECT_EQ(formNumber(2026, "003", 999999), QStringLiteral("2026-003-999999"));
    EXPECT_EQ(formNumber(2027, "", 1234567), QStringLiteral("2027--1234567"));
}

TEST(PaymentRules, MonthNamesGiveTheBudgetPeriod)
{
    EXPECT_EQ(monthIndex(QStringLiteral("三月")), 3);
    EXPECT_EQ(monthIndex(QStringLiteral("十二月")), 12);
    EXPECT_EQ(monthIndex(QStringLiteral("13月")), 0);
    EXPECT_EQ(planExpression(3), QStringLiteral("一月+二月+三月"));
    EXPECT_EQ(planSumExpression(2), QStringLiteral("COALESCE(一月, 0)+COALESCE(二月, 0)"));
    EXPECT_EQ(monthList(3), (QStringList{"一月", "二月", "三月"}));
    const BudgetPeriod feb = budgetPeriod(2024, 2);
    EXPECT_EQ(feb.start, QDate(2024, 1, 1));
    EXPECT_EQ(feb.end, QDate(2024, 2, 29));
    EXPECT_EQ(feb.endExclusive, QDate(2024, 3, 1));
    EXPECT_EQ(budgetPeriod(2026, 12).endExclusive, QDate(2027, 1, 1));
}

TEST(PaymentRules, BalanceFollowsTheLinesSource)
{
    const BudgetSources s{d("1000"), d("200"), d("300"), d("50"), d("20")};
    EXPECT_EQ(budgetBalance(QStringLiteral("收入预算"), s), d("1450"));  // 1000 + 200 + 300 - 50
    EXPECT_EQ(budgetBalance(QStringLiteral("支出预算"), s), d("930"));   // 1000 + 200 + 50 - 300 - 20
    EXPECT_EQ(budgetBalance(QStringLiteral("代收代付"), s), d("930"));
    EXPECT_EQ(budgetBalance(QStringLiteral("其他"), s), Decimal());
    EXPECT_EQ(budgetBalance(QString(), s), Decimal());
    EXPECT_EQ(budgetBalance(QStringLiteral("支出预算"), {d("100"), {}, d("150"), {}, {}}), d("-50"));
}

TEST(PaymentRules, HuoRGBSplitsAColour)
{
    int r = -1, g = -1, b = -1;
    huoRGB(r, g, b, 0);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(0, 0, 0));
    huoRGB(r, g, b, 255);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(255, 0, 0));
    huoRGB(r, g, b, 0x123456);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(0x56, 0x34, 0x12));
    EXPECT_EQ(rgbColour(0x56, 0x34, 0x12), 0x123456);
}

TEST(PaymentRules, WorkAndIconSizes)
{
    EXPECT_EQ(workReduction({1024, 500}).step, 0);  // exactly the limit: unchanged
    EXPECT_EQ(workReduction({600, 768}).step, 0);
    EXPECT_EQ(workReduction({1000, 900}).step, 0);  // landscape: only the width counts
    const Reduction wide = workReduction({2048, 1000});
    EXPECT_EQ(wide.canvas, QSize(1024, 500));
    EXPECT_EQ(wide.step, 2);
    const Reduction oneMore = workReduction({1025, 600});
    EXPECT_EQ(oneMore.step, 1);
    EXPECT_EQ(oneMore.canvas.width(), 1024);
    const Reduction square = workReduction({800, 800});  // a square follows the portrait rule
    EXPECT_EQ(square.canvas, QSize(768, 768));
    EXPECT_EQ(iconReduction({1024, 500}).canvas, QSize(75, 37));
    EXPECT_EQ(iconReduction({500, 1024}).canvas.height(), 56);
    EXPECT_EQ(iconReduction({60, 40}).step, 0);
    EXPECT_EQ(iconReduction({60, 40}).canvas, QSize(75, 56));
}

TEST(PaymentRules, AWholeRatioAveragesTheBlocksDiagonal)
{
    QImage src(4, 2, QImage::Format_RGB32);
    src.fill(Qt::black);
    src.setPixel(0, 0, qRgb(100, 0, 0));
    src.setPixel(1, 1, qRgb(201, 10, 0));  // (100 + 201) / 2 = 150.5, rounds to the even 150
    src.setPixel(2, 0, qRgb(0, 255, 0));
    src.setPixel(3, 1, qRgb(0, 255, 0));
    const QImage out = reducePicture(src, QSize(2, 1), 2);
    ASSERT_EQ(out.size(), QSize(2, 1));
    EXPECT_EQ(out.pixel(0, 0), qRgb(150, 5, 0));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 255, 0));
}

TEST(PaymentRules, AnyRatioKeepsTheWholePictureAndItsEdges)
{
    // 3 × 3 white with a red last column, onto 2 × 2 (ratio 1.5, step 1):
    // the right edge still shows, and nothing is darkened by missing samples.
    QImage src(3, 3, QImage::Format_RGB32);
    src.fill(Qt::white);
    for (int y = 0; y < 3; ++y) src.setPixel(2, y, qRgb(255, 0, 0));
    const QImage out = reducePicture(src, QSize(2, 2), 1);
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(1, 1), qRgb(255, 0, 0));
    // Step 2 at the edge of an odd picture: one sample taken, not halved.
    QImage odd(3, 3, QImage::Format_RGB32);
    odd.fill(qRgb(200, 200, 200));
    const QImage half = reducePicture(odd, QSize(2, 2), 2);
    EXPECT_EQ(half.pixel(1, 1), qRgb(200, 200, 200));
}

TEST(PaymentRules, FileNamesOfPicturesAndDocuments)
{
    EXPECT_EQ(pictureBaseName(QStringLiteral("/scan/发票.2026.bmp")), QStringLiteral("发票"));
    EXPECT_EQ(pictureBaseName(QStringLiteral("/scan/发票")), QStringLiteral("发票"));
    EXPECT_EQ(uniquePictureBase(QStringLiteral("a"), {}), QStringLiteral("a"));
    EXPECT_EQ(uniquePictureBase(QStringLiteral("a"), {"a", "a_2"}), QStringLiteral("a_3"));
    EXPECT_EQ(documentSuffix(QStringLiteral("/d/合同.Docx")), QStringLiteral("Docx"));
    EXPECT_EQ(documentSuffix(QStringLiteral("/d/v1.2/readme")), QString());  // the folder's dot does not count
    EXPECT_EQ(documentSuffix(QStringLiteral("/d/a.tar.gz")), QStringLiteral("gz"));
}

TEST(PaymentRules, SubjectTreeAddsAncestorsOnce)
{
    const std::map<QString, SubjectRow> all = {
        {"55", {"55", "管理费用", std::nullopt}},
        {"5501", {"5501", "办公费", QString("55")}},
        {"550101", {"550101", "办公用品 耗材", QString("5501")}},
        {"550102", {"550102", "印刷费", QString("5501")}},
        {"X1", {"X1", "甲", QString("X2")}},  // a loop X1 → X2 → X1
        {"X2", {"X2", "乙", QString("X1")}},
        {"Y1", {"Y1", "孤", QString("ZZ")}},  // parent not in the table
    };
    int lookups = 0;
    const auto lookup = [&](const QString& code) -> std::optional<SubjectRow> {
        ++lookups;
        const auto i = all.find(code);
        return i == all.end() ? std::nullopt : std::optional<SubjectRow>(i->second);
    };
    const auto nodes = buildSubjectTree({all.at("550101"), all.at("550102"), all.at("550101"), all.at("X1"), all.at("Y1")},
                                        lookup);
    QStringList got;
    for (const SubjectNode& n : nodes) got << n.key + "<" + n.parentKey;
    EXPECT_EQ(got, (QStringList{"55 K<", "5501 K<55 K", "550101 K<5501 K", "550102 K<5501 K", "X2 K<", "X1 K<X2 K",
                                "Y1 K<"}));
    EXPECT_EQ(nodes[2].text, QStringLiteral("550101 办公用品 耗材"));
    EXPECT_EQ(subjectCodeOf(nodes[2].text), QStringLiteral("550101"));
    EXPECT_EQ(subjectNameOf(nodes[2].text), QStringLiteral("办公用品 耗材"));
    EXPECT_LT(lookups, 20);
}

}  // namespace
}  // namespace corvane::payments
