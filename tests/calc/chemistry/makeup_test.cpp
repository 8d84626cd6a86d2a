#include "chemistrytestdata.h"

#include "calc/chemistry/analysis.h"

#include "support/errorof.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Chemistry;
using namespace ChemistryTestData;

namespace {

// A label form of the default base with its coefficient.
struct LabelForm
{
    const char *symbol, *yields;
    double factor;
};
constexpr LabelForm P2O5{"P2O5", "P", 0.4364}, K2O{"K2O", "K", 0.8302}, CaO{"CaO", "Ca", 0.7147},
    MgO{"MgO", "Mg", 0.6030}, SO3{"SO3", "S", 0.4005}, NitrateN{"N-NO3", "N", 1}, AmmoniumN{"N-NH4", "N", 1};

// The default base's salts, one form of nitrogen each, typed as their labels state them or as
// the elements those yield (percent × factor, nitrogen as plain N of the fertilizer's form).
Recipe salts(bool asLabels)
{
    const std::tuple<const char *, double, QList<std::pair<LabelForm, double>>, NitrogenForm> list[] = {
        {"Кальциевая селитра", 0.9, {{NitrateN, 14.4}, {CaO, 26.5}}, NitrogenForm::Nitrate},
        {"Калиевая селитра", 0.5, {{NitrateN, 13.85}, {K2O, 46.58}}, NitrogenForm::Nitrate},
        {"Монофосфат калия", 0.2, {{P2O5, 52.15}, {K2O, 34.61}}, NitrogenForm::Nitrate},
        {"Моноаммонийфосфат", 0.05, {{AmmoniumN, 12.18}, {P2O5, 61.7}}, NitrogenForm::Ammonium},
        {"Сульфат калия", 0.1, {{K2O, 54.06}, {SO3, 45.94}}, NitrogenForm::Nitrate},
        {"Сульфат магния", 0.5, {{MgO, 16.35}, {SO3, 32.48}}, NitrogenForm::Nitrate}};
    Recipe recipe;
    for (const auto &[name, grams, rows, nitrogen] : list) {
        Fertilizer f{QString::fromUtf8(name), grams, {}, nitrogen};
        for (const auto &[form, percent] : rows)
            f.composition.append(asLabels ? ElementLine{form.symbol, percent, form.yields, form.factor}
                                          : ElementLine{form.yields, percent * form.factor, {}, 0});
        recipe.fertilizers.append(f);
    }
    return recipe;
}

// A water of Ca and Mg bicarbonates with NaCl: 4 meq/L of alkalinity at pH 7.5, balanced.
Water tapWater()
{
    return {{{"Ca", 60.1, {}, 0}, {"Mg", 12.15, {}, 0}, {"Na", 23.0, {}, 0}, {"Cl", 35.45, {}, 0}}, 4 * 61.017, 7.5};
}

} // namespace

// Label forms count through the element they yield: the same salts typed as elements give the
// same ions, EC and pH, and every element as the run computes it (percent × 10 × g × factor).
TEST(IonMakeUp, LabelFormsGiveTheIonsOfTheirElements)
{
    const Analysis labels = analyse(salts(true));
    const Analysis elements = analyse(salts(false));
    for (std::size_t i = 0; i < ComponentCount; ++i)
        EXPECT_NEAR(labels.recipe.totals[i], elements.recipe.totals[i], 1e-12) << i;
    for (std::size_t i = 0; i < IonCount; ++i)
        EXPECT_NEAR(labels.solution.species[i], elements.solution.species[i], 1e-9) << ionKey(Ion(i)).toStdString();
    EXPECT_NEAR(labels.solution.conductivity.ec, elements.solution.conductivity.ec, 1e-12);
    EXPECT_NEAR(labels.solution.ph, elements.solution.ph, 1e-9);
    EXPECT_TRUE(labels.recipe.unmapped.isEmpty());
    EXPECT_NEAR(labels.elements.value(QStringLiteral("Ca")), 0.9 * 265 * 0.7147, 1e-9);
    EXPECT_NEAR(labels.elements.value(QStringLiteral("N")), 0.9 * 144 + 0.5 * 138.5 + 0.05 * 121.8, 1e-9);
}

