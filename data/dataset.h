#pragma once

#include "datasetfield.h"
#include "datasetrow.h"
#include "lookupindex.h"
#include "rowfilter.h"
#include "schema.h"
#include "sortorder.h"
#include "tablerows.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

class AppError;
class Binding;
class Connection;

enum class DatasetState { Inactive, Browse, Edit, Insert };

// Opaque handle to a row of a dataset; a null bookmark goes nowhere.
struct Bookmark
{
    quint64 uid = 0;
    bool isNull() const { return uid == 0; }
};

// A named cursor of one window over one table (the fertilizer query is the three fields of
// t_udobra). When opened it takes a snapshot of its table: its own appends, edits and deletes
// show at once, while changes made through another dataset or another process show only after
// it is reopened or refreshed. Filter, master link and sort are applied to that snapshot in our
// own code; the view is the snapshot's rows that pass them, in sort order, and the cursor moves
// over the view.
//
// Every error it raises carries its name: "T_HEAD_RAR: Cannot perform this operation on an
// empty dataset". A value a field refuses is the exception: its text names the field instead.
class Dataset : public QObject
{
    Q_OBJECT

public:
    using Field = DatasetField;

    // `table` names a table of the schema; the fields are declared afterwards, in order.
    Dataset(const QString &name, Connection *connection, const QString &table,
            QObject *parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }

    // ---- declaration (before the first open)
    void addStoredField(const QString &name);
    void addLookupField(const QString &name, FieldType type, int size, const QString &keyField,
                        Dataset *lookupDataset, const QString &lookupKey,
                        const QString &resultField, bool readOnly = false);
    void addCalculatedField(const QString &name); // a double, set by the calculation hook
    void setCalcHook(std::function<void(Dataset &)> hook) { m_calcHook = std::move(hook); }
    void setAfterPostHook(std::function<void(Dataset &)> hook) { m_afterPost = std::move(hook); }
    // Runs before a row is written; it refuses the row by throwing AppError, which leaves the
    // row being edited.
    void setBeforePostHook(std::function<void(Dataset &)> hook) { m_beforePost = std::move(hook); }

    const QVector<Field> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // -1 when absent (case-insensitive)
    const Field &field(const QString &name) const; // throws for an unknown field

    // The binding that shows this dataset; datasets get theirs when the binding is created.
    Binding *binding() const;
    // The connection it reads and writes through, for work that groups its posts.
    Connection &connection() const { return *m_connection; }

    // ---- lifecycle
    void open();   // nothing when open; connects first when the connection is closed
    void close();  // nothing when closed; pending changes are discarded, never posted
    bool isActive() const { return m_state != DatasetState::Inactive; }
    DatasetState state() const { return m_state; }

