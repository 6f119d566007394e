#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <xlsxwriter.h>

#include "testsupport/Workbooks.h"
#include "platform/Xlsx.h"

using namespace corvane;
using namespace corvane::xlsx;
using corvane::test::readSheet;
using corvane::test::sheetNames;

namespace {

const CellFormat kTitle{.fontSize = 18, .horizontal = HAlign::Center, .vertical = VAlign::Distributed};
const CellFormat kAmount{.numberFormat = QStringLiteral("0.00_ "), .fontSize = 10.5, .thinBorders = true};
const CellFormat kCode{.numberFormat = QStringLiteral("@"), .fontSize = 10.5, .thinBorders = true};
const CellFormat kMarked{.bold = true, .italic = true, .fill = qRgb(0xFF, 0xCC, 0x00)};

// The shape of an export: a merged title row, a bordered table whose amount
// column is numeric and whose code column is text, widths from twips, one
// hidden column.
void fillExport(SheetWriter& w)
{
    const FormatId title = w.addFormat(kTitle);
    const FormatId amount = w.addFormat(kAmount);
    const FormatId code = w.addFormat(kCode);
    const FormatId marked = w.addFormat(kMarked);
    w.setColumn(0, columnWidthFromTwips(1500));
    w.setColumn(1, columnWidthFromTwips(1234));
    w.setColumn(2, columnWidthFromTwips(0));
    w.merge({0, 0, 0, 2});
    const Cell titleRow[] = {Cell::fromText(QStringLiteral("合同信息"), title), Cell::blank(title), Cell::blank(title)};
    w.writeRow(0, titleRow, 0, title);
    const Cell heading[] = {Cell::fromText(QStringLiteral("编号"), code), Cell::fromText(QStringLiteral("金额"), code),
                            Cell::fromText(QStringLiteral("隐藏"), code)};
    w.writeRow(3, heading);
    const Cell data[] = {Cell::fromText(QStringLiteral("007"), code), Cell::fromNumber(1234.5, amount),
                         Cell::fromText(QStringLiteral(" a<b>&_x0041_\t\x01 "), code)};
    w.writeRow(4, data);
    const Cell last[] = {Cell::fromText(QStringLiteral("斜体"), marked)};
    w.writeRow(5, last, 1);
}

void expectExport(const ReadSheet& s)
{
    EXPECT_EQ(s.text(0, 0), QStringLiteral("合同信息"));
    EXPECT_EQ(s.cell(0, 0)->format, kTitle);
    EXPECT_EQ(s.cell(0, 2)->format, kTitle);
    ASSERT_TRUE(s.rowFormats.count(0));
    EXPECT_EQ(s.rowFormats.at(0), kTitle);
    EXPECT_EQ(s.merges, (std::vector<Range>{{0, 0, 0, 2}}));

    EXPECT_EQ(s.text(4, 0), QStringLiteral("007"));
    EXPECT_FALSE(s.cell(4, 0)->isNumber);
    EXPECT_EQ(s.cell(4, 0)->format, kCode);
    EXPECT_EQ(s.text(4, 1), QStringLiteral("1234.5"));
    EXPECT_TRUE(s.cell(4, 1)->isNumber);
    EXPECT_EQ(s.cell(4, 1)->format, kAmount);
    EXPECT_EQ(s.text(4, 2), QStringLiteral(" a<b>&_x0041_\t\x01 "));
    EXPECT_EQ(s.text(5, 1), QStringLiteral("斜体"));
    EXPECT_EQ(s.cell(5, 1)->format, kMarked);
    EXPECT_EQ(s.cell(5, 0), nullptr);

    // Excel keeps widths in whole pixels: within one pixel (1/7 character).
    EXPECT_NEAR(s.column(0).value().width, 15.0, 1.0 / 7);
    EXPECT_NEAR(s.column(1).value().width, 12.34, 1.0 / 7);
    EXPECT_FALSE(s.column(0)->hidden);
    EXPECT_TRUE(s.column(2).value().hidden);
    EXPECT_FALSE(s.column(3).has_value());
}


std::map<QString, QByteArray> partsOf(const QString& path)
{
    WorkbookReader r;
    EXPECT_TRUE(r.open(path));
    return r.parts();
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A workbook as libxlsxwriter writes it in its ordinary mode: shared strings,
// a custom number format, a merge.
QString makeLibxlsxwriterWorkbook(const QString& path)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_format* money = workbook_add_format(book);
    format_set_num_format(money, "#,##0.00");
    lxw_worksheet* first = workbook_add_worksheet(book, "Sheet1");
    worksheet_write_string(first, 0, 0, "共享文本", nullptr);
    worksheet_write_number(first, 1, 0, 42.25, money);
    worksheet_merge_range(first, 2, 0, 2, 1, "合并", nullptr);
    lxw_worksheet* second = workbook_add_worksheet(book, "数据");
    worksheet_write_string(second, 0, 0, "旧内容", nullptr);
    worksheet_write_string(second, 9, 9, "远处", nullptr);
    EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
    return path;
}

void expectFirstSheetUnchanged(const QString& path)
{
    const ReadSheet s = readSheet(path, QStringLiteral("Sheet1"));
    EXPECT_EQ(s.text(0, 0), QStringLiteral("共享文本"));
    EXPECT_EQ(s.text(1, 0), QStringLiteral("42.25"));
    EXPECT_EQ(s.cell(1, 0)->format.numberFormat, QStringLiteral("#,##0.00"));
    EXPECT_EQ(s.merges, (std::vector<Range>{{2, 0, 2, 1}}));
}

class Xlsx : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

}  // namespace

