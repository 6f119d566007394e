#pragma once
// Bound statements over DbConnection. No value is ever pasted into SQL text:
// every value is a positional "?" parameter.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "db/Connection.h"

// The driver's own classes stay inside db/: what a store or window needs of
// them comes through the types below.
class QSqlQuery;
class QSqlRecord;

namespace corvane {

struct DbError {
    qint64 number = 0;  // the database's native error code, or 0
    QString description;
    // The driver lost the connection to the server (a login connection has
    // been opened again since).
    bool connectionLost = false;
    bool isValid() const { return !description.isEmpty() || number != 0; }
};

// One row of a result, by column name (case-insensitive) or position.
class Row {
public:
    Row() = default;
    explicit Row(const QSqlRecord& record);
    QVariant value(const QString& column) const;
    QVariant value(int index) const;
    // The column as text, "" for NULL.
    QString text(const QString& column) const;
    QString text(int index) const;
    bool isNull(const QString& column) const;
    bool isNull(int index) const;
    // A 0/1 flag column: set when it holds a number other than 0; NULL is not set.
    bool flag(const QString& column) const;
    bool flag(int index) const;
    int count() const;

private:
    // Rows are copied freely and never changed: one record shared.
    std::shared_ptr<const QSqlRecord> m_record;
};
using Rows = std::vector<Row>;

// A statement with its bound values. Failures are kept in error(); the
// report* helpers show them in the standard error box.
class Statement {
public:
    explicit Statement(const QString& sql, const QVariantList& values = {});
    // The same on another connection (see OpenNamedConnection).
    Statement(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});
    // A prepared statement that ran without error is kept for the next
    // Statement of the same text on the same connection (PostgreSQL).
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& bind(const QVariant& value);
    // Planned anew for its own values on every run: its prepared query is
    // not kept for the next Statement of its text. PostgreSQL gives a kept
    // statement one plan for any values after five runs, which for a long
    // read whose best plan depends on its values (a range of dates) can be
    // far slower. Costs a prepare a run; call it before exec().
    Statement& planEachRun();

    // Runs it forward-only, with the wait cursor showing. False on failure
    // (error() tells why): a text holding U+0000 is refused before anything
    // is sent; a lock or statement time-out asks the user to try again later;
    // a login connection found gone is reopened, not the statement re-run,
    // and the user is asked to repeat the action.
    bool exec();
    // Steps to the next row. False at the end, and when reading failed
    // (error() then tells why): check error() after the loop.
    bool next();
    // The current row as a whole (a copy of every column).
    Row row() const;
    // One column of the current row, without copying the row: the reader of
    // large results, which a loop over next() asks column by column.
    QVariant value(int index) const;
    int rowsAffected() const;
    // The identity of the row an INSERT ... RETURNING / OUTPUT INSERTED gave
    // back, as the driver gave it: null when no row was inserted.
    QVariant lastInsertId() const;
    const DbError& error() const { return m_error; }

private:
    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_values;
    std::unique_ptr<QSqlQuery> m_query;  // made by exec()
    DbError m_error;
    QVariant m_insertId;
    bool m_prepared = false;  // m_query was prepared, so it may be kept
    bool m_keep = true;       // a prepared query is taken from and given back to the kept ones
    bool prepare();
};

// What a helper gives back: its value, or the error that stopped it. Reads
// like std::optional, and carries its own error so no caller needs a global.
template <class T>
class DbResult {
public:
    DbResult(T value) : m_value(std::move(value)) {}
    DbResult(DbError error) : m_error(std::move(error)) {}

