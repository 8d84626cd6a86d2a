#include "sortorder.h"

#include "apperror.h"

#include <QStringList>

SortOrder SortOrder::parse(const QString &text, const DatasetFields &fields)
{
    SortOrder order;
    const QString s = text.trimmed();
    if (s.isEmpty())
        return order;
    const auto badlyFormatted = [&text] {
        return AppError(QStringLiteral("Sort order incorrectly formatted: %1").arg(text));
    };
    const QStringList parts = s.split(u' ', Qt::SkipEmptyParts);
    order.m_field = indexOfField(fields, parts.value(0));
    if (order.m_field < 0 || parts.size() > 2)
        throw badlyFormatted();
    if (parts.size() == 2) {
        if (parts.at(1).compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0)
            order.m_descending = true;
        else if (parts.at(1).compare(QStringLiteral("ASC"), Qt::CaseInsensitive) != 0)
            throw badlyFormatted();
    }
    order.m_text = fields.at(order.m_field).type == FieldType::Text;
    return order;
}

bool SortOrder::lessThan(const QVariant &a, const QVariant &b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    if (m_text)
        return a.toString().compare(b.toString(), Qt::CaseInsensitive) < 0;
    return a.toDouble() < b.toDouble();
}
