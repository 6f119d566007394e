#include "platform/Xlsx.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <xlsxwriter.h>

#include "platform/XlsxInternal.h"

namespace corvane::xlsx {

// ------------------------------------------------------------------ helpers

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

QString columnName(int col)
{
    if (col < 0 || col >= kMaxCols)
        return QString();
    QString name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

QString cellName(int row, int col)
{
    if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxCols)
        return QString();
    return columnName(col) + QString::number(row + 1);
}

bool isValidSheetName(const QString& name, QString* error)
{
    if (name.isEmpty())
        return fail(error, QStringLiteral("工作表名称不能为空"));
    if (name.size() > 31)
        return fail(error, QStringLiteral("工作表名称“%1”超过 31 个字符").arg(name));
    for (QChar c : name)
        if (QStringLiteral(":\\/?*[]").contains(c))
            return fail(error, QStringLiteral("工作表名称“%1”含有不允许的字符 : \\ / ? * [ ]").arg(name));
    if (name.startsWith(u'\'') || name.endsWith(u'\''))
        return fail(error, QStringLiteral("工作表名称“%1”不能以单引号开头或结尾").arg(name));
    if (name.compare(QStringLiteral("History"), Qt::CaseInsensitive) == 0)
        return fail(error, QStringLiteral("工作表名称“History”为 Excel 保留"));
    return true;
}

double storedColumnWidth(double characters)
{
    if (characters <= 0)
        return 0;
    const int pixels = characters < 1 ? int(characters * 12 + 0.5) : int(characters * 7 + 0.5) + 5;
    return double(int(pixels / 7.0 * 256.0)) / 256.0;
}

double characterWidth(double stored)
{
    const int pixels = int(stored * 7 + 0.5);
    return pixels <= 12 ? pixels / 12.0 : (pixels - 5) / 7.0;
}

namespace {

bool isExcelEscapeAt(const QString& t, qsizetype i)
{
    if (i + 6 >= t.size() || t[i] != u'_' || t[i + 1] != u'x' || t[i + 6] != u'_')
        return false;
    for (int k = 2; k < 6; ++k)
        if (!isxdigit(t[i + k].unicode() < 128 ? int(t[i + k].unicode()) : 0))
            return false;
    return true;
}

}  // namespace

void appendEscaped(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    bool plain = true;
    for (char c : utf8) {
        const auto u = uint8_t(c);
        if (u == '&' || u == '<' || u == '>' || u == '_' || (u < 0x20 && u != '\t' && u != '\n') || u == '\r') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out.append(utf8);
        return;
    }
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto u = uint8_t(utf8[i]);
        switch (u) {
        case '&': out.append("&amp;"); break;
        case '<': out.append("&lt;"); break;
        case '>': out.append("&gt;"); break;
        case '\r': out.append("&#13;"); break;
        case '_':
            // A literal "_xHHHH_" would otherwise read back as an escape.
            if (isExcelEscapeAt(QString::fromLatin1(utf8.mid(i, 7)), 0))
                out.append("_x005F_");
            else
                out.append('_');
            break;
        default:
            if (u < 0x20 && u != '\t' && u != '\n') {
                char buf[8];
                snprintf(buf, sizeof buf, "_x%04X_", u);
                out.append(buf);
            } else {
                out.append(char(u));
            }
        }
    }
}