    bool has_value() const { return m_value.has_value(); }
    explicit operator bool() const { return has_value(); }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    T value_or(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    // Empty when the helper succeeded.
    const DbError& error() const { return m_error; }

    friend bool operator==(const DbResult& r, std::nullopt_t) { return !r.has_value(); }
    friend bool operator==(const DbResult& r, const T& value) { return r.has_value() && *r.m_value == value; }

private:
    std::optional<T> m_value;
    DbError m_error;
};

// Conveniences that show the standard error box on failure.
DbResult<Rows> selectRows(const QString& sql, const QVariantList& values = {});
// First row, or an empty Row when none.
DbResult<Row> selectFirst(const QString& sql, const QVariantList& values = {});
// Rows affected.
DbResult<int> execute(const QString& sql, const QVariantList& values = {});

// The same, without showing anything: the caller reports the result's error
// its own way.
DbResult<Rows> selectRowsQuiet(const QString& sql, const QVariantList& values = {});
DbResult<Row> selectFirstQuiet(const QString& sql, const QVariantList& values = {});
DbResult<int> executeQuiet(const QString& sql, const QVariantList& values = {});
// The same on another connection.
DbResult<Rows> selectRowsQuiet(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});
DbResult<int> executeQuiet(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});
// The first column of the first row; a null value when there is no row.
DbResult<QVariant> selectValueQuiet(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Column values of one row, each value named beside its column.
using ColumnValues = std::vector<std::pair<QString, QVariant>>;

// A statement's text with the values it binds, in order.
struct BoundSql {
    QString sql;
    QVariantList values;
};
// The INSERT of one row into `table`, its columns in the row's order; with
// an `idColumn` it gives back that column of the new row
// (dialect::insertReturningId).
BoundSql insertStatement(Dialect d, const QString& table, const ColumnValues& row, const QString& idColumn = {});
// Inserts the row on `db`: rows affected.
DbResult<int> insertQuiet(const QSqlDatabase& db, const QString& table, const ColumnValues& row);
// Inserts the row on `db` and gives back its new identity (`idColumn`),
// checked as checkedInsertId does.
DbResult<qint64> insertReturningIdQuiet(const QSqlDatabase& db, const QString& table, const ColumnValues& row,
                                        const QString& idColumn);
// The identity an INSERT that ran gave back (Statement::lastInsertId), as
// the key later statements write under: an error when none came back, or
// when it is not a whole number above 0. `table` names the table in the error.
DbResult<qint64> checkedInsertId(const Statement& insert, const QString& table);

// The standard error box for a database error.
void reportDbError(const DbError& error);

// A date as the database keeps it (SQLite: text "YYYY-MM-DD"), and a
// date-time ("YYYY-MM-DD HH:MM:SS"). Null dates bind as NULL. Statement also
// converts QDate and QDateTime values this way when it binds them.
QVariant dateValue(const QDate& date);
QVariant dateTimeValue(const QDateTime& dateTime);
QVariant dateValue(Dialect d, const QDate& date);
QVariant dateTimeValue(Dialect d, const QDateTime& dateTime);
// Reads a date or date-time column whatever the driver returned (text or date).
QDate toDate(const QVariant& value);
QDateTime toDateTime(const QVariant& value);

// NULL for a text column, typed as a text so that every driver binds it as one.
QVariant nullText();
// A box's text where the column's readers expect NULL for an empty box.
QVariant textOrNull(const QString& text);

// "?, ?, ?" for an IN list of n values.
QString placeholders(int n);

// A write of a row loaded earlier holds the row to what was loaded: appends
// " AND column = ?" (binding `loaded`) to `sql`, or " AND column IS NULL" for
// a null value. An empty text matches NULL as well, as both showed as an
// empty box.
void appendAsLoaded(QString& sql, QVariantList& values, const QString& column, const QVariant& loaded);

// One business action: rolls back unless committed. For numbering, begin it
// with Transaction::Write so the write lock is held from the start (SQLite
// BEGIN IMMEDIATE), then take NumberingLock for the key.
class Transaction {
public:
    enum Mode { Normal, Write };
    explicit Transaction(Mode mode = Normal);
    // The same on another connection.
    explicit Transaction(const QSqlDatabase& db, Mode mode = Normal);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    void rollback();
    const DbError& error() const { return m_error; }

private:
    QSqlDatabase m_db;
    bool m_active = false;
    int m_openCount = 0;
    DbError m_error;
};

// Serialises number allocation for `key` across workstations until the
// enclosing transaction ends (PostgreSQL advisory lock, SQL Server applock;
// on SQLite the Write transaction already holds the database's write lock).
bool takeNumberingLock(const QSqlDatabase& db, const QString& key, DbError* error = nullptr);

// Drops the statements kept prepared on this connection. The connection
// layer calls it before it closes or reopens a connection.
void forgetPreparedStatements(const QSqlDatabase& db);

// Tests make a statement fail as the driver would: a hook that returns a
// fault for a statement's text fails that statement before it is sent.
struct DriverFault {
    QString text;        // the engine's words
    QString nativeCode;  // the engine's error code, "" for none
    // The driver filed it under the connection (a link that is gone).
    bool connectionError = false;
};
using StatementFaultHook = std::function<std::optional<DriverFault>(const QString& sql)>;
void setStatementFaultHook(StatementFaultHook hook);

// What the connection last reported (why an open failed), as the standard
// error box shows it.
DbError lastErrorOf(const QSqlDatabase& db);

}  // namespace corvane
