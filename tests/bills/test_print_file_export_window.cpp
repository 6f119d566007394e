// The print-file export window on both engines: settings panel, the single
// export, the completion panel (books, bills, the printed number, voids) and
// the batch grid with its editors, bill assignment and completion.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../receipts/ReceiptFixture.h"
#include "platform/Tag.h"
#include "platform/TextFile.h"
#include "platform/Xlsx.h"
#include "bills/frm打印文件导出.h"
#include "receipts/frm合同收款.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

class PrintFileExport : public ReceiptTest {
protected:
    void SetUp() override
    {
        ReceiptTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_template = m_dir.filePath(QStringLiteral("模板.xlsx"));
        xlsx::SheetContent sheet(kPrintSheet);
        sheet.setText(0, 0, QStringLiteral("序号"));
        sheet.setText(1, 0, QStringLiteral("旧"));
        ASSERT_TRUE(xlsx::writeWorkbook(m_template, {sheet}));
        m_folder = m_dir.filePath(QStringLiteral("导出")) + u'/';
    }
    void TearDown() override
    {
        Forms::unload<frm打印文件导出>();
        ReceiptTest::TearDown();
    }
    QString iniPath() const { return programFolder() + QStringLiteral("/") + kExportSettingsFile; }
    void writeIni(const QStringList& lines) { ASSERT_TRUE(writeGbkLines(iniPath(), lines)); }
    void writeSettings()
    {
        writeIni({m_template, m_folder, QStringLiteral("0706 租赁业"), QStringLiteral("10000004 广东"), QStringLiteral("翠湖物业"),
                  QStringLiteral("9144"), QStringLiteral("广州市税务局"), QStringLiteral("6 身份证")});
    }
    frm打印文件导出* open(const QString& mode = QString(), 发票打印数据* batch = nullptr)
    {
        auto* w = Forms::get<frm打印文件导出>();
        w->beginExport(mode, batch, QStringLiteral("01"), QStringLiteral("地税通用发票"));
        w->activate();
        return w;
    }
    void fillInvoice(frm打印文件导出* w)
    {
        w->Text6->setText(QStringLiteral(" 翠湖 商贸\r\n"));
        w->Text8->setText(QStringLiteral("440106198001011234"));
        w->Text12[0]->setText(QStringLiteral("房租"));
        w->Text12[5]->setText(QStringLiteral("100.00"));
        w->Text14->setText(QStringLiteral("100.00"));
    }
    QStringList shown() const { return doubles().boxes->texts(); }
    static int comboIndex(frm打印文件导出* w, const QString& book)
    {
        for (int i = 0; i < w->Combo1->count(); ++i)
            if (w->Combo1->itemText(i).startsWith(book + u' ')) return i;
        return -1;
    }
    void chooseBook(frm打印文件导出* w, const QString& book)
    {
        w->Combo1->setCurrentIndex(comboIndex(w, book));
        w->Combo1_Click();
    }
    QTemporaryDir m_dir;
    QString m_template, m_folder;
};

发票打印数据 batchOf(int n)
{
    发票打印数据 records(size_t(n) + 1);
    for (int i = 1; i <= n; ++i) {
        发票打印记录& r = records[size_t(i)];
        r.开票项目 = QStringLiteral("0706 租赁业");
        r.付款方类型 = QStringLiteral("0 个人");
        r.付款方名称 = QStringLiteral("业主%1").arg(i);
        r.付款方证件类型 = QStringLiteral("6 身份证");
        r.付款方证件号码 = QStringLiteral("4401061980010%1").arg(10000 + i);
        r.合计金额 = QStringLiteral("150.00");
        r.明细 = QStringLiteral("房租,100.00,一月|物业费,50.00,|");
        r.其他[0] = QStringLiteral("keep");
    }
    return records;
}

// ------------------------------------------------------------------ settings

