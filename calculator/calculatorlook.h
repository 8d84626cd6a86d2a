#pragma once

#include "calc/numbers.h"

#include <QString>

class DataGrid;
class QFont;
class QLabel;
class QWidget;

// The look shared by the calculator's panes: Windows colour values painted on Qt widgets, and
// the window's fonts. Colours are always given in the Windows encoding (ui/color/wincolor.h).
namespace CalculatorLook {

// Decimals an amount in g/L may be typed with (the one constant of calc/).
using ::AmountDecimals;
// The most g/L an amount may be.
using ::MaxAmount;

// Fills the widget's background (a panel, a label, a slider) with the colour.
void setBackground(QWidget *widget, int winColor);

// The background of an edit's or a list's text area.
void setBase(QWidget *widget, int winColor);

// The colour of the widget's text (a button caption).
void setTextColour(QWidget *widget, int winColor);

// The window's font, condensed: for the grids whose many columns share a narrow pane.
QFont condensedFont();

// The window's font, bold, at the given size in points (0: the window's size).
QFont boldFont(int pointSize = 0);

// A label of the given name and text; bold when asked.
QLabel *label(const QString &name, const QString &text, QWidget *parent, bool bold = false);

} // namespace CalculatorLook
