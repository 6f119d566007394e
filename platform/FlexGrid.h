#pragma once
// The grid with the old grid control's vocabulary, so window code can say
// grid.TextMatrix(r, c). Fixed rows and columns are ordinary rows and columns
// of the model (row 0 is a heading row that can be read and written); they
// are painted like headings and stay in place, the fixed rows at the top and
// the fixed columns at the left, while the other cells scroll. Cells are
// kept by column behind one table model: a text column as one buffer of
// characters, a value column (amounts, dates, flags) as numbers formatted
// when a cell is shown, read, sorted or exported, and row numbers not at
// all. No object per cell or per row, so a list of 100,000 rows fills close
// to the speed of its query, and a refresh reuses the storage of the list
// before it instead of freeing it string by string.
//
// The scrolling cells are the view itself; the fixed rows, the fixed columns
// and the corner where they meet are three more views of the same model laid
// over the margins that the view keeps free for them (where a table keeps its
// headers), each following the view's scrolling in its own direction.
//
// Geometry is in twips (15 per pixel). Mouse coordinates are relative to the
// cell area (its top left is the top left of the first fixed cell), so they
// compare directly with ColWidth and RowHeight; the cell rectangle is
// relative to the grid control, so a floating editor placed at grid left +
// CellLeft covers the cell.
//
// Invalid rows, columns or settings throw RuntimeError with the old grid's
// numbers, as the old control raised them to its caller.

#include <QColor>
#include <QDate>
#include <QTime>
#include <functional>
#include <optional>
#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QTableView>
#include <vector>

namespace corvane {

enum FlexAlignment : int {
    flexAlignLeftTop = 0,
    flexAlignLeftCenter = 1,
    flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3,
    flexAlignCenterCenter = 4,
    flexAlignCenterBottom = 5,
    flexAlignRightTop = 6,
    flexAlignRightCenter = 7,
    flexAlignRightBottom = 8,
    flexAlignGeneral = 9,  // texts left, numbers right
};

enum FlexSort : int {
    flexSortNone = 0,
    flexSortGenericAscending = 1,  // numbers by value when both are numbers, otherwise as text
    flexSortGenericDescending = 2,
    flexSortNumericAscending = 3,
    flexSortNumericDescending = 4,
    flexSortStringNoCaseAscending = 5,
    flexSortStringNoCaseDescending = 6,
    flexSortStringAscending = 7,
    flexSortStringDescending = 8,
    flexSortCustom = 9,  // no compare event here: sorts nothing
};

enum FlexMerge : int {
    flexMergeNever = 0,
    flexMergeFree = 1,
    flexMergeRestrictRows = 2,
    flexMergeRestrictColumns = 3,
    flexMergeRestrictAll = 4,
};

// What a column keeps: texts, or values shown as the windows show them
// (amounts "0.00", dates yyyy-MM-dd with the time only when not midnight,
// flags "True"/"False"), or the number of each row (blank in fixed rows).
// Values are formatted when shown, read, sorted or exported; a text written
// into a value column that is no value of its kind is kept as a text.
enum FlexColKind : int {
    flexKindText = 0,
    flexKindAmount = 1,
    flexKindDate = 2,
    flexKindFlag = 3,
    flexKindRowNumber = 4,
};

// Mouse buttons and shift state as the old events passed them.
enum FlexButton : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum FlexShift : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

class FlexGridModel;
class FlexGridPane;
class FlexGrid;

// Fills a grid with many rows: the rows are stored as they arrive and shown
// when the fill ends (end() or the destructor). The grid's non-fixed rows go
// when the first row starts, so a fill that gets no row leaves them. Nothing
// else may change the grid's rows while a fill runs.
class FlexGridFill {
public:
    explicit FlexGridFill(FlexGrid& grid);
    ~FlexGridFill();
    FlexGridFill(const FlexGridFill&) = delete;
    FlexGridFill& operator=(const FlexGridFill&) = delete;

