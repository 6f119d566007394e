#pragma once
// The ruled, paged listing of a grid: company name, title and subtitle, the
// head row on every page, merged runs in the grid's merge columns, and a
// footer with the print date, an optional sign-off line and the page number.
// Lengths are twips. The page count is worked out before the first page.

#include <QString>
#include <optional>

#include "platform/PrintSurface.h"

namespace corvane {

class FlexGrid;

// ---- rules without a surface

// Row positions a page holds (its head row and C − 1 data rows):
// (H − HH − FH − 4h) \ (R + 45), both operands rounded halves to even.
int GridPrintCapacity(double H, double HH, double FH, double h, double R);
// Pages for N data rows at C positions a page.
int GridPrintPageCount(int N, int C);

// One merge column's open run on a page. step() is told, for the cell at
// position p, whether it continues into the next row, and gives the box it
// closes (from position a to b), if any.
struct GridPrintRun {
    struct Box {
        int a = 0, b = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };
    bool open = false;
    int start = 0;
    std::optional<Box> step(int p, int C, bool continues);
};

// ---- the printout

double PrintHeaderHeight(PrintSurface& printer, bool hasSubtitle, const QString& fontName, double fontSize);
double PrintFooterHeight(PrintSurface& printer, bool signatureLine, const QString& fontName, double fontSize);
double PrintPageHeader(PrintSurface& printer, const QString& title, const QString& subtitle, const QString& fontName,
                       double fontSize, const FlexGrid& grid, int omittedColumns, double L);
void PrintPageFooter(PrintSurface& printer, double Wt, double L, bool signatureLine, int n, int m, double yb);

enum class GridPrintOutcome { Printed, Declined, NothingToPrint, PageTooShort, Failed };

// Prints the grid on the surface as one document. A grid without data rows
// starts no document; a page that holds no data row is refused with a message.
GridPrintOutcome PrintGrid(PrintSurface& printer, FlexGrid& grid, PrintSurface::ScaleMode unit, const QString& title,
                           const QString& subtitle, bool signatureLine, int omittedColumns);
// The same on a new job of the application's printer.
GridPrintOutcome PrintGrid(FlexGrid& grid, PrintSurface::ScaleMode unit, const QString& title,
                           const QString& subtitle, bool signatureLine, int omittedColumns);

}  // namespace corvane
