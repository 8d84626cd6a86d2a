#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The stored layout of base.mdb: ten tables with their fields in declared order, and one index.
// Identifiers used in SQL come only from here.

enum class FieldType { Key, Int, Double, Text, Bool };

struct FieldDef
{
    QString name;
    FieldType type;
    int size = 0; // maximum length of a Text field
};

struct TableDef
{
    QString name;
    QList<FieldDef> fields;

    const FieldDef *field(const QString &fieldName) const; // nullptr when absent (case-insensitive)
    QString keyField() const;                              // empty when the table has no key
};

namespace Schema {

inline const QString FileName = QStringLiteral("base.mdb");
inline const QString IndexName = QStringLiteral("T_udobraT_sostav_udobra");

const QList<TableDef> &tables();
// One of the ten tables or of our own (data/owntables.h); throws AppError for an unknown table.
const TableDef &table(const QString &name);

// CREATE TABLE and CREATE INDEX statements that build an empty base, our own tables included.
QStringList createStatements();

// SQL declaration of one field ("INTEGER", "DOUBLE", "TEXT(50)", "BOOLEAN" ...).
QString sqlType(const FieldDef &field);

// One column of a CREATE TABLE or ALTER TABLE ... ADD COLUMN: name, type and, for text, the
// length check.
QString columnDefinition(const FieldDef &field);
QString createTableStatement(const TableDef &table);

} // namespace Schema
