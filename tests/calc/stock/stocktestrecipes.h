#pragma once

#include "calc/stock/stockplan.h"

#include <QHash>

// Fertilizers of the stock planner's tests as plain values, with the default base's
// compositions. The planner knows elements by symbol; the keys are another base's, so that none
// of them can decide a tank.
namespace StockTestRecipes {

// Composition rows as the default base states them: an element, or an oxide counting towards
// its element through the coefficient's factor.
inline CompositionRow element(const QString &symbol, double percent)
{
    return {100 + int(qHash(symbol) % 100), percent, 0, 0, symbol, {}};
}
inline CompositionRow oxide(const QString &symbol, double percent, const QString &yields, double factor)
{
    return {200 + int(qHash(symbol) % 100), percent, 300 + int(qHash(yields) % 100), factor,
            symbol, yields};
}

inline const CompositionRow CaO = oxide(QStringLiteral("CaO"), 26.5, Stock::Calcium, 0.7147);
inline const CompositionRow NitrateN = oxide(QStringLiteral("N-NO3"), 14.4, QStringLiteral("N"), 1);
inline const CompositionRow K2O = oxide(QStringLiteral("K2O"), 46.58, QStringLiteral("K"), 0.8302);
inline const CompositionRow P2O5 = oxide(QStringLiteral("P2O5"), 52.15, Stock::Phosphorus, 0.4364);
inline const CompositionRow SO3 = oxide(QStringLiteral("SO3"), 32.48, Stock::Sulphur, 0.4005);
inline const CompositionRow MgO = oxide(QStringLiteral("MgO"), 16.35, QStringLiteral("Mg"), 0.6030);

inline Stock::Fertilizer fertilizer(int id, const char *name, double amount, QList<CompositionRow> rows)
{
    Stock::Fertilizer f;
    f.id = id;
    f.name = QString::fromUtf8(name);
    f.amount = amount;
    f.composition = std::move(rows);
    return f;
}

} // namespace StockTestRecipes
