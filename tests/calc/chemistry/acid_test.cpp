#include "calc/chemistry/acid.h"
#include "calc/chemistry/analysis.h"

#include "support/errorof.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace Chemistry;

namespace {

constexpr double Hco3PerMmol = 61.017;

Totals phosphateBuffer(double sodiumHydroxideMl)
{
    // 50 mL of 0.1 mol/L KH2PO4 and x mL of 0.1 mol/L NaOH made up to 100 mL.
    Totals t{};
    at(t, Component::Potassium) = 50;
    at(t, Component::Phosphate) = 50;
    at(t, Component::Sodium) = sodiumHydroxideMl;
    return t;
}

} // namespace

// Bower and Bates (1955), in the CRC buffer tables: the pH estimate within 0.1.
TEST(Ph, PhosphateBufferTable)
{
    const std::pair<double, double> table[] = {{3.6, 5.8},   {5.6, 6.0},   {13.9, 6.5},
                                               {29.1, 7.0},  {40.9, 7.5},  {46.1, 8.0}};
    for (const auto &[millilitres, ph] : table) {
        SCOPED_TRACE(millilitres);
        const Speciation s = equilibrate(phosphateBuffer(millilitres), true);
        EXPECT_NEAR(s.ph, ph, 0.1);
        EXPECT_NEAR(balanceOf(s.species).difference,
                    at(s.species, Ion::OH) - at(s.species, Ion::H), 1e-9);
    }
}

// Whipker et al.'s closed-system figures: meq/L of H+ from the water's pH to each target.
TEST(Acid, NeededAgainstAlkalinityTable)
{
    struct Row
    {
        double alkalinity, waterPh;
        double needed[4]; // to pH 5.5, 5.8, 6.0, 6.5
    };
    const double targets[] = {5.5, 5.8, 6.0, 6.5};
    const Row rows[] = {{1.0, 7.5, {0.871, 0.767, 0.671, 0.374}},
                        {2.0, 7.5, {1.739, 1.531, 1.341, 0.748}},
                        {2.0, 8.0, {1.751, 1.554, 1.373, 0.809}}};
    for (const Row &r : rows) {
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << r.alkalinity << " meq/L, pH " << r.waterPh << " to " << targets[i]);
            EXPECT_NEAR(acidNeeded(r.alkalinity, r.waterPh, targets[i]), r.needed[i], 0.005);
            // Without the water's pH the simple form stays close.
            EXPECT_NEAR(acidNeeded(r.alkalinity, std::nullopt, targets[i]), r.needed[i],
                        0.06 * r.alkalinity);
            // What the acid leaves of the alkalinity is HCO3-: CO3 2-, OH- and H+ are traces there.
            const AcidDose dose = acidDose({AcidKind::Nitric, 60, 1.367}, r.alkalinity, r.waterPh,
                                           targets[i]);
            EXPECT_NEAR(dose.hco3Left / Hco3PerMmol, r.alkalinity - r.needed[i], 0.006);
        }
    }
    // A water already below the target needs none, and keeps its bicarbonate.
    const AcidDose none = acidDose({AcidKind::Nitric, 60, 1.367}, 1.0, 5.6, 5.8);
    EXPECT_EQ(none.meq, 0);
    EXPECT_EQ(none.mlPerLitre, 0);
    EXPECT_NEAR(none.hco3Left, Hco3PerMmol, 1e-9);
}

// The commercial acids: mol/L, eq/L of H+ used, what 1 meq/L adds, and the dose in mL.
TEST(Acid, CommercialAcidsTable)
{
    struct Row
    {
        AcidProduct acid;
        double molPerLitre, equivalents, mgPerMeq;
        const char *element;
    };
    const Row rows[] = {{{AcidKind::Nitric, 38, 1.235}, 7.45, 7.45, 14.01, "N"},
                        {{AcidKind::Nitric, 60, 1.367}, 13.0, 13.0, 14.01, "N"},
                        {{AcidKind::Nitric, 65, 1.391}, 14.3, 14.3, 14.01, "N"},
                        {{AcidKind::Phosphoric, 75, 1.579}, 12.1, 12.1, 30.97, "P"},
                        {{AcidKind::Phosphoric, 85, 1.689}, 14.6, 14.6, 30.97, "P"},
                        {{AcidKind::Sulphuric, 96, 1.835}, 18.0, 35.9, 16.03, "S"}};
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.element << " " << r.acid.strengthPercent);
        EXPECT_NEAR(acidMolarity(r.acid), r.molPerLitre, 0.005 * r.molPerLitre + 0.01);
        EXPECT_NEAR(acidEquivalents(r.acid), r.equivalents, 0.005 * r.equivalents + 0.01);
        // 2 meq/L of water from pH 7.5 to 5.8 needs 1.531 meq/L of H+.
        const AcidDose dose = acidDose(r.acid, 2.0, 7.5, 5.8);
        EXPECT_NEAR(dose.meq, 1.531, 0.005);
        EXPECT_EQ(dose.element, QString::fromLatin1(r.element));
        EXPECT_NEAR(dose.elementMg / dose.meq, r.mgPerMeq, 0.01);
        EXPECT_NEAR(dose.mlPerLitre, dose.meq / r.equivalents, 0.006 * dose.mlPerLitre);
        EXPECT_DOUBLE_EQ(dose.mlPer1000Litres, dose.mlPerLitre * 1000);
        EXPECT_DOUBLE_EQ(dose.gramsPerLitre, dose.mlPerLitre * r.acid.density);
        EXPECT_FALSE(dose.limited);
        EXPECT_EQ(dose.ph, 5.8);
    }
}

