// The VAT invoice window on both engines: loading and the remembered type,
// the export's checks in their order, the automatic export against a
// stand-in for the tax-control program, the 90-second wait on a fake clock,
// the manual export, locating, voiding and completion.
#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <set>
#include <thread>

#include "VatFixture.h"
#include "platform/Tag.h"
#include "bills/VatStore.h"
#include "bills/frm增值税发票打印.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

// Time passes only when the poll pauses. While the stand-in for the
// tax-control program runs, a pause also gives it real time to answer; with
// nobody to answer, the poll's 450 pauses take none.
class FakePollClock : public PollClock {
public:
    qint64 elapsedMs() override { return now; }
    void pause(int ms) override
    {
        now += ms;
        ++pauses;
        if (letOthersRun) QThread::msleep(2);
    }
    qint64 now = 5'000'000;  // far from zero, as a monotonic clock is
    int pauses = 0;
    bool letOthersRun = false;
};

class VatWindow : public VatTest {
protected:
    void SetUp() override
    {
        VatTest::SetUp();
        auto c = std::make_unique<FakePollClock>();
        clock = c.get();
        setPollClock(std::move(c));
    }
    void TearDown() override
    {
        if (standIn.joinable()) standIn.join();
        setPollClock(nullptr);
        FormRegistry::instance().unloadAll();
        VatTest::TearDown();
    }

    frm增值税发票打印* open(bool chooseType = true, const QString& heading = QStringLiteral("发票类型：01 增值税普通发票"))
    {
        auto* w = Forms::get<frm增值税发票打印>();
        VatInvoiceHandover h;
        h.Label1_0 = heading;
        h.MSFlexGrid2Tag = QStringLiteral("GL01 翠湖管理处");
        h.MSFlexGrid1Rows = 3;
        h.lines = {{"物业管理服务", "一期", "月", "1", "94.339623", "94.34", "0.06", "5.66", "3040801010000000000"},
                   {"停车服务", "", "", "1", "10", "10.00", "0.09", "0.90", "3040502020200000000"}};
        h.buyer = {QStringLiteral("A&B 业委会"), QString(), QString(), QString(), QString()};
        h.Label1_2 = QStringLiteral("价税合计：110.90元     税额：6.56元");
        h.tag = QStringLiteral("前台收款");
        w->takeHandover(h, {});
        if (chooseType) {
            const int type = w->Combo1->findText(QStringLiteral("01 增值税普通发票"));
            if (w->Combo1->currentIndex() != type) {
                doubles().boxes->answers.push_back(vbNo);
                w->Combo1->setCurrentIndex(type);
            }
            doubles().boxes->shown.clear();
        }
        return w;
    }
    // The tax-control program: takes the interface file and answers in the write-back folder.
    // It writes the result file's name in the letter case of `suffix`.
    void startStandIn(const QString& line, qint64 start = 1, const QString& suffix = QStringLiteral("_开票结果.txt"),
                      const QByteArray& more = QByteArray())
    {
        const QString base = exportBaseName(888, start);
        const QString xml = folder("export") + QStringLiteral("/") + base + QStringLiteral(".XML");
        const QString result = folder("writeback") + QStringLiteral("/") + base + suffix;
        clock->letOthersRun = true;
        standIn = std::thread([xml, result, line, more] {
            for (int i = 0; i < 5000 && !QFile::exists(xml); ++i) QThread::msleep(1);
            // Written aside and renamed, so the window never reads half of a
            // large file on a busy machine.
            QFile f(result + QStringLiteral(".part"));
            f.open(QIODevice::WriteOnly);
            f.write(toGbk(line + QStringLiteral("\r\n第二行\r\n")) + more);
            f.close();
            QFile::rename(f.fileName(), result);
        });
    }
    qint64 storedStart() { return count(QStringLiteral("SELECT 起始编号 FROM 设置管理处 WHERE gyd_dh = 'GL01'")); }

    FakePollClock* clock = nullptr;
    std::thread standIn;
};

