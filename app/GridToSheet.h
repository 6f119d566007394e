#pragma once
// A grid written into one sheet of a workbook: title rows, each merged
// across the sheet, then the grid's rows as they stand, heading rows too.
// Both export windows write through it; what differs between them (which
// columns, which titles, how cells are formatted, how wide the columns are)
// is said by the layout each one passes.

#include <QString>
#include <vector>

#include "platform/FlexGrid.h"
#include "platform/Xlsx.h"

namespace corvane {

// The workbook name actually written: no extension or ".xls" becomes ".xlsx".
QString workbookFileName(const QString& chosen);

// Whether a cell text is a plain decimal number (optional sign, digits, at
// most one point); its value in *value, read exactly.
bool parsePlainNumber(const QString& text, double* value);

// A row above the grid: its text in the first cell, and the row's format on
// the whole row.
struct SheetTitle {
    QString text{};
    xlsx::CellFormat format{};
};

struct GridSheetLayout {
    // Grid columns in sheet order; empty: every column of the grid.
    std::vector<int> columns{};
    std::vector<SheetTitle> titles{};

    // Right-aligned and general columns hold amounts: plain numbers there are
    // numbers shown "0.00_ ", and every other cell stays text ("@").
    // Otherwise a plain number is a number wherever it stands, and no number
    // format is set.
    bool amountColumns = false;
    // Each sheet column as wide as its grid column (a hidden one hidden);
    // otherwise fitted to the cells written below the titles.
    bool widthsFromGrid = false;
    // The grid's first row is the sheet's heading row, centred; a grid with
    // two fixed rows has two heading rows, with equal neighbouring headings
    // joined into one cell.
    bool headingRows = false;
    // Each cell keeps its italic state and back colour.
    bool cellAttributes = false;
    // Per sheet column, a text added to the end of every one of its cells.
    std::vector<QString> appended{};
};

// Writes the sheet sheetName of the workbook at path (see xlsx::writeSheet:
// an existing workbook keeps its other sheets). Reads the grid only: its
// cursor and selection stay as they were. False, with the reason in *error,
// when the sheet could not be written.
bool writeGridToSheet(const FlexGrid& grid, const QString& path, const QString& sheetName,
                      const GridSheetLayout& layout, QString* error = nullptr);

// After a workbook was written: with `open`, hands it to the spreadsheet
// program, and says so plainly when none could open it (the file is written
// all the same); without, says where it was written.
void announceWrittenWorkbook(const QString& path, bool open);

}  // namespace corvane
