#pragma once

#include "contribution.h"
#include "salttotals.h"

#include <QList>

// Which salt totals the options row asks for: ppm1 the four mg/L sums over the target rows,
// ppm2 the two ppm sums over the composition. Off, a sum is 0.
struct SaltOptions
{
    bool targetTotals = true;
    bool ppmTotals = true;
};

// The concentration run as a function of plain values: what the calculator stores in
// t_konc.rachet and shows under the grid, worked out without a base. The engine writes its
// results; the solver predicts with it; a program without a window calls it as it is.
namespace Concentration {

// Places of the concentrations the run stores.
constexpr int Decimals = 4;

// One row of a recipe: g/L at 100 %, the fertilizer's ppm of 1 g/L, its composition rows.
struct Fertilizer
{
    double grams = 0;
    double ppm = 0;
    QList<CompositionRow> composition;
};

// One target row of the crop.
struct Target
{
    int element = 0;
    double vega = 0; // mg/L at 100 %
    double cvet = 0;
};

struct Result
{
    QList<double> concentrations; // mg/L per target row, four places, as rachet holds them
    SaltTotals totals;
};

// mg/L per target row: fertilizer by fertilizer, composition row by row, every match added in
// extended precision and stored in a double, then rounded to four places.
QList<double> concentrations(const QList<Fertilizer> &fertilizers, const QList<Target> &targets);

// The six totals of target rows holding `concentrations` and of a composition, at the
// percentage: the one place the options are honoured.
SaltTotals saltTotals(const QList<Target> &targets, const QList<double> &concentrations,
                      const QList<Fertilizer> &composition, int percentage, SaltOptions options);

// Both, over one recipe.
Result run(const QList<Fertilizer> &fertilizers, const QList<Target> &targets, int percentage,
           SaltOptions options);

} // namespace Concentration
