#include "contribution.h"

#include "data/basequeries.h"

namespace {

std::optional<Ext> added(const CompositionRow &row, bool direct, bool yielded, Ext grams)
{
    if (direct)
        return (row.percent * 10) * grams;
    if (yielded)
        return ((row.percent * 10) * grams) * row.factor;
    return std::nullopt;
}

} // namespace

CompositionRow compositionRowOf(const BaseRows::CompositionLine &line)
{
    return {line.element, line.percent, line.yieldedElement, line.factor, line.symbol,
            line.yieldedSymbol};
}

QHash<int, QList<CompositionRow>> readCompositions(Connection &connection,
                                                   const std::optional<QList<int>> &ids)
{
    QHash<int, QList<CompositionRow>> out;
    const QHash<int, QList<BaseRows::CompositionLine>> lines = BaseQueries(connection).compositions(ids);
    for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
        QList<CompositionRow> &rows = out[it.key()];
        for (const BaseRows::CompositionLine &line : it.value())
            rows.append(compositionRowOf(line));
    }
    return out;
}

std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams)
{
    return added(row, row.element == target, row.yieldedElement == target, grams);
}

std::optional<Ext> contribution(const CompositionRow &row, const QString &target, Ext grams)
{
    // An element without a symbol names nothing.
    return added(row, !row.symbol.isEmpty() && row.symbol == target,
                 !row.yieldedSymbol.isEmpty() && row.yieldedSymbol == target, grams);
}
