#include "calc/run/numbers.h"
#include "calc/solver/compositionsolver.h"
#include "calc/solver/solverdefaults.h"
#include "calc/solver/solverexplanation.h"
#include "calc/solver/linearprogramme.h"
#include "data/apperror.h"

#include <QTemporaryFile>

#include <cstdio>
#include <functional>
#include <limits>
#include <unistd.h>

#include <gtest/gtest.h>

// Failures name the constraint.
inline void PrintTo(const SolverResult::Conflict &c, std::ostream *os)
{
    *os << "{kind " << int(c.kind) << ", index " << c.index << '}';
}

namespace {

// Elements as a crop's target rows name them, and the oxide labels that count towards them.
enum Element { N = 1, P = 2, K = 3, Ca = 4, Mg = 5, S = 6, Fe = 7 };
enum Oxide { P2O5 = 13, K2O = 14, MgO = 16, SO3 = 17 };

CompositionRow direct(int element, double percent)
{
    return {element, percent, 0, 0};
}

CompositionRow oxide(int label, double percent, int element, double factor)
{
    return {label, percent, element, factor};
}

// Five salts of a Hoagland-type solution; potassium phosphate and magnesium sulphate labelled by
// their oxides, as bags print them.
SolverProblem::Fertilizer salt(const char *name, QList<CompositionRow> rows)
{
    SolverProblem::Fertilizer f;
    f.name = QString::fromUtf8(name);
    f.composition = std::move(rows);
    f.ppm = 500;
    return f;
}

QList<SolverProblem::Fertilizer> hoaglandSalts()
{
    return {
        salt("Ca(NO3)2·4H2O", {direct(N, 11.86), direct(Ca, 16.97)}),
        salt("KNO3", {direct(N, 13.85), direct(K, 38.67)}),
        salt("KH2PO4", {oxide(P2O5, 52.15, P, 0.4364), oxide(K2O, 34.61, K, 0.8302)}),
        salt("MgSO4·7H2O", {oxide(MgO, 16.35, Mg, 0.6030), oxide(SO3, 32.48, S, 0.4005)}),
        salt("NH4NO3", {direct(N, 35.0)}),
    };
}

// g/L of the five salts: Hoagland's calcium nitrate, potassium nitrate and magnesium sulphate,
// potassium phosphate in place of his ammonium phosphate, a little ammonium nitrate.
const QList<double> HoaglandAmounts = {0.945, 0.607, 0.136, 0.493, 0.080};

SolverProblem::Element element(int id, const char *name, double target,
                               ElementMode mode = ElementMode::Target)
{
    SolverProblem::Element e;
    e.id = id;
    e.name = QString::fromLatin1(name);
    e.vega = target;
    e.cvet = target;
    e.mode = mode;
    return e;
}

// The six macro elements with the targets the known amounts give, as the run computes them.
SolverProblem hoagland()
{
    SolverProblem p;
    p.fertilizers = hoaglandSalts();
    const struct
    {
        int id;
        const char *name;
    } names[] = {{N, "N"}, {P, "P"}, {K, "K"}, {Ca, "Ca"}, {Mg, "Mg"}, {S, "S"}};
    for (const auto &n : names)
        p.elements.append(element(n.id, n.name, 0));
    const SolverResult known = predictComposition(p, HoaglandAmounts);
    for (int i = 0; i < p.elements.size(); ++i)
        p.elements[i].vega = p.elements[i].cvet = known.elements.at(i).fertilizers;
    return p;
}

int indexOf(const SolverProblem &p, int id)
{
    for (int i = 0; i < p.elements.size(); ++i) {
        if (p.elements.at(i).id == id)
            return i;
    }
    return -1;
}

double resultOf(const SolverProblem &p, const SolverResult &r, int id)
{
    return r.elements.at(indexOf(p, id)).result;
}

TEST(CompositionSolver, RecoversTheAmountsThatGaveTheTargets)
{
    const SolverProblem p = hoagland();
    const SolverResult r = solveComposition(p);
    ASSERT_EQ(r.status, SolverResult::Status::Solved);
    EXPECT_TRUE(r.uncarried.isEmpty());
    ASSERT_EQ(r.amounts.size(), HoaglandAmounts.size());
    std::printf("%-16s %10s %10s %10s\n", "salt", "in g/L", "out g/L", "deviation");
    for (int f = 0; f < HoaglandAmounts.size(); ++f) {
        const double in = HoaglandAmounts.at(f);
        const double out = r.amounts.at(f);
        const double deviation = (out - in) / in * 100;
        std::printf("%-16s %10.6f %10.6f %9.4f%%\n", p.fertilizers.at(f).name.toUtf8().constData(),
                    in, out, deviation);
        EXPECT_LE(std::abs(deviation), 0.5) << p.fertilizers.at(f).name.toStdString();
        EXPECT_EQ(out, RoundDecimals(out, AmountDecimals)) << "rounded to what can be typed";
    }
    for (const SolverResult::Element &e : r.elements) {
        ASSERT_TRUE(e.deviation);
        EXPECT_LE(std::abs(*e.deviation), 0.01);
        EXPECT_FALSE(e.warning);
    }
    // The figures by hand: calcium from the nitrate alone, phosphorus and part of the potassium
    // through the oxide labels of the phosphate.
    EXPECT_EQ(resultOf(p, r, Ca), 160.3665) << "0.945 g/L x 16.97 % x 10";
    EXPECT_EQ(resultOf(p, r, P), 30.9512) << "0.136 x 52.15 x 10 x 0.4364";
    EXPECT_EQ(resultOf(p, r, K), 273.8041) << "0.607 x 38.67 x 10 + 0.136 x 34.61 x 10 x 0.8302";
    double ppm = 0;
    for (double a : r.amounts)
        ppm += 500 * a;
    EXPECT_NEAR(r.totals.ppm, ppm, 1e-9);
}

TEST(CompositionSolver, NamesAnElementNoFertilizerCarriesAndFitsTheRest)
{
    SolverProblem p = hoagland();
    p.elements.append(element(Fe, "Fe", 2.8));
    p.elements.append(element(8, "Mn", 0.5, ElementMode::Ignore)); // ignored: not named
    const SolverResult r = solveComposition(p);
    ASSERT_EQ(r.status, SolverResult::Status::Solved);
    EXPECT_EQ(r.uncarried, QList<int>{indexOf(p, Fe)});
    for (int f = 0; f < HoaglandAmounts.size(); ++f)
        EXPECT_NEAR(r.amounts.at(f), HoaglandAmounts.at(f), HoaglandAmounts.at(f) * 0.005);
    const SolverResult::Element &fe = r.elements.at(indexOf(p, Fe));
    EXPECT_EQ(fe.result, 0);
    EXPECT_EQ(*fe.deviation, -100);
    EXPECT_TRUE(fe.warning);
    EXPECT_TRUE(r.unmet.isEmpty()) << "a target missed is no bound missed";

    // "Не меньше" on such an element rests on the water: unmet below it, met above it.
    p.elements.last().mode = ElementMode::AtLeast;
    p.elements.last().vega = 0.5;
    EXPECT_EQ(solveComposition(p).unmet, QList<int>{int(p.elements.size()) - 1});
    p.elements.last().water = 0.6;
    EXPECT_TRUE(solveComposition(p).unmet.isEmpty());
}

TEST(CompositionSolver, BoundsHoldKeptAmountsStayAndTheLightestAnswerWins)
{
    SolverProblem p = hoagland();
    const double k = p.elements.at(indexOf(p, K)).vega;
    const double n = p.elements.at(indexOf(p, N)).vega;
    // Less potassium than the recipe has, at least 10 % more nitrogen, calcium nitrate kept at
    // its amount and potassium phosphate below what the recipe used.
    p.elements[indexOf(p, K)].vega = k * 0.8;
    p.elements[indexOf(p, K)].mode = ElementMode::AtMost;
    p.elements[indexOf(p, N)].vega = n * 1.1;
    p.elements[indexOf(p, N)].mode = ElementMode::AtLeast;
    p.fertilizers[0].current = 0.9123456;
    p.fertilizers[0].fixed = true;
    p.fertilizers[2].atMost = 0.1;

    const SolverResult r = solveComposition(p);
    ASSERT_EQ(r.status, SolverResult::Status::Solved);
    EXPECT_LE(resultOf(p, r, K), k * 0.8);
    EXPECT_GE(resultOf(p, r, N), n * 1.1);
    EXPECT_EQ(r.amounts.at(0), 0.9123456) << "a kept amount stays as it was typed";
    EXPECT_LE(r.amounts.at(2), 0.1);
    for (double a : r.amounts)
        EXPECT_GE(a, 0);

    EXPECT_TRUE(r.missedByRounding.isEmpty());

    // A bound reached only at the edge of a g/L bound leaves no room for rounding: the rounded
    // amount stays within its own bound and the answer says that N misses by a trace.
    SolverProblem edge;
    edge.fertilizers = {salt("N 33.3333 %", {direct(N, 33.3333)})};
    edge.fertilizers[0].atMost = 0.300001;
    edge.elements = {element(N, "N", 100, ElementMode::AtLeast)};
    const SolverResult e = solveComposition(edge);
    ASSERT_EQ(e.status, SolverResult::Status::Solved);
    EXPECT_LE(e.amounts.at(0), 0.300001);
    EXPECT_LT(e.elements.at(0).result, 100);
    EXPECT_EQ(e.missedByRounding, QList<int>{0});
    EXPECT_TRUE(e.elements.at(0).warning);

}

TEST(CompositionSolver, ContradictingBoundsAreNamedAndNoAmountsGiven)
{
    using Kind = SolverResult::Conflict::Kind;
    // Calcium nitrate is the only calcium: 200 mg/L of Ca bring about 140 of N.
    SolverProblem p = hoagland();
    p.elements[indexOf(p, Ca)].vega = 200;
    p.elements[indexOf(p, Ca)].mode = ElementMode::AtLeast;
    p.elements[indexOf(p, N)].vega = 50;
    p.elements[indexOf(p, N)].mode = ElementMode::AtMost;
    p.elements[indexOf(p, K)].mode = ElementMode::AtMost; // holds: not involved
    p.fertilizers[3].fixed = true;                        // magnesium sulphate, not involved
    p.fertilizers[3].current = 0.5;

    SolverResult r = solveComposition(p);
    EXPECT_EQ(r.status, SolverResult::Status::Contradiction);
    EXPECT_TRUE(r.amounts.isEmpty());
    EXPECT_TRUE(r.elements.isEmpty());
    EXPECT_EQ(r.conflicts, (QList<SolverResult::Conflict>{{Kind::AtMost, indexOf(p, N)},
                                                          {Kind::AtLeast, indexOf(p, Ca)}}));

    // A kept amount above its own bound.
    SolverProblem q = hoagland();
    q.fertilizers[1].fixed = true;
    q.fertilizers[1].current = 0.6;
    q.fertilizers[1].atMost = 0.5;
    r = solveComposition(q);
    EXPECT_EQ(r.status, SolverResult::Status::Contradiction);
    EXPECT_EQ(r.conflicts,
              (QList<SolverResult::Conflict>{{Kind::Fixed, 1}, {Kind::AmountAtMost, 1}}));
}

TEST(CompositionSolver, WaterCalciumIsLeftOutOfWhatTheFertilizersBring)
{
    SolverProblem p = hoagland();
    const int ca = indexOf(p, Ca);
    const SolverResult dry = solveComposition(p);
    p.elements[ca].water = 40;
    const SolverResult wet = solveComposition(p);
    ASSERT_EQ(wet.status, SolverResult::Status::Solved);
    EXPECT_NEAR(dry.elements.at(ca).fertilizers - wet.elements.at(ca).fertilizers, 40, 0.001);
    EXPECT_EQ(wet.elements.at(ca).water, 40);
    EXPECT_EQ(wet.elements.at(ca).result, 40 + wet.elements.at(ca).fertilizers);
    EXPECT_NEAR(wet.elements.at(ca).result, p.elements.at(ca).vega, 0.001);
    EXPECT_LT(wet.amounts.at(0), dry.amounts.at(0)) << "less calcium nitrate";
}

// GLPK prints nothing of its own, and an internal error of it (here, an entry given twice,
// which it refuses) is an error the program reports, after which the next programme solves.
TEST(LinearProgramme, SilentAndAnInternalErrorEndsOnlyTheSolve)
{
    QTemporaryFile capture;
    ASSERT_TRUE(capture.open());
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    ASSERT_GE(dup2(capture.handle(), STDOUT_FILENO), 0);
    const SolverResult r = solveComposition(hoagland());
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    EXPECT_EQ(r.status, SolverResult::Status::Solved);
    EXPECT_EQ(capture.size(), 0) << capture.readAll().toStdString();

    LinearProgramme broken;
    const int x = broken.addColumn(0, LinearProgramme::Infinity, 1);
    const int row = broken.addRow(1, LinearProgramme::Infinity);
    broken.setEntry(row, x, 1);
    broken.setEntry(row, x, 2);
    try {
        broken.solve();
        ADD_FAILURE() << "GLPK took an entry twice";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Ошибка GLPK: "))) << e.text().toStdString();
    }

    LinearProgramme fine;
    const int y = fine.addColumn(0, 10, 1);
    fine.setEntry(fine.addRow(2, LinearProgramme::Infinity), y, 1);
    const LinearProgramme::Solution s = fine.solve();
    ASSERT_TRUE(s.feasible());
    EXPECT_DOUBLE_EQ(s.columns.at(0), 2);
}

} // namespace

