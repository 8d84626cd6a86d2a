#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The expected files of these tests, in tests/app/data of the source tree.
inline QByteArray goldenFile(const QString &name)
{
    QFile f(QStringLiteral(VERNOLAT_APP_TESTDATA "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
