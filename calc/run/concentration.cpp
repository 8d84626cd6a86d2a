#include "concentration.h"

#include "derivedvalues.h"

namespace Concentration {

QList<double> concentrations(const QList<Fertilizer> &fertilizers, const QList<Target> &targets)
{
    QList<double> out;
    out.reserve(targets.size());
    for (const Target &target : targets) {
        double sum = 0;
        for (const Fertilizer &f : fertilizers) {
            const Ext grams = f.grams;
            for (const CompositionRow &row : f.composition) {
                if (const auto added = contribution(row, target.element, grams))
                    sum = static_cast<double>(Ext(sum) + *added);
            }
        }
        out.append(RoundDecimals(sum, Decimals));
    }
    return out;
}

SaltTotals saltTotals(const QList<Target> &targets, const QList<double> &concentrations,
                      const QList<Fertilizer> &composition, int percentage, SaltOptions options)
{
    QList<SaltTotals::TargetRow> targetRows;
    if (options.targetTotals) {
        for (qsizetype i = 0; i < targets.size(); ++i) {
            const Target &t = targets.at(i);
            const double rachet = concentrations.value(i);
            const DerivedValues::Target d = DerivedValues::target(t.vega, t.cvet, rachet, percentage);
            targetRows.append({rachet, d.rPr, d.vagaCalc, d.cvetCalc});
        }
    }
    QList<SaltTotals::CompositionRow> compositionRows;
    if (options.ppmTotals) {
        for (const Fertilizer &f : composition)
            compositionRows.append({f.ppm, f.grams, DerivedValues::scaledAmount(f.grams, percentage)});
    }
    return SaltTotals::compute(targetRows, compositionRows);
}

Result run(const QList<Fertilizer> &fertilizers, const QList<Target> &targets, int percentage,
           SaltOptions options)
{
    Result r;
    r.concentrations = concentrations(fertilizers, targets);
    r.totals = saltTotals(targets, r.concentrations, fertilizers, percentage, options);
    return r;
}

} // namespace Concentration
