#include <gtest/gtest.h>

#include <QScrollBar>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <tuple>

#include "testsupport/Workbooks.h"
#include "app/frmToExcel.h"
#include "app/frm输出到Excel文件.h"
#include "platform/TextMeasure.h"
#include "platform/Xlsx.h"
#include "testsupport/LayoutCheck.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;
using namespace corvane::xlsx;
using corvane::test::readSheet;
using corvane::test::sheetNames;

namespace {

using Rows = std::vector<std::vector<QString>>;

std::unique_ptr<FlexGrid> makeGrid(const Rows& rows, int fixedRows = 1)
{
    auto g = std::make_unique<FlexGrid>();
    g->setFixedCols(0);
    g->setCols(int(rows.at(0).size()));
    g->setRows(int(rows.size()));
    g->setFixedRows(fixedRows);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) g->setTextMatrix(int(r), int(c), rows[r][c]);
    return g;
}


const CellFormat kTitleRow{.fontSize = 18, .horizontal = HAlign::Center, .vertical = VAlign::Distributed};
const CellFormat kSubtitleRow{.fontSize = 12, .horizontal = HAlign::Center, .vertical = VAlign::Distributed};
const CellFormat kDateRow{.fontSize = 10, .horizontal = HAlign::Right, .vertical = VAlign::Distributed};
const CellFormat kHeadingRow{.horizontal = HAlign::Center, .vertical = VAlign::Distributed};
CellFormat body(const char* numberFormat, bool heading = false)
{
    CellFormat f{.numberFormat = QString::fromLatin1(numberFormat), .fontSize = 10.5, .thinBorders = true};
    if (heading) {
        f.horizontal = HAlign::Center;
        f.vertical = VAlign::Distributed;
    }
    return f;
}

class ToExcel : public ::testing::Test {
protected:
    void SetUp() override { resetServices(); }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        setTextWidthMeasure({});
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    // The window prepared the way the modal callers do it: every column marked.
    frmToExcel* prepared(FlexGrid& source, const QString& file, const QString& sheet = QStringLiteral("合同列表"))
    {
        auto* f = Forms::get<frmToExcel>();
        f->Grid1->setCols(source.Cols());
        for (int c = 0; c < source.Cols(); ++c) {
            f->Grid1->setTextMatrix(0, c, source.TextMatrix(0, c));
            f->Grid1->setTextMatrix(1, c, QStringLiteral("√"));
        }
        f->setGrid(&source);
        f->Text1[0]->setText(file);
        f->Text1[1]->setText(QStringLiteral("财务部合同信息"));
        f->Text1[2]->setText(sheet);
        return f;
    }

    QTemporaryDir dir;
};

}  // namespace

TEST(ToExcelNames, RangeNomCoversAToEZ)
{
    struct Case {
        int c, j;
        const char* name;
    } cases[] = {{0, 1, "A1"}, {25, 3, "Z3"}, {26, 7, "AA7"}, {27, 4, "AB4"}, {52, 2, "BA2"}, {155, 10, "EZ10"},
                 {156, 10, ""}, {-1, 1, ""}};
    for (const Case& c : cases) EXPECT_EQ(frmToExcel::RangeNom(c.c, c.j), QString::fromLatin1(c.name)) << c.c;
}

TEST(ToExcelNames, WorkbookFileNameGetsXlsx)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/d/合同", "/d/合同.xlsx"},          {"/d/book.xls", "/d/book.xlsx"}, {"/d/book.XLS", "/d/book.xlsx"},
        {"/d/book.xlsx", "/d/book.xlsx"},     {"/d/book.", "/d/book.xlsx"},    {"/d.v2/book", "/d.v2/book.xlsx"},
        {"/d/book.csv", "/d/book.csv"},
    };
    for (const auto& [chosen, written] : cases)
        EXPECT_EQ(workbookFileName(QString::fromUtf8(chosen)), QString::fromUtf8(written)) << chosen;
}

