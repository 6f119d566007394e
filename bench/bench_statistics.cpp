// The two statistics windows on a large database: 100,000 contracts of both
// categories (some leases) in 200 departments of three levels and 20 types,
// 1,000,000 instalments (ten monthly ones per contract) and 600,000
// settlement records (some payments void). Timed, each a whole run
// (statements, grid fill, column sizing):
//   - the summary's 统计 with everything ticked, for each grouping
//     (statistics-summary-department, -counterparty, -type);
//   - the instalment window's 统计 on both tabs, every department ticked,
//     over one month and over one year (statistics-year-receipts, -payments);
// against the window's own statements of that run, read bare (forward-only,
// every column), in alternating rounds. On SQLite, or on PostgreSQL when
// CORVANE_TEST_PG names a server ("host:port").
//
//   bench_statistics [rounds]      default: 5

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "app/LoginContext.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "statistics/StatisticsStore.h"
#include "statistics/frm合同收付款统计.h"
#include "statistics/frm合同汇总统计.h"
#include "testsupport/TestEnvironment.h"

#include "BenchDatabase.h"
#include "statistics/DepartmentTreeView.h"

using namespace corvane;

namespace {

constexpr int kContracts = 100000;

using bench::fail;
using bench::onPostgres;

void run(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

DbSettings settingsFor(const QString& folder)
{
    DbSettings s;
    if (onPostgres()) {
        s.driver = QStringLiteral("QPSQL");
        s.server = qEnvironmentVariable("CORVANE_TEST_PG");
        s.login = QStringLiteral("corvane");
        s.database = QStringLiteral("corvane_bench_statistics");
    } else {
        s.driver = QStringLiteral("QSQLITE");
        s.database = folder + QStringLiteral("/statistics.db");
    }
    return s;
}

void build(const DbSettings& s)
{
    QString problem;
    if (!provision::createDatabase(s, nullptr, &problem)) fail(problem);
    if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
    if (schema::schemaExists(DbConnection())) {
        QSqlQuery q(DbConnection());
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM 合同信息")) && q.next() && q.value(0).toInt() == kContracts) return;
        fail(QStringLiteral("%1 exists with other contents").arg(s.database));
    }
    DbError e;
    if (!schema::createSchema(DbConnection(), &e)) fail(e.description);
    const bool pg = onPostgres();

    // 10 top departments, 4 below each, 150 below those.
    QStringList codes;
    DbConnection().transaction();
    auto dept = [&](const QString& code, const QString& superior) {
        run(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称, app部门类别) VALUES ('%1', '部门%1', '职能部门')")
                .arg(code));
        run(QStringLiteral("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES ('%1', %2, '2000-01-01')")
                .arg(code, superior.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + superior + QLatin1Char('\'')));
        codes << code;
    };
    for (int t = 1; t <= 10; ++t) dept(QStringLiteral("A%1").arg(t, 2, 10, QLatin1Char('0')), QString());
    for (int t = 1; t <= 10; ++t)
        for (int m = 1; m <= 4; ++m) dept(QStringLiteral("A%1-%2").arg(t, 2, 10, QLatin1Char('0')).arg(m), QStringLiteral("A%1").arg(t, 2, 10, QLatin1Char('0')));
    for (int i = 0; i < 150; ++i) {
        const int t = 1 + i % 10, m = 1 + (i / 10) % 4;
        const QString parent = QStringLiteral("A%1-%2").arg(t, 2, 10, QLatin1Char('0')).arg(m);
        dept(parent + QStringLiteral("-%1").arg(i, 3, 10, QLatin1Char('0')), parent);
    }
    for (int t = 1; t <= 20; ++t)
        run(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 公用) VALUES ('T%1', '%2', '%3', 1)")
                .arg(t, 2, 10, QLatin1Char('0'))
                .arg(t == 10 ? QStringLiteral("租赁合同") : QStringLiteral("类型%1").arg(t))
                .arg(t <= 10 ? QStringLiteral("收款合同") : QStringLiteral("付款合同")));
    run(QStringLiteral("INSERT INTO 专项审核权限表 (类型, 部门代号, 岗位代号) VALUES ('Corvane', 'A01', 'P01')"));
    DbConnection().commit();

