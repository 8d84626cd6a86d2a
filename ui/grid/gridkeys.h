#pragma once

class QAbstractItemView;

// The keys of a grid of our own windows. Arrows move between its cells; Tab, Shift+Tab,
// Ctrl+Tab and Ctrl+Shift+Tab leave it for the next or previous control of the window, so that
// no grid keeps the keyboard to itself. A cell editor that is open is handed its value first.
namespace GridKeys {

void leaveOnTab(QAbstractItemView *view);

} // namespace GridKeys
