#include "calc/chemistry/analysis.h"

#include <gtest/gtest.h>

using namespace Chemistry;

namespace {

constexpr double Hco3PerMmol = 61.017;
const AcidProduct Nitric60{AcidKind::Nitric, 60, 1.367};

} // namespace

// Bower and Bates (1955), in the CRC buffer tables: 50 mL of 0.1 mol/L KH2PO4 and x mL of 0.1
// mol/L NaOH made up to 100 mL; the pH estimate within 0.1, its species balanced but for H+, OH-.
TEST(Ph, PhosphateBufferTable)
{
    const std::pair<double, double> table[] = {{3.6, 5.8}, {5.6, 6.0}, {13.9, 6.5},
                                               {29.1, 7.0}, {40.9, 7.5}, {46.1, 8.0}};
    for (const auto &[millilitres, ph] : table) {
        SCOPED_TRACE(millilitres);
        Totals t{};
        at(t, Component::Potassium) = at(t, Component::Phosphate) = 50;
        at(t, Component::Sodium) = millilitres;
        const Speciation s = equilibrate(t, true);
        EXPECT_NEAR(s.ph, ph, 0.1);
        EXPECT_NEAR(balanceOf(s.species).difference, at(s.species, Ion::OH) - at(s.species, Ion::H), 1e-9);
    }
}

// Whipker et al.'s closed-system figures, meq/L of H+ from the water's pH to each target within
// 0.005; the simple form without the water's pH close to them; and what is left of the
// alkalinity is HCO3- (CO3 2-, OH- and H+ are traces there).
TEST(Acid, NeededAgainstAlkalinityTable)
{
    const double targets[] = {5.5, 5.8, 6.0, 6.5};
    const std::tuple<double, double, std::array<double, 4>> rows[] = {
        {1.0, 7.5, {0.871, 0.767, 0.671, 0.374}},
        {2.0, 7.5, {1.739, 1.531, 1.341, 0.748}},
        {2.0, 8.0, {1.751, 1.554, 1.373, 0.809}}};
    for (const auto &[alkalinity, waterPh, needed] : rows) {
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << alkalinity << " meq/L, pH " << waterPh << " to " << targets[i]);
            EXPECT_NEAR(acidNeeded(alkalinity, waterPh, targets[i]), needed[i], 0.005);
            EXPECT_NEAR(acidNeeded(alkalinity, std::nullopt, targets[i]), needed[i], 0.06 * alkalinity);
            const AcidDose dose = acidDose(Nitric60, alkalinity, waterPh, targets[i]);
            EXPECT_NEAR(dose.hco3Left / Hco3PerMmol, alkalinity - needed[i], 0.006);
        }
    }
    // A water already below the target needs none and keeps its bicarbonate.
    const AcidDose none = acidDose(Nitric60, 1.0, 5.6, 5.8);
    EXPECT_EQ(none.mlPerLitre, 0);
    EXPECT_NEAR(none.hco3Left, Hco3PerMmol, 1e-9);
}

// The commercial acids of the table: mol/L, eq/L of H+ used and what 1 meq/L adds; the dose for
// 2 meq/L of water from pH 7.5 to 5.8 (1.531 meq/L) in mL and g per litre and per 1000 L.
TEST(Acid, CommercialAcidsTable)
{
    const std::tuple<AcidProduct, double, double, double, const char *> rows[] = {
        {{AcidKind::Nitric, 38, 1.235}, 7.45, 7.45, 14.01, "N"},
        {Nitric60, 13.0, 13.0, 14.01, "N"},
        {{AcidKind::Nitric, 65, 1.391}, 14.3, 14.3, 14.01, "N"},
        {{AcidKind::Phosphoric, 75, 1.579}, 12.1, 12.1, 30.97, "P"},
        {{AcidKind::Phosphoric, 85, 1.689}, 14.6, 14.6, 30.97, "P"},
        {{AcidKind::Sulphuric, 96, 1.835}, 18.0, 35.9, 16.03, "S"}};
    for (const auto &[acid, molPerLitre, equivalents, mgPerMeq, element] : rows) {
        SCOPED_TRACE(testing::Message() << element << " " << acid.strengthPercent);
        EXPECT_NEAR(acidMolarity(acid), molPerLitre, 0.005 * molPerLitre + 0.01);
        EXPECT_NEAR(acidEquivalents(acid), equivalents, 0.005 * equivalents + 0.01);
        const AcidDose dose = acidDose(acid, 2.0, 7.5, 5.8);
        EXPECT_NEAR(dose.meq, 1.531, 0.005);
        EXPECT_EQ(dose.element, QString::fromLatin1(element));
        EXPECT_NEAR(dose.elementMg / dose.meq, mgPerMeq, 0.01);
        EXPECT_NEAR(dose.mlPerLitre, dose.meq / equivalents, 0.006 * dose.mlPerLitre);
        EXPECT_DOUBLE_EQ(dose.mlPer1000Litres, dose.mlPerLitre * 1000);
        EXPECT_DOUBLE_EQ(dose.gramsPerLitre, dose.mlPerLitre * acid.density);
        EXPECT_FALSE(dose.limited);
    }
}

