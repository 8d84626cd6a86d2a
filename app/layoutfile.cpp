#include "layoutfile.h"

#include "calc/run/numbers.h"
#include "data/apperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace LayoutFile {

namespace {

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// QFile tells only that an open failed; the reason the grower can act on is found by looking.
QString createFailure(const QString &path)
{
    const QFileInfo info(path);
    const QString reason = info.absoluteDir().exists() ? QStringLiteral("File access denied")
                                                       : QStringLiteral("Path not found");
    return QStringLiteral("Cannot create file \"%1\". %2").arg(shownPath(path), reason);
}

QString openFailure(const QString &path)
{
    const QString reason = QFileInfo::exists(path) ? QStringLiteral("File access denied")
                                                   : QStringLiteral("File not found");
    return QStringLiteral("Cannot open file \"%1\". %2").arg(shownPath(path), reason);
}

} // namespace

QByteArray format(const Values &values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes += QByteArray::number(v);
        bytes += "\r\n";
    }
    return bytes;
}

void write(const QString &path, const Values &values)
{
    // Written beside the file and renamed over it: a kill or a full disk leaves the old file
    // whole, never an empty or short one that would block every window.
    QSaveFile file(path);
    // Unbuffered, so that a failing write is seen before the rename rather than lost in a flush
    // that commit() does not check.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError(createFailure(path));
    const QByteArray bytes = format(values);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString why = file.errorString();
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2").arg(shownPath(path), why));
    }
}

bool canOpen(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QStringList parse(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    while (lines.size() < LineCount && start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        // A CR never belongs to a line: before an LF it ends it, anywhere else it is dropped.
        QString line;
        for (qsizetype i = start; i < end && line.size() < LineLength; ++i) {
            if (bytes[i] != '\r')
                line += QChar::fromLatin1(bytes[i]);
        }
        lines << line;
        start = end + 1;
    }
    while (lines.size() < LineCount)
        lines << QString();
    return lines;
}

QStringList read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(openFailure(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("Cannot read file \"%1\". %2")
                           .arg(shownPath(path), file.errorString()));
    return parse(bytes);
}

bool isMaximised(const QString &line)
{
    return line == QLatin1String("1");
}

int toInteger(const QString &line)
{
    return strToInt(line);
}

} // namespace LayoutFile
