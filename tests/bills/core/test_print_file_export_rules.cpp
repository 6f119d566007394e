// The print-file export without its window: checks, file names, the values
// of the sheet's cells, the batch's sheet rows, the settings file and the
// filled template read back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/TextFile.h"
#include "platform/Zip.h"
#include "platform/Xlsx.h"
#include "bills/PrintFileExport.h"
#include "testsupport/Workbooks.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

SingleInvoice completeInvoice()
{
    SingleInvoice f;
    f.开票项目 = QStringLiteral("0706 租赁业");
    f.发票种类 = QStringLiteral("10000004 广东省地方税收通用发票（电子-单联平推式）");
    f.付款方类型 = QStringLiteral("1 单位");
    f.名称 = QStringLiteral("翠湖商贸");
    f.证件类型 = QStringLiteral("6 身份证");
    return f;
}

TEST(PrintFileExportChecks, SingleInvoiceChecksInTheirOrder)
{
    struct Case {
        const char* what;
        std::function<void(SingleInvoice&)> change;
        std::optional<QString> message;
    };
    const std::vector<Case> cases{
        {"complete, no detail row", [](SingleInvoice&) {}, std::nullopt},
        {"no item", [](SingleInvoice& f) { f.开票项目.clear(); }, QStringLiteral("请选择开票项目及发票种类")},
        {"no kind before no name", [](SingleInvoice& f) { f.发票种类.clear(); f.名称.clear(); },
         QStringLiteral("请选择开票项目及发票种类")},
        {"no name", [](SingleInvoice& f) { f.名称.clear(); }, QStringLiteral("没有输入付款方名称")},
        {"a blank is a name", [](SingleInvoice& f) { f.名称 = QStringLiteral(" "); }, std::nullopt},
        {"no document type", [](SingleInvoice& f) { f.证件类型.clear(); }, QStringLiteral("没有选择付款方证件")},
        {"rows 1 and 3, row 2 empty",
         [](SingleInvoice& f) {
             f.明细[0] = QStringLiteral("房租"), f.明细[5] = QStringLiteral("100");
             f.明细[2] = QStringLiteral("水费"), f.明细[7] = QStringLiteral("5");
         },
         std::nullopt},
        {"row 1 only a remark", [](SingleInvoice& f) { f.明细[10] = QStringLiteral("一月"); },
         QStringLiteral("第1行发票明细数据不完整")},
        {"row 2 without amount",
         [](SingleInvoice& f) { f.明细[0] = QStringLiteral("房租"), f.明细[5] = QStringLiteral("1"), f.明细[1] = QStringLiteral("水费"); },
         QStringLiteral("第2行发票明细数据不完整")},
        {"an amount that is a blank", [](SingleInvoice& f) { f.明细[0] = QStringLiteral("房租"), f.明细[5] = QStringLiteral(" "); },
         std::nullopt},
    };
    for (const Case& c : cases) {
        SingleInvoice f = completeInvoice();
        c.change(f);
        EXPECT_EQ(checkSingleInvoice(f), c.message) << c.what;
    }
}

发票打印数据 batchOf(int n)
{
    发票打印数据 records(size_t(n) + 1);
    for (int i = 1; i <= n; ++i) {
        records[size_t(i)].开票项目 = QStringLiteral("0706 租赁业");
        records[size_t(i)].付款方类型 = QStringLiteral("0 个人");
        records[size_t(i)].付款方名称 = QStringLiteral("业主%1").arg(i);
        records[size_t(i)].付款方证件类型 = QStringLiteral("6 身份证");
        records[size_t(i)].付款方证件号码 = QStringLiteral("44010619800101%1").arg(1000 + i);
        records[size_t(i)].付款方手机号码 = QStringLiteral("1380000%1").arg(1000 + i);
        records[size_t(i)].合计金额 = QStringLiteral("150.00");
        records[size_t(i)].明细 = QStringLiteral("房租,100.00,一月|物业费,50.00,|");
    }
    return records;
}

