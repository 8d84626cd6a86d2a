#include "checkdelegate.h"

bool CheckDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const QVariant before = index.data(Qt::CheckStateRole);
    const bool handled = QStyledItemDelegate::editorEvent(event, model, option, index);
    if (handled && index.isValid() && index.data(Qt::CheckStateRole) != before)
        notifyUserChanged();
    return handled;
}
