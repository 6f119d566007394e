#pragma once
// Making and removing whole databases, for corvane-db and the tests. The
// program itself never does either.

#include <QDate>
#include <QString>

#include "db/Connection.h"
#include "db/Sql.h"

namespace corvane::provision {

// Creates the database the settings name when it does not exist yet: the
// SQLite file, or the PostgreSQL database (through the server's "postgres"
// database). True when it exists afterwards; `created` tells whether it was made now.
bool createDatabase(const DbSettings& settings, bool* created, QString* error);
// Removes the database: the SQLite file, or the PostgreSQL database.
bool dropDatabase(const DbSettings& settings, QString* error);
// A PostgreSQL database name we are willing to put into DDL (names cannot be
// bound): letters, digits and underscores, not starting with a digit.
bool isPlainIdentifier(const QString& name);

// Fills a database that has the schema and nothing else with the demonstration
// organisation (departments, posts, staff, menu rights, contract types and
// suppliers) and a handful of contracts in every state, dated around `today`
// so that the contract list has something to show on the day it is made.
// The README's table of demo logins says what each login reaches.
bool fillDemo(const QSqlDatabase& db, const QDate& today, DbError* error);

}  // namespace corvane::provision