TEST(ToExcelNames, OnlyPlainDecimalTextIsANumber)
{
    const std::pair<const char*, double> numbers[] = {{"1234.50", 1234.5}, {"-0.5", -0.5}, {"+3", 3},  {".5", 0.5},
                                                      {"12.", 12},         {"007", 7},     {"-0", 0},  {"0.1", 0.1}};
    for (const auto& [text, expected] : numbers) {
        double v = -99;
        EXPECT_TRUE(parsePlainNumber(QString::fromUtf8(text), &v)) << text;
        EXPECT_EQ(v, expected) << text;
        EXPECT_FALSE(std::signbit(v) && v == 0) << text;
    }
    const char* texts[] = {"", "-", ".", "+.", "1,234.50", "1e3", " 12", "12 ", "1.2.3", "12%", "１２", "--1", "0x10", "(12)"};
    for (const char* text : texts) {
        double v = -99;
        EXPECT_FALSE(parsePlainNumber(QString::fromUtf8(text), &v)) << text;
        EXPECT_EQ(v, -99) << text;
    }
}

TEST_F(ToExcel, WindowLayout)
{
    auto* f = Forms::get<frmToExcel>();
    EXPECT_EQ(f->size(), QSize(5070 / 15, (3795 + 480) / 15));
    // The column list shows its headings and marks as two whole rows above its scroll bar.
    EXPECT_GE(f->Grid1->height(), 2 * twipsToPixels(f->Grid1->RowHeight(0)) + f->Grid1->horizontalScrollBar()->sizeHint().height() + 4);
    EXPECT_EQ(f->Caption(), QString());
    EXPECT_EQ(f->Label1->text(), QStringLiteral("Excel文件路径和名称"));
    EXPECT_EQ(f->Label2->text(), QStringLiteral("文档标题"));
    EXPECT_EQ(f->Label3->text(), QStringLiteral("工作表名称"));
    EXPECT_EQ(f->Check1->text(), QStringLiteral("输出时启动Microsoft Excel程序"));
    EXPECT_TRUE(f->Check1->isChecked());
    EXPECT_EQ(f->Command2->text(), QStringLiteral("确定"));
    EXPECT_EQ(f->Command3->text(), QStringLiteral("退出"));
    EXPECT_TRUE(f->Command1->text().isEmpty());
    EXPECT_EQ(f->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
              QStringLiteral("提示: 打“√”表示要输出的列，双击可取消选择。"));
    EXPECT_EQ(f->Text1[0]->objectName(), QStringLiteral("Text1_0"));
    EXPECT_TRUE(f->Text1[0]->text().isEmpty());
    EXPECT_EQ(f->Grid1->Rows(), 2);
    EXPECT_EQ(f->Grid1->FixedRows(), 1);
    EXPECT_EQ(f->Grid1->FixedCols(), 0);
    // Text1(0) with the browse button at its right end, above the title box.
    EXPECT_EQ(f->Command1->geometry().left(), f->Text1[0]->geometry().right() + 1);
    EXPECT_LT(f->Text1[0]->geometry().bottom(), f->Text1[1]->geometry().top());
    EXPECT_LT(f->Grid1->geometry().bottom(), f->Command2->geometry().top());
    // Each label shows its whole text, clear of its box.
    for (const auto& [label, box] : {std::pair{f->Label2, f->Text1[1]}, std::pair{f->Label3, f->Text1[2]}}) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_LT(label->geometry().right(), box->geometry().left()) << label->text().toStdString();
    }

    f->Command3->click();
    EXPECT_FALSE(Forms::isLoaded<frmToExcel>());
}

// On a 1024x768 screen both export windows fit and Esc closes each as its
// 退出 or 取消 does.
TEST_F(ToExcel, OnTheSmallScreenBothExportWindowsFitAndCloseWithEsc)
{
    auto* first = Forms::get<frmToExcel>();
    EXPECT_EQ(screenProblems(*first), QStringList());
    EXPECT_EQ(escapeProblems(*first, first->Command3), QStringList());
    auto* second = Forms::get<frm输出到Excel文件>();
    EXPECT_EQ(screenProblems(*second), QStringList());
    EXPECT_EQ(escapeProblems(*second, second->Command3), QStringList());
}

