#include "dataset.h"

#include "apperror.h"
#include "binding.h"
#include "connection.h"
#include "textconv.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

const QString EmptyDataset = QStringLiteral("Cannot perform this operation on an empty dataset");
const QString ClosedDataset = QStringLiteral("Cannot perform this operation on a closed dataset");
const QString NotEditing = QStringLiteral("Dataset not in edit or insert mode");

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

// Compares two key-like values as integers; an empty value matches nothing.
bool sameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return false;
    return a.toLongLong() == b.toLongLong();
}

QString typeName(FieldType t)
{
    switch (t) {
    case FieldType::Key:
    case FieldType::Int:
        return QStringLiteral("integer");
    case FieldType::Double:
        return QStringLiteral("floating point");
    case FieldType::Bool:
        return QStringLiteral("boolean");
    case FieldType::Text:
        return QStringLiteral("text");
    }
    return {};
}

} // namespace

Dataset::Dataset(const QString &name, Connection *connection, const QString &table, QObject *parent)
    : QObject(parent), m_connection(connection), m_table(&Schema::table(table))
{
    setObjectName(name);
}

Dataset::~Dataset()
{
    if (m_master)
        m_master->removeFollower(this);
}

// ---------------------------------------------------------------- declaration

void Dataset::addStoredField(const QString &name)
{
    const FieldDef *def = m_table->field(name);
    if (!def)
        fail(QStringLiteral("Field '%1' not found").arg(name));
    Field f;
    f.name = def->name;
    f.kind = FieldKind::Stored;
    f.type = def->type;
    f.size = def->size;
    f.readOnly = def->type == FieldType::Key;
    m_fields.append(f);
}

void Dataset::addLookupField(const QString &name, FieldType type, int size, const QString &keyField,
                             Dataset *lookupDataset, const QString &lookupKey,
                             const QString &resultField, bool readOnly)
{
    Field f;
    f.name = name;
    f.kind = FieldKind::Lookup;
    f.type = type;
    f.size = size;
    f.readOnly = readOnly;
    f.keyField = keyField;
    f.keyIndex = fieldIndex(keyField);
    if (f.keyIndex < 0)
        fail(QStringLiteral("Field '%1' not found").arg(keyField));
    f.lookupDataset = lookupDataset;
    f.lookupKey = lookupKey;
    f.resultField = resultField;
    m_fields.append(f);
}

void Dataset::addCalculatedField(const QString &name)
{
    Field f;
    f.name = name;
    f.kind = FieldKind::Calculated;
    f.type = FieldType::Double;
    f.readOnly = true;
    m_fields.append(f);
}

int Dataset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const Dataset::Field &Dataset::field(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("Field '%1' not found").arg(name));
    return m_fields.at(i);
}

// ---------------------------------------------------------------- helpers

void Dataset::fail(const QString &text) const
{
    throw AppError(name() + QStringLiteral(": ") + text);
}

void Dataset::checkActive() const
{
    if (m_state == DatasetState::Inactive)
        fail(ClosedDataset);
}

void Dataset::checkEditing() const
{
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        fail(NotEditing);
}

const Dataset::Row *Dataset::currentRowData() const
{
    if (m_calcRow)
        return m_calcRow;
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return &m_buffer;
    if (m_current < 0 || m_current >= m_view.size())
        return nullptr;
    return &m_all.at(m_view.at(m_current));
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
        for (const Row &r : m_all) {
            if (rowValue(r, keyIndex).toString() == wanted)
                return rowValue(r, resultIndex);
        }
        return {};
    }
    auto it = m_lookupIndex.find(keyIndex);
    if (it == m_lookupIndex.end()) {
        QHash<qint64, int> index;
        index.reserve(m_all.size());
        for (int i = 0; i < m_all.size(); ++i) {
            const QVariant k = rowValue(m_all.at(i), keyIndex);
            if (!k.isNull() && !index.contains(k.toLongLong()))
                index.insert(k.toLongLong(), i);
        }
        it = m_lookupIndex.insert(keyIndex, index);
    }
    const auto hit = it->constFind(key.toLongLong());
    if (hit == it->constEnd())
        return {};
    return rowValue(m_all.at(*hit), resultIndex);
}

QString Dataset::sqlFieldList() const
{
    QStringList cols;
    for (const Field &f : m_fields) {
        if (f.kind == FieldKind::Stored)
            cols.append(QStringLiteral("\"%1\"").arg(f.name));
    }
    return cols.join(QStringLiteral(", "));
}