TEST_F(PrintFileExport, FirstStartShowsTheSettingsUntilBothPathsAreSaved)
{
    auto* w = open();
    EXPECT_FALSE(w->Picture2->isHidden());
    EXPECT_FALSE(w->Command4->isEnabled());
    EXPECT_EQ(w->Label1[3]->text(), QStringLiteral("2026-12-10"));
    doubles().dialogs->answers = {m_template, m_dir.filePath(QStringLiteral("a/b.xlsx")), m_dir.filePath(QStringLiteral("导出/x.xls"))};
    w->Command6_Click();
    w->Command3_Click();
    w->Command3_Click();
    EXPECT_EQ(doubles().dialogs->filters.value(0), excelFileFilter());
    EXPECT_EQ(w->Text1[1]->text(), m_folder);  // only the second folder
    w->Text9->setText(QStringLiteral("甲公司,乙分公司"));
    w->Command7_Click();
    EXPECT_TRUE(w->Command4->isEnabled());
    EXPECT_FALSE(w->Picture2->isHidden());  // the panel stays open
    const auto text = readGbkFile(iniPath());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->count(u'\n'), 8);

    Forms::unload<frm打印文件导出>();
    w = open();
    EXPECT_EQ(w->Text9->text(), QStringLiteral("甲公司,乙分公司"));
    EXPECT_EQ(w->Text10->text(), QString());
    EXPECT_TRUE(w->Picture2->isHidden());
    // Cancelling the template dialog empties the path; 取消 keeps it for this window only.
    w->Command8_Click();
    w->Command6_Click();
    EXPECT_EQ(w->Text1[0]->text(), QString());
    w->Command2_Click();
    EXPECT_TRUE(w->Picture2->isHidden());
    EXPECT_TRUE(readGbkFile(iniPath())->startsWith(m_template));
}

TEST_F(PrintFileExport, ShortAndOldSettingsFiles)
{
    writeIni({m_template, m_folder});
    auto* w = open();
    EXPECT_TRUE(w->Command4->isEnabled());
    EXPECT_EQ(w->Text3->text(), QString());
    Forms::unload<frm打印文件导出>();
    // An old file with an unquoted comma: the later values move one box on.
    writeIni({m_template, m_folder, QStringLiteral("i"), QStringLiteral("k"), QStringLiteral("甲公司,乙分公司"), QStringLiteral("6"),
              QStringLiteral("7"), QStringLiteral("8")});
    w = open();
    EXPECT_EQ(w->Text9->text(), QStringLiteral("甲公司"));
    EXPECT_EQ(w->Text10->text(), QStringLiteral("乙分公司"));
    EXPECT_EQ(w->Text11->text(), QStringLiteral("6"));
    EXPECT_EQ(w->Text7->text(), QStringLiteral("7"));
}

TEST_F(PrintFileExport, FixedListsAndArrows)
{
    auto* w = open();
    EXPECT_EQ(w->List1->count(), 2);
    EXPECT_EQ(w->List3->count(), 9);
    EXPECT_EQ(w->List2->count(), 47);
    EXPECT_EQ(w->List5->count(), 2);
    EXPECT_EQ(w->List2->item(46)->text(), QStringLiteral("0899 其他转让无形资产"));
    w->Picture5_Click();
    EXPECT_FALSE(w->List3->isHidden());
    EXPECT_EQ(w->List3->x(), w->Text7->x());
    EXPECT_EQ(w->List3->y(), w->Text7->y() + w->Text7->height() + 2);
    w->List3->setCurrentRow(5);
    w->List3_Click();
    EXPECT_EQ(w->Text7->text(), QStringLiteral("6 身份证"));
    EXPECT_TRUE(w->List3->isHidden());
    w->Picture3_Click();
    w->Form_Click();
    EXPECT_TRUE(w->List1->isHidden());
}

// ------------------------------------------------------------------ single export

