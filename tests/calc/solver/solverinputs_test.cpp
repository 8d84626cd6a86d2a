#include "calc/solver/solverinputs.h"
#include "data/basequeries.h"
#include "data/connection.h"
#include "data/testdb.h"
#include "support/freshbase.h"
#include "support/readmerecipe.h"

#include <gtest/gtest.h>

namespace {

// A program without a window: the base's file, the queries, the problem and the answer, on the
// default base and on one whose element and fertilizer keys differ.
struct Solved
{
    SolverProblem problem;
    SolverResult result;
};

Solved solveReadmeRecipe(bool renumbered, const QList<QPair<QString, double>> &water)
{
    FreshBase base;
    if (renumbered)
        base.renumberKeys();
    Connection c(base.basePath());
    c.connect();
    BaseQueries q(c);
    if (!water.isEmpty()) {
        sql(c, QStringLiteral("INSERT INTO t_voda (id_voda, name_voda) VALUES (1, 'Водопровод')"));
        for (const auto &[symbol, mgL] : water)
            sql(c, QStringLiteral("INSERT INTO t_sostav_vody (id_voda, id_element, mg_l) VALUES (1, ?1, ?2)"),
                {q.elementBySymbol(symbol)->id, mgL});
    }

    QList<BaseRows::RecipeLine> lines;
    for (const ReadmeRecipe::Amount &a : ReadmeRecipe::amounts()) {
        const BaseRows::Fertilizer f = q.fertilizerByName(a.fertilizer).value();
        lines.append({0, f.id, f.name, 0, f.ppm});
    }
    Solved s;
    s.problem.stage = Stage::Vegetative;
    s.problem.elements = SolverInputs::elementsOf(q.cropByName(ReadmeRecipe::Crop).value(), Stage::Vegetative);
    s.problem.fertilizers = SolverInputs::fertilizersOf(c, lines);
    s.problem.options = SolverInputs::saltOptionsOf(q.options());
    if (!water.isEmpty()) {
        const QHash<int, double> mgL = SolverInputs::waterOf(q.waterAnalysis(1).value());
        for (SolverProblem::Element &e : s.problem.elements)
            e.water = mgL.value(e.id);
    }
    s.result = solveComposition(s.problem);
    return s;
}

TEST(SolverInputs, TheSameAnswerWhateverTheBaseCallsItsElements)
{
    const QList<QList<QPair<QString, double>>> waters = {{}, {{QStringLiteral("Ca"), 40}, {QStringLiteral("Mg"), 12}}};
    for (const auto &water : waters) {
        const Solved plain = solveReadmeRecipe(false, water);
        const Solved other = solveReadmeRecipe(true, water);
        ASSERT_EQ(plain.result.status, SolverResult::Status::Solved);
        ASSERT_EQ(plain.result.amounts.size(), ReadmeRecipe::amounts().size());
        EXPECT_EQ(plain.result.amounts, other.result.amounts) << "water " << water.size();
        for (int i = 0; i < plain.problem.elements.size(); ++i) {
            EXPECT_EQ(plain.problem.elements.at(i).name, other.problem.elements.at(i).name);
            EXPECT_EQ(plain.problem.elements.at(i).id + other.problem.elements.at(i).id, FreshBase::ElementKeys)
                << "each base's own key";
            EXPECT_EQ(plain.result.elements.at(i).result, other.result.elements.at(i).result);
        }
        EXPECT_EQ(plain.result.totals.ppm, other.result.totals.ppm);
        EXPECT_GT(plain.result.totals.ppm, 0) << "the default options sum the ppm";
    }
    // The water's calcium and magnesium are taken off what the salts must bring.
    const Solved dry = solveReadmeRecipe(false, {});
    const Solved tap = solveReadmeRecipe(false, {{QStringLiteral("Ca"), 40}, {QStringLiteral("Mg"), 12}});
    EXPECT_LT(tap.result.amounts.at(0), dry.result.amounts.at(0)) << "less calcium nitrate";
}

} // namespace