void Dataset::readAll()
{
    QHash<qint64, quint64> uids;
    for (const Row &r : std::as_const(m_all))
        uids.insert(r.rowid, r.uid);

    QVector<Row> rows;
    try {
        const QString list = sqlFieldList();
        Connection::Statement st(*m_connection,
                                 QStringLiteral("SELECT rowid%1%2 FROM \"%3\" ORDER BY rowid")
                                     .arg(list.isEmpty() ? QString() : QStringLiteral(", "), list,
                                          m_table->name));
        while (st.step()) {
            Row r;
            r.rowid = st.column(0).toLongLong();
            r.uid = uids.value(r.rowid, 0);
            if (r.uid == 0)
                r.uid = m_nextUid++;
            r.values.resize(m_fields.size());
            int col = 1;
            for (int i = 0; i < m_fields.size(); ++i) {
                if (m_fields.at(i).kind != FieldKind::Stored)
                    continue;
                QVariant v = st.column(col++);
                if (!v.isNull()) {
                    switch (m_fields.at(i).type) {
                    case FieldType::Key:
                    case FieldType::Int:
                        v = QVariant(int(v.toLongLong()));
                        break;
                    case FieldType::Double:
                        v = QVariant(v.toDouble());
                        break;
                    case FieldType::Bool:
                        v = QVariant(v.toLongLong() != 0);
                        break;
                    case FieldType::Text:
                        v = QVariant(v.toString());
                        break;
                    }
                }
                r.values[i] = v;
            }
            rows.append(std::move(r));
        }
    } catch (const AppError &e) {
        fail(e.text());
    }
    m_all = std::move(rows);
    invalidateLookupIndex();
}

bool Dataset::passes(const Row &row) const
{
    if (m_master) {
        const Dataset *master = m_master->dataset();
        if (!master || !master->isActive())
            return false;
        const QVariant mv = masterValue();
        const int di = fieldIndex(m_detailField);
        if (di < 0 || !sameKey(rowValue(row, di), mv))
            return false;
    }
    if (m_filtered && m_filterSpec.kind != FilterSpec::None) {
        const QVariant v = rowValue(row, m_filterSpec.field);
        switch (m_filterSpec.kind) {
        case FilterSpec::Equals:
            if (v.isNull() || v.toLongLong() != m_filterSpec.number)
                return false;
            break;
        case FilterSpec::Like:
            if (!v.toString().toCaseFolded().contains(m_filterSpec.text))
                return false;
            break;
        case FilterSpec::NotTrue:
            if (!v.isNull() && v.toBool())
                return false;
            break;
        case FilterSpec::None:
            break;
        }
    }
    return true;
}

QVariant Dataset::masterValue() const
{
    if (!m_master)
        return {};
    const Dataset *master = m_master->dataset();
    if (!master->isActive())
        return {};
    const int mi = master->fieldIndex(m_masterField);
    const Row *r = master->currentRowData();
    if (mi < 0 || !r)
        return {};
    return master->rowValue(*r, mi);
}

int Dataset::viewPosition(quint64 uid) const
{
    for (int i = 0; i < m_view.size(); ++i) {
        if (m_all.at(m_view.at(i)).uid == uid)
            return i;
    }
    return -1;
}

void Dataset::rebuildView()
{
    m_view.clear();
    m_view.reserve(m_all.size());
    for (int i = 0; i < m_all.size(); ++i) {
        if (passes(m_all.at(i)))
            m_view.append(i);
    }
    applySort();
}

void Dataset::applySort()
{
    if (m_sortField < 0)
        return;
    const int fi = m_sortField;
    const bool desc = m_sortDescending;
    const bool text = m_fields.at(fi).type == FieldType::Text;
    auto less = [&](int a, int b) {
        const QVariant va = rowValue(m_all.at(a), fi);
        const QVariant vb = rowValue(m_all.at(b), fi);
        if (va.isNull() || vb.isNull())
            return va.isNull() && !vb.isNull();
        if (text)
            return va.toString().compare(vb.toString(), Qt::CaseInsensitive) < 0;
        return va.toDouble() < vb.toDouble();
    };
    if (desc)
        std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) { return less(b, a); });
    else
        std::stable_sort(m_view.begin(), m_view.end(), less);
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
        computeCalculated(m_all[i]);
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        computeCalculated(m_buffer);
}

