#include "datagrid.h"

#include "bindingmodel.h"
#include "checkdelegate.h"
#include "datagridcolumn.h"
#include "gridheader.h"
#include "lookupdelegate.h"
#include "spindelegate.h"
#include "textdelegate.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "ui/messages.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QStyle>
#include <QToolTip>

namespace {

// Multi-line tool-tips break their lines at a carriage return.
QString toolTipText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

DataGrid::DataGrid(const QString &name, Binding *binding, QWidget *parent)
    : QTableView(parent), m_binding(binding)
{
    setObjectName(name);

    // The dataset has already changed when the binding tells of new, removed or re-read rows,
    // and the view moves its current row while the model catches up. Connected before the
    // model is, these keep that move from reaching the dataset.
    // Posting or moving the dataset first takes what the grower is still typing.
    connect(binding, &Binding::updateData, this, &DataGrid::commitEditor);
    connect(binding, &Binding::reset, this, &DataGrid::beginModelChange);
    connect(binding, &Binding::rowInserted, this, &DataGrid::beginModelChange);
    connect(binding, &Binding::rowRemoved, this, &DataGrid::beginModelChange);
    m_model = new BindingModel(binding, this);
    connect(binding, &Binding::reset, this, &DataGrid::endModelChange);
    connect(binding, &Binding::valuesChanged, this, &DataGrid::scheduleFit);
    connect(binding, &Binding::rowChanged, this, &DataGrid::scheduleFit);
    connect(binding, &Binding::rowInserted, this, &DataGrid::endModelChange);
    connect(binding, &Binding::rowRemoved, this, &DataGrid::endModelChange);
    connect(m_model, &BindingModel::currentRowChanged, this, &DataGrid::syncFromDataset);
    // A typed value the dataset refuses is shown at once, while its editor is still open.
    connect(m_model, &BindingModel::valueRefused, this, &Messages::showError);

    auto *header = new GridHeader(this);
    setHorizontalHeader(header);
    setModel(m_model);
    // A header click only reports: it neither sorts nor selects a column.
    disconnect(header, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(header, &QHeaderView::sectionEntered, this, nullptr);
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (DataGridColumn *c = m_model->column(section))
            Q_EMIT headerClicked(c);
    });
    connect(header, &QHeaderView::sectionResized, this, &DataGrid::sectionResized);

    verticalHeader()->hide();
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setEditable(true);
}

DataGridColumn *DataGrid::addColumn(const QString &name, const QString &field,
                                    const QString &caption, const ColumnEditor &editor)
{
    auto *col = new DataGridColumn(name, field, this);
    col->setCaption(caption);
    col->setEditor(editor);
    m_model->addColumn(col);
    installDelegate(col);
    setColumnWidth(sectionOf(col), col->width());
    connect(col, &DataGridColumn::visibilityChanged, this,
            [this, col] { columnVisibilityChanged(col); });
    connect(col, &DataGridColumn::widthChanged, this, [this, col] { columnWidthChanged(col); });
    connect(col, &DataGridColumn::editorChanged, this, [this, col] { installDelegate(col); });
    connect(col, &DataGridColumn::sortMarkChanged, horizontalHeader()->viewport(),
            qOverload<>(&QWidget::update));
    connect(col, &DataGridColumn::editorValueChanged, this,
            [this, col] { Q_EMIT editorValueChanged(col); });
    fitColumns();
    return col;
}

DataGridColumn *DataGrid::column(const QString &name) const
{
    for (DataGridColumn *c : m_model->columns()) {
        if (c->name() == name)
            return c;
    }
    return nullptr;
}

const QList<DataGridColumn *> &DataGrid::columns() const
{
    return m_model->columns();
}

int DataGrid::sectionOf(const DataGridColumn *column) const
{
    return m_model->columnIndex(column);
}

QColor DataGrid::colour() const
{
    return palette().color(QPalette::Base);
}

void DataGrid::setColour(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base,
               colour.isValid() ? colour : style()->standardPalette().color(QPalette::Base));
    setPalette(p);
}