// Plain N takes the fertilizer's form: nitrate, ammonium, or urea, which carries no charge.
// The salt is NH4Cl's make-up (20 % N, 50.62 % Cl), so that ammonium has its anion (the ammonia
// at its pH stays below a thousandth); as nitrate or urea it is an acid.
TEST(IonMakeUp, PlainNitrogenTakesTheFertilizersForm)
{
    const std::tuple<NitrogenForm, Ion, double> cases[] = {{NitrogenForm::Nitrate, Ion::NO3, 1},
                                                           {NitrogenForm::Ammonium, Ion::NH4, 1},
                                                           {NitrogenForm::Urea, Ion::Urea, 0.5}};
    const double nitrogen = 200 / 14.007;
    for (const auto &[form, ion, perNitrogen] : cases) {
        SCOPED_TRACE(ionKey(ion).toStdString());
        Recipe recipe;
        recipe.fertilizers = {{QStringLiteral("Удобрение"), 1, {{"N", 20, {}, 0}, {"Cl", 50.62, {}, 0}}, form}};
        const Analysis a = analyse(recipe);
        for (const Ion each : {Ion::NO3, Ion::NH4, Ion::Urea})
            EXPECT_NEAR(at(a.solution.species, each), each == ion ? nitrogen * perNitrogen : 0, 1e-3 * nitrogen);
        EXPECT_NEAR(a.elements.value(QStringLiteral("N")), 200, 1e-9);
        EXPECT_NEAR(*a.ratios.ammoniumShare, ion == Ion::NH4 ? 100 : 0, 0.1);
    }
}

// An element no form stands for is listed with what it amounts to, never dropped; so is a label
// form without a coefficient. Blanks around a symbol do not matter.
TEST(IonMakeUp, UnmappedSymbolsAreListed)
{
    Recipe recipe;
    recipe.fertilizers = {{QStringLiteral("Селенат"), 0.5, {{"Se", 2, {}, 0}, {"K", 30, {}, 0}, {"Se", 1, {}, 0}}, {}},
                          {QStringLiteral("Без коэффициента"), 1, {{"K2O", 50, {}, 0}}, {}}};
    recipe.water.elements = {{"Sr", 0.3, {}, 0}, {" Ca ", 40, {}, 0}};
    const Analysis a = analyse(recipe);
    const std::tuple<const char *, const char *, double> expected[] = {
        {"Se", "Селенат", 15}, {"K2O", "Без коэффициента", 500}, {"Sr", "Вода", 0.3}};
    ASSERT_EQ(a.recipe.unmapped.size(), std::size(expected));
    for (int i = 0; i < a.recipe.unmapped.size(); ++i) {
        const auto &[symbol, source, mg] = expected[i];
        EXPECT_EQ(a.recipe.unmapped[i].symbol, QString::fromLatin1(symbol));
        EXPECT_EQ(a.recipe.unmapped[i].source, QString::fromUtf8(source));
        EXPECT_NEAR(a.recipe.unmapped[i].mg, mg, 1e-12);
    }
    EXPECT_NEAR(a.elements.value(QStringLiteral("K")), 150, 1e-9);
    EXPECT_NEAR(a.elements.value(QStringLiteral("Ca")), 40, 1e-9);
}

// The list a grower reads: cations, anions, neutral species, the sums those of the rows; H+, OH-,
// the pairs and a minor species under 0.1 % of its form left out. The ratios of Hoagland No. 2.
TEST(IonMakeUp, IonListAndRatios)
{
    Recipe recipe = salts(true);
    recipe.water = asWater(standardSolutions().first());
    recipe.water.hco3 = 122;
    recipe.water.ph = 7.2;
    const Analysis a = analyse(recipe);
    double sums[2] = {0, 0};
    int side = 0;
    for (const IonRow &row : a.ions) {
        const int z = ionData(row.ion).charge;
        const int rowSide = z > 0 ? 0 : z < 0 ? 1 : 2;
        EXPECT_GE(rowSide, side) << ionKey(row.ion).toStdString();
        side = rowSide;
        if (z != 0)
            sums[rowSide] += row.meq;
    }
    EXPECT_NEAR(sums[0], a.balance.cations, 1e-3 * a.balance.cations);
    EXPECT_NEAR(sums[1], a.balance.anions, 1e-3 * a.balance.anions);
    QList<Ion> listed;
    for (const IonRow &row : a.ions)
        listed.append(row.ion);
    for (const Ion ion : {Ion::NO3, Ion::NH4, Ion::H2PO4, Ion::HPO4, Ion::SO4, Ion::HCO3, Ion::CO2, Ion::MoO4})
        EXPECT_TRUE(listed.contains(ion)) << ionKey(ion).toStdString();
    for (const Ion ion : {Ion::H, Ion::OH, Ion::PO4, Ion::CaSO4})
        EXPECT_FALSE(listed.contains(ion)) << ionKey(ion).toStdString();

    Recipe hoagland;
    hoagland.water.elements = {{"N-NO3", 14 * 14.007, {}, 0}, {"N-NH4", 14.007, {}, 0}, {"K", 6 * 39.098, {}, 0},
                               {"Ca", 4 * 40.078, {}, 0}, {"Mg", 2 * 24.305, {}, 0}};
    const Ratios r = analyse(hoagland).ratios;
    EXPECT_NEAR(*r.ammoniumShare, 100.0 / 15, 1e-9);
    EXPECT_NEAR(*r.potassiumPerNitrogen, 6 * 39.098 / (15 * 14.007), 1e-9);
    EXPECT_NEAR(r.potassiumMeq + r.calciumMeq + r.magnesiumMeq, 6 + 8 + 4, 1e-9);
    EXPECT_NEAR(r.calciumMeq, 8, 1e-9);
}

