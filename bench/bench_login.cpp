// Logging in to the main window (the login's checks, the menus' rights, the
// start-up synchronisation and the expiry reminder that opens by itself) as
// 1001 (总经理 of a functional department, whose reminder covers the whole
// company), on the demo database extended to a company of 100,000 contracts
// and 1,000,000 instalments (bench/Company.h; the reminder lists about
// 18,000, some 8,000 of them on the receipt tab it opens on; the payment tab
// is read when the clerk first turns to it), against the same login on the demo database itself, in
// alternating rounds (case login-to-main: its raw column is the demo's
// login; goal: within 1.5 times it). Each login is the first of a program
// just started, as at a workstation: a process of its own, timed from 确定
// to the main window with its reminder. On SQLite or, when CORVANE_TEST_PG
// names a server ("host:port"), on PostgreSQL.

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
#include "bills/Registration.h"
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

void useDatabase(const QString& driver, const QString& server, const QString& database)
{
    auto& settings = *test::doubles().settings;
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("Driver"), driver);
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("Svr"), server);
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("UID"), QStringLiteral("corvane"));
    settings.set(kSettingsApp, kSettingsSection, QStringLiteral("DBname"), database);
}

// The contracts the reminder lists after the login, on the tab it shows.
int login()
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    login->TxtUser->setText(QStringLiteral("1001"));
    login->txtPassword->setText(QStringLiteral("123"));
    login->cmdOK_Click();
    auto* reminder = Forms::find<Frm合同到期提醒>();
    if (!Forms::find<MDIForm1>() || !reminder) fail(QStringLiteral("the login did not reach the main window and its reminder"));
    // The payment tab is not read yet: its grid holds only its blank row.
    return reminder->MSFlexGrid2->Rows() - 1;
}

// One login in a process of its own: its ms, the contracts due, its peak MB.
QList<double> loginInProcess(const DbSettings& s)
{
    const QList<double> out =
        numbersOf(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), s.driver, s.server, s.database});
    if (out.size() < 3) fail(QStringLiteral("a login process said nothing"));
    return out;
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
    receipts::registerBillWindows();

    // bench_login --child driver server database
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 4 && args[0] == QLatin1String("--child")) {
        useDatabase(args[1], args[2], args[3]);
        int listed = 0;
        const double ms = millisecondsOf([&] { listed = login(); });
        printf("%.1f %d %.1f\n", ms, listed, peakMegabytes());
        fflush(stdout);
        std::_Exit(0);
    }

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-bench-XXXXXX"));
    DbSettings demo, company;
    const double built = millisecondsOf([&] {
        demo = demoDatabase(QStringLiteral("login_demo"), dir, false);
        company = demoDatabase(QStringLiteral("login_company"), dir, true);
    });
    fprintf(stderr, "databases built in %.1f s\n", built / 1000);

    std::vector<double> demoMs, companyMs;
    int listedDemo = 0, listedCompany = 0;
    double peak = 0;
    for (int i = 0; i < 7; ++i) {
        const QList<double> d = loginInProcess(demo), c = loginInProcess(company);
        demoMs.push_back(d[0]);
        companyMs.push_back(c[0]);
        listedDemo = int(d[1]);
        listedCompany = int(c[1]);
        peak = std::max(peak, c[2]);
    }
    const Medians m{median(companyMs), median(demoMs)};
    printf("%s: login %.1f ms with %d contracts due, on the demo %.1f ms with %d, ratio %.2f\n",
           onPostgres() ? "PostgreSQL" : "SQLite", m.ms, listedCompany, m.rawMs, listedDemo, m.ms / m.rawMs);
    reportCase("login-to-main", listedCompany, m, peak);
    std::_Exit(0);
}
