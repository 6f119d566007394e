#pragma once
// Workbooks (.xlsx) for the export windows and for checking what they wrote.
//
// Writing goes through a SheetWriter that takes rows in ascending order, so a
// window can stream 100,000 grid rows without holding them twice. Where the
// file does not exist yet, libxlsxwriter writes a new workbook (constant-memory
// mode); where it exists, only the one sheet is rendered and workbook.xml, its
// relationships, the content types and styles.xml are patched, while every
// other part is copied byte for byte. Either way the result goes to a temporary
// file that replaces the target only when complete: a failure leaves the old
// file (or no file) as it was.
//
// Rows and columns count from 0: row 0 is sheet row 1, column 0 is column A.

#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace corvane::xlsx {

enum class HAlign : uint8_t { General, Left, Center, Right, Fill, Justify, CenterAcross, Distributed };
enum class VAlign : uint8_t { Bottom, Top, Center, Justify, Distributed };

struct CellFormat {
    QString numberFormat{};        // "" is General; e.g. "0.00_ ", "@"
    double fontSize = 11;          // points; 11 is the workbook's default font
    bool bold = false;
    bool italic = false;
    HAlign horizontal = HAlign::General;
    VAlign vertical = VAlign::Bottom;
    bool thinBorders = false;      // thin line on all four sides
    std::optional<QRgb> fill{};    // solid fill, qRgb(r, g, b); alpha is not stored
    bool operator==(const CellFormat&) const = default;
};

using FormatId = int;
inline constexpr FormatId kDefaultFormat = -1;

struct Cell {
    enum class Kind : uint8_t { Blank, Text, Number };
    Kind kind = Kind::Blank;
    FormatId format = kDefaultFormat;
    double number = 0;
    QString text;

    static Cell blank(FormatId f = kDefaultFormat) { return {Kind::Blank, f, 0, {}}; }
    static Cell fromText(const QString& t, FormatId f = kDefaultFormat) { return {Kind::Text, f, 0, t}; }
    static Cell fromNumber(double n, FormatId f = kDefaultFormat) { return {Kind::Number, f, n, {}}; }
};

// Inclusive cell range.
struct Range {
    int firstRow = 0;
    int firstCol = 0;
    int lastRow = 0;
    int lastCol = 0;
    bool operator==(const Range&) const = default;
    bool intersects(const Range& o) const
    {
        return firstRow <= o.lastRow && o.firstRow <= lastRow && firstCol <= o.lastCol && o.firstCol <= lastCol;
    }
};

// Column widths are in Excel's character units (ColumnWidth). The old export
// divided the grid's twips by 100, which keeps the on-screen width close.
inline double columnWidthFromTwips(int twips) { return twips / 100.0; }
// "A1"-style name of a cell; "" outside the sheet.
QString cellName(int row, int col);
// Column letters ("A", "AB"); "" outside the sheet.
QString columnName(int col);
// Excel's rules for a sheet name; the reason in error when it is refused.
bool isValidSheetName(const QString& name, QString* error = nullptr);

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxCols = 16384;

class SheetWriter {
public:
    class Backend;
    explicit SheetWriter(std::unique_ptr<Backend> backend);
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    // The same format always gives the same id.
    FormatId addFormat(const CellFormat& format);
    // Width in character units; 0 hides the column, as hidden does.
    void setColumn(int col, double width, bool hidden = false);
    // Excel's AutoFit over the cells written in these columns from fromRow on
    // (cells inside a merged range are left out, as Excel does); a column with
    // no text keeps the default width. Applied when the sheet is finished.
    void autoFitColumns(int firstCol, int lastCol, int fromRow);
    // A single cell is not merged (Excel ignores it too); a range that
    // overlaps an earlier merge fails, since Excel cannot open such a sheet.
    void merge(const Range& range);
    // Cells of one row from column firstCol on; blanks with the default format
    // are skipped. Rows come in ascending order, each at most once. A row
    // format is the whole row's format (Excel's Rows(n) formatting).
    void writeRow(int row, std::span<const Cell> cells, int firstCol = 0, FormatId rowFormat = kDefaultFormat);

    // Stops the write: nothing is saved and this is the reported error.
    void fail(const QString& error);
    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }

    // For the layer itself: completes the sheet.
    bool finish();

private:
    struct AutoFit {
        int firstCol, lastCol, fromRow;
    };
    bool merged(int row, int col) const;
    void measure(int row, int col, const Cell& cell);

    std::unique_ptr<Backend> backend_;
    std::vector<CellFormat> formats_;
    std::map<int, std::pair<double, bool>> columns_;  // width, hidden
    std::vector<Range> merges_;
    std::vector<AutoFit> autoFits_;
    std::map<int, double> fitted_;  // column -> widest text, in character units
    int lastRow_ = -1;
    QString error_;
};