// A water report that leaves out an ion (its 1 meq/L of Na) does not balance: the gap, seen at
// the measured pH, is carried as charge of its own, so that it turns neither the water nor a
// recipe on it into an acid. Without a measured pH nothing can be carried. (The carbonate comes
// from the alkalinity in concentrations, its species in activities: a full report still shows a
// few hundredths of a meq/L.)
TEST(IonMakeUp, WaterReportMissingAnIon)
{
    Water missing = tapWater();
    missing.elements.removeAt(2);
    Water unmeasured = missing;
    unmeasured.ph.reset();
    const std::tuple<const char *, Water, double, double> cases[] = {
        {"full", tapWater(), 0, 0}, {"missing Na", missing, 1, -1}, {"no pH", unmeasured, 0, -1}};
    for (const bool withSalts : {false, true}) {
        Recipe recipe = withSalts ? salts(true) : Recipe{};
        recipe.water = tapWater();
        const double ph = analyse(recipe).solution.ph;
        for (const auto &[name, water, carried, reportGap] : cases) {
            SCOPED_TRACE(testing::Message() << name << (withSalts ? ", with salts" : ""));
            recipe.water = water;
            const Analysis a = analyse(recipe);
            EXPECT_NEAR(a.recipe.waterCharge, carried, 0.04);
            EXPECT_NEAR(a.waterBalance.difference, reportGap, 0.04);
            if (water.ph) {
                EXPECT_NEAR(a.solution.ph, withSalts ? ph : 7.5, 0.05);
            } else if (!withSalts) {
                EXPECT_LT(a.solution.ph, ph - 0.5); // the gap acts as acid
            }
        }
    }
}

// Every figure a grower types is checked before use, and the refusal names it.
TEST(Chemistry, FiguresOutsideTheirRangeAreRefusedByName)
{
    const auto withFertilizer = [](double grams, double percent, double factor) {
        return [=] {
            Recipe r;
            r.fertilizers = {{QStringLiteral("Калиевая селитра"), grams, {{"K2O", percent, "K", factor}}, {}}};
            analyse(r);
        };
    };
    const auto withWater = [](double mg, double hco3, std::optional<double> ph) {
        return [=] { analyse({{}, {{{"Ca", mg, {}, 0}}, hco3, ph}}); };
    };
    const auto withTargets = [](double mg, std::optional<double> share) {
        return [=] { targetBalance({{{"K", mg, {}, 0}}, share, DefaultTargetPh}); };
    };
    const std::pair<std::function<void()>, const char *> cases[] = {
        {withFertilizer(-1, 46, 0.83), "«Калиевая селитра», г/л: число -1 меньше нуля"},
        {withFertilizer(1, -46, 0.83), "«Калиевая селитра», K2O, %: число -46 меньше нуля"},
        {withFertilizer(1, std::nan(""), 0.83), "«Калиевая селитра», K2O, %: не число"},
        {withFertilizer(1, 46, -0.83), "«Калиевая селитра», K2O, коэффициент"},
        {withWater(-40, 0, {}), "Вода, Ca, мг/л: число -40 меньше нуля"},
        {withWater(40, -1, {}), "Вода, HCO3, мг/л"},
        {withWater(40, 100, 15), "pH воды: число 15, а должно быть от 0 до 14"},
        {withTargets(-5, {}), "Цель K, мг/л: число -5 меньше нуля"},
        {withTargets(5, 150), "Доля аммония, %: число 150"},
        {[] { acidMolarity({AcidKind::Nitric, 0, 1.367}); }, "Крепость кислоты, %: число 0, а должно быть больше 0 и не больше 100"},
        {[] { acidMolarity({AcidKind::Nitric, 120, 1.367}); }, "Крепость кислоты"},
        {[] { acidMolarity({AcidKind::Nitric, 60, std::nan("")}); }, "Плотность кислоты, г/мл: не число"},
        {[] { acidNeeded(1, 7.5, 15); }, "Целевой pH"},
        {[] { acidNeeded(-1, 7.5, 5.8); }, "Щёлочность воды"},
    };
    for (const auto &[call, text] : cases)
        EXPECT_THAT(errorOf(call), testing::StartsWith(text));
}
