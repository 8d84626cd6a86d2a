#pragma once

#include <QAbstractTableModel>

class SolverSession;

// The working composition's fertilizers of a solver session as the dialog's fertilizer grid
// shows them: the amount (the answer's, or the composition's), "Закрепить" as a check cell and
// "Не больше г/л." as an optional number, both the grower's to change.
class SolverFertilizerModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Amount, Fixed, AtMost, ColumnCount };

    explicit SolverFertilizerModel(SolverSession &session, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // Edit of "Не больше г/л.": the bound in g/L, null for none.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    SolverSession &m_session;
};
