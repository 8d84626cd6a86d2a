#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Tables as CSV, the way spreadsheet programs on a Russian desktop read and write them.
namespace CsvTable {

// UTF-8 with a byte-order mark, fields separated by ";", lines ended by CR LF; a field holding
// the separator, a quote or a line break is quoted, its quotes doubled.
QByteArray write(const QList<QStringList> &rows);

// Reads either separator (";" when the first line holds one outside quotes, else ","), quoted
// fields with doubled quotes and line breaks inside, LF or CR LF, a byte-order mark or none.
// Blank lines are skipped; `lines` gets the line (from 1) each row starts on. Throws AppError
// for a quote left open (naming its line) or text that is not UTF-8.
QList<QStringList> read(const QByteArray &bytes, QList<int> *lines = nullptr);

// A number as the base holds it, in the shortest form that reads back the same, with the
// given decimal mark and no grouping.
QString number(double value, QChar decimalMark);

} // namespace CsvTable