void DataGrid::setFitColumns(bool fit)
{
    m_fitColumns = fit;
    horizontalHeader()->setSectionResizeMode(fit ? QHeaderView::Fixed : QHeaderView::Interactive);
    if (fit) {
        fitColumns();
    } else {
        for (DataGridColumn *c : columns())
            setColumnWidth(sectionOf(c), c->width());
    }
}

void DataGrid::setEditable(bool editable)
{
    m_editable = editable;
    m_model->setReadOnly(!editable);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                   | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(editable ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    syncFromDataset();
}

bool DataGrid::commitEditor()
{
    if (!m_openEditor || state() != QAbstractItemView::EditingState)
        return false;
    commitData(m_openEditor);
    return true;
}

bool DataGrid::hasData() const
{
    return m_binding && m_binding->isEnabled() && m_binding->dataset()->isActive();
}

void DataGrid::beginModelChange()
{
    ++m_changing;
}

void DataGrid::endModelChange()
{
    if (m_changing > 0)
        --m_changing;
    syncFromDataset();
    scheduleFit(); // new values may need wider number columns
}

// Many row signals arrive in one burst (a run, a reopen): one fit after them is enough.
void DataGrid::scheduleFit()
{
    if (!m_fitColumns || m_fitPending)
        return;
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        fitColumns();
    });
}

void DataGrid::syncFromDataset()
{
    if (m_changing > 0 || !selectionModel())
        return;
    const int row = m_model->currentRow();
    const QModelIndex current = currentIndex();
    const QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect
        | (selectionBehavior() == QAbstractItemView::SelectRows ? QItemSelectionModel::Rows
                                                                : QItemSelectionModel::NoUpdate);
    m_syncing = true;
    if (row < 0) {
        if (current.isValid())
            selectionModel()->clear();
    } else if (m_model->columnCount() > 0) {
        int column = current.isValid() ? current.column() : 0;
        if (!current.isValid()) {
            while (column < m_model->columnCount() - 1 && isColumnHidden(column))
                ++column;
        }
        const QModelIndex target = m_model->index(row, column);
        if (target != current || !selectionModel()->isSelected(target))
            selectionModel()->setCurrentIndex(target, flags);
    }
    m_syncing = false;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || m_changing > 0 || !current.isValid() || !hasData())
        return;
    if (current.row() == m_model->currentRow())
        return;
    try {
        m_binding->dataset()->moveTo(current.row());
    } catch (...) {
        Messages::showException();
    }
    // On a refused move the selection goes back to the dataset's row, once the event that moved
    // it has done its work.
    if (m_model->currentRow() != current.row())
        QMetaObject::invokeMethod(this, &DataGrid::syncFromDataset, Qt::QueuedConnection);
}

void DataGrid::commitData(QWidget *editor)
{
    // The dataset moved by itself: what the editor holds belongs to the row it left.
    if (m_syncing)
        return;
    QTableView::commitData(editor);
}

void DataGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // A grid that Tab leaves (GridKeys::leaveOnTab) lets Tab in a cell editor leave it too,
    // once the editor has handed its value over.
    const bool leaving = !tabKeyNavigation()
                         && (hint == QAbstractItemDelegate::EditNextItem
                             || hint == QAbstractItemDelegate::EditPreviousItem);
    if (!leaving) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (hasData()) {
        Dataset *ds = m_binding->dataset();
        const bool editing = ds->state() == DatasetState::Edit || ds->state() == DatasetState::Insert;
        switch (event->key()) {
        case Qt::Key_Insert:
            if (m_editable && mods == Qt::NoModifier) {
                if (!m_rowsFixed)
                    guarded([ds] { ds->insert(); });
                return;
            }
            break;
        case Qt::Key_Delete:
            if (m_editable && mods == Qt::ControlModifier) {
                if (m_rowsFixed)
                    return;
                guarded([ds] {
                    if (!ds->isEmpty() && Messages::confirmDelete())
                        ds->remove();
                });
                return;
            }
            break;
        case Qt::Key_Escape:
            if (m_editable && editing) {
                guarded([ds] { ds->cancel(); });
                return;
            }
            break;
        case Qt::Key_Home:
            if (mods == Qt::ControlModifier) {
                guarded([ds] { ds->first(); });
                return;
            }
            break;
        case Qt::Key_End:
            // A jump to the last row, which also marks the end of the table.
            if (mods == Qt::ControlModifier) {
                guarded([ds] { ds->last(); });
                return;
            }
            break;
        case Qt::Key_Down:
            // Down on the last row steps past it: the dataset notes the end of the table.
            if (mods == Qt::NoModifier && currentIndex().isValid()
                && currentIndex().row() == m_model->rowCount() - 1) {
                guarded([ds] { ds->next(); });
                return;
            }
            break;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    Q_EMIT keyReleased(event->key());
}

void DataGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT gridClicked();
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT gridDoubleClicked();
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

bool DataGrid::showToolTip(QEvent *event, bool overCells)
{
    auto *help = static_cast<QHelpEvent *>(event);
    QString text = toolTip();
    // A column's hint, over its cells, before the grid's own.
    if (const QModelIndex at = overCells ? indexAt(help->pos()) : QModelIndex(); at.isValid()) {
        if (const QString hint = at.data(Qt::ToolTipRole).toString(); !hint.isEmpty())
            text = hint;
    }
    if (text.isEmpty()) {
        // Let the nearest enclosing control with a tool-tip show its own.
        event->ignore();
        return false;
    }
    QToolTip::showText(help->globalPos(), toolTipText(text), this);
    return true;
}

bool DataGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return showToolTip(event, true);
    return QTableView::viewportEvent(event);
}

bool DataGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return showToolTip(event, false);
    return QTableView::event(event);
}

void DataGrid::installDelegate(DataGridColumn *column)
{
    const int section = sectionOf(column);
    if (section < 0)
        return;
    ColumnDelegate *delegate = nullptr;
    switch (column->editorKind()) {
    case EditorKind::Spin:
        delegate = new SpinDelegate(column, this);
        break;
    case EditorKind::LookupDropDown:
    case EditorKind::ChoiceDropDown:
        delegate = new LookupDelegate(column, this);
        break;
    case EditorKind::Check:
        delegate = new CheckDelegate(column, this);
        break;
    case EditorKind::None:
    case EditorKind::Text: {
        const Dataset *ds = m_binding ? m_binding->dataset() : nullptr;
        const int f = ds ? ds->fieldIndex(column->field()) : -1;
        if (f >= 0 && ds->fields().at(f).type == FieldType::Bool)
            delegate = new CheckDelegate(column, this);
        else
            delegate = new TextDelegate(column, this);
        break;
    }
    }
    connect(delegate, &ColumnDelegate::editorOpened, this,
            [this](QWidget *editor) { m_openEditor = editor; });
    connect(delegate, &ColumnDelegate::userChanged, this, &DataGrid::userChangedEditor);
    setItemDelegateForColumn(section, delegate);
    if (ColumnDelegate *old = m_delegates.value(column))
        old->deleteLater();
    m_delegates.insert(column, delegate);
}

void DataGrid::userChangedEditor(DataGridColumn *column)
{
    Q_UNUSED(column);
    // The row enters the editing state with the first change, so that bars and windows see it
    // being edited while the value is still in the editor.
    if (!hasData())
        return;
    Dataset *ds = m_binding->dataset();
    if (ds->state() != DatasetState::Browse || ds->isEmpty())
        return;
    guarded([ds] { ds->edit(); });
}

void DataGrid::columnVisibilityChanged(DataGridColumn *column)
{
    setColumnHidden(sectionOf(column), !column->isVisible());
    fitColumns();
}

void DataGrid::columnWidthChanged(DataGridColumn *column)
{
    if (m_fitColumns)
        fitColumns();
    else
        setColumnWidth(sectionOf(column), column->width());
}

