#pragma once
// What the benchmarks share: giving up with a message, an empty database of
// our schema open as the login connection, the benchmark program's main, and
// the one line per case that scripts/bench gathers into its table of results.

#include <sys/resource.h>

#include <QString>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "db/Connection.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::bench {

[[noreturn]] inline void fail(const QString& what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

// A fresh database of our schema named `name`, open as the login connection:
// on the PostgreSQL server CORVANE_TEST_PG names (dropped first, so every run
// starts empty), otherwise a SQLite file in `dir`. Its settings.
inline DbSettings openFreshDatabase(const QString& name, const QTemporaryDir& dir)
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
    return s;
}

// An empty database of our schema for the program's lifetime, on the engine
// openFreshDatabase chooses.
class EmptyDatabase {
public:
    explicit EmptyDatabase(const QString& name = QStringLiteral("empty")) { openFreshDatabase(name, m_dir); }

private:
    QTemporaryDir m_dir;
};

inline bool onPostgres() { return !qEnvironmentVariableIsEmpty("CORVANE_TEST_PG"); }

// A statement that must succeed, on the login connection.
inline void runSql(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

// Rows made by the database itself, for INSERT ... SELECT: "n" runs from 1
// to count.
inline QString series(int count)
{
    if (onPostgres()) return QStringLiteral("(SELECT generate_series(1, %1) AS n) s").arg(count);
    return QStringLiteral("(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) SELECT n FROM s) s")
        .arg(count);
}

// A statement run bare: read forward-only, each of its `columns` columns
// touched; the rows it gave. `planEachRun` as the program runs it (see
// Statement::planEachRun).
inline qint64 readBare(const QString& sql, const QVariantList& values, int columns, bool planEachRun = false)
{
    Statement st(sql, values);
    if (planEachRun) st.planEachRun();
    if (!st.exec()) fail(st.error().description);
    qint64 rows = 0;
    while (st.next()) {
        for (int c = 0; c < columns; ++c) benchmark::DoNotOptimize(st.value(c));
        ++rows;
    }
    if (st.error().isValid()) fail(st.error().description);
    return rows;
}

// Runs this program again with `args` (a measuring process of its own) and
// reads the numbers it prints on its standard output.
inline QList<double> numbersOf(const QString& self, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(self, args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0) fail(QStringLiteral("%1 failed").arg(args.join(' ')));
    QList<double> out;
    for (const QString& w : QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out << w.trimmed().toDouble();
    return out;
}

// The largest resident size of this process so far.
inline double peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class F>
double millisecondsOf(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

struct Medians {
    double ms = 0;
    double rawMs = -1;  // negative: the case has no raw
};

// The bare statement and the program's work in turn, so both meet the same
// state of a shared machine; the medians of each. `setup` runs untimed
// before each of them (e.g. emptying the table both fill).
template <class Raw, class Run, class Setup = void (*)()>
Medians alternate(int rounds, Raw&& raw, Run&& run, Setup&& setup = [] {})
{
    std::vector<double> raws, runs;
    for (int i = 0; i < rounds; ++i) {
        setup();
        raws.push_back(millisecondsOf(raw));
        setup();
        runs.push_back(millisecondsOf(run));
    }
    return {median(runs), median(raws)};
}

template <class Run>
Medians repeat(int rounds, Run&& run)
{
    std::vector<double> runs;
    for (int i = 0; i < rounds; ++i) runs.push_back(millisecondsOf(run));
    return {median(runs), -1};
}

// One line of the results table (scripts/bench collects the lines that start
// with "result"): case, engine, rows, median ms, median raw ms, their ratio,
// the process's peak resident megabytes so far.
inline void reportCase(const char* name, qint64 rows, const Medians& m, double peakMb = peakMegabytes())
{
    const char* engine = onPostgres() ? "postgresql" : "sqlite";
    if (m.rawMs < 0)
        printf("result\t%s\t%s\t%lld\t%.1f\t\t\t%.0f\n", name, engine, static_cast<long long>(rows), m.ms, peakMb);
    else
        printf("result\t%s\t%s\t%lld\t%.1f\t%.1f\t%.2f\t%.0f\n", name, engine, static_cast<long long>(rows), m.ms,
               m.rawMs, m.rawMs > 0 ? m.ms / m.rawMs : 0.0, peakMb);
    fflush(stdout);
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
