#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <utility>

// Where the values of a JSON text stand, which Qt's parser does not tell: the line of every
// member and array element by its path ("fertilizers[2].composition.K"), and the first key an
// object repeats (Qt keeps the last value of a repeated key and drops the others unseen).
class JsonLines
{
public:
    // `text` is JSON that Qt's parser accepted: UTF-8, a byte-order mark allowed.
    explicit JsonLines(const QByteArray &text);

    // The line (from 1) of the member or element at `path`; of the nearest enclosing value that
    // is there when it is not (a missing member: the object that lacks it).
    int lineOf(const QString &path) const;

    struct RepeatedKey
    {
        QString path;
        int line = 0;
    };
    const std::optional<RepeatedKey> &repeatedKey() const { return m_repeated; }

    static QString member(const QString &path, const QString &key);
    static QString element(const QString &path, qsizetype index);

    // Line and column, both from 1, of a byte offset of `text`; the column counts characters,
    // not bytes, and a byte-order mark is not one.
    static std::pair<int, int> position(const QByteArray &text, qsizetype offset);

private:
    QHash<QString, int> m_lines;
    std::optional<RepeatedKey> m_repeated;
};
