#include "contribution.h"

#include "data/dataset.h"
#include "data/fields.h"

#include <cmath>

namespace {

// A stored value as Dataset::asInteger and asFloat read it: empty is 0.
int integerOf(const QVariant &v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return int(std::llround(v.toDouble()));
    return v.toInt();
}

double numberOf(const QVariant &v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

template<typename ValueOf>
CompositionRow compositionRow(ValueOf valueOf)
{
    CompositionRow row;
    row.element = integerOf(valueOf(Fields::id_element));
    row.percent = numberOf(valueOf(Fields::kol_element));
    // The lookups through the element's coefficient: the factor and the element it yields.
    row.yieldedElement = integerOf(valueOf(Fields::id_el));
    row.factor = numberOf(valueOf(Fields::kof));
    return row;
}

} // namespace

CompositionRow currentCompositionRow(const Dataset &rows)
{
    return compositionRow([&rows](const QString &field) { return rows.value(field); });
}

CompositionRow compositionRowAt(const Dataset &rows, int at)
{
    return compositionRow([&rows, at](const QString &field) { return rows.valueAt(at, field); });
}

std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams)
{
    if (row.element == target)
        return (row.percent * 10) * grams;
    if (row.yieldedElement == target)
        return ((row.percent * 10) * grams) * row.factor;
    return std::nullopt;
}
