#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTableView>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/RuntimeError.h"
#include "platform/TextMeasure.h"

using namespace corvane;

namespace {

// 100 twips per character, whatever the font: widths become predictable.
struct FixedMeasure {
    FixedMeasure()
    {
        setTextWidthMeasure([](const QFont&, const QString& s) { return 100.0 * double(s.size()); });
    }
    ~FixedMeasure() { setTextWidthMeasure({}); }
};

QStringList column(const FlexGrid& g, int c)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.Rows(); ++r) out << g.TextMatrix(r, c);
    return out;
}

QList<int> rowData(const FlexGrid& g)
{
    QList<int> out;
    for (int r = g.FixedRows(); r < g.Rows(); ++r) out << g.RowData(r);
    return out;
}

// A grid with a heading row and column 0 fixed, and the given texts in column 1.
void fill(FlexGrid& g, const QStringList& texts)
{
    g.setCols(3);
    g.setRows(1 + int(texts.size()));
    g.setTextMatrix(0, 1, QStringLiteral("head"));
    for (int i = 0; i < texts.size(); ++i) {
        g.setTextMatrix(i + 1, 1, texts[i]);
        g.setTextMatrix(i + 1, 2, QString::number(i));
        g.setRowData(i + 1, i);
    }
}

// A left press and release at a point of the cell area, sent to whichever
// view lies there, as the window system would.
void click(FlexGrid& g, const QPoint& areaPoint)
{
    const QPoint inGrid = g.contentsRect().topLeft() + areaPoint;
    QWidget* target = g.childAt(inGrid);
    ASSERT_NE(target, nullptr);
    const QPoint local = target->mapFrom(&g, inGrid);
    QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

}  // namespace

TEST(FlexGrid, FormatStringSetsColumnsHeadingsAlignmentsAndWidths)
{
    FixedMeasure measure;
    FlexGrid g;
    g.setRows(3);
    g.setFormatString(QStringLiteral("^序|<合同编号|>金额  |plain||"));

    ASSERT_EQ(g.Cols(), 6);
    EXPECT_EQ(g.Rows(), 3);
    const QStringList heads = {QStringLiteral("序"), QStringLiteral("合同编号"), QStringLiteral("金额  "),
                               QStringLiteral("plain"), QString(), QString()};
    const int aligns[] = {flexAlignCenterCenter, flexAlignLeftCenter, flexAlignRightCenter, flexAlignGeneral,
                          flexAlignGeneral, flexAlignGeneral};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(g.TextMatrix(0, c), heads[c]) << c;
        EXPECT_EQ(g.ColAlignment(c), aligns[c]) << c;
        EXPECT_EQ(g.ColWidth(c), 100 * heads[c].size() + 120) << c;
    }
    EXPECT_EQ(g.FormatString(), QStringLiteral("^序|<合同编号|>金额  |plain||"));
}

TEST(FlexGrid, FormatStringAfterSemicolonFillsColumnZero)
{
    FixedMeasure measure;
    FlexGrid g;
    g.setRows(1);
    g.setFormatString(QStringLiteral("|a|b;一|二|三"));
    EXPECT_EQ(g.Cols(), 3);
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(column(g, 0), (QStringList{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
}

TEST(FlexGrid, FixedCellsAreOrdinaryCellsAndBadIndexesRaise)
{
    FlexGrid g;
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    g.setTextMatrix(0, 1, QStringLiteral("合同编号"));
    g.setTextMatrix(1, 0, QStringLiteral("1"));
    EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("合同编号"));
    EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("1"));

    g.setRow(0);
    g.setCol(1);
    EXPECT_EQ(g.Text(), QStringLiteral("合同编号"));

    try {
        g.TextMatrix(2, 0);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number, 381);
    }
    EXPECT_THROW(g.setRow(5), RuntimeError);
    EXPECT_THROW(g.setCol(-1), RuntimeError);
}

