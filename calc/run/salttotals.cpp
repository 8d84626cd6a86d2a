#include "salttotals.h"

#include "numbers.h"

namespace {

void add(double &sum, Ext value)
{
    sum = static_cast<double>(Ext(sum) + value);
}

} // namespace

SaltTotals SaltTotals::compute(const QList<TargetRow> &targets,
                               const QList<CompositionRow> &composition)
{
    SaltTotals t;
    for (const TargetRow &row : targets) {
        add(t.concentration, row.rachet);
        add(t.vegetativeTargets, row.vagaCalc);
        add(t.floweringTargets, row.cvetCalc);
        add(t.concentrationAtPercentage, row.rPr);
    }
    for (const CompositionRow &row : composition) {
        const Ext ppm = row.ppm;
        add(t.ppm, ppm * Ext(row.kol));
        add(t.ppmAtPercentage, ppm * Ext(row.kolPr));
    }
    return t;
}

QString SaltTotals::text(double sum, QChar decimalSeparator)
{
    return QStringLiteral("   ") + formatGeneral(RoundDecimals(sum, 2), decimalSeparator);
}
