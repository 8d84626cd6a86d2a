#pragma once

#include <QHash>
#include <QVariant>
#include <QtGlobal>

// Where each key stands in a dataset's snapshot, per key field: the position of the first row
// holding it. Lookup fields ask it once per row read, so a list of thousands of fertilizers
// costs one hash probe per name instead of a scan. An index is built the first time its field
// is asked for and dropped whenever the snapshot's rows change.
class LookupIndex
{
public:
    // The position of the first of `rowCount` rows whose key is `key`; -1 when none.
    // keyOf(position) gives a row's key (a null QVariant for none) while the index is built.
    template<typename KeyOf>
    int find(int field, qint64 key, int rowCount, KeyOf keyOf)
    {
        auto it = m_positions.find(field);
        if (it == m_positions.end()) {
            QHash<qint64, int> positions;
            positions.reserve(rowCount);
            for (int i = 0; i < rowCount; ++i) {
                const QVariant k = keyOf(i);
                if (!k.isNull() && !positions.contains(k.toLongLong()))
                    positions.insert(k.toLongLong(), i);
            }
            it = m_positions.insert(field, positions);
        }
        return it->value(key, -1);
    }

    void clear() { m_positions.clear(); }

private:
    QHash<int, QHash<qint64, int>> m_positions; // key field -> key -> position
};
