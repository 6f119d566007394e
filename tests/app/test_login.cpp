#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

#include "ShellFixture.h"
#include "testsupport/HostileInput.h"
#include "testsupport/LayoutCheck.h"

using namespace corvane;
using namespace corvane::test;

namespace {
const QStringList kZhangSan{"E001", "张三", "D01", "财务部", "P01", "会计", "C1", "类别C1", "K1", "岗位类别K1"};
}

TEST_F(ShellTest, OnePostIsTakenAtOnceAndOpensTheMainWindow)
{
    typedLogin(QStringLiteral("E001"), QStringLiteral("  secret "));  // the password is compared trimmed

    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(contextValues(), kZhangSan);
    EXPECT_EQ(公司名称, QStringLiteral("测试物业"));
    EXPECT_TRUE(Forms::isLoaded<MDIForm1>());
    EXPECT_FALSE(Forms::isLoaded<frmLogin>());
}

TEST_F(ShellTest, RefusedLoginsShowTheirMessageAndKeepTheWindow)
{
    const QString wrong = QStringLiteral("用户名或密码不正确,请重新输入!");
    const QString noPost = QStringLiteral("对不起，您没有岗位，请选择系统管理员");
    struct Case {
        QString user, password, message;
        int style;
    } cases[] = {
        {"", "secret", "用户名不能为空!", vbInformation},
        {"E001", "", "密码不能为空!", vbInformation},
        {"E001", "wrong", wrong, vbInformation},
        {"x' or '1'='1", "x' or '1'='1", wrong, vbInformation},
        {"E001", "x' or '1'='1", wrong, vbInformation},
        {"tebOx", " vulpex", wrong, vbInformation},  // the super user's password is not trimmed
        {"E003", "pw3", noPost, vbOKOnly},           // only an ended assignment
        {"E004", "pw4", noPost, vbOKOnly},           // left the company
    };
    auto* login = Forms::get<frmLogin>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user.toStdString() + " / " + c.password.toStdString());
        boxes().clear();
        typeLogin(*login, c.user, c.password);
        ASSERT_EQ(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].text, c.message);
        EXPECT_EQ(boxes()[0].style, c.style);
        EXPECT_EQ(boxes()[0].title, QStringLiteral("Corvane"));
        EXPECT_TRUE(login->isLoaded());
        EXPECT_FALSE(Forms::isLoaded<MDIForm1>());
        EXPECT_TRUE(Login().当前工号.isEmpty());
    }
}

// Whatever a clerk types or pastes into the boxes, the login is refused
// with its message: nothing reaches the statement but bound text.
TEST_F(ShellTest, HostileTextsTypedIntoTheLoginAreRefusedPlainly)
{
    auto* login = Forms::get<frmLogin>();
    for (const QString& hostile : hostileTexts()) {
        SCOPED_TRACE(hostile.left(20).toStdString());
        for (const bool asUser : {true, false}) {
            boxes().clear();
            login->TxtUser->setText(asUser ? QString() : QStringLiteral("E001"));
            login->txtPassword->setText(QString());
            QLineEdit* box = asUser ? login->TxtUser : login->txtPassword;
            box->insert(hostile);  // as a paste arrives
            if (box->text().isEmpty()) {
                // Longer than the column: refused as it was pasted.
                ASSERT_EQ(boxes().size(), 1);
                EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("输入的内容过长")));
                continue;
            }
            EXPECT_FALSE(box->text().contains(QChar(0)));
            if (asUser) login->txtPassword->setText(QStringLiteral("x"));
            login->cmdOK_Click();
            ASSERT_EQ(boxes().size(), 1);
            EXPECT_EQ(boxes()[0].text, QStringLiteral("用户名或密码不正确,请重新输入!"));
            EXPECT_FALSE(Forms::isLoaded<MDIForm1>());
        }
    }
}

TEST_F(ShellTest, SeveralPostsAreListedInAStableOrderAndChosenByDoubleClick)
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    typeLogin(*login, QStringLiteral("E002"), QStringLiteral("pw2"));

    ASSERT_TRUE(login->List1->isVisible());
    EXPECT_TRUE(login->Label2->isVisible());
    QStringList items;
    for (int i = 0; i < login->List1->count(); ++i) items << login->List1->item(i)->text();
    EXPECT_EQ(items, (QStringList{"财务部 出纳(兼职)", "工程部 主管(主要)"}));
    EXPECT_FALSE(Forms::isLoaded<MDIForm1>());

    login->List1->setCurrentRow(1);
    login->List1_DblClick();
    EXPECT_EQ(contextValues(),
              (QStringList{"E002", "李四", "D02", "工程部", "P02", "主管", "C2", "类别C2", "K2", "岗位类别K2"}));
    EXPECT_TRUE(Forms::isLoaded<MDIForm1>());
    EXPECT_FALSE(Forms::isLoaded<frmLogin>());
}

