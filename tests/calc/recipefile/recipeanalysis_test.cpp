#include "recipefiletestdata.h"

#include "calc/calcdatatest.h"
#include "calc/recipefile/recipeanalysis.h"
#include "calc/run/engine.h"
#include "data/fields.h"

#include <gtest/gtest.h>

namespace {

// The calculator's engine on a fresh default base beside the file's own arithmetic.
class RecipeAnalysisTest : public CalcDataTest
{
protected:
    void SetUp() override
    {
        engine.installHooks();
        CalcDataTest::SetUp();
    }

    // "Расчёт от %" of the selected crop's target rows, by element symbol.
    QHash<QString, double> atPercentage()
    {
        QHash<QString, double> out;
        Dataset &t = f4().ADOTable2;
        for (t.first(); !t.eof(); t.next())
            out[t.asString(Fields::name_el)] = t.asFloat(Fields::r_pr);
        return out;
    }

    FakeInputs view;
    ConcentrationEngine engine{data, view};
};

} // namespace

// The example's fertilizers are the default base's, so the calculator computes the same elements
// from its own rows: the file's elements (without the water) are the figures of "Расчёт от %",
// at any percentage.
TEST_F(RecipeAnalysisTest, ElementsAreTheCalculatorsFiguresAtThePercentage)
{
    RecipeFile::Recipe recipe = RecipeFile::read(RecipeFileTestData::example());
    for (const RecipeFile::Fertilizer &f : recipe.fertilizers)
        addToComposition(f.name, f.gramsPerLitre);
    for (const int p : {100, 80, 35, 250}) {
        SCOPED_TRACE(p);
        view.p = p;
        engine.runComposition();
        const QHash<QString, double> calculator = atPercentage();
        recipe.percentage = p;
        const RecipeFile::Analysis a = RecipeFile::analyse(recipe);
        ASSERT_EQ(a.elements.size(), calculator.size());
        int carried = 0;
        for (const RecipeFile::ElementAmount &e : a.elements) {
            SCOPED_TRACE(e.symbol.toStdString());
            ASSERT_TRUE(calculator.contains(e.symbol));
            EXPECT_DOUBLE_EQ(e.fertilizers, calculator.value(e.symbol));
            carried += e.fertilizers > 0;
        }
        EXPECT_EQ(carried, p > 0 ? 7 : 0) << "N, P, K, Ca, Mg, S and Fe";
    }
}

// The water adds its own mg/L to the elements (a label form through its coefficient), and its
// bicarbonate brings the acid dose; without bicarbonate there is nothing to dose.
TEST(RecipeAnalysis, WaterAddsToTheElementsAndBicarbonateBringsTheDose)
{
    RecipeFile::Recipe recipe = RecipeFile::read(RecipeFileTestData::example());
    const RecipeFile::Analysis with = RecipeFile::analyse(recipe);
    recipe.water->milligramsPerLitre = {{QStringLiteral("CaO"), 56.0}};
    const double hco3 = *recipe.water->hco3;
    const RecipeFile::Analysis oxide = RecipeFile::analyse(recipe);
    recipe.water.reset();
    const RecipeFile::Analysis without = RecipeFile::analyse(recipe);
    for (qsizetype i = 0; i < with.elements.size(); ++i) {
        const QString symbol = with.elements.at(i).symbol;
        SCOPED_TRACE(symbol.toStdString());
        EXPECT_EQ(with.elements.at(i).fertilizers, without.elements.at(i).fertilizers);
        EXPECT_EQ(without.elements.at(i).water, 0);
        // CaO 56 mg/L is 56 × 0.7147 mg/L of Ca.
        EXPECT_NEAR(oxide.elements.at(i).water, symbol == QStringLiteral("Ca") ? 56 * 0.7147 : 0, 1e-12);
    }
    ASSERT_TRUE(with.chemistry.acid);
    EXPECT_EQ(with.chemistry.acid->element, QStringLiteral("N"));
    EXPECT_LT(with.chemistry.acid->hco3Left, hco3);
    EXPECT_FALSE(without.chemistry.acid);
}