TEST_F(ToExcel, BothExportWindowsHaveAFixedFrameWithoutMinimiseAndMaximise)
{
    const auto noMinMax = [](const QWidget* w) {
        return !(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    };
    const std::vector<std::function<Form*()>> windows = {[] { return Forms::get<frmToExcel>(); },
                                                         [] { return Forms::get<frm输出到Excel文件>(); }};
    for (const auto& window : windows) {
        Form* f = window();
        EXPECT_TRUE(f->windowFlags() & Qt::MSWindowsFixedSizeDialogHint) << f->objectName().toStdString();
        EXPECT_TRUE(noMinMax(f)) << f->objectName().toStdString();
        f->Unload();

        // Shown modeless as a window of its own in front of the main window,
        // at its designed size: never a child the area would maximise.
        QMdiArea area;
        area.resize(900, 600);
        area.show();
        area.addSubWindow(new QWidget)->showMaximized();
        FormRegistry::instance().setMdiArea(&area);
        f = window();
        const QSize designed = f->size();
        f->Show();
        EXPECT_EQ(f->subWindow(), nullptr);
        EXPECT_TRUE(f->isWindow());
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->parentWidget(), area.window());
        EXPECT_EQ(f->size(), designed);
        EXPECT_TRUE(noMinMax(f)) << f->objectName().toStdString();
        EXPECT_TRUE(f->windowFlags() & Qt::WindowCloseButtonHint);
        f->Unload();
        FormRegistry::instance().setMdiArea(nullptr);
    }
}

TEST_F(ToExcel, ConfigListsTheColumnsAndHidesHeadingLessOnes)
{
    setTextWidthMeasure([](const QFont&, const QString& s) { return 100.0 * s.size(); });
    // Two heading rows: differing lower texts join the heading in brackets.
    auto source = makeGrid({{"编号", "金额", "", "隐藏", "状态"},
                            {" 编号 ", "收款", "", "隐藏", "当前"},
                            {"001", "10.00", "a", "h", "签订"}},
                           2);
    source->setColWidth(3, 0);
    source->setFixedAlignment(4, flexAlignGeneral);
    source->setColWidth(4, 2345);

    auto* f = Forms::get<frmToExcel>();
    f->Config(source.get(), QStringLiteral("合同列表"), QStringLiteral("D01 财务部合同信息"));

    EXPECT_EQ(f->Grid(), source.get());
    EXPECT_EQ(f->Text1[1]->text(), QStringLiteral("D01 财务部合同信息"));
    EXPECT_EQ(f->Text1[2]->text(), QStringLiteral("合同列表"));
    ASSERT_EQ(f->Grid1->Cols(), 5);
    const QStringList headings = {"编号", "金额(收款)", "", "隐藏", "状态(当前)"};
    const QStringList marks = {"√", "√", "", "√", "√"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(f->Grid1->TextMatrix(0, c), headings[c]) << c;
        EXPECT_EQ(f->Grid1->TextMatrix(1, c), marks[c]) << c;
    }
    // Fitted to the list's own texts (the heading and the mark).
    EXPECT_EQ(f->Grid1->ColWidth(0), 100 * 2 + 120);
    EXPECT_EQ(f->Grid1->ColWidth(1), 100 * 6 + 120);
    EXPECT_EQ(f->Grid1->ColWidth(2), 0);              // no heading: hidden and unmarked
    EXPECT_EQ(f->Grid1->ColWidth(3), 2 * 100 + 120);  // hidden at the source, shown in the list
    EXPECT_EQ(f->Grid1->ColWidth(4), 2345);           // general fixed alignment keeps the copied width
    EXPECT_EQ(f->Grid1->FixedAlignment(4), flexAlignGeneral);
}

TEST_F(ToExcel, ClickMarksAndDoubleClickUnmarks)
{
    auto* f = Forms::get<frmToExcel>();
    f->Grid1->setCols(3);
    f->Grid1->setCol(1);
    emit f->Grid1->Click();
    EXPECT_EQ(f->Grid1->TextMatrix(1, 1), QStringLiteral("√"));
    EXPECT_EQ(f->Grid1->ColAlignment(1), flexAlignCenterCenter);
    EXPECT_EQ(f->Grid1->TextMatrix(1, 0), QString());

    // A double click delivers a click first; the column ends unmarked.
    emit f->Grid1->Click();
    emit f->Grid1->DblClick();
    EXPECT_EQ(f->Grid1->TextMatrix(1, 1), QString());
}

