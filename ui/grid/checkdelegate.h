#pragma once

#include "columndelegate.h"

// A check box drawn in the cell and toggled by a click or the space bar, through
// Qt::CheckStateRole; ticked stores true, clear stores false.
class CheckDelegate : public ColumnDelegate
{
    Q_OBJECT

public:
    using ColumnDelegate::ColumnDelegate;

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
};
