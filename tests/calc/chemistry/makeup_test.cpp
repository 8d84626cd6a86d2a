#include "chemistrytestdata.h"

#include "calc/chemistry/analysis.h"

#include "support/errorof.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Chemistry;
using namespace ChemistryTestData;

namespace {

// Label forms and the coefficients of the default base.
struct LabelForm
{
    const char *symbol;
    const char *yields;
    double factor;
};
constexpr LabelForm P2O5{"P2O5", "P", 0.4364};
constexpr LabelForm K2O{"K2O", "K", 0.8302};
constexpr LabelForm CaO{"CaO", "Ca", 0.7147};
constexpr LabelForm MgO{"MgO", "Mg", 0.6030};
constexpr LabelForm SO3{"SO3", "S", 0.4005};
constexpr LabelForm NitrateN{"N-NO3", "N", 1};
constexpr LabelForm AmmoniumN{"N-NH4", "N", 1};

// One composition row both ways: as the label states it, and as the element it yields, the
// percent times the factor, the nitrogen forms as plain N of the fertilizer's form.
struct Row
{
    LabelForm form;
    double percent;
};

ElementLine asLabel(const Row &r)
{
    return {QString::fromLatin1(r.form.symbol), r.percent, QString::fromLatin1(r.form.yields), r.form.factor};
}

ElementLine asElement(const Row &r)
{
    return {QString::fromLatin1(r.form.yields), r.percent * r.form.factor, {}, 0};
}

struct Salt
{
    const char *name;
    double grams;
    QList<Row> rows;
    NitrogenForm plainNitrogen; // when typed as elements
};

// The default base's salts, one form of nitrogen each.
const QList<Salt> &salts()
{
    static const QList<Salt> list = {
        {"Кальциевая селитра", 0.9, {{NitrateN, 14.4}, {CaO, 26.5}}, NitrogenForm::Nitrate},
        {"Калиевая селитра", 0.5, {{NitrateN, 13.85}, {K2O, 46.58}}, NitrogenForm::Nitrate},
        {"Монофосфат калия", 0.2, {{P2O5, 52.15}, {K2O, 34.61}}, NitrogenForm::Nitrate},
        {"Моноаммонийфосфат", 0.05, {{AmmoniumN, 12.18}, {P2O5, 61.7}}, NitrogenForm::Ammonium},
        {"Сульфат калия", 0.1, {{K2O, 54.06}, {SO3, 45.94}}, NitrogenForm::Nitrate},
        {"Сульфат магния", 0.5, {{MgO, 16.35}, {SO3, 32.48}}, NitrogenForm::Nitrate},
    };
    return list;
}

Recipe typed(ElementLine (*line)(const Row &))
{
    Recipe recipe;
    for (const Salt &s : salts()) {
        Fertilizer f{QString::fromUtf8(s.name), s.grams, {}, s.plainNitrogen};
        for (const Row &r : s.rows)
            f.composition.append(line(r));
        recipe.fertilizers.append(f);
    }
    return recipe;
}


} // namespace

// Label forms count through the element they yield: the same salts typed as elements give the
// same ions, EC and pH.
TEST(IonMakeUp, LabelFormsGiveTheIonsOfTheirElements)
{
    const Analysis labels = analyse(typed(asLabel));
    const Analysis elements = analyse(typed(asElement));
    for (std::size_t i = 0; i < ComponentCount; ++i)
        EXPECT_NEAR(labels.recipe.totals[i], elements.recipe.totals[i], 1e-12) << i;
    ASSERT_EQ(labels.ions.size(), elements.ions.size());
    for (int i = 0; i < labels.ions.size(); ++i) {
        SCOPED_TRACE(ionKey(labels.ions[i].ion).toStdString());
        EXPECT_EQ(labels.ions[i].ion, elements.ions[i].ion);
        EXPECT_NEAR(labels.ions[i].mmol, elements.ions[i].mmol, 1e-12);
    }
    EXPECT_NEAR(labels.solution.conductivity.ec, elements.solution.conductivity.ec, 1e-12);
    EXPECT_NEAR(labels.solution.ph, elements.solution.ph, 1e-9);
    EXPECT_TRUE(labels.recipe.unmapped.isEmpty());
    // Every element as the run computes it: percent × 10 × grams × factor.
    EXPECT_NEAR(labels.elements.value(QStringLiteral("Ca")), 0.9 * 265 * 0.7147, 1e-9);
    EXPECT_NEAR(labels.elements.value(QStringLiteral("N")),
                0.9 * 144 + 0.5 * 138.5 + 0.05 * 121.8, 1e-9);
}

