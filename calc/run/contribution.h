#pragma once

#include "numbers.h"

#include <QHash>
#include <QList>

#include <optional>

class Dataset;

// One composition row of a fertilizer as the calculation sees it: its element with the percent
// by mass, and the element its element's conversion coefficient yields with the factor (both 0
// when the element has no coefficient).
struct CompositionRow
{
    int element = 0;
    Ext percent = 0;
    int yieldedElement = 0;
    Ext factor = 0;
};

// The composition row that `rows` (T_SOS, with its coefficient lookups) stands on.
CompositionRow currentCompositionRow(const Dataset &rows);
// Row `row` of the view of such a dataset, read without moving it; empty values read as 0.
CompositionRow compositionRowAt(const Dataset &rows, int row);

// The composition rows of the fertilizers `ids` (of every fertilizer without them), by
// fertilizer, read afresh through `all` (T_sostav_udobra with the lookups of T_SOS), so that a
// composition just edited in the fertilizer window counts. `all` is left closed.
QHash<int, QList<CompositionRow>> readCompositions(Dataset &all,
                                                   const std::optional<QList<int>> &ids = {});

// What `grams` g/L of a fertilizer adds through one of its composition rows to the target
// element, in mg/L, in the calculation's extended precision: (percent × 10) × grams when the
// row's element is the target, ((percent × 10) × grams) × factor when only its coefficient
// yields the target, nothing otherwise. So a row counts at most once per target, and the run
// and a solver that builds its matrix from this function agree on every figure.
std::optional<Ext> contribution(const CompositionRow &row, int target, Ext grams);

// Adds to `sum` what `grams` g/L of a fertilizer with `rows` brings to the target element, row by
// row, each partial sum stored in a double as the run posts it; a caller that predicts the run
// sums fertilizer by fertilizer in the composition's order, then rounds to
// `ConcentrationDecimals`.
void addContributions(double &sum, const QList<CompositionRow> &rows, int target, Ext grams);
