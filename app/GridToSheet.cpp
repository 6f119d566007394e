#include "app/GridToSheet.h"
#include "platform/Services.h"

#include <QDate>
#include <QDir>

#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace corvane {

namespace {

using xlsx::Cell;
using xlsx::CellFormat;
using xlsx::FormatId;

// Whether two sheet values are equal the way the old comparison of cell
// values saw them: a number never equals a text, and two empty cells do.
bool sameValue(const Cell& a, const Cell& b)
{
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case Cell::Kind::Blank: return true;
    case Cell::Kind::Number: return a.number == b.number;
    case Cell::Kind::Text: return a.text == b.text;
    }
    return false;
}

// Day 0 of the workbook's date serial numbers (day 60 is the leap day 1900
// that never was, so days from 1900-03-01 on count from here).
const QDate kSerialDayZero(1899, 12, 30);

// A date as the grids show one ("2026-03-01"), or an invalid date.
QDate dateOfCell(const QString& text)
{
    if (text.size() != 10) return {};
    const QDate d = QDate::fromString(text, Qt::ISODate);
    return d.isValid() && d >= QDate(1900, 3, 1) ? d : QDate();
}

// One pass over the grid into one sheet.
class GridSheetFill {
public:
    GridSheetFill(const FlexGrid& grid, const GridSheetLayout& layout) : grid_(grid), layout_(layout)
    {
        if (layout.columns.empty()) {
            for (int j = 0; j < grid.Cols(); ++j) columns_.push_back(j);
        } else {
            columns_ = layout.columns;
        }
        const size_t k = columns_.size();
        amount_.resize(k);
        numbers_.resize(k);
        appended_.resize(k);
        for (size_t n = 0; n < k; ++n) {
            amount_[n] = layout.amountColumns && grid.ColAlignment(columns_[n]) >= flexAlignRightTop;
            numbers_[n] = !layout.amountColumns || amount_[n];
            if (n < layout.appended.size()) appended_[n] = layout.appended[n];
        }
    }

    int columnCount() const { return int(columns_.size()); }

    void operator()(xlsx::SheetWriter& w)
    {
        w_ = &w;
        const int k = columnCount();
        const int titles = int(layout_.titles.size());
        const int rows = grid_.Rows();

        // A workbook that already exists gets a style for every format added,
        // in the order added: the titles', the heading row's, then the cells'.
        std::vector<FormatId> titleFormats;
        for (const SheetTitle& t : layout_.titles) titleFormats.push_back(w.addFormat(t.format));
        const FormatId headingRowFormat =
            layout_.headingRows
                ? w.addFormat(CellFormat{.horizontal = xlsx::HAlign::Center, .vertical = xlsx::VAlign::Distributed})
                : xlsx::kDefaultFormat;
        if (!layout_.cellAttributes) {
            // One format per kind of column and row, chosen once: the loop
            // over the rows does no format look-ups.
            FormatId byKind[2][2] = {{xlsx::kDefaultFormat, xlsx::kDefaultFormat},
                                     {xlsx::kDefaultFormat, xlsx::kDefaultFormat}};  // [amount][heading]
            for (int amount = 0; amount < 2; ++amount) {
                if (amount && !layout_.amountColumns) continue;
                for (int heading = 0; heading < 2; ++heading) {
                    if (heading && !layout_.headingRows) continue;
                    byKind[amount][heading] = formatOf(amount, heading, false, QColor());
                }
            }
            for (int heading = 0; heading < 2; ++heading) {
                columnFormats_[heading].resize(size_t(k));
                for (int n = 0; n < k; ++n)
                    columnFormats_[heading][size_t(n)] = byKind[amount_[size_t(n)] ? 1 : 0][heading];
            }
        }
        // A workbook column is at most 255 characters wide; a wider grid
        // column is not a reason to lose the export.
        if (layout_.widthsFromGrid)
            for (int n = 0; n < k; ++n)
                w.setColumn(n, std::min(255.0, xlsx::columnWidthFromTwips(grid_.ColWidth(columns_[size_t(n)]))));

        cells_.resize(size_t(k));
        for (int r = 0; r < titles; ++r) {
            const FormatId f = titleFormats[size_t(r)];
            const QString& text = layout_.titles[size_t(r)].text;
            cells_[0] = text.isEmpty() ? Cell::blank(f) : Cell::fromText(text, f);
            for (int n = 1; n < k; ++n) cells_[size_t(n)] = Cell::blank(f);
            w.writeRow(r, cells_, 0, f);
            w.merge({r, 0, r, k - 1});
        }
        if (!layout_.widthsFromGrid) w.autoFitColumns(0, k - 1, titles);

        int first = 0;
        if (layout_.headingRows && grid_.FixedRows() == 2 && rows >= 2) {
            // Runs of equal texts in the upper heading become one cell; a
            // column whose two headings are equal becomes one cell over both
            // rows. A run's columns are not merged downwards as well: the two
            // merges would overlap, which no workbook may hold.
            std::vector<Cell> lower(static_cast<size_t>(k));
            sourceRow(0, cells_);
            sourceRow(1, lower);
            for (int n = 0; n < k;) {
                int e = n;
                while (e + 1 < k && sameValue(cells_[size_t(e + 1)], cells_[size_t(n)])) ++e;
                if (e > n) {
                    for (int m = n + 1; m <= e; ++m) cells_[size_t(m)] = Cell::blank(cells_[size_t(m)].format);
                    w.merge({titles, n, titles, e});
                } else if (sameValue(cells_[size_t(n)], lower[size_t(n)])) {
                    lower[size_t(n)] = Cell::blank(lower[size_t(n)].format);
                    w.merge({titles, n, titles + 1, n});
                }
                n = e + 1;
            }
            w.writeRow(titles, cells_, 0, headingRowFormat);
            w.writeRow(titles + 1, lower);
            first = 2;
        } else if (rows == 0 && layout_.headingRows) {
            w.writeRow(titles, {}, 0, headingRowFormat);
        }
        for (int i = first; i < rows && w.ok(); ++i) {
            sourceRow(i, cells_);
            w.writeRow(titles + i, cells_, 0, layout_.headingRows && i == 0 ? headingRowFormat : xlsx::kDefaultFormat);
        }
    }

private:
    FormatId formatOf(bool amount, bool heading, bool italic, const QColor& back, bool date = false)
    {
        // The old grid's colour 0 meant "no colour of its own", and black
        // was that same 0.
        const int64_t rgb = back.isValid() ? int64_t(back.rgb() & 0xFFFFFF) : 0;
        const int64_t key =
            rgb | int64_t(italic) << 24 | int64_t(amount) << 25 | int64_t(heading) << 26 | int64_t(date) << 27;
        auto [it, added] = formats_.try_emplace(key, xlsx::kDefaultFormat);
        if (added) {
            CellFormat f{.fontSize = 10.5, .italic = italic, .thinBorders = true};
            if (layout_.amountColumns) f.numberFormat = amount ? QStringLiteral("0.00_ ") : QStringLiteral("@");
            if (date) f.numberFormat = QStringLiteral("yyyy-mm-dd");
            if (heading) {
                f.horizontal = xlsx::HAlign::Center;
                f.vertical = xlsx::VAlign::Distributed;
            }
            if (rgb != 0) f.fill = QRgb(rgb);
            it->second = w_->addFormat(f);
        }
        return it->second;
    }

