#pragma once

#include "numbers.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class Connection;
namespace BaseRows {
struct CompositionLine;
}

// One composition row of a fertilizer as the calculation sees it: its element with the percent
// by mass, and the element its element's conversion coefficient yields with the factor (both 0
// when the element has no coefficient). The symbols name the same two elements, so that a
// reader that knows elements by symbol (the stock tanks, the chemistry) needs no key.
struct CompositionRow
{
    int element = 0;
    Ext percent = 0;
    int yieldedElement = 0;
    Ext factor = 0;
    QString symbol = {};
    QString yieldedSymbol = {};
};

CompositionRow compositionRowOf(const BaseRows::CompositionLine &line);

// The composition rows of the fertilizers `ids` (of every fertilizer without them), by
// fertilizer, as the file holds them now: a composition just edited in the fertilizer window
// counts.
QHash<int, QList<CompositionRow>> readCompositions(Connection &connection,
                                                   const std::optional<QList<int>> &ids = {});

// What `grams` g/L of a fertilizer adds through one of its composition rows to the target
// element, in mg/L, in the calculation's extended precision: (percent × 10) × grams when the
// row's element is the target, ((percent × 10) × grams) × factor when only its coefficient
// yields the target, nothing otherwise. So a row counts at most once per target, and the run
// and a solver that builds its matrix from this function agree on every figure.
std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams);
// The same for the target named by its symbol.
std::optional<Ext> contribution(const CompositionRow &row, const QString &target, Ext grams);
