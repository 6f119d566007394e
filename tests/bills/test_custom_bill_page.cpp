// The custom bill page without a window: building it from a layout, the
// placement in the viewport, filling it from a receipt, the summary line
// breaker, and what reaches the printer (read back from a PDF).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/AmountInWords.h"
#include "platform/PrintSurface.h"
#include "platform/TextMeasure.h"
#include "bills/CustomBillPage.h"
#include "testsupport/PdfPrinter.h"
#include "testsupport/PrintQueue.h"

namespace corvane::receipts {
namespace {

BillLayoutField field(const char* name, double l, double t, double w, int row = 0)
{
    return {QString::fromUtf8(name), l, t, w, row, QStringLiteral("Noto Sans CJK SC"), 10, false};
}

// A layout of `rows` bill lines with every row field, and some single fields.
BillLayout layoutOf(int rows)
{
    BillLayout l;
    l.head = {1, "D01", "收据", 210, 99, "ZD", false};
    for (int r = 1; r <= rows; ++r)
        for (const auto& [name, list] : kRowFields) l.fields.push_back(field(name, 10, 20 + 8 * r, 20, r));
    for (const char* name : {"付款人", "合计金额", "大写", "备注", "开票日期", "票据编号", "开票人", "地址", "户名", "收款方式",
                             "开票方式"})
        l.fields.push_back(field(name, 10, 80, 40));
    return l;
}

ReceiptBillContext receiptOf(std::initializer_list<std::array<const char*, 8>> lines)
{
    ReceiptBillContext c;
    c.tag = QStringLiteral("前台收款");
    c.layoutName = QStringLiteral("收据");
    c.method = QStringLiteral("现金");
    c.issueDate = QDate(2026, 12, 10);
    c.receiptDate = QDate(2026, 12, 9);
    c.payer = QStringLiteral("O'Brien");
    c.address = QStringLiteral("翠湖路1号");
    c.remark = QStringLiteral("备注一");
    c.contract = QStringLiteral("HT-1");
    c.taxTotal = QStringLiteral("6.79");
    for (const auto& cells : lines) {
        ReceiptBillContext::Line line;
        for (int i = 0; i < 8; ++i) line.cells[size_t(i)] = QString::fromUtf8(cells[size_t(i)]);
        line.mark = 1;
        c.lines.push_back(line);
    }
    return c;
}

QString boxText(const BillPage& p, FieldList l, int k)
{
    const auto found = p.rowFields(l, k);
    return found.empty() ? QStringLiteral("<none>") : p.list(l)[found.front()].text;
}

class TextMeasureGuard {
public:
    ~TextMeasureGuard()
    {
        setTextWidthMeasure({});
        setTextHeightMeasure({});
    }
};

TEST(CustomBillPage, RoundingAndPlacement)
{
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(30.4), 30);
    // Narrower and lower than the viewport less the scroll bars: centred.
    PagePlacement p = placePage(100, 50, 200, 100, 5, 5);
    EXPECT_FALSE(p.hEnabled || p.vEnabled);
    EXPECT_DOUBLE_EQ(p.left, 50);
    EXPECT_DOUBLE_EQ(p.top, 25);
    // 30.4 mm wider than the inner width: a range of 30, at the left edge.
    p = placePage(230.4, 50, 200, 100, 5, 5);
    EXPECT_TRUE(p.hEnabled);
    EXPECT_EQ(p.hMax, 30);
    EXPECT_DOUBLE_EQ(p.left, 0);
    // Wider than the room beside the vertical bar, though not than the viewport.
    p = placePage(198, 50, 200, 100, 5, 5);
    EXPECT_TRUE(p.hEnabled);
    EXPECT_EQ(p.hMax, -2);
}

TEST(CustomBillPage, BuildingPutsEachRowInItsList)
{
    TextMeasureGuard guard;
    setTextHeightMeasure([](const QFont&, const QString&) { return 243.0; });  // 5 mm at 48.6
    BillLayout l;
    l.head = {1, "D01", "收据", 210, 99, "ZD", false};
    l.lines = {{0, 0, 100, 0, 1.5}, {0, 10, 100, 10, 2.5}};
    l.texts = {{"标题", 5, 5, "宋体", 12, true}};
    l.fields = {field("金额", 100, 30, 30, 1), field("金额", 100, 40, 30, 1), field("金额 ", 10, 10, 10, 7),
                field("付款人", 10, 10, 40, 3), field("税率", 10, 10, 10, 2)};
    BillPage page;
    ASSERT_TRUE(buildPage(page, l).ok);
    ASSERT_EQ(BillPage::upperBound(page.Line1), 2);
    EXPECT_EQ(page.Line1[1].width, 2);
    EXPECT_EQ(page.Line1[2].width, 2);
    EXPECT_EQ(BillPage::upperBound(page.Label1), 1);
    EXPECT_EQ(page.rowFields(FieldList::TextJE, 1), (std::vector<int>{1, 2}));
    // Trailing blank: a single field; 行 plays no part for single fields.
    EXPECT_EQ(page.singleFields(QStringLiteral("金额 ")), std::vector<int>{1});
    EXPECT_EQ(page.singleFields(QStringLiteral("付款人")), std::vector<int>{2});
    EXPECT_TRUE(page.list(FieldList::TextJE)[1].rightAligned);
    EXPECT_FALSE(page.list(FieldList::TextSLV)[1].rightAligned);
    EXPECT_FALSE(page.list(FieldList::Text1)[1].rightAligned);
    EXPECT_DOUBLE_EQ(page.list(FieldList::TextJE)[1].height, 5);
    EXPECT_EQ(page.list(FieldList::TextJE)[0].tag, QString());  // the template holds nothing

    BillPage empty;
    BillLayout none;
    none.head = l.head;
    EXPECT_TRUE(buildPage(empty, none).ok);
    for (const auto& list : empty.fields) EXPECT_EQ(BillPage::upperBound(list), 0);

    BillPage thin;
    BillLayout bad = l;
    bad.lines.insert(bad.lines.begin() + 1, BillLayoutLine{0, 0, 1, 1, 0.4});
    EXPECT_FALSE(buildPage(thin, bad).ok);
    EXPECT_EQ(BillPage::upperBound(thin.Line1), 1);  // what was built before stays
}

TEST(CustomBillPage, FillingFromTheReceipt)
{
    BillPage page;
    ASSERT_TRUE(buildPage(page, layoutOf(5)).ok);
    PendingBill bill = pendingBillOf(receiptOf({}));
    std::vector<PendingLine> lines;
    const auto receipt = receiptOf({{"物业费", "202001", "月", "1", "100.00", "100.00", "0.06", "5.66"},
                                    {"能耗费", "", "", "2", "7.25", "14.50", "0.06", "0.82"},
                                    {"租金", "", "", "", "", "120.00", "0.06", "6.79"}});
    const FillOutcome out = fillPage(page, bill, lines, receipt, QStringLiteral("王芳"));
    EXPECT_FALSE(out.blocked);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(bill.金额.fixed(2), "234.50");
    EXPECT_EQ(bill.税额.fixed(2), "6.79");
    EXPECT_EQ(boxText(page, FieldList::TextXM, 3), "租金");
    EXPECT_EQ(boxText(page, FieldList::TextJE, 1), "100");
    EXPECT_EQ(boxText(page, FieldList::TextJE, 2), "14.5");
    EXPECT_EQ(boxText(page, FieldList::TextJE, 3), "120");
    EXPECT_EQ(boxText(page, FieldList::TextSLV, 3), "6%");
    EXPECT_EQ(boxText(page, FieldList::TextSE, 3), "6.79");
    EXPECT_EQ(boxText(page, FieldList::TextSL, 3), "");  // an empty cell counts 0 and shows nothing
    EXPECT_EQ(boxText(page, FieldList::TextXM, 4), "");
    EXPECT_EQ(page.firstSingleField(QStringLiteral("合计金额")), "234.50");
    EXPECT_TRUE(page.list(FieldList::Text1)[page.singleFields(QStringLiteral("合计金额")).front()].rightAligned);
    EXPECT_EQ(page.firstSingleField(QStringLiteral("大写")), 金额大写2(QStringLiteral("234.50")));
    EXPECT_EQ(page.firstSingleField(QStringLiteral("票据编号")), "<打印完成后自动生成>");
    EXPECT_EQ(page.firstSingleField(QStringLiteral("开票人")), "王芳");
    EXPECT_EQ(page.firstSingleField(QStringLiteral("开票日期")), "2026-12-10");
    EXPECT_EQ(page.firstSingleField(QStringLiteral("收款方式")), "现金");
    EXPECT_EQ(page.firstSingleField(QStringLiteral("开票方式")), "");
    EXPECT_EQ(page.firstSingleField(QStringLiteral("户名")), "");

    // Pre-issued: no payment method, "预开" instead.
    BillPage pre;
    ASSERT_TRUE(buildPage(pre, layoutOf(5)).ok);
    auto preReceipt = receipt;
    preReceipt.preIssued = true;
    fillPage(pre, bill, lines, preReceipt, QStringLiteral("王芳"));
    EXPECT_EQ(pre.firstSingleField(QStringLiteral("收款方式")), "");
    EXPECT_EQ(pre.firstSingleField(QStringLiteral("开票方式")), "预开");
}

TEST(CustomBillPage, TooFewLinesOrAWrongCellBlockPrinting)
{
    const auto receipt = receiptOf({{"a", "", "", "1", "1", "1.00", "0", "0"},
                                    {"b", "", "", "1", "1", "2.00", "0", "0"},
                                    {"c", "", "", "1", "1", "4.00", "0", "0"}});
    BillPage page;
    ASSERT_TRUE(buildPage(page, layoutOf(2)).ok);
    PendingBill bill;
    std::vector<PendingLine> lines;
    FillOutcome out = fillPage(page, bill, lines, receipt, QString());
    EXPECT_TRUE(out.blocked);
    EXPECT_EQ(out.message, kTooFewLines);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(page.firstSingleField(QStringLiteral("合计金额")), "7.00");  // the line that did not fit counts

    auto wrong = receipt;
    wrong.lines[1].cells[5] = QStringLiteral("1,000");
    BillPage other;
    ASSERT_TRUE(buildPage(other, layoutOf(5)).ok);
    out = fillPage(other, bill, lines, wrong, QString());
    EXPECT_TRUE(out.blocked);
    EXPECT_EQ(out.message, "票据第2行的金额不是数字：1,000");
}

TEST(CustomBillPage, SummariesJoinRunsOfMonths)
{
    const WidthMm wide = [](const QString&) { return 0.0; };
    struct Case {
        const char* text;
        const char* joined;
    };
    for (const Case& c : {Case{"202001,202002,202005,", "202001-202002,202005"},
                          Case{"202001,202002,202005", "202001-202002,202005"},
                          Case{"202001,202003,", "202001-202001,202003"},
                          Case{"202001,202002,202003,", "202001,202002,202003"},
                          Case{"物业费,202001,", "物业费,202001"},
                          Case{"202012,202101,202105,", "202012-202101,202105"},
                          Case{"", ""}}) {
        EXPECT_EQ(规格型号处理(QString::fromUtf8(c.text), 100, wide), QStringList{QString::fromUtf8(c.joined)}) << c.text;
    }
}

TEST(CustomBillPage, SummariesAreCutWhereALineGetsTooWide)
{
    // A character is 2 mm wide; the limit is 5 mm: the third character
    // makes a line too wide and stays on it.
    const WidthMm width = [](const QString& s) { return 2.0 * s.size(); };
    EXPECT_EQ(规格型号处理(QStringLiteral("一二三四五六七"), 5, width), (QStringList{"一二三", "四五六", "七"}));
    // A limit no text meets still moves on, a character a line.
    EXPECT_EQ(规格型号处理(QStringLiteral("ab"), -1, width), (QStringList{"a", "b"}));
}

class CustomBillPrinting : public ::testing::Test {
protected:
    void SetUp() override { printers = &test::installTestPrinters(dir.path()); }
    void TearDown() override { Printing::setDevices(nullptr); }
    QTemporaryDir dir;
    test::TestPrinters* printers = nullptr;