QString unescapeExcel(const QString& text)
{
    if (!text.contains(QStringLiteral("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isExcelEscapeAt(text, i)) {
            out.append(QChar(char16_t(text.mid(i + 2, 4).toUShort(nullptr, 16))));
            i += 6;
        } else {
            out.append(text[i]);
        }
    }
    return out;
}

namespace {
struct BuiltIn {
    int id;
    const char* code;
};
// ECMA-376 built-in formats whose meaning does not depend on the locale.
constexpr BuiltIn kBuiltIns[] = {
    {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}, {9, "0%"}, {10, "0.00%"},
    {11, "0.00E+00"}, {12, "# ?/?"}, {13, "# ?\?/?\?"}, {14, "mm-dd-yy"}, {15, "d-mmm-yy"}, {16, "d-mmm"},
    {17, "mmm-yy"}, {18, "h:mm AM/PM"}, {19, "h:mm:ss AM/PM"}, {20, "h:mm"}, {21, "h:mm:ss"},
    {22, "m/d/yy h:mm"}, {37, "#,##0 ;(#,##0)"}, {38, "#,##0 ;[Red](#,##0)"}, {39, "#,##0.00;(#,##0.00)"},
    {40, "#,##0.00;[Red](#,##0.00)"}, {45, "mm:ss"}, {46, "[h]:mm:ss"}, {47, "mmss.0"}, {48, "##0.0E+0"},
    {49, "@"},
};
}  // namespace

int builtInNumberFormatId(const QString& code)
{
    if (code.isEmpty())
        return 0;
    // Only the codes with no locale variants are matched, so "0.00_ " stays custom.
    for (const BuiltIn& b : kBuiltIns)
        if (b.id <= 4 || b.id == 9 || b.id == 10 || b.id == 49)
            if (code == QLatin1String(b.code))
                return b.id;
    return -1;
}

QString builtInNumberFormatCode(int id)
{
    if (id == 0)
        return QString();
    for (const BuiltIn& b : kBuiltIns)
        if (b.id == id)
            return QString::fromLatin1(b.code);
    return QString();
}

const char* horizontalName(HAlign a)
{
    switch (a) {
    case HAlign::General: return nullptr;
    case HAlign::Left: return "left";
    case HAlign::Center: return "center";
    case HAlign::Right: return "right";
    case HAlign::Fill: return "fill";
    case HAlign::Justify: return "justify";
    case HAlign::CenterAcross: return "centerContinuous";
    case HAlign::Distributed: return "distributed";
    }
    return nullptr;
}

const char* verticalName(VAlign a)
{
    switch (a) {
    case VAlign::Bottom: return nullptr;
    case VAlign::Top: return "top";
    case VAlign::Center: return "center";
    case VAlign::Justify: return "justify";
    case VAlign::Distributed: return "distributed";
    }
    return nullptr;
}

QString temporaryPathBeside(const QString& target)
{
    // Not created here: the writer creates it, so it gets the usual permissions
    // rather than a temporary file's owner-only ones.
    const QFileInfo info(target);
    const QString name = QStringLiteral(".%1.%2.tmp").arg(info.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces));
    return info.absoluteDir().exists() ? info.absoluteDir().filePath(name) : QString();
}

bool replaceFile(const QString& temporary, const QString& target, QString* error)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(temporary).toStdString()),
                            std::filesystem::path(QFile::encodeName(target).toStdString()), ec);
    if (ec) {
        QFile::remove(temporary);
        return fail(error, QStringLiteral("无法保存文件 %1：%2").arg(target, QString::fromLocal8Bit(ec.message())));
    }
    return true;
}

// ------------------------------------------------------------------ SheetWriter

