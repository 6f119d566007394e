#include "testsupport/TestDatabase.h"

#include <QSqlQuery>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <atomic>

#include "db/DriverError.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane::test {

bool testingOnPostgres() { return !qEnvironmentVariableIsEmpty("CORVANE_TEST_PG"); }

std::optional<QString> storedText(const QString& sql, const QVariantList& values)
{
    const auto rows = selectRowsQuiet(sql, values);
    if (!rows || rows->empty()) {
        ADD_FAILURE() << "no row: " << sql.toStdString() << " " << rows.error().description.toStdString();
        return std::nullopt;
    }
    const Row& r = rows->front();
    if (r.value(0).isNull()) return std::nullopt;
    return r.text(0);
}

bool testingOverOdbc() { return testingOnPostgres() && !qEnvironmentVariableIsEmpty("CORVANE_TEST_ODBC"); }

DbSettings serverSettings(const DbSettings& settings)
{
    if (settings.driver != QLatin1String("QODBC")) return settings;
    DbSettings s = settings;
    s.driver = QStringLiteral("QPSQL");
    s.odbcDriver.clear();
    return s;
}

ExtraConnection::ExtraConnection(const DbSettings& settings, const QString& name) : m_name(name)
{
    OpenNamedConnection(settings, name);
}

ExtraConnection::~ExtraConnection()
{
    forgetPreparedStatements(db());
    db().close();
    QSqlDatabase::removeDatabase(m_name);
}

std::unique_ptr<ExtraConnection> DbTest::openSecondConnection(const QString& name) const
{
    return std::make_unique<ExtraConnection>(m_settings, name);
}

namespace {

DbSettings freshSettings(QTemporaryDir& dir)
{
    DbSettings s;
    s.company = QStringLiteral("测试物业");
    s.edition = QStringLiteral("2000");
    if (!testingOnPostgres()) {
        s.driver = QStringLiteral("QSQLITE");
        s.database = dir.filePath(QStringLiteral("corvane.db"));
        return s;
    }
    static std::atomic<int> counter{0};
    s.driver = QStringLiteral("QPSQL");
    s.server = qEnvironmentVariable("CORVANE_TEST_PG");
    s.login = QStringLiteral("corvane");
    s.database = QStringLiteral("corvane_t%1_%2_%3")
                     .arg(QCoreApplication::applicationPid())
                     .arg(++counter)
                     .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
    if (testingOverOdbc()) {
        // The customer's road: Qt's ODBC driver, here with PostgreSQL's ODBC driver.
        s.driver = QStringLiteral("QODBC");
        s.odbcDriver = qEnvironmentVariable("CORVANE_TEST_ODBC");
    }
    return s;
}

void putSettings(const DbSettings& s)
{
    auto& values = doubles().settings->values;
    auto put = [&](const char* key, const QString& value) {
        values[kSettingsApp + QLatin1Char('/') + kSettingsSection + QLatin1Char('/') + QString::fromLatin1(key)] = value;
    };
    put("Driver", s.driver);
    put("Svr", s.server);
    put("UID", s.login);
    put("PWD", s.password);
    put("DBname", s.database);
    put("OdbcDriver", s.odbcDriver);
    put("Company", s.company);
}

// Making the tables statement by statement takes most of a test's set-up, so
// each engine's schema is made once, kept as a template and copied for every
// test: the SQLite file copied, the PostgreSQL database created from a
// template database. The templates are named by a digest of the statements,
// so a changed schema makes a new one. Every copy holds committed tables, as
// a database made afresh does, so tests on several connections see them too.

QString schemaKey(const QString& driver)
{
    const Dialect d = driver == QLatin1String("QPSQL") ? Dialect::PostgreSQL : Dialect::SQLite;
    const QByteArray statements = schema::createStatements(d).join(QLatin1Char('\n')).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(statements, QCryptographicHash::Sha1).toHex().left(12));
}

bool fillSchema(const DbSettings& s, QString* problem)
{
    ExtraConnection maker(s, QStringLiteral("corvane-test-schema"));
    if (!maker.db().isOpen()) {
        *problem = lastErrorOf(maker.db()).description;
        return false;
    }
    DbError e;
    if (!schema::createSchema(maker.db(), &e)) {
        *problem = e.description;
        return false;
    }
    return true;
}

