// Refreshing the contract list (Command1_Click: the list's statement, the
// grid fill and the column fit) against the bare forward-only read of the
// same statement, over 100,000, 200,000 and 1,000,000 contracts of one
// department, on SQLite or, when CORVANE_TEST_PG names a server
// ("host:port"), on PostgreSQL.
//
// The timings alternate one raw read and one refresh, so both meet the same
// state of a shared machine; the medians and their ratio are reported. Peak
// memory (the largest resident size) is measured in separate processes, one
// reading the rows raw and one refreshing the list twice, so neither carries
// the other's or the database build's memory. At 1,000,000 rows the list is
// also sorted by a header press and searched for a counterparty.
//
// Each size gives one line of case contract-list-refresh for scripts/bench.
//
//   bench_contract_list [rows ...]      default: 100000 200000 1000000

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "app/LoginContext.h"
#include "contracts/ContractListQuery.h"
#include "contracts/frmCorvane.h"
#include "db/Dialect.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "testsupport/TestEnvironment.h"

#include "BenchDatabase.h"

using namespace corvane;

namespace {

using bench::fail;
using bench::numbersOf;
using bench::median;
using bench::onPostgres;
using bench::peakMegabytes;

DbSettings settingsFor(const QString& folder, int rows)
{
    DbSettings s;
    s.company = QStringLiteral("基准物业");
    if (onPostgres()) {
        s.driver = QStringLiteral("QPSQL");
        s.server = qEnvironmentVariable("CORVANE_TEST_PG");
        s.login = QStringLiteral("corvane");
        s.database = QStringLiteral("corvane_bench_%1").arg(rows);
    } else {
        s.driver = QStringLiteral("QSQLITE");
        s.database = folder + QStringLiteral("/bench_%1.db").arg(rows);
    }
    return s;
}

void run(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

// One department's contracts, all in force, made by the database itself.
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
    run(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称) VALUES ('D01', '第一管理处')"));
    run(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 字, 对应科目) "
                       "VALUES ('T1', '维修合同', '付款合同', 'WX', '5501'), ('T2', '物业服务合同', '收款合同', 'WY', '')"));
    const QString columns = QStringLiteral(
        "INSERT INTO 合同信息 (合同编号, 流水号, 合同名称, 合同类型, 对应部门, 对方单位, 对方开户行, 对方帐号, 合同金额, "
        "合同签订日期, 合同生效日期, 合同期限, 合同终止日期, 合同状态, 签约人, 对方签约人, 提交日期, 流转结束日期, 流转通过) ");
    if (onPostgres()) {
        run(columns + QStringLiteral(
            "SELECT 'WX-' || lpad(i::text, 8, '0'), i, '第' || (i % 3000) || '号楼公共设施维修合同', "
            "CASE WHEN i % 3 = 0 THEN 'T2' ELSE 'T1' END, 'D01', '华东第' || (i % 900) || '建设工程有限公司', "
            "'中国工商银行第' || (i % 120) || '支行', '62220' || lpad(((i::bigint * 7919) % 100000000000)::text, 11, '0'), "
            "((i::bigint * 7919) % 10000000) / 100.0, DATE '2025-01-01' + i % 700, DATE '2025-01-04' + i % 700, 12, "
            "DATE '2026-01-01' + i % 700, '履行中', '经办人' || (i % 50), '对方代表' || (i % 400), "
            "TIMESTAMP '2024-12-22 10:20:30' + (i % 700) * INTERVAL '1 day', "
            "TIMESTAMP '2024-12-27 16:00:00' + (i % 700) * INTERVAL '1 day', 1 "
            "FROM generate_series(1, %1) AS i").arg(rows));
        run(QStringLiteral("ANALYZE"));
    } else {
        run(columns + QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "SELECT printf('WX-%08d', i), i, '第' || (i % 3000) || '号楼公共设施维修合同', "
            "CASE WHEN i % 3 = 0 THEN 'T2' ELSE 'T1' END, 'D01', '华东第' || (i % 900) || '建设工程有限公司', "
            "'中国工商银行第' || (i % 120) || '支行', printf('62220%011d', (i * 7919) % 100000000000), "
            "((i * 7919) % 10000000) / 100.0, date('2025-01-01', '+' || (i % 700) || ' days'), "
            "date('2025-01-04', '+' || (i % 700) || ' days'), 12, date('2026-01-01', '+' || (i % 700) || ' days'), "
            "'履行中', '经办人' || (i % 50), '对方代表' || (i % 400), "
            "datetime('2024-12-22 10:20:30', '+' || (i % 700) || ' days'), "
            "datetime('2024-12-27 16:00:00', '+' || (i % 700) || ' days'), 1 FROM n").arg(rows));
    }
    CloseConnection();
}

frmCorvane* openList(const DbSettings& s)
{
    if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
    Login().当前部门编号 = QStringLiteral("D01");
    Login().当前部门名称 = QStringLiteral("第一管理处");
    Login().当前岗位代号 = QStringLiteral("P01");
    auto* list = Forms::get<frmCorvane>();
    list->Show();  // first activation: tree, scope, first list
    return list;
}