// On a 1024x768 screen the window fits and Esc closes it as 取消打印 does. The
// panel shown after an export asks for the outcome (打印完成 or 标志为废票)
// and has no 取消 of its own.
TEST_F(VatWindow, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    auto* w = open();
    EXPECT_EQ(screenProblems(*w), QStringList());
    EXPECT_EQ(escapeProblems(*w, w->Command3), QStringList());
}

TEST_F(VatWindow, LoadListsTypesAndRemembersTheChoice)
{
    // Nothing remembered and a heading naming no listed type: no type is chosen.
    auto* w = open(false, QStringLiteral("发票类型：09 定额发票"));
    EXPECT_EQ(w->Combo1->count(), 2);
    EXPECT_EQ(w->Combo1->itemText(0), "01 增值税普通发票");
    EXPECT_EQ(w->Combo1->currentIndex(), -1);
    EXPECT_EQ(w->Text2->text(), "10.0");
    EXPECT_EQ(w->MSFlexGrid1->ColWidth(8), 0);
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(2, 0), "纳税人税别号");

    doubles().boxes->answers.push_back(vbYes);
    w->Combo1->setCurrentIndex(1);
    ASSERT_EQ(boxTexts().size(), 1);
    EXPECT_EQ(boxTexts()[0], "您选择了02 增值税专用发票这个票据类型，为增票的票据类型，是否要保存这个选择？\r\n"
                             "(保存这个选择后，以后每次进入这个窗体时就不必选择了)\r\n\r\n[是] 保存     [否] 不保存");
    EXPECT_EQ(TagOf(w->Label1[0]), "02 增值税专用发票");
    EXPECT_EQ(readGbkFile(QDir(programFolder()).filePath(QStringLiteral("ZPDYPJLX.INI"))).value(),
              "02 增值税专用发票\n");
    EXPECT_EQ(w->Combo2->count(), 0);  // no book of that type
    // The remembered type again asks nothing and lists the books.
    w->Combo1->setCurrentIndex(-1);
    w->Combo1->setCurrentIndex(1);
    EXPECT_EQ(boxTexts().size(), 1);

    Forms::unload<frm增值税发票打印>();
    writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("商品编码版本号.BBH")), {QStringLiteral("33.0")});
    doubles().boxes->shown.clear();
    w = open(false);
    EXPECT_EQ(w->Combo1->currentText(), "02 增值税专用发票");
    EXPECT_EQ(w->Text2->text(), "33.0");
    EXPECT_TRUE(boxTexts().isEmpty());
    EXPECT_TRUE(layoutProblems(w).isEmpty()) << layoutProblems(w).join(QLatin1Char('\n')).toStdString();
}

// Nothing remembered: the box shows the type the heading names, its books
// are listed, nothing is asked, and the first press of either export button
// goes on to the export's own checks.
TEST_F(VatWindow, TheBoxShowsTheReceiptsTypeUntilOneIsRemembered)
{
    QFile::remove(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")));
    const QString missing = QStringLiteral("未找到“") + QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")) +
                            QStringLiteral("”这个接口配置文件，暂时无法打印\r\n按取消打印后，按[开票项目设置]按钮，点击[接口文件目录设置]进行设置");
    for (const auto press : {&frm增值税发票打印::Command1_Click, &frm增值税发票打印::Command5_Click}) {
        auto* w = open(false);
        EXPECT_EQ(w->Combo1->currentText(), "01 增值税普通发票");
        EXPECT_EQ(w->Combo2->count(), 2);  // B1 and B2
        EXPECT_EQ(TagOf(w->Label1[0]), QString());  // shown, not remembered
        EXPECT_TRUE(boxTexts().isEmpty());
        (w->*press)();
        EXPECT_EQ(boxTexts(), QStringList{missing});
        Forms::unload<frm增值税发票打印>();
        doubles().boxes->shown.clear();
    }

    // A remembered type wins over the receipt's.
    writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("ZPDYPJLX.INI")), {QStringLiteral("02 增值税专用发票")});
    auto* w = open(false);
    EXPECT_EQ(w->Combo1->currentText(), "02 增值税专用发票");
    EXPECT_TRUE(boxTexts().isEmpty());
}

