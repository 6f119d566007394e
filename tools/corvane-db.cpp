// corvane-db: creates Corvane databases (empty or with a small demonstration
// organisation) and points the per-user settings at one.
//
//   corvane-db init     --driver QSQLITE --database FILE
//   corvane-db init     --driver QPSQL --host H --port P --user U --password W --database NAME
//   corvane-db demo     (same options)
//   corvane-db settings --database FILE [--company NAME]

#include <QSqlError>
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

// The demonstration organisation: three departments (one under another),
// five posts, four staff and three contract types.
bool fillDemo(const QSqlDatabase& db, DbError* error)
{
    Transaction tx(db);
    if (!tx.isActive()) {
        *error = tx.error();
        return false;
    }
    auto run = [&](const char* sql, const QVariantList& values) {
        Statement st(db, QString::fromUtf8(sql), values);
        if (st.exec()) return true;
        *error = st.error();
        return false;
    };
    const QVariant none;
    const QDate since(2020, 1, 1);
    struct Step {
        const char* sql;
        std::vector<QVariantList> rows;
    };
    const std::vector<Step> steps = {
        {"INSERT INTO 职能部门类别 (部门类别代号, 部门类别名称) VALUES (?, ?)",
         {{"01", "职能部门"}, {"02", "管理处"}}},
        {"INSERT INTO 职能部门new (职能部门编号, 职能部门名称, 职能部门类别代号, 起始日期) VALUES (?, ?, ?, ?)",
         {{"001", "总经理办公室", "01", since}, {"002", "财务部", "01", since}, {"003", "第一管理处", "02", since}}},
        {"INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES (?, ?, ?)",
         {{"003", "001", since}}},
        {"INSERT INTO 岗位类别 (岗位类别编号, 岗位类别名称) VALUES (?, ?)",
         {{"01", "管理岗位"}, {"02", "业务岗位"}}},
        {"INSERT INTO 岗位信息new (岗位代号, 岗位名称, 职能部门代号, 岗位类别代号, 工号, 部门主管) VALUES (?, ?, ?, ?, ?, ?)",
         {{"G001", "总经理", "001", "01", "1001", 1},
          {"G002", "财务经理", "002", "01", "1002", 1},
          {"G003", "会计", "002", "02", "1003", 0},
          {"G004", "管理处主任", "003", "01", "1004", 1},
          {"G005", "合同管理员", "003", "02", "1002", 0}}},
        {"INSERT INTO 员工档案 (工号, 姓名, 帐号密码, 离职日期) VALUES (?, ?, ?, ?)",
         {{"1001", "张伟", "123", none},
          {"1002", "李娜", "123", none},
          {"1003", "王芳", "123", none},
          {"1004", "刘洋", "123", none},
          {"1005", "陈静", "123", QDate(2024, 6, 30)}}},
        // 李娜 holds two posts; 王芳's time as 管理处主任 has ended.
        {"INSERT INTO 岗位员工new (员工代号, 岗位代号, 主要岗位, 上岗日期, 离岗日期) VALUES (?, ?, ?, ?, ?)",
         {{"1001", "G001", 1, since, none},
          {"1002", "G002", 1, since, none},
          {"1002", "G005", 0, since, none},
          {"1003", "G003", 1, since, none},
          {"1003", "G004", 0, since, QDate(2023, 12, 31)},
          {"1004", "G004", 1, QDate(2024, 1, 1), none},
          {"1005", "G003", 1, since, QDate(2024, 6, 30)}}},
        {"INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 字, 公用, 对应科目, 单级流转, 部门主管审批) "
         "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
         {{"01", "物业服务合同", "收款合同", "WF", 1, none, 0, 1},
          {"02", "采购合同", "付款合同", "CG", 1, "5501", 0, 1},
          {"03", "租赁合同", "收款合同", "ZL", 0, none, 1, 0}}},
        {"INSERT INTO 合同使用部门设置 (合同类型编号, 部门) VALUES (?, ?)", {{"03", "003"}}},
        {"INSERT INTO 供方信息 (供应商编号, 供应商名称, 合格供方, 结束日期) VALUES (?, ?, ?, ?)",
         {{"S001", "恒达电梯维保有限公司", 1, none}, {"S002", "洁美保洁服务有限公司", 0, none}}},
        {"INSERT INTO 供方单位基本信息 (供应商编号, 开户行, 帐号, 税号) VALUES (?, ?, ?, ?)",
         {{"S001", "工商银行城东支行", "6222000011112222", "91310000MA1K000001"}}},
        {"INSERT INTO 供方对应部门 (供应商编号, 职能部门编号) VALUES (?, ?)", {{"S001", "003"}, {"S002", "003"}}},
        // Menu rights of 合同管理员: every menu of the main window.
        {"INSERT INTO 岗位权限设置 (组代号, 岗位代号, 授权) VALUES (?, ?, ?)", {{"HT", "G005", 1}}},
        {"INSERT INTO GroupPrivilege (GroupID, FormName, Popedom) VALUES (?, ?, ?)",
         {{"HT", "CorvaneC", 1},
          {"HT", "合同信息", 1},
          {"HT", "统计", 1},
          {"HT", "合同收付款统计", 1},
          {"HT", "合同到期提醒", 1},
          {"HT", "合同汇总统计", 1},
          {"HT", "退出系统", 1}}},
        {"INSERT INTO 专项审核权限表 (类型, 部门代号, 岗位代号) VALUES (?, ?, ?)", {{"Corvane", "001", "G001"}}},
        {"INSERT INTO 合同提醒设置 (类型, 部门代号, 岗位代号, 提前天数, 启用提醒) VALUES (?, ?, ?, ?, ?)",
         {{"普通合同", "003", "G005", 30, 1}}},
        {"INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {{"合同同步", "0"}}},
    };
    for (const Step& step : steps)
        for (const QVariantList& row : step.rows)
            if (!run(step.sql, row)) return false;
    if (!tx.commit()) {
        *error = tx.error();
        return false;
    }
    return true;
}

void printDemoLogins()
{
    out() << "Demo logins (employee number / password):\n"
          << "  1001 / 123  张伟  总经理办公室 总经理 (company-wide contract scope)\n"
          << "  1002 / 123  李娜  two posts: 财务部 财务经理, 第一管理处 合同管理员 (all menus)\n"
          << "  1003 / 123  王芳  财务部 会计 (her post 管理处主任 has ended)\n"
          << "  1004 / 123  刘洋  第一管理处 管理处主任\n"
          << "  1005 / 123  陈静  has left: refused\n";
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
            err() << "Cannot open " << s.database << ": " << dbErrorOf(db.lastError()).description << "\n";
            rc = 1;
        } else if (schema::schemaExists(db)) {
            out() << "The database " << s.database << " already has the Corvane tables; left as it is.\n";
        } else {
            DbError e;
            if (!schema::createSchema(db, &e) || (demo && !fillDemo(db, &e))) {
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
