#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/TextFile.h"
#include "testsupport/TestEnvironment.h"

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
