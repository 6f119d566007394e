// The receipt window against a large company database, on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL:
// - taking the next self-numbered bill of a layout whose 20,000 bills were
//   recorded without printing (no 流水号), where probing one number at a
//   time would run 20,000 queries;
// - refreshing the instalment grid of a contract of 24 instalments while
//   合同收款记录 holds 1,000,000 receipts of other contracts, against the
//   query restricted to its instalments.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "platform/Amounts.h"
#include "receipts/BillStore.h"
#include "receipts/ReceiptStore.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;
using namespace corvane::receipts;

namespace {

constexpr int kBills = 20000;
constexpr int kOtherReceipts = 1000000;
constexpr int kInstalments = 24;
const QString kContract = QStringLiteral("HT-BENCH");

bool onPostgres() { return !qEnvironmentVariableIsEmpty("CORVANE_TEST_PG"); }

void run(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

// A number of rows made by the database itself: "n" runs from 1 to count.
QString series(int count)
{
    if (onPostgres()) return QStringLiteral("(SELECT generate_series(1, %1) AS n) s").arg(count);
    return QStringLiteral("(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) SELECT n FROM s) s")
        .arg(count);
}
QString eightDigits(const QString& e)
{
    return onPostgres() ? QStringLiteral("lpad(%1::text, 8, '0')").arg(e) : QStringLiteral("printf('%08d', %1)").arg(e);
}

class Database {
public:
    Database()
    {
        openFreshDatabase(QStringLiteral("receipts"), m_dir);
        fill();
    }

private:
    void fill()
    {
        // 20,000 bills of layout ZD taken without printing: no serial.
        run(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号, 开票部门编号) SELECT 'ZD', %1, 'D01' FROM %2")
                .arg(eightDigits(QStringLiteral("n")), series(kBills)));
        // The contract's instalments, then 40,000 instalments of other
        // contracts holding a million receipts, then two receipts on each of
        // the contract's own.
        run(QStringLiteral("INSERT INTO 合同信息 (合同编号, 合同名称) VALUES ('HT-BENCH', '基准合同')"));
        const QString date = onPostgres() ? QStringLiteral("DATE '2026-01-15' + (n * 30)")
                                          : QStringLiteral("date('2026-01-15', '+' || (n * 30) || ' days')");
        run(QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额) SELECT 'HT-BENCH', %1, 1000.00, 1000.00 FROM %2")
                .arg(date, series(kInstalments)));
        run(QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额) SELECT 'HT-' || (n % 4000), %1, 500.00, 500.00 FROM %2")
                .arg(date, series(40000)));
        run(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额, 票据编号, 入库单编号) "
                           "SELECT %1 + (n % 40000), 12.34, %2, 'FP' FROM %3")
                .arg(kInstalments + 1)
                .arg(eightDigits(QStringLiteral("n")), series(kOtherReceipts)));
        run(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额) SELECT ((n - 1) % %1) + 1, 100.05 FROM %2")
                .arg(kInstalments)
                .arg(series(2 * kInstalments)));
        run(QStringLiteral("ANALYZE"));
    }
    QTemporaryDir m_dir;
};

Database& database()
{
    static Database db;
    return db;
}

void BM_SelfNumberedBill(benchmark::State& state)
{
    database();
    for (auto _ : state) {
        Transaction tx(DbConnection(), Transaction::Write);
        const auto bill = addSelfNumberedBill(DbConnection(), QStringLiteral("ZD"), QStringLiteral("D01"));
        if (!bill) fail(bill.error().description);
        if (bill->number != selfNumberText(kBills + 1)) fail(QStringLiteral("wrong number ") + bill->number);
        tx.rollback();
    }
}

// The rule as first written: one probe per taken number.
void BM_ProbePerNumber(benchmark::State& state)
{
    database();
    for (auto _ : state) {
        qint64 n = 1;
        for (;;) {
            Statement probe(QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"),
                            {QStringLiteral("ZD"), selfNumberText(n)});
            if (!probe.exec()) fail(probe.error().description);
            if (!probe.next()) break;
            ++n;
        }
        if (n != kBills + 1) fail(QStringLiteral("probe"));
    }
}

void BM_RefreshPlan(benchmark::State& state)
{
    database();
    for (auto _ : state) {
        const auto rows = receiptPlanOf(kContract);
        if (!rows || rows->size() != size_t(kInstalments)) fail(QStringLiteral("refresh"));
        if (rows->front().received != Decimal::fromCents(20010)) fail(QStringLiteral("received sum"));
        benchmark::DoNotOptimize(rows->back().id);
    }
}

// The same rows by a query that reads only this contract's receipts.
void BM_RestrictedQuery(benchmark::State& state)
{
    database();
    for (auto _ : state) {
        Statement st(QStringLiteral(
                         "SELECT p.ID, p.收款日期, p.收款金额, YS.已收金额 FROM 合同收款计划表 p LEFT JOIN "
                         "(SELECT 合同收款计划ID, SUM(收款金额) AS 已收金额 FROM 合同收款记录 WHERE 合同收款计划ID IN "
                         "(SELECT ID FROM 合同收款计划表 WHERE 合同编号 = ?) GROUP BY 合同收款计划ID) YS "
                         "ON p.ID = YS.合同收款计划ID WHERE p.合同编号 = ? ORDER BY p.收款日期"),
                     {kContract, kContract});
        if (!st.exec()) fail(st.error().description);
        int n = 0;
        while (st.next()) ++n;
        if (n != kInstalments) fail(QStringLiteral("restricted"));
    }
}

// The grouping over every receipt of the company that the refresh avoids;
// its sums for the contract equal the refresh's.
void BM_GroupEveryReceipt(benchmark::State& state)
{
    database();
    for (auto _ : state) {
        Statement st(QStringLiteral(
                         "SELECT 合同收款计划表.ID, 收款日期, 收款金额, 已收金额 FROM 合同收款计划表 Left Join "
                         "(SELECT 合同收款计划ID, SUM(收款金额) AS 已收金额 From 合同收款记录 GROUP BY 合同收款计划ID) As YS "
                         "On 合同收款计划表.ID = YS.合同收款计划ID WHERE 合同编号 = ? Order By 收款日期"),
                     {kContract});
        if (!st.exec()) fail(st.error().description);
        std::vector<std::optional<qint64>> sums;
        while (st.next()) sums.push_back(centsOf(st.value(3)));
        state.PauseTiming();
        const auto mine = receiptPlanOf(kContract);
        if (!mine || sums.size() != mine->size()) fail(QStringLiteral("grouped"));
        for (size_t i = 0; i < sums.size(); ++i)
            if (sums[i] != (*mine)[i].received.cents()) fail(QStringLiteral("sums differ"));
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_SelfNumberedBill)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ProbePerNumber)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RefreshPlan)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RestrictedQuery)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_GroupEveryReceipt)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) { return corvane::bench::runBenchmarks(argc, argv); }
