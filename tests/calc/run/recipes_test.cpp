#include "calc/calcdatatest.h"
#include "calc/run/savedsolutions.h"
#include "calc/run/workingcomposition.h"
#include "data/connection.h"
#include "support/errorof.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

namespace {

const QString Calcium = QStringLiteral("Кальциевая селитра");
const QString Potassium = QStringLiteral("Калиевая селитра");
const QString Phosphate = QStringLiteral("Монофосфат калия");

// The recipe operations on the calculator's datasets, without any window.
class RecipesTest : public CalcDataTest
{
protected:
    // Fertilizer name and grams of each line of a recipe.
    static QList<QPair<QString, double>> doses(const Recipe &r)
    {
        QList<QPair<QString, double>> out;
        for (const Recipe::Line &line : r.lines)
            out.append({line.name, line.grams});
        return out;
    }

    Dataset &head() { return f4().T_HEAD_RAR; }
    Dataset &rows() { return f4().T_save_rar; }

    WorkingComposition composition{data.form4};
    SavedSolutions solutions{data};
};

TEST_F(RecipesTest, TheWorkingCompositionAddsOncePerFertilizerRemovesAndClears)
{
    selectFertilizer(Calcium);
    composition.add(data.form2.T_Udobra);
    composition.add(data.form2.T_Udobra);
    EXPECT_EQ(f4().T_rachet.recordCount(), 1) << "present once: not again";
    EXPECT_EQ(data.form2.T_Udobra.asString(QStringLiteral("name_udobra")), Calcium);
    EXPECT_TRUE(f4().T_rachet.value(QStringLiteral("kol")).isNull()) << "added without an amount";

    // Present twice (as a copied solution may leave it): once more.
    addToComposition(Calcium, 1.0);
    composition.add(data.form2.T_Udobra);
    EXPECT_EQ(f4().T_rachet.recordCount(), 3);
    EXPECT_EQ(f4().T_rachet.currentRow(), 0) << "the composition is read afresh";

    f4().T_rachet.first();
    composition.removeCurrent();
    EXPECT_EQ(f4().T_rachet.recordCount(), 2);
    EXPECT_EQ(f4().T_rachet.currentRow(), 1) << "it stands on the last row";

    composition.clear();
    EXPECT_EQ(f4().T_rachet.recordCount(), 0);
    composition.removeCurrent(); // nothing to remove, nothing reported
    composition.clear();
    EXPECT_EQ(f4().T_rachet.recordCount(), 0);

    // With no current fertilizer nothing is added.
    data.form2.T_Udobra.setFilter(QStringLiteral("name_udobra like %нет такого%"));
    data.form2.T_Udobra.setFiltered(true);
    composition.add(data.form2.T_Udobra);
    EXPECT_EQ(f4().T_rachet.recordCount(), 0);
}

TEST_F(RecipesTest, SavingTheCompositionAtItsPercentageAndReadingItBack)
{
    addToComposition(Calcium, 1.0);
    addToComposition(Potassium, 0.5);
    addToComposition(Phosphate, 0.2);
    const Recipe working = composition.recipe(80);
    EXPECT_EQ(working.percentage, 80);
    EXPECT_EQ(doses(working), (QList<QPair<QString, double>>{{Calcium, 1.0}, {Potassium, 0.5},
                                                             {Phosphate, 0.2}}));

    // An amount still being typed goes with the rest.
    f4().T_rachet.last();
    f4().T_rachet.edit();
    f4().T_rachet.setValue(QStringLiteral("kol"), 0.25);
    const QVariant id = solutions.appendSolution(QStringLiteral("Восемьдесят"), QStringLiteral("80"));
    solutions.copyCompositionInto(id);

    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Восемьдесят"));
    EXPECT_EQ(head().asInteger(QStringLiteral("konc")), 80);
    EXPECT_TRUE(head().value(QStringLiteral("kol_l")).isNull());
    EXPECT_EQ(head().value(QStringLiteral("id_head_rar")), id) << "the new solution is current";
    const Recipe saved = solutions.currentRecipe();
    EXPECT_EQ(saved.percentage, 80);
    EXPECT_EQ(doses(saved), (QList<QPair<QString, double>>{{Calcium, 1.0}, {Potassium, 0.5},
                                                           {Phosphate, 0.25}}));

    // A percentage that is no integer stops the save after the row is appended with its name.
    try {
        solutions.appendSolution(QStringLiteral("Сбой"), QStringLiteral("1a"));
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("'1a' is not a valid integer value"));
    }
    EXPECT_EQ(head().state(), DatasetState::Insert);
    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Сбой"));
}