SheetWriter::SheetWriter(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {}
SheetWriter::~SheetWriter() = default;

void SheetWriter::fail(const QString& error)
{
    if (error_.isEmpty())
        error_ = error.isEmpty() ? QStringLiteral("写入已取消") : error;
}

FormatId SheetWriter::addFormat(const CellFormat& format)
{
    for (size_t i = 0; i < formats_.size(); ++i)
        if (formats_[i] == format)
            return FormatId(i);
    if (!ok())
        return kDefaultFormat;
    if (!(format.fontSize > 0 && format.fontSize <= 409)) {
        fail(QStringLiteral("字号 %1 无效").arg(format.fontSize));
        return kDefaultFormat;
    }
    QString e;
    if (!backend_->addFormat(format, &e)) {
        fail(e);
        return kDefaultFormat;
    }
    formats_.push_back(format);
    return FormatId(formats_.size() - 1);
}

void SheetWriter::setColumn(int col, double width, bool hidden)
{
    if (col < 0 || col >= kMaxCols)
        return fail(QStringLiteral("列号 %1 超出工作表范围").arg(col + 1));
    if (!(width >= 0 && width <= 255))
        return fail(QStringLiteral("列宽 %1 无效（0 到 255）").arg(width));
    columns_[col] = {width, hidden || width == 0};
}

void SheetWriter::autoFitColumns(int firstCol, int lastCol, int fromRow)
{
    if (firstCol < 0 || lastCol >= kMaxCols || firstCol > lastCol)
        return fail(QStringLiteral("自动列宽的列范围无效"));
    autoFits_.push_back({firstCol, lastCol, fromRow});
}

void SheetWriter::merge(const Range& r)
{
    if (r.firstRow < 0 || r.firstCol < 0 || r.lastRow >= kMaxRows || r.lastCol >= kMaxCols || r.firstRow > r.lastRow
        || r.firstCol > r.lastCol)
        return fail(QStringLiteral("合并区域 %1:%2 无效").arg(cellName(r.firstRow, r.firstCol), cellName(r.lastRow, r.lastCol)));
    if (r.firstRow == r.lastRow && r.firstCol == r.lastCol)
        return;
    for (const Range& m : merges_)
        if (m.intersects(r))
            return fail(QStringLiteral("合并区域 %1:%2 与已合并的 %3:%4 重叠")
                            .arg(cellName(r.firstRow, r.firstCol), cellName(r.lastRow, r.lastCol),
                                 cellName(m.firstRow, m.firstCol), cellName(m.lastRow, m.lastCol)));
    if (merges_.size() >= 65535)
        return fail(QStringLiteral("合并区域过多"));
    merges_.push_back(r);
}

bool SheetWriter::merged(int row, int col) const
{
    for (const Range& m : merges_)
        if (row >= m.firstRow && row <= m.lastRow && col >= m.firstCol && col <= m.lastCol)
            return true;
    return false;
}

namespace {
// Excel's AutoFit measures glyphs; East Asian wide characters are about two
// digits wide and everything else about one, at the default 11-point font.
double textUnits(const QString& text)
{
    double units = 0;
    double widest = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\n') {
            widest = std::max(widest, units);
            units = 0;
            continue;
        }
        if (QChar::isHighSurrogate(c)) {
            units += 2;
            ++i;
            continue;
        }
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
                          || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
                          || (c >= 0xFFE0 && c <= 0xFFE6);
        units += wide ? 2 : 1;
    }
    return std::max(widest, units);
}
}  // namespace

void SheetWriter::measure(int row, int col, const Cell& cell)
{
    for (const AutoFit& a : autoFits_) {
        if (col < a.firstCol || col > a.lastCol || row < a.fromRow)
            continue;
        if (merged(row, col))
            return;
        QString shown = cell.text;
        if (cell.kind == Cell::Kind::Number) {
            char buf[32];
            const auto res = std::to_chars(buf, buf + sizeof buf, cell.number);
            shown = QString::fromLatin1(buf, int(res.ptr - buf));
        }
        const double size = cell.format >= 0 ? formats_[size_t(cell.format)].fontSize : 11.0;
        const double width = std::min(255.0, textUnits(shown) * size / 11.0 + 1.0);
        double& widest = fitted_[col];
        widest = std::max(widest, width);
        return;
    }
}