using SheetFill = std::function<void(SheetWriter&)>;

// Writes the sheet named sheetName of the workbook at path with what fill
// gives. A missing file becomes a new workbook with Excel's default sheet
// "Sheet1" followed by this sheet (one sheet when the name is "Sheet1"). In an
// existing workbook the sheet with exactly this name (letter case included) is
// rewritten, or else a new sheet is added after the last one; Excel's
// uniqueness rule ignores letter case, so a name that differs only in case
// from another sheet's is refused. False, with the reason in error, when the
// name is invalid, the file is not a workbook, fill failed, or writing failed.
bool writeSheet(const QString& path, const QString& sheetName, const SheetFill& fill, QString* error = nullptr);

// A sheet described cell by cell, for small workbooks and tests.
class SheetContent {
public:
    explicit SheetContent(QString name = QStringLiteral("Sheet1")) : name(std::move(name)) {}
    QString name;
    void setText(int row, int col, const QString& text, const CellFormat& format = {});
    void setNumber(int row, int col, double number, const CellFormat& format = {});
    void setBlank(int row, int col, const CellFormat& format);
    void setRowFormat(int row, const CellFormat& format);
    void setColumn(int col, double width, bool hidden = false) { columns_[col] = {width, hidden}; }
    void merge(const Range& range) { merges_.push_back(range); }
    // Replays the description into a writer.
    void writeTo(SheetWriter& writer) const;

private:
    struct Entry {
        Cell cell;
        CellFormat format;
    };
    std::map<int, std::map<int, Entry>> rows_;
    std::map<int, CellFormat> rowFormats_;
    std::map<int, std::pair<double, bool>> columns_;
    std::vector<Range> merges_;
};

// A new workbook with these sheets in this order, replacing any file at path.
bool writeWorkbook(const QString& path, const std::vector<SheetContent>& sheets, QString* error = nullptr);
// writeSheet with a described sheet (its name is the sheet name).
bool writeSheet(const QString& path, const SheetContent& sheet, QString* error = nullptr);

// ------------------------------------------------------------------ templates

// Fills a sheet of an existing workbook that serves as a form (another
// program's template): the sheet's own XML is patched in place, so its
// heading rows, column settings, page setup and every cell outside the
// filled columns stay as they were, and every other part of the package is
// copied byte for byte.
struct TemplateFill {
    QString sheetName;              // exact name, letter case included
    int keepRows = 1;               // rows 0..keepRows-1 are never touched
    int firstCol = 0, lastCol = 0;  // the columns cleared and filled
    // Columns given the text number format "@" (whole column and every
    // cell written or cleared in it).
    std::vector<int> textColumns;
    // Rows from row keepRows on, cells from firstCol on; blanks write nothing.
    std::vector<std::vector<Cell>> rows;
};
enum class TemplateFillOutcome { Done, NoSheet, Failed };
// Empties columns firstCol..lastCol of every row from keepRows down to the
// last row that holds anything, writes the rows, shows the workbook's first
// window and the sheet, and saves. NoSheet (nothing written) when no sheet
// has exactly that name; Failed with the reason when the file is no
// workbook or cannot be written (the file is then as it was).
TemplateFillOutcome fillTemplateSheet(const QString& path, const TemplateFill& fill, QString* error = nullptr);
// Whether the file is an Office Open XML package (a zip), as opposed to a
// legacy binary workbook or anything else.
bool isOpenXmlPackage(const QString& path);

// ------------------------------------------------------------------ reading

struct ReadCell {
    QString value;          // text, or the number as stored ("12.5")
    bool isNumber = false;
    CellFormat format;      // resolved from the workbook's styles
};

struct ColumnInfo {
    int firstCol = 0;
    int lastCol = 0;
    double width = 0;       // character units as Excel shows them (whole pixels)
    bool hidden = false;
};

struct ReadSheet {
    QString name;
    std::map<std::pair<int, int>, ReadCell> cells;  // (row, col)
    std::map<int, CellFormat> rowFormats;
    std::vector<Range> merges;
    std::vector<ColumnInfo> columns;

    const ReadCell* cell(int row, int col) const;
    // The cell's value, "" for a missing cell.
    QString text(int row, int col) const;
    // The column's entry, when the sheet sets one.
    std::optional<ColumnInfo> column(int col) const;
};

class WorkbookReader {
public:
    WorkbookReader();
    ~WorkbookReader();
    bool open(const QString& path, QString* error = nullptr);
    // Sheet names in workbook order.
    QStringList sheetNames() const;
    std::optional<ReadSheet> sheet(const QString& name, QString* error = nullptr) const;
    // Uncompressed bytes of every part, by part name, for comparing packages.
    std::map<QString, QByteArray> parts() const;

private:
    struct Data;
    std::unique_ptr<Data> d_;
};

}  // namespace corvane::xlsx