// The database made and filled statement by statement.
bool buildDatabase(const DbSettings& s, QString* problem)
{
    return provision::createDatabase(s, nullptr, problem) && fillSchema(s, problem);
}

QString partName() { return QUuid::createUuid().toString(QUuid::Id128).left(8); }

// Beside the test programs, so that a clean build starts without one. Tests
// that start together may each build it; the first to rename it into place
// wins, and no test copies a half-made file.
bool copySqliteTemplate(const DbSettings& s, QString* problem)
{
    const QString path = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("corvane-test-schema-%1.db").arg(schemaKey(s.driver)));
    if (!QFileInfo(path).isFile()) {
        DbSettings part = s;
        part.database = path + QLatin1Char('.') + partName();
        if (!buildDatabase(part, problem)) {
            QFile::remove(part.database);
            return false;
        }
        if (!QFile::rename(part.database, path)) QFile::remove(part.database);
    }
    if (!QFile::copy(path, s.database)) {
        *problem = QStringLiteral("无法复制 ") + path;
        return false;
    }
    return true;
}

// Runs `sql` on the server's maintenance database; `found` tells whether it gave a row.
bool onServer(const DbSettings& s, const QString& sql, const QVariantList& values, QString* problem,
              bool* found = nullptr)
{
    DbSettings admin = s;
    admin.database = QStringLiteral("postgres");
    ExtraConnection server(admin, QStringLiteral("corvane-test-server-") + partName());
    QSqlQuery q(server.db());
    // Not prepared without values: the server takes CREATE DATABASE only as a simple statement.
    bool ok = false;
    if (values.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        ok = ok && q.exec();
    }
    if (!ok) {
        *problem = dbErrorOf(q.lastError()).description;
        return false;
    }
    if (found) *found = q.next();
    return true;
}

// A template database on the server, built once under a passing name and
// renamed when complete (a template may have no connection while copied).
bool copyPostgresTemplate(const DbSettings& s, QString* problem)
{
    const QString name = QStringLiteral("corvane_schema_") + schemaKey(s.driver);
    bool exists = false;
    if (!onServer(s, QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {name}, problem, &exists))
        return false;
    if (!exists) {
        DbSettings part = s;
        part.database = name + QStringLiteral("_part_") + partName();
        if (!buildDatabase(part, problem)) return false;
        QString lost;
        // Database names are plain identifiers made here: DDL cannot bind them.
        if (!onServer(s, QStringLiteral("ALTER DATABASE \"%1\" RENAME TO \"%2\"").arg(part.database, name), {}, &lost))
            provision::dropDatabase(part, &lost);  // another test renamed its own first
    }
    return onServer(s, QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE \"%2\"").arg(s.database, name), {}, problem);
}

// A new database with the schema for the settings' engine.
bool freshDatabase(const DbSettings& s, QString* problem)
{
    if (s.driver == QLatin1String("QSQLITE")) return copySqliteTemplate(s, problem);
    if (s.driver == QLatin1String("QPSQL")) return copyPostgresTemplate(s, problem);
    // Over ODBC the server is PostgreSQL: the copy is made through its own driver.
    if (s.driver == QLatin1String("QODBC")) return copyPostgresTemplate(serverSettings(s), problem);
    return buildDatabase(s, problem);
}

}  // namespace

void DbTest::SetUp()
{
    resetServices();
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    m_settings = freshSettings(*m_dir);

    QString problem;
    ASSERT_TRUE(freshDatabase(m_settings, &problem)) << problem.toStdString();
    putSettings(m_settings);
    ASSERT_TRUE(OpenConnection(ReadDbSettings()));
}

void DbTest::TearDown()
{
    CloseConnection();
    if (testingOnPostgres()) {
        QString problem;
        EXPECT_TRUE(provision::dropDatabase(serverSettings(m_settings), &problem)) << problem.toStdString();
    }
    m_dir.reset();
}

void DbTest::exec(const QString& sql, const QVariantList& values)
{
    Statement st(sql, values);
    EXPECT_TRUE(st.exec()) << sql.toStdString() << ": " << st.error().description.toStdString();
}