void Dataset::emitReset()
{
    if (m_controlsDisabled == 0)
        Q_EMIT rowsReset();
}

void Dataset::emitRowChanged(int row)
{
    if (m_controlsDisabled == 0 && row >= 0)
        Q_EMIT rowChanged(row);
}

void Dataset::notifyFollowers()
{
    if (m_binding)
        m_binding->notifyMasterChanged();
}

void Dataset::setCurrent(int row, bool eof)
{
    const quint64 before = (m_current >= 0 && m_current < m_view.size())
                               ? m_all.at(m_view.at(m_current)).uid
                               : 0;
    m_current = row;
    m_eof = eof;
    quint64 after = 0;
    if (row >= 0 && row < m_view.size()) {
        Row &r = m_all[m_view.at(row)];
        after = r.uid;
        if (after != before)
            computeCalculated(r); // the row is read as the cursor reaches it
    }
    if (after != before) {
        if (m_controlsDisabled == 0)
            Q_EMIT currentChanged(m_current);
        notifyFollowers();
    }
}

// ---------------------------------------------------------------- lifecycle

void Dataset::open()
{
    if (m_state != DatasetState::Inactive)
        return;
    try {
        m_connection->connect();
    } catch (const AppError &e) {
        fail(e.text());
    }
    readAll();
    m_state = DatasetState::Browse;
    m_modified = false;
    rebuildView();
    computeAllCalculated();
    m_current = m_view.isEmpty() ? -1 : 0;
    m_eof = m_view.isEmpty();
    if (m_controlsDisabled == 0) {
        Q_EMIT stateChanged();
        Q_EMIT rowsReset();
        Q_EMIT currentChanged(m_current);
    }
    notifyFollowers();
}

void Dataset::close()
{
    if (m_state == DatasetState::Inactive)
        return;
    m_state = DatasetState::Inactive;
    m_all.clear();
    m_view.clear();
    m_buffer = Row();
    m_insertAt = -1;
    m_current = -1;
    m_eof = true;
    m_modified = false;
    invalidateLookupIndex();
    if (!m_sortIsSetting) {
        m_sortText.clear();
        m_sortField = -1;
        m_sortDescending = false;
    }
    if (m_controlsDisabled == 0) {
        Q_EMIT stateChanged();
        Q_EMIT rowsReset();
        Q_EMIT currentChanged(-1);
    }
    notifyFollowers();
}

// ---------------------------------------------------------------- navigation

int Dataset::recordCount() const
{
    return m_state == DatasetState::Inactive ? 0 : int(m_view.size());
}

void Dataset::updateRecord()
{
    if (m_updatingRecord || !m_binding
        || (m_state != DatasetState::Edit && m_state != DatasetState::Insert))
        return;
    m_updatingRecord = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_updatingRecord};
    m_binding->requestUpdateData();
}

void Dataset::checkBrowseMode()
{
    updateRecord();
    if (m_state == DatasetState::Edit) {
        if (m_modified) {
            post();
        } else {
            m_state = DatasetState::Browse;
            if (m_controlsDisabled == 0)
                Q_EMIT stateChanged();
        }
    } else if (m_state == DatasetState::Insert) {
        if (m_modified)
            post();
        else
            cancel();
    }
}

void Dataset::first()
{
    checkActive();
    checkBrowseMode();
    // Going to the first row reads the rows afresh, as a grid's resync does.
    computeAllCalculated();
    if (m_view.isEmpty()) {
        setCurrent(-1, true);
        return;
    }
    setCurrent(0, false);
    if (m_controlsDisabled == 0)
        Q_EMIT valuesChanged();
}

void Dataset::next()
{
    checkActive();
    checkBrowseMode();
    if (m_current + 1 < m_view.size())
        setCurrent(m_current + 1, false);
    else
        m_eof = true;
}

void Dataset::prior()
{
    checkActive();
    checkBrowseMode();
    if (m_current > 0)
        setCurrent(m_current - 1, false);
    else
        m_eof = m_view.isEmpty();
}

void Dataset::last()
{
    checkActive();
    checkBrowseMode();
    computeAllCalculated();
    if (m_view.isEmpty()) {
        setCurrent(-1, true);
        return;
    }
    setCurrent(int(m_view.size()) - 1, true);
    if (m_controlsDisabled == 0)
        Q_EMIT valuesChanged();
}

