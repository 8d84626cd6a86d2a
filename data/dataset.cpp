#include "dataset.h"

#include "apperror.h"
#include "connection.h"

#include <algorithm>

namespace {

const QString EmptyDataset = QStringLiteral("Cannot perform this operation on an empty dataset");
const QString ClosedDataset = QStringLiteral("Cannot perform this operation on a closed dataset");
const QString NotEditing = QStringLiteral("Dataset not in edit or insert mode");

} // namespace

Dataset::Dataset(const QString &name, Connection *connection, const QString &table, QObject *parent)
    : QObject(parent),
      m_connection(connection),
      m_table(&Schema::table(table)),
      m_tableRows(*connection, *m_table, m_fields)
{
    setObjectName(name);
}

// ---------------------------------------------------------------- declaration

void Dataset::addStoredField(const QString &name)
{
    const FieldDef *def = m_table->field(name);
    if (!def)
        fail(notFound(name));
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
        fail(notFound(keyField));
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

QString Dataset::notFound(const QString &field)
{
    return QStringLiteral("Field '%1' not found").arg(field);
}

int Dataset::fieldIndex(const QString &name) const
{
    return indexOfField(m_fields, name);
}

const Dataset::Field &Dataset::field(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        fail(notFound(name));
    return m_fields.at(i);
}

// ---------------------------------------------------------------- errors and states

void Dataset::fail(const QString &text) const
{
    throw AppError::ofInstance(name(), text);
}

void Dataset::failWith(const AppError &cause) const
{
    if (cause.namesInstance())
        throw cause;
    fail(cause.text());
}

void Dataset::checkActive() const
{
    if (m_state == DatasetState::Inactive)
        fail(ClosedDataset);
}

void Dataset::checkEditing() const
{
    if (!isEditing())
        fail(NotEditing);
}

bool Dataset::isEditing() const
{
    return m_state == DatasetState::Edit || m_state == DatasetState::Insert;
}

// Reads the table again. A row still in the file keeps its uid, so bookmarks and the current
// row survive the reading.
void Dataset::readSnapshot()
{
    QHash<qint64, quint64> uids;
    for (const Row &r : std::as_const(m_rows))
        uids.insert(r.rowid, r.uid);

    QVector<Row> rows;
    try {
        rows = m_tableRows.readAll();
    } catch (const AppError &e) {
        failWith(e);
    }
    for (Row &r : rows) {
        r.uid = uids.value(r.rowid, 0);
        if (r.uid == 0)
            r.uid = m_nextUid++;
    }
    m_rows = std::move(rows);
    snapshotChanged();
}

// ---------------------------------------------------------------- the view

void Dataset::rebuildView()
{
    m_view.clear();
    m_view.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (isInView(m_rows.at(i)))
            m_view.append(i);
    }
    m_sort.sort(m_view, [this](int i) { return rowValue(m_rows.at(i), m_sort.field()); });
}

int Dataset::viewPosition(quint64 uid) const
{
    for (int i = 0; i < m_view.size(); ++i) {
        if (m_rows.at(m_view.at(i)).uid == uid)
            return i;
    }
    return -1;
}

quint64 Dataset::currentUid() const
{
    return m_current >= 0 && m_current < m_view.size() ? m_rows.at(m_view.at(m_current)).uid : 0;
}

// ---------------------------------------------------------------- the cursor and the controls

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

void Dataset::setCurrent(int row, bool eof)
{
    const quint64 before = currentUid();
    m_current = row;
    m_eof = eof;
    quint64 after = 0;
    if (row >= 0 && row < m_view.size()) {
        Row &r = m_rows[m_view.at(row)];
        after = r.uid;
        if (after != before)
            computeCalculated(r); // the row is read as the cursor reaches it
    }
    if (after != before) {
        if (m_controlsDisabled == 0)
            Q_EMIT currentChanged(m_current);
        notifyDetails();
    }
}

