#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QTableView>

#include "app/cColFlexGridSortColumn.h"
#include "platform/RuntimeError.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

TEST(cFlexGridSortColumn, SortOrderAlternates)
{
    struct Case {
        bool sortable;
        long defaultOrder, alternate;
        QList<long> reads;
    };
    const Case cases[] = {
        {true, 7, 8, {7, 8, 7, 8}},
        {true, 7, 7, {7, 7, 7, 7}},
        {true, 0, 8, {0, 0, 0, 0}},
        {false, 7, 8, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        cFlexGridSortColumn rule;
        rule.setIsSortable(c.sortable);
        rule.setDefaultSortOrder(c.defaultOrder);
        rule.setAlternateSortOrder(c.alternate);
        QList<long> reads;
        for (int i = 0; i < 4; ++i) reads << rule.SortOrder();
        EXPECT_EQ(reads, c.reads) << c.defaultOrder << "/" << c.alternate;
    }
}

TEST(cFlexGridSortColumn, SortColumnPrefersTheHiddenColumn)
{
    cFlexGridSortColumn rule;
    rule.setSortColumn(3);
    EXPECT_EQ(rule.SortColumn(), 0);  // never written: empty, not Null
    rule.setHiddenSortColumn(Null());
    EXPECT_EQ(rule.SortColumn(), 3);
    rule.setHiddenSortColumn(6);
    EXPECT_EQ(rule.SortColumn(), 6);
}

namespace {

// The reminder window's use: rules for columns 1 .. Cols - 2, text order 7
// then 8. Rows hold "r<n>" in column 0 and per column a distinct order.
class SortColumnsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::resetServices();
        grid.setCols(8);
        grid.setRows(5);
        const QStringList c3 = {"b", "d", "a", "c"}, c4 = {"2", "1", "4", "3"}, c6 = {"z", "x", "y", "w"};
        for (int i = 0; i < 4; ++i) {
            grid.setTextMatrix(i + 1, 0, QStringLiteral("r%1").arg(i + 1));
            grid.setTextMatrix(i + 1, 3, c3[i]);
            grid.setTextMatrix(i + 1, 4, c4[i]);
            grid.setTextMatrix(i + 1, 6, c6[i]);
        }
        for (int c = 0; c < 8; ++c) grid.setColWidth(c, 600);
        sorter.Clear();
        sorter.setGrid(&grid);
    }

    void addReminderRules()
    {
        for (int c = 1; c <= grid.Cols() - 2; ++c) sorter.Add(c, true, 7, 8, Null());
    }

    // A double click on the heading of column c: the press makes it current.
    void doubleClickHeading(int c)
    {
        grid.setCol(c);
        sorter.MouseDown(float(c * 600 + 100), 30.0f);
        sorter.Sort();
    }

    QStringList order() const
    {
        QStringList out;
        for (int r = 1; r < grid.Rows(); ++r) out << grid.TextMatrix(r, 0);
        return out;
    }

    FlexGrid grid;
    cColFlexGridSortColumn sorter;
};

}  // namespace

TEST_F(SortColumnsTest, EachColumnAlternatesOnItsOwn)
{
    addReminderRules();
    const QStringList up3 = {"r3", "r1", "r4", "r2"}, down3 = {"r2", "r4", "r1", "r3"};
    doubleClickHeading(3);
    EXPECT_EQ(order(), up3);
    doubleClickHeading(3);
    EXPECT_EQ(order(), down3);
    doubleClickHeading(3);
    EXPECT_EQ(order(), up3);
    doubleClickHeading(4);
    EXPECT_EQ(order(), (QStringList{"r2", "r1", "r4", "r3"}));
    doubleClickHeading(3);  // column 4 in between does not reset column 3
    EXPECT_EQ(order(), down3);
    EXPECT_TRUE(test::doubles().boxes->shown.isEmpty());
}

TEST_F(SortColumnsTest, PressesOutsideTheHeadingsOfSortableColumnsSortNothing)
{
    addReminderRules();
    const QStringList before = order();

    grid.setCol(3);
    sorter.MouseDown(3 * 600 + 100, float(grid.RowHeight(0) + 15));  // a data row
    sorter.Sort();
    EXPECT_EQ(order(), before);

    sorter.MouseDown(100, 30);  // heading of column 0
    sorter.Sort();
    EXPECT_EQ(order(), before);

    doubleClickHeading(7);  // the last column has no rule
    EXPECT_EQ(order(), before);
    EXPECT_TRUE(test::doubles().boxes->shown.isEmpty());
}

TEST_F(SortColumnsTest, UnsortableColumnSaysSo)
{
    sorter.Add(1, true, 7, 8);
    sorter.Add(2, true, 7, 8);
    sorter.Add(3, false, 7, 8);
    const QStringList before = order();
    doubleClickHeading(3);
    EXPECT_EQ(order(), before);
    const auto& shown = test::doubles().boxes->shown;
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Column is not sortable"));
    EXPECT_EQ(shown[0].icon(), vbInformation);
    EXPECT_EQ(shown[0].buttons(), vbOKOnly);
    EXPECT_EQ(shown[0].title, AppTitle());
}

TEST_F(SortColumnsTest, HiddenSortColumnSortsByItAndKeepsTheColumnCurrent)
{
    sorter.Add(1, true, 7, 8);
    sorter.Add(2, true, 7, 8);
    sorter.Add(3, true, 7, 8, 6);
    doubleClickHeading(3);
    EXPECT_EQ(order(), (QStringList{"r4", "r2", "r3", "r1"}));
    EXPECT_EQ(grid.Col(), 3);
}

