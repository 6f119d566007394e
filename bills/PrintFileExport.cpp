#include "bills/PrintFileExport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <filesystem>
#include <set>
#include <string>

#include "platform/Services.h"
#include "platform/TextFile.h"

namespace corvane::receipts {

QStringList detailLines(const QString& 明细)
{
    QStringList pieces = 明细.split(u'|');
    pieces.removeLast();
    return pieces;
}

std::array<QString, 3> detailParts(const QString& line)
{
    const QStringList parts = line.split(u',');
    std::array<QString, 3> out;
    for (int i = 0; i < 3 && i < parts.size(); ++i) out[size_t(i)] = parts[i];
    return out;
}

std::optional<QString> checkSingleInvoice(const SingleInvoice& f)
{
    if (f.开票项目.isEmpty() || f.发票种类.isEmpty()) return QStringLiteral("请选择开票项目及发票种类");
    if (f.名称.isEmpty()) return QStringLiteral("没有输入付款方名称");
    if (f.证件类型.isEmpty()) return QStringLiteral("没有选择付款方证件");
    for (int r = 1; r <= kDetailRows; ++r) {
        const QString& item = f.明细[size_t(r - 1)];
        const QString& amount = f.明细[size_t(r + 4)];
        const QString& remark = f.明细[size_t(r + 9)];
        if ((!item.isEmpty() || !amount.isEmpty() || !remark.isEmpty()) && (item.isEmpty() || amount.isEmpty()))
            return QStringLiteral("第%1行发票明细数据不完整").arg(r);
    }
    return std::nullopt;
}

std::optional<QString> checkBatch(const QString& 开票项目, const QString& 发票种类, const 发票打印数据& records,
                                  const std::vector<BatchGridRow>& grid)
{
    if (开票项目.isEmpty() || 发票种类.isEmpty()) return QStringLiteral("请选择开票项目及发票种类");
    for (size_t n = 1; n < records.size(); ++n) {
        const 发票打印记录& r = records[n];
        if (r.付款方类型.isEmpty()) return QStringLiteral("第%1份发票的收款方式没有选择").arg(n);
        if (r.付款方名称.isEmpty()) return QStringLiteral("第%1份发票没有输入付款方名称").arg(n);
        if (r.付款方证件类型.isEmpty()) return QStringLiteral("第%1份发票没有选择付款方证件").arg(n);
    }
    for (const BatchGridRow& row : grid)
        if ((!row.item.isEmpty() || !row.amount.isEmpty() || !row.remark.isEmpty()) &&
            (row.item.isEmpty() || row.amount.isEmpty()))
            return QStringLiteral("第%1份发票明细数据不完整").arg(row.invoice);
    return std::nullopt;
}

QString singleExportFileName(const QString& payerName, const QString& suffix)
{
    QString name = payerName;
    name.remove(u' ');
    name.remove(QStringLiteral("\r\n"));
    name.remove(u'\n');
    for (QChar& c : name)
        if (QStringView(u"\\/:*?\"<>|").contains(c)) c = u'_';
    return name + u'.' + suffix;
}

QString batchExportFileName(const QDateTime& now, const QString& suffix)
{
    return QStringLiteral("批处理票据打印文件") + now.toString(QStringLiteral("yyyyMMddHHmmss")) + u'.' + suffix;
}

namespace {

std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// Every export file made in this run, as the file system names it.
std::set<std::string>& madeFiles()
{
    static std::set<std::string> files;
    return files;
}

std::string fileKey(const QString& path)
{
    std::error_code ec;
    const auto canonical = std::filesystem::weakly_canonical(fsPath(path), ec);
    return ec ? fsPath(path).string() : canonical.string();
}

}  // namespace

QString exportTargetRefusal(const QString& target, const QString& templatePath)
{
    std::error_code ec;
    if (std::filesystem::equivalent(fsPath(target), fsPath(pathInAnyCase(templatePath)), ec))
        return QStringLiteral("导出文件“%1”就是模板文件，不能覆盖模板，未导出").arg(target);
    if (QFileInfo::exists(target) && !madeFiles().count(fileKey(target)))
        return QStringLiteral("导出文件“%1”已存在，它不是本程序导出的文件，未导出。请移走该文件或核对导出文件夹后再导出")
            .arg(target);
    return QString();
}

void rememberExportFile(const QString& path) { madeFiles().insert(fileKey(path)); }

xlsx::Cell sheetValue(const QString& text, bool textColumn)
{
    static const QRegularExpression plainNumber(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!textColumn && plainNumber.match(text).hasMatch()) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (ok) return xlsx::Cell::fromNumber(v);
    }
    return xlsx::Cell::fromText(text);
}

