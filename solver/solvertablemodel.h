#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

class SolverSession;

// A grid's table over a solver session: the columns' captions and short hints (tool-tips on the
// header and on the cells the grower sets), and every cell read again when the session changes.
class SolverTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString caption;
        QString hint; // empty for none
    };

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    SolverTableModel(SolverSession &session, QList<Column> columns, QObject *parent);

    // The rows the session has for this grid.
    virtual int rows() const = 0;
    QString hint(int column) const { return m_columns.at(column).hint; }

    SolverSession &m_session;

private:
    QList<Column> m_columns;
};
