#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <tuple>

#include "app/GridToSheet.h"
#include "platform/FlexGrid.h"
#include "platform/Xlsx.h"
#include "testsupport/Workbooks.h"

using namespace corvane;
using namespace corvane::xlsx;
using corvane::test::readSheet;

namespace {

// Heading row, two data rows; column 0 right-aligned (amounts), column 1
// left-aligned, column 2 general.
std::unique_ptr<FlexGrid> smallGrid()
{
    auto g = std::make_unique<FlexGrid>();
    g->setFixedCols(0);
    g->setCols(3);
    g->setRows(3);
    const char* texts[3][3] = {{"金额", "编号", "备注"}, {"12.50", "007", ""}, {"1,234", "-3", "x"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) g->setTextMatrix(r, c, QString::fromUtf8(texts[r][c]));
    g->setColAlignment(0, flexAlignRightCenter);
    g->setColAlignment(1, flexAlignLeftCenter);
    return g;
}

const CellFormat kTitle{.fontSize = 14};

}  // namespace

TEST(GridToSheet, ReadsTheGridWithoutMovingItsCursor)
{
    QTemporaryDir dir;
    auto g = smallGrid();
    g->setRow(2);
    g->setCol(1);
    g->setCellFontItalic(true);
    g->setCellBackColor(QColor(0x11, 0x22, 0x33));
    g->setRow(1);
    g->setCol(0);
    g->setRowSel(2);
    int cursorEvents = 0;
    for (auto signal : {&FlexGrid::RowColChange, &FlexGrid::EnterCell, &FlexGrid::LeaveCell, &FlexGrid::SelChange})
        QObject::connect(g.get(), signal, [&] { ++cursorEvents; });

    const QString file = dir.filePath(QStringLiteral("a.xlsx"));
    QString error;
    ASSERT_TRUE(writeGridToSheet(*g, file, QStringLiteral("S"), {.cellAttributes = true}, &error)) << error.toStdString();

    EXPECT_EQ(cursorEvents, 0);
    EXPECT_EQ(std::tuple(g->Row(), g->Col(), g->RowSel(), g->ColSel()), std::tuple(1, 0, 2, 0));
    const ReadSheet s = readSheet(file, QStringLiteral("S"));
    const CellFormat plain{.fontSize = 10.5, .thinBorders = true};
    CellFormat marked = plain;
    marked.italic = true;
    marked.fill = qRgb(0x11, 0x22, 0x33);
    EXPECT_EQ(s.text(2, 1), QStringLiteral("-3"));
    EXPECT_EQ(s.cell(2, 1)->format, marked);
    EXPECT_EQ(s.cell(1, 1)->format, plain);
    EXPECT_EQ(s.cell(2, 0)->format, plain);
}

TEST(GridToSheet, AmountColumnsDecideWhatBecomesANumber)
{
    QTemporaryDir dir;
    auto g = smallGrid();
    struct Case {
        const char* name;
        bool amountColumns;
        // Cells of grid row 1 and 2 (sheet rows 2 and 3 under one title).
        bool number[2][3];
        const char* numberFormat[3];
    } cases[] = {
        // Only the right-aligned and the general column read "12.50" and "-3" as numbers.
        {"amount columns", true, {{true, false, false}, {false, false, false}}, {"0.00_ ", "@", "0.00_ "}},
        {"every column", false, {{true, true, false}, {false, true, false}}, {"", "", ""}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        const QString file = dir.filePath(QString::fromLatin1(tc.name) + ".xlsx");
        const GridSheetLayout layout{.titles = {{QStringLiteral("标题"), kTitle}}, .amountColumns = tc.amountColumns};
        ASSERT_TRUE(writeGridToSheet(*g, file, QStringLiteral("S"), layout));
        const ReadSheet s = readSheet(file, QStringLiteral("S"));
        EXPECT_EQ(s.text(0, 0), QStringLiteral("标题"));
        EXPECT_EQ(s.merges, (std::vector<Range>{{0, 0, 0, 2}}));
        EXPECT_EQ(s.text(1, 1), QStringLiteral("编号"));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) {
                const ReadCell* cell = s.cell(r + 2, c);
                ASSERT_NE(cell, nullptr) << r << "," << c;
                EXPECT_EQ(cell->isNumber, tc.number[r][c]) << r << "," << c;
                EXPECT_EQ(cell->format.numberFormat, QString::fromLatin1(tc.numberFormat[c])) << r << "," << c;
            }
        EXPECT_EQ(s.text(2, 1), tc.amountColumns ? QStringLiteral("007") : QStringLiteral("7"));
    }
}

TEST(GridToSheet, ChosenColumnsInTheirOrderWithAppendedTextAndGridWidths)
{
    QTemporaryDir dir;
    auto g = smallGrid();
    g->setColWidth(2, 1500);
    g->setColWidth(0, 40000);  // wider than a workbook column may be
    const QString file = dir.filePath(QStringLiteral("c.xlsx"));
    const GridSheetLayout layout{.columns = {2, 0}, .widthsFromGrid = true, .appended = {QStringLiteral("!")}};
    ASSERT_TRUE(writeGridToSheet(*g, file, QStringLiteral("S"), layout));

    const ReadSheet s = readSheet(file, QStringLiteral("S"));
    const QStringList a = {"备注!", "!", "x!"};  // an empty cell gets the text too
    const QStringList b = {"金额", "12.5", "1,234"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(s.text(r, 0), a[r]) << r;
        EXPECT_EQ(s.text(r, 1), b[r]) << r;
    }
    EXPECT_EQ(s.cell(0, 2), nullptr);
    EXPECT_NEAR(s.column(0).value().width, 15.0, 1.0 / 7);
    EXPECT_NEAR(s.column(1).value().width, 255.0, 1.0 / 7);
}

TEST(GridToSheet, NoColumnsWritesNothing)
{
    QTemporaryDir dir;
    FlexGrid g;
    g.setCols(0);
    QString error;
    EXPECT_FALSE(writeGridToSheet(g, dir.filePath(QStringLiteral("n.xlsx")), QStringLiteral("S"), {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A list export opened by a real spreadsheet program: the titles, the
// heading row, amounts shown "0.00" and a code with leading zeros kept as
// text, as the clerk sees them there.
TEST(GridToSheet, ASpreadsheetProgramShowsTheListAsWritten)
{
    if (test::spreadsheetProgram().isEmpty()) GTEST_SKIP() << "no spreadsheet program installed (scripts/test installs one)";
    QTemporaryDir dir;
    auto g = smallGrid();
    const QString file = dir.filePath(QStringLiteral("合同列表.xlsx"));
    QString error;
    ASSERT_TRUE(writeGridToSheet(*g, file, QStringLiteral("合同列表"),
                                 {.titles = {{QStringLiteral("合同汇总统计"), kTitle}}, .amountColumns = true}, &error))
        << error.toStdString();
    const QString csv = test::sheetAsSpreadsheetProgramShowsIt(file, QStringLiteral("合同列表"), &error);
    ASSERT_FALSE(csv.isEmpty()) << error.toStdString();
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4) << csv.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("合同汇总统计"))) << csv.toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("金额,编号,备注"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("12.50"))) << csv.toStdString();
    EXPECT_TRUE(lines[2].contains(QStringLiteral(",007,"))) << csv.toStdString();
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("1,234")) || lines[3].startsWith(QStringLiteral("\"1,234\"")))
        << csv.toStdString();
}
