#include "referencelook.h"

#include "ui/windowfont.h"

#include <QScreen>
#include <QWidget>

namespace ReferenceLook {

QFont bold(const QFont &font)
{
    QFont f = font;
    f.setBold(true);
    return f;
}

void apply(QWidget *window)
{
    window->setFont(windowFont());
}

void centre(QWidget *window)
{
    if (QScreen *s = window->screen())
        window->move(s->availableGeometry().center() - window->rect().center());
}

} // namespace ReferenceLook
