#include "tabledef.h"

#include <QStringList>

const FieldDef *TableDef::field(const QString &fieldName) const
{
    for (const FieldDef &f : fields) {
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QString TableDef::keyField() const
{
    for (const FieldDef &f : fields) {
        if (f.type == FieldType::Key)
            return f.name;
    }
    return {};
}

namespace Schema {

QString sqlType(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Key:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Int:
        return QStringLiteral("INTEGER");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Text:
        return QStringLiteral("TEXT(%1)").arg(field.size);
    case FieldType::Bool:
        return QStringLiteral("BOOLEAN");
    }
    return {};
}

QString columnDefinition(const FieldDef &field)
{
    QString col = QStringLiteral("\"%1\" %2").arg(field.name, sqlType(field));
    // The engine itself refuses over-long text too, so no other writer can store it.
    if (field.type == FieldType::Text)
        col += QStringLiteral(" CHECK (length(\"%1\") <= %2)").arg(field.name).arg(field.size);
    return col;
}

QString createTableStatement(const TableDef &table)
{
    QStringList cols;
    for (const FieldDef &f : table.fields)
        cols.append(columnDefinition(f));
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table.name, cols.join(QStringLiteral(", ")));
}

} // namespace Schema
