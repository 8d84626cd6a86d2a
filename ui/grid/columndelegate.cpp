#include "columndelegate.h"

#include "datagridcolumn.h"

#include <QWidget>

ColumnDelegate::ColumnDelegate(DataGridColumn *column, QObject *parent)
    : QStyledItemDelegate(parent), m_column(column)
{
}

void ColumnDelegate::announce(QWidget *editor) const
{
    // An editor has no label beside it: a screen reader names it after its column.
    editor->setAccessibleName(m_column->headerText());
    if (!m_column->hint().isEmpty()) {
        editor->setToolTip(m_column->hint());
        editor->setAccessibleDescription(m_column->hint());
    }
    Q_EMIT const_cast<ColumnDelegate *>(this)->editorOpened(editor);
}

void ColumnDelegate::notifyUserChanged() const
{
    auto *self = const_cast<ColumnDelegate *>(this);
    Q_EMIT self->userChanged(m_column);
    m_column->notifyEditorValueChanged();
}
