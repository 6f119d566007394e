// The payment list printout and the subject tree browser at size: PrintGrid
// of 20,000 and 40,000 rows to a PDF file, and the browser's whole tree over
// 20,000 and 40,000 subjects of 财务科目, read, built and shown (SQLite, or
// PostgreSQL when CORVANE_TEST_PG names a server).
// Goal: linear in the rows, twice the rows at most about twice the time.

#include <benchmark/benchmark.h>

#include "BenchDatabase.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>

#include "app/LoginContext.h"
#include "db/Sql.h"
#include "payments/PrintGrid.h"
#include "payments/frm会计科目浏览.h"
#include "platform/FlexGrid.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

namespace {

using bench::fail;

void BM_PrintGridToPdf(benchmark::State& state)
{
    const int rows = int(state.range(0));
    FlexGrid grid;
    grid.setFormatString(QStringLiteral("序 |<付款日期      |>付款金额    |<报销单编号               |<审批情况  |<支付确认单编号           |<支付日期      |^查看"));
    grid.setRows(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        grid.setTextMatrix(r, 0, QString::number(r));
        grid.setTextMatrix(r, 1, QStringLiteral("2026-%1-01").arg(r % 12 + 1, 2, 10, QLatin1Char('0')));
        grid.setTextMatrix(r, 2, QStringLiteral("%1.00").arg(r * 3));
        grid.setTextMatrix(r, 3, QStringLiteral("2026-003-%1").arg(r / 3, 6, 10, QLatin1Char('0')));
        grid.setTextMatrix(r, 4, QStringLiteral("审批完成"));
        grid.setTextMatrix(r, 7, QStringLiteral("点击查看"));
    }
    grid.setMergeCol(3, true);
    公司名称 = QStringLiteral("恒远物业");
    QTemporaryDir dir;
    for (auto _ : state) {
        auto pdf = PainterSurface::pdf(dir.filePath(QStringLiteral("list.pdf")));
        if (PrintGrid(*pdf, grid, PrintSurface::vbTwips, QStringLiteral("合同付款清单"), QStringLiteral("合同编号HT-1"), true,
                      0) != GridPrintOutcome::Printed)
            fail(QStringLiteral("the listing did not print"));
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

// On SQLite in a temporary folder, or on the PostgreSQL server that
// CORVANE_TEST_PG names (a database of its own, dropped at the end).
class SubjectDatabase {
public:
    explicit SubjectDatabase(int subjects)
    {
        if (!m_dir.isValid()) fail(QStringLiteral("no temporary folder"));
        if (qEnvironmentVariableIsEmpty("CORVANE_TEST_PG")) {
            m_settings.driver = QStringLiteral("QSQLITE");
            m_settings.database = m_dir.filePath(QStringLiteral("bench.db"));
        } else {
            m_settings.driver = QStringLiteral("QPSQL");
            m_settings.server = qEnvironmentVariable("CORVANE_TEST_PG");
            m_settings.login = QStringLiteral("corvane");
            m_settings.database = QStringLiteral("corvane_bench_%1_%2").arg(QCoreApplication::applicationPid()).arg(subjects);
        }
        QString problem;
        if (!provision::createDatabase(m_settings, nullptr, &problem)) fail(problem);
        if (!OpenConnection(m_settings)) fail(QStringLiteral("cannot open the database"));
        DbError e;
        if (!schema::createSchema(DbConnection(), &e)) fail(e.description);
        // 100 top subjects of four digits, the others eight digits under them.
        Transaction tx;
        for (int i = 0; i < subjects; ++i) {
            const QString top = QString::number(1000 + i % 100);
            const bool isTop = i < 100;
            const auto r = executeQuiet(
                QStringLiteral("INSERT INTO 财务科目 (科目代号, 科目名称, 上级科目代号, 预算, 支出项) VALUES (?, ?, ?, 0, 1)"),
                {isTop ? top : top + QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("科目%1").arg(i),
                 isTop ? QVariant(QMetaType::fromType<QString>()) : QVariant(top)});
            if (!r) fail(r.error().description);
        }
        if (!tx.commit()) fail(tx.error().description);
    }
    ~SubjectDatabase()
    {
        CloseConnection();
        if (m_settings.driver == QStringLiteral("QPSQL")) {
            QString problem;
            provision::dropDatabase(m_settings, &problem);
        }
    }

private:
    QTemporaryDir m_dir;
    DbSettings m_settings;
};

void BM_BrowserTree(benchmark::State& state)
{
    const int subjects = int(state.range(0));
    SubjectDatabase db(subjects);
    for (auto _ : state) {
        auto* browser = Forms::get<frm会计科目浏览>();
        if (browser->TreeView1->topLevelItemCount() != 100) fail(QStringLiteral("the tree is not whole"));
        Forms::unload<frm会计科目浏览>();
    }
    state.SetItemsProcessed(state.iterations() * subjects);
}

}  // namespace

BENCHMARK(BM_PrintGridToPdf)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BrowserTree)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) { return corvane::bench::runBenchmarks(argc, argv); }
