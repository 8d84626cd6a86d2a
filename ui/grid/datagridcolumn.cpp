#include "datagridcolumn.h"

DataGridColumn::DataGridColumn(const QString &name, const QString &field, QObject *parent)
    : QObject(parent), m_field(field)
{
    setObjectName(name);
}

void DataGridColumn::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    Q_EMIT appearanceChanged();
}

void DataGridColumn::setHint(const QString &hint)
{
    if (m_hint == hint)
        return;
    m_hint = hint;
    Q_EMIT appearanceChanged();
}

void DataGridColumn::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    Q_EMIT visibilityChanged(visible);
}

void DataGridColumn::setColour(const QColor &colour)
{
    if (m_colour == colour)
        return;
    m_colour = colour;
    Q_EMIT appearanceChanged();
}

void DataGridColumn::setFont(const QFont &font)
{
    m_font = font;
    Q_EMIT appearanceChanged();
}

void DataGridColumn::setAlignment(Qt::Alignment alignment)
{
    if (m_alignment == alignment)
        return;
    m_alignment = alignment;
    Q_EMIT appearanceChanged();
}

void DataGridColumn::setWidth(int width)
{
    if (m_width == width || width < 0)
        return;
    m_width = width;
    Q_EMIT widthChanged(width);
}

void DataGridColumn::setEditor(const ColumnEditor &editor)
{
    m_editor = editor;
    Q_EMIT editorChanged();
}

void DataGridColumn::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    Q_EMIT appearanceChanged();
}

void DataGridColumn::setSortMark(SortMark mark)
{
    if (m_sortMark == mark)
        return;
    m_sortMark = mark;
    Q_EMIT sortMarkChanged(mark);
}
