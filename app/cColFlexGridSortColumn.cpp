#include "app/cColFlexGridSortColumn.h"

#include "platform/RuntimeError.h"
#include "platform/Services.h"

namespace corvane {

namespace {

const QString kClassName = QStringLiteral("cColFlexGridSortColumn");

// Passes an error on with the place it went through, as the caller expects
// to read where it came from.
[[noreturn]] void raiseAgain(const RuntimeError& e, const QString& procedure)
{
    const QString where = kClassName + QStringLiteral("::") + procedure + QStringLiteral("()");
    QString description = e.Description;
    if (!description.endsWith(QLatin1Char('.'))) description += QLatin1Char('.');
    description += QStringLiteral("  In ") + where;
    throw RuntimeError(e.Number, description, e.Source + QLatin1Char('>') + where);
}

}  // namespace

cColFlexGridSortColumn::cColFlexGridSortColumn() : m_rules(std::make_shared<Rules>()) {}

long cColFlexGridSortColumn::Count() const { return m_rules->Count(); }

void cColFlexGridSortColumn::Add(long p_lSortCol, bool p_bIsSortable, long p_lDefaultSort,
                                 const QVariant& p_vAlternateSort, const QVariant& p_vHiddenSortColumn,
                                 const QVariant& p_vBefore, const QVariant& p_vAfter)
{
    try {
        auto rule = std::make_shared<cFlexGridSortColumn>();
        rule->setSortColumn(p_lSortCol);
        rule->setIsSortable(p_bIsSortable);
        rule->setDefaultSortOrder(p_lDefaultSort);
        rule->setAlternateSortOrder(isNull(p_vAlternateSort) ? p_lDefaultSort
                                                             : cFlexGridSortColumn::toLong(p_vAlternateSort));
        rule->setHiddenSortColumn(p_vHiddenSortColumn);
        const QString key = QString::number(p_lSortCol);
        if (p_vBefore.isValid()) m_rules->Add(rule, key, p_vBefore);
        else if (p_vAfter.isValid()) m_rules->Add(rule, key, QVariant(), p_vAfter);
        else m_rules->Add(rule, key);
    } catch (const RuntimeError& e) {
        raiseAgain(e, QStringLiteral("Add"));
    }
}

bool cColFlexGridSortColumn::HasItem(const QVariant& p_vKey) const
{
    try {
        Item(p_vKey);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

std::shared_ptr<cFlexGridSortColumn> cColFlexGridSortColumn::Item(const QVariant& p_vKey) const
{
    try {
        return m_rules->Item(p_vKey);
    } catch (const RuntimeError& e) {
        raiseAgain(e, QStringLiteral("Item"));
    }
}

void cColFlexGridSortColumn::Remove(const QVariant& p_vKey)
{
    try {
        m_rules->Remove(p_vKey);
    } catch (const RuntimeError&) {
    }
}

void cColFlexGridSortColumn::Clear() { m_rules = std::make_shared<Rules>(); }

void cColFlexGridSortColumn::Replace(const QVariant& p_vItem, const QVariant& p_vKey)
{
    Remove(p_vKey);
    Add(cFlexGridSortColumn::toLong(p_vItem), p_vKey.toBool());
}

FlexGrid& cColFlexGridSortColumn::grid() const
{
    if (!m_grid) throw RuntimeError(91, QStringLiteral("Object variable or With block variable not set"));
    return *m_grid;
}

void cColFlexGridSortColumn::MouseDown(float p_x, float p_y)
{
    FlexGrid& g = grid();
    m_inHeaderRow = p_y <= g.RowHeight(0);
    m_inFirstColumn = p_x < g.ColWidth(0);
}

void cColFlexGridSortColumn::Sort()
{
    if (!m_inHeaderRow || m_inFirstColumn) return;
    FlexGrid& g = grid();
    // The current column is looked up as a position, not as a key: callers
    // add their rules for columns 1, 2, 3 ... in that order.
    const QVariant position = qlonglong(g.Col());
    if (!HasItem(position)) return;
    const auto rule = Item(position);
    if (rule->IsSortable()) {
        const int current = g.Col();
        g.setCol(int(rule->SortColumn()));
        g.setSort(int(rule->SortOrder()));
        g.setCol(current);
    } else {
        MsgBox(QStringLiteral("Column is not sortable"), vbInformation | vbOKOnly);
    }
}

}  // namespace corvane