void Dataset::moveTo(int row)
{
    checkActive();
    if (row < 0 || row >= m_view.size())
        return;
    // Ending the edit may drop a new row and shift the positions: aim at the row itself.
    const quint64 target = m_all.at(m_view.at(row)).uid;
    checkBrowseMode();
    const int pos = viewPosition(target);
    if (pos >= 0)
        setCurrent(pos, false);
}

// ---------------------------------------------------------------- field access

QVariant Dataset::value(const QString &name) const
{
    checkActive();
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("Field '%1' not found").arg(name));
    const Row *r = currentRowData();
    return r ? rowValue(*r, i) : QVariant();
}

bool Dataset::isNull(const QString &name) const
{
    return value(name).isNull();
}

int Dataset::asInteger(const QString &name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return int(std::llround(v.toDouble()));
    return v.toInt();
}

double Dataset::asFloat(const QString &name) const
{
    const QVariant v = value(name);
    return v.isNull() ? 0.0 : v.toDouble();
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
    if (row == m_current && (m_state == DatasetState::Edit || m_state == DatasetState::Insert))
        return rowValue(m_buffer, index);
    return rowValue(m_all.at(m_view.at(row)), index);
}

QVariant Dataset::convertForField(const Field &f, const QVariant &value) const
{
    if (value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    switch (f.type) {
    case FieldType::Text: {
        const QString s = value.toString();
        if (s.isEmpty())
            return {};
        if (f.size > 0 && s.size() > f.size)
            throw AppError(QStringLiteral("Поле \"%1\" вмещает не больше %2 знаков, а в тексте их %3")
                     .arg(f.name)
                     .arg(f.size)
                     .arg(s.size()));
        return s;
    }
    case FieldType::Key:
    case FieldType::Int: {
        if (isText) {
            if (text.isEmpty())
                return {};
            int v = 0;
            if (!tryParseInt(text, v))
                throw AppError(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                         .arg(text, f.name));
            return v;
        }
        if (value.typeId() == QMetaType::Double) {
            const double d = value.toDouble();
            if (!std::isfinite(d) || d > 2147483647.0 || d < -2147483648.0)
                throw AppError(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                         .arg(formatGeneral(d), f.name));
            return int(std::llround(d));
        }
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        if (!ok || v > 2147483647LL || v < -2147483648LL)
            throw AppError(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                     .arg(value.toString(), f.name));
        return int(v);
    }
    case FieldType::Double: {
        if (isText) {
            if (text.trimmed().isEmpty())
                return {};
            double d = 0;
            if (!tryParseDouble(text, systemDecimalSeparator(), d))
                throw AppError(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                         .arg(text, f.name));
            return d;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw AppError(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                     .arg(value.toString(), f.name));
        return d;
    }
    case FieldType::Bool: {
        if (isText) {
            const QString t = text.trimmed().toLower();
            if (t.isEmpty())
                return {};
            if (t == u"true" || t == u"1")
                return true;
            if (t == u"false" || t == u"0")
                return false;
            throw AppError(QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(text, f.name));
        }
        return value.toBool();
    }
    }
    throw AppError(QStringLiteral("Field '%1' is of an unknown %2 type").arg(f.name, typeName(f.type)));
}

void Dataset::setValue(const QString &name, const QVariant &value)
{
    checkActive();
    checkEditing();
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("Field '%1' not found").arg(name));
    const Field &f = m_fields.at(i);
    if (f.kind != FieldKind::Stored || f.readOnly)
        fail(QStringLiteral("Field '%1' cannot be modified").arg(f.name));
    const QVariant converted = convertForField(f, value);
    m_buffer.values[i] = converted;
    m_modified = true;
    computeCalculated(m_buffer);
    emitRowChanged(m_current);
    // A detail follows a change of its master field at once.
    if (m_binding) {
        for (Dataset *d : m_binding->followers()) {
            if (d->m_masterField.compare(f.name, Qt::CaseInsensitive) == 0) {
                notifyFollowers();
                break;
            }
        }
    }
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
        fail(QStringLiteral("Field '%1' not found").arg(name));
    m_calcRow->values[i] = value;
}

// ---------------------------------------------------------------- editing

void Dataset::beginNewRow(int position)
{
    Row r;
    r.uid = m_nextUid++;
    r.values.resize(m_fields.size());
    if (m_master) {
        const int di = fieldIndex(m_detailField);
        const QVariant mv = masterValue();
        if (di >= 0 && !mv.isNull())
            r.values[di] = convertForField(m_fields.at(di), mv);
    }
    computeCalculated(r);
    m_all.append(r);
    m_insertAt = int(m_all.size()) - 1;
    invalidateLookupIndex();
    m_view.insert(position, m_insertAt);
    m_buffer = r;
    m_state = DatasetState::Insert;
    m_modified = false;
    m_current = position;
    m_eof = false;
    if (m_controlsDisabled == 0) {
        Q_EMIT rowInserted(position);
        Q_EMIT currentChanged(position);
        Q_EMIT stateChanged();
    }
    notifyFollowers();
}

void Dataset::append()
{
    checkActive();
    checkBrowseMode();
    beginNewRow(int(m_view.size()));
}

void Dataset::insert()
{
    checkActive();
    checkBrowseMode();
    beginNewRow(m_current < 0 ? 0 : m_current);
}

void Dataset::edit()
{
    checkActive();
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return;
    if (m_current < 0 || m_view.isEmpty())
        fail(EmptyDataset);
    m_buffer = m_all.at(m_view.at(m_current));
    m_state = DatasetState::Edit;
    m_modified = false;
    if (m_controlsDisabled == 0)
        Q_EMIT stateChanged();
}

void Dataset::post()
{
    checkActive();
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        return;
    updateRecord();
    const bool inserting = m_state == DatasetState::Insert;
    Row &target = m_all[m_view.at(m_current)];
    try {
        if (inserting) {
            QStringList cols;
            QStringList marks;
            QVector<QVariant> values;
            for (int i = 0; i < m_fields.size(); ++i) {
                const Field &f = m_fields.at(i);
                if (f.kind != FieldKind::Stored || f.type == FieldType::Key)
                    continue;
                cols.append(QStringLiteral("\"%1\"").arg(f.name));
                marks.append(QStringLiteral("?"));
                values.append(m_buffer.values.at(i));
            }
            const QString sql = cols.isEmpty()
                                    ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(m_table->name)
                                    : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                          .arg(m_table->name, cols.join(QStringLiteral(", ")),
                                               marks.join(QStringLiteral(", ")));
            Connection::Statement st(*m_connection, sql);
            for (int i = 0; i < values.size(); ++i)
                st.bind(i + 1, values.at(i));
            st.step();
            m_buffer.rowid = m_connection->lastInsertId();
            m_connection->noteWrite(this);
            for (int i = 0; i < m_fields.size(); ++i) {
                if (m_fields.at(i).kind == FieldKind::Stored && m_fields.at(i).type == FieldType::Key)
                    m_buffer.values[i] = int(m_buffer.rowid);
            }
        } else {
            QStringList sets;
            QVector<QVariant> values;
            for (int i = 0; i < m_fields.size(); ++i) {
                const Field &f = m_fields.at(i);
                if (f.kind != FieldKind::Stored || f.type == FieldType::Key)
                    continue;
                if (sameValue(m_buffer.values.at(i), target.values.at(i)))
                    continue;
                sets.append(QStringLiteral("\"%1\" = ?").arg(f.name));
                values.append(m_buffer.values.at(i));
            }
            if (!sets.isEmpty()) {
                Connection::Statement st(
                    *m_connection, QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?")
                                       .arg(m_table->name, sets.join(QStringLiteral(", "))));
                for (int i = 0; i < values.size(); ++i)
                    st.bind(i + 1, values.at(i));
                st.bind(int(values.size()) + 1, target.rowid);
                st.step();
                if (m_connection->changes() == 0)
                    fail(QStringLiteral("Row cannot be located for updating. Some values may "
                                        "have been changed since it was last read"));
                m_connection->noteWrite(this);
            }
        }
    } catch (const AppError &e) {
        if (e.text().startsWith(name() + QStringLiteral(": ")))
            throw;
        fail(e.text());
    }

    target = m_buffer;
    m_buffer = Row();
    m_state = DatasetState::Browse;
    m_modified = false;
    m_insertAt = -1;
    invalidateLookupIndex();
    computeCalculated(target);
    if (m_controlsDisabled == 0) {
        Q_EMIT rowChanged(m_current);
        Q_EMIT stateChanged();
    }
    notifyFollowers();
    if (m_afterPost)
        m_afterPost(*this);
}

void Dataset::cancel()
{
    if (m_state == DatasetState::Edit) {
        m_buffer = Row();
        m_state = DatasetState::Browse;
        m_modified = false;
        if (m_controlsDisabled == 0) {
            Q_EMIT rowChanged(m_current);
            Q_EMIT stateChanged();
        }
        return;
    }
    if (m_state != DatasetState::Insert)
        return;
    m_buffer = Row();
    m_insertAt = -1;
    m_state = DatasetState::Browse;
    m_modified = false;
    dropCurrentRow();
}

// Takes the current row out of the snapshot; the following row (or the new last) is current.
void Dataset::dropCurrentRow()
{
    const int pos = m_current;
    const int allIndex = m_view.at(pos);
    m_view.removeAt(pos);
    m_all.removeAt(allIndex);
    for (int &i : m_view) {
        if (i > allIndex)
            --i;
    }
    invalidateLookupIndex();
    m_current = m_view.isEmpty() ? -1 : std::min(pos, int(m_view.size()) - 1);
    m_eof = m_view.isEmpty();
    if (m_current >= 0)
        computeCalculated(m_all[m_view.at(m_current)]);
    if (m_controlsDisabled == 0) {
        Q_EMIT rowRemoved(pos);
        Q_EMIT currentChanged(m_current);
        Q_EMIT stateChanged();
    }
    notifyFollowers();
}

void Dataset::remove()
{
    checkActive();
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    if (m_current < 0 || m_view.isEmpty())
        fail(EmptyDataset);
    if (m_state == DatasetState::Edit) {
        m_buffer = Row();
        m_state = DatasetState::Browse;
        m_modified = false;
    }
    try {
        Connection::Statement st(*m_connection,
                                 QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(m_table->name));
        st.bind(1, m_all.at(m_view.at(m_current)).rowid);
        st.step();
        m_connection->noteWrite(this);
    } catch (const AppError &e) {
        fail(e.text());
    }
    dropCurrentRow();
}

// ---------------------------------------------------------------- filter and sort

void Dataset::setFilter(const QString &expression)
{
    FilterSpec spec;
    const QString e = expression.trimmed();
    if (!e.isEmpty()) {
        static const QRegularExpression equals(QStringLiteral("^(\\w+)\\s*=\\s*(-?\\d+)$"));
        static const QRegularExpression notTrue(
            QStringLiteral("^(\\w+)\\s*<>\\s*true$"), QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression like(QStringLiteral("^(\\w+)\\s+like\\s+%"),
                                             QRegularExpression::CaseInsensitiveOption);
        QRegularExpressionMatch m;
        if ((m = equals.match(e)).hasMatch()) {
            spec.kind = FilterSpec::Equals;
            spec.field = fieldIndex(m.captured(1));
            spec.number = m.captured(2).toLongLong();
        } else if ((m = notTrue.match(e)).hasMatch()) {
            spec.kind = FilterSpec::NotTrue;
            spec.field = fieldIndex(m.captured(1));
        } else if ((m = like.match(expression.trimmed())).hasMatch() && e.endsWith(u'%')
                   && e.size() > m.capturedLength()) {
            // Whatever stands between the two % signs is matched literally.
            spec.kind = FilterSpec::Like;
            spec.field = fieldIndex(m.captured(1));
            const int start = int(expression.indexOf(u'%')) + 1;
            const int end = int(expression.lastIndexOf(u'%'));
            spec.text = expression.mid(start, end - start).toCaseFolded();
        } else {
            fail(QStringLiteral("Filter expression incorrectly formatted: %1").arg(expression));
        }
        if (spec.field < 0)
            fail(QStringLiteral("Filter expression incorrectly formatted: %1").arg(expression));
    }
    if (m_filtered && isActive())
        checkBrowseMode();
    m_filterText = expression;
    m_filterSpec = spec;
    if (m_filtered && isActive())
        reapply();
}

void Dataset::setFiltered(bool on)
{
    if (m_filtered == on)
        return;
    if (isActive())
        checkBrowseMode();
    m_filtered = on;
    if (isActive())
        reapply();
}

void Dataset::reapply()
{
    rebuildView();
    computeAllCalculated();
    const int before = m_current;
    m_current = -1;
    emitReset();
    if (m_view.isEmpty()) {
        m_eof = true;
        if (m_controlsDisabled == 0)
            Q_EMIT currentChanged(-1);
        notifyFollowers();
        return;
    }
    Q_UNUSED(before);
    m_eof = false;
    m_current = 0;
    if (m_controlsDisabled == 0)
        Q_EMIT currentChanged(0);
    notifyFollowers();
}

void Dataset::setSort(const QString &sort)
{
    const QString s = sort.trimmed();
    int field = -1;
    bool desc = false;
    if (!s.isEmpty()) {
        const QStringList parts = s.split(u' ', Qt::SkipEmptyParts);
        field = fieldIndex(parts.value(0));
        if (field < 0 || parts.size() > 2)
            fail(QStringLiteral("Sort order incorrectly formatted: %1").arg(sort));
        if (parts.size() == 2) {
            if (parts.at(1).compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0)
                desc = true;
            else if (parts.at(1).compare(QStringLiteral("ASC"), Qt::CaseInsensitive) != 0)
                fail(QStringLiteral("Sort order incorrectly formatted: %1").arg(sort));
        }
    }
    m_sortText = sort;
    m_sortField = field;
    m_sortDescending = desc;
    m_sortIsSetting = !isActive();
    if (!isActive())
        return;
    checkBrowseMode();
    const quint64 keep = m_current >= 0 ? m_all.at(m_view.at(m_current)).uid : 0;
    rebuildView();
    const int pos = viewPosition(keep);
    m_current = pos >= 0 ? pos : (m_view.isEmpty() ? -1 : 0);
    m_eof = m_view.isEmpty();
    emitReset();
    if (m_controlsDisabled == 0)
        Q_EMIT currentChanged(m_current);
}

// ---------------------------------------------------------------- master-detail

void Dataset::setMasterLink(Binding *master, const QString &masterField, const QString &detailField)
{
    if (m_master)
        m_master->removeFollower(this);
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    if (m_master)
        m_master->addFollower(this);
}

void Dataset::masterChanged()
{
    if (!isActive())
        return;
    // A master closing takes the pending changes of its details with it, unposted: closing
    // never writes, and so never fails half-way or reconnects a closed connection.
    if (masterChainClosed())
        cancel();
    else
        checkBrowseMode();
    reapply();
}

bool Dataset::masterChainClosed() const
{
    const Dataset *ds = this;
    // Links never form a loop in the program; the bound only keeps a mistaken one finite.
    for (int depth = 0; depth < 16 && ds->m_master; ++depth) {
        ds = ds->m_master->dataset();
        if (!ds || !ds->isActive())
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- bookmarks, refresh, controls

Bookmark Dataset::bookmark() const
{
    if (m_state == DatasetState::Inactive || m_current < 0 || m_current >= m_view.size())
        return {};
    return {m_all.at(m_view.at(m_current)).uid};
}

void Dataset::gotoBookmark(const Bookmark &bookmark)
{
    if (bookmark.isNull())
        return;
    checkActive();
    checkBrowseMode();
    const int pos = viewPosition(bookmark.uid);
    if (pos < 0)
        fail(QStringLiteral("Record not found"));
    setCurrent(pos, false);
}

void Dataset::refresh()
{
    checkActive();
    checkBrowseMode();
    rereadKeepingCurrent();
}

void Dataset::reread()
{
    if (!isActive())
        return;
    const bool wasEditing = m_state != DatasetState::Browse;
    m_buffer = Row();
    m_insertAt = -1;
    m_state = DatasetState::Browse;
    m_modified = false;
    if (wasEditing && m_controlsDisabled == 0)
        Q_EMIT stateChanged();
    rereadKeepingCurrent();
}

void Dataset::rereadKeepingCurrent()
{
    const quint64 keep = m_current >= 0 && m_current < m_view.size()
                             ? m_all.at(m_view.at(m_current)).uid
                             : 0;
    readAll();
    rebuildView();
    computeAllCalculated();
    const int pos = viewPosition(keep);
    m_current = pos >= 0 ? pos : (m_view.isEmpty() ? -1 : 0);
    m_eof = m_view.isEmpty();
    emitReset();
    if (m_controlsDisabled == 0)
        Q_EMIT currentChanged(m_current);
    notifyFollowers();
}

void Dataset::disableControls()
{
    ++m_controlsDisabled;
}

void Dataset::enableControls()
{
    if (m_controlsDisabled == 0)
        return;
    if (--m_controlsDisabled == 0) {
        Q_EMIT rowsReset();
        Q_EMIT currentChanged(m_current);
        Q_EMIT stateChanged();
    }
}
