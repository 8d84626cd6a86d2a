#pragma once

#include "connection.h"
#include "datasetfield.h"
#include "datasetrow.h"
#include "schema.h"

#include <QVector>

// Every statement a dataset runs on its table, built from its declared stored fields: the
// SELECT that reads its snapshot, and the INSERT, UPDATE and DELETE of one row. Rows are
// found by the file's rowid; values are bound, never spliced into the text. Errors are the
// connection's own, without the dataset's name.
class TableRows
{
public:
    // `fields` is the dataset's list, read at each statement: fields declared later count.
    TableRows(Connection &connection, const TableDef &table, const DatasetFields &fields);

    // Every row in rowid order, its stored fields as they hold them; uids are left 0.
    QVector<DatasetRow> readAll() const;

    // Stores a new row: every stored field but the key, which the file assigns. Returns the
    // new rowid.
    qint64 insert(const DatasetRow &row);

    // Stores the fields of `edited` that differ from `stored` into `stored`'s row. False when
    // no field differs and nothing was written. A row that is no longer in the file is an
    // error: another process deleted it meanwhile.
    bool update(const DatasetRow &stored, const DatasetRow &edited);

    void remove(qint64 rowid);

private:
    bool isWritten(const DatasetField &field) const;

    Connection &m_connection;
    const TableDef &m_table;
    const DatasetFields &m_fields;
};