    // ---- navigation; every move first ends a pending edit (posted when changed, dropped when not)
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row); // row of the current view, 0-based
    bool eof() const { return m_eof; }
    int currentRow() const { return m_current; } // -1 when there is none
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }

    // ---- fields of the current row (the edited values while editing or inserting)
    QVariant value(const QString &field) const; // null QVariant for an empty value
    bool isNull(const QString &field) const;
    int asInteger(const QString &field) const;  // empty reads as 0
    double asFloat(const QString &field) const; // empty reads as 0
    bool asBoolean(const QString &field) const; // empty reads as false
    QString asString(const QString &field) const; // display text; empty reads as ""

    // Writing needs the edit or insert state. A value the field cannot hold is refused with
    // nothing changed: text over its size, a number that is not one.
    void setValue(const QString &field, const QVariant &value);
    void setAsString(const QString &field, const QString &text);
    void clearValue(const QString &field);

    // Only from inside the calculation hook: sets a calculated field of the row being read.
    void setCalcValue(const QString &field, double value);

    // ---- any row of the current view, for grids (does not move the dataset)
    QVariant valueAt(int row, const QString &field) const;
    QVariant valueAt(int row, int fieldIndex) const;

    // ---- editing
    void append();
    void insert();
    void edit();   // nothing when already editing or inserting
    void post();   // nothing in browse state
    void cancel(); // nothing in browse state
    void remove(); // the delete; in the insert state the new row is dropped instead
    bool isModified() const { return m_modified; }
    // Asks the controls to write a value still open in an editor into the row being edited;
    // posting and every move do this first.
    void updateRecord();
    // Ends a pending edit the way a move does: posts a changed row, drops an unchanged one.
    void checkBrowseMode();

    // ---- filter: "id_udobra=7", "name_udobra like %text%", "kof<>true" (see RowFilter)
    void setFilter(const QString &expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // ---- sort: "name_udobra ASC" / "name_udobra DESC"; empty for the table's own order.
    // A sort set while open lasts until the dataset closes; one set while closed is a setting.
    void setSort(const QString &sort);
    QString sort() const { return m_sortText; }

    // ---- master-detail, re-pointable: set the link, then close and open
    void setMasterLink(Binding *master, const QString &masterField, const QString &detailField);
    Binding *masterBinding() const;

    // ---- bookmarks
    Bookmark bookmark() const;
    void gotoBookmark(const Bookmark &bookmark); // a null bookmark does nothing

    // Rereads every row from the file and works out lookups and calculated fields again,
    // keeping the current row. A pending edit is posted first.
    void refresh();
    // As refresh, but a pending edit is dropped: after a failed commit, what the file holds.
    void reread();

    // While disabled, bindings hear nothing; enabling sends one reset.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

    // Looks up `result` of the snapshot row whose `keyField` equals `key`; null when no row
    // matches or the dataset is closed. Sees every row, whatever the filter or master link.
    QVariant lookup(const QString &keyField, const QVariant &key, const QString &result) const;

Q_SIGNALS:
    void rowsReset();          // the rows themselves changed: opened, closed, filtered, sorted
    void valuesChanged();      // the same rows, every value may have changed (reread)
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    void currentChanged(int row);
    void stateChanged();

private:
    friend class Binding;
    using Row = DatasetRow;

    static QString notFound(const QString &field);
    [[noreturn]] void fail(const QString &text) const;
    [[noreturn]] void failWith(const AppError &cause) const;
    void checkActive() const;
    void checkEditing() const;
    bool isEditing() const;

    // Rows and their values
    const Row *currentRowData() const;
    Row *currentRowData();
    QVariant rowValue(const Row &row, int fieldIndex) const;
    void readSnapshot();
    void snapshotChanged() { m_lookupIndex.clear(); }

    // The view
    bool isInView(const Row &row) const;
    QVariant masterValue() const;
    bool masterChainClosed() const;
    void rebuildView();
    int viewPosition(quint64 uid) const; // -1 when the row is not in the view
    quint64 currentUid() const;          // 0 when there is no current row
    void computeCalculated(Row &row);
    void computeAllCalculated();

    // The cursor and what the controls hear of it
    void setCurrent(int row, bool eof);
    void showViewFromFirstRow();
    // The view shown again on the row `keep` (a row's uid), or on the first when it is gone.
    void showViewOn(quint64 keep);
    void rereadKeepingCurrent();
    void masterChanged();
    void notifyDetails();
    void notifyDetailsLinkedBy(const QString &field); // a field of this row was set
    void emitReset();
    void emitRowChanged(int row);

    // Editing
    void beginNewRow(int position);
    void endEditing();
    void dropCurrentRow();
    void noteWrite(); // with the connection, for a batch that fails

    Connection *m_connection;
    const TableDef *m_table;
    QVector<Field> m_fields;
    TableRows m_tableRows; // over m_fields
    std::function<void(Dataset &)> m_calcHook;
    std::function<void(Dataset &)> m_beforePost;
    std::function<void(Dataset &)> m_afterPost;
    QPointer<Binding> m_binding;

    DatasetState m_state = DatasetState::Inactive;
    QVector<Row> m_rows;  // the snapshot, in the table's own order
    QVector<int> m_view;  // indexes into m_rows that pass filter and master link, sorted
    int m_current = -1;   // position in m_view
    bool m_eof = true;
    bool m_modified = false;
    Row m_editRow;        // the row being edited or inserted; m_rows keeps what is stored
    quint64 m_nextUid = 1;
    Row *m_calcRow = nullptr; // the row the calculation hook works on
    mutable LookupIndex m_lookupIndex; // positions in m_rows

    QString m_filterText;
    bool m_filtered = false;
    RowFilter m_filter;

    QString m_sortText;
    bool m_sortIsSetting = false;
    SortOrder m_sort;

    QPointer<Binding> m_master; // a binding may go before its details do
    QString m_masterField;
    QString m_detailField;

    int m_controlsDisabled = 0;
    bool m_updatingRecord = false;
};
