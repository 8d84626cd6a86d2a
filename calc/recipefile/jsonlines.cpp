#include "jsonlines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QSet>

#include <algorithm>

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

struct Container
{
    bool object = false;
    QString path;
    qsizetype index = 0;    // of the element an array is at
    bool expectsKey = true; // of an object: the next string is a key
    QString memberPath;     // of an object: the member whose value comes next
    QSet<QString> keys;
};

// A string token with its quotes, as the text holds it.
QString decoded(const QByteArray &token)
{
    if (!token.contains('\\'))
        return QString::fromUtf8(token.sliced(1, token.size() - 2));
    return QJsonDocument::fromJson('[' + token + ']').array().at(0).toString();
}

bool endsLiteral(char c)
{
    return c == ',' || c == ']' || c == '}' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

JsonLines::JsonLines(const QByteArray &text)
{
    QList<Container> open;
    int line = 1;
    const qsizetype size = text.size();
    qsizetype i = text.startsWith(ByteOrderMark) ? ByteOrderMark.size() : 0;
    // Where the value that starts now belongs.
    const auto valuePath = [&open]() -> QString {
        if (open.isEmpty())
            return {};
        const Container &c = open.last();
        return c.object ? c.memberPath : element(c.path, c.index);
    };
    for (; i < size; ++i) {
        const char c = text.at(i);
        if (c == '\n') {
            ++line;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == ':') {
            continue;
        } else if (open.isEmpty() && (c == ',' || c == '}' || c == ']')) {
            break; // not JSON as Qt reads it: nothing more to place
        } else if (c == ',') {
            Container &top = open.last();
            if (top.object)
                top.expectsKey = true;
            else
                ++top.index;
        } else if (c == '}' || c == ']') {
            open.removeLast();
        } else if (c == '"') {
            qsizetype end = i + 1;
            while (end < size && text.at(end) != '"')
                end += text.at(end) == '\\' ? 2 : 1;
            if (end >= size)
                break;
            if (!open.isEmpty() && open.last().object && open.last().expectsKey) {
                Container &top = open.last();
                const QString key = decoded(text.sliced(i, end - i + 1));
                top.memberPath = member(top.path, key);
                if (top.keys.contains(key) && !m_repeated)
                    m_repeated = RepeatedKey{top.memberPath, line};
                top.keys.insert(key);
                top.expectsKey = false;
                m_lines.insert(top.memberPath, line);
            } else {
                m_lines.insert(valuePath(), line);
            }
            i = end;
        } else {
            const QString path = valuePath();
            if (!m_lines.contains(path))
                m_lines.insert(path, line);
            if (c == '{' || c == '[') {
                Container opened;
                opened.object = c == '{';
                opened.path = path;
                open.append(opened);
            } else {
                while (i + 1 < size && !endsLiteral(text.at(i + 1)))
                    ++i;
            }
        }
    }
}

int JsonLines::lineOf(const QString &path) const
{
    QString p = path;
    for (;;) {
        if (const auto found = m_lines.constFind(p); found != m_lines.cend())
            return *found;
        if (p.isEmpty())
            return 1;
        const qsizetype cut = std::max(p.lastIndexOf(u'.'), p.lastIndexOf(u'['));
        p.truncate(std::max<qsizetype>(cut, 0));
    }
}

QString JsonLines::member(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + u'.' + key;
}

QString JsonLines::element(const QString &path, qsizetype index)
{
    return path + u'[' + QString::number(index) + u']';
}

std::pair<int, int> JsonLines::position(const QByteArray &text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const QByteArrayView before(text.constData(), offset);
    const int line = int(before.count('\n')) + 1;
    qsizetype start = before.lastIndexOf('\n') + 1;
    if (start == 0 && text.startsWith(ByteOrderMark))
        start = std::min<qsizetype>(ByteOrderMark.size(), offset);
    const int column = int(QString::fromUtf8(before.sliced(start)).size()) + 1;
    return {line, column};
}
