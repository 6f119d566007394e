#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>

#include "app/QtTranslation.h"

using namespace corvane;

namespace {

bool catalogueInstalled()
{
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm"));
}

// Installed for one test only, so other tests keep reading Qt's own words.
class InstalledTranslation {
public:
    explicit InstalledTranslation(QTranslator* t) : m_t(t) { QCoreApplication::installTranslator(m_t); }
    ~InstalledTranslation() { QCoreApplication::removeTranslator(m_t); }

private:
    QTranslator* m_t;
};

}  // namespace

TEST(QtTranslation, QtsOwnDialogsMenusAndButtonsSpeakChinese)
{
    if (!catalogueInstalled()) GTEST_SKIP() << "qt6-translations-l10n is not installed";
    const std::unique_ptr<QTranslator> translator = loadQtTranslation();
    ASSERT_TRUE(translator);
    InstalledTranslation installed(translator.get());

    struct Case {
        const char* context;
        const char* source;
        const char* chinese;
    } cases[] = {
        {"QPlatformTheme", "Cancel", "取消"},
        {"QPlatformTheme", "Open", "打开"},
        {"QFileDialog", "Look in:", "查找范围："},
        {"QLineEdit", "&Copy", "复制(&C)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), QString::fromUtf8(c.chinese));
    }

    // A button box made now takes its captions through the installed catalogue.
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    EXPECT_EQ(box.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
}

TEST(QtTranslation, CalendarsSpeakChineseUnderAnyWorkstationLocale)
{
    const QLocale before;
    // The workstation says English; the program's own locale wins.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    useChineseLocale();
    QCalendarWidget calendar;
    QDateEdit picker;
    picker.setCalendarPopup(true);
    QLocale::setDefault(before);

    for (const QLocale& shown : {calendar.locale(), picker.locale()}) {
        EXPECT_EQ(shown.language(), QLocale::Chinese);
        EXPECT_EQ(shown.standaloneMonthName(11), QStringLiteral("十一月"));
        EXPECT_EQ(shown.dayName(1, QLocale::ShortFormat), QStringLiteral("周一"));
    }
}
