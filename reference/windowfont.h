#pragma once

#include <QFont>

class QWidget;

// The reference windows' look: "MS Sans Serif" 8 pt, or the default sans-serif font of that size
// where the font is missing.
namespace WindowFont {

QFont standard();
QFont bold(const QFont &font);

// Gives `window` the standard font and centres it on its screen.
void apply(QWidget *window);
void centre(QWidget *window);

} // namespace WindowFont
