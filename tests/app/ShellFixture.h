#pragma once
// A small organisation and the helpers the login and main window tests share.

#include <QApplication>
#include <QSet>

#include "app/CommandLine.h"
#include "app/LoginContext.h"
#include "app/MDIForm1.h"
#include "app/MainWindowHooks.h"
#include "app/frmLogin.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

// A child window standing in for the windows of later subsystems.
class FakeChild : public Form {};
class OtherFakeChild : public Form {};

inline QStringList contextValues() { return Login().values(); }

class ShellTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        SetProgramCommandLine(QString());
        启动参数.clear();
        Login() = LoginContext();
        mainWindowHooks() = MainWindowHooks();

        addDepartment(QStringLiteral("D01"), QStringLiteral("财务部"), QStringLiteral("C1"));
        addDepartment(QStringLiteral("D02"), QStringLiteral("工程部"), QStringLiteral("C2"));
        addPost(QStringLiteral("P01"), QStringLiteral("会计"), QStringLiteral("D01"), QStringLiteral("K1"));
        addPost(QStringLiteral("P02"), QStringLiteral("主管"), QStringLiteral("D02"), QStringLiteral("K2"));
        addPost(QStringLiteral("P03"), QStringLiteral("出纳"), QStringLiteral("D01"), QStringLiteral("K1"));
        // One current post.
        addStaff(QStringLiteral("E001"), QStringLiteral("张三"), QStringLiteral("secret"));
        assignPost(QStringLiteral("E001"), QStringLiteral("P01"));
        // Two current posts, stored in the reverse of the listing order, and an ended one.
        addStaff(QStringLiteral("E002"), QStringLiteral("李四"), QStringLiteral("pw2"));
        assignPost(QStringLiteral("E002"), QStringLiteral("P02"), true);
        assignPost(QStringLiteral("E002"), QStringLiteral("P03"), false);
        assignPost(QStringLiteral("E002"), QStringLiteral("P01"), true, true);
        // Only an ended assignment.
        addStaff(QStringLiteral("E003"), QStringLiteral("王五"), QStringLiteral("pw3"));
        assignPost(QStringLiteral("E003"), QStringLiteral("P01"), true, true);
        // Left the company, assignment never ended.
        addStaff(QStringLiteral("E004"), QStringLiteral("赵六"), QStringLiteral("pw4"), true);
        assignPost(QStringLiteral("E004"), QStringLiteral("P03"));
    }

    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        SetProgramCommandLine(QString());
        启动参数.clear();
        mainWindowHooks() = MainWindowHooks();
        DbTest::TearDown();
    }

    static void typeLogin(frmLogin& login, const QString& user, const QString& password)
    {
        login.TxtUser->setText(user);
        login.txtPassword->setText(password);
        login.cmdOK_Click();
    }
    // The start window, as main() opens it, with a typed login.
    static void typedLogin(const QString& user, const QString& password)
    {
        auto* login = Forms::get<frmLogin>();
        login->Show();
        typeLogin(*login, user, password);
    }
    // 注销 on a typed login, the login window answered by `user` choosing post row `row`.
    static void relogin(const QString& user, const QString& password, int row = 0)
    {
        onModal<frmLogin>([=](frmLogin& f) {
            typeLogin(f, user, password);
            if (f.isLoaded() && f.List1->isVisible()) {
                f.List1->setCurrentRow(row);
                f.List1_DblClick();
            }
        });
        Forms::find<MDIForm1>()->注销_Click();
    }

    static QList<ShownBox>& boxes() { return doubles().boxes->shown; }

    static QSet<QString> enabledMenus()
    {
        QSet<QString> enabled;
        auto* main = Forms::find<MDIForm1>();
        for (const QString& n : allMenus()) {
            QAction* menu = main ? main->菜单(n) : nullptr;
            if (menu && menu->isEnabled()) enabled << n;
        }
        return enabled;
    }
    static QSet<QString> allMenus()
    {
        return {QStringLiteral("CorvaneC"), QStringLiteral("合同信息"), QStringLiteral("统计"),
                QStringLiteral("合同收付款统计"), QStringLiteral("合同到期提醒"), QStringLiteral("合同汇总统计"),
                QStringLiteral("其它模块"), QStringLiteral("退出系统"), QStringLiteral("退出"),
                QStringLiteral("注销"), QStringLiteral("关于"), QStringLiteral("关于软件"), QStringLiteral("联系我们")};
    }
    static QSet<QString> ungrantedMenus()
    {
        return {QStringLiteral("其它模块"), QStringLiteral("退出"), QStringLiteral("注销"), QStringLiteral("关于")};
    }
};

}  // namespace corvane::test
