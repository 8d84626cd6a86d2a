#include "elementbaraccessible.h"

#include "elementchart.h"

#include <QWidget>
#include <QWindow>

ElementBarAccessible::ElementBarAccessible(ElementChart *chart, int element)
    : m_chart(chart), m_element(element)
{
}

// The chart may show fewer elements since this was made: then this one is gone.
bool ElementBarAccessible::isValid() const
{
    return m_chart && m_element < m_chart->elements().size();
}

QObject *ElementBarAccessible::object() const
{
    return nullptr;
}

QWindow *ElementBarAccessible::window() const
{
    return m_chart ? m_chart->window()->windowHandle() : nullptr;
}

QAccessibleInterface *ElementBarAccessible::focusChild() const
{
    return nullptr;
}

QAccessibleInterface *ElementBarAccessible::childAt(int x, int y) const
{
    Q_UNUSED(x);
    Q_UNUSED(y);
    return nullptr;
}

QAccessibleInterface *ElementBarAccessible::parent() const
{
    return m_chart ? QAccessible::queryAccessibleInterface(m_chart.data()) : nullptr;
}

QAccessibleInterface *ElementBarAccessible::child(int index) const
{
    Q_UNUSED(index);
    return nullptr;
}

int ElementBarAccessible::childCount() const
{
    return 0;
}

int ElementBarAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    Q_UNUSED(child);
    return -1;
}

QString ElementBarAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return QString();
    return m_chart->barText(m_element);
}

void ElementBarAccessible::setText(QAccessible::Text t, const QString &text)
{
    Q_UNUSED(t);
    Q_UNUSED(text);
}

QRect ElementBarAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect area = m_chart->barArea(m_element);
    return QRect(m_chart->viewport()->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role ElementBarAccessible::role() const
{
    return QAccessible::Graphic;
}

QAccessible::State ElementBarAccessible::state() const
{
    QAccessible::State s;
    s.readOnly = true;
    s.invisible = !isValid() || !m_chart->isVisible();
    return s;
}
