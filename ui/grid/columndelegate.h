#pragma once

#include <QStyledItemDelegate>

class DataGridColumn;

// What the editors of a grid column share: the column they edit, telling it of every change
// the user makes, telling the grid which editor is open, and the column's caption and hint as
// the editor's accessible name and description.
class ColumnDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ColumnDelegate(DataGridColumn *column, QObject *parent = nullptr);

    DataGridColumn *column() const { return m_column; }

Q_SIGNALS:
    void editorOpened(QWidget *editor);
    // The user changed the value in the column's editor.
    void userChanged(DataGridColumn *column);

protected:
    void announce(QWidget *editor) const;
    void notifyUserChanged() const;

private:
    DataGridColumn *m_column;
};
