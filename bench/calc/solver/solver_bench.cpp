#include "calc/solver/compositionsolver.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int Fertilizers = 30;
constexpr int Elements = 19;

// The elements by symbol, as a crop's target rows name them: the chemistry reads them so. The
// last four have no dissolved form of their own.
const char *const Symbols[Elements] = {"N", "P", "K", "Ca", "Mg", "S", "Fe", "Mn", "Zn", "Cu",
                                       "B", "Mo", "Na", "Cl", "Si", "Co", "Ni", "Se", "I"};

QString symbolOf(int element)
{
    return QString::fromLatin1(Symbols[element - 1]);
}

// 30 fertilizers of two to four rows over 19 elements, a third of the rows stated as an oxide
// that counts towards its element through a factor; targets those of a random mix, moved by up
// to 20 % so that no mix meets them all. Every element aimed at, two held at least and two at
// most at their targets. The same problem every run.
SolverProblem problem(bool contradicting)
{
    std::mt19937 random(13);
    std::uniform_real_distribution<double> percent(1, 40);
    std::uniform_real_distribution<double> factor(0.3, 0.9);
    std::uniform_int_distribution<int> element(1, Elements);
    std::uniform_int_distribution<int> rows(2, 4);
    SolverProblem p;
    for (int f = 0; f < Fertilizers; ++f) {
        SolverProblem::Fertilizer fert;
        fert.name = QStringLiteral("F%1").arg(f);
        fert.ppm = 500;
        for (int r = rows(random); r > 0; --r) {
            const int e = element(random);
            // Nitrogen's label form is ammonium; the others' an oxide of the element.
            if (r % 3 == 0) {
                const QString label = e == 1 ? QStringLiteral("N-NH4") : symbolOf(e) + QLatin1Char('O');
                fert.composition.append({100 + e, percent(random), e, e == 1 ? 1 : factor(random), label, symbolOf(e)});
            } else {
                fert.composition.append({e, percent(random), 0, 0, symbolOf(e), {}});
            }
        }
        p.fertilizers.append(fert);
    }
    for (int e = 1; e <= Elements; ++e) {
        SolverProblem::Element el;
        el.id = e;
        el.name = symbolOf(e);
        el.mode = ElementMode::Target;
        p.elements.append(el);
    }
    std::uniform_real_distribution<double> grams(0, 1);
    QList<double> mix;
    for (int f = 0; f < Fertilizers; ++f)
        mix.append(grams(random));
    const SolverResult made = predictComposition(p, mix);
    std::uniform_real_distribution<double> move(0.8, 1.2);
    for (int e = 0; e < Elements; ++e)
        p.elements[e].vega = p.elements[e].cvet = made.elements.at(e).fertilizers * move(random);
    p.elements[0].mode = p.elements[1].mode = ElementMode::AtLeast;
    p.elements[2].mode = p.elements[3].mode = ElementMode::AtMost;
    if (contradicting) {
        // No fertilizer may be used, yet the first element must be reached.
        for (SolverProblem::Fertilizer &f : p.fertilizers)
            f.atMost = 0;
    }
    return p;
}

void BM_Solve30Fertilizers19Elements(benchmark::State &state)
{
    const SolverProblem p = problem(false);
    if (solveComposition(p).status != SolverResult::Status::Solved)
        state.SkipWithError("not solved");
    for (auto _ : state) {
        SolverResult r = solveComposition(p);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Solve30Fertilizers19Elements)->Unit(benchmark::kMillisecond);

// A contradiction takes one feasibility programme per bound to name those involved.
void BM_NameTheContradiction30Fertilizers19Elements(benchmark::State &state)
{
    const SolverProblem p = problem(true);
    if (solveComposition(p).conflicts.isEmpty())
        state.SkipWithError("no contradiction named");
    for (auto _ : state) {
        SolverResult r = solveComposition(p);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_NameTheContradiction30Fertilizers19Elements)->Unit(benchmark::kMillisecond);

// What a grower's solve does besides: the ammonium share as a row, an acid dosed against a hard
// water's bicarbonate, and the targets scaled until the answer's EC by the chemistry model meets
// the EC asked (a solve and an EC per round).
void BM_SolveByEcWithAmmoniumAndAcid30Fertilizers19Elements(benchmark::State &state)
{
    SolverProblem p = problem(false);
    SolverProblem::Fertilizer &acid = p.fertilizers.last();
    acid.name = QStringLiteral("HNO3 60 %");
    acid.composition = {{1, 13.34, 0, 0, QStringLiteral("N"), {}}};
    acid.acid = Chemistry::AcidProduct{Chemistry::AcidKind::Nitric, 60, 1.367};
    p.water.hco3 = 268;
    p.water.ph = 7.6;
    p.water.elements = {{QStringLiteral("Ca"), 80, {}, 0}, {QStringLiteral("Mg"), 20, {}, 0}};
    p.ammoniumShare = 10;
    const SolverResult plain = solveComposition(p);
    if (plain.status != SolverResult::Status::Solved || !plain.ec)
        state.SkipWithError("not solved");
    p.byEc = true;
    p.ec = 2.5; // the concentrated random mix scaled down to a working solution
    const SolverResult first = solveComposition(p);
    if (first.status != SolverResult::Status::Solved || first.ecMissed)
        state.SkipWithError("EC not met");
    for (auto _ : state) {
        SolverResult r = solveComposition(p);
        benchmark::DoNotOptimize(r);
    }
    state.counters["scale"] = first.scale;
    state.counters["ec"] = *first.ec;
}
BENCHMARK(BM_SolveByEcWithAmmoniumAndAcid30Fertilizers19Elements)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