TEST(FlexGrid, SettingRowOrColCollapsesTheSelection)
{
    FlexGrid g;
    g.setRows(5);
    g.setCols(4);
    g.setRow(1);
    g.setRowSel(3);
    g.setColSel(3);
    EXPECT_EQ(g.RowSel(), 3);
    g.setCol(2);
    EXPECT_EQ(g.RowSel(), 1);
    EXPECT_EQ(g.ColSel(), 2);
}

TEST(FlexGrid, SortOrders)
{
    struct Case {
        int order;
        QStringList in;
        QStringList out;
    };
    const QList<Case> cases = {
        {flexSortGenericAscending, {"10", "9", "b", "A", "2.5"}, {"2.5", "9", "10", "A", "b"}},
        {flexSortGenericDescending, {"10", "9", "b", "A", "2.5"}, {"b", "A", "10", "9", "2.5"}},
        {flexSortNumericAscending, {"10", "x", "9", "-1"}, {"-1", "x", "9", "10"}},
        {flexSortNumericDescending, {"10", "x", "9", "-1"}, {"10", "9", "x", "-1"}},
        {flexSortStringNoCaseAscending, {"b", "c", "B", "a"}, {"a", "b", "B", "c"}},
        {flexSortStringNoCaseDescending, {"b", "c", "B", "a"}, {"c", "b", "B", "a"}},
        {flexSortStringAscending, {"9", "10", "b", "a"}, {"10", "9", "a", "b"}},
        {flexSortStringDescending, {"9", "10", "b", "a"}, {"b", "a", "9", "10"}},
        {flexSortStringAscending, {"张三", "李四", "王五"}, {"李四", "王五", "张三"}},
        {flexSortStringAscending, {"2024-03-01", "2023-12-31", "2024-01-15"},
         {"2023-12-31", "2024-01-15", "2024-03-01"}},
    };
    for (const Case& tc : cases) {
        FlexGrid g;
        fill(g, tc.in);
        g.setCol(1);
        g.setSort(tc.order);
        EXPECT_EQ(column(g, 1), tc.out) << "order " << tc.order << " " << tc.in.join(',').toStdString();
        EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("head"));
        // Each row's other cells and RowData travel with it.
        for (int r = 1; r < g.Rows(); ++r) {
            const int from = g.RowData(r);
            EXPECT_EQ(g.TextMatrix(r, 2), QString::number(from));
            EXPECT_EQ(g.TextMatrix(r, 1), tc.in[from]);
        }
    }
}

// A value column sorts, in every order, exactly as a text column holding
// the texts it shows.
TEST(FlexGrid, ValueColumnsSortAsTheirTexts)
{
    struct Case {
        int kind;
        QStringList texts;
    };
    const QList<Case> cases = {
        {flexKindAmount, {"10.00", "", "9.50", "-1.00", "0.00", "", "100.00", "9.50"}},
        {flexKindDate, {"2024-03-01", "", "2023-12-31 10:00:00", "2023-12-31", "2024-01-15 00:00:01", "2024-01-15"}},
        {flexKindFlag, {"True", "", "False", "True", "False"}},
        {flexKindDate, {"2024-03-01", "不详", "", "2023-12-31"}},  // a text kept in a value column
    };
    for (const Case& tc : cases) {
        for (int order = flexSortGenericAscending; order <= flexSortStringDescending; ++order) {
            FlexGrid asText, asValue;
            fill(asText, tc.texts);
            fill(asValue, tc.texts);
            asValue.setColKind(1, tc.kind);
            ASSERT_EQ(column(asValue, 1), tc.texts);
            for (FlexGrid* g : {&asText, &asValue}) {
                g->setCol(1);
                g->setSort(order);
            }
            EXPECT_EQ(column(asValue, 1), column(asText, 1)) << "kind " << tc.kind << " order " << order;
            EXPECT_EQ(rowData(asValue), rowData(asText)) << "kind " << tc.kind << " order " << order;
        }
    }
}