TEST_F(VatWindow, BooksAreListedByNumberWithDuplicates)
{
    exec(QStringLiteral("INSERT INTO 票据共用设置 (共用部门编号, 领用部门编号) VALUES ('D01', 'D01')"));
    auto* w = open();
    QStringList books;
    for (int i = 0; i < w->Combo2->count(); ++i) books << w->Combo2->itemText(i);
    EXPECT_EQ(books, (QStringList{"B1", "B2", "B1", "B2"}));
}

TEST_F(VatWindow, VersionIsSavedAsTyped)
{
    auto* w = open();
    const QString bbh = QDir(programFolder()).filePath(QStringLiteral("商品编码版本号.BBH"));
    w->Text2->setText(QStringLiteral("   "));
    w->Command8_Click();
    EXPECT_EQ(boxTexts(), QStringList{"请输入商品编码版本号"});
    EXPECT_FALSE(exists(bbh));
    w->Text2->setText(QStringLiteral("10.0 "));
    w->Command8_Click();
    QFile f(bbh);
    f.open(QIODevice::ReadOnly);
    // In quotes, so the blank comes back with it.
    EXPECT_EQ(f.readAll(), QByteArray("\"10.0 \"\r\n"));
    Forms::unload<frm增值税发票打印>();
    EXPECT_EQ(open()->Text2->text(), "10.0 ");
}

// Every check of the automatic export comes before the write-back folder is emptied.
TEST_F(VatWindow, AutomaticExportChecksBeforeEmptyingTheWriteBackFolder)
{
    const QString old = folder("writeback") + QStringLiteral("/old.TXT");
    writeGbkLines(old, {QStringLiteral("x")});

    auto* w = open(false, QStringLiteral("发票类型：09 定额发票"));  // a heading naming no listed type
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "请选择票据类型");
    Forms::unload<frm增值税发票打印>();

    QFile::remove(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")));
    w = open();
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "未找到“" + QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")) +
                                     "”这个接口配置文件，暂时无法打印\r\n"
                                     "按取消打印后，按[开票项目设置]按钮，点击[接口文件目录设置]进行设置");
    writeConfig();

    // A start number that is not set, and no row at all, are unset numbering.
    for (const char* sql : {"UPDATE 设置管理处 SET 起始编号 = NULL", "UPDATE 设置管理处 SET 编号字 = NULL",
                            "UPDATE 设置管理处 SET gyd_dh = 'GL99'"}) {
        exec(QStringLiteral("UPDATE 设置管理处 SET gyd_dh = 'GL01', 编号字 = 888, 起始编号 = 1"));
        exec(QString::fromUtf8(sql));
        w->Command1_Click();
        EXPECT_EQ(boxTexts().last(), "未设置导出文件编号规则，请先设置规则。暂时无法导出文件") << sql;
    }
    exec(QStringLiteral("UPDATE 设置管理处 SET gyd_dh = 'GL01', 编号字 = 888, 起始编号 = 1"));

    w->MSFlexGrid1->setTextMatrix(2, 8, QString());
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "未设置停车服务项目的商品编号，暂时无法打印\r\n"
                                 "按取消打印后，按[开票项目设置]按钮在开票项目设置中进行设置");
    EXPECT_TRUE(exists(old));
    EXPECT_TRUE(QDir(folder("export")).isEmpty());
    EXPECT_TRUE(w->Command1->isEnabled());
}