// Plain N takes the fertilizer's form: nitrate, ammonium, or urea, which carries no charge. The
// salt is NH4Cl's make-up (20 % N, 50.62 % Cl), so that ammonium has its anion; as nitrate or
// urea it is an acid.
TEST(IonMakeUp, PlainNitrogenTakesTheFertilizersForm)
{
    struct Case
    {
        NitrogenForm form;
        Ion ion;
        double perNitrogen; // species per N
    };
    const Case cases[] = {{NitrogenForm::Nitrate, Ion::NO3, 1},
                          {NitrogenForm::Ammonium, Ion::NH4, 1},
                          {NitrogenForm::Urea, Ion::Urea, 0.5}};
    const double nitrogenMmol = 200 / 14.007; // 20 % N at 1 g/L
    for (const Case &c : cases) {
        SCOPED_TRACE(ionKey(c.ion).toStdString());
        Recipe recipe;
        recipe.fertilizers = {{QStringLiteral("Удобрение"), 1, {{"N", 20, {}, 0}, {"Cl", 50.62, {}, 0}}, c.form}};
        const Analysis a = analyse(recipe);
        // At the pH of ammonium chloride, ammonia stays below a thousandth.
        EXPECT_NEAR(at(a.solution.species, c.ion), nitrogenMmol * c.perNitrogen, 1e-3 * nitrogenMmol);
        for (const Ion other : {Ion::NO3, Ion::NH4, Ion::Urea}) {
            if (other != c.ion) {
                EXPECT_EQ(at(a.solution.species, other), 0) << ionKey(other).toStdString();
            }
        }
        EXPECT_NEAR(a.elements.value(QStringLiteral("N")), 200, 1e-9);
        EXPECT_NEAR(*a.ratios.ammoniumShare, c.form == NitrogenForm::Ammonium ? 100 : 0, 0.1);
    }
}

// An element no form stands for is listed with what it amounts to, never dropped; a label form
// without a coefficient is one of them.
TEST(IonMakeUp, UnmappedSymbolsAreListed)
{
    Recipe recipe;
    recipe.fertilizers = {{QStringLiteral("Селенат"), 0.5, {{"Se", 2, {}, 0}, {"K", 30, {}, 0}, {"Se", 1, {}, 0}}, NitrogenForm::Nitrate},
                          {QStringLiteral("Без коэффициента"), 1, {{"K2O", 50, {}, 0}}, NitrogenForm::Nitrate}};
    recipe.water.elements = {{"Sr", 0.3, {}, 0}, {" Ca ", 40, {}, 0}};
    const Analysis a = analyse(recipe);
    struct Expected
    {
        const char *symbol, *source;
        double mg;
    };
    const Expected expected[] = {{"Se", "Селенат", 15}, {"K2O", "Без коэффициента", 500}, {"Sr", "Вода", 0.3}};
    ASSERT_EQ(a.recipe.unmapped.size(), std::size(expected));
    for (int i = 0; i < a.recipe.unmapped.size(); ++i) {
        const Unmapped &u = a.recipe.unmapped[i];
        EXPECT_EQ(u.symbol, QString::fromLatin1(expected[i].symbol));
        EXPECT_EQ(u.source, QString::fromUtf8(expected[i].source));
        EXPECT_NEAR(u.mg, expected[i].mg, 1e-12);
    }
    EXPECT_NEAR(a.elements.value(QStringLiteral("K")), 150, 1e-9);
    EXPECT_NEAR(a.elements.value(QStringLiteral("Ca")), 40, 1e-9);
}

// The ratios a grower reads, on Hoagland No. 2 typed as a water.
TEST(IonMakeUp, Ratios)
{
    Recipe recipe;
    recipe.water.elements = {{"N-NO3", 14 * 14.007, {}, 0}, {"N-NH4", 14.007, {}, 0}, {"P", 30.974, {}, 0},
                             {"K", 6 * 39.098, {}, 0},      {"Ca", 4 * 40.078, {}, 0}, {"Mg", 2 * 24.305, {}, 0},
                             {"S", 2 * 32.06, {}, 0}};
    const Analysis a = analyse(recipe);
    EXPECT_NEAR(*a.ratios.ammoniumShare, 100.0 / 15, 1e-9);
    EXPECT_NEAR(*a.ratios.potassiumPerNitrogen, 6 * 39.098 / (15 * 14.007), 1e-9);
    EXPECT_NEAR(a.ratios.potassiumMeq, 6, 1e-9);
    EXPECT_NEAR(a.ratios.calciumMeq, 8, 1e-9);
    EXPECT_NEAR(a.ratios.magnesiumMeq, 4, 1e-9);
    // No nitrogen, no share to state.
    recipe.water.elements = {{"K", 39.098, {}, 0}, {"Cl", 35.45, {}, 0}};
    EXPECT_FALSE(analyse(recipe).ratios.ammoniumShare.has_value());
}

