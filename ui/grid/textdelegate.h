#pragma once

#include "columndelegate.h"

// A line edit holding the cell's text as shown; numbers are read back in the system's format
// by the dataset, which refuses what is not one.
class TextDelegate : public ColumnDelegate
{
    Q_OBJECT

public:
    using ColumnDelegate::ColumnDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};