// The write-back folder set to the home folder or a drive root is not emptied.
TEST_F(VatWindow, AMistypedWriteBackFolderIsNotEmptied)
{
    receipts::writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")),
                               {folder("export"), QDir::homePath(), folder("backup"), programFolder()});
    auto* w = open();
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "目录设置不正确，不能清空：" + QDir::homePath());
    EXPECT_TRUE(QDir(folder("export")).isEmpty());
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command3->isEnabled());
    w->Command5_Click();
    EXPECT_EQ(boxTexts().last(), "目录设置不正确，不能清空：" + programFolder());
}

TEST_F(VatWindow, AutomaticExportLocatesTheInvoiceTheProgramPrinted)
{
    writeGbkLines(folder("writeback") + QStringLiteral("/old_开票结果.TXT"), {QStringLiteral("x")});
    auto* w = open();
    startStandIn(QStringLiteral("开票结果：单据88800000001：1，成功，00000013"));
    w->Command1_Click();
    standIn.join();

    const QString xml = folder("export") + QStringLiteral("/88800000001.XML");
    ASSERT_TRUE(exists(xml));
    EXPECT_TRUE(readGbkFile(xml)->contains(QStringLiteral("<Gfmc>A&amp;B 业委会</Gfmc>")));
    EXPECT_FALSE(exists(folder("writeback") + QStringLiteral("/old_开票结果.TXT")));
    EXPECT_EQ(w->Label1[3]->text(), "自动导入，导入文件：" + xml);
    EXPECT_EQ(boxTexts(), QStringList{"请核对票据入库单编号"});
    EXPECT_EQ(w->Text1->text(), "00000013");
    // Both books hold a free 00000013: both are listed, the first chosen.
    ASSERT_EQ(w->Combo2->count(), 2);
    EXPECT_EQ(w->Combo2->currentText(), "B1");
    EXPECT_EQ(TagOf(w->Text1), QString::number(billId("B1", "00000013")));
    ASSERT_EQ(w->List1->count(), 2);
    EXPECT_EQ(w->List1->item(0)->text(), "00000011");
    EXPECT_TRUE(w->Command4->isEnabled());
    EXPECT_TRUE(w->Command2->isEnabled());
    EXPECT_TRUE(w->Picture1->isVisibleTo(w));
    EXPECT_FALSE(w->Command3->isEnabled());

    // Another book relists up to the typed number: 13 is B2's lowest.
    w->Combo2->setCurrentIndex(1);
    EXPECT_EQ(w->List1->count(), 0);
    EXPECT_FALSE(w->Command4->isEnabled());
    EXPECT_EQ(TagOf(w->Text1), QString::number(billId("B2", "00000013")));
}

TEST_F(VatWindow, AFailedResultGivesTheExportButtonsBack)
{
    auto* w = open();
    startStandIn(QStringLiteral("开票结果：单据88800000001：0，失败，00000013"));
    w->Command1_Click();
    EXPECT_EQ(boxTexts(), QStringList{"批量导出失败"});
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command5->isEnabled());
    EXPECT_FALSE(w->Command3->isEnabled());
    EXPECT_FALSE(w->Picture1->isVisibleTo(w));
}

TEST_F(VatWindow, AnotherTxtFileIsReportedAsTheMissingResult)
{
    auto* w = open();
    standIn = std::thread([this] {
        for (int i = 0; i < 5000 && QDir(folder("export")).isEmpty(); ++i) QThread::msleep(1);
        writeGbkLines(folder("writeback") + QStringLiteral("/other.txt"), {QStringLiteral("x")});
    });
    w->Command1_Click();
    const QString path = folder("writeback") + QDir::separator() + QStringLiteral("88800000001_开票结果.txt");
    EXPECT_EQ(boxTexts(), QStringList{"未找到" + path + "文件"});
    EXPECT_EQ(w->Label1[5]->text(), "请手动定位票据编号");
    EXPECT_TRUE(w->Picture1->isVisibleTo(w));
}