TEST_F(PrintFileExport, SingleExportCreatesTheFolderAndNamesTheFileAfterThePayer)
{
    writeSettings();
    auto* w = open();
    fillInvoice(w);
    w->Command4_Click();
    const QString file = m_folder + QStringLiteral("翠湖商贸.xlsx");
    EXPECT_EQ(w->导出文件路径, file);
    EXPECT_EQ(shown().value(0), QStringLiteral("打印文件已保存为：") + file +
                                    QStringLiteral("\r\n\r\n您可以在票据打印软件中用该文件打印票据了"));
    EXPECT_TRUE(w->Command5->isEnabled() && w->Command1->isEnabled());
    EXPECT_FALSE(w->Text2->isHidden());
    xlsx::WorkbookReader r;
    ASSERT_TRUE(r.open(file));
    const auto sheet = r.sheet(kPrintSheet);
    EXPECT_EQ(sheet->text(1, 0), QStringLiteral("1"));
    EXPECT_EQ(sheet->text(1, 3), QStringLiteral("1 单位"));
    EXPECT_EQ(sheet->text(1, 7), QStringLiteral("440106198001011234"));
    EXPECT_EQ(sheet->text(1, 10), QStringLiteral("房租"));
    w->Command5_Click();
    EXPECT_EQ(doubles().shell->opened, QStringList{file});
    // 取消打印 leaves the workbook.
    w->Command9_Click();
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(PrintFileExport, ExportRefusals)
{
    writeIni({m_dir.filePath(QStringLiteral("无.xlsx")), m_folder, QStringLiteral("0706 租赁业"), QStringLiteral("1000")});
    auto* w = open();
    fillInvoice(w);
    w->Text7->setText(QStringLiteral("6 身份证"));
    w->Command4_Click();
    EXPECT_EQ(shown().value(0), QStringLiteral("未找到 ") + m_dir.filePath(QStringLiteral("无.xlsx")) +
                                    QStringLiteral(" 模板文件，请核对"));
    EXPECT_FALSE(QDir(m_folder).exists());

    // A legacy binary template cannot be filled here.
    const QString legacy = m_dir.filePath(QStringLiteral("旧模板.xls"));
    QFile f(legacy);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(504, '\0'));
    f.close();
    w->Text1[0]->setText(legacy);
    w->Command4_Click();
    EXPECT_EQ(shown().value(1), QStringLiteral("模板文件不是Excel 2007及以上格式，无法导出：") + legacy);
    EXPECT_FALSE(w->Command1->isEnabled());

    // A template without the sheet: the copy stays unfilled, as the outside program would refuse it too.
    xlsx::SheetContent other(QStringLiteral("gddsfp"));
    const QString wrong = m_dir.filePath(QStringLiteral("别的.xlsx"));
    ASSERT_TRUE(xlsx::writeWorkbook(wrong, {other}));
    w->Text1[0]->setText(wrong);
    w->Command4_Click();
    EXPECT_EQ(shown().value(2), QStringLiteral("模板文件不是票据打印模板文件，请核对"));
    EXPECT_FALSE(w->Command1->isEnabled());

    // A template that is a zip but no workbook: the reason is shown and no copy is left.
    const QString broken = m_dir.filePath(QStringLiteral("坏.xlsx"));
    QFile b(broken);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x'));
    b.close();
    w->Text1[0]->setText(broken);
    w->Command4_Click();
    EXPECT_TRUE(shown().value(3).startsWith(QStringLiteral("打印文件生成失败：")));
    EXPECT_FALSE(QFile::exists(m_folder + QStringLiteral("翠湖商贸.xlsx")));

    // The check runs before any file is touched.
    w->Text1[0]->setText(m_template);
    w->Text6->clear();
    w->Command4_Click();
    EXPECT_EQ(shown().value(4), QStringLiteral("没有输入付款方名称"));
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The export path is folder + payer + suffix: it must never reach the
// template, nor a file some other program left there.
TEST_F(PrintFileExport, AnExportNeverOverwritesTheTemplateOrAFileItDidNotMake)
{
    ASSERT_TRUE(QDir().mkpath(m_folder));
    const QString tpl = m_folder + QStringLiteral("Cuihu.xlsx");
    ASSERT_TRUE(QFile::copy(m_template, tpl));
    const QByteArray original = bytesOf(tpl);
    writeIni({tpl, m_folder, QStringLiteral("0706 租赁业"), QStringLiteral("10000004 广东"), QStringLiteral("翠湖物业"),
              QStringLiteral("9144"), QStringLiteral("广州市税务局"), QStringLiteral("6 身份证")});
    auto* w = open();
    fillInvoice(w);
    const QString isTemplate = QStringLiteral("导出文件“%1”就是模板文件，不能覆盖模板，未导出").arg(tpl);
    for (const char* payer : {"Cuihu", "CUIHU", " cui hu "}) {
        doubles().boxes->shown.clear();
        w->Text6->setText(QString::fromUtf8(payer));
        w->Command4_Click();
        EXPECT_EQ(shown(), QStringList{isTemplate}) << payer;
        EXPECT_EQ(bytesOf(tpl), original) << payer;
        EXPECT_EQ(w->导出文件路径, "") << payer;
        EXPECT_FALSE(w->Command1->isEnabled()) << payer;
    }

    // A file another program left under the payer's name stays as it was.
    const QString foreign = m_folder + QStringLiteral("翠湖商贸.xlsx");
    QFile other(foreign);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("not a print file");
    other.close();
    doubles().boxes->shown.clear();
    fillInvoice(w);
    w->Command4_Click();
    EXPECT_EQ(shown(), QStringList{QStringLiteral("导出文件“%1”已存在，它不是本程序导出的文件，未导出。"
                                                  "请移走该文件或核对导出文件夹后再导出").arg(foreign)});
    EXPECT_EQ(bytesOf(foreign), QByteArray("not a print file"));

    // The window's own export is replaced by its next one.
    ASSERT_TRUE(QFile::remove(foreign));
    doubles().boxes->shown.clear();
    w->Command4_Click();
    w->Command4_Click();
    ASSERT_EQ(shown().size(), 2);
    EXPECT_TRUE(shown()[1].startsWith(QStringLiteral("打印文件已保存为：") + foreign));
    EXPECT_EQ(w->导出文件路径, foreign);
    EXPECT_EQ(bytesOf(tpl), original);
}

// The settings file and the template as other programs named them, and a
// settings file too large to be one.
TEST_F(PrintFileExport, SettingsAndTemplateWhateverTheirLetterCase)
{
    const QString typed = m_template.left(m_template.size() - 4) + QStringLiteral("XLSX");
    writeIni({typed, m_folder, QStringLiteral("0706 租赁业"), QStringLiteral("10000004 广东"), QStringLiteral("翠湖物业"),
              QStringLiteral("9144"), QStringLiteral("广州市税务局"), QStringLiteral("6 身份证")});
    const QString upper = programFolder() + QStringLiteral("/票据模板文件.INI");
    ASSERT_TRUE(QFile::rename(iniPath(), upper));
    auto* w = open();
    EXPECT_EQ(w->Text1[0]->text(), typed);
    EXPECT_TRUE(w->Command4->isEnabled());
    fillInvoice(w);
    w->Command4_Click();
    EXPECT_TRUE(shown().value(0).startsWith(QStringLiteral("打印文件已保存为：") + m_folder)) << shown().value(0).toStdString();
    // Saving replaces that file rather than writing a second beside it.
    w->Command7_Click();
    EXPECT_FALSE(QDir(programFolder()).entryList().contains(kExportSettingsFile));
    Forms::unload<frm打印文件导出>();

    QFile f(upper);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(kSmallFileMaxBytes, ' '));
    f.close();
    doubles().boxes->shown.clear();
    w = open();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown()[0].contains(QStringLiteral("文件“%1”超过1 MB，不予读取").arg(upper))) << shown()[0].toStdString();
    EXPECT_EQ(w->Text1[0]->text(), "");
    EXPECT_TRUE(w->Picture2->isVisibleTo(w));
}

