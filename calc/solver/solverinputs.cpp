#include "solverinputs.h"

namespace SolverInputs {

QList<SolverProblem::Element> elementsOf(const BaseRows::Crop &crop, Stage stage)
{
    QList<SolverProblem::Element> out;
    for (const BaseRows::Target &t : crop.targets) {
        SolverProblem::Element e;
        e.id = t.element;
        e.name = t.symbol;
        e.vega = t.vega;
        e.cvet = t.cvet;
        e.mode = SolverProblem::defaultMode(e.target(stage));
        out.append(e);
    }
    return out;
}

QList<SolverProblem::Fertilizer> fertilizersOf(Connection &connection,
                                               const QList<BaseRows::RecipeLine> &lines)
{
    QList<int> ids;
    for (const BaseRows::RecipeLine &line : lines) {
        if (line.fertilizer && !ids.contains(*line.fertilizer))
            ids.append(*line.fertilizer);
    }
    const QHash<int, QList<CompositionRow>> rows = readCompositions(connection, ids);
    QList<SolverProblem::Fertilizer> out;
    for (const BaseRows::RecipeLine &line : lines) {
        SolverProblem::Fertilizer f;
        if (line.id != 0) // a row not yet posted has no key
            f.row = line.id;
        f.name = line.name;
        if (line.fertilizer)
            f.composition = rows.value(*line.fertilizer);
        f.current = line.grams;
        f.ppm = line.ppm;
        out.append(f);
    }
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