TEST_F(ToExcel, BrowseUsesTheProgramFolderAndKeepsTheNameOnCancel)
{
    ScriptedDialogs* dialogs = doubles().dialogs;
    auto* f = Forms::get<frmToExcel>();
    f->Text1[0]->setText(QStringLiteral("/old.xlsx"));

    f->Command1->click();  // cancelled
    EXPECT_EQ(f->Text1[0]->text(), QStringLiteral("/old.xlsx"));
    dialogs->answers.push_back(QStringLiteral("/new.xls"));
    f->Command1->click();
    EXPECT_EQ(f->Text1[0]->text(), QStringLiteral("/new.xls"));
    EXPECT_EQ(dialogs->filters.value(0), QStringLiteral("Excel Flie *.xls (*.xls *.xlsx);;All flie *.* (*)"));
    // A workbook still to be written may be named in the Open dialog.
    EXPECT_EQ(dialogs->openModes.value(0), DialogService::NewNameAllowed);
    EXPECT_EQ(dialogs->initialDirs.value(0), ProgramFolder());
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(ToExcel, ExportsTheMarkedColumnsUnderTitleSubtitleAndDate)
{
    auto source = makeGrid({{"编号", "名称", "金额", "总额", "内部", "备注"},
                            {"007", "物业合同", "1234.50", "1,234.50", "h1", ""},
                            {"010", "保洁", "-0.5", "", "h2", "x"}});
    source->setColAlignment(0, flexAlignLeftCenter);
    source->setColAlignment(1, flexAlignCenterCenter);  // 4: still text
    source->setColAlignment(2, flexAlignRightCenter);
    // Column 3 keeps the general alignment (9): numeric.
    source->setColWidth(0, 1500);
    source->setColWidth(1, 2345);
    source->setColWidth(2, 1000);
    source->setColWidth(3, 900);
    source->setColWidth(4, 0);

    auto* f = prepared(*source, path(QStringLiteral("合同.xls")));
    f->Tag = QStringLiteral("2026年度");
    f->Grid1->setTextMatrix(1, 5, QString());  // 备注 not exported
    f->Command2->click();

    EXPECT_TRUE(doubles().boxes->shown.isEmpty()) << doubles().boxes->shown.value(0).text.toStdString();
    EXPECT_FALSE(Forms::isLoaded<frmToExcel>());
    const QString written = path(QStringLiteral("合同.xlsx"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("合同.xlsx")});
    EXPECT_EQ(doubles().shell->opened, QStringList{written});  // "start Excel" ticked
    EXPECT_EQ(sheetNames(written), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("合同列表")}));

    const ReadSheet s = readSheet(written, QStringLiteral("合同列表"));
    EXPECT_EQ(s.text(0, 0), QStringLiteral("财务部合同信息"));
    EXPECT_EQ(s.text(1, 0), QStringLiteral("2026年度"));
    EXPECT_EQ(s.text(2, 0), QStringLiteral("打印日期：2026年12月10日"));
    EXPECT_EQ(s.rowFormats.at(0), kTitleRow);
    EXPECT_EQ(s.rowFormats.at(1), kSubtitleRow);
    EXPECT_EQ(s.rowFormats.at(2), kDateRow);
    EXPECT_EQ(s.rowFormats.at(3), kHeadingRow);
    EXPECT_EQ(s.cell(0, 0)->format, kTitleRow);
    EXPECT_EQ(s.cell(2, 4)->format, kDateRow);
    EXPECT_EQ(s.merges, (std::vector<Range>{{0, 0, 0, 4}, {1, 0, 1, 4}, {2, 0, 2, 4}}));

    struct Expect {
        int row, col;
        const char* value;
        bool number;
        CellFormat format;
    };
    const Expect cells[] = {
        {3, 0, "编号", false, body("@", true)},     {3, 2, "金额", false, body("0.00_ ", true)},
        {3, 3, "总额", false, body("0.00_ ", true)}, {3, 4, "内部", false, body("0.00_ ", true)},
        {4, 0, "007", false, body("@")},            {4, 1, "物业合同", false, body("@")},
        {4, 2, "1234.5", true, body("0.00_ ")},     {4, 3, "1,234.50", false, body("0.00_ ")},
        {5, 2, "-0.5", true, body("0.00_ ")},       {5, 3, "", false, body("0.00_ ")},
        {5, 4, "h2", false, body("0.00_ ")},
    };
    for (const Expect& e : cells) {
        SCOPED_TRACE(cellName(e.row, e.col).toStdString());
        const ReadCell* c = s.cell(e.row, e.col);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->value, QString::fromUtf8(e.value));
        EXPECT_EQ(c->isNumber, e.number);
        EXPECT_EQ(c->format, e.format);
    }
    EXPECT_EQ(s.cell(4, 5), nullptr);  // the unmarked column

    const double widths[] = {15.0, 23.45, 10.0, 9.0};
    for (int n = 0; n < 4; ++n) {
        EXPECT_NEAR(s.column(n).value().width, widths[n], 1.0 / 7) << n;
        EXPECT_FALSE(s.column(n)->hidden) << n;
    }
    EXPECT_TRUE(s.column(4).value().hidden);
    EXPECT_FALSE(s.column(5).has_value());
}