// ------------------------------------------------------------------ completion

TEST_F(PrintFileExport, BooksWithFreeBillsAndTheirCount)
{
    addLentBook(QStringLiteral("A01"), QStringLiteral("01"), QStringLiteral("D01"), 1, 3);
    addLentBook(QStringLiteral("A02"), QStringLiteral("01"), QStringLiteral("D01"), 1, 1);  // all used
    exec(QStringLiteral("UPDATE 票据 SET 作废日期 = ? WHERE 入库单编号 = 'A02'"), {QDateTime(kReceiptToday, QTime(8, 0))});
    // A written-off bill with neither issue nor void date is free here.
    exec(QStringLiteral("UPDATE 票据 SET 核销日期 = ? WHERE 入库单编号 = 'A01' AND 票据编号 = '00000001'"), {kReceiptToday});
    writeSettings();
    auto* w = open();
    w->Command1_Click();
    EXPECT_FALSE(w->Picture6->isHidden());
    ASSERT_EQ(w->Combo1->count(), 1);
    EXPECT_EQ(w->Combo1->itemText(0), QStringLiteral("A01 地税通用发票"));
    EXPECT_EQ(w->Combo1->currentIndex(), -1);
    w->Command10_Click();
    EXPECT_EQ(shown().value(0), QStringLiteral("请选择票据簿"));
    chooseBook(w, QStringLiteral("A01"));
    EXPECT_EQ(w->Label1[7]->text(), QStringLiteral("票据剩余张数：3"));
    EXPECT_EQ(w->List4->count(), 3);
    EXPECT_EQ(w->Text16->text(), QStringLiteral("00000001"));
    EXPECT_TRUE(w->Command12->isEnabled());
}

