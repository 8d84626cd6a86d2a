#pragma once

#include "columndelegate.h"

// A drop-down list of the rows of the column's list source: shows their names, stores the key
// of the row picked. Picking a row stores it at once. A choice column's list is its fixed texts,
// and the key is the text's position.
class LookupDelegate : public ColumnDelegate
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
