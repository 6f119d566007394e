#pragma once
// What the benchmarks share: giving up with a message, an empty database of
// our schema open as the login connection, and the benchmark program's main.

#include <QString>
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

#include "db/Connection.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "testsupport/TestEnvironment.h"

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

// A fresh database of our schema named `name`, open as the login connection:
// on the PostgreSQL server CORVANE_TEST_PG names (dropped first, so every run
// starts empty), otherwise a SQLite file in `dir`.
inline void openFreshDatabase(const QString& name, const QTemporaryDir& dir)
{
    DbSettings s;
    if (!qEnvironmentVariableIsEmpty("CORVANE_TEST_PG")) {
        s.driver = QStringLiteral("QPSQL");
        s.server = qEnvironmentVariable("CORVANE_TEST_PG");
        s.login = QStringLiteral("corvane");
        s.database = QStringLiteral("corvane_bench_") + name;
    } else {
        if (!dir.isValid()) fail(QStringLiteral("no temporary folder"));
        s.driver = QStringLiteral("QSQLITE");
        s.database = dir.filePath(name + QStringLiteral(".db"));
    }
    QString problem;
    provision::dropDatabase(s, &problem);
    if (!provision::createDatabase(s, nullptr, &problem)) fail(problem);
    if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
    DbError e;
    if (!schema::createSchema(DbConnection(), &e)) fail(e.description);
}

// The main of a benchmark program that needs nothing before or after its runs.
inline int runBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::installTestEnvironment();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace corvane::bench