    // Starts the next row; its cells are empty until set.
    void row();
    void text(int col, QStringView text);
    void amount(int col, std::optional<qint64> cents);
    // A date as SQLite and the database layer keep it ("yyyy-MM-dd" or
    // "yyyy-MM-dd HH:mm:ss"); false, and nothing stored, for any other text.
    bool date(int col, QStringView stored);
    void date(int col, const QDate& date, const QTime& time = QTime(0, 0));
    void flag(int col, std::optional<bool> flag);
    int rows() const { return m_rows; }
    void end();

private:
    FlexGrid& m_grid;
    bool m_started = false;
    bool m_ended = false;
    quint32 m_first = 0;
    quint32 m_slot = 0;
    int m_rows = 0;
};

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Shape. A new grid has 2 rows, 2 columns, one fixed row and one fixed column.
    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const;
    void setFixedRows(int rows);
    int FixedCols() const;
    void setFixedCols(int cols);

    // Texts.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    QString Text() const;  // of the current cell
    void setText(const QString& text);
    // "<a|^b|>c": sets Cols, the texts of row 0, the column alignments
    // (< left, ^ centre, > right, nothing: unchanged) and widths that fit the
    // texts (blanks included). After ";", the texts of column 0 from row 1 on.
    QString FormatString() const;
    void setFormatString(const QString& format);
    // A row from a text with tab-separated cells; at the end or before row index.
    void AddItem(const QString& item);
    void AddItem(const QString& item, int index);
    void RemoveItem(int index);
    // Empties every cell (fixed ones too) and drops cell attributes; keeps the shape.
    void Clear();

    // Bulk fill: replaces every non-fixed row with these (short rows are
    // padded, long ones cut to Cols); appendRow adds one row at the end.
    // FlexGridFill fills without a string per cell.
    void setRowsData(std::vector<std::vector<QString>> rows);
    void appendRow(std::vector<QString> cells);
    void reserveRows(int rows);

    // What column col keeps (FlexColKind); changing it keeps the texts shown.
    int ColKind(int col) const;
    void setColKind(int col, int kind);
    // The texts of rows firstRow..lastRow of a column, each once for a run
    // of rows that share one stored text, without a string per cell.
    void forEachText(int col, int firstRow, int lastRow, const std::function<void(QStringView)>& each) const;
    // Every non-fixed row's number in col again (a row number column drops
    // the texts written over its numbers).
    void numberRows(int col);
    // The first row from fromRow on whose text in col is text; -1 when none.
    int FindRow(int col, const QString& text, int fromRow) const;

    // Columns and rows, in twips. ColWidth 0 hides the column; -1 restores the default.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    int ColAlignment(int col) const;  // of the non-fixed cells; flexAlignGeneral at first
    void setColAlignment(int col, int alignment);
    int FixedAlignment(int col) const;  // of the fixed cells; flexAlignLeftCenter at first
    void setFixedAlignment(int col, int alignment);
    int RowData(int row) const;
    void setRowData(int row, int value);

    // Current cell and selection. Setting Row or Col makes the selection that one cell.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    int RowSel() const;
    void setRowSel(int row);
    int ColSel() const;
    void setColSel(int col);
    int TopRow() const;  // the first non-fixed row shown, just below the fixed rows
    void setTopRow(int row);
    int LeftCol() const;  // the first non-fixed column shown, just right of the fixed columns
    void setLeftCol(int col);
    int MouseRow() const;  // the cell under the pointer at the last mouse event; -1 outside
    int MouseCol() const;

    // Attributes of the current cell; they move with their row when sorting.
    QColor CellBackColor() const;  // invalid: the grid's own colour
    void setCellBackColor(const QColor& color);
    QColor CellForeColor() const;  // invalid: the grid's own colour
    void setCellForeColor(const QColor& color);
    bool CellFontItalic() const;
    void setCellFontItalic(bool italic);
    // The same of any cell, read without making it the current one, so a
    // reader (an export) neither moves the user's cursor nor raises the
    // cursor events the window handles.
    QColor CellBackColor(int row, int col) const;
    QColor CellForeColor(int row, int col) const;
    bool CellFontItalic(int row, int col) const;
    QPixmap CellPicture() const;
    void setCellPicture(const QPixmap& picture);
    // Rectangle of the current cell in twips, relative to the grid control.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    // Merging of equal neighbouring texts (empty cells never merge; fixed and
    // non-fixed cells never merge with each other).
    int MergeCells() const;
    void setMergeCells(int setting);
    bool MergeRow(int row) const;
    void setMergeRow(int row, bool merge);
    bool MergeCol(int col) const;
    void setMergeCol(int col, bool merge);

