#include "solverinputs.h"

namespace SolverInputs {

QList<SolverProblem::Element> elementsOf(const BaseRows::Crop &crop, Stage stage,
                                         int *withoutElement)
{
    QList<SolverProblem::Element> out;
    int left = 0;
    for (const BaseRows::Target &t : crop.targets) {
        if (t.symbol.isNull()) {
            ++left;
            continue;
        }
        SolverProblem::Element e;
        e.id = t.element;
        e.name = t.symbol;
        e.vega = t.vega;
        e.cvet = t.cvet;
        e.mode = SolverProblem::defaultMode(e.target(stage));
        out.append(e);
    }
    if (withoutElement)
        *withoutElement = left;
    return out;
}

QList<SolverProblem::Fertilizer> fertilizersOf(Connection &connection,
                                               const QList<BaseRows::RecipeLine> &lines,
                                               int *withoutFertilizer)
{
    QList<int> ids;
    for (const BaseRows::RecipeLine &line : lines) {
        if (line.fertilizer && !ids.contains(*line.fertilizer))
            ids.append(*line.fertilizer);
    }
    const QHash<int, QList<CompositionRow>> rows = readCompositions(connection, ids);
    QList<SolverProblem::Fertilizer> out;
    int left = 0;
    for (const BaseRows::RecipeLine &line : lines) {
        // The name is looked up from the fertilizer: none for one deleted since, or never there.
        if (!line.fertilizer || line.name.isNull()) {
            ++left;
            continue;
        }
        SolverProblem::Fertilizer f;
        if (line.id != 0) // a row not yet posted has no key
            f.row = line.id;
        f.name = line.name;
        f.composition = rows.value(*line.fertilizer);
        f.current = line.grams;
        f.ppm = line.ppm;
        out.append(f);
    }
    if (withoutFertilizer)
        *withoutFertilizer = left;
    return out;
}

QStringList leftOutText(int rowsWithoutFertilizer, int targetsWithoutElement)
{
    QStringList out;
    if (rowsWithoutFertilizer > 0)
        out.append(QStringLiteral("строки состава без удобрения: %1").arg(rowsWithoutFertilizer));
    if (targetsWithoutElement > 0)
        out.append(QStringLiteral("строки целей без элемента: %1").arg(targetsWithoutElement));
    return out;
}

QHash<int, double> waterOf(const BaseRows::WaterAnalysis &analysis)
{
    QHash<int, double> out;
    for (const BaseRows::WaterLine &line : analysis.lines)
        out[line.element] += line.mgPerLitre;
    return out;
}

SaltOptions saltOptionsOf(const BaseRows::Options &options)
{
    return {options.targetTotals, options.ppmTotals};
}

} // namespace SolverInputs
