#include "elementchartaccessible.h"

#include "elementbaraccessible.h"
#include "elementchart.h"

namespace {

QAccessibleInterface *elementChartFactory(const QString &className, QObject *object)
{
    Q_UNUSED(className);
    auto *chart = qobject_cast<ElementChart *>(object);
    return chart ? new ElementChartAccessible(chart) : nullptr;
}

} // namespace

ElementChartAccessible::ElementChartAccessible(ElementChart *chart)
    : QAccessibleWidget(chart, QAccessible::Chart)
{
}

ElementChartAccessible::~ElementChartAccessible()
{
    for (QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
}

void ElementChartAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&elementChartFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

ElementChart *ElementChartAccessible::chart() const
{
    return static_cast<ElementChart *>(widget());
}

int ElementChartAccessible::childCount() const
{
    return int(chart()->elements().size());
}

QAccessibleInterface *ElementChartAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    auto found = m_children.constFind(index);
    if (found == m_children.cend())
        found = m_children.insert(index, QAccessible::registerAccessibleInterface(
                                             new ElementBarAccessible(chart(), index)));
    return QAccessible::accessibleInterface(*found);
}

int ElementChartAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *bar = dynamic_cast<const ElementBarAccessible *>(child);
    return bar && bar->element() < childCount() ? bar->element() : -1;
}

QAccessibleInterface *ElementChartAccessible::childAt(int x, int y) const
{
    const QPoint local = chart()->viewport()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i) {
        if (chart()->barArea(i).contains(local))
            return child(i);
    }
    return nullptr;
}
