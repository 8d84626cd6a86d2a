#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The recipe files the tests share: the documented example, read from docs/.
namespace RecipeFileTestData {

inline QByteArray documentFile(const QString &name)
{
    QFile f(QStringLiteral(VERNOLAT_DOCS_DIR "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QByteArray example()
{
    return documentFile(QStringLiteral("recipe-example.json"));
}

} // namespace RecipeFileTestData
