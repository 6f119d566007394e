// The payment window's two heavy reads on SQLite: the budget check of one
// department and subject while 报销单表 holds 500,000 forms of 200
// departments and the income vouchers 100,000 lines, against a raw sum of
// the same rows (goal: within 50 ms); and the instalment refresh of one
// contract while 合同付款记录 holds 1,000,000 records (goal: within
// 100 ms), beside the paid sums grouped over the whole table.

#include <benchmark/benchmark.h>

#include "BenchDatabase.h"

#include <QApplication>

#include "db/Sql.h"
#include "payments/PaymentStore.h"
#include "payments/frm合同付款处理.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::payments;

namespace {

using bench::fail;

void run(const QString& sql)
{
    const auto r = executeQuiet(sql);
    if (!r) fail(sql + QStringLiteral(": ") + r.error().description);
}

class BudgetDatabase : public bench::EmptyDatabase {
public:
    BudgetDatabase()
    {
        Transaction tx;
        run(QStringLiteral(
            "INSERT INTO 报销单表 (报销单编号, 流水号, 部门代号, 报批日期, 审批通过, 报销类型, 报销单类型, 出纳退回) "
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 499999) "
            "SELECT 'F' || i, i, 'D' || printf('%03d', i % 200), date('2026-01-01', '+' || (i % 365) || ' days'), 0, "
            "CASE WHEN i % 7 = 0 THEN '非预算' ELSE '预算' END, '合同付款', 0 FROM n"));
        run(QStringLiteral("INSERT INTO 报销单明细 (报销单ID, 科目代号, 金额) SELECT 报销单ID, "
                           "CASE WHEN 报销单ID % 2 = 0 THEN '5501' ELSE '5502' END, 10.5 FROM 报销单表"));
        run(QStringLiteral("INSERT INTO 收入凭证 (收款部门编号, 凭证日期, 交审日期) "
                           "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 49999) "
                           "SELECT 'D' || printf('%03d', i % 200), date('2026-01-01', '+' || (i % 365) || ' days'), "
                           "date('2026-01-01', '+' || (i % 365) || ' days') FROM n"));
        run(QStringLiteral("INSERT INTO 收入凭证明细 (凭证ID, 科目代号, 科目名称, 贷方金额, 借方金额) "
                           "SELECT ID, '5501', '维修费', 100, 1 FROM 收入凭证 UNION ALL "
                           "SELECT ID, '5502', '绿化费', 100, 1 FROM 收入凭证"));
        run(QStringLiteral("INSERT INTO 财务科目 (科目代号, 科目名称, 预算, 支出项) VALUES ('5501', '维修费', 1, 1), ('5502', '绿化费', 1, 1)"));
        run(QStringLiteral("INSERT INTO 预算计划 (计划编号, 部门代号, 年度, 审核通过, 审核完成日期) VALUES ('P42', 'D042', '2026', 1, '2026-01-05')"));
        run(QStringLiteral("INSERT INTO 预算详细 (计划编号, 科目代码, 一月, 二月, 三月, 四月, 五月, 六月, 七月, 八月, 九月, 十月, 十一月, "
                           "十二月, 数据来源) VALUES ('P42', '5501', 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, '支出预算')"));
        if (!tx.commit()) fail(tx.error().description);
        run(QStringLiteral("ANALYZE"));
    }
};

void BM_BudgetCheck(benchmark::State& state)
{
    static BudgetDatabase db;
    for (auto _ : state) {
        const auto check = 检查预算余额(QStringLiteral("5501"), Decimal::whole(1), QStringLiteral("2026-12"), QStringLiteral("D042"));
        if (!check || !check->fits) fail(QStringLiteral("budget check"));
        benchmark::DoNotOptimize(check->balanceText);
    }
}

void BM_RawSumOfTheSameRows(benchmark::State& state)
{
    static BudgetDatabase db;
    for (auto _ : state) {
        const auto spent = selectRowsQuiet(
            DbConnection(),
            QStringLiteral("SELECT SUM(m.金额) FROM 报销单明细 m INNER JOIN 报销单表 f ON m.报销单ID = f.报销单ID "
                           "WHERE f.部门代号 = ? AND m.科目代号 = ?"),
            {QStringLiteral("D042"), QStringLiteral("5501")});
        const auto income = selectRowsQuiet(
            DbConnection(),
            QStringLiteral("SELECT SUM(vm.贷方金额), SUM(vm.借方金额) FROM 收入凭证 v INNER JOIN 收入凭证明细 vm ON v.ID = vm.凭证ID "
                           "WHERE v.收款部门编号 = ? AND vm.科目代号 = ?"),
            {QStringLiteral("D042"), QStringLiteral("5501")});
        if (!spent || !income) fail(QStringLiteral("raw sums"));
        benchmark::DoNotOptimize(spent->front().value(0));
    }
}

class PaymentRecordsDatabase : public bench::EmptyDatabase {
public:
    PaymentRecordsDatabase()
    {
        Transaction tx;
        // 100,000 instalments of 10,000 contracts, ten records each.
        run(QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额) "
                           "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99999) "
                           "SELECT 'HT-' || (i / 10), date('2020-01-01', '+' || (i % 10) || ' months'), 1000, 1000 FROM n"));
        run(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 作废, 凭证编号) "
                           "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999) "
                           "SELECT (i % 100000) + 1, 10, CASE WHEN i % 13 = 0 THEN 1 ELSE 0 END, 'F' || i FROM n"));
        run(QStringLiteral("INSERT INTO 合同信息 (合同编号, 合同金额) VALUES ('HT-5000', 1000000)"));
        if (!tx.commit()) fail(tx.error().description);
        run(QStringLiteral("ANALYZE"));
    }
};

void BM_RefreshOfOneContract(benchmark::State& state)
{
    static PaymentRecordsDatabase db;
    auto* w = Forms::get<frm合同付款处理>();
    w->Text3[0]->setText(QStringLiteral("HT-5000"));
    w->Text3[2]->setText(QStringLiteral("1000000.00"));
    for (auto _ : state) {
        w->刷新();
        if (w->MSFlexGrid1->Rows() != 11) fail(QStringLiteral("refresh rows"));
    }
}

void BM_PaidSumsGroupedOverTheWholeTable(benchmark::State& state)
{
    static PaymentRecordsDatabase db;
    for (auto _ : state) {
        const auto r = selectRowsQuiet(
            DbConnection(),
            QStringLiteral("SELECT ID, 付款日期, 付款金额, 余额, 已付金额 FROM 合同付款计划表 LEFT JOIN (SELECT 合同付款计划ID, "
                           "SUM(付款金额) AS 已付金额 FROM 合同付款记录 WHERE (作废 = 0) GROUP BY 合同付款计划ID) AS P "
                           "ON 合同付款计划表.ID = P.合同付款计划ID WHERE 合同编号 = ? ORDER BY 付款日期"),
            {QStringLiteral("HT-5000")});
        if (!r || r->size() != 10) fail(QStringLiteral("grouped sums"));
    }
}

}  // namespace

BENCHMARK(BM_BudgetCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawSumOfTheSameRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RefreshOfOneContract)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PaidSumsGroupedOverTheWholeTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) { return corvane::bench::runBenchmarks(argc, argv); }
