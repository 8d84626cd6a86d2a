#include "calc/calcdatatest.h"
#include "calc/run/concentration.h"
#include "calc/run/engine.h"
#include "calc/run/workingcomposition.h"
#include "calc/solver/solversource.h"
#include "data/basequeries.h"
#include "data/fields.h"
#include "support/readmerecipe.h"

#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------- plain values

// A made-up fertilizer: 15 % N directly, 20 % P2O5 counting towards P (0.4364), 8 % Ca whose
// coefficient yields Mg (0.25).
const QList<CompositionRow> Made = {{1, 15, 0, 0}, {13, 20, 2, 0.4364}, {4, 8, 5, 0.25}};

TEST(ConcentrationFunction, SumsEveryMatchThenRoundsToFourPlaces)
{
    const QList<Concentration::Target> targets = {{1, 200, 210}, {2, 50, 50}, {4, 150, 140},
                                                  {5, 40, 45},   {7, 2, 2},   {1, 200, 210}};
    const struct
    {
        const char *what;
        QList<Concentration::Fertilizer> recipe;
        QList<double> mgPerLitre; // per target row, by hand
    } cases[] = {
        {"nothing", {}, {0, 0, 0, 0, 0, 0}},
        {"1.5 g/L", {{1.5, 700, Made}}, {225, 130.92, 120, 30, 0, 225}},
        // 0.123457 g/L: N 18.51855, P 10.775325..., Ca 9.87656, Mg 2.46914; rounded to 4 places.
        {"an amount with six decimals", {{0.123457, 700, Made}}, {18.5186, 10.7753, 9.8766, 2.4691, 0, 18.5186}},
        {"the same fertilizer twice adds up", {{1, 700, Made}, {0.5, 700, Made}}, {225, 130.92, 120, 30, 0, 225}},
    };
    for (const auto &c : cases) {
        const QList<double> got = Concentration::concentrations(c.recipe, targets);
        ASSERT_EQ(got.size(), targets.size()) << c.what;
        for (int i = 0; i < got.size(); ++i)
            EXPECT_DOUBLE_EQ(got.at(i), c.mgPerLitre.at(i)) << c.what << ", row " << i;
    }
}

