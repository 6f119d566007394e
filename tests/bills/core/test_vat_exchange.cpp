// The files of the VAT exchange, byte for byte: the interface file, the
// result line, the comma-delimited settings files, and the folder guards.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/TextFile.h"
#include "bills/InvoicingItemRules.h"
#include "bills/VatExchange.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

VatInvoice sampleInvoice()
{
    VatInvoice inv;
    inv.number = exportBaseName(888, 1);
    inv.buyer = {QStringLiteral("翠湖业委会"), QStringLiteral("9131"), QStringLiteral("翠湖路1号 555"),
                 QStringLiteral("建行 6217"), QStringLiteral("一月")};
    inv.issuer = QStringLiteral("王芳");
    inv.version = QStringLiteral("10.0 ");
    inv.lines.push_back({QStringLiteral("物业管理服务"), QStringLiteral("一期"), QStringLiteral("月"), QStringLiteral("2"),
                         QStringLiteral("94.339623"), QStringLiteral("188.68"), QStringLiteral("0.06"),
                         QStringLiteral("3040801010000000000")});
    inv.lines.push_back({QStringLiteral("停车服务"), QString(), QString(), QStringLiteral("1"), QStringLiteral("10"),
                         QStringLiteral("10"), QStringLiteral("0.09"), QStringLiteral("3040502020200000000")});
    return inv;
}