TEST_F(PrintFileExport, ConfirmRecordsThePrintedNumberAndHandsTheBillBack)
{
    addLentBook(QStringLiteral("A01"), QStringLiteral("01"), QStringLiteral("D01"), 12345, 4);
    writeSettings();
    // Each mode hands the bill to its own opener: 装修登记 as text it reads,
    // 前台收款 as a value.
    const QString modes[] = {QStringLiteral("装修登记"), QStringLiteral("前台收款")};
    for (const QString& mode : modes) {
        SCOPED_TRACE(mode.toStdString());
        auto* w = open(mode);
        std::optional<BillHandBack> handedBack;
        w->frontDeskHandBack = [&](const std::optional<BillHandBack>& bill) { handedBack = bill; };
        fillInvoice(w);
        w->Command4_Click();
        const QString file = w->导出文件路径;
        w->Command1_Click();
        chooseBook(w, QStringLiteral("A01"));
        const qint64 id = w->List4->item(0)->data(Qt::UserRole).toLongLong();
        const QString number = w->List4->item(0)->text().section(QLatin1Char(' '), 0, 0);
        w->Command10_Click();
        EXPECT_EQ(shown().last(), QStringLiteral("打印处理完成！"));
        if (mode == QStringLiteral("装修登记")) {
            EXPECT_EQ(w->装修登记结果, QStringLiteral("A01,%1,%2").arg(number).arg(id));
            EXPECT_EQ(handedBack, std::nullopt);
        } else {
            EXPECT_EQ(handedBack, (BillHandBack{QStringLiteral("A01"), number, id}));
        }
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_EQ(column(QStringLiteral("SELECT 实际票据编号 FROM 票据 WHERE ID = ?"), {id}), QStringList{QString()});
        EXPECT_TRUE(selectFirst(QStringLiteral("SELECT 实际票据编号 FROM 票据 WHERE ID = ?"), {id})->isNull(QStringLiteral("实际票据编号")));
        EXPECT_TRUE(selectFirst(QStringLiteral("SELECT 开票日期 FROM 票据 WHERE ID = ?"), {id})->isNull(QStringLiteral("开票日期")));
    }
}

TEST_F(PrintFileExport, ConfirmOnABillTakenMeanwhileWritesNothing)
{
    addLentBook(QStringLiteral("A01"), QStringLiteral("01"), QStringLiteral("D01"), 1, 2);
    writeSettings();
    auto* w = open(QStringLiteral("装修登记"));
    fillInvoice(w);
    w->Command4_Click();
    w->Command1_Click();
    chooseBook(w, QStringLiteral("A01"));
    w->Text2->setText(QStringLiteral("X9"));
    const qint64 id = w->List4->item(0)->data(Qt::UserRole).toLongLong();
    exec(QStringLiteral("UPDATE 票据 SET 开票日期 = ? WHERE ID = ?"), {QDateTime(kReceiptToday, QTime(9, 0)), id});
    w->Command10_Click();
    EXPECT_EQ(shown().last(), QStringLiteral("该票据已被使用或作废"));
    EXPECT_TRUE(w->装修登记结果.isEmpty());
    EXPECT_TRUE(Forms::isLoaded<frm打印文件导出>());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 实际票据编号 IS NOT NULL")), 0);
}

TEST_F(PrintFileExport, VoidingTheChosenBill)
{
    addLentBook(QStringLiteral("A01"), QStringLiteral("01"), QStringLiteral("D01"), 1, 3);
    writeSettings();
    auto* w = open();
    w->Command1_Click();
    chooseBook(w, QStringLiteral("A01"));
    const qint64 id = w->List4->item(0)->data(Qt::UserRole).toLongLong();
    doubles().boxes->answers = {vbNo};
    w->Command12_Click();
    EXPECT_EQ(shown().value(0), QStringLiteral("确定要作废 00000001 这张票据？"));
    EXPECT_EQ(w->List4->count(), 3);
    doubles().boxes->answers = {vbYes};
    w->Command12_Click();
    EXPECT_EQ(w->List4->count(), 2);
    EXPECT_EQ(w->Label1[7]->text(), QStringLiteral("票据剩余张数：2"));
    EXPECT_EQ(w->Combo1->itemData(0).toInt(), 2);
    EXPECT_TRUE(w->Text16->text().isEmpty());
    EXPECT_FALSE(w->Command12->isEnabled());
    EXPECT_EQ(column(QStringLiteral("SELECT 作废原因, 作废人 FROM 票据 WHERE ID = ?"), {id}), QStringList{"打印错误/1001"});

    // A bill issued by another workstation since the list was filled is not voided.
    w->List4->setCurrentRow(0);
    w->List4_Click();
    const qint64 issued = w->List4->currentItem()->data(Qt::UserRole).toLongLong();
    exec(QStringLiteral("UPDATE 票据 SET 开票日期 = ? WHERE ID = ?"), {QDateTime(kReceiptToday, QTime(9, 0)), issued});
    doubles().boxes->answers = {vbYes};
    w->Command12_Click();
    EXPECT_EQ(shown().value(3), QStringLiteral("该票据已被使用或作废"));
    EXPECT_TRUE(selectFirst(QStringLiteral("SELECT 作废日期 FROM 票据 WHERE ID = ?"), {issued})->isNull(QStringLiteral("作废日期")));
    EXPECT_EQ(w->List4->count(), 1);
}