TEST_F(RecipesTest, RenameDeleteAndRowsOfASolution)
{
    // Renaming with no solution starts one for the selected crop.
    solutions.renameCurrent(QStringLiteral("Без состава"));
    EXPECT_EQ(head().recordCount(), 1);
    EXPECT_EQ(head().asInteger(QStringLiteral("id_konc")),
              f4().ADOTable3.asInteger(QStringLiteral("id_kult")));
    EXPECT_TRUE(head().value(QStringLiteral("konc")).isNull());
    solutions.renameCurrent(QString());
    EXPECT_EQ(head().recordCount(), 1);
    EXPECT_TRUE(head().asString(QStringLiteral("name_rar")).isEmpty()) << "an empty name is a name";

    selectFertilizer(Phosphate);
    solutions.addFertilizer(data.form2.T_Udobra);
    solutions.addFertilizer(data.form2.T_Udobra);
    EXPECT_EQ(doses(solutions.currentRecipe()),
              (QList<QPair<QString, double>>{{Phosphate, 0.0}, {Phosphate, 0.0}}));
    EXPECT_TRUE(rows().value(QStringLiteral("kol")).isNull());
    EXPECT_EQ(rows().currentRow(), 0) << "the rows are read afresh";

    solutions.removeFertilizer();
    EXPECT_EQ(rows().recordCount(), 1);
    solutions.removeCurrent();
    EXPECT_EQ(head().recordCount(), 0);
    try {
        solutions.removeCurrent();
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("T_HEAD_RAR: Cannot perform this operation on an empty dataset"));
    }
}

TEST_F(RecipesTest, CopyingASolutionReplacesTheWorkingCompositionKeepingDuplicates)
{
    addToComposition(Calcium, 1.0);
    addToComposition(Potassium, 0.5);
    solutions.copyCompositionInto(solutions.appendSolution(QStringLiteral("Повтор"), QStringLiteral("100")));
    selectFertilizer(Calcium);
    solutions.addFertilizer(data.form2.T_Udobra);
    rows().last();
    rows().edit();
    rows().setValue(QStringLiteral("kol"), 0.75);
    rows().post();

    composition.clear();
    addToComposition(Phosphate, 2.0);
    solutions.copyToComposition();
    EXPECT_EQ(doses(composition.recipe(100)),
              (QList<QPair<QString, double>>{{Calcium, 1.0}, {Potassium, 0.5}, {Calcium, 0.75}}));
    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Повтор"));
}

} // namespace

namespace {

// "Применить" writes a whole recipe or nothing: a failure after the second of five rows leaves
// the file and the composition shown with the old amounts, and the error is reported.
TEST_F(RecipesTest, AmountsAreAllWrittenOrNoneAtAll)
{
    Dataset &u = data.form2.T_Udobra;
    u.first();
    for (int i = 0; i < 5 && !u.eof(); ++i, u.next())
        addToComposition(u.asString(QStringLiteral("name_udobra")), 0.1 * (i + 1));
    Dataset &r = f4().T_rachet;
    r.close();
    r.open();
    ASSERT_EQ(r.recordCount(), 5);
    QList<QPair<QVariant, double>> amounts;
    QList<double> before;
    r.first();
    for (int i = 0; !r.eof(); ++i, r.next()) {
        amounts.append({r.value(QStringLiteral("id_rachet")), 0.31 + i * 0.01});
        before.append(r.asFloat(QStringLiteral("kol")));
    }
    const auto shown = [&r] {
        QList<double> out;
        r.first();
        for (; !r.eof(); r.next())
            out.append(r.asFloat(QStringLiteral("kol")));
        return out;
    };

    Connection &c = r.connection();
    c.exec(QStringLiteral("CREATE TEMP TRIGGER fail_third BEFORE UPDATE OF kol ON t_rachet "
                          "WHEN NEW.kol = 0.33 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"));
    EXPECT_EQ(errorOf([&] { composition.setAmounts(amounts); }), "T_rachet: disk I/O error");
    EXPECT_EQ(shown(), before) << "the composition shows the old recipe";
    r.close();
    r.open();
    EXPECT_EQ(shown(), before) << "the file holds the old recipe";

    c.exec(QStringLiteral("DROP TRIGGER fail_third"));
    composition.setAmounts(amounts);
    QList<double> after;
    for (const auto &a : amounts)
        after.append(a.second);
    EXPECT_EQ(shown(), after);
}

} // namespace
