#include "rowfilter.h"

#include "apperror.h"

#include <QRegularExpression>

RowFilter RowFilter::parse(const QString &expression, const DatasetFields &fields)
{
    RowFilter filter;
    const QString e = expression.trimmed();
    if (e.isEmpty())
        return filter;
    static const QRegularExpression equals(QStringLiteral("^(\\w+)\\s*=\\s*(-?\\d+)$"));
    static const QRegularExpression in(
        QStringLiteral("^(\\w+)\\s+in\\s*\\(\\s*((?:-?\\d+(?:\\s*,\\s*-?\\d+)*)?)\\s*\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression notTrue(QStringLiteral("^(\\w+)\\s*<>\\s*true$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression like(QStringLiteral("^(\\w+)\\s+like\\s+%"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto badlyFormatted = [&expression] {
        return AppError(QStringLiteral("Filter expression incorrectly formatted: %1").arg(expression));
    };
    QRegularExpressionMatch m;
    if ((m = equals.match(e)).hasMatch()) {
        filter.m_kind = Kind::Equals;
        filter.m_number = m.captured(2).toLongLong();
    } else if ((m = in.match(e)).hasMatch()) {
        filter.m_kind = Kind::In;
        for (const QString &n : m.captured(2).split(u',', Qt::SkipEmptyParts))
            filter.m_numbers.insert(n.trimmed().toLongLong());
    } else if ((m = notTrue.match(e)).hasMatch()) {
        filter.m_kind = Kind::NotTrue;
    } else if ((m = like.match(e)).hasMatch() && e.endsWith(u'%') && e.size() > m.capturedLength()) {
        // Whatever stands between the first and the last % is matched literally.
        filter.m_kind = Kind::Like;
        const int start = int(expression.indexOf(u'%')) + 1;
        const int end = int(expression.lastIndexOf(u'%'));
        filter.m_text = expression.mid(start, end - start).toCaseFolded();
    } else {
        throw badlyFormatted();
    }
    filter.m_field = indexOfField(fields, m.captured(1));
    if (filter.m_field < 0)
        throw badlyFormatted();
    return filter;
}

bool RowFilter::passes(const QVariant &value) const
{
    switch (m_kind) {
    case Kind::Equals:
        return !value.isNull() && value.toLongLong() == m_number;
    case Kind::In:
        return !value.isNull() && m_numbers.contains(value.toLongLong());
    case Kind::Like:
        return value.toString().toCaseFolded().contains(m_text);
    case Kind::NotTrue:
        return value.isNull() || !value.toBool();
    case Kind::None:
        break;
    }
    return true;
}

QString RowFilter::oneOf(const QString &field, const QList<int> &keys)
{
    QStringList texts;
    for (const int key : keys)
        texts.append(QString::number(key));
    return field + QStringLiteral(" in (") + texts.join(u',') + u')';
}
