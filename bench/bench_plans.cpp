// Saving a generated long-term plan of 5,000 instalments and reading it back
// (what 计划保存 and the next opening of the plan window do), against a
// prepared insert loop of the same rows in one transaction and a bare read.

#include <benchmark/benchmark.h>

#include "BenchDatabase.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "plans/Generators.h"
#include "plans/PlanRules.h"
#include "plans/PlanStore.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::plans;

namespace {

constexpr int kInstalments = 5000;

using bench::fail;

// One database for both runs: on PostgreSQL a second one would drop the first.
bench::EmptyDatabase& database()
{
    static bench::EmptyDatabase db(QStringLiteral("plans"));
    return db;
}

// The grid's rows as the long-term generator writes them, checked as the
// save checks them.
std::vector<InstalmentToSave> generatedPlan()
{
    const Generated g = 按长期合同({QDate(2010, 1, 31), QStringLiteral("5000"), QString::number(kInstalments), Period::Month});
    std::vector<PlanGridRow> cells;
    for (const GeneratedRow& r : g.rows) cells.push_back({r.date, r.amount, r.amount, QString(), QString()});
    const CheckedPlan checked = checkPlan(cells, {QStringLiteral("收款日期"), QStringLiteral("收款金额"), QStringLiteral("余额")});
    if (!checked.refusal.isEmpty()) fail(checked.refusal);
    return checked.rows;
}

void clearTable()
{
    if (!executeQuiet(QStringLiteral("DELETE FROM 合同收款计划表"))) fail(QStringLiteral("cannot empty the table"));
}

void BM_SaveAndReloadPlan(benchmark::State& state)
{
    database();
    const std::vector<InstalmentToSave> rows = generatedPlan();
    for (auto _ : state) {
        state.PauseTiming();
        clearTable();
        state.ResumeTiming();
        const PlanSaveOutcome saved = savePlan(PlanKind::Receipt, QStringLiteral("HT-LONG"), rows);
        if (saved.kind != PlanSaveOutcome::Saved) fail(saved.error.description);
        const auto loaded = instalmentsOf(PlanKind::Receipt, QStringLiteral("HT-LONG"));
        if (!loaded || loaded->size() != rows.size()) fail(QStringLiteral("reload"));
        benchmark::DoNotOptimize(loaded->back().id);
    }
}

void BM_PreparedInsertLoop(benchmark::State& state)
{
    database();
    const std::vector<InstalmentToSave> rows = generatedPlan();
    for (auto _ : state) {
        state.PauseTiming();
        clearTable();
        state.ResumeTiming();
        QSqlDatabase c = DbConnection();
        c.transaction();
        QSqlQuery q(c);
        q.prepare(QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额, 收款条件) "
                                 "VALUES (?, ?, ?, ?, ?) RETURNING ID"));
        for (const InstalmentToSave& r : rows) {
            q.addBindValue(QStringLiteral("HT-LONG"));
            q.addBindValue(r.date->toString(QStringLiteral("yyyy-MM-dd")));
            q.addBindValue(QString::number(*r.amount / 100) + QStringLiteral(".00"));
            q.addBindValue(QString::number(*r.balance / 100) + QStringLiteral(".00"));
            q.addBindValue(QVariant(QMetaType::fromType<QString>()));
            if (!q.exec() || !q.next()) fail(q.lastError().text());
            benchmark::DoNotOptimize(q.value(0));
            q.finish();
        }
        c.commit();
        QSqlQuery read(c);
        read.setForwardOnly(true);
        read.prepare(QStringLiteral("SELECT ID, 合同编号, 收款日期, 收款金额, 余额, 收款条件 FROM 合同收款计划表 "
                                    "WHERE 合同编号 = ? ORDER BY 收款日期, ID"));
        read.addBindValue(QStringLiteral("HT-LONG"));
        if (!read.exec()) fail(read.lastError().text());
        int n = 0;
        while (read.next()) {
            for (int i = 0; i < 6; ++i) benchmark::DoNotOptimize(read.value(i));
            ++n;
        }
        if (n != kInstalments) fail(QStringLiteral("raw reload"));
    }
}

}  // namespace

BENCHMARK(BM_PreparedInsertLoop)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveAndReloadPlan)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) { return corvane::bench::runBenchmarks(argc, argv); }
