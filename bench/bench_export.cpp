// Exporting a contract-list-like grid (25 columns) to a new workbook through
// the export window, against libxlsxwriter writing the same cells directly in
// constant-memory mode; and the same grid through the simpler export window,
// which reads every cell's italic state and colour and fits the columns. Run with --rss to also print the memory an export of
// 25,000, 50,000 and 100,000 rows adds to the filled grid, each size in a
// process of its own.

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <variant>

#include "app/frmToExcel.h"
#include "app/frm输出到Excel文件.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

namespace {

constexpr int kCols = 25;
// Columns that hold amounts: right-aligned, so the export writes numbers.
constexpr bool kAmount[kCols] = {false, false, false, false, false, true,  true,  false, false,
                                 false, false, false, false, true,  false, false, false, false,
                                 false, true,  false, false, false, false, false};

QString cellText(int row, int col)
{
    static const QString names[] = {QStringLiteral("物业管理服务合同"), QStringLiteral("电梯维修保养合同"),
                                    QStringLiteral("绿化养护合同"), QStringLiteral("保洁外包合同")};
    static const QString states[] = {QStringLiteral("履行中"), QStringLiteral("已签订"), QStringLiteral("已到期")};
    if (kAmount[col]) return QString::number((row * 7919 + col * 131) % 10000000 / 100.0, 'f', 2);
    switch (col % 6) {
    case 0: return QStringLiteral("HT%1-%2").arg(2026).arg(row, 6, 10, QLatin1Char('0'));
    case 1: return names[(row + col) % 4];
    case 2: return QStringLiteral("2026-%1-%2").arg(row % 12 + 1, 2, 10, QLatin1Char('0')).arg(row % 28 + 1, 2, 10, QLatin1Char('0'));
    case 3: return states[row % 3];
    case 4: return QStringLiteral("D%1 第%2管理处").arg(row % 40, 2, 10, QLatin1Char('0')).arg(row % 40);
    default: return row % 5 == 0 ? QString() : QStringLiteral("0%1").arg(row % 1000);
    }
}

std::unique_ptr<FlexGrid> makeGrid(int rows)
{
    auto g = std::make_unique<FlexGrid>();
    g->setFixedCols(0);
    g->setCols(kCols);
    g->setRows(1);
    g->setFixedRows(1);
    for (int c = 0; c < kCols; ++c) {
        g->setTextMatrix(0, c, QStringLiteral("列%1").arg(c + 1));
        g->setColAlignment(c, kAmount[c] ? flexAlignRightCenter : flexAlignLeftCenter);
        g->setColWidth(c, c >= 19 ? 0 : 1200 + 30 * c);
    }
    std::vector<std::vector<QString>> data(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        auto& cells = data[size_t(r)];
        cells.reserve(kCols);
        for (int c = 0; c < kCols; ++c) cells.push_back(cellText(r, c));
    }
    g->setRowsData(std::move(data));
    return g;
}

frmToExcel* preparedWindow(FlexGrid& grid, const QString& file)
{
    auto* f = Forms::get<frmToExcel>();
    f->Grid1->setCols(grid.Cols());
    for (int c = 0; c < grid.Cols(); ++c) {
        f->Grid1->setTextMatrix(0, c, grid.TextMatrix(0, c));
        f->Grid1->setTextMatrix(1, c, QStringLiteral("√"));
    }
    f->setGrid(&grid);
    f->Text1[0]->setText(file);
    f->Text1[1]->setText(QStringLiteral("合同信息"));
    f->Text1[2]->setText(QStringLiteral("合同列表"));
    f->Check1->setChecked(false);
    return f;
}

bool exportGrid(FlexGrid& grid, const QString& file)
{
    QFile::remove(file);
    frmToExcel* f = preparedWindow(grid, file);
    QString error;
    const bool ok = f->To_Execl(&grid, f->Text1[1]->text(), f->Text1[2]->text(), &error);
    if (!ok) std::fprintf(stderr, "export failed: %s\n", qPrintable(error));
    return ok;
}

FlexGrid& cachedGrid(int rows)
{
    static std::map<int, std::unique_ptr<FlexGrid>> grids;
    auto& g = grids[rows];
    if (!g) g = makeGrid(rows);
    return *g;
}

QString scratchFile(const char* name)
{
    static QTemporaryDir dir;
    return dir.filePath(QString::fromLatin1(name));
}

void BM_ExportWindow(benchmark::State& state)
{
    const int rows = int(state.range(0));
    FlexGrid& grid = cachedGrid(rows);
    const QString file = scratchFile("window.xlsx");
    for (auto _ : state)
        if (!exportGrid(grid, file)) state.SkipWithError("export failed");
    state.counters["rows/s"] = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = double(QFile(file).size()) / 1e6;
}

// Every column; each cell's italic state and colour are read for its format.
void BM_SecondExportWindow(benchmark::State& state)
{
    const int rows = int(state.range(0));
    FlexGrid& grid = cachedGrid(rows);
    const QString file = scratchFile("second.xlsx");
    for (auto _ : state) {
        QFile::remove(file);
        auto* f = Forms::get<frm输出到Excel文件>();
        f->setGrid(&grid);
        f->Text1[0]->setText(file);
        f->Text1[2]->setText(QStringLiteral("合同列表"));
        f->Check1->setChecked(false);
        if (!f->To_Execl(&grid, f->Text1[1]->text(), f->Text1[2]->text())) state.SkipWithError("export failed");
    }
    state.counters["rows/s"] = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = double(QFile(file).size()) / 1e6;
}

// The same cells, already UTF-8 or numbers, written with libxlsxwriter alone.
using Value = std::variant<std::monostate, std::string, double>;
struct DirectData {
    std::vector<Value> cells;  // row-major, (rows + 1) x kCols
    std::vector<double> widths;
};

const DirectData& directData(int rows)
{
    static std::map<int, DirectData> cache;
    DirectData& d = cache[rows];
    if (!d.cells.empty()) return d;
    FlexGrid& grid = cachedGrid(rows);
    d.cells.reserve(size_t(rows + 1) * kCols);
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const QString t = grid.TextMatrix(r, c);
            double v;
            if (t.isEmpty())
                d.cells.emplace_back();
            else if (r > 0 && kAmount[c] && parsePlainNumber(t, &v))
                d.cells.emplace_back(v);
            else
                d.cells.emplace_back(t.toStdString());
        }
    for (int c = 0; c < kCols; ++c) d.widths.push_back(grid.ColWidth(c) / 100.0);
    return d;
}

