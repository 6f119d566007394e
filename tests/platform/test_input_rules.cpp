#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>

#include "platform/InputRules.h"
#include "platform/Services.h"
#include "platform/TextBox.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;

TEST(InputRules, OneLineTakesOneLineAndNoBoxKeepsControlCharacters)
{
    const struct {
        QString typed, oneLine, multiLine;
    } cases[] = {
        {"甲\r\n乙", "甲 乙", "甲\n乙"},
        {"甲\n乙\r丙", "甲 乙 丙", "甲\n乙\n丙"},
        {QStringLiteral("甲\u2028乙\u2029丙"), "甲 乙 丙", "甲\n乙\n丙"},
        {QStringLiteral("前") + QChar(0) + QStringLiteral("后\x1b"), "前后", "前后"},
        {"a\tb", "a b", "ab"},
        {"  两端  ", "  两端  ", "  两端  "},
        {QStringLiteral("\u202Eعربي"), QStringLiteral("\u202Eعربي"), QStringLiteral("\u202Eعربي")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(singleLineText(c.typed), c.oneLine) << c.typed.toStdString();
        EXPECT_EQ(multiLineText(c.typed), c.multiLine) << c.typed.toStdString();
    }
}

TEST(InputRules, APasteLongerThanTheBoxIsRefusedWithAMessage)
{
    resetServices();
    TextBox box(nullptr, false);
    box.setMaxLength(5);
    box.insertTyped(QStringLiteral("甲\n乙"));
    EXPECT_EQ(box.text(), QStringLiteral("甲 乙"));
    box.insertTyped(QStringLiteral("丙丁戊"));
    EXPECT_EQ(box.text(), QStringLiteral("甲 乙"));
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, tooLongMessage(5));
    box.insertTyped(QStringLiteral("丙丁"));
    EXPECT_EQ(box.text(), QStringLiteral("甲 乙丙丁"));

    // A one-line QLineEdit: Qt's own limit used to cut a long paste short without a word.
    QLineEdit line;
    applyLineRules(&line, 200);
    line.setText(QStringLiteral("原文"));
    line.insert(QString(40000, QChar(u'长')));
    EXPECT_EQ(line.text(), QStringLiteral("原文"));
    EXPECT_EQ(doubles().boxes->shown.size(), 2);
    line.insert(QStringLiteral("\r\n续") + QChar(0));
    EXPECT_EQ(line.text(), QStringLiteral("原文 续"));
    // A refused paste leaves the box as it was kept, never as it was pasted.
    line.insert(QString(40000, QChar(u'长')));
    EXPECT_EQ(line.text(), QStringLiteral("原文 续"));
}

// Database text (department, type) names the template file: it must stay a
// plain file of the program folder.
TEST(InputRules, AProgramFileNameStaysInTheProgramFolder)
{
    resetServices();
    const struct {
        QString name;
        bool plain;
    } cases[] = {
        {"D01 财务部T1 工程合同主要条款.TXT", true},
        {"../../x 部门主要条款.TXT", false},
        {"/etc/x主要条款.TXT", false},
        {"a\\b.TXT", false},
        {"C:x.TXT", false},
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b.TXT"), false},
        {"..", false},
        {"", false},
    };
    for (const auto& c : cases) {
        const auto path = ProgramFilePath(c.name);
        EXPECT_EQ(path.has_value(), c.plain) << c.name.toStdString();
        if (path) { EXPECT_EQ(QFileInfo(*path).absolutePath(), QDir(ProgramFolder()).absolutePath()); }
    }
}
