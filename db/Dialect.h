#pragma once
// The SQL that differs between SQLite, PostgreSQL and SQL Server, in one place.

#include <QString>
#include <QStringList>

#include "db/Connection.h"

namespace corvane {

// The logical column types of our schema description.
enum class ColumnType {
    Text,      // text(n): short text of at most n characters
    LongText,  // ntext: text without a length limit
    Int,
    Identity,  // integer assigned by the database on insert; the table's primary key
    Flag,      // SMALLINT holding 0 or 1
    Money,     // DECIMAL(18,2)
    Price,     // DECIMAL(19,6)
    Rate,      // DECIMAL(9,4)
    Single,    // REAL: single precision (sizes and positions of layouts)
    Date,
    DateTime,
    Blob,
};

}  // namespace corvane

namespace corvane::dialect {

// "SELECT TOP n ..." or "SELECT ... LIMIT n": give the select without its
// leading "SELECT" keyword.
QString selectTop(Dialect d, int n, const QString& selectBody);
// The server's local date and time as an expression.
QString serverNow(Dialect d);
// The server's local date (no time) as an expression.
QString serverToday(Dialect d);
// INSERT that gives back the new identity of column `idColumn`:
// inserts into `table` (columns) VALUES (placeholders).
QString insertReturningId(Dialect d, const QString& table, const QStringList& columns, const QString& idColumn);
// The same as INSERT ... SELECT (placeholders) WHERE `condition`: a row is
// inserted only while the condition holds (its placeholders follow the
// columns'), and no identity comes back when none was.
QString insertSelectReturningId(Dialect d, const QString& table, const QStringList& columns, const QString& idColumn,
                                const QString& condition);
// Case-insensitive LIKE operator (ILIKE on PostgreSQL).
QString likeOperator(Dialect d);

// "`expression` holds `text` as typed, whatever the letter case": the
// condition with one placeholder, and the value to bind to it. The wildcard
// characters of the text are escaped, so "50%" finds "50%", not "50 and more".
struct LikeCondition {
    QString sql;
    QString value;
};
LikeCondition containsText(Dialect d, const QString& expression, const QString& text);
// The text with LIKE's wildcards (and the escape character '!') escaped.
QString escapeLike(const QString& text);
// String concatenation of two expressions.
QString concat(Dialect d, const QString& a, const QString& b);
// A savepoint inside the open transaction: set, rolled back to (the
// transaction goes on), and released (SQL Server keeps it until the end).
// `name` is a plain identifier chosen by the program.
QString setSavepoint(Dialect d, const QString& name);
QString rollbackToSavepoint(Dialect d, const QString& name);
QString releaseSavepoint(Dialect d, const QString& name);

// The statement that takes the numbering lock on one key (one placeholder),
// held until the transaction ends; on SQL Server it answers sp_getapplock's
// result, negative when the lock was not granted.
QString numberingLock(Dialect d);

// A date or date-time column read as text "yyyy-MM-dd HH:mm:ss" (SQLite
// keeps that text already). PostgreSQL's driver would otherwise turn every
// timestamp into a local QDateTime, a time-zone conversion per value that
// the stored wall-clock time never needed.
QString dateTimeText(Dialect d, const QString& column);

// The column type as the dialect's DDL spells it (`length` is used by Text only).
// An identity column's type already carries PRIMARY KEY.
QString ddlType(Dialect d, ColumnType type, int length = 0);

inline QString selectTop(int n, const QString& body) { return selectTop(DbDialect(), n, body); }
inline QString serverNow() { return serverNow(DbDialect()); }
inline QString serverToday() { return serverToday(DbDialect()); }
inline QString likeOperator() { return likeOperator(DbDialect()); }
inline QString insertSelectReturningId(const QString& table, const QStringList& columns, const QString& idColumn,
                                       const QString& condition)
{
    return insertSelectReturningId(DbDialect(), table, columns, idColumn, condition);
}
inline LikeCondition containsText(const QString& expression, const QString& text)
{
    return containsText(DbDialect(), expression, text);
}
inline QString concat(const QString& a, const QString& b) { return concat(DbDialect(), a, b); }
inline QString insertReturningId(const QString& table, const QStringList& columns, const QString& idColumn)
{
    return insertReturningId(DbDialect(), table, columns, idColumn);
}

}  // namespace corvane::dialect