void writeDirect(const DirectData& d, int rows, const std::string& path)
{
    lxw_workbook_options options{};
    options.constant_memory = 1;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    workbook_add_worksheet(book, "Sheet1");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "合同列表");
    worksheet_activate(sheet);
    const auto rowFormat = [&](double size, uint8_t h) {
        lxw_format* f = workbook_add_format(book);
        format_set_font_size(f, size);
        format_set_align(f, h);
        format_set_align(f, LXW_ALIGN_VERTICAL_DISTRIBUTED);
        return f;
    };
    lxw_format* heads[3] = {rowFormat(18, LXW_ALIGN_CENTER), rowFormat(12, LXW_ALIGN_CENTER), rowFormat(10, LXW_ALIGN_RIGHT)};
    lxw_format* firstRow = workbook_add_format(book);
    format_set_align(firstRow, LXW_ALIGN_CENTER);
    format_set_align(firstRow, LXW_ALIGN_VERTICAL_DISTRIBUTED);
    lxw_format *data[2], *first[2];
    for (int numeric = 0; numeric < 2; ++numeric) {
        for (lxw_format** slot : {&data[numeric], &first[numeric]}) {
            *slot = workbook_add_format(book);
            format_set_num_format(*slot, numeric ? "0.00_ " : "@");
            format_set_font_size(*slot, 10.5);
            format_set_border(*slot, LXW_BORDER_THIN);
        }
        format_set_align(first[numeric], LXW_ALIGN_CENTER);
        format_set_align(first[numeric], LXW_ALIGN_VERTICAL_DISTRIBUTED);
    }
    for (int c = 0; c < kCols; ++c) {
        lxw_row_col_options o{};
        o.hidden = d.widths[size_t(c)] == 0;
        worksheet_set_column_opt(sheet, lxw_col_t(c), lxw_col_t(c), d.widths[size_t(c)], nullptr, &o);
    }
    const char* headTexts[3] = {"合同信息", nullptr, "打印日期：2026年12月10日"};
    for (int r = 0; r < 3; ++r) {
        worksheet_set_row(sheet, lxw_row_t(r), LXW_DEF_ROW_HEIGHT, heads[r]);
        for (int c = 0; c < kCols; ++c) {
            if (c == 0 && headTexts[r])
                worksheet_write_string(sheet, lxw_row_t(r), 0, headTexts[r], heads[r]);
            else
                worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), heads[r]);
        }
    }
    worksheet_set_row(sheet, 3, LXW_DEF_ROW_HEIGHT, firstRow);
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            lxw_format* f = (r == 0 ? first : data)[kAmount[c] ? 1 : 0];
            const Value& v = d.cells[size_t(r) * kCols + size_t(c)];
            const auto row = lxw_row_t(r + 3);
            if (const auto* s = std::get_if<std::string>(&v))
                worksheet_write_string(sheet, row, lxw_col_t(c), s->c_str(), f);
            else if (const auto* n = std::get_if<double>(&v))
                worksheet_write_number(sheet, row, lxw_col_t(c), *n, f);
            else
                worksheet_write_blank(sheet, row, lxw_col_t(c), f);
        }
    }
    for (int r = 0; r < 3; ++r) {
        auto* m = static_cast<lxw_merged_range*>(calloc(1, sizeof(lxw_merged_range)));
        m->first_row = m->last_row = lxw_row_t(r);
        m->first_col = 0;
        m->last_col = kCols - 1;
        STAILQ_INSERT_TAIL(sheet->merged_ranges, m, list_pointers);
        ++sheet->merged_range_count;
    }
    workbook_close(book);
}

