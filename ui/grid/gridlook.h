#pragma once

#include <QString>

class QTableView;

// How every data grid of the program is drawn: compact rows and captions that are never cut.
namespace GridLook {

// Rows as high as one line of the grid's text and a small margin, as a Windows grid draws them.
void compactRows(QTableView *grid);

// Header captions wrap at blanks, and the header grows to show them whole (up to 20 lines),
// also after a column is resized.
void wrapHeader(QTableView *grid);

// The width of the longest word of `caption` in the grid's header, with the header's margins:
// a column narrower than this cuts its caption even when it wraps.
int widestWord(const QTableView *grid, const QString &caption);

} // namespace GridLook