// On a 1024x768 screen the login fits; Esc ends the program as 取消 does.
TEST_F(ShellTest, OnTheSmallScreenTheLoginFitsAndEscEndsTheProgramAsCancelDoes)
{
    auto* login = Forms::get<frmLogin>();
    EXPECT_EQ(screenProblems(*login), QStringList());
    EXPECT_EQ(escapeProblems(*login, login->cmdCancel), QStringList());
    EXPECT_EQ(doubles().shell->endCalls, 1);
}

TEST_F(ShellTest, APostIsChosenFromTheKeyboardAsByDoubleClick)
{
    const QStringList lisiAtWorks{"E002", "李四", "D02", "工程部", "P02", "主管", "C2", "类别C2", "K2", "岗位类别K2"};
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(key);
        auto* login = Forms::get<frmLogin>();
        login->Show();
        typeLogin(*login, QStringLiteral("E002"), QStringLiteral("pw2"));
        ASSERT_TRUE(login->List1->isVisible());
        EXPECT_EQ(login->focusWidget(), login->List1);
        EXPECT_EQ(login->List1->currentRow(), 0);  // highlighted, as Enter would take it

        // No post highlighted: the key picks none.
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        login->List1->setCurrentRow(-1);
        QApplication::sendEvent(login->List1, &press);
        EXPECT_FALSE(Forms::isLoaded<MDIForm1>());

        login->List1->setCurrentRow(0);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(login->List1, &down);
        ASSERT_EQ(login->List1->currentRow(), 1);
        QApplication::sendEvent(login->List1, &press);
        EXPECT_EQ(contextValues(), lisiAtWorks);
        EXPECT_TRUE(Forms::isLoaded<MDIForm1>());
        EXPECT_FALSE(Forms::isLoaded<frmLogin>());
        FormRegistry::instance().unloadAll();
        Login() = LoginContext();
    }
}

TEST_F(ShellTest, FocusOnTheNumberHidesThePostListAndEnterMovesOn)
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    typeLogin(*login, QStringLiteral("E002"), QStringLiteral("pw2"));
    ASSERT_TRUE(login->List1->isVisible());

    // Focus selects the whole text of either box; on the number it also hides the posts.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(login->txtPassword, &focusIn);
    EXPECT_EQ(login->txtPassword->selectedText(), QStringLiteral("pw2"));
    EXPECT_TRUE(login->List1->isVisible());
    QApplication::sendEvent(login->TxtUser, &focusIn);
    EXPECT_FALSE(login->List1->isVisible());
    EXPECT_FALSE(login->Label2->isVisible());
    EXPECT_EQ(login->TxtUser->selectedText(), QStringLiteral("E002"));

    QApplication::setActiveWindow(login);
    login->TxtUser->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(login->TxtUser, &enter);
    EXPECT_EQ(login->TxtUser->text(), QStringLiteral("E002"));
    // The window's own focus child: whether the offscreen window is the
    // active one depends on timing.
    EXPECT_EQ(login->focusWidget(), login->txtPassword);

    // Enter on the OK button logs in again from the start: a fresh list of the same two posts.
    QApplication::sendEvent(login->cmdOK, &enter);
    EXPECT_TRUE(login->List1->isVisible());
    EXPECT_EQ(login->List1->count(), 2);
    EXPECT_EQ(login->岗位记录().size(), 3u);  // one spare record after the listed ones
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ShellTest, TheLoginWindowStandsInTheMiddleOfTheScreenAndMasksThePasswordWithStars)
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    const QPoint centre = login->screen()->availableGeometry().center();
    EXPECT_LE((login->frameGeometry().center() - centre).manhattanLength(), 2);
    EXPECT_EQ(login->txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(login->txtPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                     login->txtPassword),
              '*');
}

TEST_F(ShellTest, TheSuperUserNeedsNoRowAndHasNoPost)
{
    exec(QStringLiteral("DELETE FROM 员工档案"));
    Login().当前姓名 = QStringLiteral("前一位");
    typedLogin(QStringLiteral("tebOx"), QStringLiteral("vulpex"));

    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(contextValues(), (QStringList{"超级用户", "前一位", "", "", "", "", "", "", "", ""}));
    EXPECT_FALSE(Forms::isLoaded<frmLogin>());
    ASSERT_TRUE(Forms::isLoaded<MDIForm1>());
    EXPECT_EQ(enabledMenus(), allMenus());
}