    // The departments by number, so the generators can pick one.
    run(QStringLiteral("CREATE TABLE bench_dept (n INTEGER, code VARCHAR(20))"));
    DbConnection().transaction();
    for (int i = 0; i < codes.size(); ++i) run(QStringLiteral("INSERT INTO bench_dept VALUES (%1, '%2')").arg(i).arg(codes[i]));
    DbConnection().commit();

    const QString columns = QStringLiteral(
        "INSERT INTO 合同信息 (合同编号, 合同名称, 合同类型, 对应部门, 对方单位, 合同金额, 合同起始日期, 合同终止日期, "
        "合同签订日期, 合同生效日期, 合同状态) ");
    if (pg) {
        run(columns + QStringLiteral(
            "SELECT 'HT-' || lpad(i::text, 7, '0'), '第' || (i % 3000) || '号楼合同', 'T' || lpad((1 + i % 20)::text, 2, '0'), "
            "d.code, '对方单位' || (i % 3000), ((i::bigint * 7919) % 10000000) / 100.0, DATE '2020-01-01' + i % 2000, "
            "DATE '2021-01-01' + i % 2000, DATE '2020-01-01' + i % 2000, DATE '2020-01-01' + i % 2000, "
            "(ARRAY['履行中','签约完成','已到期','已中止'])[1 + i % 4] "
            "FROM generate_series(1, %1) AS i JOIN bench_dept d ON d.n = i % 200").arg(kContracts));
    } else {
        run(columns + QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "SELECT printf('HT-%07d', i), '第' || (i % 3000) || '号楼合同', printf('T%02d', 1 + i % 20), d.code, "
            "'对方单位' || (i % 3000), ((i * 7919) % 10000000) / 100.0, date('2020-01-01', '+' || (i % 2000) || ' days'), "
            "date('2021-01-01', '+' || (i % 2000) || ' days'), date('2020-01-01', '+' || (i % 2000) || ' days'), "
            "date('2020-01-01', '+' || (i % 2000) || ' days'), "
            "CASE i % 4 WHEN 0 THEN '履行中' WHEN 1 THEN '签约完成' WHEN 2 THEN '已到期' ELSE '已中止' END "
            "FROM n JOIN bench_dept d ON d.n = i % 200").arg(kContracts));
    }
    for (const bool receipt : {true, false}) {
        const QString plan = receipt ? QStringLiteral("合同收款计划表 (合同编号, 收款日期, 收款金额, 余额)")
                                     : QStringLiteral("合同付款计划表 (合同编号, 付款日期, 付款金额, 余额)");
        const QString which = receipt ? QStringLiteral("<= 'T10'") : QStringLiteral("> 'T10'");
        if (pg)
            run(QStringLiteral("INSERT INTO %1 SELECT c.合同编号, (c.合同起始日期 + k * INTERVAL '1 month')::date, "
                               "ROUND(c.合同金额 / 10, 2), ROUND(c.合同金额 / 10, 2) FROM 合同信息 c, generate_series(0, 9) AS k "
                               "WHERE c.合同类型 %2 ORDER BY c.合同编号, k")
                    .arg(plan, which));
        else
            run(QStringLiteral("WITH RECURSIVE k(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM k WHERE n < 9) "
                               "INSERT INTO %1 SELECT c.合同编号, date(c.合同起始日期, '+' || k.n || ' months'), "
                               "ROUND(c.合同金额 / 10, 2), ROUND(c.合同金额 / 10, 2) FROM 合同信息 c, k "
                               "WHERE c.合同类型 %2 ORDER BY c.合同编号, k.n")
                    .arg(plan, which));
    }
    run(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额) SELECT ID, 收款金额 FROM 合同收款计划表 WHERE ID % 10 < 6"));
    run(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 作废) "
                       "SELECT ID, 付款金额, CASE WHEN ID % 7 = 0 THEN 1 ELSE 0 END FROM 合同付款计划表 WHERE ID % 10 < 6"));
    run(pg ? QStringLiteral("ANALYZE") : QStringLiteral("ANALYZE"));
}

