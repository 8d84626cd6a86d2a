#pragma once

#include "datasetfield.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <algorithm>

// A dataset's sort: "name_udobra ASC" or "name_udobra DESC" (ASC when no direction is
// given). Text compares ignoring case, everything else as numbers; empty values count as the
// smallest, and rows with equal values keep the table's order.
class SortOrder
{
public:
    SortOrder() = default; // the table's own order

    // Throws AppError "Sort order incorrectly formatted: ..." for anything but a declared field
    // and a direction. An empty text gives the table's own order.
    static SortOrder parse(const QString &text, const DatasetFields &fields);

    bool isEmpty() const { return m_field < 0; }
    int field() const { return m_field; } // -1 when empty

    // Sorts `rows` by what valueOf(row) gives for each; nothing when empty.
    template<typename ValueOf>
    void sort(QVector<int> &rows, ValueOf valueOf) const
    {
        if (isEmpty())
            return;
        const auto less = [&](int a, int b) { return lessThan(valueOf(a), valueOf(b)); };
        if (m_descending)
            std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return less(b, a); });
        else
            std::stable_sort(rows.begin(), rows.end(), less);
    }

private:
    bool lessThan(const QVariant &a, const QVariant &b) const;

    int m_field = -1;
    bool m_descending = false;
    bool m_text = false;
};
