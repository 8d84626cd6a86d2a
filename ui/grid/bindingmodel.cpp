#include "bindingmodel.h"

#include "datagridcolumn.h"

#include "data/apperror.h"
#include "data/binding.h"
#include "data/textconv.h"

BindingModel::BindingModel(Binding *binding, QObject *parent)
    : QAbstractTableModel(parent), m_binding(binding)
{
    connect(binding, &Binding::reset, this, &BindingModel::resetRows);
    connect(binding, &Binding::rowInserted, this, &BindingModel::rowInserted);
    connect(binding, &Binding::rowRemoved, this, &BindingModel::rowRemoved);
    connect(binding, &Binding::rowChanged, this, &BindingModel::rowChanged);
    connect(binding, &Binding::valuesChanged, this, &BindingModel::allValuesChanged);
    connect(binding, &Binding::currentChanged, this, &BindingModel::currentMoved);
    m_rows = showing() ? dataset()->recordCount() : 0;
}

Dataset *BindingModel::dataset() const
{
    return m_binding ? m_binding->dataset() : nullptr;
}

void BindingModel::addColumn(DataGridColumn *column)
{
    const int at = int(m_columns.size());
    beginInsertColumns(QModelIndex(), at, at);
    m_columns.append(column);
    endInsertColumns();
    connect(column, &DataGridColumn::appearanceChanged, this,
            [this, column] { columnAppearanceChanged(column); });
    connect(column, &DataGridColumn::editorChanged, this,
            [this, column] { columnAppearanceChanged(column); });
    connect(column, &QObject::destroyed, this, &BindingModel::columnDestroyed);
}

DataGridColumn *BindingModel::column(int section) const
{
    return section >= 0 && section < m_columns.size() ? m_columns.at(section) : nullptr;
}

int BindingModel::columnIndex(const DataGridColumn *column) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i) == column)
            return i;
    }
    return -1;
}

void BindingModel::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    if (m_rows > 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
}

int BindingModel::currentRow() const
{
    if (!showing())
        return -1;
    const int row = dataset()->currentRow();
    return row < m_rows ? row : -1;
}

bool BindingModel::showing() const
{
    return m_binding && m_binding->isEnabled() && dataset()->isActive();
}

const Dataset::Field *BindingModel::fieldOf(const DataGridColumn *column) const
{
    const int i = dataset()->fieldIndex(column->field());
    return i < 0 ? nullptr : &dataset()->fields().at(i);
}

// The field a column writes: for a drop-down over a lookup field, the lookup's key field.
const Dataset::Field *BindingModel::targetFieldOf(const DataGridColumn *column) const
{
    const Dataset::Field *f = fieldOf(column);
    if (f && f->kind == FieldKind::Lookup && column->editorKind() == EditorKind::LookupDropDown) {
        const int i = dataset()->fieldIndex(f->keyField);
        return i < 0 ? nullptr : &dataset()->fields().at(i);
    }
    return f;
}

bool BindingModel::isCheckColumn(const DataGridColumn *column) const
{
    if (column->editorKind() == EditorKind::Check)
        return true;
    const Dataset::Field *f = fieldOf(column);
    return f && f->type == FieldType::Bool;
}

int BindingModel::sourceRow(int row) const
{
    if (m_pendingInsert >= 0 && row >= m_pendingInsert)
        return row + 1;
    if (m_pendingRemove >= 0 && row >= m_pendingRemove)
        return row == m_pendingRemove ? -1 : row - 1;
    return row;
}

int BindingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int BindingModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString BindingModel::displayText(const DataGridColumn *column, const Dataset::Field &field,
                                  int row) const
{
    QVariant v = dataset()->valueAt(row, column->field());
    if (field.kind != FieldKind::Lookup && column->editorKind() == EditorKind::LookupDropDown) {
        // The field holds the key itself; the name comes from the list.
        const ColumnEditor &e = column->editor();
        if (!e.listSource || v.isNull())
            return QString();
        return e.listSource->dataset()->lookup(e.keyField, v, e.displayField).toString();
    }
    if (column->editorKind() == EditorKind::ChoiceDropDown && !v.isNull()) {
        const QStringList &choices = column->editor().choices;
        const qint64 at = v.toLongLong();
        if (at >= 0 && at < choices.size())
            return choices.at(at);
    }
    if (v.isNull() || !v.isValid())
        return QString();
    switch (field.type) {
    case FieldType::Double:
        return formatGeneral(v.toDouble());
    case FieldType::Bool:
        return QString();
    case FieldType::Text:
        return v.toString();
    case FieldType::Key:
    case FieldType::Int:
        break;
    }
    return QString::number(v.toLongLong());
}

QVariant BindingModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const DataGridColumn *col = m_columns.at(index.column());
    switch (role) {
    case Qt::BackgroundRole:
        return col->colour().isValid() ? QVariant(col->colour()) : QVariant();
    case Qt::FontRole:
        return col->font() ? QVariant(*col->font()) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant(col->alignment().toInt());
    case Qt::ToolTipRole:
        return col->hint().isEmpty() ? QVariant() : QVariant(col->hint());
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::CheckStateRole:
        break;
    default:
        return QVariant();
    }

    const int row = sourceRow(index.row());
    if (row < 0 || !showing())
        return QVariant();
    try {
        Dataset *ds = dataset();
        if (row >= ds->recordCount())
            return QVariant();
        const Dataset::Field *f = fieldOf(col);
        if (!f)
            return QVariant();
        const bool check = isCheckColumn(col);
        if (role == Qt::CheckStateRole) {
            if (!check)
                return QVariant();
            return ds->valueAt(row, col->field()).toBool() ? Qt::Checked : Qt::Unchecked;
        }
        if (role == Qt::DisplayRole)
            return check ? QVariant() : QVariant(displayText(col, *f, row));
        // Edit role: what an editor starts from, the key for a drop-down.
        if (check)
            return ds->valueAt(row, col->field()).toBool();
        const Dataset::Field *target = targetFieldOf(col);
        return target ? ds->valueAt(row, target->name) : QVariant();
    } catch (...) {
        // A cell that cannot be read shows empty; painting is no place for a message box.
        return QVariant();
    }
}

