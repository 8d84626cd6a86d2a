#pragma once

#include "calc/stock/stockplan.h"

#include <QAbstractTableModel>

// One tank of a plan as a read-only table: a row per fertilizer, then the "Итого" row. A
// percentage of solubility above what dissolves stands on the warning colour and says so to a
// screen reader.
class StockTankModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit StockTankModel(QObject *parent = nullptr);

    // The tank shown; an empty tank shows no rows.
    void setTank(const Stock::TankContents &tank);
    void clear();
    const Stock::TankContents &tank() const { return m_tank; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool overSolubility(const QModelIndex &index) const;

    Stock::TankContents m_tank;
};