TEST_F(Xlsx, NewWorkbookHasExcelsDefaultSheetThenTheWrittenOne)
{
    const QString file = path(QStringLiteral("新建.xlsx"));
    QString error;
    ASSERT_TRUE(writeSheet(file, QStringLiteral("合同列表"), fillExport, &error)) << error.toStdString();
    EXPECT_EQ(sheetNames(file), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("合同列表")}));
    expectExport(readSheet(file, QStringLiteral("合同列表")));
    EXPECT_TRUE(readSheet(file, QStringLiteral("Sheet1")).cells.empty());
    EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("新建.xlsx")});

    const QString only = path(QStringLiteral("one.xlsx"));
    ASSERT_TRUE(writeSheet(only, QStringLiteral("Sheet1"), fillExport, &error)) << error.toStdString();
    EXPECT_EQ(sheetNames(only), QStringList{QStringLiteral("Sheet1")});
}

TEST_F(Xlsx, AddedSheetLeavesEveryOtherPartByteIdentical)
{
    const QString file = makeLibxlsxwriterWorkbook(path(QStringLiteral("book.xlsx")));
    const auto before = partsOf(file);
    QString error;
    ASSERT_TRUE(writeSheet(file, QStringLiteral("导出"), fillExport, &error)) << error.toStdString();

    EXPECT_EQ(sheetNames(file), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("数据"), QStringLiteral("导出")}));
    expectExport(readSheet(file, QStringLiteral("导出")));
    expectFirstSheetUnchanged(file);
    EXPECT_EQ(readSheet(file, QStringLiteral("数据")).text(9, 9), QStringLiteral("远处"));

    const auto after = partsOf(file);
    const QStringList patched = {QStringLiteral("[Content_Types].xml"), QStringLiteral("xl/workbook.xml"),
                                 QStringLiteral("xl/_rels/workbook.xml.rels"), QStringLiteral("xl/styles.xml")};
    for (const auto& [name, bytes] : before) {
        ASSERT_TRUE(after.count(name)) << name.toStdString();
        if (!patched.contains(name)) {
            EXPECT_EQ(after.at(name), bytes) << name.toStdString();
        }
    }
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_TRUE(after.count(QStringLiteral("xl/worksheets/sheet3.xml")));
    EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("book.xlsx")});
}

TEST_F(Xlsx, RewritesTheSheetWithExactlyThatName)
{
    const QString file = makeLibxlsxwriterWorkbook(path(QStringLiteral("book.xlsx")));
    QString error;
    ASSERT_TRUE(writeSheet(file, QStringLiteral("数据"), fillExport, &error)) << error.toStdString();
    EXPECT_EQ(sheetNames(file), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("数据")}));
    const ReadSheet s = readSheet(file, QStringLiteral("数据"));
    expectExport(s);
    EXPECT_EQ(s.cell(9, 9), nullptr);
    expectFirstSheetUnchanged(file);

    // Writing the same export again reuses the styles it added the first time.
    const auto first = partsOf(file);
    ASSERT_TRUE(writeSheet(file, QStringLiteral("数据"), fillExport, &error)) << error.toStdString();
    EXPECT_EQ(partsOf(file).at(QStringLiteral("xl/styles.xml")), first.at(QStringLiteral("xl/styles.xml")));
    expectExport(readSheet(file, QStringLiteral("数据")));
}

