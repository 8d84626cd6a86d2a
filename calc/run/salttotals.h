#pragma once

#include <QList>
#include <QString>

// The six salt totals under the concentration grid: four sums over the target rows in mg/L and
// two over the working composition in ppm. Worked out from plain lists of values, so that the
// engine and anything that predicts the totals "as the calculator computes them" share one sum.
struct SaltTotals
{
    // What one target row adds: its computed concentration and its derived values at p.
    struct TargetRow
    {
        double rachet = 0;
        double rPr = 0;
        double vagaCalc = 0;
        double cvetCalc = 0;
    };
    // What one row of the working composition adds: the fertilizer's ppm at 1 g/L, its amount
    // and its amount scaled to p.
    struct CompositionRow
    {
        double ppm = 0;
        double kol = 0;
        double kolPr = 0;
    };

    // The sums in list order, each partial sum stored in a double. A list left empty (its
    // option off) gives sums of 0.
    static SaltTotals compute(const QList<TargetRow> &targets,
                              const QList<CompositionRow> &composition);

    // How a total is shown: three blanks and the sum rounded to two places, in the general
    // number format.
    static QString text(double sum, QChar decimalSeparator);

    double concentration = 0;             // Label4: sum of rachet, mg/L at 100 %
    double concentrationAtPercentage = 0; // Label13: sum of r_pr
    double vegetativeTargets = 0;         // Label5: sum of vaga_calc
    double floweringTargets = 0;          // Label9: sum of cvet_calc
    double ppm = 0;                       // Label10: sum of ppm × kol
    double ppmAtPercentage = 0;           // Label11: sum of ppm × kol_pr
};