// After the rows themselves changed (filter, master row): the first row is current. The
// controls hear the reset while there is no current row yet, then the move onto the first.
void Dataset::showViewFromFirstRow()
{
    rebuildView();
    computeAllCalculated();
    m_current = -1;
    emitReset();
    m_current = m_view.isEmpty() ? -1 : 0;
    m_eof = m_view.isEmpty();
    if (m_controlsDisabled == 0)
        Q_EMIT currentChanged(m_current);
    notifyDetails();
}

void Dataset::showViewOn(quint64 keep)
{
    const int pos = viewPosition(keep);
    m_current = pos >= 0 ? pos : (m_view.isEmpty() ? -1 : 0);
    m_eof = m_view.isEmpty();
    emitReset();
    if (m_controlsDisabled == 0)
        Q_EMIT currentChanged(m_current);
}

void Dataset::rereadKeepingCurrent()
{
    const quint64 keep = currentUid();
    readSnapshot();
    rebuildView();
    computeAllCalculated();
    showViewOn(keep);
    notifyDetails();
}

// ---------------------------------------------------------------- lifecycle

void Dataset::open()
{
    if (m_state != DatasetState::Inactive)
        return;
    try {
        m_connection->connect();
    } catch (const AppError &e) {
        failWith(e);
    }
    readSnapshot();
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
    notifyDetails();
}

void Dataset::close()
{
    if (m_state == DatasetState::Inactive)
        return;
    m_state = DatasetState::Inactive;
    m_rows.clear();
    m_view.clear();
    m_editRow = Row();
    m_current = -1;
    m_eof = true;
    m_modified = false;
    snapshotChanged();
    if (!m_sortIsSetting) {
        m_sortText.clear();
        m_sort = SortOrder();
    }
    if (m_controlsDisabled == 0) {
        Q_EMIT stateChanged();
        Q_EMIT rowsReset();
        Q_EMIT currentChanged(-1);
    }
    notifyDetails();
}

// ---------------------------------------------------------------- navigation

int Dataset::recordCount() const
{
    return m_state == DatasetState::Inactive ? 0 : int(m_view.size());
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
    const quint64 target = m_rows.at(m_view.at(row)).uid;
    checkBrowseMode();
    const int pos = viewPosition(target);
    if (pos >= 0)
        setCurrent(pos, false);
}

// ---------------------------------------------------------------- editing

// A new row stands in the snapshot and the view from the start, so that grids show it; it
// reaches the file only when posted.
void Dataset::beginNewRow(int position)
{
    Row r;
    r.uid = m_nextUid++;
    r.values.resize(m_fields.size());
    const QVariant mv = masterValue(); // null without a master
    const int di = fieldIndex(m_detailField);
    if (di >= 0 && !mv.isNull())
        r.values[di] = m_fields.at(di).accept(mv);
    computeCalculated(r);
    m_rows.append(r);
    snapshotChanged();
    m_view.insert(position, int(m_rows.size()) - 1);
    m_editRow = r;
    m_state = DatasetState::Insert;
    m_modified = false;
    m_current = position;
    m_eof = false;
    if (m_controlsDisabled == 0) {
        Q_EMIT rowInserted(position);
        Q_EMIT currentChanged(position);
        Q_EMIT stateChanged();
    }
    notifyDetails();
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
    if (isEditing())
        return;
    if (m_current < 0 || m_view.isEmpty())
        fail(EmptyDataset);
    m_editRow = m_rows.at(m_view.at(m_current));
    m_state = DatasetState::Edit;
    m_modified = false;
    if (m_controlsDisabled == 0)
        Q_EMIT stateChanged();
}

// Inside a batch that then fails, the rows are read back as the file holds them; rows that
// cannot be read back are not shown at all.
void Dataset::noteWrite()
{
    m_connection->noteWrite(this, [this] {
        try {
            reread();
        } catch (const AppError &) {
            close();
        }
    });
}

// Leaves the edit or insert state, forgetting the edited values.
void Dataset::endEditing()
{
    m_editRow = Row();
    m_state = DatasetState::Browse;
    m_modified = false;
}

