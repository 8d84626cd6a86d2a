#pragma once

#include "export/xls/worksheetcolumn.h"
#include "export/xls/worksheetfont.h"
#include "export/xls/worksheetpalette.h"

#include <QList>

// Everything one grid contributes to its worksheet besides the rows: filled by the window from
// the grid, so the writer needs no widgets and no database.
struct WorksheetDescription
{
    WorksheetPalette palette;
    WorksheetFont gridFont;   // the grid's cell font
    WorksheetFont headerFont; // the caption row
    WorksheetFont bandFont;
    QList<WorksheetColumn> columns; // the visible columns only, left to right
    bool showGridLines = true;      // thin cell borders in palette.gridLine
};
