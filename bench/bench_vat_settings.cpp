// The invoicing item settings of a large company, on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL: saving the
// settings of 2,000 fee items for one 管理处 and applying them to 20 other
// 管理处, each action in its transaction, against the same 42,000 rows
// inserted by one prepared statement in one transaction.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "receipts/VatStore.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;
using namespace corvane::receipts;

namespace {

constexpr int kItems = 2000;
constexpr int kTargets = 20;

bool onPostgres() { return !qEnvironmentVariableIsEmpty("CORVANE_TEST_PG"); }

void run(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

QString office(int i) { return QStringLiteral("GL%1").arg(i, 3, 10, QLatin1Char('0')); }

std::vector<SettingRow> rows()
{
    std::vector<SettingRow> out;
    for (int i = 0; i < kItems; ++i)
        out.push_back({0, QStringLiteral("SF%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("22210101"),
                       QStringLiteral("3040801010000000000"), QStringLiteral("物业管理服务%1").arg(i), QStringLiteral("6")});
    return out;
}

class Database {
public:
    Database()
    {
        openFreshDatabase(QStringLiteral("vat"), m_dir);
    }

private:
    QTemporaryDir m_dir;
};

Database& database()
{
    static Database db;
    return db;
}

void BM_SaveAndApply(benchmark::State& state)
{
    database();
    const std::vector<SettingRow> settings = rows();
    for (auto _ : state) {
        state.PauseTiming();
        run(QStringLiteral("DELETE FROM 税控盘收费项目设置"));
        state.ResumeTiming();
        const auto saved = saveSettings(office(0), settings);
        if (!saved || *saved != kItems) fail(QStringLiteral("save ") + saved.error().description);
        for (int t = 1; t <= kTargets; ++t) {
            const auto applied = applySettings(office(t), settings);
            if (!applied || *applied != kItems) fail(QStringLiteral("apply ") + applied.error().description);
        }
    }
}

// The same rows by one prepared statement in one transaction.
void BM_OnePreparedInsert(benchmark::State& state)
{
    database();
    const std::vector<SettingRow> settings = rows();
    for (auto _ : state) {
        state.PauseTiming();
        run(QStringLiteral("DELETE FROM 税控盘收费项目设置"));
        state.ResumeTiming();
        QSqlDatabase db = DbConnection();
        if (!db.transaction()) fail(QStringLiteral("begin"));
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, 应税科目, SKDH, SKXM, 税率) "
                                      "VALUES (?, ?, ?, ?, ?, ?)")))
            fail(q.lastError().text());
        for (int t = 0; t <= kTargets; ++t)
            for (const SettingRow& r : settings) {
                q.addBindValue(office(t));
                q.addBindValue(r.item);
                q.addBindValue(r.subjectCode);
                q.addBindValue(r.skdh);
                q.addBindValue(r.skxm);
                q.addBindValue(r.rate);
                if (!q.exec()) fail(q.lastError().text());
            }
        if (!db.commit()) fail(QStringLiteral("commit"));
    }
}

}  // namespace

BENCHMARK(BM_SaveAndApply)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OnePreparedInsert)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return corvane::bench::runBenchmarks(argc, argv); }