void Dataset::post()
{
    checkActive();
    if (!isEditing())
        return;
    updateRecord();
    if (m_beforePost) {
        try {
            m_beforePost(*this);
        } catch (const AppError &e) {
            failWith(e);
        }
    }
    Row &stored = m_rows[m_view.at(m_current)];
    try {
        if (m_state == DatasetState::Insert) {
            m_editRow.rowid = m_tableRows.insert(m_editRow);
            noteWrite();
            // The key is the file's rowid.
            for (int i = 0; i < m_fields.size(); ++i) {
                if (m_fields.at(i).kind == FieldKind::Stored && m_fields.at(i).type == FieldType::Key)
                    m_editRow.values[i] = qint64(m_editRow.rowid);
            }
        } else if (m_tableRows.update(stored, m_editRow)) {
            noteWrite();
        }
    } catch (const AppError &e) {
        failWith(e);
    }

    stored = m_editRow;
    endEditing();
    snapshotChanged();
    computeCalculated(stored);
    if (m_controlsDisabled == 0) {
        Q_EMIT rowChanged(m_current);
        Q_EMIT stateChanged();
    }
    notifyDetails();
    if (m_afterPost)
        m_afterPost(*this);
}

void Dataset::cancel()
{
    if (m_state == DatasetState::Edit) {
        endEditing();
        if (m_controlsDisabled == 0) {
            Q_EMIT rowChanged(m_current);
            Q_EMIT stateChanged();
        }
        return;
    }
    if (m_state != DatasetState::Insert)
        return;
    endEditing();
    dropCurrentRow();
}

// Takes the current row out of the snapshot; the following row (or the new last) is current.
void Dataset::dropCurrentRow()
{
    const int pos = m_current;
    const int index = m_view.at(pos);
    m_view.removeAt(pos);
    m_rows.removeAt(index);
    for (int &i : m_view) {
        if (i > index)
            --i;
    }
    snapshotChanged();
    m_current = m_view.isEmpty() ? -1 : std::min(pos, int(m_view.size()) - 1);
    m_eof = m_view.isEmpty();
    if (m_current >= 0)
        computeCalculated(m_rows[m_view.at(m_current)]);
    if (m_controlsDisabled == 0) {
        Q_EMIT rowRemoved(pos);
        Q_EMIT currentChanged(m_current);
        Q_EMIT stateChanged();
    }
    notifyDetails();
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
    if (m_state == DatasetState::Edit)
        endEditing();
    try {
        m_tableRows.remove(m_rows.at(m_view.at(m_current)).rowid);
        noteWrite();
    } catch (const AppError &e) {
        failWith(e);
    }
    dropCurrentRow();
}

// ---------------------------------------------------------------- filter and sort

void Dataset::setFilter(const QString &expression)
{
    RowFilter filter;
    try {
        filter = RowFilter::parse(expression, m_fields);
    } catch (const AppError &e) {
        failWith(e);
    }
    if (m_filtered && isActive())
        checkBrowseMode();
    m_filterText = expression;
    m_filter = filter;
    if (m_filtered && isActive())
        showViewFromFirstRow();
}

void Dataset::setFiltered(bool on)
{
    if (m_filtered == on)
        return;
    if (isActive())
        checkBrowseMode();
    m_filtered = on;
    if (isActive())
        showViewFromFirstRow();
}

void Dataset::setSort(const QString &sort)
{
    SortOrder order;
    try {
        order = SortOrder::parse(sort, m_fields);
    } catch (const AppError &e) {
        failWith(e);
    }
    m_sortText = sort;
    m_sort = order;
    m_sortIsSetting = !isActive();
    if (!isActive())
        return;
    checkBrowseMode();
    const quint64 keep = currentUid();
    rebuildView();
    showViewOn(keep);
}

// ---------------------------------------------------------------- bookmarks, refresh, controls

Bookmark Dataset::bookmark() const
{
    if (m_state == DatasetState::Inactive)
        return {};
    return {currentUid()};
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
    endEditing();
    if (wasEditing && m_controlsDisabled == 0)
        Q_EMIT stateChanged();
    rereadKeepingCurrent();
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
