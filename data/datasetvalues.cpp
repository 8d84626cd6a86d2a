// The rows' values: lookup and calculated fields worked out as a row is read, and the field
// access of the current row and of any row of the view.
#include "dataset.h"
#include "storedvalues.h"

#include "apperror.h"
#include "textconv.h"

#include <cmath>

const Dataset::Row *Dataset::currentRowData() const
{
    if (m_calcRow)
        return m_calcRow;
    if (isEditing())
        return &m_editRow;
    if (m_current < 0 || m_current >= m_view.size())
        return nullptr;
    return &m_rows.at(m_view.at(m_current));
}

Dataset::Row *Dataset::currentRowData()
{
    return const_cast<Row *>(std::as_const(*this).currentRowData());
}

QVariant Dataset::rowValue(const Row &row, int index) const
{
    const Field &f = m_fields.at(index);
    if (f.kind != FieldKind::Lookup)
        return row.values.at(index);
    if (!f.lookupDataset)
        return {};
    const QVariant key = rowValue(row, f.keyIndex);
    if (key.isNull())
        return {};
    QVariant v = f.lookupDataset->lookup(f.lookupKey, key, f.resultField);
    if (f.type == FieldType::Text && f.size > 0 && !v.isNull()) {
        const QString s = v.toString();
        if (s.size() > f.size)
            v = s.left(f.size);
    }
    return v;
}

QVariant Dataset::lookup(const QString &keyField, const QVariant &key, const QString &result) const
{
    if (m_state == DatasetState::Inactive || key.isNull())
        return {};
    const int keyIndex = fieldIndex(keyField);
    const int resultIndex = fieldIndex(result);
    if (keyIndex < 0 || resultIndex < 0)
        return {};
    if (m_fields.at(keyIndex).type == FieldType::Text) {
        // Text keys are rare and short-listed: compared as text, never through the number index.
        const QString wanted = key.toString();
        for (const Row &r : m_rows) {
            if (rowValue(r, keyIndex).toString() == wanted)
                return rowValue(r, resultIndex);
        }
        return {};
    }
    const int position = m_lookupIndex.find(keyIndex, key.toLongLong(), int(m_rows.size()),
                                            [&](int i) { return rowValue(m_rows.at(i), keyIndex); });
    return position < 0 ? QVariant() : rowValue(m_rows.at(position), resultIndex);
}

void Dataset::computeCalculated(Row &row)
{
    bool any = false;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).kind == FieldKind::Calculated) {
            row.values[i] = QVariant();
            any = true;
        }
    }
    if (!any || !m_calcHook)
        return;
    // The hook reads the row through the ordinary accessors: they see this row meanwhile.
    struct Restore
    {
        Row *&slot;
        Row *previous;
        ~Restore() { slot = previous; }
    } restore{m_calcRow, m_calcRow};
    m_calcRow = &row;
    m_calcHook(*this);
}

void Dataset::computeAllCalculated()
{
    if (!m_calcHook)
        return;
    for (int i : std::as_const(m_view))
        computeCalculated(m_rows[i]);
    if (isEditing())
        computeCalculated(m_editRow);
}

QVariant Dataset::value(const QString &name) const
{
    checkActive();
    const int i = fieldIndex(name);
    if (i < 0)
        fail(notFound(name));
    const Row *r = currentRowData();
    return r ? rowValue(*r, i) : QVariant();
}

bool Dataset::isNull(const QString &name) const
{
    return value(name).isNull();
}

int Dataset::asInteger(const QString &name) const
{
    return StoredValues::integerOf(value(name));
}

double Dataset::asFloat(const QString &name) const
{
    return StoredValues::numberOf(value(name));
}

bool Dataset::asBoolean(const QString &name) const
{
    const QVariant v = value(name);
    return !v.isNull() && v.toBool();
}

QString Dataset::asString(const QString &name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
        return formatGeneral(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

QVariant Dataset::valueAt(int row, const QString &name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? QVariant() : valueAt(row, i);
}

QVariant Dataset::valueAt(int row, int index) const
{
    if (m_state == DatasetState::Inactive || row < 0 || row >= m_view.size() || index < 0
        || index >= m_fields.size())
        return {};
    if (row == m_current && isEditing())
        return rowValue(m_editRow, index);
    return rowValue(m_rows.at(m_view.at(row)), index);
}

void Dataset::setValue(const QString &name, const QVariant &value)
{
    checkActive();
    checkEditing();
    const int i = fieldIndex(name);
    if (i < 0)
        fail(notFound(name));
    const Field &f = m_fields.at(i);
    if (f.kind != FieldKind::Stored || f.readOnly)
        fail(QStringLiteral("Field '%1' cannot be modified").arg(f.name));
    m_editRow.values[i] = f.accept(value); // a refused value names the field, not the dataset
    m_modified = true;
    computeCalculated(m_editRow);
    emitRowChanged(m_current);
    notifyDetailsLinkedBy(f.name);
}

void Dataset::setAsString(const QString &name, const QString &text)
{
    setValue(name, QVariant(text));
}

void Dataset::clearValue(const QString &name)
{
    setValue(name, QVariant());
}

void Dataset::setCalcValue(const QString &name, double value)
{
    if (!m_calcRow)
        fail(QStringLiteral("Field '%1' can be set only while the row is being read").arg(name));
    const int i = fieldIndex(name);
    if (i < 0 || m_fields.at(i).kind != FieldKind::Calculated)
        fail(notFound(name));
    m_calcRow->values[i] = value;
}
