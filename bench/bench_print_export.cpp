// The print-file export window with a batch of 1,000 invoices (5,000 grid
// rows, 1,000 payer pictures): building the batch grid, and exporting the
// batch into a copy of the template workbook. No database takes part. The
// peak resident memory of the run is printed at the end.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <sys/resource.h>

#include "platform/Xlsx.h"
#include "bills/frm打印文件导出.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::receipts;

namespace {

constexpr int kInvoices = 1000;

[[noreturn]] void fail(const QString& what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

struct Batch {
    QTemporaryDir dir;
    发票打印数据 records;
    QString templatePath;

    Batch()
    {
        records.resize(kInvoices + 1);
        for (int i = 1; i <= kInvoices; ++i) {
            发票打印记录& r = records[size_t(i)];
            r.开票项目 = QStringLiteral("0706 租赁业");
            r.付款方类型 = QStringLiteral("0 个人");
            r.付款方名称 = QStringLiteral("翠湖花园%1栋业主").arg(i);
            r.付款方手机号码 = QStringLiteral("138%1").arg(10000000 + i);
            r.付款方证件类型 = QStringLiteral("6 身份证");
            r.付款方证件号码 = QStringLiteral("44010619800101%1").arg(1000 + i % 9000);
            r.合计金额 = QStringLiteral("1650.00");
            r.明细 = QStringLiteral("房租,1000.00,一月|物业费,500.00,一月|水费,100.00,|电费,50.00,|");
        }
        xlsx::SheetContent sheet(kPrintSheet);
        const QStringList heads{"序号", "发票种类", "开票项目", "付款方类型", "手机", "付款方名称", "证件类型",
                                "证件号码", "合计金额", "附注", "开票项目说明", "金额", "备注"};
        for (int c = 0; c < heads.size(); ++c) sheet.setText(0, c, heads[c]);
        templatePath = dir.filePath(QStringLiteral("模板.xlsx"));
        if (!xlsx::writeWorkbook(templatePath, {sheet})) fail(QStringLiteral("template"));
    }
};

Batch& batch()
{
    static Batch b;
    return b;
}

frm打印文件导出* window()
{
    auto* w = Forms::get<frm打印文件导出>();
    w->beginExport(QString(), &batch().records, QStringLiteral("01"), QStringLiteral("地税通用发票"));
    w->Text1[0]->setText(batch().templatePath);
    w->Text1[1]->setText(batch().dir.path() + u'/');
    w->Text3->setText(QStringLiteral("0706 租赁业"));
    w->Text4->setText(QStringLiteral("10000004 广东省地方税收通用发票（电子-单联平推式）"));
    return w;
}

void BM_BuildBatchGrid(benchmark::State& state)
{
    auto* w = window();
    for (auto _ : state) {
        w->建立批处理表格();
        if (w->MSFlexGrid1->Rows() != kInvoices * 5 + 1) fail(QStringLiteral("rows"));
    }
}

void BM_BatchExport(benchmark::State& state)
{
    auto* w = window();
    w->建立批处理表格();
    for (auto _ : state) {
        if (!w->导出文件()) fail(QStringLiteral("export"));
    }
    xlsx::WorkbookReader r;
    if (!r.open(w->导出文件路径)) fail(QStringLiteral("read back"));
    const auto sheet = r.sheet(kPrintSheet);
    if (!sheet || sheet->text(4 * (kInvoices - 1) + 1, 0) != QString::number(kInvoices)) fail(QStringLiteral("last invoice"));
}

}  // namespace

BENCHMARK(BM_BuildBatchGrid)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_BatchExport)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::installTestEnvironment();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    printf("peak resident memory: %ld MiB\n", usage.ru_maxrss / 1024);
    Forms::unload<frm打印文件导出>();
    return 0;
}
