#include "contribution.h"

#include "data/dataset.h"
#include "data/fields.h"
#include "data/rowfilter.h"

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

QHash<int, QList<CompositionRow>> readCompositions(Dataset &all,
                                                   const std::optional<QList<int>> &ids)
{
    all.close();
    all.setFilter(ids ? RowFilter::oneOf(Fields::id_udobra, *ids) : QString());
    all.setFiltered(bool(ids));
    all.open();
    QHash<int, QList<CompositionRow>> rows;
    for (int i = 0; i < all.recordCount(); ++i) {
        const QVariant fertilizer = all.valueAt(i, Fields::id_udobra);
        if (!fertilizer.isNull())
            rows[fertilizer.toInt()].append(compositionRowAt(all, i));
    }
    all.close();
    return rows;
}

std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams)
{
    if (row.element == target)
        return (row.percent * 10) * grams;
    if (row.yieldedElement == target)
        return ((row.percent * 10) * grams) * row.factor;
    return std::nullopt;
}

void addContributions(double &sum, const QList<CompositionRow> &rows, int target, Ext grams)
{
    for (const CompositionRow &row : rows) {
        if (const auto added = contribution(row, target, grams))
            sum = static_cast<double>(Ext(sum) + *added);
    }
}
