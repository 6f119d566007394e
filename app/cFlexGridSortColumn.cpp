#include "app/cFlexGridSortColumn.h"

#include <cmath>
#include <limits>

#include "platform/Collection.h"
#include "platform/RuntimeError.h"

namespace corvane {

long cFlexGridSortColumn::SortColumn() const
{
    return isNull(m_hiddenSortColumn) ? m_sortColumn : toLong(m_hiddenSortColumn);
}

long cFlexGridSortColumn::SortOrder()
{
    if (!m_isSortable) return 0;
    const long order = (m_lastSortOrder != 0 && m_lastSortOrder == m_defaultSortOrder) ? m_alternateSortOrder
                                                                                       : m_defaultSortOrder;
    m_lastSortOrder = order;
    return order;
}

long cFlexGridSortColumn::toLong(const QVariant& value)
{
    if (!value.isValid()) return 0;
    if (isNull(value)) throw RuntimeError(94, QStringLiteral("Invalid use of Null"));
    bool ok = false;
    const double d = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                          : value.toDouble(&ok);
    if (!ok) throw RuntimeError(13, QStringLiteral("Type mismatch"));
    const double r = std::nearbyint(d);
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        throw RuntimeError(6, QStringLiteral("Overflow"));
    return long(r);
}

}  // namespace corvane