TEST(PrintFileExportChecks, BatchRecordsAreCheckedBeforeTheGrid)
{
    const QString item = QStringLiteral("0706 租赁业"), kind = QStringLiteral("10000004");
    发票打印数据 records = batchOf(3);
    std::vector<BatchGridRow> grid{{"1", "房租", "100", ""}, {"3", "", "5", ""}};
    EXPECT_EQ(checkBatch(QString(), kind, records, grid), QStringLiteral("请选择开票项目及发票种类"));
    EXPECT_EQ(checkBatch(item, kind, records, grid), QStringLiteral("第3份发票明细数据不完整"));
    records[2].付款方名称.clear();
    records[1].付款方证件类型.clear();
    EXPECT_EQ(checkBatch(item, kind, records, grid), QStringLiteral("第1份发票没有选择付款方证件"));
    records[1].付款方证件类型 = QStringLiteral("6 身份证");
    EXPECT_EQ(checkBatch(item, kind, records, grid), QStringLiteral("第2份发票没有输入付款方名称"));
    records[2].付款方类型.clear();
    EXPECT_EQ(checkBatch(item, kind, records, grid), QStringLiteral("第2份发票的收款方式没有选择"));
}

TEST(PrintFileExportNames, PayerNameBecomesAPlainFileName)
{
    EXPECT_EQ(singleExportFileName(QStringLiteral(" 翠湖 商贸\r\n"), QStringLiteral("xlsx")), QStringLiteral("翠湖商贸.xlsx"));
    EXPECT_EQ(singleExportFileName(QStringLiteral("a\nb"), QStringLiteral("xlsm")), QStringLiteral("ab.xlsm"));
    // Separators and the characters no file name may hold cannot reach outside the folder.
    EXPECT_EQ(singleExportFileName(QStringLiteral("..\\../x:y*z?\"<>|"), QStringLiteral("xlsx")),
              QStringLiteral(".._.._x_y_z_____.xlsx"));
    EXPECT_EQ(batchExportFileName(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), QStringLiteral("xlsx")),
              QStringLiteral("批处理票据打印文件20260102030405.xlsx"));
}

TEST(PrintFileExportNames, PickedFileGivesItsFolder)
{
    EXPECT_EQ(folderOfPickedFile(QStringLiteral("D:\\票据\\导出\\a.xls")), QStringLiteral("D:\\票据\\导出\\"));
    EXPECT_EQ(folderOfPickedFile(QStringLiteral("D:\\a.xls")), QStringLiteral("D:\\"));
    EXPECT_EQ(folderOfPickedFile(QStringLiteral("/home/u/导出/a.xlsx")), QStringLiteral("/home/u/导出/"));
    EXPECT_EQ(folderOfPickedFile(QString()), QString());
    EXPECT_EQ(excelFileFilter(), QStringLiteral("Excel 文件 (*.xls *.xlsx);;所有文件 (*.*)"));
}

TEST(PrintFileExportCells, PlainNumbersBecomeNumbersOutsideTextColumns)
{
    EXPECT_EQ(sheetValue(QStringLiteral("100.50"), false).kind, xlsx::Cell::Kind::Number);
    EXPECT_EQ(sheetValue(QStringLiteral("-3"), false).number, -3);
    EXPECT_EQ(sheetValue(QStringLiteral("100.50"), true).kind, xlsx::Cell::Kind::Text);
    for (const char* text : {"1,000", "12元", "1e5", " 12", "0104 管道运输", ""})
        EXPECT_EQ(sheetValue(QString::fromUtf8(text), false).kind, xlsx::Cell::Kind::Text) << text;
}

TEST(PrintFileExportDetail, LinesEndWithABar)
{
    EXPECT_EQ(detailLines(QStringLiteral("房租,100.00,一月|物业费,50.00,|")).size(), 2);
    EXPECT_EQ(detailLines(QStringLiteral("房租,100.00,一月|物业费,50.00,")).size(), 1);
    EXPECT_TRUE(detailLines(QString()).isEmpty());
    const auto parts = detailParts(QStringLiteral("房租"));
    EXPECT_EQ(parts[0], QStringLiteral("房租"));
    EXPECT_TRUE(parts[1].isEmpty() && parts[2].isEmpty());
    EXPECT_EQ(detailParts(QStringLiteral("a,b,c,d"))[2], QStringLiteral("c"));
}

