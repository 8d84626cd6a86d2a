#include "contribution.h"

#include "data/dataset.h"
#include "data/fields.h"

#include <cmath>

namespace {

// As Dataset::asInteger and asFloat read a value: empty is 0, a double is rounded to an integer.
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

} // namespace

CompositionRow currentCompositionRow(const Dataset &rows)
{
    return compositionRowAt(rows, rows.currentRow());
}

CompositionRow compositionRowAt(const Dataset &rows, int row)
{
    CompositionRow r;
    r.element = integerOf(rows.valueAt(row, Fields::id_element));
    r.percent = numberOf(rows.valueAt(row, Fields::kol_element));
    // The lookups through the element's coefficient: the factor and the element it yields.
    r.yieldedElement = integerOf(rows.valueAt(row, Fields::id_el));
    r.factor = numberOf(rows.valueAt(row, Fields::kof));
    return r;
}

std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams)
{
    if (row.element == target)
        return (row.percent * 10) * grams;
    if (row.yieldedElement == target)
        return ((row.percent * 10) * grams) * row.factor;
    return std::nullopt;
}