    // Sorts whole rows by the columns Col..ColSel, left to right: rows
    // Row..RowSel when they differ, otherwise every non-fixed row. RowData
    // and cell attributes travel with their rows; equal keys keep their order.
    void setSort(int order);

    bool Redraw() const;
    void setRedraw(bool redraw);

    // Texts too long for their cell are cut off at its edge, as the old grid
    // did, instead of ending in "…". Without it a text ends in "…" only when
    // it is wider than its whole cell, so a column fitted the old way (its
    // text plus 90 twips) shows its texts whole; a cut text's whole text is
    // the cell's tooltip either way.
    void clipLongTexts();

    // Pixels of a cell the views keep clear beside its text.
    static constexpr int kTextMargins = 6;
    // Whether a text of that advance is cut in a cell of that width (pixels):
    // two pixels of the margins may go to the text.
    static bool textCut(int advance, int cellPixels) { return advance + kTextMargins - 2 > cellPixels; }

    // The views that keep the fixed cells in place: the fixed rows (scrolled
    // sideways with the grid), the fixed columns (scrolled up and down with
    // it) and the corner of fixed rows and fixed columns (never scrolled).
    // Each shows the grid's own model; an empty area has zero size.
    QTableView* fixedRowsView() const;
    QTableView* fixedColsView() const;
    QTableView* fixedCornerView() const;

signals:
    void Click();
    void DblClick();
    void MouseDown(int Button, int Shift, float x, float y);
    void MouseUp(int Button, int Shift, float x, float y);
    void MouseMove(int Button, int Shift, float x, float y);
    void KeyDown(int& KeyCode, int Shift);  // KeyCode 0 drops the key
    void KeyPress(int& KeyAscii);           // KeyAscii 0 drops the key
    void RowColChange();
    void EnterCell();
    void LeaveCell();
    void SelChange();

protected:
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;

private:
    friend class FlexGridDelegate;
    friend class FlexGridPane;
    friend class FlexGridModel;
    friend class FlexGridFill;
    bool isFixed(int row, int col) const;
    bool inSelection(int row, int col) const;
    void checkRow(int row) const;
    void checkCol(int col) const;
    void setCurrent(int row, int col, int rowSel, int colSel);
    void cellsChanged(int row0, int col0, int row1, int col1);
    void clampCurrent();
    void applyColumn(int col);
    void applyFixed();
    void applyScroll();
    void markMergeDirty();
    void rebuildSpans();
    void setCellSpan(int row, int col, int rows, int cols);
    void beforePaint();
    void updateViews();
    void followScroll(FlexGridPane* pane);
    int fixedWidthPixels() const;
    int fixedHeightPixels() const;
    int rowPixels(int row) const;
    int colPixels(int col) const;
    int cellX(int col) const;
    int cellY(int row) const;
    int scrollValueOfCol(int col) const;
    int colAtScrollValue(int value) const;
    QPointF areaPosition(const QWidget* from, const QPointF& pos) const;
    void mouseEventCell(const QPointF& area, int& row, int& col);
    void pressAt(QMouseEvent* event, const QPointF& area);
    void moveAt(QMouseEvent* event, const QPointF& area);
    void releaseAt(QMouseEvent* event, const QPointF& area);
    void doubleClickAt(QMouseEvent* event, const QPointF& area);
    float toTwips(qreal pixels) const;

    FlexGridModel* m_model;
    FlexGridPane* m_fixedRows = nullptr;
    FlexGridPane* m_fixedCols = nullptr;
    FlexGridPane* m_corner = nullptr;
    int m_hiddenRows = 0;  // leading rows the scrolling views hide: the fixed rows when last applied
    int m_hiddenCols = 0;
    QString m_formatString;
    int m_row = 1, m_col = 1, m_rowSel = 1, m_colSel = 1;
    int m_topRow = 1, m_leftCol = 1;
    bool m_scrollPending = false;
    bool m_applyingScroll = false;
    int m_mouseRow = -1, m_mouseCol = -1;
    bool m_pressed = false;
    bool m_redraw = true;
    bool m_dirty = false;
    int m_mergeCells = flexMergeNever;
    std::vector<bool> m_mergeRow;
    bool m_mergeDirty = false;
};

}  // namespace corvane
