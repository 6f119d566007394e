#pragma once
// What the benchmarks share: giving up with a message, and an empty SQLite
// database of our schema in a temporary folder, open as the login connection.

#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "db/Connection.h"
#include "db/Provision.h"
#include "db/Schema.h"

namespace corvane::bench {

[[noreturn]] inline void fail(const QString& what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

class EmptyDatabase {
public:
    EmptyDatabase()
    {
        if (!m_dir.isValid()) fail(QStringLiteral("no temporary folder"));
        DbSettings s;
        s.driver = QStringLiteral("QSQLITE");
        s.database = m_dir.filePath(QStringLiteral("bench.db"));
        QString problem;
        if (!provision::createDatabase(s, nullptr, &problem)) fail(problem);
        if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
        DbError e;
        if (!schema::createSchema(DbConnection(), &e)) fail(e.description);
    }

private:
    QTemporaryDir m_dir;
};

}  // namespace corvane::bench
