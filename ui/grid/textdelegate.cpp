#include "textdelegate.h"

#include "datagridcolumn.h"

#include <QLineEdit>

#include <algorithm>

QWidget *TextDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    connect(edit, &QLineEdit::textEdited, this, [this] { notifyUserChanged(); });
    announce(edit);
    return edit;
}

void TextDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    // What the user is typing wins over a redraw of the row.
    if (edit->isModified())
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    const int limit = column()->editor().maxLength;
    // Never cut a stored text that is longer than the limit.
    edit->setMaxLength(limit > 0 ? std::max(limit, int(text.size())) : 32767);
    edit->setText(text);
}

void TextDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    if (!edit->isModified())
        return;
    if (model->setData(index, edit->text(), Qt::EditRole))
        edit->setModified(false);
}
