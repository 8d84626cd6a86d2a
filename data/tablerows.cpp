#include "tablerows.h"

#include "apperror.h"

#include <QStringList>

namespace {

QString quoted(const QString &identifier)
{
    return QStringLiteral("\"%1\"").arg(identifier);
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

} // namespace

TableRows::TableRows(Connection &connection, const TableDef &table, const DatasetFields &fields)
    : m_connection(connection), m_table(table), m_fields(fields)
{
}

bool TableRows::isWritten(const DatasetField &field) const
{
    return field.kind == FieldKind::Stored && field.type != FieldType::Key;
}

QVector<DatasetRow> TableRows::readAll() const
{
    QString select = QStringLiteral("SELECT rowid");
    for (const DatasetField &f : m_fields) {
        if (f.kind == FieldKind::Stored)
            select += QStringLiteral(", ") + quoted(f.name);
    }
    select += QStringLiteral(" FROM %1 ORDER BY rowid").arg(quoted(m_table.name));

    QVector<DatasetRow> rows;
    Connection::Statement st(m_connection, select);
    while (st.step()) {
        DatasetRow r;
        r.rowid = st.column(0).toLongLong();
        r.values.resize(m_fields.size());
        int column = 1;
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields.at(i).kind == FieldKind::Stored)
                r.values[i] = m_fields.at(i).fromStored(st.column(column++));
        }
        rows.append(std::move(r));
    }
    return rows;
}

qint64 TableRows::insert(const DatasetRow &row)
{
    QStringList columns;
    QStringList marks;
    QVector<QVariant> values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!isWritten(m_fields.at(i)))
            continue;
        columns.append(quoted(m_fields.at(i).name));
        marks.append(QStringLiteral("?"));
        values.append(row.values.at(i));
    }
    const QString sql = columns.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table.name))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quoted(m_table.name), columns.join(QStringLiteral(", ")),
                                       marks.join(QStringLiteral(", ")));
    Connection::Statement st(m_connection, sql);
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values.at(i));
    st.step();
    return m_connection.lastInsertId();
}

bool TableRows::update(const DatasetRow &stored, const DatasetRow &edited)
{
    QStringList sets;
    QVector<QVariant> values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!isWritten(m_fields.at(i)) || sameValue(edited.values.at(i), stored.values.at(i)))
            continue;
        sets.append(quoted(m_fields.at(i).name) + QStringLiteral(" = ?"));
        values.append(edited.values.at(i));
    }
    if (sets.isEmpty())
        return false;
    Connection::Statement st(m_connection, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                               .arg(quoted(m_table.name), sets.join(QStringLiteral(", "))));
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values.at(i));
    st.bind(int(values.size()) + 1, stored.rowid);
    st.step();
    if (m_connection.changes() == 0)
        throw AppError(QStringLiteral("Row cannot be located for updating. Some values may have "
                                      "been changed since it was last read"));
    return true;
}

void TableRows::remove(qint64 rowid)
{
    Connection::Statement st(m_connection,
                             QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_table.name)));
    st.bind(1, rowid);
    st.step();
}
