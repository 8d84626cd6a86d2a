#include "recipesolve.h"

#include "calc/recipefile/defaultelements.h"
#include "calc/recipefile/recipeanalysis.h"
#include "calc/solver/solverdefaults.h"
#include "data/apperror.h"

namespace RecipeSolve {

namespace {

ElementMode modeOf(const QString &text, const QString &symbol, double target)
{
    if (text == QStringLiteral("at_least"))
        return ElementMode::AtLeast;
    if (text == QStringLiteral("at_most"))
        return ElementMode::AtMost;
    if (text == QStringLiteral("ignore"))
        return ElementMode::Ignore;
    if (text == QStringLiteral("target"))
        return ElementMode::Target;
    return SolverDefaults::modeOf(symbol, target);
}

double waterOf(const RecipeFile::Analysis &water, const QString &symbol)
{
    for (const RecipeFile::ElementAmount &e : water.elements) {
        if (e.symbol == symbol)
            return e.water;
    }
    return 0;
}

double ammoniumPercent(const RecipeFile::Analysis &a)
{
    double nitrogen = 0;
    for (const RecipeFile::ElementAmount &e : a.elements) {
        if (e.symbol == QStringLiteral("N"))
            nitrogen = e.total();
    }
    for (const Chemistry::IonRow &ion : a.chemistry.ions) {
        if (ion.ion == Chemistry::Ion::NH4 && nitrogen > 0)
            return 100 * ion.elementMg / nitrogen;
    }
    return 0;
}

} // namespace

Solved solve(const RecipeFile::Recipe &recipe)
{
    if (recipe.targets.isEmpty())
        throw AppError(QStringLiteral("targets: нет целей (мг/л по символам элементов): подбирать не к чему"));
    Solved s;
    // The water as the analysis counts it: label forms through their coefficients.
    RecipeFile::Recipe waterOnly = recipe;
    waterOnly.fertilizers.clear();
    waterOnly.acid.reset();
    const RecipeFile::Analysis water = RecipeFile::analyse(waterOnly);

    SolverProblem &p = s.problem;
    p.percentage = recipe.percentage;
    for (const RecipeFile::Fertilizer &f : recipe.fertilizers) {
        SolverProblem::Fertilizer pf;
        pf.name = f.name;
        for (auto it = f.composition.cbegin(); it != f.composition.cend(); ++it) {
            const DefaultElements::Element *e = DefaultElements::find(it.key());
            pf.composition.append({e->id, it.value(), e->yieldsId, e->factor, e->symbol, e->yields});
        }
        pf.current = f.gramsPerLitre;
        pf.fixed = f.fixed;
        pf.atMost = f.atMost;
        pf.ppm = f.ppm.value_or(0);
        pf.nitrogen = f.nitrogenForm.value_or(Chemistry::NitrogenForm::Nitrate);
        // An acid with its strength and density is dosed against the water, as in the dialog.
        if (f.acid) {
            if (const auto kind = Chemistry::acidKindOf(RecipeFile::elementLines(f.composition)))
                pf.acid = Chemistry::AcidProduct{*kind, f.acid->strengthPercent, f.acid->density};
        }
        p.fertilizers.append(pf);
    }
    for (const DefaultElements::Element &e : DefaultElements::all()) {
        if (!recipe.targets.contains(e.symbol))
            continue;
        const double target = recipe.targets.value(e.symbol);
        SolverProblem::Element pe;
        pe.id = e.id;
        pe.name = e.symbol;
        pe.vega = pe.cvet = target;
        pe.mode = modeOf(recipe.modes.value(e.symbol), e.symbol, target);
        pe.weight = recipe.weights.value(e.symbol, SolverDefaults::weightOf(e.symbol));
        pe.ceiling = SolverDefaults::ceilingOf(e.symbol);
        pe.water = waterOf(water, e.symbol);
        p.elements.append(pe);
        s.symbols.append(e.symbol);
    }
    p.water = RecipeFile::chemistryRecipe(waterOnly).water;
    p.ammoniumShare = recipe.nh4Percent;
    p.ec = recipe.ec;
    p.byEc = recipe.ec.has_value();
    p.targetPh = recipe.targetPh.value_or(Chemistry::DefaultTargetPh);
    s.result = solveComposition(p);
    s.recipe = recipe;
    for (qsizetype i = 0; i < s.result.amounts.size(); ++i)
        s.recipe.fertilizers[i].gramsPerLitre = s.result.amounts.at(i);
    s.analysis = RecipeFile::analyse(s.recipe);
    s.nh4Percent = ammoniumPercent(s.analysis);
    return s;
}

} // namespace RecipeSolve
