#pragma once

#include <QList>
#include <QObject>
#include <QString>

class Dataset;

// The named data source that joins a dataset to controls and to detail datasets. While
// disabled, the controls bound to it show nothing and hear nothing; detail datasets keep
// following their master all the same.
class Binding : public QObject
{
    Q_OBJECT

public:
    Binding(const QString &name, Dataset *dataset, QObject *parent = nullptr);
    ~Binding() override;

    QString name() const { return objectName(); }
    Dataset *dataset() const { return m_dataset; }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Detail datasets linked to this binding as their master.
    const QList<Dataset *> &followers() const { return m_followers; }
    void addFollower(Dataset *detail);
    void removeFollower(Dataset *detail);

    // Called by the dataset: its current row or its rows changed.
    void notifyMasterChanged();
    // Called by the dataset before it posts or moves: controls write what is open in an editor.
    void requestUpdateData() { Q_EMIT updateData(); }

Q_SIGNALS:
    // For controls, sent only while enabled.
    void reset();                       // rows read afresh, opened, closed, filtered, sorted
    void valuesChanged();               // the same rows, every value may have changed
    void rowChanged(int row);           // values of one row changed
    void rowInserted(int row);          // a row appeared at this position
    void rowRemoved(int row);           // the row at this position went away
    void currentChanged(int row);       // the current row moved (-1: none)
    void stateChanged();                // browse / edit / insert / closed
    void dataChange();                  // the data-change hook: current row or data changed
    // Sent whether enabled or not: write a value still open in an editor into the dataset.
    void updateData();

private:
    void forwardReset();
    void forwardValues();
    void forwardRowChanged(int row);
    void forwardRowInserted(int row);
    void forwardRowRemoved(int row);
    void forwardCurrent(int row);
    void forwardState();

    Dataset *m_dataset;
    bool m_enabled = true;
    QList<Dataset *> m_followers;
};
