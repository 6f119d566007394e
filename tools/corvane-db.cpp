// corvane-db: creates Corvane databases (empty or with a small demonstration
// organisation) and points the per-user settings at one.
//
//   corvane-db init     --driver QSQLITE --database FILE
//   corvane-db init     --driver QPSQL --host H --port P --user U --password W --database NAME
//   corvane-db demo     (same options)
//   corvane-db settings --database FILE [--company NAME]

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <functional>

#include "db/Connection.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "platform/Services.h"

using namespace corvane;

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

const QString kDemoCompany = QStringLiteral("示范物业管理有限公司");

DbSettings settingsFrom(const QCommandLineParser& p)
{
    DbSettings s;
    s.driver = p.value(QStringLiteral("driver")).toUpper();
    s.database = p.value(QStringLiteral("database"));
    if (s.driver == QLatin1String("QSQLITE") && !s.database.isEmpty()) s.database = QFileInfo(s.database).absoluteFilePath();
    s.server = p.value(QStringLiteral("host"));
    if (p.isSet(QStringLiteral("port"))) s.server += QLatin1Char(':') + p.value(QStringLiteral("port"));
    s.login = p.value(QStringLiteral("user"));
    s.password = p.value(QStringLiteral("password"));
    s.company = p.value(QStringLiteral("company"));
    return s;
}

void printDemoLogins()
{
    out() << "Demo logins (employee number / password 123; README.md tells what each reaches):\n"
          << "  1001  张伟  总经理办公室 总经理: every menu, contracts of the whole company\n"
          << "  1002  李娜  第一管理处 合同管理员: every menu, contracts of 第一管理处;\n"
          << "              or 财务部 财务经理: 统计 only\n"
          << "  1003  王芳  财务部 会计: no contract menus (her post 管理处主任 has ended)\n"
          << "  1004  刘洋  第一管理处 管理处主任: 合同信息 of 第一管理处, no 统计\n"
          << "  1005  陈静  has left: refused\n";
    out().flush();
}

int create(const QCommandLineParser& p, bool demo)
{
    DbSettings s = settingsFrom(p);
    if (s.driver != QLatin1String("QSQLITE") && s.driver != QLatin1String("QPSQL")) {
        err() << "--driver must be QSQLITE or QPSQL\n";
        return 2;
    }
    if (s.database.isEmpty()) {
        err() << "--database is required\n";
        return 2;
    }
    if (s.driver == QLatin1String("QSQLITE")) QDir().mkpath(QFileInfo(s.database).absolutePath());
    QString problem;
    bool created = false;
    if (!provision::createDatabase(s, &created, &problem)) {
        err() << "Cannot create the database " << s.database << ": " << problem << "\n";
        return 1;
    }
    const QString name = QStringLiteral("corvane-db");
    int rc = 0;
    {
        QSqlDatabase db = OpenNamedConnection(s, name);
        if (!db.isOpen()) {
            err() << "Cannot open " << s.database << ": " << lastErrorOf(db).description << "\n";
            rc = 1;
        } else if (schema::schemaExists(db)) {
            out() << "The database " << s.database << " already has the Corvane tables; left as it is.\n";
        } else {
            DbError e;
            if (!schema::createSchema(db, &e) || (demo && !provision::fillDemo(db, QDate::currentDate(), &e))) {
                err() << "Failed: " << e.description << " (" << e.number << ")\n";
                rc = 1;
            } else {
                out() << (demo ? "Created the demo database " : "Created the database ") << s.database << "\n";
                out().flush();
                if (demo) printDemoLogins();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rc;
}

int writeSettings(const QCommandLineParser& p)
{
    const DbSettings s = settingsFrom(p);
    if (s.database.isEmpty()) {
        err() << "--database is required\n";
        return 2;
    }
    SettingsService& store = Services::settings();
    for (const char* key : {"Driver", "Svr", "DBname"}) {
        if (store.contains(kSettingsApp, kSettingsSection, QString::fromLatin1(key))) {
            out() << "Database settings exist already (" << kSettingsApp << "/" << kSettingsSection
                  << "); left unchanged.\n";
            return 0;
        }
    }
    const QString driver = s.driver.isEmpty() ? QStringLiteral("QSQLITE") : s.driver;
    const QString company = s.company.isEmpty() ? kDemoCompany : s.company;
    store.set(kSettingsApp, kSettingsSection, QStringLiteral("Driver"), driver);
    store.set(kSettingsApp, kSettingsSection, QStringLiteral("DBname"), s.database);
    if (!s.server.isEmpty()) store.set(kSettingsApp, kSettingsSection, QStringLiteral("Svr"), s.server);
    if (!s.login.isEmpty()) store.set(kSettingsApp, kSettingsSection, QStringLiteral("UID"), s.login);
    if (!s.password.isEmpty()) store.set(kSettingsApp, kSettingsSection, QStringLiteral("PWD"), s.password);
    store.set(kSettingsApp, kSettingsSection, QStringLiteral("Company"), company);
    out() << "Wrote the database settings: Driver=" << driver << ", DBname=" << s.database << ", Company=" << company
          << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-db"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Creates Corvane databases and the settings that point at them."));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("command"), QStringLiteral("init, demo or settings"));
    p.addOptions({
        {QStringLiteral("driver"), QStringLiteral("QSQLITE or QPSQL (default QSQLITE)"), QStringLiteral("driver"),
         QStringLiteral("QSQLITE")},
        {QStringLiteral("database"), QStringLiteral("SQLite file, or PostgreSQL database name"), QStringLiteral("name")},
        {QStringLiteral("host"), QStringLiteral("PostgreSQL host"), QStringLiteral("host")},
        {QStringLiteral("port"), QStringLiteral("PostgreSQL port"), QStringLiteral("port")},
        {QStringLiteral("user"), QStringLiteral("login name"), QStringLiteral("user")},
        {QStringLiteral("password"), QStringLiteral("password"), QStringLiteral("password")},
        {QStringLiteral("company"), QStringLiteral("company name for the settings"), QStringLiteral("name")},
    });
    p.process(app);
    const QStringList args = p.positionalArguments();
    const QString command = args.value(0);
    if (command == QLatin1String("init")) return create(p, false);
    if (command == QLatin1String("demo")) return create(p, true);
    if (command == QLatin1String("settings")) return writeSettings(p);
    err() << "usage: corvane-db init|demo|settings [options]  (--help for the options)\n";
    return 2;
}