// Ninety seconds on the monotonic clock, whatever the time of day.
TEST_F(VatWindow, NoAnswerForNinetySeconds)
{
    auto* w = open();
    doubles().boxes->answers = {vbYes, vbNo};
    w->Command1_Click();
    EXPECT_EQ(boxTexts(), (QStringList{"税控盘软件无反应，请确定开票软件是否正常\r\n\r\n是否要继续打印？",
                                       "是否要转成手动导出模式？"}));
    EXPECT_GE(clock->pauses, 450);
    EXPECT_LE(clock->pauses, 452);
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command5->isEnabled());
    EXPECT_TRUE(w->Command3->isEnabled());
    EXPECT_FALSE(w->Picture1->isVisibleTo(w));
    // The export reserved its number; the window keeps it for the next try.
    EXPECT_EQ(storedStart(), 2);

    // Yes, then Yes: the manual export runs.
    doubles().boxes->answers = {vbYes, vbYes};
    w->Command1_Click();
    EXPECT_TRUE(exists(folder("manual") + QStringLiteral("/88800000001.XML")));
    EXPECT_TRUE(w->Command6->isVisibleTo(w));

    // Yes, then Yes, but no manual folder is set: the export buttons come back.
    Forms::unload<frm增值税发票打印>();
    receipts::writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")),
                               {folder("export"), folder("writeback"), folder("backup"), QString()});
    w = open();
    doubles().boxes->answers = {vbYes, vbYes};
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "您未设置手动导入目录，暂时无法进行手动导入票据信息");
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command3->isEnabled());

    // No: the window closes.
    Forms::unload<frm增值税发票打印>();
    w = open();
    doubles().boxes->answers = {vbNo};
    w->Command1_Click();
    EXPECT_FALSE(Forms::isLoaded<frm增值税发票打印>());
}

TEST_F(VatWindow, ManualExport)
{
    writeGbkLines(folder("manual") + QStringLiteral("/stale.XML"), {QStringLiteral("x")});
    auto* w = open();
    // The manual folder is emptied before the goods codes are checked.
    w->MSFlexGrid1->setTextMatrix(1, 8, QString());
    w->Command5_Click();
    EXPECT_TRUE(QDir(folder("manual")).isEmpty());
    EXPECT_EQ(boxTexts().last(), "未设置物业管理服务项目的商品编号，暂时无法打印\r\n"
                                 "按取消打印后，按[开票项目设置]按钮在开票项目设置中进行设置");
    w->MSFlexGrid1->setTextMatrix(1, 8, QStringLiteral("3040801010000000000"));

    // A manual folder that does not exist yet is made.
    QDir(folder("manual")).removeRecursively();
    w->Command5_Click();
    const QString xml = folder("manual") + QStringLiteral("/88800000001.XML");
    EXPECT_TRUE(exists(xml));
    EXPECT_EQ(w->Label1[3]->text(), "手动导入，导入文件：" + xml);
    EXPECT_EQ(w->Label1[5]->text(), "请定位票据");
    EXPECT_TRUE(w->Command6->isVisibleTo(w));
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_FALSE(w->Command1->isEnabled());

    w->Command6_Click();
    EXPECT_EQ(boxTexts().last(), "请输入票据编号");
    EXPECT_TRUE(w->Command2->isEnabled());

    // 导出失败, then Yes: the panel goes, the export buttons come back.
    doubles().boxes->answers = {vbYes};
    w->Command7_Click();
    EXPECT_EQ(boxTexts().last(), "是否继续尝试打印？");
    EXPECT_FALSE(w->Picture1->isVisibleTo(w));
    EXPECT_TRUE(w->Command1->isEnabled());

    // An empty manual folder setting.
    receipts::writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")),
                               {folder("export"), folder("writeback"), folder("backup"), QString()});
    w->Command5_Click();
    EXPECT_EQ(boxTexts().last(), "您未设置手动导入目录，暂时无法进行手动导入票据信息");
}