TEST(FlexGrid, AFillReplacesTheRowsAndReusesTheirStorage)
{
    FlexGrid g;
    g.setCols(4);
    g.setColKind(0, flexKindRowNumber);
    g.setColKind(2, flexKindAmount);
    g.setTextMatrix(0, 0, QStringLiteral("序"));
    g.setTextMatrix(0, 2, QStringLiteral("金额"));
    auto refill = [&](int n) {
        FlexGridFill fill(g);
        for (int i = 0; i < n; ++i) {
            fill.row();
            fill.text(1, i % 2 ? QStringLiteral("odd") : QStringLiteral("even"));
            fill.amount(2, i % 3 ? std::optional<qint64>(i * 150) : std::nullopt);
            fill.text(3, QString::number(i));
        }
    };
    for (int round = 0; round < 3; ++round) {
        refill(5000);
        ASSERT_EQ(g.Rows(), 5001);
        EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("序"));
        EXPECT_EQ(g.TextMatrix(0, 2), QStringLiteral("金额"));
        EXPECT_EQ(g.TextMatrix(4, 0), QStringLiteral("4"));
        EXPECT_EQ(g.TextMatrix(4, 1), QStringLiteral("odd"));
        EXPECT_EQ(g.TextMatrix(3, 2), QStringLiteral("3.00"));
        EXPECT_EQ(g.TextMatrix(4, 3), QStringLiteral("3"));
        EXPECT_EQ(g.TextMatrix(1, 2), QString());
        // Cells written one by one: a value, a text no amount reads as, a
        // row number of another row.
        g.setTextMatrix(5, 2, QStringLiteral("7.00"));
        g.setTextMatrix(6, 2, QStringLiteral("约7元"));
        g.setTextMatrix(2, 0, QStringLiteral("x"));
        g.setRow(3);
        g.setCol(1);
        g.setCellBackColor(Qt::red);
        EXPECT_EQ(g.ColKind(2), flexKindAmount);
        EXPECT_EQ(g.TextMatrix(5, 2), QStringLiteral("7.00"));
        EXPECT_EQ(g.TextMatrix(6, 2), QStringLiteral("约7元"));
        // A sort moves rows, not the numbers of the row number column.
        g.setCol(3);
        g.setSort(flexSortNumericDescending);
        EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral("4999"));
        EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("1"));
        EXPECT_EQ(g.FindRow(2, QStringLiteral("约7元"), 1), 5000 - 5);
        EXPECT_EQ(g.FindRow(0, QStringLiteral("x"), 1), 5000 - 1);
        g.numberRows(0);
        EXPECT_EQ(g.FindRow(0, QStringLiteral("x"), 1), -1);
        EXPECT_EQ(g.CellBackColor(5000 - 2, 1), QColor(Qt::red));
    }
    // The attributes went with the rows they belonged to.
    refill(2);
    EXPECT_EQ(g.CellBackColor(1, 1), QColor());
    // A fill that gets no row leaves the rows as they were.
    { FlexGridFill none(g); }
    EXPECT_EQ(g.Rows(), 3);
    // One cell written over and over keeps its neighbours.
    for (int i = 0; i < 200000; ++i) g.setTextMatrix(1, 1, QString::number(i));
    EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("199999"));
    EXPECT_EQ(g.TextMatrix(2, 1), QStringLiteral("odd"));
}

TEST(FlexGrid, ACutTextShowsWhollyInItsTooltip)
{
    FlexGrid g;
    g.setCols(2);
    g.setRows(3);
    const QString longText(60, QChar(u'长')), shortText = QStringLiteral("短");
    g.setTextMatrix(1, 1, longText);
    g.setTextMatrix(2, 1, shortText);
    const int fitted = g.fontMetrics().horizontalAdvance(longText) + FlexGrid::kTextMargins;
    struct Case {
        int pixels;
        int row;
        QString tip;
    } cases[] = {{fitted, 1, QString()}, {fitted / 3, 1, longText}, {fitted / 3, 2, QString()}};
    for (const Case& c : cases) {
        g.setColWidth(1, pixelsToTwips(c.pixels));
        EXPECT_EQ(g.model()->index(c.row, 1).data(Qt::ToolTipRole).toString(), c.tip) << c.pixels << " px, row " << c.row;
    }
}

