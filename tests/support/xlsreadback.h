#pragma once

#include <QColor>
#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class QTableView;

// What tests/export/xls/xlrd_readback.py checks a written worksheet against, worked out from
// the widgets the sheet was written from, and the run of the script.
namespace XlsReadBack {

QJsonArray rgb(const QColor &colour); // a colour that is none is black, as the palette holds it
QJsonObject font(const QFont &font, const QColor &colour);

// The sheet's palette and caption format for cells in `background` ({"palette", "header"}).
QJsonObject look(const QTableView &view, const QColor &background);
// The format of a column's cells: its font in the view's text colour, left for text and right
// for numbers, the background as fill, borders when the view shows grid lines.
QJsonObject cellFormat(const QTableView &view, const QFont &font, const QColor &background,
                       bool text);

// Runs the script over the sheets, with its JSON written into `dir`; empty when every check
// passed, else what went wrong.
QString run(const QJsonArray &sheets, const QString &dir);

} // namespace XlsReadBack
