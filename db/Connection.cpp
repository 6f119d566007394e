#include "db/Connection.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include "db/Dialect.h"
#include "db/DriverError.h"
#include "db/Sql.h"
#include "platform/Services.h"

namespace corvane {

QString DbConnectString;
QString DbEdition;

namespace {

const QString kConnectionName = QStringLiteral("corvane");
const int kConnectTimeoutSeconds = 30;
const char* const kOpenCountProperty = "corvaneOpenCount";

int g_commandTimeoutMs = kCommandTimeoutMs;

// The settings the one connection was made from: ReOpenConnection and
// ReopenInPlace need the driver and the credentials again, which the kept
// string deliberately does not carry.
DbSettings g_settings;

QString defaultOdbcDriver()
{
#ifdef Q_OS_WIN
    return QStringLiteral("SQL Server");
#else
    return QStringLiteral("FreeTDS");
#endif
}

// An ODBC attribute value: braced when it could end the attribute early.
QString odbcValue(const QString& value)
{
    static const QString special = QStringLiteral(";{}=");
    bool needsBraces = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    for (QChar c : value)
        if (special.contains(c)) needsBraces = true;
    if (!needsBraces) return value;
    QString v = value;
    v.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

struct HostPort {
    QString host;
    int port = -1;
};

HostPort splitHostPort(const QString& server)
{
    const int colon = server.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        bool ok = false;
        const int port = server.mid(colon + 1).toInt(&ok);
        if (ok) return {server.left(colon), port};
    }
    return {server, -1};
}

QString driverOf(const DbSettings& s)
{
    return s.driver.isEmpty() ? QStringLiteral("QODBC") : s.driver;
}

// Adds (does not open) a connection configured for the settings.
QSqlDatabase makeConnection(const DbSettings& s, const QString& name)
{
    const QString driver = driverOf(s);
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
    if (driver == QLatin1String("QSQLITE")) {
        db.setDatabaseName(s.database);
    } else if (driver == QLatin1String("QPSQL")) {
        const HostPort hp = splitHostPort(s.server);
        db.setHostName(hp.host);
        if (hp.port > 0) db.setPort(hp.port);
        db.setDatabaseName(s.database);
    } else {
        db.setDatabaseName(BuildConnectString(s));
    }
    db.setUserName(s.login);
    db.setPassword(s.password);
    // Amounts come back as exact decimal text rather than binary doubles.
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    return db;
}

bool openConnection(QSqlDatabase& db, const DbSettings& s, DbError* error = nullptr)
{
    // SQLite would create an empty database for a name that does not exist:
    // a wrong setting must fail like an unreachable server instead.
    if (driverOf(s) == QLatin1String("QSQLITE") && (s.database.isEmpty() || !QFileInfo(s.database).isFile()))
        return false;
    // Set at every open, so a reopen takes the time-out in force now.
    const int timeoutMs = g_commandTimeoutMs;
    db.setConnectOptions(ConnectOptions(s, timeoutMs));
    if (!db.open()) {
        if (error) *error = dbErrorOf(db.lastError());
        return false;
    }
    for (const QString& sql : SessionStatements(dialectOf(db), db.driverName(), timeoutMs)) {
        QSqlQuery q(db);
        if (!q.exec(sql)) {
            if (error) *error = dbErrorOf(q.lastError());
            // A session without its time-out would wait for ever: not opened.
            db.close();
            return false;
        }
    }
    db.driver()->setProperty(kOpenCountProperty, OpenCount(db) + 1);
    return true;
}

void dropConnection()
{
    if (!QSqlDatabase::contains(kConnectionName)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(kConnectionName, false);
        forgetPreparedStatements(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnectionName);
}

}  // namespace

DbSettings ReadDbSettings()
{
    auto get = [](const char* key, const QString& def = QString()) {
        return GetSetting(kSettingsApp, kSettingsSection, QString::fromLatin1(key), def);
    };
    DbSettings s;
    s.driver = get("Driver");
    if (s.driver.isEmpty()) s.driver = QStringLiteral("QODBC");
    s.server = get("Svr");
    s.login = get("UID");
    s.password = get("PWD");
    s.database = get("DBname");
    s.edition = get("Edition", QStringLiteral("2000"));
    s.odbcDriver = get("OdbcDriver", defaultOdbcDriver());
    s.company = get("Company");
    return s;
}

Dialect dialectOf(const QSqlDatabase& db)
{
    // The server behind the connection decides, not the driver's name: an ODBC
    // connection may reach PostgreSQL as well as SQL Server. The driver knows
    // the server once it is open; before that its name is the best guess.
    if (const QSqlDriver* driver = db.driver(); driver && db.isOpen()) {
        switch (driver->dbmsType()) {
        case QSqlDriver::SQLite: return Dialect::SQLite;
        case QSqlDriver::PostgreSQL: return Dialect::PostgreSQL;
        case QSqlDriver::MSSqlServer: return Dialect::SqlServer;
        default: break;
        }
    }
    const QString driver = db.driverName();
    if (driver == QLatin1String("QSQLITE")) return Dialect::SQLite;
    if (driver == QLatin1String("QPSQL")) return Dialect::PostgreSQL;
    return Dialect::SqlServer;
}

int CommandTimeoutMs() { return g_commandTimeoutMs; }

void SetCommandTimeoutMs(int milliseconds) { g_commandTimeoutMs = milliseconds; }

QString ConnectOptions(const DbSettings& s, int commandTimeoutMs)
{
    const QString driver = driverOf(s);
    if (driver == QLatin1String("QSQLITE"))
        // Another workstation holding the write lock makes us wait this long, then fail.
        return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(commandTimeoutMs);
    if (driver == QLatin1String("QPSQL"))
        // lock_timeout as well: a wait for a lock then ends with its own code
        // even when statement_timeout is lifted for a session. No JIT: the
        // server spent longer compiling the year statistics than it saved.
        return QStringLiteral("connect_timeout=%1;options='-c statement_timeout=%2 -c lock_timeout=%2 -c jit=off'")
            .arg(kConnectTimeoutSeconds)
            .arg(commandTimeoutMs);
    // Qt's ODBC driver offers no query time-out option: SessionStatements
    // gives SQL Server its lock time-out instead.
    return QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kConnectTimeoutSeconds);
}

QStringList SessionStatements(Dialect d, const QString& driverName, int commandTimeoutMs)
{
    if (d == Dialect::SqlServer) return {QStringLiteral("SET LOCK_TIMEOUT %1").arg(commandTimeoutMs)};
    // PostgreSQL reached through ODBC: the options QPSQL hands over at connect.
    if (d == Dialect::PostgreSQL && driverName == QLatin1String("QODBC"))
        return {QStringLiteral("SET statement_timeout = %1").arg(commandTimeoutMs),
                QStringLiteral("SET lock_timeout = %1").arg(commandTimeoutMs), QStringLiteral("SET jit = off")};
    // The statistics read a company's instalments page by page: a page cache
    // of 64 MB (the default holds 2 MB) keeps them in this connection. It is
    // the connection's own setting; the file and other clients are untouched.
    if (d == Dialect::SQLite) return {QStringLiteral("PRAGMA cache_size = -65536")};
    return {};
}

bool IsLoginConnection(const QSqlDatabase& db) { return db.isValid() && db.connectionName() == kConnectionName; }

int OpenCount(const QSqlDatabase& db)
{
    const QSqlDriver* driver = db.driver();
    return driver ? driver->property(kOpenCountProperty).toInt() : 0;
}

QString BuildConnectString(const DbSettings& s)
{
    const QString driver = driverOf(s);
    if (driver == QLatin1String("QSQLITE")) return s.database;
    if (driver == QLatin1String("QPSQL")) {
        const HostPort hp = splitHostPort(s.server);
        QString text = QStringLiteral("host=") + hp.host;
        if (hp.port > 0) text += QStringLiteral(" port=") + QString::number(hp.port);
        return text + QStringLiteral(" dbname=") + s.database;
    }
    const QString odbcDriver = s.odbcDriver.isEmpty() ? defaultOdbcDriver() : s.odbcDriver;
    QString braced = odbcDriver;
    braced.replace(QLatin1Char('}'), QStringLiteral("}}"));
    // "host:port" names the port apart, as FreeTDS and PostgreSQL's driver take it.
    const HostPort hp = splitHostPort(s.server);
    QString text = QStringLiteral("DRIVER={") + braced + QStringLiteral("};SERVER=") + odbcValue(hp.host);
    if (hp.port > 0) text += QStringLiteral(";PORT=") + QString::number(hp.port);
    return text + QStringLiteral(";DATABASE=") + odbcValue(s.database);
}

QSqlDatabase OpenNamedConnection(const DbSettings& settings, const QString& connectionName)
{
    QSqlDatabase db = makeConnection(settings, connectionName);
    openConnection(db, settings);
    return db;
}

QSqlDatabase DbConnection()
{
    // Before any login this is an unopened connection: statements on it fail.
    return QSqlDatabase::database(kConnectionName, false);
}

Dialect DbDialect() { return dialectOf(DbConnection()); }

bool OpenConnection(const DbSettings& settings)
{
    DbConnectString = BuildConnectString(settings);
    DbEdition = settings.edition;
    g_settings = settings;
    dropConnection();
    QSqlDatabase db = makeConnection(settings, kConnectionName);
    return openConnection(db, settings);
}

void ReOpenConnection()
{
    // The kept string and the settings it came from reach the same database.
    dropConnection();
    QSqlDatabase db = makeConnection(g_settings, kConnectionName);
    if (openConnection(db, g_settings)) return;
    QString description = db.lastError().databaseText();
    if (description.isEmpty()) description = db.lastError().driverText();
    if (description.isEmpty()) description = QStringLiteral("无法打开数据库连接");
    MsgBox(description);
}

DbError ReopenInPlace()
{
    const DbError cannot{0, QStringLiteral("无法重新连接数据库")};
    QSqlDatabase db = DbConnection();
    if (!db.isValid()) return cannot;
    forgetPreparedStatements(db);
    db.close();
    DbError error;
    if (openConnection(db, g_settings, &error)) return {};
    return error.isValid() ? error : cannot;
}

void CloseConnection()
{
    dropConnection();
    g_settings = DbSettings();
}

std::optional<QDate> GetServerDate()
{
    Statement st(QStringLiteral("SELECT ") + dialect::serverToday() + QStringLiteral(" AS 系统时间"));
    if (!st.exec()) {
        ShowStandardError(st.error().number, st.error().description);
        return std::nullopt;
    }
    // No row, or nothing that reads as a date: there is no date to carry.
    const QDate today = st.next() ? toDate(st.row().value(0)) : QDate();
    if (!today.isValid()) return std::nullopt;
    return today;
}

}  // namespace corvane
