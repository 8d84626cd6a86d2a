#pragma once

#include "data/csvtable.h"
#include "data/textconv.h"

#include <QFile>
#include <QJsonArray>
#include <QStringList>

// The CSV written beside a worksheet, read back against the rows the worksheet must hold (as
// the xlrd read-back takes them: numbers as JSON numbers, texts as strings). Empty when every
// cell matched; else one line per fault.
inline QString csvReadBack(const QString &path, const QStringList &captions, const QJsonArray &rows)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("no file %1\n").arg(path);
    const QByteArray bytes = f.readAll();
    QString problems;
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        problems += QStringLiteral("no byte-order mark\n");
    const QList<QStringList> table = CsvTable::read(bytes);
    if (table.size() != rows.size() + 1)
        return problems + QStringLiteral("%1 lines for %2 rows\n").arg(table.size()).arg(rows.size());
    if (table.first() != captions)
        problems += QStringLiteral("captions %1\n").arg(table.first().join(u'|'));
    const QChar otherMark = systemDecimalSeparator() == u',' ? u'.' : u',';
    for (int r = 0; r < rows.size(); ++r) {
        const QJsonArray row = rows[r].toArray();
        const QStringList &line = table.at(r + 1);
        for (int c = 0; c < row.size(); ++c) {
            const QString cell = line.value(c);
            double read = 0;
            const bool same = row[c].isDouble()
                                  ? tryParseDecimal(cell, read) && read == row[c].toDouble() && !cell.contains(otherMark)
                                  : cell == row[c].toString();
            if (!same)
                problems += QStringLiteral("row %1, column %2: %3\n").arg(r).arg(c).arg(cell);
        }
        if (line.size() != row.size())
            problems += QStringLiteral("row %1: %2 cells\n").arg(r).arg(line.size());
    }
    return problems;
}
