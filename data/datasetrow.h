#pragma once

#include <QVariant>
#include <QVector>

// One row of a dataset's snapshot.
struct DatasetRow
{
    quint64 uid = 0;  // the dataset's own handle on the row, kept when the rows are read again
    qint64 rowid = 0; // the file's rowid; 0 for a row not yet posted
    QVector<QVariant> values; // one per declared field; lookups stay null here
};