TEST(VatExchange, InterfaceFileByteForByte)
{
    QTemporaryDir dir;
    const InterfaceFile file = buildInterfaceFile(sampleInvoice());
    ASSERT_TRUE(file.error.isEmpty());
    const QString path = dir.filePath(QStringLiteral("88800000001.XML"));
    ASSERT_TRUE(writeGbkLines(path, file.lines));

    QStringList expected = {
        QStringLiteral("<?xml version=\"1.0\" encoding=\"GBK\" ?>"), QStringLiteral("<Kp>"),
        QStringLiteral("<Version>2.0</Version>"), QStringLiteral("<Fpxx>"), QStringLiteral("<Zsl>1</Zsl>"),
        QStringLiteral("<Fpsj>"), QStringLiteral("<Fp>"), QStringLiteral("<Djh>88800000001</Djh>"),
        QStringLiteral("<Gfmc>翠湖业委会</Gfmc>"), QStringLiteral("<Gfsh>9131</Gfsh>"),
        QStringLiteral("<Gfyhzh>建行 6217</Gfyhzh>"), QStringLiteral("<Gfdzdh>翠湖路1号 555</Gfdzdh>"),
        QStringLiteral("<Bz>一月</Bz>"), QStringLiteral("<Fhr>王芳</Fhr>"), QStringLiteral("<Skr>王芳</Skr>"),
        QStringLiteral("<Spbmbbh>10.0 </Spbmbbh>"), QStringLiteral("<Hsbz>0</Hsbz>"), QStringLiteral("<Sgbz>0</Sgbz>"),
        QStringLiteral("<Spxx>")};
    auto sph = [&](int i, const QString& name, const QString& spec, const QString& unit, const QString& code,
                   const QString& dj, const QString& sl, const QString& je, const QString& slv) {
        expected << QStringLiteral("<Sph>") << QStringLiteral("<Xh>%1</Xh>").arg(i)
                 << QStringLiteral("<Spmc>") + name + QStringLiteral("</Spmc>")
                 << QStringLiteral("<Ggxh>") + spec + QStringLiteral("</Ggxh>")
                 << QStringLiteral("<Jldw>") + unit + QStringLiteral("</Jldw>")
                 << QStringLiteral("<Spbm>") + code + QStringLiteral("</Spbm>") << QStringLiteral("<Qyspbm>01</Qyspbm>")
                 << QStringLiteral("<Syyhzcbz>0</Syyhzcbz>") << QStringLiteral("<Lslbz></Lslbz>")
                 << QStringLiteral("<Yhzcsm></Yhzcsm>") << QStringLiteral("<Dj>") + dj + QStringLiteral("</Dj>")
                 << QStringLiteral("<Sl>") + sl + QStringLiteral("</Sl>") << QStringLiteral("<Je>") + je + QStringLiteral("</Je>")
                 << QStringLiteral("<Slv>") + slv + QStringLiteral("</Slv>") << QStringLiteral("<Kce></Kce>")
                 << QStringLiteral("</Sph>");
    };
    sph(1, QStringLiteral("物业管理服务"), QStringLiteral("一期"), QStringLiteral("月"),
        QStringLiteral("3040801010000000000"), QStringLiteral("94.339623"), QStringLiteral("2"), QStringLiteral("188.68"),
        QStringLiteral("0.06"));
    sph(2, QStringLiteral("停车服务"), QString(), QString(), QStringLiteral("3040502020200000000"),
        QStringLiteral("10.000000"), QStringLiteral("1"), QStringLiteral("10.00"), QStringLiteral("0.09"));
    expected << QStringLiteral("</Spxx>") << QStringLiteral("</Fp>") << QStringLiteral("</Fpsj>")
             << QStringLiteral("</Fpxx>") << QStringLiteral("</Kp>");
    EXPECT_EQ(19 + 2 * 16 + 5, file.lines.size());
    EXPECT_EQ(toGbk(expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")), fileBytes(path));
}

// The buyer's "&" and "<" would make the file unreadable XML: they go in as entities.
TEST(VatExchange, MarkupCharactersAreEscaped)
{
    VatInvoice inv = sampleInvoice();
    inv.buyer[0] = QStringLiteral("A&B <公司>");
    inv.lines[0].spec = QStringLiteral("1<2");
    const InterfaceFile file = buildInterfaceFile(inv);
    ASSERT_TRUE(file.error.isEmpty());
    EXPECT_TRUE(file.lines.contains(QStringLiteral("<Gfmc>A&amp;B &lt;公司&gt;</Gfmc>")));
    EXPECT_TRUE(file.lines.contains(QStringLiteral("<Ggxh>1&lt;2</Ggxh>")));
}

TEST(VatExchange, TextGbkCannotHoldRefusesTheFile)
{
    VatInvoice inv = sampleInvoice();
    inv.buyer[0] = QStringLiteral("한국회사");
    InterfaceFile file = buildInterfaceFile(inv);
    EXPECT_EQ(QStringLiteral("Gfmc 含有无法写入接口文件的字符"), file.error);
    EXPECT_TRUE(file.lines.isEmpty());

    inv = sampleInvoice();
    inv.lines[1].name = QStringLiteral("停车😀");
    file = buildInterfaceFile(inv);
    EXPECT_EQ(QStringLiteral("第2行Spmc 含有无法写入接口文件的字符"), file.error);
}

// Dj and Je keep every place the grid holds before they are rounded.
TEST(VatExchange, PriceAndAmountFormats)
{
    const struct {
        const char *price, *dj, *amount, *je;
    } cases[] = {
        {"94.339623", "94.339623", "188.675", "188.68"}, {"10", "10.000000", "10", "10.00"},
        {"0.0000005", "0.000001", "-2.345", "-2.35"},     {"99.9999995", "100.000000", ".5", "0.50"},
        {"", "", "abc", "abc"},                           {"-0.0000001", "0.000000", "1e3", "1e3"},
    };
    for (const auto& c : cases) {
        VatInvoice inv = sampleInvoice();
        inv.lines.resize(1);
        inv.lines[0].price = QString::fromUtf8(c.price);
        inv.lines[0].amount = QString::fromUtf8(c.amount);
        const InterfaceFile f = buildInterfaceFile(inv);
        EXPECT_EQ(f.lines[19 + 10], QStringLiteral("<Dj>") + QString::fromUtf8(c.dj) + QStringLiteral("</Dj>")) << c.price;
        EXPECT_EQ(f.lines[19 + 12], QStringLiteral("<Je>") + QString::fromUtf8(c.je) + QStringLiteral("</Je>")) << c.amount;
    }
}

TEST(VatExchange, BaseName)
{
    EXPECT_EQ(QStringLiteral("88800000001"), exportBaseName(888, 1));
    EXPECT_EQ(QStringLiteral("1123456789"), exportBaseName(1, 123456789));
    EXPECT_EQ(QStringLiteral("700000000"), exportBaseName(7, 0));
    EXPECT_EQ(QStringLiteral("88800000001_开票结果.txt"), resultFileName(exportBaseName(888, 1)));
}

TEST(VatExchange, ResultLine)
{
    const struct {
        const char* line;
        bool issued;
        const char* number;
    } cases[] = {
        {"开票结果：单据88800000001：1，成功，12345678，2026-12-10", true, "12345678"},
        {"开票结果：单据88800000001：0，失败，12345678", false, ""},
        {"开票结果：单据：1，成功", false, ""},              // too few items
        {"开票结果：1，成功，12345678", false, ""},          // too few parts
        {"开票结果：单据：x，成功，12345678", false, ""},    // not numeric
        {"开票结果：单据： 2 ，成功， 00000012 \r", true, "00000012"},
        {"开票结果：单据：+1，成功，12345678", true, "12345678"},
        {"开票结果：单据：-1，成功，12345678", true, "12345678"},
        {"开票结果：单据：001，成功，12345678", true, "12345678"},
        // Whole numbers only: a floating-point read took these as issued.
        {"开票结果：单据：nan，成功，12345678", false, ""},
        {"开票结果：单据：NaN，成功，12345678", false, ""},
        {"开票结果：单据：inf，成功，12345678", false, ""},
        {"开票结果：单据：-infinity，成功，12345678", false, ""},
        {"开票结果：单据：1.5，成功，12345678", false, ""},
        {"开票结果：单据：2.5，成功，12345678", false, ""},
        {"开票结果：单据：1e3，成功，12345678", false, ""},
        {"开票结果：单据：0x1，成功，12345678", false, ""},
        {"开票结果：单据：1.0，成功，12345678", false, ""},
        {"开票结果：单据：-0，成功，12345678", false, ""},
        {"开票结果：单据：000，成功，12345678", false, ""},
        {"开票结果：单据：，成功，12345678", false, ""},
        {"开票结果：单据：1，成功，nan", false, ""},
        {"开票结果：单据：1，成功，1.5", false, ""},
        {"开票结果：单据：1，成功，1234567a", false, ""},
        {"开票结果：单据：1，成功，-12345678", false, ""},
        {"开票结果：单据：1，成功，", false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        const ExportResult r = parseResultLine(QString::fromUtf8(c.line));
        EXPECT_EQ(c.issued, r.issued) << c.line;
        EXPECT_EQ(QString::fromUtf8(c.number), r.invoiceNumber) << c.line;
    }
}

TEST(VatExchange, SettingFileRoundTripKeepsCommasAndBlanks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("翠湖管理处.Cfg"));
    const QStringList folders = {QStringLiteral("/srv/导出"), QStringLiteral("/srv/回写,2"), QString(),
                                 QStringLiteral(" /srv/手动 ")};
    ASSERT_TRUE(writeSettingFile(path, folders));
    EXPECT_EQ(toGbk(QStringLiteral("/srv/导出\r\n\"/srv/回写,2\"\r\n\r\n\" /srv/手动 \"\r\n")), fileBytes(path));
    EXPECT_EQ(folders, readSettingFile(path).value());
    QString error;
    EXPECT_FALSE(readSettingFile(dir.filePath(QStringLiteral("missing.Cfg")), &error).has_value());
    EXPECT_EQ(error, QString());  // a missing file is no error

    // A file too large to be a settings file is refused by name, not read for a minute.
    QFile big(path);
    ASSERT_TRUE(big.open(QIODevice::Append));
    big.write(QByteArray(kSmallFileMaxBytes, 'x'));
    big.close();
    EXPECT_FALSE(readSettingFile(path, &error).has_value());
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
}

TEST(VatExchange, FoldersThatMustNotBeEmptied)
{
    QTemporaryDir dir;
    const QString why = QStringLiteral("目录设置不正确，不能清空：");
    EXPECT_EQ(why + QStringLiteral("/"), folderNotClearable(QStringLiteral("/")));
    EXPECT_EQ(why + QDir::homePath(), folderNotClearable(QDir::homePath()));
    EXPECT_EQ(why + programFolder(), folderNotClearable(programFolder()));
    EXPECT_EQ(why, folderNotClearable(QString()));
    EXPECT_EQ(why + dir.filePath(QStringLiteral("none")), folderNotClearable(dir.filePath(QStringLiteral("none"))));
    EXPECT_EQ(QString(), folderNotClearable(dir.path()));

    // Files only: a subfolder and what it holds stay.
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    writeGbkLines(dir.filePath(QStringLiteral("a.TXT")), {QStringLiteral("x")});
    writeGbkLines(dir.filePath(QStringLiteral("sub/b.txt")), {QStringLiteral("x")});
    ASSERT_TRUE(deleteFilesIn(dir.path()));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.TXT"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("sub/b.txt"))));
    EXPECT_EQ(QString(), firstTxtFile(dir.path()));
    writeGbkLines(dir.filePath(QStringLiteral("r.txt")), {QStringLiteral("x")});
    EXPECT_EQ(dir.filePath(QStringLiteral("r.txt")), firstTxtFile(dir.path()));
}

// A result file still being written is read only once its first line is
// complete or its size has held for two seconds.
TEST(VatExchange, ResultFileWatchWaitsForACompleteLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(toGbk(QStringLiteral("开票结果：单")));
    f.flush();
    ResultFileWatch watch;
    EXPECT_FALSE(watch.ready(path, 0));
    EXPECT_FALSE(watch.ready(path, 1900));
    EXPECT_TRUE(watch.ready(path, 2000));

    ResultFileWatch second;
    f.write("\r\n");
    f.flush();
    EXPECT_TRUE(second.ready(path, 0));
}

TEST(InvoicingItemRules, InputAndRows)
{
    EXPECT_EQ(QStringLiteral("123"), digitsOnly(QStringLiteral("1a2.3")));
    EXPECT_EQ(QStringLiteral("6.5"), rateInput(QStringLiteral("6.5.")));
    EXPECT_EQ(QStringLiteral("108"), numberingInput(QStringLiteral("0108"), 3));
    EXPECT_EQ(QStringLiteral("123"), numberingInput(QStringLiteral("12345"), 3));
    EXPECT_EQ(QStringLiteral("【说明】导出文件的编号将从88800000001开始"),
              numberingNote(QStringLiteral("888"), QStringLiteral("1")));
    EXPECT_EQ(QStringLiteral("【说明】导出文件的编号将从888123456789开始"),
              numberingNote(QStringLiteral("888"), QStringLiteral("123456789")));
    EXPECT_EQ(QStringLiteral("【说明】导出文件的编号将从开始"), numberingNote(QString(), QString()));

    EXPECT_EQ(std::nullopt, firstIncompleteRow({{}, {QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("6")}}));
    EXPECT_EQ(2, firstIncompleteRow({{}, {QString(), QString(), QStringLiteral("6")}}));
    EXPECT_EQ(1, firstIncompleteRow({{QStringLiteral("1"), QStringLiteral("a"), QStringLiteral(".")}}));

    // The refusal names what the row lacks.
    const struct {
        SettingCells cells;
        const char* refusal;
    } refusals[] = {
        {{QString(), QString(), QStringLiteral("6")}, "第2行，数据不完整，请核对：缺少税控盘对应项目编号、税控盘对应项目名称"},
        {{QStringLiteral("304"), QString(), QStringLiteral("6")}, "第2行，数据不完整，请核对：缺少税控盘对应项目名称"},
        {{QStringLiteral("304"), QStringLiteral("物业"), QString()}, "第2行，数据不完整，请核对：缺少税率（%）"},
        {{QStringLiteral("304"), QStringLiteral("物业"), QStringLiteral("6.5")}, ""},
        {{QStringLiteral("304"), QStringLiteral("物业"), QStringLiteral(".")}, "第2行，数据不完整，请核对：税率（%）不是数字"},
        {{}, ""},
    };
    for (const auto& r : refusals)
        EXPECT_EQ(incompleteRowRefusal({{}, r.cells}).value_or(QString()), QString::fromUtf8(r.refusal)) << r.refusal;

    const QStringList folders = {QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c"), QStringLiteral("/d")};
    EXPECT_TRUE(sameAsOtherFolder(1, QStringLiteral("/a"), folders));
    EXPECT_FALSE(sameAsOtherFolder(3, QStringLiteral("/a"), folders));
    EXPECT_FALSE(sameAsOtherFolder(1, QStringLiteral("/a/"), folders));
    EXPECT_FALSE(sameAsOtherFolder(0, QStringLiteral("/d"), folders));

    QTemporaryDir dir;
    EXPECT_EQ(QStringLiteral("新建文件夹"), newFolderName(dir.path()));
    QDir(dir.path()).mkdir(QStringLiteral("新建文件夹"));
    EXPECT_EQ(QStringLiteral("新建文件夹1"), newFolderName(dir.path()));
}

}  // namespace
}  // namespace corvane::test