TEST_F(Xlsx, FailuresLeaveTheFileAsItWas)
{
    const QString file = makeLibxlsxwriterWorkbook(path(QStringLiteral("book.xlsx")));
    const QString text = path(QStringLiteral("note.xlsx"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a workbook");
    }
    const QString missing = path(QStringLiteral("missing.xlsx"));
    const SheetFill overlapping = [](SheetWriter& w) {
        w.merge({0, 0, 1, 1});
        w.merge({1, 1, 2, 2});
    };
    const SheetFill outOfOrder = [](SheetWriter& w) {
        const Cell c[] = {Cell::fromText(QStringLiteral("x"))};
        w.writeRow(5, c);
        w.writeRow(4, c);
    };
    const SheetFill refused = [](SheetWriter& w) { w.fail(QStringLiteral("没有要输出的列")); };
    const struct {
        QString file, sheet;
        SheetFill fill;
    } cases[] = {
        {file, QStringLiteral("SHEET1"), fillExport},   // names are unique regardless of case
        {file, QStringLiteral("a/b"), fillExport},
        {file, QString(), fillExport},
        {file, QStringLiteral("新表"), overlapping},
        {file, QStringLiteral("数据"), outOfOrder},
        {file, QStringLiteral("数据"), refused},
        {text, QStringLiteral("数据"), fillExport},
        {missing, QStringLiteral("数据"), refused},
        {missing, QStringLiteral("数据"), overlapping},
    };
    const QByteArray original = bytesOf(file);
    const QStringList files = filesInDir();
    for (const auto& c : cases) {
        const QByteArray was = bytesOf(c.file);
        QString error;
        EXPECT_FALSE(writeSheet(c.file, c.sheet, c.fill, &error)) << c.sheet.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(bytesOf(c.file), was);
        EXPECT_EQ(filesInDir(), files) << c.sheet.toStdString();
    }
    EXPECT_EQ(bytesOf(file), original);
    QString error;
    writeSheet(file, QStringLiteral("数据"), refused, &error);
    EXPECT_EQ(error, QStringLiteral("没有要输出的列"));
}

TEST_F(Xlsx, DescribedWorkbookAndAutoFit)
{
    SheetContent a(QStringLiteral("甲"));
    a.setText(0, 0, QStringLiteral("标题"), kTitle);
    a.merge({0, 0, 1, 0});
    a.setNumber(2, 3, -0.5, kAmount);
    a.setBlank(2, 1, kCode);
    a.setColumn(5, 0);
    SheetContent b(QStringLiteral("乙"));
    b.setText(0, 0, QStringLiteral("x"));
    const QString file = path(QStringLiteral("described.xlsx"));
    QString error;
    ASSERT_TRUE(writeWorkbook(file, {a, b}, &error)) << error.toStdString();
    EXPECT_EQ(sheetNames(file), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
    const ReadSheet s = readSheet(file, QStringLiteral("甲"));
    EXPECT_EQ(s.merges, (std::vector<Range>{{0, 0, 1, 0}}));
    EXPECT_EQ(s.text(2, 3), QStringLiteral("-0.5"));
    EXPECT_EQ(s.cell(2, 1)->format, kCode);
    EXPECT_TRUE(s.column(5).value().hidden);

    // Wide characters count double; merged cells and rows above the range are left out.
    const QString fitted = path(QStringLiteral("fit.xlsx"));
    ASSERT_TRUE(writeSheet(fitted, QStringLiteral("Sheet1"), [](SheetWriter& w) {
        w.autoFitColumns(0, 1, 1);
        const Cell title[] = {Cell::fromText(QString(40, u'x'))};
        w.writeRow(0, title);
        const Cell row[] = {Cell::fromText(QStringLiteral("12345678901234567890")), Cell::fromText(QStringLiteral("中文中文中文中文中文"))};
        w.writeRow(1, row);
    }, &error)) << error.toStdString();
    const ReadSheet f = readSheet(fitted, QStringLiteral("Sheet1"));
    EXPECT_NEAR(f.column(0).value().width, 21, 0.5);
    EXPECT_NEAR(f.column(1).value().width, 21, 0.5);
}

TEST(XlsxNames, CellNamesAndSheetNames)
{
    const struct {
        int row, col;
        const char* name;
    } cells[] = {{0, 0, "A1"}, {3, 27, "AB4"}, {9, 155, "EZ10"}, {0, 16383, "XFD1"}, {1048575, 0, "A1048576"},
                 {0, 16384, ""}, {-1, 0, ""}};
    for (const auto& c : cells)
        EXPECT_EQ(cellName(c.row, c.col), QLatin1String(c.name)) << c.row << "," << c.col;

    const struct {
        const char* name;
        bool valid;
    } names[] = {{"合同列表", true}, {"Sheet 1", true}, {"", false}, {"a:b", false}, {"[x]", false},
                 {"'quoted'", false}, {"history", false}, {"1234567890123456789012345678901", true},
                 {"12345678901234567890123456789012", false}};
    for (const auto& n : names)
        EXPECT_EQ(isValidSheetName(QString::fromUtf8(n.name)), n.valid) << n.name;
}

TEST_F(Xlsx, ASpreadsheetProgramOpensWhatWeWrote)
{
    if (test::spreadsheetProgram().isEmpty()) GTEST_SKIP() << "no spreadsheet program installed (scripts/test installs one)";

    const QString file = makeLibxlsxwriterWorkbook(path(QStringLiteral("book.xlsx")));
    QString error;
    // The first sheet is the one patched into the package.
    ASSERT_TRUE(writeSheet(file, QStringLiteral("Sheet1"), fillExport, &error)) << error.toStdString();
    const QString csv = test::sheetAsSpreadsheetProgramShowsIt(file, QStringLiteral("Sheet1"), &error);
    ASSERT_FALSE(csv.isEmpty()) << error.toStdString();
    EXPECT_TRUE(csv.contains(QStringLiteral("合同信息"))) << csv.toStdString();
    EXPECT_TRUE(csv.contains(QStringLiteral("007,1234.50 ,"))) << csv.toStdString();
}
