#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class ElementChart;

// One element of an ElementChart for a screen reader: its bars in words (ElementChart::barText)
// and where they stand.
class ElementBarAccessible : public QAccessibleInterface
{
public:
    ElementBarAccessible(ElementChart *chart, int element);

    int element() const { return m_element; }

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *focusChild() const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    QPointer<ElementChart> m_chart;
    int m_element;
};