namespace {

// Found by fuzzing: a degenerate programme on which GLPK's simplex cycled for ever.
SolverProblem degenerate()
{
    SolverProblem p;
    p.fertilizers = {salt("А", {direct(N, 0.0004), direct(S, 0.0001)}),
                     salt("Б", {direct(S, 100), direct(S, 100), direct(S, 100)}),
                     salt("В", {direct(S, 100), direct(N, 0.0001)})};
    p.fertilizers[0].current = 1;
    p.fertilizers[0].atMost = 0.02;
    p.fertilizers[1].fixed = true;
    p.fertilizers[2].fixed = true;
    p.elements = {element(N, "N", 0), element(S, "S", 0, ElementMode::AtLeast)};
    return p;
}

// The outcomes beside a plain answer, each with what the grower reads.
TEST(CompositionSolver, EveryProblemEndsWithAnOutcomeTheGrowerCanRead)
{
    using Status = SolverResult::Status;
    const auto ignoredAll = [] {
        SolverProblem p = hoagland();
        for (SolverProblem::Element &e : p.elements)
            e.mode = ElementMode::Ignore;
        return p;
    };
    const auto noTargets = [] {
        SolverProblem p = hoagland();
        p.elements.clear();
        return p;
    };
    const auto defaultsOfZeroTargets = [] {
        SolverProblem p = hoagland();
        for (SolverProblem::Element &e : p.elements) {
            e.vega = e.cvet = 0;
            e.mode = SolverDefaults::modeOf(e.name, 0);
        }
        return p;
    };
    // Targets far beyond any solution: calcium nitrate alone would need tonnes per litre.
    const auto hugeTargets = [] {
        SolverProblem p = hoagland();
        for (SolverProblem::Element &e : p.elements)
            e.vega = e.cvet = 1e9;
        return p;
    };
    // Water with more potassium than the "Не больше" allows: the rest is still solved.
    const auto waterPassesABound = [] {
        SolverProblem p = hoagland();
        const int k = indexOf(p, K);
        p.elements[k].mode = ElementMode::AtMost;
        p.elements[k].water = p.elements[k].vega + 50;
        return p;
    };
    const struct
    {
        const char *name;
        std::function<SolverProblem()> problem;
        Status status;
        const char *text; // what the status begins with
    } cases[] = {
        {"every element ignored", ignoredAll, Status::NothingAsked,
         "Нечего подбирать: ни один элемент не участвует."},
        {"a crop without targets", noTargets, Status::NothingAsked,
         "Нечего подбирать: ни один элемент не участвует."},
        {"all targets 0", defaultsOfZeroTargets, Status::NothingAsked,
         "Нечего подбирать: ни один элемент не участвует."},
        {"targets of 1e9 mg/L", hugeTargets, Status::Solved, "Подобрано."},
        {"water above a \"Не больше\"", waterPassesABound, Status::Solved,
         "Подобрано. Не выполнено: K «Не больше»."},
        {"the degenerate problem", degenerate, Status::Solved, "Подобрано."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const SolverProblem p = c.problem();
        const SolverResult r = solveComposition(p);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(SolverExplanation(u'.').status(p, r).startsWith(QString::fromUtf8(c.text)))
            << SolverExplanation(u'.').status(p, r).toStdString();
        if (r.status != Status::Solved) {
            EXPECT_TRUE(r.amounts.isEmpty()) << "nothing to apply";
            continue;
        }
        ASSERT_EQ(r.amounts.size(), p.fertilizers.size());
        for (double a : r.amounts) {
            EXPECT_GE(a, 0);
            EXPECT_LE(a, MaxAmount) << "no more than the composition stores";
        }
    }

    const SolverProblem huge = hugeTargets();
    const SolverResult r = solveComposition(huge);
    ASSERT_FALSE(r.atMaxAmount.isEmpty());
    for (int f : r.atMaxAmount)
        EXPECT_EQ(r.amounts.at(f), MaxAmount);
    EXPECT_TRUE(SolverExplanation(u'.').status(huge, r).contains(QStringLiteral("Целям нужно больше 1000 г/л: ")))
        << SolverExplanation(u'.').status(huge, r).toStdString();

    const SolverProblem wet = waterPassesABound();
    const SolverResult w = solveComposition(wet);
    const int k = indexOf(wet, K);
    EXPECT_EQ(w.unmet, QList<int>{k});
    EXPECT_TRUE(w.elements.at(k).warning);
    for (int i = 0; i < wet.elements.size(); ++i) {
        if (i != k) {
            EXPECT_LE(std::abs(*w.elements.at(i).deviation), 1) << wet.elements.at(i).name.toStdString();
        }
    }
}

// An amount stepped down to keep a g/L bound is a figure that can be typed, not one ulp off it.
TEST(CompositionSolver, AnAmountKeptUnderItsBoundIsRoundedToWhatCanBeTyped)
{
    SolverProblem p;
    p.fertilizers = {salt("N 33.3333 %", {direct(N, 33.3333)})};
    p.elements = {element(N, "N", 1000)}; // far above what the bounds allow
    int steppedDown = 0;
    for (int i = 0; i < 200; ++i) {
        const double bound = 0.1000005 + i * 0.0013;
        p.fertilizers[0].atMost = bound;
        const SolverResult r = solveComposition(p);
        ASSERT_EQ(r.status, SolverResult::Status::Solved);
        const double a = r.amounts.at(0);
        EXPECT_LE(a, bound);
        EXPECT_EQ(a, RoundDecimals(a, AmountDecimals)) << "bound " << bound;
        steppedDown += a < RoundDecimals(bound, AmountDecimals);
    }
    EXPECT_GT(steppedDown, 0) << "the bounds hit the step down";
}

// Figures no fertilizer or solution has are refused before GLPK, naming where they are.
TEST(CompositionSolver, FiguresBeyondAnyRealSolutionAreRefusedByName)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        const char *name;
        std::function<void(SolverProblem &)> spoil;
        const char *named;
    } cases[] = {
        {"an infinite percentage", [inf](SolverProblem &p) { p.fertilizers[1].composition[0].percent = inf; }, "KNO3"},
        {"a percentage of 1e300", [](SolverProblem &p) { p.fertilizers[2].composition[0].percent = 1e300; }, "KH2PO4"},
        {"a NaN factor", [nan](SolverProblem &p) { p.fertilizers[3].composition[0].factor = nan; }, "MgSO4·7H2O"},
        {"a target of 1e308", [](SolverProblem &p) { p.elements[3].vega = 1e308; }, "Ca"},
        // Found by fuzzing: GLPK's scaling fails on such a spread and speaks English.
        {"a percentage of 1e-170", [](SolverProblem &p) { p.fertilizers[4].composition[0].percent = 1e-170; }, "NH4NO3"},
        {"a target of 1e-200", [](SolverProblem &p) { p.elements[1].cvet = 1e-200; }, "P"},
        {"a kept amount of 1e300", [](SolverProblem &p) {
             p.fertilizers[1].fixed = true;
             p.fertilizers[1].current = 1e300;
         }, "KNO3"},
        {"infinite water", [inf](SolverProblem &p) { p.elements[0].water = inf; }, "N"},
        {"a kept amount of NaN", [nan](SolverProblem &p) {
             p.fertilizers[0].fixed = true;
             p.fertilizers[0].current = nan;
         }, "Ca(NO3)2·4H2O"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SolverProblem p = hoagland();
        c.spoil(p);
        try {
            solveComposition(p);
            ADD_FAILURE() << "solved";
        } catch (const AppError &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("«%1»").arg(QString::fromUtf8(c.named))))
                << e.text().toStdString();
        }
    }

    // The run's own figures need one amount per fertilizer.
    EXPECT_THROW(predictComposition(hoagland(), {0.5}), AppError);
}

