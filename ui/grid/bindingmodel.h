#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

// binding.h first: dataset.h needs Binding complete for its inline QPointer accessors.
#include "data/binding.h"
#include "data/dataset.h"
class DataGridColumn;

// The rows of a binding's dataset as a table, one column per DataGridColumn. Shows nothing
// while the binding is disabled or the dataset closed. Values are read with Dataset::valueAt;
// edits go through the dataset: the row becomes current, enters the editing state and takes
// the value. A value the dataset refuses makes setData return false and is reported through
// valueRefused; the row keeps what it had. The model itself never shows anything: the view
// that owns it decides how the grower learns of the refusal.
class BindingModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit BindingModel(Binding *binding, QObject *parent = nullptr);

    Binding *binding() const { return m_binding.data(); }
    Dataset *dataset() const; // nullptr once the binding is gone

    // The model does not own its columns (the grid does).
    void addColumn(DataGridColumn *column);
    const QList<DataGridColumn *> &columns() const { return m_columns; }
    DataGridColumn *column(int section) const;
    int columnIndex(const DataGridColumn *column) const; // -1 when not a column of this model

    // A read-only model edits nothing, whatever its columns say.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // Whether the cell's column edits its field in place (check boxes included).
    bool isCellEditable(const QModelIndex &index) const;
    // The dataset's current row as the model shows it; -1 when none or nothing is shown.
    int currentRow() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value,
                 int role = Qt::EditRole) override;

Q_SIGNALS:
    // The dataset's current row moved (-1: none).
    void currentRowChanged(int row);
    // setData could not store a value: the dataset refused it, or posting the row being left
    // failed. `text` is the layer's error text. Sent before the cell is shown again as the
    // dataset has it.
    void valueRefused(const QString &text);

private:
    bool showing() const;
    const Dataset::Field *fieldOf(const DataGridColumn *column) const;
    const Dataset::Field *targetFieldOf(const DataGridColumn *column) const;
    bool isCheckColumn(const DataGridColumn *column) const;
    int sourceRow(int row) const;
    QString displayText(const DataGridColumn *column, const Dataset::Field &field,
                        int sourceRow) const;
    void writeValue(const DataGridColumn *column, const QVariant &value, bool checkState);

    void resetRows();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void allValuesChanged();
    void currentMoved(int row);
    void columnAppearanceChanged(DataGridColumn *column);
    void columnDestroyed(QObject *column);

    QPointer<Binding> m_binding;
    QList<DataGridColumn *> m_columns;
    bool m_readOnly = false;
    int m_rows = 0;
    // Between begin… and end… of a row insert or remove the dataset already holds its new
    // rows while the view still counts the old ones; these map one onto the other.
    int m_pendingInsert = -1;
    int m_pendingRemove = -1;
};
