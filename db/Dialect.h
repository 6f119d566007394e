#pragma once
// The SQL that differs between SQLite, PostgreSQL and SQL Server, in one place.

#include <QString>

#include "db/Connection.h"

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
// Case-insensitive LIKE operator (ILIKE on PostgreSQL).
QString likeOperator(Dialect d);
// String concatenation of two expressions.
QString concat(Dialect d, const QString& a, const QString& b);

inline QString selectTop(int n, const QString& body) { return selectTop(DbDialect(), n, body); }
inline QString serverNow() { return serverNow(DbDialect()); }
inline QString serverToday() { return serverToday(DbDialect()); }
inline QString likeOperator() { return likeOperator(DbDialect()); }

}  // namespace corvane::dialect
