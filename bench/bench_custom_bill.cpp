// The custom bill page of a layout of 2,000 elements (200 ruled lines, 300
// fixed texts, 1,500 field boxes, every box filled), on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL:
// - building it: the layout read from the four layout tables and the page
//   built (goal: under 0.5 s);
// - printing it to a PDF file (goal: under 1 s).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "platform/PrintSurface.h"
#include "bills/CustomBillStore.h"
#include "testsupport/PdfPrinter.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;
using namespace corvane::receipts;

namespace {

constexpr int kLines = 200, kTexts = 300, kFields = 1500;

class Database {
public:
    Database()
    {
        openFreshDatabase(QStringLiteral("custom_bill"), m_dir);
        fill();
    }

private:
    static void must(const DbResult<int>& r)
    {
        if (!r) fail(r.error().description);
    }
    void fill()
    {
        Transaction tx;
        must(executeQuiet(QStringLiteral("INSERT INTO 票据自定义格式 (部门编号, 格式名称, 宽, 高, 编号字, 票据管理) "
                                         "VALUES ('D01', '大票据', 210, 297, 'ZD', 0)")));
        for (int i = 0; i < kLines; ++i)
            must(executeQuiet(QStringLiteral("INSERT INTO 票据自定义格式线 (格式ID, X1, Y1, X2, Y2, W) VALUES (1, 5, ?, 205, ?, 1)"),
                              {5 + i * 1.4, 5 + i * 1.4}));
        for (int i = 0; i < kTexts; ++i)
            must(executeQuiet(QStringLiteral("INSERT INTO 票据自定义格式文字 (格式ID, 内容, L, T, 字体, 字号, 粗体) "
                                             "VALUES (1, ?, ?, ?, '宋体', 9, 0)"),
                              {QStringLiteral("文字%1").arg(i), 5 + (i % 6) * 33, 5 + (i / 6) * 5.5}));
        const char* names[] = {"项目", "摘要", "计量单位", "数量", "单价", "金额", "税额", "税率", "付款人", "备注"};
        for (int i = 0; i < kFields; ++i)
            must(executeQuiet(QStringLiteral("INSERT INTO 票据自定义格式内容 (格式ID, 内容, L, T, W, 行, 字体, 字号, 粗体) "
                                             "VALUES (1, ?, ?, ?, 18, ?, '宋体', 8, 0)"),
                              {QString::fromUtf8(names[i % 10]), 5 + (i % 10) * 20, 5 + (i / 10) * 1.9, i / 10 + 1}));
        if (!tx.commit()) fail(tx.error().description);
    }

    QTemporaryDir m_dir;
};

Database& database()
{
    static Database db;
    return db;
}

BillPage builtPage()
{
    auto layout = readBillLayout(QStringLiteral("大票据"), QString(), QStringLiteral("D01"));
    if (!layout || !*layout) fail(QStringLiteral("no layout"));
    BillPage page;
    if (!buildPage(page, **layout).ok) fail(QStringLiteral("build failed"));
    return page;
}

void BM_BuildPage(benchmark::State& state)
{
    database();
    for (auto _ : state) {
        BillPage page = builtPage();
        benchmark::DoNotOptimize(page);
    }
}

void BM_PrintPage(benchmark::State& state)
{
    database();
    BillPage page = builtPage();
    for (auto& list : page.fields)
        for (size_t i = 1; i < list.size(); ++i) list[i].text = QStringLiteral("12345.67");
    QTemporaryDir dir;
    test::installTestPrinters(dir.path());
    for (auto _ : state) {
        const auto job = Printing::startJob(QStringLiteral("票据"));
        if (!printPage(page, *job)) fail(job->lastError());
    }
    Printing::setDevices(nullptr);
}

}  // namespace

BENCHMARK(BM_BuildPage)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PrintPage)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) { return corvane::bench::runBenchmarks(argc, argv); }
