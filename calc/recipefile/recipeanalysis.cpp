#include "recipeanalysis.h"

#include "defaultelements.h"

#include "calc/run/concentration.h"
#include "calc/run/contribution.h"
#include "calc/run/derivedvalues.h"
#include "calc/run/numbers.h"

namespace RecipeFile {

namespace {

// A file's composition as the run reads a fertilizer's rows from the default base.
QList<CompositionRow> compositionRows(const QMap<QString, double> &composition)
{
    QList<CompositionRow> rows;
    for (auto it = composition.cbegin(); it != composition.cend(); ++it) {
        const DefaultElements::Element *e = DefaultElements::find(it.key());
        rows.append({e->id, it.value(), e->yieldsId, e->factor});
    }
    return rows;
}

double waterMilligrams(const Recipe &recipe, const DefaultElements::Element &element)
{
    double mg = 0;
    if (!recipe.water)
        return mg;
    for (const Chemistry::ElementLine &line : elementLines(recipe.water->milligramsPerLitre)) {
        if (line.symbol == element.symbol)
            mg += line.amount;
        else if (line.yields == element.symbol)
            mg += double(Ext(line.amount) * line.factor);
    }
    return mg;
}

} // namespace

Chemistry::ElementLine elementLine(const QString &symbol, double amount)
{
    Chemistry::ElementLine line{symbol, amount, {}, 0};
    if (const DefaultElements::Element *e = DefaultElements::find(symbol); e && e->isLabelForm()) {
        line.yields = e->yields;
        line.factor = e->factor;
    }
    return line;
}

QList<Chemistry::ElementLine> elementLines(const QMap<QString, double> &bySymbol)
{
    QList<Chemistry::ElementLine> lines;
    for (auto it = bySymbol.cbegin(); it != bySymbol.cend(); ++it)
        lines.append(elementLine(it.key(), it.value()));
    return lines;
}

Chemistry::Recipe chemistryRecipe(const Recipe &recipe)
{
    Chemistry::Recipe out;
    for (const Fertilizer &f : recipe.fertilizers) {
        out.fertilizers.append({f.name, DerivedValues::scaledAmount(f.gramsPerLitre, recipe.percentage),
                                elementLines(f.composition),
                                f.nitrogenForm.value_or(Chemistry::NitrogenForm::Nitrate)});
    }
    if (recipe.water) {
        out.water.elements = elementLines(recipe.water->milligramsPerLitre);
        out.water.hco3 = recipe.water->hco3.value_or(0);
        out.water.ph = recipe.water->ph;
    }
    return out;
}

std::optional<Chemistry::AcidProduct> acidToDose(const Recipe &recipe)
{
    const Fertilizer *acid = recipe.acidFertilizer();
    if (!acid || !acid->acid || !recipe.water || recipe.water->hco3.value_or(0) <= 0)
        return std::nullopt;
    const auto kind = Chemistry::acidKindOf(elementLines(acid->composition));
    if (!kind)
        return std::nullopt;
    return Chemistry::AcidProduct{*kind, acid->acid->strengthPercent, acid->acid->density};
}

Analysis analyse(const Recipe &recipe)
{
    Analysis a;
    QList<Concentration::Fertilizer> run;
    for (const Fertilizer &f : recipe.fertilizers)
        run.append({f.gramsPerLitre, 0, compositionRows(f.composition)});
    QList<const DefaultElements::Element *> elements;
    QList<Concentration::Target> targets;
    for (const DefaultElements::Element &e : DefaultElements::all()) {
        if (e.isLabelForm())
            continue;
        elements.append(&e);
        targets.append({e.id, 0, 0});
    }
    const QList<double> computed = Concentration::concentrations(run, targets);
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const DefaultElements::Element &e = *elements.at(i);
        a.elements.append({e.symbol, DerivedValues::target(0, 0, computed.at(i), recipe.percentage).rPr,
                           waterMilligrams(recipe, e)});
    }
    Chemistry::AnalysisOptions options;
    options.acid = acidToDose(recipe);
    options.targetPh = recipe.targetPh.value_or(Chemistry::DefaultTargetPh);
    a.chemistry = Chemistry::analyse(chemistryRecipe(recipe), options);
    return a;
}

} // namespace RecipeFile