// An acid flagged in the base is known by the one acid element it brings, in any form.
TEST(Acid, KindFromTheComposition)
{
    const std::pair<QList<ElementLine>, std::optional<AcidKind>> cases[] = {
        {{{"N-NO3", 13.3, "N", 1}}, AcidKind::Nitric},
        {{{"P2O5", 61.6, "P", 0.4364}}, AcidKind::Phosphoric},
        {{{"S", 31.4, {}, 0}}, AcidKind::Sulphuric},
        {{{"K", 40, {}, 0}}, std::nullopt},
        {{{"N", 10, {}, 0}, {"P", 10, {}, 0}}, std::nullopt}};
    for (const auto &[composition, kind] : cases)
        EXPECT_EQ(acidKindOf(composition), kind) << composition.first().symbol.toStdString();
}

// Phosphoric acid may add no more P than the target allows: the dose stops there and says at
// which pH.
TEST(Acid, DoseCutToTheMostOfItsElement)
{
    const AcidProduct phosphoric{AcidKind::Phosphoric, 85, 1.689};
    const AcidDose full = acidDose(phosphoric, 3.0, 7.5, 5.8);
    for (const double most : {10.0, 30.0, 50.0, full.elementMg + 1}) {
        SCOPED_TRACE(most);
        const AcidDose cut = acidDose(phosphoric, 3.0, 7.5, 5.8, most);
        EXPECT_EQ(cut.limited, most < full.elementMg);
        EXPECT_NEAR(cut.elementMg, std::min(most, full.elementMg), 1e-9);
        EXPECT_NEAR(acidNeeded(3.0, 7.5, cut.ph), cut.meq, 1e-6);
        EXPECT_EQ(cut.ph > 5.8 && cut.ph < 7.5, cut.limited);
    }
}

// The dose put into the recipe as a fertilizer brings its pH estimate to the target; the water
// alone (Ca, Mg bicarbonates with NaCl, 4 meq/L of alkalinity) estimates its measured pH.
TEST(Acid, DoseInTheRecipeReachesTheTarget)
{
    const std::pair<AcidProduct, ElementLine> acids[] = {
        {Nitric60, {"N-NO3", 60 * 14.007 / 63.012, "N", 1}},
        {{AcidKind::Sulphuric, 96, 1.835}, {"S", 96 * 32.06 / 98.072, {}, 0}}};
    Recipe water;
    water.water = {{{"Ca", 60.1, {}, 0}, {"Mg", 12.15, {}, 0}, {"Na", 23.0, {}, 0}, {"Cl", 35.45, {}, 0}},
                   4 * Hco3PerMmol, 7.5};
    EXPECT_NEAR(analyse(water).solution.ph, 7.5, 0.1);
    for (const auto &[acid, line] : acids) {
        for (const double target : {5.5, 5.8, 6.0, 6.5}) {
            SCOPED_TRACE(testing::Message() << line.symbol.toStdString() << " to " << target);
            Recipe recipe = water;
            const double grams = acidDose(acid, 4.0, 7.5, target).gramsPerLitre;
            recipe.fertilizers.append({QStringLiteral("Кислота"), grams, {line}, NitrogenForm::Nitrate});
            EXPECT_NEAR(analyse(recipe).solution.ph, target, 0.1);
        }
    }
}

TEST(Alkalinity, UnitConversions)
{
    const std::tuple<double, AlkalinityUnit, double> rows[] = {
        {61.02, AlkalinityUnit::Hco3, 1.0},    {244, AlkalinityUnit::Hco3, 4.0},
        {50.04, AlkalinityUnit::CaCo3, 1.0},   {200, AlkalinityUnit::CaCo3, 3.997},
        {1, AlkalinityUnit::GermanDkh, 0.3566}, {10, AlkalinityUnit::GermanDkh, 3.566},
        {2.5, AlkalinityUnit::Meq, 2.5}};
    for (const auto &[value, unit, meq] : rows) {
        SCOPED_TRACE(testing::Message() << value << " in unit " << int(unit));
        EXPECT_NEAR(alkalinityToMeq(value, unit), meq, 0.0015 * meq);
        EXPECT_NEAR(alkalinityFromMeq(alkalinityToMeq(value, unit), unit), value, 1e-12 * value);
    }
    // One German degree is 17.848 mg/L of CaCO3.
    EXPECT_NEAR(alkalinityFromMeq(alkalinityToMeq(1, AlkalinityUnit::GermanDkh), AlkalinityUnit::CaCo3), 17.848, 1e-9);
}
