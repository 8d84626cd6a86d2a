#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <variant>

// A value cell. Its alternative must match the column's kind: double for Number, qint64 for
// Integer, QString for Text. Empty field values are resolved by the caller (0, 0, ""). A Number
// column may also hold a text, for a figure that is missing and must not read as 0 (the cost of
// a fertilizer without a price).
using WorksheetCell = std::variant<double, qint64, QString>;

// One row of value cells, one per exported column.
using WorksheetRow = QList<WorksheetCell>;

// Called once per row: fills the row and returns true, or returns false after the last row. It
// may throw; the rows delivered before that stay in the file.
using WorksheetRowSource = std::function<bool(WorksheetRow &row)>;

// A row source over rows already in memory.
inline WorksheetRowSource worksheetRowsFrom(QList<WorksheetRow> rows)
{
    return [rows = std::move(rows), next = qsizetype(0)](WorksheetRow &row) mutable {
        if (next >= rows.size())
            return false;
        row = rows.at(next++);
        return true;
    };
}