// ------------------------------------------------------------------ batch

TEST_F(PrintFileExport, BatchGridShowsFiveRowsPerInvoice)
{
    writeSettings();
    发票打印数据 records = batchOf(3);
    records[2].明细 = QStringLiteral("房租,100.00,一月|物业费,50.00,");  // no closing bar: one line
    records[3].明细 = QStringLiteral("a,1,|b,2,|c,3,|d,4,|e,5,|f,6,|g,7,|");
    records[3].付款方名称 = records[2].付款方名称;
    auto* w = open(QString(), &records);
    FlexGrid& g = *w->MSFlexGrid1;
    EXPECT_FALSE(w->Picture7->isHidden());
    ASSERT_EQ(g.Rows(), 16);
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("房租"));
    EXPECT_EQ(g.TextMatrix(2, 3), QStringLiteral("50.00"));
    EXPECT_EQ(g.TextMatrix(3, 2), QString());
    EXPECT_EQ(g.TextMatrix(7, 2), QString());  // invoice 2 has one line
    EXPECT_EQ(g.TextMatrix(15, 2), QStringLiteral("e"));
    EXPECT_EQ(g.TextMatrix(6, 1), QString(6, u' '));
    EXPECT_EQ(g.TextMatrix(11, 5), QString(11, u' '));
    EXPECT_EQ(g.MergeCells(), 3);
    EXPECT_TRUE(g.MergeCol(0) && g.MergeCol(1) && g.MergeCol(5) && !g.MergeCol(2));
    g.setRow(1), g.setCol(1);
    EXPECT_FALSE(g.CellPicture().isNull());

    // Export: the grid's lines, invoice columns on the first written row.
    w->Command4_Click();
    xlsx::WorkbookReader r;
    ASSERT_TRUE(r.open(w->导出文件路径));
    EXPECT_TRUE(w->导出文件路径.endsWith(QStringLiteral("批处理票据打印文件20261210093015.xlsx")));
    const auto sheet = r.sheet(kPrintSheet);
    EXPECT_EQ(sheet->text(1, 5), QStringLiteral("业主1"));
    EXPECT_EQ(sheet->text(3, 0), QStringLiteral("2"));
    EXPECT_EQ(sheet->text(4, 0), QStringLiteral("3"));
    EXPECT_EQ(sheet->text(8, 10), QStringLiteral("e"));
    EXPECT_EQ(sheet->text(9, 10), QString());
}

TEST_F(PrintFileExport, PayerEditorBeforeAssignmentBillEditorAfter)
{
    writeSettings();
    发票打印数据 records = batchOf(2);
    auto* w = open(QString(), &records);
    w->clickGridCell(8, 5);
    EXPECT_TRUE(w->Picture11->isHidden());
    w->clickGridCell(8, 1);
    EXPECT_FALSE(w->Picture8->isHidden());
    EXPECT_EQ(TagOf(w->Picture8), QStringLiteral("2"));
    EXPECT_EQ(w->MSFlexGrid1->Row(), 6);
    EXPECT_EQ(w->Text15[2]->text(), QStringLiteral("业主2"));
    w->Picture9_Click(2);
    w->List5->setCurrentRow(1);
    w->List5_Click();
    w->Picture9_Click(3);
    EXPECT_EQ(TagOf(w->List3), QStringLiteral("pcl"));
    w->List3->setCurrentRow(0);
    w->List3_Click();
    w->Text15[2]->setText(QStringLiteral("新业主"));
    w->Picture9_Click(0);
    EXPECT_TRUE(w->Picture8->isHidden());
    EXPECT_EQ(records[2].付款方类型, QStringLiteral("1 单位"));
    EXPECT_EQ(records[2].付款方证件类型, QStringLiteral("1 护照"));
    EXPECT_EQ(records[2].付款方名称, QStringLiteral("新业主"));
    EXPECT_EQ(w->Text7->text(), QStringLiteral("6 身份证"));  // the form's box is untouched
    EXPECT_EQ(records.size(), 3u);
}