void BM_DirectLibxlsxwriter(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const DirectData& d = directData(rows);
    const std::string path = QFile::encodeName(scratchFile("direct.xlsx")).toStdString();
    for (auto _ : state) {
        std::remove(path.c_str());
        writeDirect(d, rows, path);
    }
    state.counters["rows/s"] = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = double(QFile(QString::fromStdString(path)).size()) / 1e6;
}

BENCHMARK(BM_ExportWindow)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_SecondExportWindow)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_DirectLibxlsxwriter)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3);

// Resident and peak resident memory of this process (VmRSS, VmHWM), in KiB.
// getrusage's high-water mark survives exec, so a child started by a large
// benchmark process would report the parent's peak; VmHWM belongs to this
// process's own memory and can be reset.
long statusKiB(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(int(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

// In a process of its own, so nothing else of the benchmark is resident.
int measureMemory(int rows)
{
    auto grid = makeGrid(rows);
    const long filled = statusKiB("VmRSS:");
    resetPeak();
    if (!exportGrid(*grid, scratchFile("rss.xlsx"))) return 1;
    const long peak = statusKiB("VmHWM:");
    std::printf("%d %ld %ld\n", rows, filled, peak);
    return 0;
}

void reportMemory(const char* self)
{
    std::printf("\nMemory (KiB), one process per size:\n%8s %14s %18s %14s\n", "rows", "grid filled",
                "peak during export", "export adds");
    for (int rows : {25000, 50000, 100000}) {
        QProcess p;
        p.start(QString::fromLocal8Bit(self), {QStringLiteral("--rss-child=%1").arg(rows)});
        p.waitForFinished(-1);
        const QStringList f = QString::fromLatin1(p.readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts);
        if (f.size() != 3) {
            std::printf("%8d  (failed: %s)\n", rows, p.readAllStandardError().constData());
            continue;
        }
        std::printf("%8d %14ld %18ld %14ld\n", rows, f[1].toLong(), f[2].toLong(), f[2].toLong() - f[1].toLong());
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    bool rss = false;
    int child = 0;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rss") == 0)
            rss = true;
        else if (std::strncmp(argv[i], "--rss-child=", 12) == 0)
            child = std::atoi(argv[i] + 12);
        else
            args.push_back(argv[i]);
    }
    int n = int(args.size());
    QApplication app(n, args.data());
    test::installTestEnvironment();
    if (child > 0) return measureMemory(child);

    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;
    if (rss) reportMemory(argv[0]);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
