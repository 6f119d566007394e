// The paged listing of a grid: pages, merged runs, omitted columns, the
// width question, a page too short, and the same listing as a PDF file.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/LoginContext.h"
#include "payments/PrintGrid.h"
#include "platform/FlexGrid.h"
#include "testsupport/TestEnvironment.h"
#include "tests/payments/PrintDoubles.h"

namespace corvane::test {
namespace {

using Step = RecordingSurface::Step;

class GridPrintoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetServices();
        doubles().clock->current = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
        公司名称 = QStringLiteral("恒远物业");
        QFont f = grid.font();
        f.setPointSizeF(9);
        grid.setFont(f);
        grid.setFormatString(QStringLiteral("序|<名称|>金额"));
        grid.setRowHeight(0, 255);
        for (int c = 0; c < 3; ++c) grid.setColWidth(c, 1000);
    }
    void TearDown() override { 公司名称.clear(); }

    void fill(int rows, const std::function<QString(int, int)>& text = {})
    {
        grid.setRows(rows + 1);
        for (int r = 1; r <= rows; ++r)
            for (int c = 0; c < 3; ++c)
                grid.setTextMatrix(r, c, text ? text(r, c) : QStringLiteral("%1-%2").arg(r).arg(c));
    }
    // A page of C = 20 with the fixed measure: see the capacity rule's test.
    RecordingSurface surface{11000, 8060};
    FlexGrid grid;

    GridPrintOutcome print(bool signature = true, int omitted = 0)
    {
        return PrintGrid(surface, grid, PrintSurface::vbTwips, QStringLiteral("合同付款清单"), QString(), signature, omitted);
    }
    QStringList pageTexts() const
    {
        QStringList out;
        for (const Step& s : surface.steps)
            if (s.kind == Step::Text && s.text.startsWith(QStringLiteral("第"))) out << s.text;
        return out;
    }
    int rowsOn(int page, int col) const
    {
        int n = 0;
        for (const Step& s : surface.steps)
            if (s.kind == Step::Text && s.page == page && s.text.endsWith(QStringLiteral("-%1").arg(col))) ++n;
        return n;
    }
};

TEST_F(GridPrintoutTest, PagesOfNineteenRowsWithoutAnEmptyLastPage)
{
    const struct {
        int rows, pages;
        QStringList footers;
        int lastPageRows;
    } cases[] = {{19, 1, {QStringLiteral("第1页 共1页")}, 19},
                 {20, 2, {QStringLiteral("第1页 共2页"), QStringLiteral("第2页 共2页")}, 1},
                 {38, 2, {QStringLiteral("第1页 共2页"), QStringLiteral("第2页 共2页")}, 19}};
    for (const auto& c : cases) {
        surface.steps.clear();
        surface = RecordingSurface(11000, 8060);
        fill(c.rows);
        ASSERT_EQ(print(), GridPrintOutcome::Printed);
        EXPECT_EQ(surface.pages(), c.pages) << c.rows;
        EXPECT_EQ(pageTexts(), c.footers) << c.rows;
        EXPECT_EQ(rowsOn(c.pages, 1), c.lastPageRows) << c.rows;
        EXPECT_TRUE(surface.ended());
    }
}

TEST_F(GridPrintoutTest, HeaderFooterAndCellPositionsInTwips)
{
    fill(1);
    grid.setColAlignment(2, flexAlignRightCenter);
    ASSERT_EQ(print(), GridPrintOutcome::Printed);
    const auto texts = surface.texts();
    auto find = [&](const QString& t) {
        for (const Step& s : texts)
            if (s.text == t) return s;
        ADD_FAILURE() << "no " << t.toStdString();
        return Step{};
    };
    // Company name: 16 points bold, centred: (11000 − 4 × 320) / 2.
    const Step company = find(QStringLiteral("恒远物业"));
    EXPECT_DOUBLE_EQ(company.x1, (11000 - 4 * 320) / 2.0);
    EXPECT_TRUE(company.bold);
    // Title one half line lower than the name's line.
    const Step title = find(QStringLiteral("合同付款清单"));
    EXPECT_DOUBLE_EQ(title.y1, 320 + 160);
    EXPECT_FALSE(title.bold);
    // Head row: below the empty line and one grid-font line: 480 + 320 + 320 + 180.
    const double y4 = 480 + 320 + 320 + 180, L = (11000 - 3000) / 2.0;
    const Step head = find(QStringLiteral("名称"));
    EXPECT_DOUBLE_EQ(head.x1, L + 1000 + (1000 - 2 * 180) / 2.0);
    EXPECT_DOUBLE_EQ(head.y1, y4 + (255 - 180) / 2.0);
    // Cells: left 45 twips in, right-aligned 45 twips from the right rule.
    const double T = y4 + 255;
    EXPECT_DOUBLE_EQ(find(QStringLiteral("1-1")).x1, L + 1000 + 45);
    EXPECT_DOUBLE_EQ(find(QStringLiteral("1-2")).x1, L + 3000 - 3 * 180 - 45);
    EXPECT_DOUBLE_EQ(find(QStringLiteral("1-1")).y1, T + (255 - 180) / 2.0);
    // Footer: the date ends at the table's right edge, one line under the last row.
    const QString date = QStringLiteral("打印日期 2026-12-10");
    EXPECT_DOUBLE_EQ(find(date).x1, L + 3000 - date.size() * 180);
    EXPECT_DOUBLE_EQ(find(date).y1, T + 255 + 180);
    EXPECT_DOUBLE_EQ(find(QStringLiteral("第1页 共1页")).y1, 8060 - 180);
    const QString signature = QStringLiteral("审核                制单              ");
    EXPECT_DOUBLE_EQ(find(signature).x1, (11000 - signature.size() * 180) / 2.5);
}

