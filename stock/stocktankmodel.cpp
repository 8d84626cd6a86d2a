#include "stocktankmodel.h"

#include "calc/stock/stocksheet.h"
#include "data/textconv.h"

#include "ui/color/widgetcolour.h"

#include <QFont>

StockTankModel::StockTankModel(QObject *parent) : QAbstractTableModel(parent)
{
}

void StockTankModel::setTank(const Stock::TankContents &tank)
{
    beginResetModel();
    m_tank = tank;
    endResetModel();
}

void StockTankModel::clear()
{
    setTank({});
}

int StockTankModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || m_tank.lines.isEmpty())
        return 0;
    return int(m_tank.lines.size()) + 1;
}

int StockTankModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : StockSheet::ColumnCount;
}

QVariant StockTankModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const bool total = index.row() == m_tank.lines.size();
    switch (role) {
    case Qt::DisplayRole: {
        const StockSheet sheet(systemDecimalSeparator());
        return total ? sheet.totalText(m_tank, index.column())
                     : sheet.cellText(m_tank.lines.at(index.row()), index.column());
    }
    case Qt::TextAlignmentRole:
        return QVariant((index.column() == StockSheet::Name ? Qt::AlignLeft : Qt::AlignRight)
                        | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (overSolubility(index))
            return WidgetColour::warningBackground();
        return {};
    case Qt::AccessibleDescriptionRole:
        if (overSolubility(index))
            return QStringLiteral("больше растворимости: не растворится");
        return {};
    case Qt::FontRole:
        if (total) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

bool StockTankModel::overSolubility(const QModelIndex &index) const
{
    return index.column() == StockSheet::SolubilityPercent && index.row() < m_tank.lines.size()
           && m_tank.lines.at(index.row()).overSolubility;
}

QVariant StockTankModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return StockSheet::captions().value(section);
}
