#include "csvtable.h"

#include "data/apperror.h"

#include <QLocale>
#include <QStringDecoder>

namespace CsvTable {

namespace {

constexpr QChar Separator = u';';

QString quoted(const QString &field)
{
    if (!field.contains(Separator) && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    QString out = field;
    out.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

// The separator of the first line: ";" when it stands there outside quotes.
QChar separatorOf(const QString &text)
{
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == u'\n' || c == u'\r'))
            break;
        else if (!inQuotes && c == Separator)
            return Separator;
    }
    return u',';
}

} // namespace

QByteArray write(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList fields;
        for (const QString &f : row)
            fields.append(quoted(f));
        text += fields.join(Separator) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QList<QStringList> read(const QByteArray &bytes, QList<int> *lines)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw AppError(QStringLiteral("файл не в кодировке UTF-8"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QChar separator = separatorOf(text);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool inQuotes = false;
    bool rowHasText = false;
    int line = 1;
    int quoteLine = 0;
    int rowLine = 1;
    const auto endRow = [&] {
        row.append(field);
        if (rowHasText || row.size() > 1 || !field.isEmpty()) {
            rows.append(row);
            if (lines)
                lines->append(rowLine);
        }
        row.clear();
        field.clear();
        rowHasText = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"') {
            inQuotes = true;
            quoteLine = line;
            rowHasText = true;
        } else if (c == separator) {
            row.append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            continue;
        } else if (c == u'\n' || c == u'\r') {
            endRow();
            ++line;
            rowLine = line;
        } else {
            field += c;
            rowHasText = true;
        }
    }
    if (inQuotes)
        throw AppError(QStringLiteral("строка %1: кавычка не закрыта").arg(quoteLine));
    if (rowHasText || !row.isEmpty() || !field.isEmpty())
        endRow();
    return rows;
}

QString number(double value, QChar decimalMark)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    text.replace(u'.', decimalMark);
    return text;
}

} // namespace CsvTable
