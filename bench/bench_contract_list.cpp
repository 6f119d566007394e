// Refreshing the contract list over 100,000 contracts of one department (the
// list's statement, the grid fill and the column fit of Command1_Click)
// against the bare forward-only read of the same rows and columns.
// The process's peak memory is reported as the counter "peak_MB".

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "app/LoginContext.h"
#include "contracts/ContractListQuery.h"
#include "contracts/frmCorvane.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

namespace {

constexpr int kContracts = 100000;

double peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

void fail(const QString& what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

// A database with one department's contracts, all in force.
class Database {
public:
    Database()
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
        fill();
    }

private:
    static void run(const QString& sql)
    {
        QSqlQuery q(DbConnection());
        if (!q.exec(sql)) fail(sql);
    }

    static void fill()
    {
        run(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称) VALUES ('D01', '第一管理处')"));
        run(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 字, 对应科目) "
                           "VALUES ('T1', '维修合同', '付款合同', 'WX', '5501'), ('T2', '物业服务合同', '收款合同', 'WY', '')"));
        Transaction tx;
        QSqlQuery q(DbConnection());
        q.prepare(QStringLiteral(
            "INSERT INTO 合同信息 (合同编号, 流水号, 合同名称, 合同类型, 对应部门, 对方单位, 对方开户行, 对方帐号, 合同金额, "
            "合同签订日期, 合同生效日期, 合同期限, 合同终止日期, 合同状态, 签约人, 对方签约人, 提交日期, 流转结束日期, 流转通过) "
            "VALUES (?, ?, ?, ?, 'D01', ?, ?, ?, ?, ?, ?, 12, ?, '履行中', ?, ?, ?, ?, 1)"));
        const QDate start(2025, 1, 1);
        for (int i = 1; i <= kContracts; ++i) {
            const QDate d = start.addDays(i % 700);
            q.addBindValue(QStringLiteral("WX-%1").arg(i, 8, 10, QLatin1Char('0')));
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("第%1号楼公共设施维修合同").arg(i % 3000));
            q.addBindValue(i % 3 ? QStringLiteral("T1") : QStringLiteral("T2"));
            q.addBindValue(QStringLiteral("华东第%1建设工程有限公司").arg(i % 900));
            q.addBindValue(QStringLiteral("中国工商银行第%1支行").arg(i % 120));
            q.addBindValue(QStringLiteral("62220%1").arg(i * 7919LL % 100000000000LL, 11, 10, QLatin1Char('0')));
            q.addBindValue(QString::number((i * 7919LL) % 10000000 / 100.0, 'f', 2));
            q.addBindValue(d.toString(QStringLiteral("yyyy-MM-dd")));
            q.addBindValue(d.addDays(3).toString(QStringLiteral("yyyy-MM-dd")));
            q.addBindValue(d.addYears(1).toString(QStringLiteral("yyyy-MM-dd")));
            q.addBindValue(QStringLiteral("经办人%1").arg(i % 50));
            q.addBindValue(QStringLiteral("对方代表%1").arg(i % 400));
            q.addBindValue(d.addDays(-10).toString(QStringLiteral("yyyy-MM-dd 10:20:30")));
            q.addBindValue(d.addDays(-5).toString(QStringLiteral("yyyy-MM-dd 16:00:00")));
            if (!q.exec()) fail(q.lastError().text());
        }
        if (!tx.commit()) fail(tx.error().description);
    }

    QTemporaryDir m_dir;
};

Database* g_db = nullptr;
frmCorvane* g_list = nullptr;

void prepare()
{
    if (g_list) return;
    g_db = new Database;
    Login().当前部门编号 = QStringLiteral("D01");
    Login().当前部门名称 = QStringLiteral("第一管理处");
    Login().当前岗位代号 = QStringLiteral("P01");
    g_list = Forms::get<frmCorvane>();
    g_list->Show();  // first activation: tree, scope, first list
}

void BM_RawForwardOnlyQuery(benchmark::State& state)
{
    prepare();
    const contract::BoundStatement b = contract::contractListStatement(g_list->selection());
    qint64 rows = 0;
    for (auto _ : state) {
        Statement st(b.sql, b.values);
        if (!st.exec()) fail(st.error().description);
        rows = 0;
        while (st.next()) {
            for (int c = 0; c < contract::lcCount; ++c) benchmark::DoNotOptimize(st.value(c));
            ++rows;
        }
    }
    state.counters["rows"] = double(rows);
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_ListRefresh(benchmark::State& state)
{
    prepare();
    for (auto _ : state) g_list->Command1_Click();
    state.counters["rows"] = double(g_list->MSFlexGrid1->Rows() - 1);
    state.counters["peak_MB"] = peakMegabytes();
}

}  // namespace

BENCHMARK(BM_RawForwardOnlyQuery)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ListRefresh)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FormRegistry::instance().unloadAll();
    CloseConnection();
    delete g_db;
    return 0;
}
