#pragma once

#include "columneditor.h"
#include "datagridcolumn.h"

#include "data/binding.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTableView>

class BindingModel;
class ColumnDelegate;

// A grid bound to a binding: one row per row of its dataset, one column per DataGridColumn.
// The view's current row and the dataset's current row follow each other. Editable grids edit
// in place (a row is posted when the grower leaves it), start a new row with Insert, delete
// with Ctrl+Delete after "Delete record?", and cancel the row's changes with Escape.
//
// The grid never sorts by itself: a header click only emits headerClicked, and the sort marks
// are the window's to set. Scroll bars are set with the usual QAbstractScrollArea policies and
// the accessible name with setAccessibleName.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    DataGrid(const QString &name, Binding *binding, QWidget *parent = nullptr);

    Binding *binding() const { return m_binding.data(); }
    BindingModel *bindingModel() const { return m_model; }

    // Appends a column named `name` (its objectName) showing `field`; an empty caption shows
    // the field's name. The grid owns the column.
    DataGridColumn *addColumn(const QString &name, const QString &field,
                              const QString &caption = QString(),
                              const ColumnEditor &editor = ColumnEditor());
    DataGridColumn *column(const QString &name) const; // nullptr when there is none
    const QList<DataGridColumn *> &columns() const;
    int sectionOf(const DataGridColumn *column) const;

    // The background of the cells whose column has no colour of its own.
    QColor colour() const;
    void setColour(const QColor &colour);

    // Fitted: the visible columns share the grid's width in proportion to their widths, and
    // follow every resize.
    bool fitsColumns() const { return m_fitColumns; }
    void setFitColumns(bool fit);

    // A grid that is not editable only shows and moves (lists).
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // Rows fixed: values are edited, but Insert and Ctrl+Delete add or remove no row (a grid
    // whose rows the program keeps, one per thing it lists).
    bool rowsFixed() const { return m_rowsFixed; }
    void setRowsFixed(bool fixed) { m_rowsFixed = fixed; }

    // Stores the value of an open cell editor in the dataset, keeping the editor open. Windows
    // call it before they post from outside the grid. False when no editor is open.
    bool commitEditor();

Q_SIGNALS:
    void gridClicked();       // a click in the grid, after it moved the current row
    void gridDoubleClicked();
    void keyReleased(int key);
    void headerClicked(DataGridColumn *column);
    // Every change the user makes in a column's editor (typed or by spin buttons).
    void editorValueChanged(DataGridColumn *column);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void beginModelChange();
    void endModelChange();
    void syncFromDataset();
    void installDelegate(DataGridColumn *column);
    void columnVisibilityChanged(DataGridColumn *column);
    void columnWidthChanged(DataGridColumn *column);
    void sectionResized(int section, int oldSize, int newSize);
    void userChangedEditor(DataGridColumn *column);
    void fitColumns();
    void scheduleFit();
    int minimumWidth(int section) const;
    bool hasData() const;
    bool showToolTip(QEvent *event, bool overCells);

    QPointer<Binding> m_binding;
    BindingModel *m_model = nullptr;
    QHash<const DataGridColumn *, ColumnDelegate *> m_delegates;
    QPointer<QWidget> m_openEditor;
    bool m_editable = true;
    bool m_rowsFixed = false;
    bool m_fitColumns = false;
    bool m_fitting = false;
    bool m_fitPending = false;
    int m_horizontalPolicy = -1; // the window's own policy while the grid scrolls instead
    bool m_syncing = false;
    int m_changing = 0;
};
