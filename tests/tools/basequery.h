#pragma once

#include "data/connection.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <initializer_list>

// Every row of a query on a base under test, as lists of values.
inline QList<QVariantList> queryRows(Connection &c, const QString &sql,
                                     std::initializer_list<QVariant> values = {})
{
    Connection::Statement st(c, sql);
    int i = 1;
    for (const QVariant &v : values)
        st.bind(i++, v);
    QList<QVariantList> out;
    while (st.step()) {
        QVariantList row;
        for (int col = 0; col < st.columnCount(); ++col)
            row.append(st.column(col));
        out.append(row);
    }
    return out;
}

inline QVariant queryValue(Connection &c, const QString &sql,
                           std::initializer_list<QVariant> values = {})
{
    const QList<QVariantList> rows = queryRows(c, sql, values);
    return rows.isEmpty() ? QVariant() : rows.first().value(0);
}
