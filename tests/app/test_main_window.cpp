#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QScreen>

#include "ShellFixture.h"
#include "app/frmAbout.h"
#include "db/Sql.h"

using namespace corvane;
using namespace corvane::test;

namespace {
QSet<QString> with(QSet<QString> set, const QStringList& more)
{
    for (const QString& m : more) set << m;
    return set;
}
}  // namespace

TEST_F(ShellTest, MenuRightsComeFromTheGrantsOfThePost)
{
    struct Grant {
        QString group, formName;
        bool popedom;
    };
    struct Case {
        const char* name;
        std::vector<Grant> grants;
        QSet<QString> enabled;
    } cases[] = {
        {"no grant", {}, ungrantedMenus()},
        {"a grant and a denial of the same menu",
         {{"G1", "合同信息", true}, {"G2", "合同信息", false}, {"G2", "CorvaneC", true}},
         with(ungrantedMenus(), {"合同信息", "CorvaneC"})},
        {"a denial only", {{"G1", "统计", false}}, ungrantedMenus()},
        {"a caption instead of the menu's name", {{"G1", "Corvane", true}}, ungrantedMenus()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormRegistry::instance().unloadAll();
        exec(QStringLiteral("DELETE FROM 岗位权限设置"));
        exec(QStringLiteral("DELETE FROM GroupPrivilege"));
        for (const Grant& g : c.grants) addMenuGrant(QStringLiteral("P01"), g.group, g.formName, g.popedom);
        typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
        EXPECT_EQ(enabledMenus(), c.enabled);
    }
}

TEST_F(ShellTest, TheSuperUserKeepsEveryMenuAlsoAfterRelogin)
{
    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    ASSERT_EQ(enabledMenus(), ungrantedMenus());

    relogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));
    EXPECT_EQ(Login().当前工号, QStringLiteral("超级用户"));
    EXPECT_EQ(enabledMenus(), allMenus());

    relogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));
    EXPECT_EQ(enabledMenus(), allMenus());

    relogin(QStringLiteral("E001"), QStringLiteral("secret"));
    EXPECT_EQ(enabledMenus(), ungrantedMenus());
}

TEST_F(ShellTest, LogOffFromTheLauncherWritesTheLogOffFileAndWakesTheLauncher)
{
    SetProgramCommandLine(QStringLiteral("E001,张三,D01,财务部,P01,会计,C1,类别C1,K1,岗位类别K1"));
    Forms::get<frmLogin>();
    auto* main = Forms::find<MDIForm1>();
    ASSERT_TRUE(main);
    main->Show();
    main->关于软件_Click();
    Forms::get<FakeChild>()->Show();
    Forms::get<OtherFakeChild>()->Show();
    doubles().shell->existingWindows << QStringLiteral("Brindlemoor系统2011 zhuxiao");

    main->注销_Click();

    EXPECT_FALSE(Forms::isLoaded<frmAbout>());
    EXPECT_FALSE(Forms::isLoaded<FakeChild>());
    EXPECT_FALSE(Forms::isLoaded<OtherFakeChild>());
    QFile file(ProgramPath(QStringLiteral("Command.Dll")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xd7\xa2\xcf\xfa\r\n"));  // "注销" in GBK, CR LF
    EXPECT_EQ(doubles().shell->activated, QStringList{"Brindlemoor系统2011 zhuxiao"});
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_TRUE(doubles().runner->ran.isEmpty());  // no login window: the launcher logs in again
    EXPECT_TRUE(main->isLoaded());

    // Without the launcher's window the platform's error is reported.
    doubles().shell->existingWindows.clear();
    main->注销_Click();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("提示"));
    EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("错误号：0\n错误描述：")));

    // A log-off file that cannot be written is reported and the launcher is left alone.
    boxes().clear();
    doubles().shell->activated.clear();
    ASSERT_TRUE(QFile::remove(ProgramPath(QStringLiteral("Command.Dll"))));
    ASSERT_TRUE(QDir(programFolder()).mkdir(QStringLiteral("Command.Dll")));
    main->注销_Click();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("提示"));
    EXPECT_TRUE(doubles().shell->activated.isEmpty());
}

