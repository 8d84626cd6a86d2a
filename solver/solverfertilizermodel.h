#pragma once

#include "solvertablemodel.h"

// The working composition's fertilizers of a solver session as the dialog's fertilizer grid
// shows them: the amount (the answer's, or the composition's), "Закрепить" as a check cell and
// "Не больше г/л." as an optional number, both the grower's to change.
class SolverFertilizerModel : public SolverTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Amount, Fixed, AtMost, ColumnCount };

    explicit SolverFertilizerModel(SolverSession &session, QObject *parent = nullptr);

    // Edit of "Не больше г/л.": the bound in g/L, null for none.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int rows() const override;
};
