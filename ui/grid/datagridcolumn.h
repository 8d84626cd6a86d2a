#pragma once

#include "columneditor.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

#include <optional>

// The mark a column header may carry. The grid never changes it by itself.
enum class SortMark { None, Up, Down };

// One column of a data grid: which field it shows and how. Its objectName is the column's
// name (`dxDBGrid3vega`), so a window finds it with findChild. Everything but the field can
// change at run time; the grid follows.
class DataGridColumn : public QObject
{
    Q_OBJECT

public:
    DataGridColumn(const QString &name, const QString &field, QObject *parent = nullptr);

    QString name() const { return objectName(); }
    QString field() const { return m_field; }

    // An empty caption shows the field's name.
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QString headerText() const { return m_caption.isEmpty() ? m_field : m_caption; }

    // A short hint in words: the header's and the cells' tool-tip, and the description a screen
    // reader gives the column's editor. Empty: none.
    QString hint() const { return m_hint; }
    void setHint(const QString &hint);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

    // An invalid colour leaves the cells in the grid's colour.
    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

    // No font of its own: the grid's font.
    std::optional<QFont> font() const { return m_font; }
    void setFont(const QFont &font);

    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);

    // In pixels; a grid that fits its columns shares its width out in these proportions.
    int width() const { return m_width; }
    void setWidth(int width);

    const ColumnEditor &editor() const { return m_editor; }
    EditorKind editorKind() const { return m_editor.kind; }
    void setEditor(const ColumnEditor &editor);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    SortMark sortMark() const { return m_sortMark; }
    void setSortMark(SortMark mark);

    // Called by the column's editor on every change the user makes in it.
    void notifyEditorValueChanged() { Q_EMIT editorValueChanged(); }

Q_SIGNALS:
    void appearanceChanged();  // caption, hint, colour, font, alignment or read-only
    void visibilityChanged(bool visible);
    void widthChanged(int width);
    void editorChanged();
    void sortMarkChanged(SortMark mark);
    // Every change in the column's editor, typed or by the spin buttons, before it is stored.
    void editorValueChanged();

private:
    QString m_field;
    QString m_caption;
    QString m_hint;
    bool m_visible = true;
    QColor m_colour;
    std::optional<QFont> m_font;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int m_width = 64;
    ColumnEditor m_editor;
    bool m_readOnly = false;
    SortMark m_sortMark = SortMark::None;
};
