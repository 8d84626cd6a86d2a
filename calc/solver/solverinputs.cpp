#include "solverinputs.h"

#include "solverdefaults.h"

#include "calc/chemistry/storedform.h"
#include "data/basequeries.h"

namespace SolverInputs {

namespace {

// A fertilizer flagged as an acid, with its strength and density, that brings one acid element.
std::optional<Chemistry::AcidProduct> acidOf(const SolverProblem::Fertilizer &f,
                                             const BaseRows::FertilizerProperties &p)
{
    if (!p.acid || !p.strength || !p.density || !(*p.strength > 0) || !(*p.density > 0))
        return std::nullopt;
    QList<Chemistry::ElementLine> lines;
    for (const CompositionRow &row : f.composition)
        lines.append({row.symbol, double(row.percent), row.yieldedSymbol, double(row.factor)});
    const std::optional<Chemistry::AcidKind> kind = Chemistry::acidKindOf(lines);
    if (!kind)
        return std::nullopt;
    return Chemistry::AcidProduct{*kind, *p.strength, *p.density};
}

} // namespace

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
        e.mode = SolverDefaults::modeOf(e.name, e.target(stage));
        e.weight = SolverDefaults::weightOf(e.name);
        e.ceiling = SolverDefaults::ceilingOf(e.name);
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
    const QHash<int, BaseRows::FertilizerProperties> properties =
        BaseQueries(connection).fertilizerProperties(ids);
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
        const BaseRows::FertilizerProperties p = properties.value(*line.fertilizer);
        f.nitrogen = Chemistry::nitrogenFormOf(p.nitrogenForm);
        f.acid = acidOf(f, p);
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

Chemistry::Water chemistryWaterOf(const BaseRows::WaterAnalysis &analysis)
{
    Chemistry::Water water;
    for (const BaseRows::WaterLine &line : analysis.lines)
        water.elements.append({line.symbol, line.mgPerLitre, {}, 0});
    water.hco3 = analysis.hco3.value_or(0);
    water.ph = analysis.ph;
    return water;
}

void setWater(SolverProblem &problem, const BaseRows::WaterAnalysis &analysis)
{
    const QHash<int, double> mg = waterOf(analysis);
    for (SolverProblem::Element &e : problem.elements)
        e.water = mg.value(e.id);
    problem.water = chemistryWaterOf(analysis);
}

void setCrop(SolverProblem &problem, const BaseRows::Crop &crop)
{
    problem.ammoniumShare = SolverDefaults::ammoniumShareOf(crop);
    problem.ec = SolverDefaults::ecOf(crop, problem.stage);
}

SaltOptions saltOptionsOf(const BaseRows::Options &options)
{
    return {options.targetTotals, options.ppmTotals};
}

} // namespace SolverInputs
