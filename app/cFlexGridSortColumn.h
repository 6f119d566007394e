#pragma once
// One column's sort rule: whether the column may be sorted, by which column
// the rows are really sorted, and the two grid sort orders that alternate.

#include <QVariant>

namespace corvane {

class cFlexGridSortColumn {
public:
    bool IsSortable() const { return m_isSortable; }
    void setIsSortable(bool sortable) { m_isSortable = sortable; }
    // Null for none; never written reads as column 0.
    void setHiddenSortColumn(const QVariant& column) { m_hiddenSortColumn = column; }
    // The hidden sort column when there is one, otherwise the rule's own column.
    long SortColumn() const;
    void setSortColumn(long column) { m_sortColumn = column; }
    void setDefaultSortOrder(long order) { m_defaultSortOrder = order; }
    void setAlternateSortOrder(long order) { m_alternateSortOrder = order; }
    // Default, alternate, default, ... per read; 0 when the column is not sortable.
    long SortOrder();

    // A variant as a 32-bit integer: empty is 0, halves go to the even
    // number; Null and texts that are no number raise the old errors.
    static long toLong(const QVariant& value);

private:
    bool m_isSortable = false;
    QVariant m_hiddenSortColumn;
    long m_sortColumn = 0;
    long m_defaultSortOrder = 0;
    long m_alternateSortOrder = 0;
    long m_lastSortOrder = 0;
};

}  // namespace corvane
