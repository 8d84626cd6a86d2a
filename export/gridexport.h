#pragma once

#include "export/xls/worksheetcell.h"
#include "export/xls/worksheetdescription.h"

#include <QString>

class DataGrid;
class QColor;
class QTableView;

// A data grid as a worksheet: what the grid shows now (visible columns in the order shown,
// captions, widths, fonts, alignment, colours) and every row of the dataset behind it.
namespace GridExport {

// The look of any table view as a worksheet (palette, fonts, grid lines), without columns; its
// cells' background is `background`.
WorksheetDescription describeLook(const QTableView &view, const QColor &background);

// The description of the grid's worksheet, without its rows.
WorksheetDescription describe(const DataGrid &grid);

// Writes the grid to fileName (a bare name lands in the working directory), replacing any file
// of that name, with one row per row of its dataset from the first to the last. While the rows
// are read the grid does not follow the dataset; afterwards the dataset is back on its row and
// the grid on its scroll position, also when writing fails. Errors are AppError.
void write(DataGrid &grid, const QString &fileName);

// The same rows as CSV beside the worksheet `fileName` (".xls" becomes ".csv"): the captions,
// then one line a row, numbers with the system's decimal mark (CsvTable's layout).
void writeCsvBeside(const QString &fileName, const WorksheetDescription &sheet, const QList<WorksheetRow> &rows);

} // namespace GridExport