TEST_F(VatWindow, AnInterfaceFileThatCannotBeWritten)
{
    receipts::writeSettingFile(QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg")),
                               {folder("none"), folder("writeback"), folder("backup"), folder("manual")});
    auto* w = open();
    w->Command1_Click();
    EXPECT_TRUE(boxTexts().last().startsWith("接口文件写入失败：" + folder("none") + QDir::separator() +
                                             QStringLiteral("88800000001.XML")))
        << boxTexts().last().toStdString();
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command3->isEnabled());
    EXPECT_EQ(clock->pauses, 0);
}

TEST_F(VatWindow, LocatingByHand)
{
    auto* w = open();
    w->Text1->setText(QStringLiteral("00000099"));
    w->Text1_KeyPress(13);
    EXPECT_EQ(boxTexts().last(), "票据定位失败，请核对票据的编号是否正确");
    EXPECT_EQ(w->Combo2->count(), 2);  // relisted
    EXPECT_FALSE(w->Command2->isEnabled());

    // Issued or written-off bills are not found.
    exec(QStringLiteral("UPDATE 票据 SET 核销日期 = '2026-01-01' WHERE 票据编号 = '00000014' AND 入库单编号 = 'B2'"));
    w->Text1->setText(QStringLiteral("00000014"));
    w->Text1_KeyPress(13);
    EXPECT_EQ(w->Combo2->count(), 1);
    EXPECT_EQ(w->Combo2->currentText(), "B1");
    EXPECT_EQ(w->List1->count(), 3);

    w->Combo1->setCurrentIndex(1);  // a type without books
    doubles().boxes->shown.clear();
    w->票据定位();
    EXPECT_EQ(boxTexts(), QStringList{"没有领用过 02 增值税专用发票 票据"});
}

TEST_F(VatWindow, MarkingVoid)
{
    exec(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号) VALUES ('B1', '00000010')"));
    auto* w = open();
    w->Text1->setText(QStringLiteral("00000014"));
    w->票据定位();
    ASSERT_EQ(w->List1->count(), 4);
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "您没有选择任何要标志为作废的票据");

    w->List1->item(0)->setSelected(true);
    w->List1->item(2)->setSelected(true);
    w->List1->item(3)->setSelected(true);
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "作废处理完成");
    EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 作废原因, 作废人 FROM 票据 WHERE 作废日期 IS NOT NULL ORDER BY 票据编号")),
              (QStringList{"00000010/打印错误/1001", "00000012/打印错误/1001", "00000013/打印错误/1001"}));
    EXPECT_EQ(w->List1->count(), 1);
    EXPECT_EQ(w->List1->item(0)->text(), "00000011");
}

// Another workstation issued one of the chosen bills first: nothing is voided.
TEST_F(VatWindow, VoidingABillTakenMeanwhileWritesNothing)
{
    auto* w = open();
    w->Text1->setText(QStringLiteral("00000014"));
    w->票据定位();
    for (int i = 0; i < w->List1->count(); ++i) w->List1->item(i)->setSelected(true);
    exec(QStringLiteral("UPDATE 票据 SET 开票日期 = '2026-12-10 09:00:00' WHERE 入库单编号 = 'B1' AND 票据编号 = '00000012'"));
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "票据00000012已被开具或作废，未作任何作废处理，请重新选择");
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 作废日期 IS NOT NULL")), 0);
    EXPECT_EQ(w->List1->count(), 2);  // relisted
}

TEST_F(VatWindow, CompletionAdvancesTheNumberWithoutLoweringIt)
{
    auto* w = open();
    w->Command2_Click();
    EXPECT_EQ(boxTexts(), QStringList{"请定位票据"});
    EXPECT_EQ(count(QStringLiteral("SELECT 起始编号 FROM 设置管理处")), 1);

    startStandIn(QStringLiteral("开票结果：单据88800000001：1，成功，00000012"));
    w->Command1_Click();
    standIn.join();
    // Another workstation advanced the number meanwhile: it stays where it is.
    exec(QStringLiteral("UPDATE 设置管理处 SET 起始编号 = 5"));
    w->Command2_Click();
    EXPECT_EQ(count(QStringLiteral("SELECT 起始编号 FROM 设置管理处")), 5);
    EXPECT_FALSE(Forms::isLoaded<frm增值税发票打印>());
    // Nothing written to 票据 in mode 前台收款.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 开票日期 IS NOT NULL OR 作废日期 IS NOT NULL")), 0);

}

