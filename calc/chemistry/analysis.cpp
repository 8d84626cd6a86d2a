#include "analysis.h"

namespace Chemistry {

RulesOfThumb rulesOfThumb(double cationMeq)
{
    return {cationMeq / 10, 0.095 * cationMeq + 0.19};
}

namespace {

// Where a water's alkalinity is practically all HCO3-: its balance without a measured pH.
constexpr double AlkalinityPh = 8.3;

Ratios ratiosOf(const Totals &t)
{
    Ratios r;
    const double nitrogen = at(t, Component::Nitrate) + at(t, Component::Ammonium)
                            + at(t, Component::Urea); // mmol/L of N
    if (nitrogen > 0) {
        r.ammoniumShare = at(t, Component::Ammonium) / nitrogen * 100;
        r.potassiumPerNitrogen = at(t, Component::Potassium) * componentData(Component::Potassium).atomicMass
                                 / (nitrogen * componentData(Component::Nitrate).atomicMass);
    }
    r.potassiumMeq = at(t, Component::Potassium);
    r.calciumMeq = 2 * at(t, Component::Calcium);
    r.magnesiumMeq = 2 * at(t, Component::Magnesium);
    return r;
}

QMap<QString, double> elementsOf(const Totals &t)
{
    QMap<QString, double> elements;
    for (std::size_t i = 0; i < ComponentCount; ++i) {
        if (t[i] <= 0 || Component(i) == Component::Carbonate)
            continue;
        const ComponentData &d = componentData(Component(i));
        elements[QString::fromLatin1(d.element)] += t[i] * d.atomicMass;
    }
    return elements;
}

} // namespace

Analysis analyse(const Recipe &recipe, const AnalysisOptions &options)
{
    Analysis a;
    a.recipe = recipeTotals(recipe);
    a.elements = elementsOf(a.recipe.totals);
    a.solution = equilibrate(a.recipe.totals, options.pairs, a.recipe.waterCharge);
    a.ions = ionRows(a.solution.species);
    a.balance = balanceOf(a.solution.species);
    a.rules = rulesOfThumb(a.balance.cations);
    a.ratios = ratiosOf(a.recipe.totals);
    a.alkalinityMeq = alkalinityToMeq(recipe.water.hco3, AlkalinityUnit::Hco3);
    a.waterBalance = balanceOf(speciesAt(a.recipe.water, recipe.water.ph.value_or(AlkalinityPh)));
    if (options.acid)
        a.acid = acidDose(*options.acid, a.alkalinityMeq, recipe.water.ph, options.targetPh,
                          options.acidMostElementMg);
    return a;
}

double ecOfOneGramPerLitre(const Fertilizer &fertilizer)
{
    Recipe recipe;
    recipe.fertilizers.append(fertilizer);
    recipe.fertilizers.first().grams = 1;
    return equilibrate(recipeTotals(recipe).totals, true).conductivity.ec;
}

} // namespace Chemistry