void SheetWriter::writeRow(int row, std::span<const Cell> cells, int firstCol, FormatId rowFormat)
{
    if (!ok())
        return;
    if (row <= lastRow_ || row >= kMaxRows)
        return fail(row >= kMaxRows ? QStringLiteral("行号 %1 超出工作表范围").arg(row + 1)
                                    : QStringLiteral("第 %1 行未按顺序写入").arg(row + 1));
    if (firstCol < 0 || firstCol + qsizetype(cells.size()) > kMaxCols)
        return fail(QStringLiteral("第 %1 行的列超出工作表范围").arg(row + 1));
    const FormatId formatCount = FormatId(formats_.size());
    if (rowFormat < kDefaultFormat || rowFormat >= formatCount)
        return fail(QStringLiteral("第 %1 行的格式无效").arg(row + 1));
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        if (c.format < kDefaultFormat || c.format >= formatCount)
            return fail(QStringLiteral("单元格 %1 的格式无效").arg(cellName(row, firstCol + int(i))));
        if (c.kind == Cell::Kind::Text && c.text.size() > 32767)
            return fail(QStringLiteral("单元格 %1 的文字超过 32767 个字符").arg(cellName(row, firstCol + int(i))));
        if (c.kind == Cell::Kind::Number && !std::isfinite(c.number))
            return fail(QStringLiteral("单元格 %1 的数值无效").arg(cellName(row, firstCol + int(i))));
        if (!autoFits_.empty() && c.kind != Cell::Kind::Blank)
            measure(row, firstCol + int(i), c);
    }
    lastRow_ = row;
    QString e;
    if (!backend_->writeRow(row, cells, firstCol, rowFormat, &e))
        fail(e);
}

bool SheetWriter::finish()
{
    if (!ok())
        return false;
    for (const auto& [col, width] : fitted_) {
        auto it = columns_.find(col);
        if (it == columns_.end() || !it->second.second)
            columns_[col] = {width, false};
    }
    QString e;
    if (!backend_->finish(columns_, merges_, &e)) {
        fail(e);
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ SheetContent

void SheetContent::setText(int row, int col, const QString& text, const CellFormat& format)
{
    rows_[row][col] = {Cell::fromText(text), format};
}

void SheetContent::setNumber(int row, int col, double number, const CellFormat& format)
{
    rows_[row][col] = {Cell::fromNumber(number), format};
}

void SheetContent::setBlank(int row, int col, const CellFormat& format)
{
    rows_[row][col] = {Cell::blank(), format};
}

void SheetContent::setRowFormat(int row, const CellFormat& format)
{
    rowFormats_[row] = format;
    rows_[row];
}

void SheetContent::writeTo(SheetWriter& w) const
{
    const CellFormat plain;
    for (const auto& [col, spec] : columns_)
        w.setColumn(col, spec.first, spec.second);
    for (const Range& r : merges_)
        w.merge(r);
    std::vector<Cell> cells;
    for (const auto& [row, entries] : rows_) {
        cells.clear();
        const int first = entries.empty() ? 0 : entries.begin()->first;
        for (const auto& [col, entry] : entries) {
            cells.resize(size_t(col - first), Cell::blank());
            Cell c = entry.cell;
            c.format = entry.format == plain ? kDefaultFormat : w.addFormat(entry.format);
            cells.push_back(std::move(c));
        }
        const auto rf = rowFormats_.find(row);
        w.writeRow(row, cells, first, rf == rowFormats_.end() ? kDefaultFormat : w.addFormat(rf->second));
    }
}

// ------------------------------------------------------------------ new workbooks

namespace {

// libxlsxwriter writes a literal "_xHHHH_" as it stands, which Excel would
// read back as an escaped character; escaping its underscore keeps the text.
QByteArray guardEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text.toUtf8();
    QString guarded;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isExcelEscapeAt(text, i))
            guarded += QLatin1String("_x005F");
        guarded += text[i];
    }
    return guarded.toUtf8();
}

QString lxwError(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}

class LxwBackend final : public SheetWriter::Backend {
public:
    LxwBackend(lxw_workbook* book, lxw_worksheet* sheet) : book_(book), sheet_(sheet) {}

