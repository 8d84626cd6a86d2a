#include "controlcolour.h"

#include "ui/color/wincolor.h"
#include "ui/grid/datagridcolumn.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QWidget>

void setControlColour(QObject *control, int winColour)
{
    const QColor colour = WinColor::toQColor(winColour);
    if (auto *column = qobject_cast<DataGridColumn *>(control)) {
        column->setColour(colour);
        return;
    }
    auto *widget = qobject_cast<QWidget *>(control);
    if (!widget)
        return;
    QPalette palette = widget->palette();
    if (qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QLineEdit *>(widget)) {
        palette.setColor(QPalette::Base, colour);
    } else {
        palette.setColor(widget->backgroundRole(), colour);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}
