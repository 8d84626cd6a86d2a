#include "solvertablemodel.h"

#include "calc/solver/solversession.h"

SolverTableModel::SolverTableModel(SolverSession &session, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_session(session), m_columns(std::move(columns))
{
    connect(&m_session, &SolverSession::changed, this, [this] {
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    });
}

int SolverTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows();
}

int SolverTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SolverTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section).caption;
    if (role == Qt::ToolTipRole && !hint(section).isEmpty())
        return hint(section);
    return {};
}