    bool addFormat(const CellFormat& f, QString*) override
    {
        lxw_format* x = workbook_add_format(book_);
        if (!f.numberFormat.isEmpty())
            format_set_num_format(x, f.numberFormat.toUtf8().constData());
        if (f.fontSize != 11)
            format_set_font_size(x, f.fontSize);
        if (f.bold)
            format_set_bold(x);
        if (f.italic)
            format_set_italic(x);
        static constexpr uint8_t horizontal[] = {LXW_ALIGN_NONE,    LXW_ALIGN_LEFT,          LXW_ALIGN_CENTER,
                                                 LXW_ALIGN_RIGHT,   LXW_ALIGN_FILL,          LXW_ALIGN_JUSTIFY,
                                                 LXW_ALIGN_CENTER_ACROSS, LXW_ALIGN_DISTRIBUTED};
        static constexpr uint8_t vertical[] = {LXW_ALIGN_NONE, LXW_ALIGN_VERTICAL_TOP, LXW_ALIGN_VERTICAL_CENTER,
                                               LXW_ALIGN_VERTICAL_JUSTIFY, LXW_ALIGN_VERTICAL_DISTRIBUTED};
        if (f.horizontal != HAlign::General)
            format_set_align(x, horizontal[size_t(f.horizontal)]);
        if (f.vertical != VAlign::Bottom)
            format_set_align(x, vertical[size_t(f.vertical)]);
        if (f.thinBorders)
            format_set_border(x, LXW_BORDER_THIN);
        if (f.fill) {
            format_set_pattern(x, LXW_PATTERN_SOLID);
            format_set_bg_color(x, lxw_color_t(*f.fill & 0xffffff));
        }
        formats_.push_back(x);
        return true;
    }

    bool writeRow(int row, std::span<const Cell> cells, int firstCol, FormatId rowFormat, QString* error) override
    {
        if (rowFormat >= 0) {
            const lxw_error e = worksheet_set_row(sheet_, lxw_row_t(row), LXW_DEF_ROW_HEIGHT, formats_[size_t(rowFormat)]);
            if (e != LXW_NO_ERROR)
                return fail(error, lxwError(e));
        }
        for (size_t i = 0; i < cells.size(); ++i) {
            const Cell& c = cells[i];
            lxw_format* f = c.format >= 0 ? formats_[size_t(c.format)] : nullptr;
            const auto col = lxw_col_t(firstCol + int(i));
            lxw_error e = LXW_NO_ERROR;
            switch (c.kind) {
            case Cell::Kind::Blank:
                if (f)
                    e = worksheet_write_blank(sheet_, lxw_row_t(row), col, f);
                break;
            case Cell::Kind::Text:
                utf8_ = guardEscapes(c.text);
                e = worksheet_write_string(sheet_, lxw_row_t(row), col, utf8_.constData(), f);
                break;
            case Cell::Kind::Number:
                e = worksheet_write_number(sheet_, lxw_row_t(row), col, c.number, f);
                break;
            }
            if (e != LXW_NO_ERROR)
                return fail(error, QStringLiteral("%1：%2").arg(cellName(row, int(col)), lxwError(e)));
        }
        return true;
    }

    bool finish(const std::map<int, std::pair<double, bool>>& columns, const std::vector<Range>& merges,
                QString* error) override
    {
        for (const auto& [col, spec] : columns) {
            lxw_row_col_options options{};
            options.hidden = spec.second ? 1 : 0;
            const lxw_error e = worksheet_set_column_opt(sheet_, lxw_col_t(col), lxw_col_t(col), spec.first, nullptr, &options);
            if (e != LXW_NO_ERROR)
                return fail(error, lxwError(e));
        }
        // worksheet_merge_range() would write the range's cells again, which
        // constant-memory mode cannot do for rows already flushed; the cells
        // are written by the caller, so only the range itself is recorded.
        for (const Range& r : merges) {
            auto* m = static_cast<lxw_merged_range*>(calloc(1, sizeof(lxw_merged_range)));
            if (!m)
                return fail(error, QStringLiteral("内存不足"));
            m->first_row = lxw_row_t(r.firstRow);
            m->last_row = lxw_row_t(r.lastRow);
            m->first_col = lxw_col_t(r.firstCol);
            m->last_col = lxw_col_t(r.lastCol);
            STAILQ_INSERT_TAIL(sheet_->merged_ranges, m, list_pointers);
            ++sheet_->merged_range_count;
        }
        return true;
    }

private:
    lxw_workbook* book_;
    lxw_worksheet* sheet_;
    std::vector<lxw_format*> formats_;
    QByteArray utf8_;
};