// A statement of the statistics store run bare; lists too long to bind
// read from the staging table the window's last run filled.
qint64 readBare(const statistics::SqlText& q, int columns)
{
    return bench::readBare(q.sql, q.values, columns, q.planEachRun);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-bench-XXXXXX"));
    if (!dir.isValid()) fail(QStringLiteral("no temporary folder"));
    QElapsedTimer building;
    building.start();
    // CORVANE_BENCH_DIR keeps the SQLite database for a later run.
    const QString folder = qEnvironmentVariableIsEmpty("CORVANE_BENCH_DIR") ? dir.path() : qEnvironmentVariable("CORVANE_BENCH_DIR");
    build(settingsFor(folder));
    fprintf(stderr, "database built in %.1f s\n", double(building.elapsed()) / 1000.0);

    Login().当前部门编号 = QStringLiteral("A01");
    Login().当前部门名称 = QStringLiteral("部门A01");
    Login().当前岗位代号 = QStringLiteral("P01");

    auto* summary = Forms::get<frm合同汇总统计>();
    summary->Check1->click();
    summary->Check2->click();
    summary->Check3->click();
    summary->Check5->click();
    summary->Command11->click();

    auto* instalments = Forms::get<frm合同收付款统计>();
    instalments->Form_Activate();
    instalments->Check1->click();

    struct Case {
        const char* name;
        std::function<void()> run;
        std::function<qint64()> raw;
        bool gated;
    };
    auto grouping = [&](QRadioButton* option) {
        return [=] {
            option->setChecked(true);
            summary->Command10->click();
            if (summary->MSFlexGrid1->Rows() < 3) fail(QStringLiteral("the summary is empty"));
        };
    };
    // The two category blocks of the last summary run.
    auto summaryRaw = [&] {
        qint64 rows = 0;
        for (const QString& category : {statistics::kReceiptCategory, statistics::kPaymentCategory})
            rows += readBare(statistics::summaryQuery(DbDialect(), *summary->汇总条件, category), 4);
        return rows;
    };
    auto tab = [&](int index, QDate from, QDate to) {
        return [=] {
            instalments->SSTab1->setCurrentIndex(index);
            instalments->DTPicker1->setDate(from);
            instalments->DTPicker2->setDate(to);
            instalments->Command1_Click();
            FlexGrid* g = index == 0 ? instalments->MSFlexGrid1 : instalments->MSFlexGrid2;
            if (g->Rows() < 2) fail(QStringLiteral("no instalments"));
        };
    };
    auto tabRaw = [&](int index, QDate from, QDate to) {
        return [=] {
            return readBare(statistics::instalmentQuery(DbDialect(), index == 0,
                                                        statistics::tickedDepartments(instalments->TreeView1), from, to),
                            12);
        };
    };
    const QDate month(2023, 1, 1), monthEnd = month.addMonths(1).addDays(-1), yearEnd = month.addYears(1).addDays(-1);
    const std::vector<Case> cases{
        {"statistics-summary-department", grouping(summary->Option1), summaryRaw, true},
        {"statistics-summary-counterparty", grouping(summary->Option2), summaryRaw, true},
        {"statistics-summary-type", grouping(summary->Option3), summaryRaw, true},
        {"statistics-month-receipts", tab(0, month, monthEnd), tabRaw(0, month, monthEnd), true},
        {"statistics-month-payments", tab(1, month, monthEnd), tabRaw(1, month, monthEnd), true},
        {"statistics-year-receipts", tab(0, month, yearEnd), tabRaw(0, month, yearEnd), false},
        {"statistics-year-payments", tab(1, month, yearEnd), tabRaw(1, month, yearEnd), false},
    };

    const QString engine = onPostgres() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
    printf("%-11s %-32s %8s %10s %10s %7s %11s %5s\n", "engine", "case", "rows", "run ms", "raw ms", "ratio",
           "statements", "goal");
    for (const Case& c : cases) {
        c.run();  // the criteria and staged lists the raw statements read
        int statements = 0;
        const bench::Medians m = bench::alternate(rounds, [&] { c.raw(); }, [&] {
            const int before = statistics::statementsIssued();
            c.run();
            statements = statistics::statementsIssued() - before;
        });
        int rows = 0;
        if (QString::fromLatin1(c.name).contains(QLatin1String("summary")))
            rows = summary->MSFlexGrid1->Rows() - 1;
        else
            rows = (instalments->SSTab1->currentIndex() == 0 ? instalments->MSFlexGrid1 : instalments->MSFlexGrid2)->Rows() - 1;
        printf("%-11s %-32s %8d %10.1f %10.1f %7.2f %11d %5s\n", qPrintable(engine), c.name, rows, m.ms, m.rawMs,
               m.ms / m.rawMs, statements, c.gated ? (m.ms <= 1000 ? "ok" : "MISS") : "-");
        fflush(stdout);
        bench::reportCase(c.name, rows, m);
    }
    std::_Exit(0);
}
