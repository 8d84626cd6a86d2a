// The ion view's inputs read from the base: by element symbol, so a base numbering its elements
// and fertilizers otherwise gives the same ions; the nitrogen form and the acids from the
// properties rows; rows the recipe cannot use counted, never dropped in silence.

#include "calc/ions/ioninputs.h"
#include "data/basequeries.h"
#include "data/connection.h"
#include "support/freshbase.h"

#include <gtest/gtest.h>

namespace {

class IonInputsTest : public ::testing::Test
{
protected:
    // The fertilizer's key in the base as it is now.
    int idOf(Connection &c, const QString &name)
    {
        const auto f = BaseQueries(c).fertilizerByName(name);
        EXPECT_TRUE(f.has_value()) << name.toStdString();
        return f ? f->id : 0;
    }

    // Potassium nitrate 1 g/L and MKP 0.5 g/L at 50 %, and a fertilizer since deleted.
    Recipe recipe(Connection &c)
    {
        Recipe r;
        r.percentage = 50;
        r.lines = {{idOf(c, QStringLiteral("Калиевая селитра")), QStringLiteral("Калиевая селитра"), 1},
                   {idOf(c, QStringLiteral("Монофосфат калия")), QStringLiteral("Монофосфат калия"), 0.5},
                   {QVariant(99999), QString(), 2}};
        return r;
    }

    FreshBase base;
};

TEST_F(IonInputsTest, ABaseNumberedOtherwiseGivesTheSameIons)
{
    Chemistry::Analysis plain;
    {
        Connection c(base.basePath());
        int leftOut = 0;
        const Chemistry::Recipe r = IonInputs::recipeOf(c, recipe(c), std::nullopt, &leftOut);
        EXPECT_EQ(leftOut, 1) << "the row whose fertilizer is gone";
        ASSERT_EQ(r.fertilizers.size(), 2);
        EXPECT_DOUBLE_EQ(r.fertilizers[0].grams, 0.5) << "at the recipe's 50 %";
        EXPECT_DOUBLE_EQ(r.fertilizers[1].grams, 0.25);
        plain = Chemistry::analyse(r);
    }
    base.renumberKeys();
    Connection c(base.basePath());
    const Chemistry::Analysis renumbered = Chemistry::analyse(IonInputs::recipeOf(c, recipe(c), std::nullopt));
    // K by hand: 0.5 x 46.58 x 10 x 0.8302 + 0.25 x 34.61 x 10 x 0.8302 = 265.18 mg/L.
    EXPECT_NEAR(plain.elements.value(QStringLiteral("K")), 193.35 + 71.83, 0.02);
    EXPECT_EQ(renumbered.elements, plain.elements);
    EXPECT_EQ(renumbered.solution.conductivity.ec, plain.solution.conductivity.ec);
}

TEST_F(IonInputsTest, NitrogenFormWaterAndAcidsFromTheirRows)
{
    Connection c(base.basePath());
    const int urea = idOf(c, QStringLiteral("Аммиачная селитра"));
    c.exec(QStringLiteral("UPDATE t_svoistva_udobra SET forma_azota = 2 WHERE id_udobra = %1").arg(urea));
    Recipe r;
    r.lines = {{urea, QStringLiteral("Аммиачная селитра"), 1}};
    c.exec(QStringLiteral("INSERT INTO t_voda (id_voda, name_voda, hco3, ph_voda) VALUES (5, 'Скважина', 183.1, 7.4)"));
    c.exec(QStringLiteral("INSERT INTO t_sostav_vody (id_voda, id_element, mg_l) SELECT 5, id_element, 40 "
                          "FROM T_element WHERE Smallname_element = 'Ca'"));
    const Chemistry::Recipe chemistry = IonInputs::recipeOf(c, r, 5);
    ASSERT_EQ(chemistry.fertilizers.size(), 1);
    EXPECT_EQ(chemistry.fertilizers[0].nitrogen, Chemistry::NitrogenForm::Urea);
    EXPECT_EQ(chemistry.water.hco3, 183.1);
    EXPECT_EQ(chemistry.water.ph, 7.4);
    ASSERT_EQ(chemistry.water.elements.size(), 1);
    EXPECT_EQ(chemistry.water.elements[0].symbol, QStringLiteral("Ca"));
    EXPECT_EQ(chemistry.water.elements[0].amount, 40);

    // The default base's four acids, each with what its dose needs; one without a density says so.
    c.exec(QStringLiteral("UPDATE t_svoistva_udobra SET plotnost = NULL WHERE id_udobra = 21"));
    const QList<IonInputs::Acid> acids = IonInputs::acids(c);
    ASSERT_EQ(acids.size(), 4);
    EXPECT_EQ(acids[0].name, QStringLiteral("Азотная кислота 60%"));
    ASSERT_TRUE(acids[0].product.has_value());
    EXPECT_EQ(acids[0].product->kind, Chemistry::AcidKind::Nitric);
    EXPECT_EQ(acids[0].product->strengthPercent, 60);
    ASSERT_TRUE(acids[2].product.has_value());
    EXPECT_EQ(acids[2].product->kind, Chemistry::AcidKind::Phosphoric);
    EXPECT_FALSE(acids[3].product.has_value());
    EXPECT_EQ(acids[3].missing, QStringLiteral("не указана плотность, г/мл"));
}

} // namespace