TEST_F(ToExcel, RewritingAnExistingSheetLeavesTheOtherSheetsAlone)
{
    const QString file = path(QStringLiteral("book.xlsx"));
    SheetContent keep(QStringLiteral("Sheet1"));
    keep.setText(0, 0, QStringLiteral("别动"));
    keep.merge({1, 0, 1, 2});
    SheetContent old(QStringLiteral("合同列表"));
    old.setText(30, 9, QStringLiteral("旧内容"));
    SheetContent lower(QStringLiteral("list"));
    ASSERT_TRUE(writeWorkbook(file, {keep, old, lower}));
    WorkbookReader r0;
    ASSERT_TRUE(r0.open(file));
    const auto partsBefore = r0.parts();

    auto source = makeGrid({{"编号"}, {"001"}});
    source->setColAlignment(0, flexAlignLeftCenter);
    auto* f = prepared(*source, file);
    f->Check1->setChecked(false);
    QString error;
    ASSERT_TRUE(f->To_Execl(source.get(), f->Text1[1]->text(), f->Text1[2]->text(), &error)) << error.toStdString();

    EXPECT_TRUE(doubles().shell->opened.isEmpty());
    EXPECT_EQ(sheetNames(file), (QStringList{QStringLiteral("Sheet1"), QStringLiteral("合同列表"), QStringLiteral("list")}));
    const ReadSheet s = readSheet(file, QStringLiteral("合同列表"));
    EXPECT_EQ(s.cell(30, 9), nullptr);
    EXPECT_EQ(s.text(4, 0), QStringLiteral("001"));
    WorkbookReader r1;
    ASSERT_TRUE(r1.open(file));
    const auto partsAfter = r1.parts();
    EXPECT_EQ(partsAfter.at(QStringLiteral("xl/worksheets/sheet1.xml")), partsBefore.at(QStringLiteral("xl/worksheets/sheet1.xml")));
    EXPECT_EQ(partsAfter.at(QStringLiteral("xl/worksheets/sheet3.xml")), partsBefore.at(QStringLiteral("xl/worksheets/sheet3.xml")));

    // Sheet names are compared exactly: "List" is another sheet, and one whose
    // name differs only in case cannot be added.
    f->Text1[2]->setText(QStringLiteral("List"));
    EXPECT_FALSE(f->To_Execl(source.get(), f->Text1[1]->text(), f->Text1[2]->text(), &error));
    EXPECT_FALSE(error.isEmpty());
    WorkbookReader r2;
    ASSERT_TRUE(r2.open(file));
    EXPECT_EQ(r2.parts(), partsAfter);
}

TEST_F(ToExcel, TwoHeadingRowsMergeWithoutOverlap)
{
    auto source = makeGrid({{"编号", "金额", "金额", "金额", "日期", "日期", "备注", ""},
                            {"编号", "收款", "付款", "余额", "", "", "说明", ""},
                            {"1", "2", "3", "4", "5", "6", "7", "8"}},
                           2);
    auto* f = prepared(*source, path(QStringLiteral("two.xlsx")));
    f->Check1->setChecked(false);
    f->Command2->click();
    // Not opened: the clerk is told where the file went.
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text,
              QStringLiteral("已输出到文件 ") + QDir::toNativeSeparators(path(QStringLiteral("two.xlsx"))));

    const ReadSheet s = readSheet(path(QStringLiteral("two.xlsx")), QStringLiteral("合同列表"));
    const std::vector<Range> expected = {
        {0, 0, 0, 7}, {1, 0, 1, 7}, {2, 0, 2, 7},
        {3, 0, 4, 0},  // equal upper and lower heading: one cell over both rows
        {3, 1, 3, 3},  // a heading over three columns
        {3, 4, 3, 5},  // a run over empty lower cells: not merged downwards too
        {3, 7, 4, 7},  // two empty headings are equal
    };
    auto merges = s.merges;
    std::sort(merges.begin(), merges.end(), [](const Range& a, const Range& b) {
        return std::tie(a.firstRow, a.firstCol) < std::tie(b.firstRow, b.firstCol);
    });
    EXPECT_EQ(merges, expected);
    for (size_t a = 0; a < merges.size(); ++a)
        for (size_t b = a + 1; b < merges.size(); ++b) EXPECT_FALSE(merges[a].intersects(merges[b]));

    const QStringList upper = {"编号", "金额", "", "", "日期", "", "备注", ""};
    const QStringList lower = {"", "收款", "付款", "余额", "", "", "说明", ""};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(s.text(3, c), upper[c]) << c;
        EXPECT_EQ(s.text(4, c), lower[c]) << c;
    }
    EXPECT_EQ(s.text(5, 7), QStringLiteral("8"));
}

