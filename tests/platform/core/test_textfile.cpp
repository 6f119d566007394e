#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Services.h"
#include "platform/TextFile.h"
#include "testsupport/ServiceDoubles.h"

using namespace corvane;

TEST(TextFile, WritesGbkWithCrLfAndReadsItBack)
{
    const QString path = QDir(test::programFolder()).filePath(QStringLiteral("Command.Dll"));
    ASSERT_TRUE(writeGbkLines(path, {QStringLiteral("注销")}));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xd7\xa2\xcf\xfa\r\n"));
    EXPECT_EQ(readGbkFile(path).value(), QStringLiteral("注销\n"));
}

TEST(TextFile, UnreadableFileGivesNoText)
{
    QString error;
    EXPECT_FALSE(readGbkFile(QStringLiteral("/nonexistent/x.txt"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

// A character GBK cannot hold used to be written as "?" without a word.
TEST(TextFile, TextGbkCannotHoldIsRefusedAndNamed)
{
    const struct {
        const char* text;
        const char* first;  // "" when GBK holds it all
    } cases[] = {
        {"第一条 付款 abc", ""}, {"表情😀符号", "😀"}, {"한국어", "한"}, {"大写ẞ", "ẞ"}, {"Straße", "ß"}, {"?", ""},
    };
    for (const auto& c : cases) {
        const auto bad = firstCharNotInGbk(QString::fromUtf8(c.text));
        EXPECT_EQ(bad.value_or(QString()), QString::fromUtf8(c.first)) << c.text;
    }
    const QString path = QDir(test::programFolder()).filePath(QStringLiteral("模板.TXT"));
    QString error;
    EXPECT_FALSE(writeGbkLines(path, {QStringLiteral("第一条"), QStringLiteral("表情😀")}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("😀"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

// The small settings files: every value written comes back whole through
// either reader, and plain values stay as the older programs write them.
TEST(DelimitedFile, EveryValueComesBackWhole)
{
    const struct {
        const char* value;
        const char* line;  // as the file holds it
    } cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"01 增值税普通发票", "01 增值税普通发票"},
        {"D:\\模板\\a.xlsx", "D:\\模板\\a.xlsx"},
        {"trail ", "\"trail \""},
        {"10.0 ", "\"10.0 \""},
        {" lead", "\" lead\""},
        {"\tlead", "\"\tlead\""},
        {" both ", "\" both \""},
        {"a,b", "\"a,b\""},
        {"甲公司,乙分公司", "\"甲公司,乙分公司\""},
        {"say \"hi\", ok", "\"say \"\"hi\"\", ok\""},
        {"\"q\" x", "\"\"\"q\"\" x\""},
        {"x\"", "\"x\"\"\""},
        {"\"", "\"\"\"\""},
        {"中文，全角", "中文，全角"},
    };
    QStringList values, lines;
    for (const auto& c : cases) {
        values << QString::fromUtf8(c.value);
        lines << QString::fromUtf8(c.line);
        EXPECT_EQ(quotedField(values.last()), lines.last()) << c.value;
    }
    const QString path = QDir(test::programFolder()).filePath(QStringLiteral("values.ini"));
    ASSERT_TRUE(writeGbkValues(path, values));
    const QString text = readGbkFile(path).value();
    EXPECT_EQ(text, lines.join(u'\n') + u'\n');
    EXPECT_EQ(readDelimitedFields(text), values);
    EXPECT_EQ(firstFieldOfEachLine(text), values);
}

// Lines as other programs write them: a comma cuts an unquoted value, which
// the whole-file reader carries on as the next field.
TEST(DelimitedFile, LinesOfOtherProgramsAreReadAsCommaDelimitedFields)
{
    const struct {
        const char* text;
        QStringList each;  // first field of each line
        QStringList all;   // every field in order
    } cases[] = {
        {"  01 增值税普通发票,x\r\nnext\r\n", {"01 增值税普通发票", "next"}, {"01 增值税普通发票", "x", "next"}},
        {"\"D:\\a,b\"\r\n", {"D:\\a,b"}, {"D:\\a,b"}},
        {"D:\\a,b\r\n", {"D:\\a"}, {"D:\\a", "b"}},
        {"10.0 \r\n", {"10.0"}, {"10.0"}},
        {"\"x\"y,z\r\n", {"x"}, {"x", "z"}},
        {"\"open\r\n", {"open"}, {"open"}},
        {"a\r\n\r\nc\r\n", {"a", "", "c"}, {"a", "", "c"}},
        {"a\r\nb", {"a", "b"}, {"a", "b"}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(firstFieldOfEachLine(text), c.each) << c.text;
        EXPECT_EQ(readDelimitedFields(text), c.all) << c.text;
    }
}

// A 30 MB "settings file" used to hold the window for a minute.
TEST(DelimitedFile, ASmallFileOverOneMegabyteIsRefusedByName)
{
    const QString path = QDir(test::programFolder()).filePath(QStringLiteral("big.Cfg"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(kSmallFileMaxBytes, 'a'));
    f.close();
    EXPECT_EQ(readSmallGbkFile(path).value().size(), kSmallFileMaxBytes);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("\r\n");
    f.close();
    QString error;
    EXPECT_FALSE(readSmallGbkFile(path, &error).has_value());
    EXPECT_EQ(error, QStringLiteral("文件“%1”超过1 MB，不予读取").arg(path));
    EXPECT_FALSE(readSmallGbkFile(path + QStringLiteral(".none"), &error).has_value());
    EXPECT_TRUE(error.contains(path + QStringLiteral(".none"))) << error.toStdString();
}

// Files written by programs of a file system that ignores letter case are
// found by the name they have on disk.
TEST(PathInAnyCase, FindsTheNameOnDiskWhateverItsCase)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    ASSERT_TRUE(d.mkpath(QStringLiteral("WriteBack/Sub")));
    for (const char* name : {"ZPDYPJLX.INI", "翠湖管理处.cfg", "88800000001_开票结果.TXT", "WriteBack/Sub/r.Txt",
                             "exact.txt", "EXACT.TXT"}) {
        QFile f(d.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        const char* asked;
        const char* found;
    } cases[] = {
        {"ZPDYPJLX.INI", "ZPDYPJLX.INI"},
        {"zpdypjlx.ini", "ZPDYPJLX.INI"},
        {"Zpdypjlx.Ini", "ZPDYPJLX.INI"},
        {"翠湖管理处.Cfg", "翠湖管理处.cfg"},
        {"翠湖管理处.CFG", "翠湖管理处.cfg"},
        {"88800000001_开票结果.txt", "88800000001_开票结果.TXT"},
        {"writeback/SUB/R.TXT", "WriteBack/Sub/r.Txt"},  // folders too
        {"writeback", "WriteBack"},
        {"writeback/sub/", "WriteBack/Sub/"},
        {"exact.txt", "exact.txt"},  // the exact name first
        {"EXACT.TXT", "EXACT.TXT"},
        {"Exact.Txt", "EXACT.TXT"},  // else the first by name
        {"票据模板文件.ini", "票据模板文件.ini"},  // none: the name given
        {"writeback/none.txt", "WriteBack/none.txt"},
        {"nofolder/x.txt", "nofolder/x.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pathInAnyCase(d.filePath(QString::fromUtf8(c.asked))), d.filePath(QString::fromUtf8(c.found))) << c.asked;
    EXPECT_EQ(pathInAnyCase(QString()), QString());
}
