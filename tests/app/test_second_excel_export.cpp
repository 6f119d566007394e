#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QStringDecoder>
#include <memory>

#include "app/frm输出到Excel文件.h"
#include "platform/Xlsx.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;
using namespace corvane::xlsx;

namespace {

std::unique_ptr<FlexGrid> sourceGrid()
{
    auto g = std::make_unique<FlexGrid>();
    g->setFixedCols(0);
    g->setCols(3);
    g->setRows(3);
    const char* texts[3][3] = {{"编号", "项目", "单价"}, {"001", "电梯保养", "12.50"}, {"002", "水泵", "abc"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) g->setTextMatrix(r, c, QString::fromUtf8(texts[r][c]));
    return g;
}

class SecondExport : public ::testing::Test {
protected:
    void SetUp() override { resetServices(); }
    void TearDown() override { FormRegistry::instance().unloadAll(); }

    frm输出到Excel文件* prepared(FlexGrid& source, const QString& file)
    {
        auto* f = Forms::get<frm输出到Excel文件>();
        f->setGrid(&source);
        f->Text1[0]->setText(file);
        f->Text1[1]->setText(QStringLiteral("养护项目"));
        f->Text1[3]->setText(QStringLiteral("2026年"));
        f->Text1[2]->setText(QStringLiteral("项目"));
        return f;
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    ReadSheet read(const QString& file)
    {
        WorkbookReader r;
        EXPECT_TRUE(r.open(file));
        return r.sheet(QStringLiteral("项目")).value_or(ReadSheet{});
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(SecondExport, WindowLayout)
{
    auto* f = Forms::get<frm输出到Excel文件>();
    EXPECT_EQ(f->Caption(), QStringLiteral("输出到Excel文件"));
    EXPECT_EQ(f->size(), QSize(3900 / 15, 2970 / 15));
    EXPECT_EQ(f->font().family(), QStringLiteral("微软雅黑"));
    EXPECT_EQ(f->font().pointSize(), 9);
    const std::pair<QLabel*, const char*> labels[] = {
        {f->Label1, "Excel文件路径/文件名"}, {f->Label2, "主标题"}, {f->Label3, "标题2"}, {f->Label4, "Excel表名"}};
    for (const auto& [label, text] : labels) EXPECT_EQ(label->text(), QString::fromUtf8(text));
    EXPECT_TRUE(f->Text1[0]->text().isEmpty());
    for (int i : {1, 2, 3}) EXPECT_EQ(f->Text1[i]->text(), QStringLiteral("Text1")) << i;
    EXPECT_EQ(f->Check1->text(), QStringLiteral("启动Excel"));
    EXPECT_TRUE(f->Check1->isChecked());
    EXPECT_EQ(f->Command2->text(), QStringLiteral("输出"));
    EXPECT_EQ(f->Command3->text(), QStringLiteral("取消"));
    EXPECT_EQ(f->Panel1->text(), QStringLiteral("2026-12-10"));
    EXPECT_EQ(f->Panel2->text(), QStringLiteral("09:30"));
    EXPECT_GT(f->Grid1->geometry().right(), f->width());  // mostly beyond the client area
    // Each label shows its whole text, clear of its box.
    for (const auto& [label, box] : {std::pair{f->Label2, f->Text1[1]}, std::pair{f->Label3, f->Text1[3]},
                                     std::pair{f->Label4, f->Text1[2]}}) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_LT(label->geometry().right(), box->geometry().left()) << label->text().toStdString();
    }
}

TEST_F(SecondExport, BrowseOffersExcelFilesAndCancellingKeepsTheName)
{
    ScriptedDialogs* dialogs = doubles().dialogs;
    auto* f = Forms::get<frm输出到Excel文件>();
    f->Text1[0]->setText(QStringLiteral("/old.xlsx"));

    f->Command1->click();  // cancelled
    EXPECT_EQ(f->Text1[0]->text(), QStringLiteral("/old.xlsx"));
    dialogs->answers.push_back(QStringLiteral("/new.xlsx"));
    f->Command1->click();
    EXPECT_EQ(f->Text1[0]->text(), QStringLiteral("/new.xlsx"));
    EXPECT_EQ(dialogs->filters.value(0), QStringLiteral("Excel Flie *.xls;*.xlsx (*.xls *.xlsx);;All flie *.* (*)"));
    EXPECT_EQ(dialogs->openModes.value(0), DialogService::NewNameAllowed);
    EXPECT_EQ(dialogs->initialDirs.value(0), ProgramFolder());
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(SecondExport, EveryColumnWithItalicAndFillUnderTwoTitles)
{
    auto source = sourceGrid();
    source->setRow(1);
    source->setCol(1);
    source->setCellFontItalic(true);
    source->setCellBackColor(QColor(0xFF, 0xCC, 0x00));
    source->setRow(2);
    source->setCol(0);
    source->setCellBackColor(QColor(0, 0, 0));  // the old grid's 0: no colour of its own
    source->setRow(0);

    auto* f = prepared(*source, dir.filePath(QStringLiteral("项目")));
    f->Grid1->setCols(3);  // no column marked: every column is exported all the same
    f->Command2->click();

    ASSERT_TRUE(doubles().boxes->shown.isEmpty());
    EXPECT_FALSE(Forms::isLoaded<frm输出到Excel文件>());
    const QString file = dir.filePath(QStringLiteral("项目.xlsx"));
    EXPECT_EQ(doubles().shell->opened, QStringList{file});
    EXPECT_EQ(source->Row(), 2);  // left on the last cell
    EXPECT_EQ(source->Col(), 2);

    const ReadSheet s = read(file);
    const CellFormat title{.fontSize = 18, .horizontal = HAlign::Center, .vertical = VAlign::Distributed};
    const CellFormat subtitle{.fontSize = 12, .horizontal = HAlign::Center, .vertical = VAlign::Distributed};
    const CellFormat plain{.fontSize = 10.5, .thinBorders = true};
    CellFormat marked = plain;
    marked.italic = true;
    marked.fill = qRgb(0xFF, 0xCC, 0x00);
    EXPECT_EQ(s.text(0, 0), QStringLiteral("养护项目"));
    EXPECT_EQ(s.rowFormats.at(0), title);
    EXPECT_EQ(s.text(1, 0), QStringLiteral("2026年"));
    EXPECT_EQ(s.rowFormats.at(1), subtitle);
    EXPECT_EQ(s.merges, (std::vector<Range>{{0, 0, 0, 2}, {1, 0, 1, 2}}));
    EXPECT_EQ(s.text(2, 0), QStringLiteral("编号"));  // no print date: the grid starts in row 3
    EXPECT_EQ(s.text(3, 1), QStringLiteral("电梯保养"));
    EXPECT_EQ(s.cell(3, 1)->format, marked);
    EXPECT_EQ(s.cell(4, 0)->format, plain);
    EXPECT_EQ(s.text(3, 0), QStringLiteral("1"));  // general cells read plain numbers as numbers
    EXPECT_TRUE(s.cell(3, 2)->isNumber);
    EXPECT_EQ(s.text(4, 2), QStringLiteral("abc"));
    // Fitted to the cells from row 3 on: the wide item names make column B the widest.
    for (int c = 0; c < 3; ++c) ASSERT_TRUE(s.column(c).has_value()) << c;
    EXPECT_GT(s.column(1)->width, s.column(0)->width);
    EXPECT_FALSE(s.column(1)->hidden);
}

TEST_F(SecondExport, MaintenanceItemsGetCharacter255OfTheChineseCodePageInTheSecondColumn)
{
    // Windows' own table for code page 936 (through ICU, when Qt has it).
    QStringDecoder cp936("windows-936");
    if (cp936.isValid()) {
        EXPECT_EQ(QString(cp936.decode(QByteArray("\xFF"))), QString(QChar(kAnsiCharacter255)));
    }

    auto source = sourceGrid();
    auto* f = prepared(*source, dir.filePath(QStringLiteral("m.xlsx")));
    f->Tag = QStringLiteral("维修养护项目设置");
    f->Check1->setChecked(false);
    ASSERT_TRUE(f->To_Execl(source.get(), f->Text1[1]->text(), f->Text1[2]->text()));

    const ReadSheet s = read(dir.filePath(QStringLiteral("m.xlsx")));
    const QString mark = QChar(kAnsiCharacter255);
    EXPECT_EQ(s.text(2, 1), QStringLiteral("项目") + mark);  // headings too
    EXPECT_EQ(s.text(3, 1), QStringLiteral("电梯保养") + mark);
    EXPECT_EQ(s.text(4, 1), QStringLiteral("水泵") + mark);
    EXPECT_EQ(s.text(3, 0), QStringLiteral("1"));
    EXPECT_EQ(s.text(3, 2), QStringLiteral("12.5"));
    EXPECT_TRUE(doubles().shell->opened.isEmpty());
}

TEST_F(SecondExport, FailuresShowTheFixedMessage)
{
    struct Case {
        const char* name;
        QString file, sheet;
        QStringList boxes;
    } cases[] = {
        {"no file name", "", "项目", {"请确定输出的文件名", "输出到Execl失败"}},
        {"no sheet name", dir.filePath("x.xlsx"), "", {"输出到Execl失败"}},
        {"invalid sheet name", dir.filePath("x.xlsx"), "a[1]", {"输出到Execl失败"}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        resetServices();
        auto source = sourceGrid();
        auto* f = prepared(*source, tc.file);
        f->Text1[2]->setText(tc.sheet);
        f->Command2->click();
        QStringList texts;
        for (const auto& b : doubles().boxes->shown) {
            texts << b.text;
            EXPECT_EQ(b.title, QStringLiteral("corvane"));
            EXPECT_EQ(b.style, vbOKOnly);
        }
        EXPECT_EQ(texts, tc.boxes);
        EXPECT_TRUE(Forms::isLoaded<frm输出到Excel文件>());
        EXPECT_TRUE(files().isEmpty());
        FormRegistry::instance().unloadAll();
    }
}
