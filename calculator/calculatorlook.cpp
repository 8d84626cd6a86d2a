#include "calculatorlook.h"

#include "ui/grid/datagrid.h"
#include "ui/windowfont.h"

#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QWidget>

namespace CalculatorLook {

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
