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
