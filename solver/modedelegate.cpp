#include "modedelegate.h"

#include "calc/solver/solverexplanation.h"

#include <QComboBox>

QWidget *ModeDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &) const
{
    auto *box = new QComboBox(parent);
    box->setAccessibleName(QStringLiteral("Режим"));
    for (ElementMode m : {ElementMode::Target, ElementMode::AtLeast, ElementMode::AtMost,
                          ElementMode::Ignore})
        box->addItem(SolverExplanation::modeText(m), int(m));
    return box;
}

void ModeDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *box = static_cast<QComboBox *>(editor);
    box->setCurrentIndex(box->findData(index.data(Qt::EditRole)));
}

void ModeDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                const QModelIndex &index) const
{
    model->setData(index, static_cast<QComboBox *>(editor)->currentData(), Qt::EditRole);
}
