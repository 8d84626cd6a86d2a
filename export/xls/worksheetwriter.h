#pragma once

#include "export/xls/worksheetcell.h"
#include "export/xls/worksheetdescription.h"

#include <QByteArray>
#include <QString>

// Writes one grid as a single Excel 4.0 (BIFF4) worksheet: the bare record stream, little-endian,
// text in Windows-1251. Row 0 holds the captions, rows 1..n what the row source delivers.
class WorksheetWriter
{
public:
    explicit WorksheetWriter(WorksheetDescription sheet);

    // The whole stream in memory, no file involved (what writeFile puts on disk when no row
    // fails); cheap to time on its own.
    QByteArray toBytes(const WorksheetRowSource &rows) const;

    // Creates fileName (a relative name is taken from the working directory), replacing a file of
    // that name, and writes the sheet. A file that cannot be created raises AppError
    // `Cannot create file "<absolute path>". <reason>` and nothing is written. When the row
    // source throws, or a row does not match the columns, the rows written so far are followed by
    // the end-of-file record, the file is closed and the error is rethrown.
    void writeFile(const QString &fileName, const WorksheetRowSource &rows) const;

    // A caption or text value longer than this many bytes is cut to it: Excel 4 holds no more in
    // a cell, and a longer LABEL would soon pass the 2080-byte record limit of the format.
    static constexpr int MaxTextBytes = 255;

private:
    WorksheetDescription m_sheet;
};