    std::vector<test::PdfWord> printed(const BillPage& page)
    {
        EXPECT_TRUE(printPage(page, *Printing::startJob(QStringLiteral("票据"))));
        EXPECT_FALSE(printers->jobs.empty());
        if (printers->jobs.empty()) return {};
        return test::pdfWords(printers->jobs.back().file);
    }
};

const test::PdfWord* find(const std::vector<test::PdfWord>& words, const QString& text)
{
    for (const auto& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

TEST_F(CustomBillPrinting, NumbersEndAtTheirBoxesRightEdge)
{
    BillPage page;
    BillLayout l;
    l.head = {1, "D01", "收据", 210, 99, "ZD", false};
    l.fields = {field("金额", 100, 30, 30, 1), field("税率", 100, 40, 30, 1), field("税额", 100, 50, 30, 1),
                field("项目", 20, 30, 30, 1), field("合计金额", 100, 60, 30), field("付款人", 20, 60, 30)};
    ASSERT_TRUE(buildPage(page, l).ok);
    page.list(FieldList::TextJE)[1].text = QStringLiteral("1234.5");
    page.list(FieldList::TextSLV)[1].text = QStringLiteral("6%");
    page.list(FieldList::TextSE)[1].text = QStringLiteral("69.88");
    page.list(FieldList::TextXM)[1].text = QStringLiteral("XM");
    page.list(FieldList::Text1)[1].text = QStringLiteral("888.00");
    page.list(FieldList::Text1)[1].rightAligned = true;
    page.list(FieldList::Text1)[2].text = QStringLiteral("Payer");
    const auto words = printed(page);
    for (const char* text : {"1234.5", "6%", "69.88", "888.00"}) {
        const test::PdfWord* w = find(words, QString::fromUtf8(text));
        ASSERT_TRUE(w) << text;
        EXPECT_NEAR(w->xMax, 130, 0.5) << text;
    }
    EXPECT_NEAR(find(words, QStringLiteral("XM"))->xMin, 20, 0.5);
    EXPECT_NEAR(find(words, QStringLiteral("Payer"))->xMin, 20, 0.5);
    EXPECT_GT(find(words, QStringLiteral("XM"))->yMin, 29.5);
    EXPECT_LT(find(words, QStringLiteral("XM"))->yMin, 33);
    EXPECT_EQ(printers->jobs.back().pages, 1);
}

// Through Qt's native printer on a real print queue, as the recording drew it.
TEST_F(CustomBillPrinting, OnARealPrintQueueTheBillLandsWhereItWasDrawn)
{
    if (const QString why = test::printQueueMissing(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    BillPage page;
    BillLayout l;
    l.head = {1, "D01", "收据", 210, 99, "ZD", false};
    l.fields = {field("金额", 100, 30, 30, 1), field("项目", 20, 30, 30, 1), field("合计金额", 100, 60, 30),
                field("付款人", 20, 60, 30)};
    ASSERT_TRUE(buildPage(page, l).ok);
    // This run's own payer finds its job among those of the tests running at once.
    const QString payer = QStringLiteral("恒远物业%1").arg(QCoreApplication::applicationPid());
    page.list(FieldList::TextJE)[1].text = QStringLiteral("1234.50");
    page.list(FieldList::TextXM)[1].text = QStringLiteral("物业服务费");
    page.list(FieldList::Text1)[1].text = QStringLiteral("1234.50");
    page.list(FieldList::Text1)[1].rightAligned = true;
    page.list(FieldList::Text1)[2].text = payer;

    test::TestPrinters& recording = test::installQueueRecording(dir.path());
    ASSERT_TRUE(printPage(page, *Printing::startJob(QStringLiteral("票据"))));
    ASSERT_EQ(recording.jobs.size(), 1u);
    const test::TestPrinters::Job drawn = recording.jobs[0];
    test::printOnQueue();
    ASSERT_TRUE(printPage(page, *Printing::startJob(QStringLiteral("票据"))));
    const QString pdf = test::waitForQueuedJob({payer, QStringLiteral("物业服务费")});
    ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote no bill";
    EXPECT_EQ(test::pdfPageCount(pdf), 1);
    EXPECT_EQ(test::textsNotInPlace(drawn.steps, pdf).join(QLatin1Char('\n')).toStdString(), "");
}

TEST_F(CustomBillPrinting, ALongSummaryPrintsItsFirstFourLines)
{
    BillPage page;
    BillLayout l;
    l.head = {1, "D01", "收据", 210, 99, "ZD", false};
    l.fields = {field("摘要", 20, 20, 12, 1), field("摘要", 20, 70, 80, 2)};
    ASSERT_TRUE(buildPage(page, l).ok);
    TextMeasureGuard guard;
    // Every character 2 mm wide on the page, lines 4 mm apart.
    setTextWidthMeasure([](const QFont&, const QString& s) { return 2.0 * s.size() * 1440 / 25.4; });
    setTextHeightMeasure([](const QFont&, const QString&) { return 4.0 * 1440 / 25.4; });
    page.list(FieldList::TextZY)[1].text = QStringLiteral("AAAAAAA,BBBBBBB,CCCCCCC,DDDDDDD,EEEEEEE,FFFFFFF");
    page.list(FieldList::TextZY)[2].text = QStringLiteral("short");
    const auto words = printed(page);
    // Lines of seven characters (the seventh one too wide for 12 mm).
    QStringList lines;
    std::vector<double> tops;
    for (const auto& w : words)
        if (w.yMin < 60) lines << w.text, tops.push_back(w.yMin);
    EXPECT_EQ(lines, (QStringList{"AAAAAAA", ",BBBBBB", "B,CCCCC", "CC,DDDD"}));
    ASSERT_EQ(tops.size(), 4u);
    for (size_t j = 1; j < tops.size(); ++j) EXPECT_NEAR(tops[j] - tops[j - 1], 4, 0.1);
    ASSERT_TRUE(find(words, QStringLiteral("short")));
    EXPECT_NEAR(find(words, QStringLiteral("short"))->xMin, 20, 0.5);
}

TEST_F(CustomBillPrinting, APageWithNothingToDrawStillPrintsOneBlankSheet)
{
    // No elements at all, and a layout whose fields and captions are all empty.
    BillPage bare;
    BillPage blankFields;
    BillLayout l;
    l.head = {1, "D01", "收据", 210, 99, "ZD", false};
    l.fields = {field("付款人", 20, 20, 40), field("金额", 100, 30, 30, 1), field("摘要", 20, 40, 60, 1)};
    ASSERT_TRUE(buildPage(blankFields, l).ok);
    for (const BillPage* page : {&bare, &blankFields}) {
        printers->jobs.clear();
        EXPECT_TRUE(printPage(*page, *Printing::startJob(QStringLiteral("票据"))));
        ASSERT_EQ(printers->jobs.size(), 1u);
        EXPECT_EQ(printers->jobs[0].pages, 1);
        EXPECT_TRUE(QFileInfo(printers->jobs[0].file).size() > 0);
        EXPECT_TRUE(test::pdfWords(printers->jobs[0].file).empty());
    }
    // A device that cannot print says so.
    printers->jobs.clear();
    printers->refuse = true;
    bare.Line1.push_back({0, 0, 10, 10, 1});
    const auto job = Printing::startJob(QStringLiteral("票据"));
    EXPECT_FALSE(printPage(bare, *job));
    EXPECT_EQ(job->lastError(), printers->refusal);
    EXPECT_TRUE(printers->jobs.empty());
}

}  // namespace
}  // namespace corvane::receipts