namespace {

bool isTextColumn(int col)
{
    return std::find(kPrintTextColumns.begin(), kPrintTextColumns.end(), col) != kPrintTextColumns.end();
}

std::vector<xlsx::Cell> sheetRow(int number, const std::array<QString, 9>* invoice, const std::array<QString, 3>& line)
{
    std::vector<xlsx::Cell> cells(size_t(kPrintLastCol - kPrintFirstCol + 1));
    if (invoice) {
        cells[0] = xlsx::Cell::fromNumber(number);
        for (int c = 1; c <= 9; ++c) cells[size_t(c)] = sheetValue((*invoice)[size_t(c - 1)], isTextColumn(c));
    }
    for (int k = 0; k < 3; ++k) cells[size_t(10 + k)] = sheetValue(line[size_t(k)], isTextColumn(10 + k));
    return cells;
}

}  // namespace

std::vector<std::vector<xlsx::Cell>> singleSheetRows(const SingleInvoice& f)
{
    const std::array<QString, 9> invoice{f.发票种类, f.开票项目, f.付款方类型, f.手机, f.名称,
                                         f.证件类型, f.证件号码, f.合计金额, f.附注};
    std::vector<std::vector<xlsx::Cell>> rows;
    for (int i = 0; i < kDetailRows; ++i) {
        if (f.明细[size_t(i)].isEmpty()) break;
        rows.push_back(sheetRow(1, i == 0 ? &invoice : nullptr,
                                {f.明细[size_t(i)], f.明细[size_t(i + 5)], f.明细[size_t(i + 10)]}));
    }
    return rows;
}

std::vector<std::vector<xlsx::Cell>> batchSheetRows(const QString& 发票种类, const 发票打印数据& records,
                                                     const std::vector<BatchGridRow>& grid)
{
    std::vector<std::vector<xlsx::Cell>> rows;
    rows.reserve(grid.size());
    int current = 0;
    std::vector<xlsx::Cell>* open = nullptr;  // the row holding an invoice's columns and no line yet
    for (const BatchGridRow& g : grid) {
        const int n = g.invoice.toInt();
        if (n != current) {
            current = n;
            const 发票打印记录 empty;
            const 发票打印记录& r = n >= 1 && size_t(n) < records.size() ? records[size_t(n)] : empty;
            const std::array<QString, 9> invoice{发票种类, r.开票项目, r.付款方类型, r.付款方手机号码, r.付款方名称,
                                                 r.付款方证件类型, r.付款方证件号码, r.合计金额, QString()};
            if (open) {
                // The last invoice wrote no line: its row takes this one's columns.
                *open = sheetRow(n, &invoice, {});
            } else {
                rows.push_back(sheetRow(n, &invoice, {}));
                open = &rows.back();
            }
        }
        if (!g.item.isEmpty() && !g.amount.isEmpty()) {
            const std::array<QString, 3> line{g.item, g.amount, g.remark};
            if (!open) {
                rows.push_back(sheetRow(n, nullptr, line));
            } else {
                for (int k = 0; k < 3; ++k) (*open)[size_t(10 + k)] = sheetValue(line[size_t(k)], isTextColumn(10 + k));
                open = nullptr;
            }
        }
    }
    return rows;
}

PrintFileOutcome fillPrintFile(const QString& path, std::vector<std::vector<xlsx::Cell>> rows, QString* error)
{
    xlsx::TemplateFill fill;
    fill.sheetName = kPrintSheet;
    fill.keepRows = 1;
    fill.firstCol = kPrintFirstCol;
    fill.lastCol = kPrintLastCol;
    fill.textColumns = kPrintTextColumns;
    fill.rows = std::move(rows);
    switch (xlsx::fillTemplateSheet(path, fill, error)) {
    case xlsx::TemplateFillOutcome::Done: return PrintFileOutcome::Done;
    case xlsx::TemplateFillOutcome::NoSheet: return PrintFileOutcome::NotTemplate;
    case xlsx::TemplateFillOutcome::Failed: break;
    }
    return PrintFileOutcome::Failed;
}

std::optional<QStringList> readExportSettings(const QString& path, QString* error)
{
    const auto text = readSmallGbkFile(path, error);
    if (!text) return std::nullopt;
    return readDelimitedFields(*text);
}

bool writeExportSettings(const QString& path, const QStringList& values, QString* error)
{
    return writeGbkValues(path, values, error);
}

QString dialogFilter(const QString& oldFilter)
{
    const QStringList parts = oldFilter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) continue;
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << parts[i] + QStringLiteral(" (") + patterns + u')';
    }
    return out.join(QStringLiteral(";;"));
}

QString folderOfPickedFile(const QString& file)
{
    if (file.isEmpty()) return QString();
    const QChar sep = file.contains(u'/') ? u'/' : u'\\';
    QStringList parts = file.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    parts.removeLast();
    QString folder;
    for (const QString& p : parts) folder += p + sep;
    return folder;
}

}  // namespace corvane::receipts
