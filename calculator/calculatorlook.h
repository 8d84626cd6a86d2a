#pragma once

#include "calc/run/numbers.h"

#include <QString>

class DataGrid;
class QFont;
class QLabel;
class QWidget;

// The look shared by the calculator's panes: the window's fonts and labels. Colours are painted
// through ui/color/widgetcolour.h, always in the Windows encoding.
namespace CalculatorLook {

// Decimals an amount in g/L may be typed with (the one constant of calc/).
using ::AmountDecimals;
// The most g/L an amount may be, the most a saved solution's amount may be, and the slider's own
// maximum.
using ::MaxAmount;
using ::SavedAmountMaximum;
using ::PercentageMaximum;

// The window's font, condensed: for the grids whose many columns share a narrow pane.
QFont condensedFont();

// The window's font, bold, at the given size in points (0: the window's size).
QFont boldFont(int pointSize = 0);

// A label of the given name and text; bold when asked.
QLabel *label(const QString &name, const QString &text, QWidget *parent, bool bold = false);

} // namespace CalculatorLook
