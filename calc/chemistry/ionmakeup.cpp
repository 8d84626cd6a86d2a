#include "ionmakeup.h"

#include "equilibrium.h"
#include "inputcheck.h"

#include "calc/contribution.h"

#include <algorithm>

namespace Chemistry {

namespace {

// Stand-in keys for a composition row's own element and the one its coefficient yields, so that
// the run's own `contribution` computes every figure.
constexpr int OwnElement = 1;
constexpr int YieldedElement = 2;

bool isMinor(Ion ion)
{
    return ion == Ion::H3PO4 || ion == Ion::PO4 || ion == Ion::HSO4 || ion == Ion::NH3
           || ion == Ion::CO3;
}

// What every species of each form adds up to, mmol/L of the form's element.
Totals componentTotals(const Amounts &species)
{
    Totals totals{};
    for (std::size_t i = 0; i < IonCount; ++i) {
        const IonData &d = ionData(Ion(i));
        if (d.component != Component::Count && !isPair(Ion(i)))
            at(totals, d.component) += species[i] * d.elementAtoms;
    }
    return totals;
}

// Sums the mg/L of each form in the run's precision, the water's apart, and lists what no form
// stands for, by symbol and source.
class TotalsBuilder
{
public:
    enum Part { FromFertilizers, FromWater };

    void add(Part part, const LineMapping &m, Ext mg, const QString &symbol, const QString &source)
    {
        if (m.component) {
            m_mg[part][std::size_t(*m.component)] += mg;
            return;
        }
        const QString s = symbol.trimmed();
        QList<Unmapped> &list = m_result.unmapped;
        const auto same = std::find_if(list.begin(), list.end(), [&](const Unmapped &u) {
            return u.symbol == s && u.source == source;
        });
        if (same != list.end())
            same->mg += double(mg);
        else
            list.append({s, source, double(mg)});
    }

    RecipeTotals finish(const Water &water)
    {
        requireNonNegative(water.hco3, QStringLiteral("Вода, HCO3, мг/л"));
        const double alkalinity = alkalinityToMeq(water.hco3, AlkalinityUnit::Hco3);
        for (std::size_t i = 0; i < ComponentCount; ++i) {
            const double mass = componentData(Component(i)).atomicMass;
            m_result.water[i] = double(m_mg[FromWater][i] / mass);
            m_result.totals[i] = double((m_mg[FromFertilizers][i] + m_mg[FromWater][i]) / mass);
        }
        const double carbonate = carbonateTotal(alkalinity, water.ph);
        at(m_result.water, Component::Carbonate) = carbonate;
        at(m_result.totals, Component::Carbonate) = carbonate;
        if (water.ph)
            m_result.waterCharge = -netCharge(speciesAt(m_result.water, *water.ph));
        return m_result;
    }

private:
    std::array<Ext, ComponentCount> m_mg[2]{};
    RecipeTotals m_result;
};

} // namespace

LineMapping mappingOf(const ElementLine &line, NitrogenForm plainNitrogen)
{
    if (const auto own = componentOf(line.symbol, plainNitrogen))
        return {own, false};
    if (const auto yielded = componentOf(line.yields, plainNitrogen))
        return {yielded, true};
    return {};
}

double formMilligrams(const ElementLine &line, const LineMapping &mapping)
{
    return double(mapping.throughYield ? Ext(line.amount) * line.factor : Ext(line.amount));
}

void requireLine(const ElementLine &line, const QString &what, const QString &unit)
{
    requireNonNegative(line.amount, QStringLiteral("%1, %2").arg(what, unit));
    requireNonNegative(line.factor, what + QStringLiteral(", коэффициент"));
}

RecipeTotals recipeTotals(const Recipe &recipe)
{
    TotalsBuilder builder;
    for (const Fertilizer &f : recipe.fertilizers) {
        requireNonNegative(f.grams, QStringLiteral("«%1», г/л").arg(f.name));
        for (const ElementLine &line : f.composition) {
            requireLine(line, QStringLiteral("«%1», %2").arg(f.name, line.symbol.trimmed()),
                        QStringLiteral("%"));
            const LineMapping m = mappingOf(line, f.nitrogen);
            const bool yields = !line.yields.trimmed().isEmpty();
            const CompositionRow row{OwnElement, line.amount, yields ? YieldedElement : 0, line.factor};
            const Ext mg = *contribution(row, m.throughYield ? YieldedElement : OwnElement, f.grams);
            builder.add(TotalsBuilder::FromFertilizers, m, mg, line.symbol, f.name);
        }
    }
    const QString water = QStringLiteral("Вода");
    for (const ElementLine &line : recipe.water.elements) {
        requireLine(line, QStringLiteral("Вода, %1").arg(line.symbol.trimmed()), QStringLiteral("мг/л"));
        const LineMapping m = mappingOf(line, NitrogenForm::Nitrate);
        builder.add(TotalsBuilder::FromWater, m, formMilligrams(line, m), line.symbol, water);
    }
    return builder.finish(recipe.water);
}

std::optional<AcidKind> acidKindOf(const QList<ElementLine> &composition)
{
    std::optional<AcidKind> kind;
    for (const ElementLine &line : composition) {
        const LineMapping m = mappingOf(line, NitrogenForm::Nitrate);
        if (!m.component)
            continue;
        std::optional<AcidKind> brings;
        switch (*m.component) {
        case Component::Nitrate:
        case Component::Ammonium:
        case Component::Urea:
            brings = AcidKind::Nitric;
            break;
        case Component::Phosphate:
            brings = AcidKind::Phosphoric;
            break;
        case Component::Sulphate:
            brings = AcidKind::Sulphuric;
            break;
        default:
            break;
        }
        if (!brings)
            continue;
        if (kind && *kind != *brings)
            return std::nullopt;
        kind = brings;
    }
    return kind;
}

QList<IonRow> ionRows(const Amounts &species)
{
    const Totals totals = componentTotals(species);
    QList<IonRow> rows;
    for (std::size_t i = 0; i < IonCount; ++i) {
        const Ion ion = Ion(i);
        const IonData &d = ionData(ion);
        if (d.component == Component::Count || isPair(ion) || species[i] <= 0)
            continue;
        if (isMinor(ion) && species[i] * d.elementAtoms < 1e-3 * at(totals, d.component))
            continue;
        IonRow row;
        row.ion = ion;
        row.mmol = species[i];
        row.mg = row.mmol * d.molarMass;
        row.elementMg = row.mmol * d.elementAtoms * componentData(d.component).atomicMass;
        row.meq = row.mmol * std::abs(d.charge);
        rows.append(row);
    }
    return rows;
}

Balance balanceOf(const Amounts &species)
{
    Balance b;
    for (std::size_t i = 0; i < IonCount; ++i) {
        const Ion ion = Ion(i);
        if (ion == Ion::H || ion == Ion::OH || isPair(ion))
            continue;
        const int z = ionData(ion).charge;
        (z > 0 ? b.cations : b.anions) += std::abs(z) * species[i];
    }
    b.difference = b.cations - b.anions;
    const double sum = b.cations + b.anions;
    b.percent = sum > 0 ? b.difference / sum * 100 : 0;
    return b;
}

} // namespace Chemistry
