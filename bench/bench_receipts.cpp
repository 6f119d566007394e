// The receipt window against a company's database, on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL:
// - opening the window on a contract of 24 instalments (its own 20 and its
//   merged supplement's 4) while 合同收款计划表 holds 1,000,000 instalments
//   of 100,000 other contracts with 500,000 receipts, against the bare
//   forward-only read of the window's instalment statement, in alternating
//   rounds, the window closed before left to the event loop as the program
//   leaves it (case receipt-window-open);
// - taking the next self-numbered bill of a layout whose 20,000 bills were
//   recorded without printing (no 流水号), where probing one number at a
//   time would run 20,000 queries.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "Company.h"
#include "app/LoginContext.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "platform/Amounts.h"
#include "receipts/BillStore.h"
#include "receipts/ReceiptStore.h"
#include "receipts/frm合同收款.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;
using namespace corvane::receipts;

namespace {

constexpr int kBills = 20000;

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
        runSql(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号, 开票部门编号) SELECT 'ZD', %1, 'D01' FROM %2")
                   .arg(eightDigits(QStringLiteral("n")), series(kBills)));
        fillCompany(Plans::Receipt);
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

// The window closed by the clerk is gone once the event loop runs again:
// the last one unloaded, and what it left to the event loop done, untimed.
void closeWindow()
{
    Forms::unload<frm合同收款>();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window as the contract list opens it: loaded afresh, handed the
// contract, activated (its lists, the payer, the instalment grid).
int openWindow()
{
    auto* w = Forms::get<frm合同收款>();
    w->takeHandover({kBenchContract, QStringLiteral("基准合同"), QStringLiteral("D9 第9管理处"), QString()});
    w->Form_Activate();
    return w->MSFlexGrid1->Rows() - 1;
}

// The window's instalment statement run bare.
int rawPlan() { return int(readBare(receiptPlanSql(), {kBenchContract, kBenchContract}, 4)); }

void windowOpen()
{
    Login().当前部门编号 = QStringLiteral("D9");
    Login().当前部门名称 = QStringLiteral("第9管理处");
    Login().当前岗位代号 = QStringLiteral("P01");
    if (openWindow() != kBenchInstalments || rawPlan() != kBenchInstalments) fail(QStringLiteral("the window lost instalments"));
    closeWindow();
    // Every second instalment holds one receipt of 500.
    const auto plan = receiptPlanOf(kBenchContract);
    if (!plan) fail(plan.error().description);
    Decimal received;
    for (const PlanRow& r : *plan) received = received + r.received;
    if (received != Decimal::whole(500 * kBenchInstalments / 2)) fail(QStringLiteral("received sums"));
    const Medians m = alternate(15, [] { rawPlan(); }, [] { openWindow(); }, [] { closeWindow(); });
    reportCase("receipt-window-open", kBenchInstalments, m);
    closeWindow();
}

}  // namespace

BENCHMARK(BM_SelfNumberedBill)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ProbePerNumber)->Unit(benchmark::kMillisecond)->Iterations(3);
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    const double built = millisecondsOf([] { database(); });
    fprintf(stderr, "database built in %.1f s\n", built / 1000);
    windowOpen();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::_Exit(0);
}