    void sourceRow(int i, std::vector<Cell>& out)
    {
        const bool heading = layout_.headingRows && i == 0;
        const int k = columnCount();
        for (int n = 0; n < k; ++n) {
            const int j = columns_[size_t(n)];
            const FormatId f = layout_.cellAttributes
                                   ? formatOf(amount_[size_t(n)], heading, grid_.CellFontItalic(i, j),
                                              grid_.CellBackColor(i, j))
                                   : columnFormats_[heading][size_t(n)];
            QString text = grid_.TextMatrix(i, j);
            // A heading's blanks only widened the grid's column.
            if (i < grid_.FixedRows()) text = text.trimmed();
            if (!appended_[size_t(n)].isEmpty()) text += appended_[size_t(n)];
            double value;
            QDate date;
            if (text.isEmpty())
                out[size_t(n)] = Cell::blank(f);
            else if (amount_[size_t(n)] && i >= grid_.FixedRows() && (date = dateOfCell(text)).isValid())
                // A date in an amount column would read as a number of days.
                out[size_t(n)] = Cell::fromNumber(
                    double(kSerialDayZero.daysTo(date)),
                    formatOf(true, false, layout_.cellAttributes && grid_.CellFontItalic(i, j),
                             layout_.cellAttributes ? grid_.CellBackColor(i, j) : QColor(), true));
            else if (numbers_[size_t(n)] && parsePlainNumber(text, &value))
                out[size_t(n)] = Cell::fromNumber(value, f);
            else
                out[size_t(n)] = Cell::fromText(std::move(text), f);
        }
    }

    const FlexGrid& grid_;
    const GridSheetLayout& layout_;
    xlsx::SheetWriter* w_ = nullptr;
    std::vector<int> columns_;
    std::vector<char> amount_, numbers_;
    std::vector<QString> appended_;
    std::vector<FormatId> columnFormats_[2];  // [heading][sheet column]
    std::map<int64_t, FormatId> formats_;
    std::vector<Cell> cells_;
};

}  // namespace

QString workbookFileName(const QString& chosen)
{
    const QString suffix = QFileInfo(chosen).suffix();
    if (chosen.endsWith(QLatin1Char('.'))) return chosen + QStringLiteral("xlsx");
    if (suffix.isEmpty()) return chosen + QStringLiteral(".xlsx");
    if (suffix.compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0)
        return chosen.left(chosen.size() - suffix.size()) + QStringLiteral("xlsx");
    return chosen;
}

bool parsePlainNumber(const QString& text, double* value)
{
    // Only what our grids show for amounts counts: thousands separators,
    // exponents, blanks or percent signs leave the text as it stands, since
    // guessing at them could turn a code or a note into a different number.
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (n > 0 && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        i = 1;
    }
    std::string digits;
    digits.reserve(size_t(n - i) + 1);
    if (negative) digits.push_back('-');
    bool point = false;
    int count = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            ++count;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
        digits.push_back(char(c));
    }
    if (count == 0) return false;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) return false;
    *value = v == 0 ? 0.0 : v;  // no "-0" in the sheet
    return true;
}

bool writeGridToSheet(const FlexGrid& grid, const QString& path, const QString& sheetName,
                      const GridSheetLayout& layout, QString* error)
{
    GridSheetFill fill(grid, layout);
    if (fill.columnCount() == 0) {
        if (error) *error = QStringLiteral("没有要输出的列");
        return false;
    }
    return xlsx::writeSheet(path, sheetName, std::ref(fill), error);
}

void announceWrittenWorkbook(const QString& path, bool open)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!open) {
        MsgBox(QStringLiteral("已输出到文件 ") + shown, vbInformation);
        return;
    }
    QString openError;
    if (Services::shell().open(QFileInfo(path).absoluteFilePath(), &openError)) return;
    MsgBox(QStringLiteral("已输出到文件 ") + shown + QStringLiteral("，但无法启动电子表格程序打开它") +
               (openError.isEmpty() ? QString() : QStringLiteral("：") + openError),
           vbInformation);
}

}  // namespace corvane