TEST_F(PrintFileExport, PayerPictureIsRedrawnWhole)
{
    writeSettings();
    发票打印数据 records = batchOf(1);
    auto* w = open(QString(), &records);
    for (QLineEdit* t : w->Text15) t->clear();
    w->PrintTopicture10();
    const QImage empty = w->Picture10.toImage();
    w->Text15[2]->setText(QStringLiteral("很长的付款方名称"));
    w->PrintTopicture10();
    EXPECT_NE(w->Picture10.toImage(), empty);
    w->Text15[2]->clear();
    w->PrintTopicture10();
    EXPECT_EQ(w->Picture10.toImage(), empty);
    EXPECT_EQ(w->Picture10.width(), 3645 / 15);
    EXPECT_EQ(w->Picture12.width(), 1725 / 15);
}

TEST_F(PrintFileExport, BillsAreAssignedInOrderAcrossBooks)
{
    addLentBook(QStringLiteral("A01"), QStringLiteral("01"), QStringLiteral("D01"), 1, 3);
    addLentBook(QStringLiteral("A02"), QStringLiteral("01"), QStringLiteral("D01"), 101, 4);
    writeSettings();
    发票打印数据 records = batchOf(5);
    doubles().boxes->shown.clear();
    auto* w = open(QStringLiteral("前台收款"), &records);
    // The opener hears of the finished batch, and of no single bill.
    bool batchFinished = false, billHandedBack = false;
    w->frontDeskBatchFinished = [&] { batchFinished = true; };
    w->frontDeskHandBack = [&](const std::optional<BillHandBack>&) { billHandedBack = true; };
    w->Command13_Click();
    EXPECT_EQ(shown().value(0), QStringLiteral("第1份票据没有确认票据编号"));
    w->Command4_Click();
    w->Command1_Click();
    chooseBook(w, QStringLiteral("A01"));
    w->Command10_Click();
    EXPECT_EQ(TagOf(w->Picture7), QStringLiteral("pclok"));
    EXPECT_EQ(shown().last(), QStringLiteral("A01 地税通用发票 的票据已经用完，请选择另外的票据簿"));
    EXPECT_EQ(records[3].票据编号, QStringLiteral("00000003"));
    EXPECT_EQ(records[3].入库单编号, QStringLiteral("A01"));
    EXPECT_TRUE(records[4].票据编号.isEmpty());
    EXPECT_EQ(w->批处理起始行, 16);
    EXPECT_FALSE(w->Picture6->isHidden());
    EXPECT_TRUE(w->Combo1->currentText().startsWith(QStringLiteral("A02 ")));
    w->Command10_Click();
    EXPECT_EQ(records[4].票据编号, QStringLiteral("00000101"));
    EXPECT_EQ(records[5].票据编号, QStringLiteral("00000102"));
    EXPECT_EQ(records[5].入库单编号, QStringLiteral("A02"));
    EXPECT_TRUE(w->Picture6->isHidden());

    // Payer editing is over; the bill editor opens on column 5, and a bill another invoice holds is refused.
    w->clickGridCell(1, 1);
    EXPECT_TRUE(w->Picture8->isHidden());
    w->clickGridCell(23, 5);
    ASSERT_FALSE(w->Picture11->isHidden());
    EXPECT_EQ(w->Text17[0]->text(), QStringLiteral("00000102"));
    w->获取批处理可用票据();
    w->Picture9_Click(4);
    EXPECT_FALSE(w->List6->isHidden());
    w->List6->setCurrentRow(0);  // 00000101, held by invoice 4
    w->List6_Click();
    EXPECT_EQ(shown().last(), QStringLiteral("00000101号票据已经被选择，请选择其他编号票据"));
    EXPECT_EQ(w->Text17[0]->text(), QStringLiteral("00000102"));
    w->List6->setCurrentRow(2);
    w->List6_Click();
    w->Text17[1]->setText(QStringLiteral("实印5"));
    w->Picture9_Click(5);
    EXPECT_EQ(records[5].票据编号, QStringLiteral("00000103"));
    EXPECT_EQ(records[5].实际票据编号, QStringLiteral("实印5"));

    const QString file = w->导出文件路径;
    w->Command13_Click();
    EXPECT_EQ(shown().last(), QStringLiteral("打印处理完成！"));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 实际票据编号 FROM 票据 WHERE 实际票据编号 IS NOT NULL")),
              QStringList{"00000103/实印5"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 开票日期 IS NOT NULL")), 0);
    EXPECT_EQ(records[1].其他[0], QStringLiteral("keep"));
    EXPECT_TRUE(batchFinished);
    EXPECT_FALSE(billHandedBack);
}

TEST_F(PrintFileExport, BatchCompletionIsAllOrNothing)
{
    addLentBook(QStringLiteral("A01"), QStringLiteral("01"), QStringLiteral("D01"), 1, 3);
    writeSettings();
    发票打印数据 records = batchOf(3);
    auto* w = open(QString(), &records);
    w->Command1_Click();
    chooseBook(w, QStringLiteral("A01"));
    w->Command10_Click();
    for (int n = 1; n <= 3; ++n) records[size_t(n)].实际票据编号 = QStringLiteral("P%1").arg(n);
    exec(QStringLiteral("UPDATE 票据 SET 作废日期 = ? WHERE 票据编号 = '00000003'"), {QDateTime(kReceiptToday, QTime(9, 0))});
    w->Command13_Click();
    EXPECT_EQ(shown().last(), QStringLiteral("第3份发票的票据已被使用或作废，请重新选择票据"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 实际票据编号 IS NOT NULL")), 0);
    EXPECT_TRUE(Forms::isLoaded<frm打印文件导出>());
}

TEST_F(PrintFileExport, BatchCompletionInSingleModeSaysSo)
{
    writeSettings();
    auto* w = open();
    w->Command13_Click();
    EXPECT_EQ(shown().value(0), QStringLiteral("没有需要处理的批打印票据"));
}

TEST_F(PrintFileExport, EveryPanelHoldsTogether)
{
    writeSettings();
    发票打印数据 records = batchOf(2);
    auto* w = open();
    EXPECT_EQ(w->Caption(), QStringLiteral("打印文件导出"));
    EXPECT_EQ(w->size(), QSize(12525 / 15, 8940 / 15));
    w->show();
    EXPECT_EQ(layoutProblems(w), QStringList());
    for (QWidget* panel : {static_cast<QWidget*>(w->Picture2), static_cast<QWidget*>(w->Picture6)}) {
        panel->show();
        EXPECT_EQ(layoutProblems(w), QStringList()) << qPrintable(panel->objectName());
        panel->hide();
    }
    w->Label1[2]->show();
    w->Text2->show();
    w->Picture6->show();
    EXPECT_EQ(layoutProblems(w), QStringList());
    w->Picture6->hide();
    Forms::unload<frm打印文件导出>();
    w = open(QString(), &records);
    w->show();
    w->clickGridCell(1, 1);
    EXPECT_EQ(layoutProblems(w), QStringList());
    w->Picture8->hide();
    SetTag(w->Picture7, QStringLiteral("pclok"));
    w->clickGridCell(6, 5);
    EXPECT_EQ(layoutProblems(w), QStringList());
}

// On a 1024x768 screen the window fits; the settings and the two cell
// editors lie inside it and close with Esc as with their 取消. The panel
// that records the printed bills asks for a decision and has no 取消.
TEST_F(PrintFileExport, OnTheSmallScreenEveryPanelAndTheWindowCloseWithEsc)
{
    writeSettings();
    发票打印数据 records = batchOf(2);
    auto* w = open(QString(), &records);
    EXPECT_EQ(screenProblems(*w), QStringList());
    EXPECT_EQ(panelProblems(*w, w->Picture2, w->Command2), QStringList());
    w->clickGridCell(1, 1);
    ASSERT_FALSE(w->Picture8->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture8, w->Picture9[1]), QStringList());
    SetTag(w->Picture7, QStringLiteral("pclok"));
    w->clickGridCell(6, 5);
    ASSERT_FALSE(w->Picture11->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture11, w->Picture9[6]), QStringList());
    EXPECT_EQ(escapeProblems(*w, w->Command9), QStringList());
}

TEST_F(PrintFileExport, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    writeSettings();
    auto* w = open();
    // What goes into the outside program's workbook, the paths, and the bill chosen from a list.
    QSet<QString> unstored = {"Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text10", "Text11",
                              "Text13", "Text14", "Text1_0", "Text1_1", "Text16", "Text17_0"};
    for (int i = 0; i < 15; ++i) unstored << QStringLiteral("Text12_%1").arg(i);
    for (int i = 0; i < 5; ++i) unstored << QStringLiteral("Text15_%1").arg(i);
    // The number actually printed is written to the bill's row.
    EXPECT_EQ(inputProblems(w, {{"Text2", "票据.实际票据编号"}, {"Text17_1", "票据.实际票据编号"}}, unstored).join(u'\n').toStdString(), "");
}

}  // namespace
}  // namespace corvane::test