// The options decide which totals are summed, in this one place; the sums follow the percentage.
TEST(ConcentrationFunction, TheOptionsDecideTheTotals)
{
    const QList<Concentration::Fertilizer> recipe = {{1.5, 700, Made}, {0.8, 500, {}}};
    const QList<Concentration::Target> targets = {{1, 200, 210}, {2, 50, 60}};
    const struct
    {
        SaltOptions options;
        double concentration, vegetative, ppm, ppmAt50;
    } cases[] = {
        {{true, true}, 225 + 130.92, 100 + 25, 1450, 725},
        {{false, true}, 0, 0, 1450, 725},
        {{true, false}, 225 + 130.92, 100 + 25, 0, 0},
        {{false, false}, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        const Concentration::Result r = Concentration::run(recipe, targets, 50, c.options);
        EXPECT_DOUBLE_EQ(r.totals.concentration, c.concentration);
        EXPECT_DOUBLE_EQ(r.totals.concentrationAtPercentage, c.concentration / 2);
        EXPECT_DOUBLE_EQ(r.totals.vegetativeTargets, c.vegetative);
        EXPECT_DOUBLE_EQ(r.totals.floweringTargets, c.vegetative == 0 ? 0 : 105 + 30);
        EXPECT_DOUBLE_EQ(r.totals.ppm, c.ppm);
        EXPECT_DOUBLE_EQ(r.totals.ppmAtPercentage, c.ppmAt50);
        EXPECT_EQ(r.concentrations, (QList<double>{225, 130.92})) << "the options leave the figures";
    }
}

// ---------------------------------------------------------------- against the run

class Inputs : public CalculationInputs
{
public:
    int percentage() const override { return p; }
    double litres() const override { return 0; }
    int p = 100;
};

// The default base with its own crops: the README's seedling feed and a micro recipe on the
// seedling crop, run by the engine at several percentages with the options on and off.
class ConcentrationRunTest : public CalcDataTest
{
protected:
    ConcentrationRunTest() : CalcDataTest(FreshBase::Crops::Default) {}

    void SetUp() override
    {
        engine.installHooks();
        CalcDataTest::SetUp();
    }

    void setOptions(SaltOptions o)
    {
        Dataset &opt = data.form18.ADOTable1;
        opt.edit();
        opt.setValue(Fields::ppm1, o.targetTotals);
        opt.setValue(Fields::ppm2, o.ppmTotals);
        opt.post();
    }

    // What the pure function makes of the file's working composition and the crop's targets.
    Concentration::Result fromTheFile(int crop, SaltOptions options)
    {
        BaseQueries q(data.ADOConnection1);
        QList<Concentration::Fertilizer> recipe;
        QList<int> ids;
        const QList<BaseRows::RecipeLine> lines = q.workingComposition();
        for (const BaseRows::RecipeLine &line : lines)
            ids.append(*line.fertilizer);
        const QHash<int, QList<CompositionRow>> compositions = readCompositions(data.ADOConnection1, ids);
        for (const BaseRows::RecipeLine &line : lines)
            recipe.append({line.grams, double(line.ppm), compositions.value(*line.fertilizer)});
        QList<Concentration::Target> targets;
        const BaseRows::Crop stored = q.crop(crop).value();
        for (const BaseRows::Target &t : stored.targets)
            targets.append({t.element, t.vega, t.cvet});
        return Concentration::run(recipe, targets, inputs.p, options);
    }

    Inputs inputs;
    ConcentrationEngine engine{data, inputs};
};

void expectSameTotals(const SaltTotals &a, const SaltTotals &b, const std::string &what)
{
    EXPECT_EQ(a.concentration, b.concentration) << what;
    EXPECT_EQ(a.concentrationAtPercentage, b.concentrationAtPercentage) << what;
    EXPECT_EQ(a.vegetativeTargets, b.vegetativeTargets) << what;
    EXPECT_EQ(a.floweringTargets, b.floweringTargets) << what;
    EXPECT_EQ(a.ppm, b.ppm) << what;
    EXPECT_EQ(a.ppmAtPercentage, b.ppmAtPercentage) << what;
}

TEST_F(ConcentrationRunTest, ThePureFunctionAndTheSolverGiveWhatTheRunStores)
{
    QList<ReadmeRecipe::Amount> micro = {{QStringLiteral("Хелат железа Fe-EDTA 13%"), "0.02"},
                                         {QStringLiteral("Борная кислота"), "0.003"},
                                         {QStringLiteral("Сульфат марганца (1-водный)"), "0.0017"},
                                         {QStringLiteral("Комплекс микроэлементов (хелаты)"), "0.04"},
                                         {QStringLiteral("Молибдат натрия (2-водный)"), "0.00013"}};
    const struct
    {
        const char *name;
        QList<ReadmeRecipe::Amount> amounts;
    } recipes[] = {{"README", ReadmeRecipe::amounts()}, {"micro", micro}};
    const SaltOptions options[] = {{true, true}, {false, true}, {true, false}, {false, false}};

    selectCrop(ReadmeRecipe::Crop);
    const int crop = f4().ADOTable3.asInteger(Fields::id_kult);
    for (const auto &recipe : recipes) {
        WorkingComposition(f4()).clear();
        for (const ReadmeRecipe::Amount &a : recipe.amounts)
            addToComposition(a.fertilizer, QString::fromLatin1(a.grams).toDouble());
        for (const int percentage : {100, 65, 140}) {
            for (const SaltOptions o : options) {
                const std::string what = std::string(recipe.name) + " at " + std::to_string(percentage)
                                         + "%, ppm1 " + std::to_string(o.targetTotals) + ", ppm2 "
                                         + std::to_string(o.ppmTotals);
                setOptions(o);
                inputs.p = percentage;
                f4().T_rachet.refresh();
                const SaltTotals run = engine.runComposition();
                const std::optional<BaseRows::Crop> stored = BaseQueries(data.ADOConnection1).crop(crop);
                const Concentration::Result pure = fromTheFile(crop, o);
                ASSERT_EQ(pure.concentrations.size(), stored->targets.size()) << what;
                int carried = 0;
                for (int i = 0; i < pure.concentrations.size(); ++i) {
                    EXPECT_EQ(pure.concentrations.at(i), stored->targets.at(i).computed.value_or(-1))
                        << what << ", " << stored->targets.at(i).symbol.toStdString();
                    carried += pure.concentrations.at(i) > 0;
                }
                EXPECT_GE(carried, 4) << what << ": a recipe that carries elements";
                expectSameTotals(pure.totals, run, what);

                // The solver's prediction from what its source reads, with the options row's
                // choice: the run's figures and totals to the last digit.
                SolverSource source(data);
                SolverProblem p;
                p.fertilizers = source.fertilizers();
                p.elements = source.elements(Stage::Vegetative);
                p.percentage = percentage;
                p.options = source.saltOptions();
                QList<double> amounts;
                for (const SolverProblem::Fertilizer &f : p.fertilizers)
                    amounts.append(f.current);
                const SolverResult predicted = predictComposition(p, amounts);
                for (int i = 0; i < p.elements.size(); ++i)
                    EXPECT_EQ(predicted.elements.at(i).fertilizers, pure.concentrations.at(i)) << what;
                expectSameTotals(predicted.totals, run, what + ", solver");
            }
        }
    }
}

} // namespace