TEST_F(ShellTest, TypedLogOffClosesEveryChildBeforeTheLoginWindowReturns)
{
    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    auto* main = Forms::find<MDIForm1>();
    main->Show();
    main->关于软件_Click();
    Forms::get<FakeChild>()->Show();
    Forms::get<OtherFakeChild>()->Show();

    bool childrenGone = false;
    onModal<frmLogin>([&](frmLogin& f) {
        childrenGone = !Forms::isLoaded<frmAbout>() && !Forms::isLoaded<FakeChild>() &&
                       !Forms::isLoaded<OtherFakeChild>();
        typeLogin(f, QStringLiteral("E001"), QStringLiteral("secret"));
    });
    main->注销_Click();

    EXPECT_TRUE(childrenGone);
    EXPECT_EQ(contextValues().at(0), QStringLiteral("E001"));
    EXPECT_FALSE(QFile::exists(ProgramPath(QStringLiteral("Command.Dll"))));
}

TEST_F(ShellTest, OtherModulesNeedTheLauncher)
{
    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    auto* main = Forms::find<MDIForm1>();
    main->其它模块_Click();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("对不起，您不属于多模块系统。"));
    EXPECT_EQ(boxes()[0].style, vbOKOnly);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("Corvane"));
    EXPECT_TRUE(doubles().shell->activated.isEmpty());

    boxes().clear();
    启动参数 = QStringLiteral("E001,张三,D01,财务部,P01,会计,C1,类别C1,K1,岗位类别K1");
    doubles().shell->existingWindows << QStringLiteral("Brindlemoor系统2011版 主界面");
    main->其它模块_Click();
    EXPECT_EQ(doubles().shell->activated, QStringList{"Brindlemoor系统2011版 "});
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ShellTest, ExitClosingAndContactUseTheShell)
{
    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    auto* main = Forms::find<MDIForm1>();
    EXPECT_EQ(main->Caption(), QStringLiteral("Corvane"));
    main->联系我们_Click();
    EXPECT_EQ(doubles().shell->opened, QStringList{kVendorAddress});
    main->退出_Click();
    EXPECT_EQ(doubles().shell->endCalls, 1);
    main->close();
    EXPECT_EQ(doubles().shell->endCalls, 2);
}

TEST_F(ShellTest, TheReminderOpensAtStartUnlessTheSettingSwitchesItOff)
{
    mainWindowHooks().Frm合同到期提醒 = [] { return Forms::get<FakeChild>(); };
    struct Case {
        const char* name;
        QString user, password;
        QVariantList setting;  // 部门代号, 岗位代号, 启用提醒; empty: no row
        bool opens;
    } cases[] = {
        {"no setting row", "E001", "secret", {}, true},
        {"reminders on", "E001", "secret", {"D01", "P01", 1}, true},
        {"reminders off", "E001", "secret", {"D01", "P01", 0}, false},
        {"reminders off for another post", "E001", "secret", {"D01", "P03", 0}, true},
        {"empty setting", "E001", "secret", {"D01", "P01", QVariant()}, false},
        {"super user, off for no post", "tebOx", "vulpex", {"", "", 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormRegistry::instance().unloadAll();
        exec(QStringLiteral("DELETE FROM 合同提醒设置"));
        if (!c.setting.isEmpty())
            exec(QStringLiteral("INSERT INTO 合同提醒设置 (类型, 部门代号, 岗位代号, 启用提醒) VALUES (?, ?, ?, ?)"),
                 QVariantList{QStringLiteral("普通合同")} + c.setting);
        typedLogin(c.user, c.password);
        EXPECT_EQ(Forms::isLoaded<FakeChild>(), c.opens);
    }

    // The menu command opens it whatever the setting says.
    Forms::find<MDIForm1>()->合同到期提醒_Click();
    EXPECT_TRUE(Forms::isLoaded<FakeChild>());
    EXPECT_EQ(doubles().cursor->depth, 0);
}

TEST_F(ShellTest, TheApprovalSynchronisationRunsOnceAtStartAndItsFailureIsReported)
{
    int runs = 0;
    mainWindowHooks().行政合同审批同步 = [&runs] {
        ++runs;
        return SyncOutcome{executeQuiet(QStringLiteral("UPDATE 没有这张表 SET x = 1")).error(), {}};
    };
    typedLogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));

    EXPECT_EQ(runs, 1);
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("提示"));
    EXPECT_EQ(boxes()[0].style, vbInformation);
    EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("错误号：")));
    EXPECT_FALSE(Forms::isLoaded<frmLogin>());  // the start goes on
}