TEST(PrintFileExportRows, BatchWritesInvoiceColumnsOnTheFirstWrittenRow)
{
    发票打印数据 records = batchOf(3);
    // Invoice 1: a line, an amount without description, a line; invoice 2 no
    // line at all; invoice 3 one line.
    const std::vector<BatchGridRow> grid{{"1", "房租", "100", "一月"}, {"1", "", "5", ""},      {"1", "水费", "5", ""},
                                         {"2", "", "", ""},             {"3", "电费", "7.5", "x"}};
    const auto rows = batchSheetRows(QStringLiteral("10000004"), records, grid);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0].number, 1);
    EXPECT_EQ(rows[0][10].text, QStringLiteral("房租"));
    EXPECT_EQ(rows[1][0].kind, xlsx::Cell::Kind::Blank);
    EXPECT_EQ(rows[1][10].text, QStringLiteral("水费"));
    // Invoice 2 wrote no line, so invoice 3's columns took its row.
    EXPECT_EQ(rows[2][0].number, 3);
    EXPECT_EQ(rows[2][5].text, QStringLiteral("业主3"));
    EXPECT_EQ(rows[2][11].number, 7.5);
    EXPECT_EQ(rows[2][4].kind, xlsx::Cell::Kind::Text);  // E stays text
}

TEST(PrintFileExportRows, SingleExportsTheLeadingRunOfDescribedRows)
{
    SingleInvoice f = completeInvoice();
    f.明细[0] = QStringLiteral("房租"), f.明细[5] = QStringLiteral("100");
    f.明细[2] = QStringLiteral("水费"), f.明细[7] = QStringLiteral("5");
    EXPECT_EQ(singleSheetRows(f).size(), 1u);
    f.明细[0].clear();
    EXPECT_TRUE(singleSheetRows(f).empty());
}

// ------------------------------------------------------------------ settings file

TEST(PrintFileExportSettings, ValuesWithCommasComeBackWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kExportSettingsFile);
    const QStringList values{QStringLiteral("D:\\模板\\a.xlsx"), QStringLiteral("D:\\导出\\"), QStringLiteral("0706 租赁业"),
                             QStringLiteral("10000004 广东"), QStringLiteral("甲公司,乙分公司"), QStringLiteral("9144"),
                             QStringLiteral("广州市税务局"), QStringLiteral("6 身份证")};
    ASSERT_TRUE(writeExportSettings(path, values));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 8);
    EXPECT_TRUE(bytes.contains(toGbk(QStringLiteral("\"甲公司,乙分公司\"\r\n"))));
    EXPECT_EQ(readExportSettings(path), values);
}

TEST(PrintFileExportSettings, OldUnquotedFilesReadAsBefore)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kExportSettingsFile);
    ASSERT_TRUE(writeGbkLines(path, {QStringLiteral("  a.xlsx"), QStringLiteral("甲公司,乙分公司"), QString(), QStringLiteral("\"x\"")}));
    EXPECT_EQ(readExportSettings(path),
              (QStringList{QStringLiteral("a.xlsx"), QStringLiteral("甲公司"), QStringLiteral("乙分公司"), QString(),
                           QStringLiteral("x")}));
    EXPECT_FALSE(readExportSettings(dir.filePath(QStringLiteral("missing.ini"))).has_value());
}

// ------------------------------------------------------------------ the workbook

