#pragma once

#include "solvertablemodel.h"

// The elements of a solver session as the dialog's element grid shows them: the crop's targets,
// the mode and weight (editable), the water, and the answer's result and deviation. Each row also gives its
// meaning (MeaningRole), from which the grid takes its colour, and says it in words as the
// cells' tool-tip and accessible description.
class SolverElementModel : public SolverTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Target, Mode, Weight, Water, Result, Deviation, ColumnCount };
    // The row's RowMeaning, as an int.
    static constexpr int MeaningRole = Qt::UserRole + 1;

    explicit SolverElementModel(SolverSession &session, QObject *parent = nullptr);

    // Display: the texts; Edit: the mode and the weight as ints, the figures as numbers (a result unrounded).
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int rows() const override;
};
