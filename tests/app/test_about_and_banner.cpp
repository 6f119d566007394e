#include <gtest/gtest.h>

#include "app/Banner.h"
#include "app/frmAbout.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;

TEST(About, ShowsNameVersionAndFamily)
{
    resetServices();
    auto* about = Forms::get<frmAbout>();
    EXPECT_EQ(about->Caption(), QStringLiteral("关于Brindlemoor系统2011版"));
    EXPECT_EQ(about->Label7->text(), QStringLiteral("Corvane系统1.0.102"));
    EXPECT_EQ(about->lblTitle->text(), QStringLiteral("Brindlemoor系统2011版的一部分"));
    EXPECT_EQ(about->lblVersion->text(), QStringLiteral("版本"));

    about->cmdOK->click();
    EXPECT_FALSE(Forms::isLoaded<frmAbout>());
}

#ifndef Q_OS_WIN
TEST(About, SystemInformationIsUnavailableOffWindows)
{
    resetServices();
    Forms::get<frmAbout>()->cmdSysInfo->click();
    const auto& shown = doubles().boxes->shown;
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("此时系统信息不可用"));
    EXPECT_EQ(shown[0].style, vbOKOnly);
    EXPECT_EQ(shown[0].title, QStringLiteral("Corvane"));
    EXPECT_TRUE(doubles().shell->started.isEmpty());
    FormRegistry::instance().unloadAll();
}
#endif

TEST(Banner, MiddleSlicesAndTheRightHandCopy)
{
    const QSize picture(15420, 810);  // 1028 x 54 pixels
    const auto right = [&](int stripWidth) {
        return BannerCopy{QRect(8850, 0, 15420 - 8850, 810), QRect(stripWidth - 4000, 0, 4000, 600)};
    };
    const auto slice = [](int x) { return BannerCopy{QRect(8850, 0, 300, 810), QRect(x, 0, 300, 600)}; };
    struct Case {
        int width;
        std::vector<BannerCopy> copies;
    } cases[] = {
        {6000, {right(6000)}},                 // narrower than the fixed part: drawn over it
        {12000, {right(12000)}},               // no room for a slice
        {13150, {right(13150)}},               // the first slice would start where the right copy does
        {13151, {slice(9150), right(13151)}},  // room for one
        {14000, {slice(9150), slice(9450), slice(9750), right(14000)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(BannerCopies(QSize(c.width, 600), picture), c.copies);
    }
}