// The tax-control program and the family's other programs name these files
// on a file system that ignores letter case.
TEST_F(VatWindow, FilesAreFoundWhateverTheirLetterCase)
{
    const QDir program(programFolder());
    ASSERT_TRUE(QFile::rename(program.filePath(QStringLiteral("翠湖管理处.Cfg")), program.filePath(QStringLiteral("翠湖管理处.CFG"))));
    writeGbkLines(program.filePath(QStringLiteral("zpdypjlx.ini")), {QStringLiteral("01 增值税普通发票")});
    writeGbkLines(program.filePath(QStringLiteral("商品编码版本号.bbh")), {QStringLiteral("33.0")});
    qint64 start = 0;
    for (const char* suffix : {"_开票结果.TXT", "_开票结果.Txt", "_开票结果.txt"}) {
        ++start;
        auto* w = open(false);
        EXPECT_EQ(w->Combo1->currentText(), "01 增值税普通发票") << suffix;
        EXPECT_EQ(w->Text2->text(), "33.0") << suffix;
        startStandIn(QStringLiteral("开票结果：单据：1，成功，00000013"), start, QString::fromUtf8(suffix));
        w->Command1_Click();
        standIn.join();
        EXPECT_EQ(boxTexts(), QStringList{"请核对票据入库单编号"}) << suffix;
        EXPECT_EQ(w->Text1->text(), "00000013") << suffix;
        EXPECT_TRUE(w->Command2->isEnabled()) << suffix;
        Forms::unload<frm增值税发票打印>();
        doubles().boxes->shown.clear();
    }
    // A new choice replaces the file as it is named, not beside it.
    auto* w = open(false);
    doubles().boxes->answers.push_back(vbYes);
    w->Combo1->setCurrentIndex(w->Combo1->findText(QStringLiteral("02 增值税专用发票")));
    EXPECT_EQ(readGbkFile(program.filePath(QStringLiteral("zpdypjlx.ini"))).value(), "02 增值税专用发票\n");
    EXPECT_FALSE(program.entryList().contains(QStringLiteral("ZPDYPJLX.INI")));
}

// Two workstations of one 管理处: each export takes a number of its own when
// it starts, and keeps it for its retries.
TEST_F(VatWindow, EachExportReservesItsOwnFileNumber)
{
    const auto otherWorkstation = [this] {
        ExportReservation r;
        std::thread t([&] {
            auto second = openSecondConnection(QStringLiteral("other"));
            r = reserveExportNumber(second->db(), QStringLiteral("GL01"));
        });
        t.join();
        return r;
    };
    auto* w = open();
    w->Command5_Click();
    EXPECT_TRUE(exists(folder("manual") + QStringLiteral("/88800000001.XML")));
    EXPECT_EQ(storedStart(), 2);

    const ExportReservation other = otherWorkstation();
    ASSERT_EQ(other.kind, ExportReservation::Done) << other.error.description.toStdString();
    EXPECT_EQ(other.prefix, 888);
    EXPECT_EQ(other.start, 2);

    // 导出失败, try again: the same file, replaced.
    doubles().boxes->answers.push_back(vbYes);
    w->Command7_Click();
    w->Command5_Click();
    EXPECT_EQ(QDir(folder("manual")).entryList(QDir::Files), QStringList{"88800000001.XML"});
    EXPECT_EQ(storedStart(), 3);

    // The next window of this workstation follows the other's number.
    Forms::unload<frm增值税发票打印>();
    w = open();
    w->Command5_Click();
    EXPECT_EQ(QDir(folder("manual")).entryList(QDir::Files), QStringList{"88800000003.XML"});
    EXPECT_EQ(storedStart(), 4);
    // Completion never lowers it.
    w->Text1->setText(QStringLiteral("00000012"));
    w->票据定位();
    w->Command2_Click();
    EXPECT_EQ(storedStart(), 4);

    // Without numbering nothing is reserved.
    exec(QStringLiteral("UPDATE 设置管理处 SET 起始编号 = NULL WHERE gyd_dh = 'GL01'"));
    EXPECT_EQ(otherWorkstation().kind, ExportReservation::NotSet);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 设置管理处 WHERE gyd_dh = 'GL01' AND 起始编号 IS NULL")), 1);
}

