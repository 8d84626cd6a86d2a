#include "solverfertilizermodel.h"

#include "calc/solver/solversession.h"

SolverFertilizerModel::SolverFertilizerModel(SolverSession &session, QObject *parent)
    : SolverTableModel(
          session,
          {{QStringLiteral("Удобрение"), {}},
           {QStringLiteral("Кол-во г/л."), {}},
           {QStringLiteral("Закрепить"), QStringLiteral("Оставить нынешнее количество удобрения")},
           {QStringLiteral("Не больше г/л."),
            QStringLiteral("Наибольшее количество удобрения, г/л; пусто — без ограничения")}},
          parent)
{
}

int SolverFertilizerModel::rows() const
{
    return int(m_session.fertilizers().size());
}

QVariant SolverFertilizerModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::CheckStateRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        break;
    default:
        return {}; // the roles a view asks of every cell, read without working out the row
    }
    const SolverSession::FertilizerRow row = m_session.fertilizerRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Name:
            return row.name;
        case Amount:
            return row.amount;
        case AtMost:
            return row.atMost;
        }
        return {};
    case Qt::EditRole:
        if (index.column() == AtMost) {
            const std::optional<double> bound = m_session.fertilizers().at(index.row()).atMost;
            return bound ? QVariant(*bound) : QVariant();
        }
        return data(index, Qt::DisplayRole);
    case Qt::CheckStateRole:
        if (index.column() == Fixed)
            return row.fixed ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::AccessibleTextRole:
        // A check cell shows no text; a screen reader still names what it keeps.
        if (index.column() == Fixed)
            return QStringLiteral("Закрепить «%1»").arg(row.name);
        return {};
    case Qt::ToolTipRole:
        return hint(index.column()).isEmpty() ? QVariant() : QVariant(hint(index.column()));
    default:
        return {};
    }
}

bool SolverFertilizerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    // The session tells every row to read again.
    if (index.column() == Fixed && role == Qt::CheckStateRole) {
        m_session.setFixed(index.row(), Qt::CheckState(value.toInt()) == Qt::Checked);
        return true;
    }
    if (index.column() == AtMost && role == Qt::EditRole) {
        m_session.setAtMost(index.row(), value.isNull() ? std::nullopt
                                                        : std::optional<double>(value.toDouble()));
        return true;
    }
    return false;
}

Qt::ItemFlags SolverFertilizerModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (index.column()) {
    case Fixed:
        return shown | Qt::ItemIsUserCheckable;
    case AtMost:
        return shown | Qt::ItemIsEditable;
    }
    return shown;
}
