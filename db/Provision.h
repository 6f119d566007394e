#pragma once
// Making and removing whole databases, for corvane-db and the tests. The
// program itself never does either.

#include <QString>

#include "db/Connection.h"

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

}  // namespace corvane::provision
