#include "calculatorlook.h"

#include "ui/color/wincolor.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace CalculatorLook {

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

QFont windowFont()
{
    // "MS Sans Serif" does not exist here: the desktop's own sans serif at the same size.
    QFont f = QApplication::font();
    f.setPointSize(8);
    return f;
}

QFont boldFont(int pointSize)
{
    QFont f = windowFont();
    if (pointSize > 0)
        f.setPointSize(pointSize);
    f.setBold(true);
    return f;
}

QLabel *label(const QString &name, const QString &text, QWidget *parent, bool bold)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    if (bold)
        l->setFont(boldFont());
    return l;
}

} // namespace CalculatorLook
