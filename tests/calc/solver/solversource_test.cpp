#include "calc/calcdatatest.h"
#include "calc/run/engine.h"
#include "calc/solver/solverexplanation.h"
#include "calc/solver/solversource.h"
#include "data/connection.h"
#include "data/fields.h"

#include <gtest/gtest.h>

namespace {

class Inputs : public CalculationInputs
{
public:
    int percentage() const override { return 80; }
    double litres() const override { return 0; }
};

// What the solver reads from the base: the working composition with its fertilizers'
// compositions, the crop's targets, the water analyses.
class SolverSourceTest : public CalcDataTest
{
protected:
    SolverSource source{data};
};

// Oxide labels, nitrogen forms and a fertilizer twice: the figures predicted from what the
// source reads are the run's own, to the last digit, and so are the salt totals.
TEST_F(SolverSourceTest, PredictsWhatTheRunComputesFromTheWorkingComposition)
{
    addToComposition(QStringLiteral("Кальциевая селитра"), 0.8123);
    addToComposition(QStringLiteral("Монофосфат калия"), 0.17);
    addToComposition(QStringLiteral("Комплекс микроэлементов (хелаты)"), 0.031);
    addToComposition(QStringLiteral("Кальциевая селитра"), 0.1);
    Dataset &composition = f4().T_rachet;
    composition.append();
    composition.setValue(Fields::id_udobra, fertilizerId(QStringLiteral("Сульфат калия")));
    composition.setValue(Fields::kol, 0.333333); // not posted yet: still being typed
    selectCrop(QStringLiteral("Огурец"));

    SolverProblem p;
    p.fertilizers = source.fertilizers();
    p.elements = source.elements(Stage::Flowering);
    p.percentage = 80;
    ASSERT_EQ(p.fertilizers.size(), 5);
    EXPECT_EQ(p.fertilizers.at(4).current, 0.333333);
    EXPECT_EQ(p.fertilizers.at(1).composition.size(), 2) << "P2O5 and K2O";
    ASSERT_EQ(p.elements.size(), 15) << "N to Mo, Na, Cl, Si";
    EXPECT_EQ(p.elements.at(0).cvet, 241.6);
    QList<double> amounts;
    for (const SolverProblem::Fertilizer &f : p.fertilizers)
        amounts.append(f.current);
    const SolverResult predicted = predictComposition(p, amounts);

    Inputs inputs;
    ConcentrationEngine engine(data, inputs);
    engine.installHooks();
    const SaltTotals totals = engine.runComposition();
    const QHash<QString, double> run = computed();
    for (int i = 0; i < p.elements.size(); ++i)
        EXPECT_EQ(predicted.elements.at(i).fertilizers, run.value(p.elements.at(i).name))
            << p.elements.at(i).name.toStdString();
    EXPECT_EQ(predicted.totals.concentration, totals.concentration);
    EXPECT_EQ(predicted.totals.concentrationAtPercentage, totals.concentrationAtPercentage);
    EXPECT_EQ(predicted.totals.floweringTargets, totals.floweringTargets);
    EXPECT_EQ(predicted.totals.ppm, totals.ppm);
    EXPECT_EQ(predicted.totals.ppmAtPercentage, totals.ppmAtPercentage);
}

TEST_F(SolverSourceTest, WaterAnalysesAreListedAndSummedAndFollowTheCycle)
{
    EXPECT_TRUE(source.waterAnalyses().isEmpty());
    const QVariant tap = addAnalysis(QStringLiteral("Водопровод"), {{4, 40}, {5, 12}, {4, 2.5}});
    const QVariant well = addAnalysis(QStringLiteral("Скважина"), {{6, 30}});
    Dataset &analyses = data.own.T_voda;
    analyses.append(); // a new analysis has no key to be chosen by yet
    const QList<SolverSource::WaterAnalysis> listed = source.waterAnalyses();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed.at(0).name, QStringLiteral("Водопровод"));
    EXPECT_EQ(listed.at(1).id, well);
    analyses.cancel();

    const QHash<int, double> water = source.water(tap);
    EXPECT_EQ(water.value(4), 42.5) << "an element listed twice counts twice";
    EXPECT_EQ(water.value(5), 12);
    EXPECT_EQ(water.size(), 2);
    EXPECT_EQ(source.water(well).value(6), 30);
    EXPECT_TRUE(source.water(QVariant()).isEmpty());
    EXPECT_TRUE(source.water(9999).isEmpty()) << "an analysis no longer stored";

    // The database cycle reopens them with the rest; what was not posted is gone.
    analyses.edit();
    analyses.setValue(Fields::name_voda, QStringLiteral("Не сохранено"));
    data.closeAll();
    EXPECT_FALSE(analyses.isActive());
    data.openAll();
    EXPECT_EQ(source.waterAnalyses().size(), 2);
    EXPECT_EQ(source.waterAnalyses().at(1).name, QStringLiteral("Скважина"));
    EXPECT_EQ(source.water(tap).value(4), 42.5);
}

} // namespace

namespace {

// A composition row whose fertilizer was deleted and a target row without an element take no
// part in the solve, and the answer names them instead of an empty name.
TEST_F(SolverSourceTest, RowsWithoutAFertilizerOrAnElementAreLeftOutAndNamed)
{
    addToComposition(QStringLiteral("Кальциевая селитра"), 1);
    selectCrop(QStringLiteral("Огурец"));
    const qlonglong crop = f4().ADOTable3.value(Fields::id_kult).toLongLong();
    Connection &c = f4().T_rachet.connection();
    c.exec(QStringLiteral("INSERT INTO t_rachet (id_udobra, kol) VALUES (99999, 1), (NULL, 2)"));
    c.exec(QStringLiteral("INSERT INTO t_konc (id_kult, id_el, vega, cvet) VALUES (%1, 99999, 5, 5), "
                          "(%1, NULL, 7, 7)").arg(crop));
    f4().T_rachet.refresh();
    f4().ADOTable2.refresh();
    ASSERT_EQ(f4().T_rachet.recordCount(), 3);

    SolverProblem p;
    p.fertilizers = source.fertilizers();
    p.elements = source.elements(Stage::Vegetative);
    p.leftOut = source.leftOut();
    ASSERT_EQ(p.fertilizers.size(), 1);
    EXPECT_EQ(p.fertilizers.first().name, QStringLiteral("Кальциевая селитра"));
    EXPECT_EQ(p.elements.size(), f4().ADOTable2.recordCount() - 2) << "all but the two without an element";
    for (const SolverProblem::Element &e : p.elements)
        EXPECT_FALSE(e.name.isEmpty());
    EXPECT_EQ(p.leftOut, (QStringList{QStringLiteral("строки состава без удобрения: 2"),
                                      QStringLiteral("строки целей без элемента: 2")}));
    const QString status = SolverExplanation(u'.').status(p, solveComposition(p));
    EXPECT_TRUE(status.endsWith(QStringLiteral(
        " Не учтены строки состава без удобрения: 2, строки целей без элемента: 2.")))
        << status.toStdString();
    EXPECT_FALSE(status.contains(QStringLiteral(": ,"))) << status.toStdString();
}

} // namespace