// Many exports on two workstations at once: never one number twice.
TEST_F(VatWindow, ReservationsAtTheSameTimeNeverShareANumber)
{
    constexpr int kEach = 10;
    std::vector<qint64> taken[2];
    std::thread workers[2];
    for (int k = 0; k < 2; ++k)
        workers[k] = std::thread([&, k] {
            auto db = openSecondConnection(QStringLiteral("ws%1").arg(k));
            for (int i = 0; i < kEach; ++i) {
                const ExportReservation r = reserveExportNumber(db->db(), QStringLiteral("GL01"));
                if (r.kind == ExportReservation::Done) taken[k].push_back(r.start);
            }
        });
    for (auto& t : workers) t.join();
    std::set<qint64> all(taken[0].begin(), taken[0].end());
    all.insert(taken[1].begin(), taken[1].end());
    EXPECT_EQ(taken[0].size() + taken[1].size(), size_t(2 * kEach));
    EXPECT_EQ(all.size(), size_t(2 * kEach));
    EXPECT_EQ(*all.begin(), 1);
    EXPECT_EQ(*all.rbegin(), 2 * kEach);
    EXPECT_EQ(storedStart(), 2 * kEach + 1);
}

// A result or settings file too large to be one is refused by name and
// nothing is written; the clerk can still type the invoice number.
TEST_F(VatWindow, FilesTooLargeAreRefusedByName)
{
    auto* w = open();
    startStandIn(QStringLiteral("开票结果：单据：1，成功，00000013"), 1, QStringLiteral("_开票结果.txt"),
                 QByteArray(kSmallFileMaxBytes, 'x'));
    w->Command1_Click();
    standIn.join();
    const QString result = folder("writeback") + QStringLiteral("/88800000001_开票结果.txt");
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("文件“%1”超过1 MB，不予读取").arg(result)});
    EXPECT_EQ(w->Text1->text(), "");
    EXPECT_EQ(w->Label1[5]->text(), "请手动定位票据编号");
    EXPECT_TRUE(w->Picture1->isVisibleTo(w));
    EXPECT_FALSE(w->Command2->isEnabled());
    Forms::unload<frm增值税发票打印>();
    doubles().boxes->shown.clear();

    const QString cfg = QDir(programFolder()).filePath(QStringLiteral("翠湖管理处.Cfg"));
    QFile f(cfg);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(kSmallFileMaxBytes, ' '));
    f.close();
    writeGbkLines(folder("writeback") + QStringLiteral("/old.TXT"), {QStringLiteral("x")});
    w = open();
    w->Command1_Click();
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("文件“%1”超过1 MB，不予读取").arg(cfg)});
    EXPECT_TRUE(exists(folder("writeback") + QStringLiteral("/old.TXT")));
    EXPECT_EQ(storedStart(), 2);
    EXPECT_TRUE(w->Command1->isEnabled());
}

TEST_F(VatWindow, CancelHandsNothingBack)
{
    auto* w = open();
    w->Command3_Click();
    EXPECT_FALSE(Forms::isLoaded<frm增值税发票打印>());
}

TEST_F(VatWindow, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    auto* w = open();
    // The code version goes to its file, never to a column.
    EXPECT_EQ(inputProblems(w, {{"Text1", "票据.票据编号"}}, {"Text2"}).join(u'\n').toStdString(), "");
}

}  // namespace
}  // namespace corvane::test
