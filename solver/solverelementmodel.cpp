#include "solverelementmodel.h"

#include "calc/solver/solversession.h"
#include "ui/chart/elementchart.h"

#include <QColor>

SolverElementModel::SolverElementModel(SolverSession &session, QObject *parent)
    : SolverTableModel(
          session,
          {{QStringLiteral("Элемент"), {}},
           {QStringLiteral("Цель, мг/л"), {}},
           {QStringLiteral("Режим"), QStringLiteral("Цель — как можно ближе к цели; Не меньше и "
                                                    "Не больше — граница; Игнорировать — не учитывать")},
           {QStringLiteral("Вес"), QStringLiteral("Важность элемента, от 1 до 10: отклонение умножается "
                                                  "на вес. Катионам K, Ca, Mg — 3, P — 2, остальным — 1")},
           {QStringLiteral("Вода, мг/л"), {}},
           {QStringLiteral("Результат, мг/л"), {}},
           {QStringLiteral("Отклонение, %"),
            QStringLiteral("От цели. Красным — режим нарушен больше чем на %1 % или не выполнен")
                .arg(session.explanation().number(DeviationTolerance))}},
          parent)
{
}

int SolverElementModel::rows() const
{
    return int(m_session.elements().size());
}

QVariant SolverElementModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::BackgroundRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
    case MeaningRole:
        break;
    default:
        return {}; // the roles a view asks of every cell, read without working out the row
    }
    const int r = index.row();
    const SolverSession::ElementRow row = m_session.elementRow(r);
    const bool judged = index.column() == Result || index.column() == Deviation;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Name:
            return row.name;
        case Target:
            return row.target;
        case Mode:
            return row.mode;
        case Weight:
            return row.weight;
        case Water:
            return row.water;
        case Result:
            return row.result;
        case Deviation:
            return row.deviation;
        }
        return {};
    case Qt::EditRole: {
        const SolverProblem::Element &e = m_session.elements().at(r);
        switch (index.column()) {
        case Target:
            return e.target(m_session.stage());
        case Mode:
            return int(e.mode);
        case Weight:
            return e.weight;
        case Water:
            return e.water;
        case Result:
            if (const std::optional<double> result = m_session.resultOf(r))
                return *result;
            return {};
        }
        return data(index, Qt::DisplayRole);
    }
    case Qt::BackgroundRole:
        if (index.column() == Deviation && isWarning(row.meaning))
            return ElementChart::warningColour().lighter(170);
        return {};
    case Qt::ToolTipRole:
        if (index.column() == Mode || index.column() == Weight)
            return hint(index.column());
        return judged && !row.note.isEmpty() ? QVariant(row.note) : QVariant();
    case Qt::AccessibleDescriptionRole:
        return judged && !row.note.isEmpty() ? QVariant(row.note) : QVariant();
    case MeaningRole:
        return int(row.meaning);
    default:
        return {};
    }
}

bool SolverElementModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const bool editable = index.column() == Mode || index.column() == Weight;
    if (role != Qt::EditRole || !editable || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    // The session tells every row to read again.
    if (index.column() == Mode)
        m_session.setMode(index.row(), ElementMode(value.toInt()));
    else
        m_session.setWeight(index.row(), value.toInt());
    return true;
}

Qt::ItemFlags SolverElementModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == Mode || index.column() == Weight ? shown | Qt::ItemIsEditable : shown;
}
