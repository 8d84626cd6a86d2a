#pragma once

#include <QColor>

class QWidget;

// Windows colour values (wincolor.h) painted on Qt widgets, for the windows that colour their
// panels, lists and captions.
namespace WidgetColour {

// Fills the widget's background (a panel, a label, a slider) with the colour.
void setBackground(QWidget *widget, int winColor);

// The background of an edit's or a list's text area.
void setBase(QWidget *widget, int winColor);

// The colour of the widget's text (a button caption).
void setTextColour(QWidget *widget, int winColor);

// The red of a figure to heed (a bar off its target, a salt that will not dissolve), and the
// light red behind such a figure in a grid. Never the only sign: a text says it too.
QColor warning();
QColor warningBackground();

} // namespace WidgetColour
