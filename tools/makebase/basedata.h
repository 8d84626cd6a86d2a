#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The rows of a base as read from a data file (format described at the top of
// default-base.txt). Values are already typed: int for keys and integers, double, bool,
// QString, and a null QVariant for an empty cell.

struct BaseRow
{
    int line = 0;        // line in the data file, for messages
    QVariantList values; // in the order of the section's fields
};

struct BaseSection
{
    QString table;      // the schema's spelling
    QStringList fields; // the schema's spelling, in the order of the file's header
    QList<BaseRow> rows;
};

// A field that holds the key of a row of another table.
struct BaseReference
{
    QString table;
    QString field;
    QString target;
};

namespace BaseData {

// The references between the tables; the key of the target table is meant.
const QList<BaseReference> &references();

// default-base.txt as compiled into the program.
QString defaultText();

// Reads and checks a data file: its syntax, field names, types and lengths, Windows-1251
// texts, unique keys, references that name existing rows and the one options row. Throws
// AppError "sourceName:line: what is wrong".
QList<BaseSection> parse(const QString &text,
                         const QString &sourceName = QStringLiteral("default-base.txt"));

} // namespace BaseData
