#include "columndelegate.h"

#include "datagridcolumn.h"

ColumnDelegate::ColumnDelegate(DataGridColumn *column, QObject *parent)
    : QStyledItemDelegate(parent), m_column(column)
{
}

void ColumnDelegate::announce(QWidget *editor) const
{
    Q_EMIT const_cast<ColumnDelegate *>(this)->editorOpened(editor);
}

void ColumnDelegate::notifyUserChanged() const
{
    auto *self = const_cast<ColumnDelegate *>(this);
    Q_EMIT self->userChanged(m_column);
    m_column->notifyEditorValueChanged();
}