// Phosphoric acid may not add more P than the target allows: the dose stops there, and says at
// which pH.
TEST(Acid, DoseCutToTheMostOfItsElement)
{
    const AcidProduct phosphoric{AcidKind::Phosphoric, 85, 1.689};
    const AcidDose full = acidDose(phosphoric, 3.0, 7.5, 5.8);
    for (const double most : {10.0, 30.0, 50.0}) {
        SCOPED_TRACE(most);
        const AcidDose cut = acidDose(phosphoric, 3.0, 7.5, 5.8, most);
        ASSERT_TRUE(cut.limited);
        EXPECT_NEAR(cut.elementMg, most, 1e-9);
        EXPECT_LT(cut.meq, full.meq);
        EXPECT_GT(cut.ph, 5.8);
        EXPECT_LT(cut.ph, 7.5);
        EXPECT_NEAR(acidNeeded(3.0, 7.5, cut.ph), cut.meq, 1e-6);
        EXPECT_GT(cut.hco3Left, full.hco3Left);
    }
    const AcidDose enough = acidDose(phosphoric, 3.0, 7.5, 5.8, full.elementMg + 1);
    EXPECT_FALSE(enough.limited);
    EXPECT_DOUBLE_EQ(enough.meq, full.meq);
}

// A dose put into the recipe as a fertilizer brings the solution's pH estimate to the target.
TEST(Acid, DoseInTheRecipeReachesTheTarget)
{
    struct Case
    {
        AcidProduct acid;
        QList<ElementLine> composition; // % by mass of the product
    };
    const Case cases[] = {
        {{AcidKind::Nitric, 60, 1.367}, {{"N-NO3", 60 * 14.007 / 63.012, "N", 1}}},
        {{AcidKind::Sulphuric, 96, 1.835}, {{"S", 96 * 32.06 / 98.072, {}, 0}}},
    };
    // A water of Ca(HCO3)2 and Mg(HCO3)2 with Na and Cl, 4 meq/L of alkalinity.
    Water water;
    water.elements = {{"Ca", 60.1, {}, 0}, {"Mg", 12.15, {}, 0}, {"Na", 23.0, {}, 0}, {"Cl", 35.45, {}, 0}};
    water.hco3 = 4 * Hco3PerMmol;
    water.ph = 7.5;
    for (const Case &c : cases) {
        for (const double target : {5.5, 5.8, 6.0, 6.5}) {
            SCOPED_TRACE(testing::Message() << c.composition.first().symbol.toStdString() << " to " << target);
            const AcidDose dose = acidDose(c.acid, 4.0, 7.5, target);
            Recipe recipe;
            recipe.water = water;
            recipe.fertilizers.append({QStringLiteral("Кислота"), dose.gramsPerLitre, c.composition,
                                       NitrogenForm::Nitrate});
            const Analysis a = analyse(recipe);
            EXPECT_NEAR(a.solution.ph, target, 0.1);
            // Untouched, the water's own estimate is its measured pH.
            recipe.fertilizers.clear();
            EXPECT_NEAR(analyse(recipe).solution.ph, 7.5, 0.1);
        }
    }
}

TEST(Alkalinity, UnitConversions)
{
    struct Row
    {
        double value;
        AlkalinityUnit unit;
        double meq;
    };
    const Row rows[] = {{61.02, AlkalinityUnit::Hco3, 1.0},      {244, AlkalinityUnit::Hco3, 4.0},
                        {50.04, AlkalinityUnit::CaCo3, 1.0},     {200, AlkalinityUnit::CaCo3, 3.997},
                        {1, AlkalinityUnit::GermanDkh, 0.3566},  {10, AlkalinityUnit::GermanDkh, 3.566},
                        {2.5, AlkalinityUnit::Meq, 2.5}};
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << " unit " << int(r.unit));
        EXPECT_NEAR(alkalinityToMeq(r.value, r.unit), r.meq, 0.0015 * r.meq);
        EXPECT_NEAR(alkalinityFromMeq(alkalinityToMeq(r.value, r.unit), r.unit), r.value, 1e-12 * r.value);
    }
    // One German degree is 17.848 mg/L of CaCO3.
    EXPECT_NEAR(alkalinityFromMeq(alkalinityToMeq(1, AlkalinityUnit::GermanDkh), AlkalinityUnit::CaCo3),
                17.848, 1e-9);
}

TEST(Acid, FiguresOutsideTheirRangeAreRefusedByName)
{
    struct Case
    {
        const char *name;
        std::function<void()> call;
        const char *names;
    };
    const Case cases[] = {
        {"strength 0", [] { acidMolarity({AcidKind::Nitric, 0, 1.367}); }, "Крепость кислоты"},
        {"strength 120", [] { acidMolarity({AcidKind::Nitric, 120, 1.367}); }, "Крепость кислоты"},
        {"density 0", [] { acidMolarity({AcidKind::Nitric, 60, 0}); }, "Плотность кислоты"},
        {"density NaN", [] { acidMolarity({AcidKind::Nitric, 60, std::nan("")}); }, "Плотность кислоты"},
        {"target pH 15", [] { acidNeeded(1, 7.5, 15); }, "Целевой pH"},
        {"water pH -1", [] { acidNeeded(1, -1, 5.8); }, "pH воды"},
        {"alkalinity -1", [] { acidNeeded(-1, 7.5, 5.8); }, "Щёлочность воды"},
    };
    for (const Case &c : cases)
        EXPECT_THAT(errorOf(c.call), testing::StartsWith(c.names)) << c.name;
}
