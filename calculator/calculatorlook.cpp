#include "calculatorlook.h"

#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/windowfont.h"

#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
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

QFont condensedFont()
{
    QFont f = windowFont();
    f.setStretch(QFont::Condensed);
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
