#pragma once

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

} // namespace WidgetColour
