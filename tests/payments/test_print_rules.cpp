// Rules of the listings, vouchers, payment history and subject tree that need no database.

#include <gtest/gtest.h>

#include "payments/PaymentHistory.h"
#include "payments/PrintGrid.h"
#include "payments/SubjectConversion.h"
#include "payments/VoucherLayout.h"
#include "tests/payments/PrintDoubles.h"

namespace corvane::test {
namespace {

using namespace payments;

TEST(GridPrintRules, CapacityRoundsBothOperandsAndDropsTheRemainder)
{
    // (8060 − 800 − 540 − 720) \ (255 + 45) = 6000 \ 300
    EXPECT_EQ(GridPrintCapacity(8060, 800, 540, 180, 255), 20);
    EXPECT_EQ(GridPrintCapacity(8059, 800, 540, 180, 255), 19);
    // Halves go to the even number: 300.5 rounds to 300, 301.5 to 302.
    EXPECT_EQ(GridPrintCapacity(6000 + 2060, 800, 540, 180, 255.5), 20);
    EXPECT_EQ(GridPrintCapacity(6040 + 2060, 800, 540, 180, 256.5), 20);
    EXPECT_LT(GridPrintCapacity(1000, 800, 540, 180, 255), 2);
}

TEST(GridPrintRules, PageCountWithoutATrialPass)
{
    const struct {
        int N, C, pages;
    } cases[] = {{1, 20, 1}, {19, 20, 1}, {20, 20, 2}, {38, 20, 2}, {39, 20, 3}, {5, 2, 5}, {0, 20, 1}};
    for (const auto& c : cases) EXPECT_EQ(GridPrintPageCount(c.N, c.C), c.pages) << c.N << " rows, C " << c.C;
}

TEST(GridPrintRules, RunsCloseAtThePagesLastRow)
{
    using Box = GridPrintRun::Box;
    // Three equal texts at positions 1..3 of a page of C = 20: one box 1..3.
    GridPrintRun run;
    EXPECT_FALSE(run.step(1, 20, true));
    EXPECT_FALSE(run.step(2, 20, true));
    EXPECT_EQ(run.step(3, 20, false), (Box{1, 3}));
    // A lone cell is its own box.
    EXPECT_EQ(run.step(4, 20, false), (Box{4, 4}));
    // A run reaching position C − 1 (the page's last row) closes there.
    GridPrintRun atEnd;
    EXPECT_FALSE(atEnd.step(18, 20, true));
    EXPECT_EQ(atEnd.step(19, 20, true), (Box{18, 19}));
    EXPECT_FALSE(atEnd.open);
    // A run that would open on the last row closes at once.
    GridPrintRun last;
    EXPECT_EQ(last.step(19, 20, true), (Box{19, 19}));
}

TEST(VoucherRules, PositionsFollowTheLineHeights)
{
    const VoucherPositions p = voucherPositions(6, 5, 4.5, 4, 3, 7);
    EXPECT_DOUBLE_EQ(p.Y1, 12 + 5 + 4.5);
    EXPECT_DOUBLE_EQ(p.Y2, p.Y1 + 8);
    EXPECT_DOUBLE_EQ(p.T, p.Y2 + 8);
    EXPECT_DOUBLE_EQ(p.B, p.T + 55.8);
    EXPECT_DOUBLE_EQ(p.Y3, p.B + 1);
    // A longer table gains a row per extra line.
    EXPECT_DOUBLE_EQ(voucherPositions(6, 5, 4.5, 4, 3, 9).B, p.B + 2 * 6.2);
}

TEST(VoucherRules, CellShrinksThenWraps)
{
    const VoucherMeasure m = fixedVoucherMeasure();
    const double mm = 25.4 / 1440;
    // Width of one character: 210 twips at 10.5 points, 160 at 8, 140 at 7.
    struct Case {
        QString text;
        double width;
        bool right;
        double size;
        int lines;
    };
    const Case cases[] = {
        {QStringLiteral("维修费"), 66, false, 10.5, 1},          // fits
        {QString(18, QChar(u'字')), 66, false, 8, 1},           // 66.7 mm at 10.5, 50.8 at 8: one line at 8
        {QString(30, QChar(u'字')), 66, false, 8, 2},           // 84.7 mm at 8: two lines
        {QStringLiteral("12345678.00"), 19, true, 7, 1},        // 27.2 mm even at 7
        {QStringLiteral("1.00"), 19, true, 10.5, 1},
    };
    for (const Case& c : cases) {
        const auto steps = voucherCell(c.text, 100, 1, c.width, c.right, m);
        if (c.text.size() == 18) {
            ASSERT_EQ(steps.size(), 1u);
            EXPECT_DOUBLE_EQ(steps[0].size, 8);
            EXPECT_DOUBLE_EQ(steps[0].y, 100 + (6.2 - 160 * mm) / 2);
            continue;
        }
        if (c.text == QStringLiteral("12345678.00")) {
            ASSERT_EQ(steps.size(), 1u);
            EXPECT_DOUBLE_EQ(steps[0].size, 7);  // never cut: it runs left past its rule
            EXPECT_DOUBLE_EQ(steps[0].x, 1 + 19 - 11 * 140 * mm - 1);
            continue;
        }
        ASSERT_EQ(int(steps.size()), c.lines) << c.text.toStdString();
        EXPECT_DOUBLE_EQ(steps[0].size, c.size) << c.text.toStdString();
    }
    // The split: n = width / average character width, halves to even.
    const auto two = voucherCell(QString(30, QChar(u'字')), 100, 1, 66, false, m);
    EXPECT_EQ(two[0].text.size(), qRound(66 / (160 * mm)));
    EXPECT_DOUBLE_EQ(two[0].y, 100.5);
    EXPECT_DOUBLE_EQ(two[1].y, 100.5 + 160 * mm);
    EXPECT_EQ(two[0].text.size() + two[1].text.size(), 30);
    // A text exactly as wide as its cell keeps its size.
    const double exact = 4 * 210 * mm;
    EXPECT_DOUBLE_EQ(voucherCell(QStringLiteral("四个字字"), 0, 0, exact, false, m)[0].size, 10.5);
}

TEST(VoucherRules, TrailWrapsAt135Millimetres)
{
    const VoucherMeasure m = fixedVoucherMeasure();
    // 210 twips a character: 135 mm hold 36 characters.
    const std::pair<QString, QString> ten{QStringLiteral("部门部门"), QStringLiteral("张三")};  // "部门部门 张三" = 7
    std::vector<std::pair<QString, QString>> trail(5, ten);
    const QStringList lines = voucherTrailLines(trail, m);
    // Entries take 11 characters with their separator: the fourth would need 44 > 36.
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("部门部门 张三 |  部门部门 张三 |  部门部门 张三 |  "));
    EXPECT_EQ(lines[1], QStringLiteral("部门部门 张三 |  部门部门 张三 |  "));
    // An entry wider than the line on its own starts after an empty line.
    const QStringList wide = voucherTrailLines({{QString(40, QChar(u'部')), QString()}}, m);
    ASSERT_EQ(wide.size(), 2);
    EXPECT_TRUE(wide[0].isEmpty());
    // No dated step: one empty line.
    EXPECT_EQ(voucherTrailLines({}, m), QStringList{QString()});
}

TEST(VoucherRules, PayeeBlockByPaymentMethod)
{
    const VoucherMeasure m = fixedVoucherMeasure();
    VoucherData d;
    d.报销人 = QStringLiteral("张三");
    d.银行卡号 = QStringLiteral("6222001");
    d.对方单位名称 = QStringLiteral("恒达公司");
    auto has = [](const std::vector<VoucherStep>& steps, const QString& text, double x) {
        for (const auto& s : steps)
            if (s.text == text && qFuzzyCompare(s.x, x)) return true;
        return false;
    };
    d.付款方式 = QStringLiteral("现金");
    auto steps = layoutVoucher(d, m);
    EXPECT_TRUE(has(steps, QStringLiteral("受款人："), 121));
    EXPECT_TRUE(has(steps, QStringLiteral("6222001"), 135));
    EXPECT_FALSE(has(steps, QStringLiteral("恒达公司"), 138));
    for (const std::optional<QString>& method : {std::optional<QString>(), std::optional<QString>(QStringLiteral("银行"))}) {
        d.付款方式 = method;
        steps = layoutVoucher(d, m);
        EXPECT_TRUE(has(steps, QStringLiteral("对方单位："), 121));
        EXPECT_TRUE(has(steps, QStringLiteral("恒达公司"), 138));
        EXPECT_FALSE(has(steps, QStringLiteral("受款人："), 121));
    }
}

TEST(VoucherRules, TotalsOfNoLinesAndOfANegativeSum)
{
    const VoucherMeasure m = fixedVoucherMeasure();
    auto textsOf = [](const std::vector<VoucherStep>& steps) {
        QStringList out;
        for (const auto& s : steps)
            if (s.kind == VoucherStep::Text) out << s.text;
        return out;
    };
    VoucherData empty;
    QStringList t = textsOf(layoutVoucher(empty, m));
    EXPECT_TRUE(t.contains(QStringLiteral("0.00")));
    EXPECT_TRUE(t.contains(QStringLiteral("大写：")));  // the capitals of zero are empty
    VoucherData negative;
    negative.lines = {{QStringLiteral("退款"), QStringLiteral("5501"), QStringLiteral("维修费"), Decimal::fromCents(-12050)},
                      {QStringLiteral("空"), QStringLiteral("5501"), QString(), std::nullopt}};
    t = textsOf(layoutVoucher(negative, m));
    EXPECT_EQ(t.count(QStringLiteral("-120.50")), 2);  // the line and the total
    EXPECT_TRUE(t.contains(QStringLiteral("0.00")));   // a NULL amount
    EXPECT_TRUE(t.contains(QStringLiteral("大写：壹佰贰拾圆伍角")));
}

TEST(VoucherRules, RowCaptionsStayBetweenTheirRules)
{
    // Lines of 1.0 em keep the third-of-a-line offset; a face with taller
    // lines (1.45 em, as the stand-in face measures) is centred instead of
    // running into the rule below.
    for (const double lineEm : {1.0, 1.45}) {
        SCOPED_TRACE(lineEm);
        VoucherMeasure m = fixedVoucherMeasure();
        m.height = [lineEm](double size, bool, const QString&) { return size * lineEm * 25.4 / 72; };
        const double th = 10.5 * lineEm * 25.4 / 72;
        const std::vector<VoucherStep> steps = layoutVoucher(VoucherData{}, m);
        double T = 1e9, B = 0;
        for (const auto& s : steps)
            if (s.kind == VoucherStep::Line && s.y == s.y2) T = std::min(T, s.y), B = std::max(B, s.y);
        for (const QString& caption : {QStringLiteral("摘   要"), QStringLiteral("贷方金额"), QStringLiteral("合计")}) {
            SCOPED_TRACE(caption.toStdString());
            const auto it = std::find_if(steps.begin(), steps.end(), [&](const VoucherStep& s) { return s.text == caption; });
            ASSERT_NE(it, steps.end());
            const double rowTop = caption == QStringLiteral("合计") ? B - kVoucherRow : T;
            EXPECT_GT(it->y, rowTop);
            EXPECT_LE(it->y + th, rowTop + kVoucherRow + 1e-9);
            if (lineEm == 1.0) EXPECT_DOUBLE_EQ(it->y, rowTop + th / 3);
        }
    }
}

TEST(VoucherRules, MoreThanSevenLinesGoOnUnderTheHeaderOfANewPage)
{
    const VoucherMeasure m = fixedVoucherMeasure();
    VoucherData d;
    d.公司名称 = QStringLiteral("公司");
    for (int i = 0; i < 30; ++i) d.lines.push_back({QString::number(i), QStringLiteral("5501"), QString(), Decimal::whole(1)});
    const auto steps = layoutVoucher(d, m, 140);
    int pages = 1, companies = 0;
    double lowest = 0;
    for (const auto& s : steps) {
        if (s.kind == VoucherStep::NewPage) ++pages;
        if (s.text == QStringLiteral("公司")) ++companies;
        lowest = qMax(lowest, qMax(s.y, s.y2));
    }
    EXPECT_GE(pages, 2);
    EXPECT_EQ(companies, pages);
    EXPECT_LE(lowest, 140);
    int summaries = 0;
    for (const auto& s : steps)
        if (s.kind == VoucherStep::Text && s.x == 1) ++summaries;
    EXPECT_EQ(summaries, 30);
}

TEST(PaymentHistoryRules, StatesInTheirOrder)
{
    const struct {
        bool dated, approved, returnDated, returned, confirmed;
        const char16_t* state;
    } cases[] = {
        {false, true, true, true, true, u"审批中"},       {true, false, true, true, true, u"审批未通过"},
        {true, true, true, true, true, u"出纳退回"},      {true, true, true, false, false, u"审批完成"},
        {true, true, false, true, true, u"支付完成"},     {true, true, true, false, true, u"支付完成"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(paymentLineState(c.dated, c.approved, c.returnDated, c.returned, c.confirmed), QString::fromUtf16(c.state));
}

TEST(SubjectBrowserRules, TreeFromRows)
{
    const std::vector<BrowserSubject> rows{{QStringLiteral("5501"), QStringLiteral("维修费"), QStringLiteral("55")},
                                           {QStringLiteral("55"), QStringLiteral("管理费用"), QString()},
                                           {QStringLiteral("10"), QStringLiteral("十"), QString()},
                                           {QStringLiteral("9"), QStringLiteral("九"), QString()},
                                           {QStringLiteral("77"), QStringLiteral("孤儿"), QStringLiteral("76")},
                                           {QStringLiteral("81"), QStringLiteral("甲"), QStringLiteral("82")},
                                           {QStringLiteral("82"), QStringLiteral("乙"), QStringLiteral("81")}};
    const auto nodes = browserTree(rows);
    ASSERT_EQ(nodes.size(), 7u);
    EXPECT_EQ(nodes[0].key, QStringLiteral("$9"));
    EXPECT_EQ(nodes[0].text, QStringLiteral("9 九"));
    EXPECT_EQ(nodes[1].key, QStringLiteral("$10"));
    auto parentOf = [&](const QString& key) {
        for (const auto& n : nodes)
            if (n.key == key) return n.parentKey;
        return QStringLiteral("?");
    };
    EXPECT_EQ(parentOf(QStringLiteral("$5501")), QStringLiteral("$55"));
    EXPECT_EQ(parentOf(QStringLiteral("$77")), QString());  // its parent names no subject
    EXPECT_EQ(parentOf(QStringLiteral("$81")), QString());  // a loop
    EXPECT_EQ(parentOf(QStringLiteral("$82")), QString());
    EXPECT_TRUE(codeOrderLess(QStringLiteral("9"), QStringLiteral("10")));
}

}  // namespace
}  // namespace corvane::test

namespace corvane::test {
namespace {

using namespace payments;

// The voucher drawn on a recording surface: exact places in millimetres.
TEST(VoucherDrawing, PlacesOnARecordingSurface)
{
    const double mm = 25.4 / 1440;
    RecordingSurface page(190 / mm, 277 / mm);
    VoucherData d;
    d.公司名称 = QStringLiteral("恒远物业");
    d.报销日期 = QStringLiteral("2026-03-01");
    d.付款方式 = QStringLiteral("现金");
    d.报销人 = QStringLiteral("张三");
    d.trail = {{QStringLiteral("财务部"), QStringLiteral("李四")}};
    d.lines = {{QStringLiteral("维修"), QStringLiteral("5501"), QStringLiteral("维修费"), Decimal::whole(100)}};
    drawVoucher(page, layoutVoucher(d, measureOn(page)));
    const double L16 = 320 * mm, L14 = 280 * mm, L105 = 210 * mm;
    const double Y1 = 2 * L16 + 2 * L14, Y2 = Y1 + 2 * L105, T = Y2 + 2 * L105, B = T + 55.8, Y3 = B + L105 / 3;
    auto at = [&](const QString& text) {
        for (const auto& s : page.texts())
            if (s.text == text) return QPointF(s.x1, s.y1);
        ADD_FAILURE() << "no " << text.toStdString();
        return QPointF();
    };
    auto near = [](QPointF a, QPointF b) { return qAbs(a.x() - b.x()) < 1e-9 && qAbs(a.y() - b.y()) < 1e-9; };
    EXPECT_TRUE(near(at(QStringLiteral("恒远物业")), QPointF((190 - 4 * L16) / 2, 0)));
    EXPECT_TRUE(near(at(QStringLiteral("核  算  凭  证")), QPointF((190 - 10 * L14) / 2, 2 * L16)));
    EXPECT_TRUE(near(at(QStringLiteral("报销日期：")), QPointF(53, Y1)));
    EXPECT_TRUE(near(at(QStringLiteral("2026-03-01")), QPointF(70, Y1)));
    EXPECT_TRUE(near(at(QStringLiteral("付款方式：")), QPointF(78, Y2)));
    EXPECT_TRUE(near(at(QStringLiteral("张三")), QPointF(135, Y2 - L105 / 2)));
    EXPECT_TRUE(near(at(QStringLiteral("合计")), QPointF((10 - 2 * L105) / 2, B - 6.2 + L105 / 3)));
    EXPECT_TRUE(near(at(QStringLiteral("审批：")), QPointF(0, Y3)));
    EXPECT_TRUE(near(at(QStringLiteral("财务部 李四 |  ")), QPointF(11, Y3)));
    EXPECT_TRUE(near(at(QStringLiteral("制单人：")), QPointF(160, Y3)));
    EXPECT_TRUE(near(at(QStringLiteral("维修")), QPointF(1, T + 6.2 + (6.2 - L105) / 2)));
    // Ten rules across the table and the 合计 rule in the total row.
    int across = 0;
    bool totalRule = false;
    for (const auto& s : page.steps) {
        if (s.kind != RecordingSurface::Step::Line) continue;
        if (qAbs(s.x1) < 1e-9 && qAbs(s.x2 - 190) < 1e-9 && qAbs(s.y1 - s.y2) < 1e-9) ++across;
        if (qAbs(s.x1 - 10) < 1e-9 && qAbs(s.y1 - (B - 6.2)) < 1e-9 && qAbs(s.y2 - B) < 1e-9) totalRule = true;
    }
    EXPECT_EQ(across, 10);
    EXPECT_TRUE(totalRule);
}

}  // namespace
}  // namespace corvane::test
