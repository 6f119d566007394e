#pragma once
// The one database connection of the program and the settings that locate it.

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace corvane {

enum class Dialect { SQLite, PostgreSQL, SqlServer };
struct DbError;  // db/Sql.h

// What the per-user settings (section DBConfig of the product family's
// application key) say about the database.
struct DbSettings {
    QString driver;      // "QSQLITE", "QPSQL", or "QODBC" (also when the key is missing)
    QString server;      // Svr: SQL Server instance, or PostgreSQL host[:port]
    QString login;       // UID
    QString password;    // PWD
    QString database;    // DBname: catalogue, or the SQLite file
    QString edition;     // Edition, "2000" when missing
    QString odbcDriver;  // OdbcDriver: "FreeTDS" on Linux, "SQL Server" on Windows when missing
    QString company;     // Company: the installation's company name
};

// The application key and section the settings live under.
inline const QString kSettingsApp = QStringLiteral("Brindlemoor2011");
inline const QString kSettingsSection = QStringLiteral("DBConfig");

DbSettings ReadDbSettings();

// The connection string (without login and password, which go to the driver
// as its user and password): kept for the whole run, never changed after OpenConnection.
extern QString DbConnectString;
// The Edition setting as read at login.
extern QString DbEdition;

// The one connection. Before any OpenConnection it is an unopened connection.
QSqlDatabase DbConnection();
Dialect DbDialect();

// Replaces the connection by a new one for these values and opens it (connect
// time-out 30 s). Driver, ODBC driver name and port come from `settings`.
bool OpenConnection(const DbSettings& settings);
// A new connection built from the kept string (with the same command
// time-out); a failure shows its description and leaves the connection unopened.
void ReOpenConnection();
// Close and open the same connection again from the kept string. The error
// that kept it closed, or an empty one when it is open again.
DbError ReopenInPlace();
// Closes and forgets the connection (tests, end of program).
void CloseConnection();

// The dialect a connection speaks, by its driver.
Dialect dialectOf(const QSqlDatabase& db);

// How long a statement may wait (for another workstation's lock, or for its
// own work) before the engine gives up: 30 s. A connection takes the length
// in force when it opens.
constexpr int kCommandTimeoutMs = 30000;
int CommandTimeoutMs();
// Tests shorten the wait; the next open uses it.
void SetCommandTimeoutMs(int milliseconds);

// The driver's connect options: the connect time-out, and the command
// time-out where the driver takes it at connect (SQLite's busy time-out,
// PostgreSQL's statement_timeout and lock_timeout).
QString ConnectOptions(const DbSettings& settings, int commandTimeoutMs);
// What a connection runs as soon as it is open: the time-outs that Qt's ODBC
// driver cannot set as an option (SQL Server's lock time-out, PostgreSQL's
// statement and lock time-outs when it is reached through ODBC); SQLite's
// page cache size.
QStringList SessionStatements(Dialect d, const QString& driverName, int commandTimeoutMs);

// True for the one login connection (DbConnection), the only one the
// database layer reopens by itself.
bool IsLoginConnection(const QSqlDatabase& db);
// How many times this connection has been opened: a transaction begun
// before a reopen ended with the old session and cannot commit after it.
int OpenCount(const QSqlDatabase& db);

// The connection string OpenConnection keeps for these settings: the SQLite
// file, the PostgreSQL host, port and database, or the ODBC string for SQL
// Server. Never holds the login or the password.
QString BuildConnectString(const DbSettings& settings);

// A further connection to the database of `settings` under its own name, made
// and opened in the calling thread (work on another thread, tests of
// concurrency). Unopened when it cannot be opened; the caller ends it with
// QSqlDatabase::removeDatabase(connectionName).
QSqlDatabase OpenNamedConnection(const DbSettings& settings, const QString& connectionName);

// The server's current date (time of day dropped). After an error the
// standard error box has been shown and there is no date: callers abandon.
std::optional<QDate> GetServerDate();

}  // namespace corvane