TEST_F(ShellTest, MenusOpenTheWindowsHandedInByLaterSubsystems)
{
    mainWindowHooks().frmCorvane = [] { return Forms::get<FakeChild>(); };
    typedLogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));
    auto* main = Forms::find<MDIForm1>();
    main->合同汇总统计_Click();  // not handed in yet: nothing happens
    EXPECT_TRUE(FormRegistry::instance().mdiArea()->subWindowList().isEmpty());
    main->合同信息_Click();
    ASSERT_TRUE(Forms::isLoaded<FakeChild>());
    EXPECT_TRUE(Forms::find<FakeChild>()->subWindow());
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ShellTest, TheMainWindowFillsTheScreenWithTheBackgroundPictureWhenThereIsOne)
{
    struct Case {
        const char* name;
        bool picture;
    } cases[] = {{"no MDI.BMP", false}, {"MDI.BMP in the program folder", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormRegistry::instance().unloadAll();
        QFile::remove(ProgramPath(QStringLiteral("MDI.BMP")));
        if (c.picture) {
            QImage red(8, 8, QImage::Format_RGB32);
            red.fill(Qt::red);
            ASSERT_TRUE(red.save(ProgramPath(QStringLiteral("MDI.BMP")), "BMP"));
        }
        typedLogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));
        auto* main = Forms::find<MDIForm1>();
        main->Show();
        QApplication::processEvents();
        EXPECT_TRUE(main->windowState() & Qt::WindowMaximized);
        EXPECT_EQ(main->frameGeometry().size(), main->screen()->availableGeometry().size());

        // The picture is stretched over the whole client area.
        const QBrush background = main->mdiArea->background();
        const QSize client = main->mdiArea->viewport()->size();
        if (c.picture) {
            ASSERT_EQ(background.textureImage().size(), client);
            EXPECT_EQ(background.textureImage().pixelColor(client.width() - 1, client.height() - 1), QColor(Qt::red));
        } else {
            EXPECT_EQ(background.color(), main->palette().window().color());
            EXPECT_TRUE(background.textureImage().isNull());
        }
    }
}

TEST_F(ShellTest, TheAboutBoxIsCentredWhenItOpensAndLeftWhereItStandsWhenOpenedAgain)
{
    typedLogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));
    auto* main = Forms::find<MDIForm1>();
    main->Show();
    // Opened over a child that fills the area, as the contract list does.
    auto* list = Forms::get<OtherFakeChild>();
    list->Show();
    list->subWindow()->showMaximized();
    main->关于软件_Click();
    auto* about = Forms::find<frmAbout>();
    ASSERT_TRUE(about);
    const QRect client = main->mdiArea->viewport()->rect();
    // At its own size, in the middle of the area, the list still whole behind it.
    EXPECT_FALSE(about->subWindow()->isMaximized());
    EXPECT_LE(about->frame()->width(), about->width() + 20);
    EXPECT_LE(about->frame()->height(), about->height() + 40);
    EXPECT_LE((about->frame()->geometry().center() - client.center()).manhattanLength(), 2);
    EXPECT_TRUE(list->subWindow()->isMaximized());
    // A fixed box: no maximise or minimise button.
    EXPECT_FALSE(about->frame()->windowFlags() & Qt::WindowMaximizeButtonHint);

    about->Move(150, 300);
    Forms::get<FakeChild>()->Show();
    main->关于软件_Click();
    EXPECT_EQ(Forms::find<frmAbout>(), about);
    EXPECT_EQ(about->Left(), 150);
    EXPECT_EQ(about->Top(), 300);
    EXPECT_EQ(main->mdiArea->activeSubWindow(), about->subWindow());
}

// Esc that a child of the work area leaves to its parents reaches the main
// window too; the program goes on (a clerk pressing Esc once too often on the
// contract list saw Corvane vanish).
TEST_F(ShellTest, EscLeftOverFromAChildDoesNotEndTheProgram)
{
    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    auto* main = Forms::find<MDIForm1>();
    main->Show();
    auto* list = Forms::get<OtherFakeChild>();
    list->Show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &esc);
    QCoreApplication::sendEvent(main, &esc);
    QCoreApplication::processEvents();
    EXPECT_TRUE(main->frame()->isVisible());
    EXPECT_EQ(doubles().shell->endCalls, 0);
}