// A template of the outside program: a first sheet, then GDDSFP with its
// heading, old invoices, a cell beyond M and a formatted row.
QString makeTemplate(const QTemporaryDir& dir, const QString& sheetName = kPrintSheet, int oldFrom = 1)
{
    xlsx::SheetContent readme(QStringLiteral("说明"));
    readme.setText(0, 0, QStringLiteral("票据打印模板"));
    xlsx::SheetContent sheet(sheetName);
    const QStringList heads{"序号", "发票种类", "开票项目", "付款方类型", "手机", "付款方名称", "证件类型",
                            "证件号码", "合计金额", "附注", "开票项目说明", "金额", "备注", "校验"};
    for (int c = 0; c < heads.size(); ++c) sheet.setText(0, c, heads[c]);
    sheet.setColumn(5, 30);
    for (int r = oldFrom; r < oldFrom + 4; ++r) {
        for (int c = 0; c < 13; ++c) sheet.setText(r, c, QStringLiteral("旧%1").arg(r));
        sheet.setText(r, 13, QStringLiteral("保留%1").arg(r));
    }
    const QString path = dir.filePath(QStringLiteral("模板.xlsx"));
    QString error;
    EXPECT_TRUE(xlsx::writeWorkbook(path, {readme, sheet}, &error)) << qPrintable(error);
    return path;
}

TEST(PrintFileExportWorkbook, FillsTheSheetAndLeavesEverythingElse)
{
    QTemporaryDir dir;
    const QString path = makeTemplate(dir, kPrintSheet, 5);  // old rows below an empty stretch
    xlsx::WorkbookReader before;
    ASSERT_TRUE(before.open(path));
    const auto partsBefore = before.parts();

    发票打印数据 records = batchOf(2);
    records[1].付款方证件号码 = QStringLiteral("440106198001011234");
    const std::vector<BatchGridRow> grid{{"1", "房租", "100.00", "一月"}, {"1", "物业费", "50.00", ""},
                                         {"2", "房租", "100.00", ""}};
    ASSERT_EQ(fillPrintFile(path, batchSheetRows(QStringLiteral("10000004"), records, grid)), PrintFileOutcome::Done);

    xlsx::WorkbookReader after;
    ASSERT_TRUE(after.open(path));
    EXPECT_EQ(after.sheetNames(), (QStringList{"说明", "GDDSFP"}));
    const auto sheet = after.sheet(kPrintSheet);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->text(0, 0), QStringLiteral("序号"));
    EXPECT_EQ(sheet->text(0, 13), QStringLiteral("校验"));
    ASSERT_TRUE(sheet->cell(1, 0));
    EXPECT_TRUE(sheet->cell(1, 0)->isNumber);
    EXPECT_EQ(sheet->text(1, 0), QStringLiteral("1"));
    EXPECT_EQ(sheet->text(1, 7), QStringLiteral("440106198001011234"));
    EXPECT_FALSE(sheet->cell(1, 7)->isNumber);
    EXPECT_EQ(sheet->cell(1, 7)->format.numberFormat, QStringLiteral("@"));
    EXPECT_EQ(sheet->cell(1, 4)->format.numberFormat, QStringLiteral("@"));
    EXPECT_TRUE(sheet->cell(1, 8)->isNumber);    // 150.00
    EXPECT_TRUE(sheet->cell(1, 11)->isNumber);   // 100.00
    EXPECT_EQ(sheet->text(2, 10), QStringLiteral("物业费"));
    EXPECT_EQ(sheet->text(2, 0), QString());
    EXPECT_EQ(sheet->text(2, 12), QString());
    EXPECT_EQ(sheet->text(3, 0), QStringLiteral("2"));
    // Old invoices are gone in A to M however far down they lay; N keeps its cells.
    for (int r = 4; r <= 8; ++r)
        for (int c = 0; c < 13; ++c) EXPECT_EQ(sheet->text(r, c), QString()) << r << ',' << c;
    EXPECT_EQ(sheet->text(5, 13), QStringLiteral("保留5"));
    EXPECT_EQ(sheet->text(8, 13), QStringLiteral("保留8"));
    ASSERT_TRUE(sheet->column(5));
    EXPECT_NEAR(sheet->column(5)->width, 30, 0.5);
    // The first sheet and every other part are byte for byte as they were.
    EXPECT_EQ(after.sheet(QStringLiteral("说明"))->text(0, 0), QStringLiteral("票据打印模板"));
    const auto partsAfter = after.parts();
    for (const auto& [name, bytes] : partsBefore) {
        if (name.contains(QStringLiteral("sheet2")) || name.endsWith(QStringLiteral("styles.xml"))) continue;
        ASSERT_TRUE(partsAfter.count(name)) << qPrintable(name);
        EXPECT_EQ(partsAfter.at(name), bytes) << qPrintable(name);
    }

    // Read by a spreadsheet program, as the outside program's clerk sees it:
    // the identity number whole (not 4.40106E+17), the kept column beside it.
    if (test::spreadsheetProgram().isEmpty()) GTEST_SKIP() << "no spreadsheet program installed (scripts/test installs one)";
    QString error;
    const QString text = test::sheetAsSpreadsheetProgramShowsIt(path, kPrintSheet, &error);
    ASSERT_FALSE(text.isEmpty()) << error.toStdString();
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 4) << text.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("序号,"))) << text.toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("校验"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(",440106198001011234,"))) << text.toStdString();
    EXPECT_TRUE(lines[2].contains(QStringLiteral("物业费"))) << text.toStdString();
    EXPECT_TRUE(lines[5].endsWith(QStringLiteral("保留5"))) << text.toStdString();
}

