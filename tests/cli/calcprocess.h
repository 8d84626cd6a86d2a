#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// vernolat-calc run as a process, as a script runs it, and the files handed to it.

struct Outcome
{
    int code = -1;
    QByteArray out;
    QString err;
};

inline Outcome calc(const QStringList &arguments, const QByteArray &input = {},
                    const QStringList &environment = {})
{
    QProcess p;
    if (!environment.isEmpty())
        p.setEnvironment(QProcess::systemEnvironment() + environment);
    p.start(QStringLiteral(VERNOLAT_CALC), arguments);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

// `bytes` as the file `name` in `dir`, replacing what it held; its path.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return f.fileName();
}
