#pragma once

#include <QStyledItemDelegate>

// "Не больше г/л.": an amount with the composition's decimals, either mark for the decimals, or
// an empty text for no bound, over the bound a cell holds in g/L (Edit role, null for none).
class BoundDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};