TEST_F(ToExcel, RefusedExportsWriteNothing)
{
    struct Case {
        const char* name;
        int cols;
        QString file, title, sheet;
        bool unmarkAll;
        QStringList boxes;
        QList<QString> titles;
    };
    const QString failed = QStringLiteral("输出到Execl失败: ");
    const QString file = path(QStringLiteral("out.xlsx"));
    const QList<Case> cases = {
        {"no marked column", 3, file, "t", "s", true, {failed + "没有选择要输出的列（单击列表中的列打上“√”）"}, {"Corvane"}},
        {"157 marked columns", 157, file, "t", "s", false, {failed + "选择了 157 列，一次最多只能输出 156 列（A 至 EZ 列）"}, {"Corvane"}},
        {"no file name", 3, "", "t", "s", false, {"请确定输出的文件名", failed}, {"corvane", "Corvane"}},
        {"no title", 3, file, "", "s", false, {"请输入标题内容"}, {"Corvane"}},
        {"no sheet name", 3, file, "t", "", false, {"请输入标题内容"}, {"Corvane"}},
        {"invalid sheet name", 3, file, "t", "a/b", false, {}, {"Corvane"}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        resetServices();
        auto source = makeGrid(Rows(2, std::vector<QString>(size_t(tc.cols), QStringLiteral("x"))));
        auto* f = prepared(*source, tc.file);
        f->Text1[1]->setText(tc.title);
        f->Text1[2]->setText(tc.sheet);
        if (tc.unmarkAll)
            for (int c = 0; c < f->Grid1->Cols(); ++c) f->Grid1->setTextMatrix(1, c, QString());

        f->Command2->click();

        EXPECT_TRUE(files().isEmpty());
        EXPECT_TRUE(Forms::isLoaded<frmToExcel>());
        const auto& shown = doubles().boxes->shown;
        ASSERT_EQ(shown.size(), std::max<qsizetype>(tc.boxes.size(), 1));
        for (qsizetype i = 0; i < tc.boxes.size(); ++i) EXPECT_EQ(shown[i].text, tc.boxes[i]);
        if (tc.boxes.isEmpty()) {
            EXPECT_TRUE(shown[0].text.startsWith(failed + "工作表名称")) << shown[0].text.toStdString();
        }
        for (qsizetype i = 0; i < tc.titles.size(); ++i) EXPECT_EQ(shown[i].title, tc.titles[i]);
        EXPECT_EQ(shown.last().icon(), shown.last().text.startsWith(failed) ? vbInformation : 0);
        EXPECT_TRUE(doubles().shell->opened.isEmpty());
        FormRegistry::instance().unloadAll();
    }
}

// Without a spreadsheet program the export still succeeded: the message says
// the file was written, not that something failed.
TEST_F(ToExcel, AWrittenWorkbookNoProgramCanOpenIsReportedAsWritten)
{
    auto source = makeGrid({{"编号", "金额"}, {"1", "2"}}, 1);
    auto* f = prepared(*source, path(QStringLiteral("opened.xlsx")));
    f->Check1->setChecked(true);
    doubles().shell->noProgramToOpen = true;
    f->Command2->click();
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, QStringLiteral("已输出到文件 ") +
                                                   QDir::toNativeSeparators(path(QStringLiteral("opened.xlsx"))) +
                                                   QStringLiteral("，但无法启动电子表格程序打开它：没有与之关联的程序"));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("opened.xlsx"))));
}
