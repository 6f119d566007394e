#pragma once
// An ordered collection of shared objects with optional text keys and
// 1-based positions, with the errors the old program's collections raised:
// a text names an element by key (case-insensitive), a number by position.

#include <QString>
#include <QVariant>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/RuntimeError.h"

namespace corvane {

// The old program's Null, as opposed to an empty (invalid) QVariant.
inline QVariant Null() { return QVariant::fromValue(nullptr); }
inline bool isNull(const QVariant& v) { return v.metaType() == QMetaType::fromType<std::nullptr_t>(); }

template <class T>
class Collection {
public:
    using Ptr = std::shared_ptr<T>;

    int Count() const { return int(m_items.size()); }

    // before / after: an invalid QVariant when not given.
    void Add(Ptr item, const QString& key = QString(), const QVariant& before = QVariant(),
             const QVariant& after = QVariant())
    {
        if (!key.isEmpty() && findKey(key) >= 0)
            throw RuntimeError(457, QStringLiteral("This key is already associated with an element of this collection"));
        size_t at = m_items.size();
        if (before.isValid()) at = size_t(indexOf(before));
        else if (after.isValid()) at = size_t(indexOf(after)) + 1;
        m_items.insert(m_items.begin() + long(at), Entry{key, std::move(item)});
    }

    Ptr Item(const QVariant& index) const { return m_items[size_t(indexOf(index))].item; }

    void Remove(const QVariant& index) { m_items.erase(m_items.begin() + indexOf(index)); }

private:
    struct Entry {
        QString key;
        Ptr item;
    };

    int findKey(const QString& key) const
    {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (!m_items[i].key.isEmpty() && m_items[i].key.compare(key, Qt::CaseInsensitive) == 0) return int(i);
        return -1;
    }

    // 0-based place of the element named, or the collection's error.
    int indexOf(const QVariant& index) const
    {
        if (index.typeId() == QMetaType::QString) {
            const int i = findKey(index.toString());
            if (i < 0) throw RuntimeError(5, QStringLiteral("Invalid procedure call or argument"));
            return i;
        }
        bool ok = false;
        const double d = index.toDouble(&ok);
        if (!index.isValid() || isNull(index) || !ok) throw RuntimeError(13, QStringLiteral("Type mismatch"));
        const long position = long(std::nearbyint(d));
        if (position < 1 || position > long(m_items.size()))
            throw RuntimeError(9, QStringLiteral("Subscript out of range"));
        return int(position - 1);
    }

    std::vector<Entry> m_items;
};

}  // namespace corvane