TEST_F(GridPrintoutTest, MergeRunsCloseAtThePageEnd)
{
    // Rows 17..22 share one text in the merged column 1; page 1 ends at row 19.
    fill(25, [](int r, int c) {
        if (c == 1) return r >= 17 && r <= 22 ? QStringLiteral("同") : QStringLiteral("%1-1").arg(r);
        return QStringLiteral("%1-%2").arg(r).arg(c);
    });
    grid.setMergeCol(1, true);
    ASSERT_EQ(print(), GridPrintOutcome::Printed);
    std::vector<Step> same;
    for (const Step& s : surface.texts())
        if (s.text == QStringLiteral("同")) same.push_back(s);
    ASSERT_EQ(same.size(), 2u);  // rows 17..19 on page 1, rows 20..22 on page 2
    EXPECT_EQ(same[0].page, 1);
    EXPECT_EQ(same[1].page, 2);
    const double T = 480 + 320 + 320 + 180 + 255;
    // Centred over three rows from position 17.
    EXPECT_DOUBLE_EQ(same[0].y1, T + 255 * 16 + (255 * 3 - 180) / 2.0);
    EXPECT_DOUBLE_EQ(same[1].y1, T + (255 * 3 - 180) / 2.0);
}

TEST_F(GridPrintoutTest, EmptyCellsAndNearTextsDoNotMerge)
{
    fill(4, [](int r, int c) {
        if (c != 1) return QStringLiteral("%1-%2").arg(r).arg(c);
        const QString texts[] = {QString(), QString(), QString(), QStringLiteral("a"), QStringLiteral("A")};
        return texts[r];
    });
    grid.setMergeCol(1, true);
    ASSERT_EQ(print(), GridPrintOutcome::Printed);
    int boxes = 0;
    const double L = (11000 - 3000) / 2.0;
    for (const Step& s : surface.steps)
        if (s.kind == Step::Line && s.x1 == L + 1000 && s.x2 == L + 2000 && s.page == 1) ++boxes;  // top rules
    EXPECT_EQ(boxes, 1 + 4);  // the head cell and one box a row
}

TEST_F(GridPrintoutTest, OmittedColumnsAreNeitherPrintedNorCounted)
{
    fill(2);
    ASSERT_EQ(print(true, 1), GridPrintOutcome::Printed);
    for (const Step& s : surface.texts()) EXPECT_FALSE(s.text.endsWith(QStringLiteral("-2"))) << s.text.toStdString();
    const double L = (11000 - 2000) / 2.0;
    bool rightRule = false;
    for (const Step& s : surface.steps)
        if (s.kind == Step::Line && s.x1 == L + 2000 && s.x2 == L + 2000) rightRule = true;
    EXPECT_TRUE(rightRule);
}

TEST_F(GridPrintoutTest, TooWideAsksAndYesPrintsNothing)
{
    fill(2);
    surface = RecordingSurface(2999, 8060);
    doubles().boxes->answers = {vbYes};
    EXPECT_EQ(print(), GridPrintOutcome::Declined);
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text,
              QStringLiteral("纸张宽度不够，请设置更宽的纸张或把纸张改成横向打印\n是否要修改打印设置？"));
    EXPECT_FALSE(surface.started());
    // No prints it centred, cut on both sides; exactly as wide asks nothing.
    doubles().boxes->answers = {vbNo};
    EXPECT_EQ(print(), GridPrintOutcome::Printed);
    surface = RecordingSurface(3000, 8060);
    doubles().boxes->shown.clear();
    EXPECT_EQ(print(), GridPrintOutcome::Printed);
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(GridPrintoutTest, APageTooShortOrNoRowsStartsNoDocument)
{
    fill(3);
    surface = RecordingSurface(11000, 2000);
    EXPECT_EQ(print(), GridPrintOutcome::PageTooShort);
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, QStringLiteral("纸张高度不够，无法打印清单"));
    EXPECT_FALSE(surface.started());
    surface = RecordingSurface(11000, 8060);
    grid.setRows(1);
    EXPECT_EQ(print(), GridPrintOutcome::NothingToPrint);
    EXPECT_FALSE(surface.started());
}

TEST_F(GridPrintoutTest, APrinterThatRefusesShowsTheErrorAndEndsNothing)
{
    fill(2);
    surface.failToStart(QStringLiteral("打印机未就绪"));
    EXPECT_EQ(print(), GridPrintOutcome::Failed);
    // The printer's words alone: a printing fault has no error number to show.
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, QStringLiteral("打印机未就绪"));
    EXPECT_FALSE(surface.ended());
}

TEST_F(GridPrintoutTest, PdfCarriesTheTextsInPlace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    fill(30);
    {
        auto pdf = PainterSurface::pdf(path);
        ASSERT_EQ(PrintGrid(*pdf, grid, PrintSurface::vbTwips, QStringLiteral("合同付款清单"), QStringLiteral("合同编号HT-1"),
                            true, 0),
                  GridPrintOutcome::Printed);
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForStarted()) GTEST_SKIP() << "pdftotext is missing";
    p.waitForFinished();
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(html.count(QStringLiteral("<page ")), 1);
    EXPECT_TRUE(html.contains(QStringLiteral(">恒远物业<")));
    EXPECT_TRUE(html.contains(QStringLiteral(">合同付款清单<")));
    EXPECT_TRUE(html.contains(QStringLiteral(">30-1<")));
    // The text layer may give 页 as its radical form: the page number is read by its digits.
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("yMin=\"8[0-9][0-9]\\.[0-9]+\"[^>]*>第1.</word>"))));
    EXPECT_TRUE(html.contains(QStringLiteral(">2026-12-10<")));
}

}  // namespace
}  // namespace corvane::test
