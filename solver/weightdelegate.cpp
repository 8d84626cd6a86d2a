#include "weightdelegate.h"

#include "calc/solver/solverdefaults.h"

#include <QSpinBox>

QWidget *WeightDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                      const QModelIndex &) const
{
    auto *box = new QSpinBox(parent);
    box->setAccessibleName(QStringLiteral("Вес"));
    box->setRange(SolverDefaults::MinWeight, SolverDefaults::MaxWeight);
    return box;
}

void WeightDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static_cast<QSpinBox *>(editor)->setValue(index.data(Qt::EditRole).toInt());
}

void WeightDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                  const QModelIndex &index) const
{
    auto *box = static_cast<QSpinBox *>(editor);
    box->interpretText();
    model->setData(index, box->value(), Qt::EditRole);
}