TEST_F(ShellTest, TheLauncherCommandLineIsTheLoginContext)
{
    struct Case {
        QString line;
        QStringList values;
    } cases[] = {
        {"A,B,C,D,E,F,G,H,I,J", {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}},
        {"A, B ,C,D,E,F,G,H,I,J,K", {"A", " B ", "C", "D", "E", "F", "G", "H", "I", "J"}},
        {"A,B,C", {"A", "B", "C", "", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        FormRegistry::instance().unloadAll();
        SetProgramCommandLine(c.line);
        Forms::get<frmLogin>();

        EXPECT_EQ(启动参数, c.line);
        EXPECT_EQ(contextValues(), c.values);
        EXPECT_FALSE(Forms::isLoaded<frmLogin>());
        EXPECT_TRUE(Forms::isLoaded<MDIForm1>());
        EXPECT_TRUE(boxes().isEmpty());
    }
}

TEST_F(ShellTest, TheCommandLineIsEverythingAfterTheProgramName)
{
    EXPECT_EQ(CommandLineOf({"corvane"}), QString());
    EXPECT_EQ(CommandLineOf({"/opt/corvane", "A,B", "C D,E"}), QStringLiteral("A,B C D,E"));
}

TEST_F(ShellTest, AFailedConnectionEndsATypedLoginButNotALauncherStart)
{
    doubles().settings->set(kSettingsApp, kSettingsSection, QStringLiteral("Driver"), QStringLiteral("QSQLITE"));
    doubles().settings->set(kSettingsApp, kSettingsSection, QStringLiteral("DBname"),
                            programFolder() + QStringLiteral("/missing/folder/x.db"));

    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("数据库连接失败!"));
    EXPECT_EQ(boxes()[0].title, QStringLiteral("连接提示"));
    EXPECT_EQ(boxes()[0].style, vbOKOnly | vbInformation);
    EXPECT_EQ(doubles().shell->endCalls, 1);
    EXPECT_FALSE(Forms::isLoaded<MDIForm1>());

    FormRegistry::instance().unloadAll();
    boxes().clear();
    SetProgramCommandLine(QStringLiteral("A,B,C,D,E,F,G,H,I,J"));
    auto* login = Forms::get<frmLogin>();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("数据库连接失败!"));
    EXPECT_TRUE(login->isLoaded());  // the ordinary login window comes up
    EXPECT_EQ(login->Label1->text(), QStringLiteral("V1.0版"));
    EXPECT_EQ(doubles().shell->endCalls, 1);
}

TEST_F(ShellTest, CancelAndClosingTheLoginWindowEndTheProgram)
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    login->cmdCancel->click();
    EXPECT_EQ(doubles().shell->endCalls, 1);
    login->close();
    EXPECT_EQ(doubles().shell->endCalls, 2);
}

TEST_F(ShellTest, ReloginInSwitchModeReplacesTheWholeContext)
{
    addMenuGrant(QStringLiteral("P02"), QStringLiteral("G1"), QStringLiteral("合同信息"), true);
    typedLogin(QStringLiteral("E001"), QStringLiteral("secret"));
    auto* main = Forms::find<MDIForm1>();
    ASSERT_TRUE(main);
    EXPECT_FALSE(main->菜单(QStringLiteral("合同信息"))->isEnabled());

    onModal<frmLogin>([](frmLogin& f) {
        EXPECT_EQ(f.Tag, QStringLiteral("切换"));
        EXPECT_TRUE(f.txtPassword->text().isEmpty());
        EXPECT_FALSE(f.List1->isVisible());
        EXPECT_EQ(f.Label1->text(), QStringLiteral("V1.0版"));
        typeLogin(f, QStringLiteral("E002"), QStringLiteral("pw2"));
        f.List1->setCurrentRow(1);
        f.List1_DblClick();
    });
    main->注销_Click();

    EXPECT_EQ(doubles().runner->ran, QStringList{"corvane::frmLogin"});
    EXPECT_EQ(Forms::find<MDIForm1>(), main);
    EXPECT_FALSE(Forms::isLoaded<frmLogin>());
    EXPECT_EQ(Login().当前岗位代号, QStringLiteral("P02"));
    EXPECT_EQ(Login().当前姓名, QStringLiteral("李四"));
    EXPECT_TRUE(main->菜单(QStringLiteral("合同信息"))->isEnabled());
}