void DataGrid::sectionResized(int section, int oldSize, int newSize)
{
    Q_UNUSED(oldSize);
    // A width dragged by the grower becomes the column's width.
    if (m_fitColumns || m_fitting)
        return;
    if (DataGridColumn *c = m_model->column(section); c && newSize > 0)
        c->setWidth(newSize);
}

// The narrowest a column may get: its caption's longest word, and for a number column its
// longest value up to two decimals. A number whose whole part is cut short could be misread,
// so the grid rather scrolls; further decimals may give way.
int DataGrid::minimumWidth(int section) const
{
    constexpr int Padding = 10;
    const QFontMetrics header(horizontalHeader()->font());
    int least = 0;
    const QString caption = m_model->headerData(section, Qt::Horizontal).toString();
    for (const QString &word : caption.split(u' ', Qt::SkipEmptyParts))
        least = std::max(least, header.horizontalAdvance(word));
    const QVariant sample = m_model->rowCount() > 0 ? m_model->index(0, section).data(Qt::EditRole)
                                                    : QVariant();
    const bool number = sample.typeId() == QMetaType::Double || sample.typeId() == QMetaType::Int
                        || sample.typeId() == QMetaType::LongLong;
    if (number || m_model->rowCount() == 0) {
        const QFontMetrics cells(font());
        const QString ellipsis(QChar(0x2026));
        for (int row = 0; row < m_model->rowCount(); ++row) {
            QString text = m_model->index(row, section).data().toString();
            qsizetype point = text.indexOf(u'.');
            if (point < 0)
                point = text.indexOf(u',');
            if (point >= 0 && text.size() > point + 3)
                text = text.left(point + 3) + ellipsis;
            least = std::max(least, cells.horizontalAdvance(text));
        }
    }
    return least + Padding;
}

void DataGrid::fitColumns()
{
    if (!m_fitColumns || m_fitting)
        return;
    const int available = viewport()->width();
    QList<int> sections;
    for (DataGridColumn *c : columns()) {
        const int s = sectionOf(c);
        if (!isColumnHidden(s))
            sections.append(s);
    }
    if (sections.isEmpty() || available <= 0)
        return;
    m_fitting = true;

    QList<int> least;
    int leastTotal = 0;
    for (int s : sections) {
        least.append(minimumWidth(s));
        leastTotal += least.last();
    }
    QList<int> widths(sections.size(), 0);
    if (leastTotal >= available) {
        widths = least;
        if (m_horizontalPolicy < 0)
            m_horizontalPolicy = horizontalScrollBarPolicy();
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else {
        if (m_horizontalPolicy >= 0) {
            setHorizontalScrollBarPolicy(Qt::ScrollBarPolicy(m_horizontalPolicy));
            m_horizontalPolicy = -1;
        }
        // Share the width in proportion to the built widths; a column that would fall below its
        // least keeps that, and the others share what is left.
        QList<bool> fixed(sections.size(), false);
        for (int pass = 0; pass <= sections.size(); ++pass) {
            int room = available;
            qint64 weight = 0;
            for (int k = 0; k < sections.size(); ++k) {
                if (fixed.at(k))
                    room -= least.at(k);
                else
                    weight += std::max(1, m_model->column(sections.at(k))->width());
            }
            bool changed = false;
            for (int k = 0; k < sections.size(); ++k) {
                if (fixed.at(k)) {
                    widths[k] = least.at(k);
                    continue;
                }
                widths[k] = weight > 0
                                ? int(qint64(std::max(1, m_model->column(sections.at(k))->width())) * room / weight)
                                : least.at(k);
                if (widths.at(k) < least.at(k)) {
                    fixed[k] = true;
                    changed = true;
                }
            }
            if (!changed)
                break;
        }
        // The last column takes what rounding left over.
        int used = 0;
        for (int k = 0; k + 1 < sections.size(); ++k)
            used += widths.at(k);
        widths.last() = std::max(least.last(), available - used);
    }
    for (int k = 0; k < sections.size(); ++k)
        setColumnWidth(sections.at(k), std::max(1, widths.at(k)));
    m_fitting = false;
}