// The ions listed: every form present, cations before anions before neutral species, the sums
// those of the rows, and a minor species only where it holds 0.1 % of its form.
TEST(IonMakeUp, IonListFollowsTheSpecies)
{
    Recipe recipe = typed(asLabel);
    recipe.water = asWater(standardSolutions().first());
    recipe.water.hco3 = 122;
    recipe.water.ph = 7.2;
    const Analysis a = analyse(recipe);
    double cations = 0;
    double anions = 0;
    int lastSide = 1;
    for (const IonRow &row : a.ions) {
        SCOPED_TRACE(ionKey(row.ion).toStdString());
        const int z = ionData(row.ion).charge;
        const int side = z > 0 ? 1 : z < 0 ? 2 : 3;
        EXPECT_GE(side, lastSide);
        lastSide = side;
        (z > 0 ? cations : anions) += row.meq;
        EXPECT_GT(row.mmol, 0);
        EXPECT_NEAR(row.meq, row.mmol * std::abs(z), 1e-12);
    }
    EXPECT_NEAR(cations, a.balance.cations, 1e-3 * a.balance.cations);
    EXPECT_NEAR(anions, a.balance.anions, 1e-3 * a.balance.anions);
    const auto listed = [&a](Ion ion) {
        return std::any_of(a.ions.begin(), a.ions.end(), [ion](const IonRow &r) { return r.ion == ion; });
    };
    for (const Ion ion : {Ion::NO3, Ion::NH4, Ion::H2PO4, Ion::HPO4, Ion::SO4, Ion::HCO3, Ion::CO2,
                          Ion::FeChelate, Ion::H3BO3, Ion::MoO4})
        EXPECT_TRUE(listed(ion)) << ionKey(ion).toStdString();
    for (const Ion ion : {Ion::H, Ion::OH, Ion::PO4, Ion::CaSO4})
        EXPECT_FALSE(listed(ion)) << ionKey(ion).toStdString();
}

// A water report that leaves out an ion (here its 1 meq/L of Na) does not balance: its gap, seen
// at the measured pH, is carried as charge of its own, so that it turns neither the water nor a
// recipe on it into an acid. Without a measured pH nothing can be carried. (The carbonate comes
// from the water's alkalinity in concentrations, its species in activities: a full report still
// shows a few hundredths of a meq/L.)
TEST(IonMakeUp, WaterReportMissingAnIon)
{
    Water full;
    full.elements = {{"Ca", 60.1, {}, 0}, {"Mg", 12.15, {}, 0}, {"Na", 23.0, {}, 0}, {"Cl", 35.45, {}, 0}};
    full.hco3 = 4 * 61.017;
    full.ph = 7.5;
    Water missing = full;
    missing.elements.removeAt(2);
    Water unmeasured = missing;
    unmeasured.ph.reset();
    struct Case
    {
        const char *name;
        Water water;
        double charge;        // meq/L carried
        double reportGap;     // the report's own cations − anions
    };
    const Case cases[] = {{"full", full, 0, 0}, {"missing Na", missing, 1, -1}, {"no pH", unmeasured, 0, -1}};
    for (const bool withSalts : {false, true}) {
        Recipe reference = withSalts ? typed(asLabel) : Recipe{};
        reference.water = full;
        const double ph = analyse(reference).solution.ph;
        if (!withSalts) {
            EXPECT_NEAR(ph, 7.5, 0.05);
        }
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (withSalts ? ", with salts" : ""));
            Recipe recipe = reference;
            recipe.water = c.water;
            const Analysis a = analyse(recipe);
            EXPECT_NEAR(a.recipe.waterCharge, c.charge, 0.04);
            EXPECT_NEAR(a.waterBalance.difference, c.reportGap, 0.04);
            if (c.water.ph) {
                EXPECT_NEAR(a.solution.ph, ph, 0.05);
            } else if (!withSalts) {
                EXPECT_LT(a.solution.ph, ph - 0.5); // the gap acts as acid
            }
        }
    }
}

TEST(IonMakeUp, NegativeOrMissingFiguresAreRefusedByName)
{
    const auto withFertilizer = [](double grams, double percent, double factor) {
        return [=] {
            Recipe r;
            r.fertilizers = {{QStringLiteral("Калиевая селитра"), grams, {{"K2O", percent, "K", factor}}, NitrogenForm::Nitrate}};
            analyse(r);
        };
    };
    const auto withWater = [](double mg, double hco3, std::optional<double> ph) {
        return [=] {
            Recipe r;
            r.water = {{{"Ca", mg, {}, 0}}, hco3, ph};
            analyse(r);
        };
    };
    const std::pair<std::function<void()>, const char *> cases[] = {
        {withFertilizer(-1, 46, 0.83), "«Калиевая селитра», г/л: число -1 меньше нуля"},
        {withFertilizer(1, -46, 0.83), "«Калиевая селитра», K2O, %: число -46 меньше нуля"},
        {withFertilizer(1, std::nan(""), 0.83), "«Калиевая селитра», K2O, %: не число"},
        {withFertilizer(1, 46, -0.83), "«Калиевая селитра», K2O, коэффициент"},
        {withWater(-40, 0, {}), "Вода, Ca, мг/л: число -40 меньше нуля"},
        {withWater(40, -1, {}), "Вода, HCO3, мг/л"},
        {withWater(40, 100, 15), "pH воды: число 15, а должно быть от 0 до 14"},
    };
    for (const auto &[call, text] : cases)
        EXPECT_THAT(errorOf(call), testing::StartsWith(text));
}
