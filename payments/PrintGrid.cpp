#include "payments/PrintGrid.h"

#include <cmath>
#include <vector>

#include "app/LoginContext.h"
#include "platform/FlexGrid.h"
#include "platform/Services.h"

namespace corvane {

namespace {

const QString kSongti = QStringLiteral("宋体");
const QString kSignature = QStringLiteral("审核                制单              ");
constexpr double kGap = 45;  // 1/32 inch between a text and its rule

void setFont(PrintSurface& p, const QString& name, double size, bool bold)
{
    p.FontName = name;
    p.FontSize = size;
    p.FontBold = bold;
}

void printAt(PrintSurface& p, double x, double y, const QString& text)
{
    p.CurrentX = x;
    p.CurrentY = y;
    p.Print(text);
}

struct Columns {
    int count = 0;  // printed columns
    std::vector<double> width, left;  // left: X(c)
    double total = 0;                 // Wt
};

Columns printedColumns(const FlexGrid& grid, int omitted)
{
    Columns c;
    c.count = qMax(0, grid.Cols() - qMax(0, omitted));
    for (int col = 0; col < c.count; ++col) {
        c.left.push_back(c.total);
        const double w = qMax(0, grid.ColWidth(col));
        c.width.push_back(w);
        c.total += w;
    }
    return c;
}

}  // namespace

// ---------------------------------------------------------------- rules

int GridPrintCapacity(double H, double HH, double FH, double h, double R)
{
    const double space = std::nearbyint(H - HH - FH - 4 * h);
    const double row = std::nearbyint(R + kGap);
    if (row <= 0) return 0;
    return int(std::floor(space / row));
}

int GridPrintPageCount(int N, int C)
{
    if (C < 2) return 0;
    if (N <= C - 1) return 1;
    return (N + (C - 1) - 1) / (C - 1);
}

std::optional<GridPrintRun::Box> GridPrintRun::step(int p, int C, bool continues)
{
    const bool lastOfPage = p + 1 >= C;
    if (continues) {
        if (!open) {
            start = p;
            open = true;
        }
        if (!lastOfPage) return std::nullopt;
        open = false;
        return Box{start, p};
    }
    if (open) {
        open = false;
        return Box{start, p};
    }
    return Box{p, p};
}

// ---------------------------------------------------------------- header and footer

double PrintHeaderHeight(PrintSurface& printer, bool hasSubtitle, const QString& fontName, double fontSize)
{
    setFont(printer, kSongti, 16, true);
    double height = 1.5 * printer.TextHeight(QStringLiteral("中"));
    printer.FontBold = false;
    height += printer.TextHeight(QStringLiteral("中"));
    if (!hasSubtitle) return height;
    setFont(printer, fontName, fontSize, false);
    return height + 2 * printer.TextHeight(QStringLiteral("中"));
}

double PrintFooterHeight(PrintSurface& printer, bool signatureLine, const QString& fontName, double fontSize)
{
    setFont(printer, fontName, fontSize, false);
    return (signatureLine ? 3 : 2) * printer.TextHeight(QStringLiteral("中"));
}

double PrintPageHeader(PrintSurface& printer, const QString& title, const QString& subtitle, const QString& fontName,
                       double fontSize, const FlexGrid& grid, int omittedColumns, double L)
{
    const double W = printer.ScaleWidth();
    setFont(printer, kSongti, 16, true);
    printAt(printer, (W - printer.TextWidth(公司名称)) / 2, 0, 公司名称);
    printer.FontBold = false;
    printAt(printer, (W - printer.TextWidth(title)) / 2, printer.CurrentY + printer.TextHeight(QStringLiteral("中")) / 2,
            title);
    printer.Print();
    setFont(printer, fontName, fontSize, false);
    if (!subtitle.isEmpty()) printAt(printer, (W - printer.TextWidth(subtitle)) / 2, printer.CurrentY, subtitle);

    const double y4 = printer.CurrentY + printer.TextHeight(QStringLiteral("中"));
    const double R = grid.RowHeight(0);
    const double h = printer.TextHeight(QStringLiteral("的"));
    const Columns cols = printedColumns(grid, omittedColumns);
    for (int c = 0; c < cols.count; ++c) {
        const double x0 = L + cols.left[size_t(c)], w = cols.width[size_t(c)];
        printer.Line(x0, y4, x0 + w, y4);
        printer.Line(x0, y4, x0, y4 + R);
        if (c == cols.count - 1) printer.Line(x0 + w, y4, x0 + w, y4 + R);
        const QString s = grid.TextMatrix(0, c);
        printAt(printer, x0 + (w - printer.TextWidth(s)) / 2, y4 + (R - h) / 2, s);
    }
    return y4 + R;
}

void PrintPageFooter(PrintSurface& printer, double Wt, double L, bool signatureLine, int n, int m, double yb)
{
    const double W = printer.ScaleWidth(), H = printer.ScaleHeight();
    const double h = printer.TextHeight(QStringLiteral("的"));
    printer.Line(L, yb, L + Wt, yb);
    const QString date = QStringLiteral("打印日期 ") + Today().toString(QStringLiteral("yyyy-MM-dd"));
    printAt(printer, L + Wt - printer.TextWidth(date), yb + h, date);
    if (signatureLine) printAt(printer, (W - printer.TextWidth(kSignature)) / 2.5, yb + h, kSignature);
    const QString page = QStringLiteral("第%1页 共%2页").arg(n).arg(m);
    printAt(printer, (W - printer.TextWidth(page)) / 2, H - h, page);
}

// ---------------------------------------------------------------- the printout

GridPrintOutcome PrintGrid(PrintSurface& printer, FlexGrid& grid, PrintSurface::ScaleMode unit, const QString& title,
                           const QString& subtitle, bool signatureLine, int omittedColumns)
{
    printer.setScaleMode(unit);
    const int N = grid.Rows() - 1;
    if (N < 1) return GridPrintOutcome::NothingToPrint;
    const double W = printer.ScaleWidth(), H = printer.ScaleHeight();
    const Columns cols = printedColumns(grid, omittedColumns);
    const double Wt = cols.total, L = (W - Wt) / 2;
    if (L < 0 &&
        MsgBox(QStringLiteral("纸张宽度不够，请设置更宽的纸张或把纸张改成横向打印\n是否要修改打印设置？"), vbYesNo) ==
            vbYes)
        return GridPrintOutcome::Declined;
    const double R = grid.RowHeight(0);
    const QString fontName = grid.font().family();
    const double fontSize = grid.font().pointSizeF() > 0 ? grid.font().pointSizeF() : 9;
    const double HH = PrintHeaderHeight(printer, !subtitle.isEmpty(), fontName, fontSize);
    const double FH = PrintFooterHeight(printer, signatureLine, fontName, fontSize);
    setFont(printer, fontName, fontSize, false);
    const double h = printer.TextHeight(QStringLiteral("的"));
    const int C = GridPrintCapacity(H, HH, FH, h, R);
    if (C < 2) {
        MsgBox(QStringLiteral("纸张高度不够，无法打印清单"));
        return GridPrintOutcome::PageTooShort;
    }
    const int m = GridPrintPageCount(N, C);

    std::vector<GridPrintRun> runs(size_t(cols.count));
    std::vector<char> merges(size_t(cols.count));
    std::vector<char> rightAligned(size_t(cols.count));
    for (int c = 0; c < cols.count; ++c) {
        merges[size_t(c)] = grid.MergeCol(c);
        rightAligned[size_t(c)] = grid.ColAlignment(c) == flexAlignRightCenter;
    }
    double T = 0;
    int n = 0, p = 0;
    auto box = [&](int c, int a, int b, const QString& s) {
        const double x0 = L + cols.left[size_t(c)], w = cols.width[size_t(c)];
        const double top = T + R * (a - 1), bottom = T + R * b;
        printer.Line(x0, top, x0 + w, top);
        printer.Line(x0, top, x0, bottom);
        const double x = rightAligned[size_t(c)] ? x0 + w - printer.TextWidth(s) - kGap : x0 + kGap;
        printAt(printer, x, top + (R * (b - a + 1) - h) / 2, s);
        if (c == cols.count - 1) printer.Line(x0 + w, top, x0 + w, bottom);
    };
    auto failed = [&]() {
        if (printer.lastError().isEmpty()) return false;
        const QString error = printer.lastError();
        printer.KillDoc();
        Printing::reportFault(error);
        return true;
    };

    for (int i = 1; i <= N; ++i) {
        if (i == 1 || p == C) {
            T = PrintPageHeader(printer, title, subtitle, fontName, fontSize, grid, omittedColumns, L);
            if (failed()) return GridPrintOutcome::Failed;
            setFont(printer, fontName, fontSize, false);
            p = 1;
            ++n;
            for (GridPrintRun& r : runs) r.open = false;
        }
        for (int c = 0; c < cols.count; ++c) {
            const QString s = grid.TextMatrix(i, c);
            if (!merges[size_t(c)]) {
                box(c, p, p, s);
                continue;
            }
            const bool continues = i < N && !s.isEmpty() && grid.TextMatrix(i + 1, c) == s;
            if (const auto b = runs[size_t(c)].step(p, C, continues)) box(c, b->a, b->b, s);
        }
        ++p;
        if (p == C) {
            PrintPageFooter(printer, Wt, L, signatureLine, n, m, T + R * (p - 1));
            if (i < N) printer.NewPage();
        }
    }
    if (p != C) PrintPageFooter(printer, Wt, L, signatureLine, n, m, T + R * (p - 1));
    if (cols.count > 0) {
        grid.setRow(N);
        grid.setCol(cols.count - 1);
    }
    if (failed()) return GridPrintOutcome::Failed;
    if (!printer.EndDoc()) {
        Printing::reportFault(printer.lastError());
        return GridPrintOutcome::Failed;
    }
    return GridPrintOutcome::Printed;
}

GridPrintOutcome PrintGrid(FlexGrid& grid, PrintSurface::ScaleMode unit, const QString& title,
                           const QString& subtitle, bool signatureLine, int omittedColumns)
{
    const auto job = Printing::startJob(title);
    return PrintGrid(*job, grid, unit, title, subtitle, signatureLine, omittedColumns);
}

}  // namespace corvane