TEST_F(SortColumnsTest, ADoubleClickOnAHeadingOfAScrolledGridSorts)
{
    // Wired as the reminder window wires its grid, and scrolled far down:
    // the heading stays on screen and a double click on it sorts.
    addReminderRules();
    grid.setRows(301);
    for (int r = 5; r < 301; ++r) {
        grid.setTextMatrix(r, 0, QStringLiteral("r%1").arg(r));
        grid.setTextMatrix(r, 3, QStringLiteral("x%1").arg(r));
    }
    QObject::connect(&grid, &FlexGrid::MouseDown, [&](int, int, float x, float y) { sorter.MouseDown(x, y); });
    QObject::connect(&grid, &FlexGrid::DblClick, [&] { sorter.Sort(); });
    grid.resize(500, 200);
    grid.show();
    grid.setTopRow(200);
    QApplication::processEvents();

    // The heading of column 3: right of the fixed column 0 and columns 1 and 2.
    const QPoint inGrid = grid.contentsRect().topLeft() + QPoint(3 * 40 + 5, 5);
    QWidget* target = grid.childAt(inGrid);
    ASSERT_EQ(target, grid.fixedRowsView()->viewport());
    const QPoint at = target->mapFrom(&grid, inGrid);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, at, target->mapToGlobal(at), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    EXPECT_EQ(order().mid(0, 4), (QStringList{"r3", "r1", "r4", "r2"}));
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.TopRow(), 200);
}

TEST_F(SortColumnsTest, NullAlternateSortsWithTheDefaultEveryTime)
{
    for (int c = 1; c <= 4; ++c) sorter.Add(c, true, 7);
    doubleClickHeading(4);
    doubleClickHeading(4);
    EXPECT_EQ(order(), (QStringList{"r2", "r1", "r4", "r3"}));
}

TEST_F(SortColumnsTest, RulesAreFoundByPositionNotByColumn)
{
    for (int c = 3; c <= 5; ++c) sorter.Add(c, true, 7, 8);
    doubleClickHeading(1);  // position 1: the rule of column 3
    EXPECT_EQ(order(), (QStringList{"r3", "r1", "r4", "r2"}));
    EXPECT_EQ(grid.Col(), 1);
}

TEST_F(SortColumnsTest, CollectionKeysPositionsAndErrors)
{
    sorter.Add(1, true, 7, 8);
    sorter.Add(3, true, 7, 8);
    sorter.Add(2, true, 7, 8, Null(), QStringLiteral("3"));  // before the rule of column 3
    sorter.Add(9, true, 7, 8, Null(), QVariant(), 1);        // after position 1
    EXPECT_EQ(sorter.Count(), 4);
    QList<long> columns;
    for (int i = 1; i <= sorter.Count(); ++i) columns << sorter.Item(i)->SortColumn();
    EXPECT_EQ(columns, (QList<long>{1, 9, 2, 3}));
    EXPECT_EQ(sorter.Item(QStringLiteral("2"))->SortColumn(), 2);
    EXPECT_EQ(sorter.Items()->Count(), 4);

    struct Failing {
        const char* name;
        std::function<void()> call;
        long number;
        QString procedure;
    };
    const QList<Failing> failing = {
        {"duplicate column", [&] { sorter.Add(3, true, 7, 8); }, 457, "Add"},
        {"before names nothing", [&] { sorter.Add(4, true, 7, 8, Null(), QStringLiteral("44")); }, 5, "Add"},
        {"alternate not a number", [&] { sorter.Add(5, true, 7, QStringLiteral("x")); }, 13, "Add"},
        {"no such key", [&] { sorter.Item(QStringLiteral("8")); }, 5, "Item"},
        {"no such position", [&] { sorter.Item(9); }, 9, "Item"},
    };
    for (const Failing& f : failing) {
        try {
            f.call();
            ADD_FAILURE() << f.name << ": no error";
        } catch (const RuntimeError& e) {
            const QString where = QStringLiteral("cColFlexGridSortColumn::") + f.procedure + QStringLiteral("()");
            EXPECT_EQ(e.Number, f.number) << f.name;
            EXPECT_TRUE(e.Source.endsWith(QLatin1Char('>') + where)) << f.name << " " << e.Source.toStdString();
            EXPECT_TRUE(e.Description.endsWith(QStringLiteral(".  In ") + where)) << f.name;
            EXPECT_FALSE(e.Description.contains(QStringLiteral("..  In"))) << f.name;
        }
    }
    EXPECT_EQ(sorter.Count(), 4);
    EXPECT_FALSE(sorter.HasItem(QStringLiteral("8")));
    EXPECT_TRUE(sorter.HasItem(4));

    sorter.Remove(QStringLiteral("8"));  // nothing to remove: no error
    sorter.Remove(1);
    EXPECT_EQ(sorter.Count(), 3);
    auto old = sorter.Items();
    sorter.Clear();
    EXPECT_EQ(sorter.Count(), 0);
    EXPECT_EQ(old->Count(), 3);
}

TEST_F(SortColumnsTest, ReplaceAppendsARuleWithoutOrders)
{
    sorter.Add(1, true, 7, 8);
    sorter.Add(2, true, 7, 8);
    sorter.Replace(5, QStringLiteral("1"));
    EXPECT_EQ(sorter.Count(), 2);
    auto rule = sorter.Item(2);
    EXPECT_EQ(rule->SortColumn(), 5);
    EXPECT_TRUE(rule->IsSortable());
    EXPECT_EQ(rule->SortOrder(), 0);
}

TEST(cColFlexGridSortColumn, MouseDownWithoutAGridRaises)
{
    cColFlexGridSortColumn sorter;
    try {
        sorter.MouseDown(10, 10);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number, 91);
    }
    EXPECT_NO_THROW(sorter.Sort());  // no heading press remembered: nothing to do
}
