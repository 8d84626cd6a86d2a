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
    // The dataset's side: details link themselves here, and the dataset tells of its moves
    // and asks its controls for what is still open in an editor.
    friend class Dataset;
    const QList<Dataset *> &followers() const { return m_followers; } // linked details
    void addFollower(Dataset *detail);
    void removeFollower(Dataset *detail);
    void notifyMasterChanged(); // the current row or the rows changed
    void requestUpdateData() { Q_EMIT updateData(); } // before a post or a move

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
