#include "widgetcolour.h"

#include "wincolor.h"

#include <QPalette>
#include <QWidget>

namespace WidgetColour {

void setBackground(QWidget *widget, int winColor)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, WinColor::toQColor(winColor));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void setBase(QWidget *widget, int winColor)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, WinColor::toQColor(winColor));
    widget->setPalette(p);
}

void setTextColour(QWidget *widget, int winColor)
{
    QPalette p = widget->palette();
    const QColor c = WinColor::toQColor(winColor);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::WindowText, c);
    widget->setPalette(p);
}

QColor warning()
{
    return QColor(220, 40, 40);
}

QColor warningBackground()
{
    return warning().lighter(170);
}

} // namespace WidgetColour
