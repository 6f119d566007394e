// Loading the expiry reminder (加载到期合同: the scope, the setting, the two
// lists and the two counts into their grids) against the bare forward-only
// read of the same four statements, over 100,000 and 200,000 contracts of
// which a fifth are in performance and 5,000 are due, on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL.
//
// Timings alternate one raw read and one load, and their medians and ratio
// are reported. Peak memory (the largest resident size) is measured in
// separate processes, one reading raw and one loading the window twice.
//
//   bench_expiry_reminder [contracts ...]      default: 100000 200000

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

using namespace corvane;
using namespace corvane::plans;

namespace {

const QDate kToday(2026, 12, 10);
constexpr int kDue = 5000;

double peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

[[noreturn]] void fail(const QString& what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

bool onPostgres() { return !qEnvironmentVariableIsEmpty("CORVANE_TEST_PG"); }

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

void run(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

// Ten departments; every fifth contract in performance, the first 5,000 of
// those (by number) due, the others ending in 2028; one in ten a lease.
void build(const DbSettings& s, int rows)
{
    bool created = false;
    QString problem;
    if (!provision::createDatabase(s, &created, &problem)) fail(problem);
    if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
    if (schema::schemaExists(DbConnection())) {
        QSqlQuery q(DbConnection());
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM 合同信息")) && q.next() && q.value(0).toInt() == rows) return;
        fail(QStringLiteral("%1 exists with other contents").arg(s.database));
    }
    DbError e;
    if (!schema::createSchema(DbConnection(), &e)) fail(e.description);
    for (int d = 0; d < 10; ++d)
        run(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称, app部门类别) VALUES ('D%1', '第%1管理处', '%2')")
                .arg(d)
                .arg(d == 0 ? QStringLiteral("职能部门") : QStringLiteral("管理项目")));
    run(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别) VALUES ('T1', '维修合同', '付款合同'), "
                       "('T2', '物业服务合同', '收款合同'), ('T3', '租赁合同', '收款合同'), ('T4', '保洁合同', '收款合同')"));
    const QString columns = QStringLiteral(
        "INSERT INTO 合同信息 (合同编号, 合同名称, 合同类型, 对应部门, 对方单位, 合同起始日期, 合同终止日期, 合同状态) ");
    // i % 5 = 0: in performance; due when also i <= 5 * 5,000 * 10 / 9 and not a lease.
    const QString dueLimit = QString::number(kDue * 5 * 10 / 9 + 5);
    if (onPostgres()) {
        run(columns + QStringLiteral(
            "SELECT 'HT-' || lpad(i::text, 8, '0'), '第' || (i % 3000) || '号楼公共设施合同', "
            "CASE WHEN i % 50 = 25 OR i % 10 = 1 THEN 'T3' WHEN i % 3 = 0 THEN 'T1' WHEN i % 3 = 1 THEN 'T2' ELSE 'T4' END, "
            "'D' || (i % 10), '华东第' || (i % 900) || '工程有限公司', DATE '2024-01-01' + i % 300, "
            "CASE WHEN i % 5 = 0 AND i <= %2 THEN DATE '2026-06-01' + i % 250 ELSE DATE '2028-01-01' + i % 300 END, "
            "CASE WHEN i % 5 = 0 THEN '履行中' ELSE '履行完成' END FROM generate_series(1, %1) AS i")
                .arg(rows).arg(dueLimit));
        run(QStringLiteral("ANALYZE"));
    } else {
        run(columns + QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "SELECT printf('HT-%08d', i), '第' || (i % 3000) || '号楼公共设施合同', "
            "CASE WHEN i % 50 = 25 OR i % 10 = 1 THEN 'T3' WHEN i % 3 = 0 THEN 'T1' WHEN i % 3 = 1 THEN 'T2' ELSE 'T4' END, "
            "'D' || (i % 10), '华东第' || (i % 900) || '工程有限公司', date('2024-01-01', '+' || (i % 300) || ' days'), "
            "CASE WHEN i % 5 = 0 AND i <= %2 THEN date('2026-06-01', '+' || (i % 250) || ' days') "
            "ELSE date('2028-01-01', '+' || (i % 300) || ' days') END, "
            "CASE WHEN i % 5 = 0 THEN '履行中' ELSE '履行完成' END FROM n")
                .arg(rows).arg(dueLimit));
        run(QStringLiteral("ANALYZE"));
    }
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

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    if (what == QLatin1String("load")) {
        w->加载到期合同();
        printf("%.1f %d\n", peakMegabytes(), w->MSFlexGrid2->Rows() + w->MSFlexGrid3->Rows() - 2);
        return 0;
    }
    QList<double> raw, load;
    QElapsedTimer t;
    for (int i = 0; i < 15; ++i) {
        t.start();
        rawRead();
        raw << double(t.nsecsElapsed()) / 1e6;
        t.start();
        w->加载到期合同();
        load << double(t.nsecsElapsed()) / 1e6;
    }
    printf("%.1f %.1f\n", median(raw), median(load));
    return 0;
}

QList<double> numbersOf(const QString& self, const QStringList& args)
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

    QList<int> sizes;
    for (const QString& a : args) sizes << a.toInt();
    if (sizes.isEmpty()) sizes = {100000, 200000};
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-bench-XXXXXX"));
    if (!dir.isValid()) fail(QStringLiteral("no temporary folder"));
    const QString engine = onPostgres() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
    printf("%-10s %9s %6s %8s %8s %6s %8s %8s\n", "engine", "contracts", "listed", "raw ms", "load ms", "ratio", "raw MB",
           "load MB");
    for (int rows : sizes) {
        const DbSettings s = settingsFor(dir.path(), rows);
        build(s, rows);
        const QString self = QCoreApplication::applicationFilePath(), n = QString::number(rows);
        const QList<double> time = numbersOf(self, {"--child", "time", dir.path(), n});
        const QList<double> raw = numbersOf(self, {"--child", "raw", dir.path(), n});
        const QList<double> load = numbersOf(self, {"--child", "load", dir.path(), n});
        if (time.size() < 2 || raw.isEmpty() || load.size() < 2) fail(QStringLiteral("a measuring process said nothing"));
        printf("%-10s %9d %6.0f %8.1f %8.1f %6.2f %8.0f %8.0f\n", qPrintable(engine), rows, load[1], time[0], time[1],
               time[1] / time[0], raw[0], load[0]);
        fflush(stdout);
    }
    return 0;
}