QVariant BindingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal) {
        const DataGridColumn *col = column(section);
        return col && !col->hint().isEmpty() ? QVariant(col->hint()) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    const DataGridColumn *col = column(section);
    return col ? QVariant(col->headerText()) : QVariant();
}

bool BindingModel::isCellEditable(const QModelIndex &index) const
{
    if (!index.isValid() || m_readOnly || !showing())
        return false;
    const DataGridColumn *col = column(index.column());
    if (!col || col->isReadOnly() || col->editorKind() == EditorKind::None)
        return false;
    const Dataset::Field *f = fieldOf(col);
    const Dataset::Field *target = targetFieldOf(col);
    if (!f || !target)
        return false;
    if (f->kind == FieldKind::Calculated)
        return false;
    if (f->kind == FieldKind::Lookup && col->editorKind() != EditorKind::LookupDropDown)
        return false;
    return target->kind == FieldKind::Stored && !target->readOnly
        && target->type != FieldType::Key;
}

Qt::ItemFlags BindingModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (isCellEditable(index))
        f |= isCheckColumn(column(index.column())) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

void BindingModel::writeValue(const DataGridColumn *column, const QVariant &value, bool checkState)
{
    Dataset *ds = dataset();
    const Dataset::Field *target = targetFieldOf(column);
    ds->edit();
    if (checkState) {
        ds->setValue(target->name, value.toInt() == Qt::Checked);
    } else if (value.isNull() || !value.isValid()) {
        ds->clearValue(target->name);
    } else if (value.typeId() == QMetaType::QString) {
        // Text from a line edit is read the way the dataset reads typed text: in the system's
        // number format, refused when it is not a number.
        const QString text = value.toString();
        if (text.isEmpty() && target->type != FieldType::Text)
            ds->clearValue(target->name);
        else
            ds->setAsString(target->name, text);
    } else {
        ds->setValue(target->name, value);
    }
}

bool BindingModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || !isCellEditable(index))
        return false;
    const DataGridColumn *col = m_columns.at(index.column());
    const bool check = isCheckColumn(col);
    if (role != (check ? Qt::CheckStateRole : Qt::EditRole))
        return false;

    const int row = sourceRow(index.row());
    try {
        Dataset *ds = dataset();
        if (ds->currentRow() != row) {
            ds->moveTo(row);
            // Posting the row we left may have re-read or re-sorted the rows.
            if (ds->currentRow() != row || !showing())
                return false;
        }
        writeValue(col, value, check);
    } catch (...) {
        Q_EMIT valueRefused(currentErrorText());
        // Views may hold the refused text; show the row as the dataset has it.
        if (index.row() < m_rows)
            Q_EMIT dataChanged(index, index);
        return false;
    }
    if (index.row() < m_rows) {
        if (check)
            Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
        else
            Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
    return true;
}

void BindingModel::resetRows()
{
    beginResetModel();
    m_pendingInsert = -1;
    m_pendingRemove = -1;
    m_rows = showing() ? dataset()->recordCount() : 0;
    endResetModel();
}

void BindingModel::rowInserted(int row)
{
    if (!showing() || row < 0 || row > m_rows || dataset()->recordCount() != m_rows + 1) {
        resetRows();
        return;
    }
    m_pendingInsert = row;
    beginInsertRows(QModelIndex(), row, row);
    m_pendingInsert = -1;
    ++m_rows;
    endInsertRows();
}

void BindingModel::rowRemoved(int row)
{
    if (!showing() || row < 0 || row >= m_rows || dataset()->recordCount() != m_rows - 1) {
        resetRows();
        return;
    }
    m_pendingRemove = row;
    beginRemoveRows(QModelIndex(), row, row);
    m_pendingRemove = -1;
    --m_rows;
    endRemoveRows();
}

void BindingModel::rowChanged(int row)
{
    if (row < 0 || row >= m_rows || m_columns.isEmpty())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void BindingModel::allValuesChanged()
{
    if (m_rows > 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
}

void BindingModel::currentMoved(int row)
{
    Q_UNUSED(row);
    Q_EMIT currentRowChanged(currentRow());
}

void BindingModel::columnAppearanceChanged(DataGridColumn *column)
{
    const int c = columnIndex(column);
    if (c < 0)
        return;
    Q_EMIT headerDataChanged(Qt::Horizontal, c, c);
    if (m_rows > 0)
        Q_EMIT dataChanged(index(0, c), index(m_rows - 1, c));
}

void BindingModel::columnDestroyed(QObject *column)
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i) == column) {
            beginRemoveColumns(QModelIndex(), i, i);
            m_columns.removeAt(i);
            endRemoveColumns();
            return;
        }
    }
}
