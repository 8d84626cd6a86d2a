#include "windowfont.h"

#include <QScreen>
#include <QWidget>

namespace WindowFont {

QFont standard()
{
    QFont f(QStringLiteral("MS Sans Serif"), 8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont bold(const QFont &font)
{
    QFont f = font;
    f.setBold(true);
    return f;
}

void apply(QWidget *window)
{
    window->setFont(standard());
}

void centre(QWidget *window)
{
    if (QScreen *s = window->screen())
        window->move(s->availableGeometry().center() - window->rect().center());
}

} // namespace WindowFont