TEST(FlexGrid, SortMovesCellAttributesAndKeepsTheCurrentCell)
{
    FlexGrid g;
    fill(g, {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")});
    g.setRow(1);
    g.setCol(2);
    g.setCellFontItalic(true);
    g.setCellBackColor(Qt::red);
    g.setCol(1);
    g.setSort(flexSortStringAscending);

    EXPECT_EQ(rowData(g), (QList<int>{1, 2, 0}));
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    g.setRow(3);
    g.setCol(2);
    EXPECT_TRUE(g.CellFontItalic());
    EXPECT_EQ(g.CellBackColor(), QColor(Qt::red));
    g.setRow(1);
    EXPECT_FALSE(g.CellFontItalic());
    EXPECT_FALSE(g.CellBackColor().isValid());
}

TEST(FlexGrid, AnyCellsAttributesAreReadWithoutMovingTheCursor)
{
    FlexGrid g;
    fill(g, {QStringLiteral("a"), QStringLiteral("b")});
    g.setRow(2);
    g.setCol(1);
    g.setCellFontItalic(true);
    g.setCol(2);
    g.setCellBackColor(Qt::red);
    g.setRow(1);
    g.setCol(1);
    int cursorEvents = 0;
    for (auto signal : {&FlexGrid::RowColChange, &FlexGrid::EnterCell, &FlexGrid::LeaveCell, &FlexGrid::SelChange})
        QObject::connect(&g, signal, [&] { ++cursorEvents; });

    struct Case {
        int row, col;
        bool italic;
        QColor back;
    } cases[] = {{2, 1, true, {}}, {2, 2, false, QColor(Qt::red)}, {1, 1, false, {}}, {0, 0, false, {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(g.CellFontItalic(c.row, c.col), c.italic) << c.row << "," << c.col;
        EXPECT_EQ(g.CellBackColor(c.row, c.col), c.back) << c.row << "," << c.col;
    }
    EXPECT_EQ(cursorEvents, 0);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_THROW(g.CellBackColor(3, 0), RuntimeError);
    EXPECT_THROW(g.CellFontItalic(0, 3), RuntimeError);
}

TEST(FlexGrid, ClipLongTextsCutsOffInEveryView)
{
    FlexGrid g;
    EXPECT_EQ(g.textElideMode(), Qt::ElideRight);
    g.clipLongTexts();
    for (const QAbstractItemView* view : {static_cast<const QAbstractItemView*>(&g),
                                          static_cast<const QAbstractItemView*>(g.fixedRowsView()),
                                          static_cast<const QAbstractItemView*>(g.fixedColsView()),
                                          static_cast<const QAbstractItemView*>(g.fixedCornerView())})
        EXPECT_EQ(view->textElideMode(), Qt::ElideNone) << view->objectName().toStdString();
}

TEST(FlexGrid, SortWithARowSelectionSortsOnlyThoseRows)
{
    FlexGrid g;
    fill(g, {QStringLiteral("d"), QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")});
    g.setCol(1);
    g.setRow(2);
    g.setRowSel(3);
    g.setSort(flexSortStringAscending);
    EXPECT_EQ(column(g, 1), (QStringList{"d", "b", "c", "a"}));
}

TEST(FlexGrid, ColWidthZeroHidesAndMinusOneRestores)
{
    FlexGrid g;
    g.setCols(3);
    const int standard = g.ColWidth(2);
    g.setColWidth(1, 1500);
    EXPECT_EQ(g.ColWidth(1), 1500);
    EXPECT_EQ(g.columnWidth(1), 100);
    g.setColWidth(1, 0);
    EXPECT_EQ(g.ColWidth(1), 0);
    EXPECT_TRUE(g.isColumnHidden(1));
    g.setColWidth(1, -1);
    EXPECT_FALSE(g.isColumnHidden(1));
    EXPECT_EQ(g.ColWidth(1), standard);
}

TEST(FlexGrid, AddItemRemoveItemAndClear)
{
    FlexGrid g;
    g.setCols(3);
    g.setRows(1);
    g.AddItem(QStringLiteral("1\tb\tx\textra"));
    g.AddItem(QStringLiteral("0\ta"), 1);
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(column(g, 1), (QStringList{"a", "b"}));
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("x"));
    EXPECT_EQ(g.TextMatrix(1, 2), QString());

    g.RemoveItem(1);
    EXPECT_EQ(column(g, 1), (QStringList{"b"}));

    g.setTextMatrix(0, 0, QStringLiteral("序"));
    g.Clear();
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(0, 0), QString());
    EXPECT_EQ(g.TextMatrix(1, 1), QString());
}

TEST(FlexGrid, BulkFillOfManyRows)
{
    FlexGrid g;
    g.setCols(25);
    std::vector<std::vector<QString>> rows(100000);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].reserve(25);
        for (int c = 0; c < 25; ++c) rows[i].push_back(QString::number(i * 25 + size_t(c)));
    }
    g.setRowsData(std::move(rows));
    ASSERT_EQ(g.Rows(), 100001);
    EXPECT_EQ(g.TextMatrix(100000, 24), QString::number(99999 * 25 + 24));
    EXPECT_EQ(g.model()->rowCount(), 100001);

    // Cell by cell through the old vocabulary, as the list windows fill.
    g.setRows(1);
    g.reserveRows(100001);
    for (int i = 1; i <= 100000; ++i) {
        g.setRows(i + 1);
        g.setRow(i);
        for (int c = 0; c < 25; ++c) g.setTextMatrix(i, c, QStringLiteral("x"));
    }
    EXPECT_EQ(g.Rows(), 100001);
    EXPECT_EQ(g.Row(), 100000);
}

TEST(FlexGrid, MergesEqualNeighboursOfMergedColumns)
{
    FlexGrid g;
    g.setCols(3);
    g.setRows(5);
    const QStringList c1 = {"A", "A", "A", "B"}, c2 = {"x", "x", "y", "y"};
    for (int i = 0; i < 4; ++i) {
        g.setTextMatrix(i + 1, 0, QString::number(i + 1));
        g.setTextMatrix(i + 1, 1, c1[i]);
        g.setTextMatrix(i + 1, 2, c2[i]);
    }
    g.setMergeCells(flexMergeRestrictColumns);
    g.setMergeCol(1, true);
    g.setMergeCol(2, true);
    g.resize(300, 200);
    g.grab();  // spans are worked out when the grid paints

    EXPECT_EQ(g.rowSpan(1, 1), 3);
    EXPECT_EQ(g.rowSpan(4, 1), 1);
    EXPECT_EQ(g.rowSpan(1, 2), 2);
    // "y" in rows 3 and 4 does not merge: column 1 breaks between them.
    EXPECT_EQ(g.rowSpan(3, 2), 1);
    EXPECT_EQ(g.rowSpan(1, 0), 1);
}

TEST(FlexGrid, CellRectangleFollowsColumnWidthsAndRowHeights)
{
    FlexGrid g;
    g.setCols(4);
    g.setRows(4);
    g.setColWidth(0, 600);
    g.setColWidth(1, 900);
    g.setRowHeight(0, 450);
    g.setRow(2);
    g.setCol(2);
    const int border = g.frameWidth() * 15;
    EXPECT_EQ(g.CellLeft() - border, 1500);
    EXPECT_EQ(g.CellTop() - border, 450 + g.RowHeight(1));
    EXPECT_EQ(g.CellWidth(), g.ColWidth(2));
    EXPECT_EQ(g.CellHeight(), g.RowHeight(2));
}

TEST(FlexGrid, HeadingPressSelectsTheColumnAndReportsTwips)
{
    FlexGrid g;
    g.setCols(4);
    g.setRows(5);
    g.resize(400, 300);
    g.show();
    QList<float> down;
    int clicks = 0;
    QObject::connect(&g, &FlexGrid::MouseDown, [&](int button, int, float x, float y) {
        down = {float(button), x, y};
    });
    QObject::connect(&g, &FlexGrid::Click, [&] { ++clicks; });

    const QPoint at((g.ColWidth(0) + g.ColWidth(1)) / 15 + 3, 4);
    click(g, at);

    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.RowSel(), 4);
    EXPECT_EQ(g.MouseRow(), 0);
    EXPECT_EQ(g.MouseCol(), 2);
    EXPECT_EQ(down, (QList<float>{1.0f, float(at.x() * 15), float(at.y() * 15)}));
    EXPECT_EQ(clicks, 1);
}

TEST(FlexGrid, FixedRowsAndColumnsStayWhileTheRestScrolls)
{
    FlexGrid g;
    g.setCols(20);
    g.setRows(10000);
    for (int c = 0; c < 20; ++c) g.setTextMatrix(0, c, QStringLiteral("head%1").arg(c));
    for (int r = 1; r < 10000; ++r) g.setTextMatrix(r, 0, QString::number(r));
    g.setColWidth(0, 600);
    g.setRowHeight(0, 450);
    g.resize(400, 300);
    g.show();
    g.setTopRow(5000);
    g.setLeftCol(3);
    QApplication::processEvents();

    const QRect area = g.contentsRect();
    QTableView* heads = g.fixedRowsView();
    QTableView* numbers = g.fixedColsView();
    QTableView* corner = g.fixedCornerView();
    EXPECT_EQ(g.TopRow(), 5000);
    EXPECT_EQ(g.LeftCol(), 3);
    EXPECT_EQ(corner->geometry(), QRect(area.topLeft(), QSize(40, 30)));
    EXPECT_EQ(heads->geometry(), QRect(area.left() + 40, area.top(), g.viewport()->width(), 30));
    EXPECT_EQ(numbers->geometry(), QRect(area.left(), area.top() + 30, 40, g.viewport()->height()));
    EXPECT_EQ(g.viewport()->geometry().topLeft(), area.topLeft() + QPoint(40, 30));

    // What each view shows at its top left corner.
    auto topLeft = [](QTableView* v) {
        const QModelIndex i = v->indexAt(QPoint(1, 1));
        return std::make_pair(i.row(), i.column());
    };
    EXPECT_EQ(topLeft(corner), std::make_pair(0, 0));
    EXPECT_EQ(topLeft(heads), std::make_pair(0, 3));
    EXPECT_EQ(topLeft(numbers), std::make_pair(5000, 0));
    EXPECT_EQ(topLeft(&g), std::make_pair(5000, 3));
    // The widget at the top left of the grid is the corner: the heading is on screen.
    EXPECT_EQ(g.childAt(area.topLeft() + QPoint(1, 1)), corner->viewport());

    // A press on a heading while scrolled reads the heading's cell and sorts
    // that column in the callers; the position counts from the cell area.
    click(g, QPoint(40 + 5, 5));
    EXPECT_EQ(g.MouseRow(), 0);
    EXPECT_EQ(g.MouseCol(), 3);
    EXPECT_EQ(g.Col(), 3);
    click(g, QPoint(5, 30 + 5));
    EXPECT_EQ(g.MouseRow(), 5000);
    EXPECT_EQ(g.MouseCol(), 0);
    EXPECT_EQ(g.Row(), 5000);

    // The cell rectangle of a scrolled cell lies below and right of the fixed ones.
    g.setRow(5001);
    g.setCol(4);
    const int border = g.frameWidth() * 15;
    EXPECT_EQ(g.CellLeft() - border, 600 + g.ColWidth(3));
    EXPECT_EQ(g.CellTop() - border, 450 + g.RowHeight(5000));

    // Wider fixed columns, taller fixed rows and a second fixed row move the panes.
    g.setColWidth(0, 1500);
    g.setRowHeight(0, 600);
    g.setFixedRows(2);
    QApplication::processEvents();
    const int fixedHeight = 40 + g.RowHeight(1) / 15;
    EXPECT_EQ(corner->geometry(), QRect(area.topLeft(), QSize(100, fixedHeight)));
    EXPECT_EQ(heads->geometry().topLeft(), area.topLeft() + QPoint(100, 0));
    EXPECT_EQ(g.viewport()->geometry().topLeft(), area.topLeft() + QPoint(100, fixedHeight));
    EXPECT_EQ(topLeft(heads), std::make_pair(0, 3));
    EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_EQ(heads->indexAt(QPoint(1, 40 + 1)).row(), 1);

    // No fixed rows or columns: the grid scrolls as a whole.
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setTopRow(0);
    g.setLeftCol(0);
    QApplication::processEvents();
    EXPECT_EQ(g.viewport()->geometry().topLeft(), area.topLeft());
    EXPECT_EQ(topLeft(&g), std::make_pair(0, 0));
    EXPECT_EQ(heads->height(), 0);
    EXPECT_EQ(numbers->width(), 0);
}

TEST(FlexGrid, MergedHeadingsAreDrawnInTheFixedRows)
{
    FlexGrid g;
    g.setCols(4);
    g.setRows(4);
    g.setFixedCols(0);
    for (int c = 0; c < 4; ++c) g.setTextMatrix(0, c, c < 3 ? QStringLiteral("金额") : QStringLiteral("备注"));
    g.setMergeCells(flexMergeRestrictRows);
    g.setMergeRow(0, true);
    g.resize(300, 200);
    g.grab();
    EXPECT_EQ(g.fixedRowsView()->columnSpan(0, 0), 3);
    EXPECT_EQ(g.columnSpan(0, 0), 1);
}

TEST(FlexGrid, TopRowScrollsAndFollowsTheScrollBar)
{
    FlexGrid g;
    g.setRows(200);
    g.resize(300, 200);
    g.setTopRow(50);  // asked before the grid is laid out: applied when it is
    g.show();
    EXPECT_EQ(g.TopRow(), 50);
    const int y = g.rowViewportPosition(50);
    EXPECT_GE(y, 0);
    EXPECT_LT(y, g.viewport()->height());

    g.verticalScrollBar()->setValue(10);
    EXPECT_EQ(g.TopRow(), 10 + g.FixedRows());

    // On screen, a row beyond the last page shows the last page, and the
    // grid goes on following the scroll bar.
    g.setTopRow(199);
    EXPECT_EQ(g.TopRow(), g.verticalScrollBar()->maximum() + g.FixedRows());
    EXPECT_LT(g.TopRow(), 199);
    g.verticalScrollBar()->setValue(20);
    EXPECT_EQ(g.TopRow(), 20 + g.FixedRows());
    g.resize(300, 220);
    QApplication::processEvents();
    EXPECT_EQ(g.TopRow(), 20 + g.FixedRows());
    EXPECT_EQ(g.verticalScrollBar()->value(), 20);
}

TEST(FlexGrid, KeysMoveWithinTheNonFixedCellsAndReachKeyPress)
{
    FlexGrid g;
    g.setRows(4);
    g.setCols(4);
    g.setColWidth(2, 0);
    QList<int> pressed;
    QObject::connect(&g, &FlexGrid::KeyPress, [&](int& key) { pressed << key; });
    auto key = [&](int k, const QString& text = QString()) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(&g, &e);
    };

    key(Qt::Key_Up);
    key(Qt::Key_Left);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    key(Qt::Key_Right);  // over the hidden column 2
    EXPECT_EQ(g.Col(), 3);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(g.Row(), 3);
    key(Qt::Key_Return, QStringLiteral("\r"));
    key(Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(pressed, (QList<int>{13, 'a'}));
}

// Esc reaches the grid's KeyPress and then the window holding the grid, which
// closes the panel the grid lies in.
TEST(FlexGrid, EscReachesKeyPressAndThenTheWindow)
{
    Form window;
    auto* panel = new QWidget(&window);
    auto* close = new QPushButton(QStringLiteral("关闭"), panel);
    QObject::connect(close, &QPushButton::clicked, panel, &QWidget::hide);
    auto* g = new FlexGrid(panel);
    g->setRows(3);
    g->setCols(3);
    window.addClosablePanel(panel, close);
    window.show();
    QList<int> pressed;
    QObject::connect(g, &FlexGrid::KeyPress, [&](int& key) { pressed << key; });
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(g, &esc);
    EXPECT_EQ(pressed, QList<int>{27});
    EXPECT_TRUE(panel->isHidden());
}
