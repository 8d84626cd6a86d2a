#pragma once

#include <QFont>

class QWidget;

// The reference windows' look: the windows' font, bold captions, centring.
namespace ReferenceLook {

QFont bold(const QFont &font);

// Gives `window` the standard font; centres it on its screen.
void apply(QWidget *window);
void centre(QWidget *window);

} // namespace ReferenceLook
