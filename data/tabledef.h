#pragma once

#include <QList>
#include <QString>

// A table as declared: its fields in order with their types, and the SQL that creates it. The
// ten tables (schema.h) and our own (owntables.h) are declared with these.

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

// SQL declaration of one field ("INTEGER", "DOUBLE", "TEXT(50)", "BOOLEAN" ...).
QString sqlType(const FieldDef &field);

// One column of a CREATE TABLE or ALTER TABLE ... ADD COLUMN: name, type and, for text, the
// length check.
QString columnDefinition(const FieldDef &field);
QString createTableStatement(const TableDef &table);

} // namespace Schema
