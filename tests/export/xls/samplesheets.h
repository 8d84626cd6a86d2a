#pragma once

#include "export/xls/worksheetcell.h"
#include "export/xls/worksheetdescription.h"

#include <QList>

// Two small sheets shaped like the calculator's two files; the golden files pin their bytes.
namespace SampleSheets {

// "Состав р-ра.xls": Название (text) and four amounts; grid lines shown.
WorksheetDescription composition();
QList<WorksheetRow> compositionRows();

// "Концентрация р-ра.xls": Элемент (text) and eight numbers; no grid lines, one colour none.
WorksheetDescription concentration();
QList<WorksheetRow> concentrationRows();

} // namespace SampleSheets
