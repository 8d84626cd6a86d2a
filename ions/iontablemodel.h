#pragma once

#include "calc/chemistry/ionmakeup.h"

#include <QAbstractTableModel>

// `IonGrid`'s rows: "Ион", "мг/л", "ммоль/л", "мг-экв/л"; the cations, their sum, the anions,
// their sum, then the forms without charge. Figures with the locale's decimal mark.
class IonTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setIons(const QList<Chemistry::IonRow> &ions, const Chemistry::Balance &balance);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        QString label;
        std::optional<double> mg; // none on a sum's row
        double mmol = 0;
        double meq = 0;
        bool sum = false;
    };
    QList<Row> m_rows;
};
