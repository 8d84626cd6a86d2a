#pragma once

#include <QAccessibleWidget>
#include <QHash>

class ElementChart;

// What a screen reader finds in an ElementChart: a chart whose children are its elements, one
// each, named with their values (ElementBarAccessible), instead of a picture it cannot read.
class ElementChartAccessible : public QAccessibleWidget
{
public:
    explicit ElementChartAccessible(ElementChart *chart);
    ~ElementChartAccessible() override;

    // Makes Qt ask this class for every ElementChart; once is enough.
    static void installFactory();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    ElementChart *chart() const;

    // The children made so far, by element; Qt's cache owns them until this goes.
    mutable QHash<int, QAccessible::Id> m_children;
};