// The linear programme takes no NaN and no infinite cost or entry; infinite bounds mean none.
TEST(LinearProgramme, RefusesNonFiniteFiguresButTakesInfiniteBounds)
{
    const double inf = LinearProgramme::Infinity;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        const char *name;
        std::function<void(LinearProgramme &)> give;
    } refused[] = {
        {"a NaN column bound", [nan](LinearProgramme &lp) { lp.addColumn(nan, 1, 0); }},
        {"an infinite cost", [inf](LinearProgramme &lp) { lp.addColumn(0, 1, inf); }},
        {"a NaN cost", [nan](LinearProgramme &lp) { lp.addColumn(0, 1, nan); }},
        {"a NaN row bound", [nan](LinearProgramme &lp) { lp.addRow(0, nan); }},
        {"an infinite entry", [inf](LinearProgramme &lp) { lp.setEntry(0, 0, -inf); }},
        {"a NaN entry", [nan](LinearProgramme &lp) { lp.setEntry(0, 0, nan); }},
    };
    for (const auto &c : refused) {
        LinearProgramme lp;
        EXPECT_THROW(c.give(lp), AppError) << c.name;
    }
    LinearProgramme lp;
    const int x = lp.addColumn(-inf, inf, 1);
    lp.setEntry(lp.addRow(3, inf), x, 1);
    const LinearProgramme::Solution s = lp.solve();
    ASSERT_TRUE(s.feasible());
    EXPECT_DOUBLE_EQ(s.columns.at(0), 3);
}

} // namespace