qint64 DbTest::addContractRow(ColumnValues columns, const std::map<QString, QVariant>& more)
{
    for (const auto& [name, value] : more) {
        auto at = std::find_if(columns.begin(), columns.end(), [&](const auto& c) { return c.first == name; });
        if (at != columns.end()) at->second = value;
        else columns.emplace_back(name, value);
    }
    QStringList names;
    QVariantList values;
    for (const auto& [name, value] : columns) {
        names << name;
        values << value;
    }
    exec(QStringLiteral("INSERT INTO 合同信息 (") + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
             placeholders(int(names.size())) + QLatin1Char(')'),
         values);
    const auto id = selectFirst(QStringLiteral("SELECT MAX(id) FROM 合同信息"));
    return id ? id->value(0).toLongLong() : 0;
}

void DbTest::failEvery(const QString& event, const QString& table)
{
    if (testingOnPostgres()) {
        exec(QStringLiteral("CREATE OR REPLACE FUNCTION injected_failure() RETURNS trigger AS $$ "
                            "BEGIN RAISE EXCEPTION 'injected failure'; END $$ LANGUAGE plpgsql"));
        exec(QStringLiteral("CREATE TRIGGER injected BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION injected_failure()")
                 .arg(event, table));
    } else {
        exec(QStringLiteral("CREATE TRIGGER injected BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                 .arg(event, table));
    }
}

void DbTest::addDepartment(const QString& code, const QString& name, const QString& categoryCode,
                           const QString& superior)
{
    exec(QStringLiteral("INSERT INTO 职能部门类别 (部门类别代号, 部门类别名称) SELECT ?, ? WHERE NOT EXISTS "
                        "(SELECT 1 FROM 职能部门类别 WHERE 部门类别代号 = ?)"),
         {categoryCode, QStringLiteral("类别") + categoryCode, categoryCode});
    exec(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称, 职能部门类别代号) VALUES (?, ?, ?)"),
         {code, name, categoryCode});
    if (!superior.isEmpty())
        exec(QStringLiteral("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES (?, ?, ?)"),
             {code, superior, QDate(2000, 1, 1)});
}

void DbTest::addPost(const QString& code, const QString& name, const QString& dept, const QString& postCategory,
                     bool head)
{
    exec(QStringLiteral("INSERT INTO 岗位类别 (岗位类别编号, 岗位类别名称) SELECT ?, ? WHERE NOT EXISTS "
                        "(SELECT 1 FROM 岗位类别 WHERE 岗位类别编号 = ?)"),
         {postCategory, QStringLiteral("岗位类别") + postCategory, postCategory});
    exec(QStringLiteral("INSERT INTO 岗位信息new (岗位代号, 岗位名称, 职能部门代号, 岗位类别代号, 部门主管) "
                        "VALUES (?, ?, ?, ?, ?)"),
         {code, name, dept, postCategory, head ? 1 : 0});
}

void DbTest::addStaff(const QString& 工号, const QString& 姓名, const QString& password, bool left)
{
    exec(QStringLiteral("INSERT INTO 员工档案 (工号, 姓名, 帐号密码, 离职日期) VALUES (?, ?, ?, ?)"),
         {工号, 姓名, password, left ? QVariant(QDate(2020, 1, 31)) : QVariant()});
}

void DbTest::assignPost(const QString& 工号, const QString& post, bool main, bool ended)
{
    exec(QStringLiteral("INSERT INTO 岗位员工new (员工代号, 岗位代号, 主要岗位, 离岗日期) VALUES (?, ?, ?, ?)"),
         {工号, post, main ? 1 : 0, ended ? QVariant(QDate(2020, 1, 31)) : QVariant()});
    exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = ? WHERE 岗位代号 = ? AND 工号 IS NULL"), {工号, post});
}

void DbTest::addMenuGrant(const QString& post, const QString& group, const QString& formName, bool popedom)
{
    exec(QStringLiteral("INSERT INTO 岗位权限设置 (组代号, 岗位代号, 授权) SELECT ?, ?, 1 WHERE NOT EXISTS "
                        "(SELECT 1 FROM 岗位权限设置 WHERE 组代号 = ? AND 岗位代号 = ?)"),
         {group, post, group, post});
    exec(QStringLiteral("INSERT INTO GroupPrivilege (GroupID, FormName, Popedom) VALUES (?, ?, ?)"),
         {group, formName, popedom ? 1 : 0});
}

}  // namespace corvane::test
