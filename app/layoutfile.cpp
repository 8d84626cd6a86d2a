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

// Where the 15 lines end in `bytes`; none when the file is shorter.
std::optional<qsizetype> endOfLines(const QByteArray &bytes)
{
    qsizetype at = 0;
    for (int i = 0; i < LineCount; ++i) {
        at = bytes.indexOf('\n', at);
        if (at < 0)
            return std::nullopt;
        ++at;
    }
    return at;
}

// The bytes of our section, header included; empty when there is none.
QByteArray ownSection(const QByteArray &bytes)
{
    const std::optional<qsizetype> end = endOfLines(bytes);
    if (!end)
        return {};
    const QByteArray rest = bytes.mid(*end);
    return rest.startsWith(OwnSectionHeader + "\r\n") ? rest : QByteArray();
}

QByteArray fileBytes(const QString &path, bool *opened = nullptr)
{
    QFile file(path);
    const bool open = file.open(QIODevice::ReadOnly);
    if (opened)
        *opened = open;
    return open ? file.readAll() : QByteArray();
}

// Written beside the file and renamed over it: a kill or a full disk leaves the old file whole,
// never an empty or short one that would block every window.
void replace(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a failing write is seen before the rename rather than lost in a flush
    // that commit() does not check.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError(createFailure(path));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString why = file.errorString();
        throw AppError(QStringLiteral("Cannot write file \"%1\". %2").arg(shownPath(path), why));
    }
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
    replace(path, format(values) + ownSection(fileBytes(path)));
}

QMap<QString, QString> ownSettings(const QByteArray &bytes)
{
    QMap<QString, QString> settings;
    const QList<QByteArray> lines = ownSection(bytes).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines.at(i)).remove(u'\r');
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            settings.insert(line.left(equals), line.mid(equals + 1));
    }
    return settings;
}

std::optional<QString> ownSetting(const QString &path, const QString &key)
{
    const QMap<QString, QString> settings = ownSettings(fileBytes(path));
    const auto it = settings.constFind(key);
    if (it == settings.cend())
        return std::nullopt;
    return *it;
}

bool writeOwnSetting(const QString &path, const QString &key, const QString &value)
{
    bool opened = false;
    QByteArray bytes = fileBytes(path, &opened);
    if (!opened)
        bytes = format(Defaults);
    const std::optional<qsizetype> end = endOfLines(bytes);
    if (!end)
        return false;
    QMap<QString, QString> settings = ownSettings(bytes);
    settings.insert(key, value);
    QByteArray out = bytes.left(*end) + OwnSectionHeader + "\r\n";
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        out += (it.key() + u'=' + it.value()).toUtf8() + "\r\n";
    replace(path, out);
    return true;
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