TEST(PrintFileExportWorkbook, TemplateWithoutTheExactSheetIsNotFilled)
{
    QTemporaryDir dir;
    const QString path = makeTemplate(dir, QStringLiteral("gddsfp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    EXPECT_EQ(fillPrintFile(path, {}), PrintFileOutcome::NotTemplate);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(PrintFileExportWorkbook, HiddenSheetAndWindowAreShown)
{
    QTemporaryDir dir;
    const QString path = makeTemplate(dir);
    xlsx::WorkbookReader reader;
    ASSERT_TRUE(reader.open(path));
    auto parts = reader.parts();
    QString workbook = QString::fromUtf8(parts.at(QStringLiteral("xl/workbook.xml")));
    workbook.replace(QStringLiteral("<sheet name=\"GDDSFP\""), QStringLiteral("<sheet name=\"GDDSFP\" state=\"hidden\""));
    workbook.replace(QStringLiteral("<workbookView "), QStringLiteral("<workbookView visibility=\"hidden\" "));
    ASSERT_TRUE(workbook.contains(QStringLiteral("state=\"hidden\"")) && workbook.contains(QStringLiteral("visibility=")));
    parts[QStringLiteral("xl/workbook.xml")] = workbook.toUtf8();
    const QString hidden = dir.filePath(QStringLiteral("隐藏.xlsx"));
    {
        QFile out(hidden);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        zip::Writer writer(out);
        for (const auto& [name, bytes] : parts) ASSERT_TRUE(writer.add(name.toUtf8(), bytes, nullptr));
        ASSERT_TRUE(writer.finish(nullptr));
    }
    ASSERT_EQ(fillPrintFile(hidden, {}), PrintFileOutcome::Done);
    xlsx::WorkbookReader after;
    ASSERT_TRUE(after.open(hidden));
    const QString filled = QString::fromUtf8(after.parts().at(QStringLiteral("xl/workbook.xml")));
    EXPECT_FALSE(filled.contains(QStringLiteral("hidden")));
    EXPECT_TRUE(filled.contains(QStringLiteral("<sheet name=\"说明\"")));
}

TEST(PrintFileExportWorkbook, EmptyFillClearsTheOldRowsOnly)
{
    QTemporaryDir dir;
    const QString path = makeTemplate(dir);
    ASSERT_EQ(fillPrintFile(path, {}), PrintFileOutcome::Done);
    xlsx::WorkbookReader after;
    ASSERT_TRUE(after.open(path));
    const auto sheet = after.sheet(kPrintSheet);
    EXPECT_EQ(sheet->text(0, 12), QStringLiteral("备注"));
    EXPECT_EQ(sheet->text(1, 0), QString());
    EXPECT_EQ(sheet->text(1, 13), QStringLiteral("保留1"));
    EXPECT_FALSE(xlsx::isOpenXmlPackage(dir.filePath(QStringLiteral("none.xls"))));
    EXPECT_TRUE(xlsx::isOpenXmlPackage(path));
    EXPECT_EQ(fillPrintFile(dir.filePath(QStringLiteral("none.xlsx")), {}), PrintFileOutcome::Failed);
}

}  // namespace
}  // namespace corvane::test
