// Logging in to the main window (the login's checks, the menus' rights, the
// start-up synchronisation and the expiry reminder that opens by itself) as
// 1001 (总经理 of a functional department, whose reminder covers the whole
// company), on the demo database extended to a company of 100,000 contracts
// and 1,000,000 instalments (bench/Company.h; the reminder lists about
// 18,000), against the same login on the demo database itself, in
// alternating rounds (case login-to-main: its raw column is the demo's
// login; goal: within 1.5 times it). On SQLite or, when CORVANE_TEST_PG names
// a server ("host:port"), on PostgreSQL.

#include <QApplication>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "Company.h"
#include "app/LoginContext.h"
#include "app/MDIForm1.h"
#include "app/MainWindowHooks.h"
#include "app/frmLogin.h"
#include "approval/Registration.h"
#include "contracts/Registration.h"
#include "db/Provision.h"
#include "payments/Registration.h"
#include "plans/Frm合同到期提醒.h"
#include "plans/Registration.h"
#include "receipts/Registration.h"
#include "statistics/Registration.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;

namespace {

DbSettings demoDatabase(const QString& name, const QTemporaryDir& dir, bool company)
{
    const DbSettings s = openFreshDatabase(name, dir);
    DbError e;
    if (!provision::fillDemo(DbConnection(), kCompanyToday, &e)) fail(e.description);
    if (company) {
        const auto departments = selectRowsQuiet(QStringLiteral("SELECT 职能部门编号 FROM 职能部门new ORDER BY 职能部门编号"));
        if (!departments) fail(departments.error().description);
        QStringList codes;
        for (const Row& r : *departments) codes << r.text(0);
        fillCompany(Plans::Receipt, codes);
    }
    CloseConnection();
    return s;
}

void useDatabase(const DbSettings& s)
{
    auto& settings = *test::doubles().settings;
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("Driver"), s.driver);
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("Svr"), s.server);
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("UID"), s.login);
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("PWD"), s.password);
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("DBname"), s.database);
}

// The contracts the reminder lists after the login.
int login()
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    login->TxtUser->setText(QStringLiteral("1001"));
    login->txtPassword->setText(QStringLiteral("123"));
    login->cmdOK_Click();
    auto* reminder = Forms::find<Frm合同到期提醒>();
    if (!Forms::find<MDIForm1>() || !reminder) fail(QStringLiteral("the login did not reach the main window and its reminder"));
    return reminder->MSFlexGrid2->Rows() + reminder->MSFlexGrid3->Rows() - 2;
}

void loggedOut()
{
    FormRegistry::instance().unloadAll();
    CloseConnection();
    Login() = LoginContext();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    QApplication::setQuitOnLastWindowClosed(false);
    test::installTestEnvironment();
    test::doubles().clock->current = QDateTime(kCompanyToday, QTime(9, 0));
    contract::registerContractWindows();
    plans::registerPlanWindows();
    approval::registerApprovalWindows();
    payments::registerPaymentWindows();
    statistics::registerStatisticsWindows();
    receipts::registerReceiptWindows();

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-bench-XXXXXX"));
    DbSettings demo, company;
    const double built = millisecondsOf([&] {
        demo = demoDatabase(QStringLiteral("login_demo"), dir, false);
        company = demoDatabase(QStringLiteral("login_company"), dir, true);
    });
    fprintf(stderr, "databases built in %.1f s\n", built / 1000);

    int listedDemo = 0, listedCompany = 0;
    const Medians m = alternate(
        7,
        [&] {
            useDatabase(demo);
            listedDemo = login();
        },
        [&] {
            useDatabase(company);
            listedCompany = login();
        },
        [] { loggedOut(); });
    loggedOut();
    printf("%s: login %.1f ms with %d contracts due, on the demo %.1f ms with %d, ratio %.2f\n",
           onPostgres() ? "PostgreSQL" : "SQLite", m.ms, listedCompany, m.rawMs, listedDemo, m.ms / m.rawMs);
    reportCase("login-to-main", listedCompany, m);
    std::_Exit(0);
}
