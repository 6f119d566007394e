#pragma once
// The sort rules of one grid: a double click on a column heading sorts the
// rows by that column's rule, alternating its two orders. The window passes
// the grid's mouse-down position first, so a double click elsewhere sorts
// nothing.

#include <QPointer>
#include <QVariant>
#include <memory>

#include "app/cFlexGridSortColumn.h"
#include "platform/Collection.h"
#include "platform/FlexGrid.h"

namespace corvane {

class cColFlexGridSortColumn {
public:
    using Rules = Collection<cFlexGridSortColumn>;

    cColFlexGridSortColumn();

    long Count() const;
    // The rule is keyed by the column as decimal text; p_vBefore / p_vAfter
    // (a key text or a 1-based position) place it, otherwise it goes last.
    // Errors are raised again with this class and procedure added.
    void Add(long p_lSortCol, bool p_bIsSortable, long p_lDefaultSort = 0, const QVariant& p_vAlternateSort = Null(),
             const QVariant& p_vHiddenSortColumn = Null(), const QVariant& p_vBefore = QVariant(),
             const QVariant& p_vAfter = QVariant());
    bool HasItem(const QVariant& p_vKey) const;
    // A text finds the rule by key, a number by 1-based position.
    std::shared_ptr<cFlexGridSortColumn> Item(const QVariant& p_vKey) const;
    void Remove(const QVariant& p_vKey);  // nothing when there is no such rule
    std::shared_ptr<Rules> Items() const { return m_rules; }
    void Clear();
    void Replace(const QVariant& p_vItem, const QVariant& p_vKey);

    // The grid's mouse-down position in twips.
    void MouseDown(float p_x, float p_y);
    void Sort();
    void setGrid(FlexGrid* grid) { m_grid = grid; }

private:
    FlexGrid& grid() const;

    QPointer<FlexGrid> m_grid;
    std::shared_ptr<Rules> m_rules;
    bool m_inHeaderRow = false;
    bool m_inFirstColumn = false;
};

}  // namespace corvane
