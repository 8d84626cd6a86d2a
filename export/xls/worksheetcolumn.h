#pragma once

#include "export/xls/worksheetfont.h"

#include <QString>

// Horizontal alignment of a column's cells. FieldDefault is for a column without an alignment of
// its own: right for numbers and integers, left for text.
enum class WorksheetAlignment { FieldDefault, Left, Right, Centre };

// What the column's field holds, and so which cell record its values get.
enum class WorksheetCellKind { Number, Integer, Text };

// One exported (visible) grid column, in the order shown from left to right.
struct WorksheetColumn
{
    QString caption;     // as the grid shows it at the moment of the export
    WorksheetFont font;  // the column's font; its colour is the grid's text colour
    WorksheetAlignment alignment = WorksheetAlignment::FieldDefault;
    int widthPixels = 64;
    WorksheetCellKind kind = WorksheetCellKind::Text;
};