// A new workbook written to a temporary file beside the target.
class NewWorkbook {
public:
    explicit NewWorkbook(const QString& target) : target_(target) {}
    ~NewWorkbook()
    {
        if (book_) {
            workbook_close(book_);
            QFile::remove(temporary_);
        }
    }

    bool open(QString* error)
    {
        temporary_ = temporaryPathBeside(target_);
        if (temporary_.isEmpty())
            return fail(error, QStringLiteral("无法在 %1 所在的文件夹中写入文件").arg(target_));
        lxw_workbook_options options{};
        options.constant_memory = 1;
        book_ = workbook_new_opt(QFile::encodeName(temporary_).constData(), &options);
        if (!book_) {
            QFile::remove(temporary_);
            return fail(error, QStringLiteral("无法创建工作簿 %1").arg(target_));
        }
        return true;
    }

    bool addSheet(const QString& name, const SheetFill& fill, bool activate, QString* error)
    {
        if (!isValidSheetName(name, error))
            return false;
        for (const QString& n : std::as_const(names_))
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return fail(error, QStringLiteral("工作表名称“%1”与已有的工作表“%2”重复").arg(name, n));
        lxw_worksheet* sheet = workbook_add_worksheet(book_, name.toUtf8().constData());
        if (!sheet)
            return fail(error, QStringLiteral("无法添加工作表“%1”").arg(name));
        names_.append(name);
        if (activate)
            worksheet_activate(sheet);
        SheetWriter writer(std::make_unique<LxwBackend>(book_, sheet));
        if (fill)
            fill(writer);
        if (!writer.finish())
            return fail(error, writer.error());
        return true;
    }

    bool commit(QString* error)
    {
        const lxw_error e = workbook_close(book_);
        book_ = nullptr;
        if (e != LXW_NO_ERROR) {
            QFile::remove(temporary_);
            return fail(error, QStringLiteral("无法保存工作簿 %1：%2").arg(target_, lxwError(e)));
        }
        return replaceFile(temporary_, target_, error);
    }

private:
    QString target_;
    QString temporary_;
    lxw_workbook* book_ = nullptr;
    QStringList names_;
};

}  // namespace

bool writeWorkbook(const QString& path, const std::vector<SheetContent>& sheets, QString* error)
{
    if (sheets.empty())
        return fail(error, QStringLiteral("工作簿至少要有一个工作表"));
    NewWorkbook book(path);
    if (!book.open(error))
        return false;
    for (const SheetContent& s : sheets)
        if (!book.addSheet(s.name, [&s](SheetWriter& w) { s.writeTo(w); }, false, error))
            return false;
    return book.commit(error);
}

bool writeSheet(const QString& path, const QString& sheetName, const SheetFill& fill, QString* error)
{
    if (!isValidSheetName(sheetName, error))
        return false;
    if (QFileInfo::exists(path))
        return writeSheetIntoPackage(path, sheetName, fill, error);

    // What Excel gives a new workbook in its default settings: one empty
    // "Sheet1"; the export's sheet is added after it and becomes the active one.
    const QString defaultSheet = QStringLiteral("Sheet1");
    NewWorkbook book(path);
    if (!book.open(error))
        return false;
    if (sheetName != defaultSheet && !book.addSheet(defaultSheet, {}, false, error))
        return false;
    if (!book.addSheet(sheetName, fill, true, error))
        return false;
    return book.commit(error);
}

bool writeSheet(const QString& path, const SheetContent& sheet, QString* error)
{
    return writeSheet(path, sheet.name, [&sheet](SheetWriter& w) { sheet.writeTo(w); }, error);
}

}  // namespace corvane::xlsx
