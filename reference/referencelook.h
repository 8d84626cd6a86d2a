#pragma once

#include <QFont>

class NavBar;
class QTableView;
class QWidget;

// The reference windows' look: "MS Sans Serif" 8 pt, or the default sans-serif font of that size
// where the font is missing; compact grids whose captions are never cut; spoken names for the
// controls that show no text.
namespace ReferenceLook {

QFont bold(const QFont &font);

// Gives `window` the standard font; centres it on its screen.
void apply(QWidget *window);
void centre(QWidget *window);

// Rows as high as one line of the grid's text and a small margin.
void fitRows(QTableView *grid);

// Header captions wrap at blanks, and the header grows to show them whole, up to 20 lines.
void wrapHeader(QTableView *grid);

// The width of the longest word of `caption` in the grid's header, with the header's margins:
// a column narrower than this cuts its caption even when it wraps.
int widestWord(const QTableView *grid, const QString &caption);

} // namespace ReferenceLook
