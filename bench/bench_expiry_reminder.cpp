// Loading the expiry reminder (加载到期合同: the scope, the setting, the
// receipt tab's list and counts; then the payment tab, read when it is first
// shown, so both lists and both counts reach their grids) against the bare forward-only
// read of the same four statements, in a company of 100,000 contracts and
// 1,000,000 instalments (bench/Company.h) whose reminder at company scope
// lists about 18,000 contracts, on SQLite or, when CORVANE_TEST_PG names a
// server ("host:port"), on PostgreSQL (case expiry-reminder-load).
//
// Timings alternate one raw read and one load, and their medians and ratio
// are reported. Peak memory (the largest resident size) is measured in
// separate processes, one reading raw and one loading the window twice.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "app/LoginContext.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "plans/ExpiryRules.h"
#include "plans/Frm合同到期提醒.h"
#include "plans/ReminderStore.h"
#include "testsupport/TestEnvironment.h"

#include "BenchDatabase.h"
#include "Company.h"

using namespace corvane;
using namespace corvane::plans;

namespace {

const QDate kToday = bench::kCompanyToday;

using bench::fail;
using bench::numbersOf;
using bench::onPostgres;
using bench::peakMegabytes;

DbSettings settingsFor(const QString& folder, int rows)
{
    DbSettings s;
    if (onPostgres()) {
        s.driver = QStringLiteral("QPSQL");
        s.server = qEnvironmentVariable("CORVANE_TEST_PG");
        s.login = QStringLiteral("corvane");
        s.database = QStringLiteral("corvane_reminder_%1").arg(rows);
    } else {
        s.driver = QStringLiteral("QSQLITE");
        s.database = folder + QStringLiteral("/reminder_%1.db").arg(rows);
    }
    return s;
}

void build(const DbSettings& s)
{
    bool created = false;
    QString problem;
    provision::dropDatabase(s, &problem);
    if (!provision::createDatabase(s, &created, &problem)) fail(problem);
    if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
    if (schema::schemaExists(DbConnection())) fail(QStringLiteral("%1 exists already").arg(s.database));
    DbError e;
    if (!schema::createSchema(DbConnection(), &e)) fail(e.description);
    bench::fillCompany(bench::Plans::Receipt);
    CloseConnection();
}

// The four statements read forward-only, every column touched.
volatile qsizetype g_sink = 0;
void benchmark_sink(const QVariant& v) { g_sink = g_sink + v.toString().size(); }

qint64 rawRead()
{
    const ReminderScope scope{true, {}};
    const QDate cutOff = reminderCutOff(kToday, QStringLiteral("60"));
    qint64 rows = 0;
    for (ContractCategory c : {ContractCategory::Receipt, ContractCategory::Payment})
        for (const auto& [q, columns] : {std::pair{dueContractsQuery(DbDialect(), c, scope, cutOff), 9},
                                         std::pair{dueCountsQuery(DbDialect(), c, scope, cutOff), 2}}) {
            Statement st(q.sql, q.values);
            if (!st.exec()) fail(st.error().description);
            while (st.next()) {
                for (int i = 0; i < columns; ++i) benchmark_sink(st.value(i));
                ++rows;
            }
            if (st.error().isValid()) fail(st.error().description);
        }
    return rows;
}

int child(const QString& what, const DbSettings& s)
{
    if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
    Login().当前部门编号 = QStringLiteral("D0");
    Login().当前岗位代号 = QStringLiteral("P01");
    if (what == QLatin1String("raw")) {
        const qint64 n = rawRead() + rawRead();
        printf("%.1f %lld\n", peakMegabytes(), n);
        return 0;
    }
    auto* w = Forms::get<Frm合同到期提醒>();  // the first load
    const auto load = [w] {
        w->加载到期合同();
        w->SSTab1->setCurrentIndex(1);
        w->SSTab1->setCurrentIndex(0);
    };
    if (what == QLatin1String("load")) {
        load();
        printf("%.1f %d\n", peakMegabytes(), w->MSFlexGrid2->Rows() + w->MSFlexGrid3->Rows() - 2);
        return 0;
    }
    const bench::Medians m = bench::alternate(15, [] { rawRead(); }, load);
    printf("%.1f %.1f\n", m.rawMs, m.ms);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    test::doubles().clock->current = QDateTime(kToday, QTime(9, 0));
    QStringList args = app.arguments().mid(1);

    // bench_expiry_reminder --child what folder rows
    if (args.size() == 4 && args[0] == QLatin1String("--child")) {
        const int status = child(args[1], settingsFor(args[2], args[3].toInt()));
        fflush(stdout);
        std::_Exit(status);
    }

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-bench-XXXXXX"));
    if (!dir.isValid()) fail(QStringLiteral("no temporary folder"));
    const QString engine = onPostgres() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
    const int rows = bench::kCompanyContracts;
    const DbSettings s = settingsFor(dir.path(), rows);
    const double built = bench::millisecondsOf([&] { build(s); });
    fprintf(stderr, "database built in %.1f s\n", built / 1000);
    const QString self = QCoreApplication::applicationFilePath(), n = QString::number(rows);
    const QList<double> time = numbersOf(self, {"--child", "time", dir.path(), n});
    const QList<double> raw = numbersOf(self, {"--child", "raw", dir.path(), n});
    const QList<double> load = numbersOf(self, {"--child", "load", dir.path(), n});
    if (time.size() < 2 || raw.isEmpty() || load.size() < 2) fail(QStringLiteral("a measuring process said nothing"));
    printf("%-10s %9s %6s %8s %8s %6s %8s %8s\n", "engine", "contracts", "listed", "raw ms", "load ms", "ratio", "raw MB",
           "load MB");
    printf("%-10s %9d %6.0f %8.1f %8.1f %6.2f %8.0f %8.0f\n", qPrintable(engine), rows, load[1], time[0], time[1],
           time[1] / time[0], raw[0], load[0]);
    bench::reportCase("expiry-reminder-load", qint64(load[1]), {time[1], time[0]}, load[0]);
    return 0;
}