qint64 rawRead(const contract::BoundStatement& b)
{
    Statement st(b.sql, b.values);
    if (!st.exec()) fail(st.error().description);
    qint64 rows = 0;
    while (st.next()) {
        for (int c = 0; c < contract::lcCount; ++c) {
            const QVariant v = st.value(c);
            Q_UNUSED(v);
        }
        ++rows;
    }
    if (st.error().isValid()) fail(st.error().description);
    return rows;
}

// The measuring processes. Each prints one line of numbers.
int child(const QString& what, const DbSettings& s, int rows)
{
    if (what == QLatin1String("raw")) {
        // The list window is not opened: the raw read's peak is the read's alone.
        if (!OpenConnection(s)) fail(QStringLiteral("cannot open the database"));
        contract::ListSelection sel;
        sel.department = QStringLiteral("D01");
        sel.today = QDate::currentDate();
        for (int i = 0; i < 2; ++i) rawRead(contract::contractListStatement(sel));
        printf("%.1f\n", peakMegabytes());
        return 0;
    }
    frmCorvane* list = openList(s);
    const double afterOpen = peakMegabytes();
    if (what == QLatin1String("refresh")) {
        list->Command1_Click();
        printf("%.1f %.1f\n", afterOpen, peakMegabytes());
        return 0;
    }
    // Timing: raw and refresh alternately.
    const contract::BoundStatement b = contract::contractListStatement(list->selection());
    const int rounds = rows >= 1000000 ? 3 : 7;
    std::vector<double> raw, refresh;
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        t.start();
        if (rawRead(b) != rows) fail(QStringLiteral("the raw read lost rows"));
        raw.push_back(double(t.nsecsElapsed()) / 1e6);
        t.start();
        list->Command1_Click();
        refresh.push_back(double(t.nsecsElapsed()) / 1e6);
        if (list->MSFlexGrid1->Rows() != rows + 1) fail(QStringLiteral("the list lost rows"));
    }
    // A header press on the amounts, then on the contract names; a quick
    // search for a counterparty from the first row.
    FlexGrid& g = *list->MSFlexGrid1;
    auto press = [&](int col) {
        int x = g.ColWidth(0);
        for (int c = g.LeftCol(); c < col; ++c) x += g.ColWidth(c);
        t.start();
        list->MSFlexGrid1_MouseDown(vbLeftButton, 0, float(x + 10), float(g.RowHeight(0) / 2));
        return double(t.nsecsElapsed()) / 1e6;
    };
    const double sortAmount = press(6), sortName = press(2);
    list->Command13_Click();
    t.start();
    list->Text3->setText(QStringLiteral("第899建设"));
    list->flushQuickSearch();
    list->List1->setCurrentRow(0);
    list->Command14_Click();
    const double search = double(t.nsecsElapsed()) / 1e6;
    printf("%.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f\n", median(raw), median(refresh),
           *std::min_element(raw.begin(), raw.end()), *std::max_element(raw.begin(), raw.end()),
           *std::min_element(refresh.begin(), refresh.end()), *std::max_element(refresh.begin(), refresh.end()),
           sortAmount + sortName, search);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    QStringList args = app.arguments().mid(1);

    // bench_contract_list --child what folder rows
    if (args.size() == 4 && args[0] == QLatin1String("--child")) {
        const int rows = args[3].toInt();
        const int status = child(args[1], settingsFor(args[2], rows), rows);
        fflush(stdout);
        std::_Exit(status);  // the peak is taken; tearing a million rows down is no part of it
    }

    QList<int> sizes;
    for (const QString& a : args) sizes << a.toInt();
    if (sizes.isEmpty()) sizes = {100000, 200000, 1000000};
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-bench-XXXXXX"));
    if (!dir.isValid()) fail(QStringLiteral("no temporary folder"));
    const QString engine = onPostgres() ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
    printf("%-10s %8s %9s %9s %7s %13s %13s %8s %8s %9s %10s\n", "engine", "rows", "raw ms", "refresh", "ratio",
           "raw range", "refresh range", "raw MB", "list MB", "sorts ms", "search ms");
    for (int rows : sizes) {
        const DbSettings s = settingsFor(dir.path(), rows);
        build(s, rows);
        const QString self = QCoreApplication::applicationFilePath(), n = QString::number(rows);
        const QList<double> time = numbersOf(self, {"--child", "time", dir.path(), n});
        const QList<double> raw = numbersOf(self, {"--child", "raw", dir.path(), n});
        const QList<double> list = numbersOf(self, {"--child", "refresh", dir.path(), n});
        if (time.size() < 8 || raw.isEmpty() || list.size() < 2) fail(QStringLiteral("a measuring process said nothing"));
        printf("%-10s %8d %9.0f %9.0f %7.2f %6.0f-%-6.0f %6.0f-%-6.0f %8.0f %8.0f %9.0f %10.0f\n", qPrintable(engine), rows,
               time[0], time[1], time[1] / time[0], time[2], time[3], time[4], time[5], raw[0], list[1], time[6],
               time[7]);
        fflush(stdout);
        bench::reportCase("contract-list-refresh", rows, {time[1], time[0]}, list[1]);
    }
    return 0;
}
