#include "contribution.h"

#include "data/dataset.h"
#include "data/fields.h"

CompositionRow currentCompositionRow(const Dataset &rows)
{
    CompositionRow row;
    row.element = rows.asInteger(Fields::id_element);
    row.percent = rows.asFloat(Fields::kol_element);
    // The lookups through the element's coefficient: the factor and the element it yields.
    row.yieldedElement = rows.asInteger(Fields::id_el);
    row.factor = rows.asFloat(Fields::kof);
    return row;
}

std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams)
{
    if (row.element == target)
        return (row.percent * 10) * grams;
    if (row.yieldedElement == target)
        return ((row.percent * 10) * grams) * row.factor;
    return std::nullopt;
}
