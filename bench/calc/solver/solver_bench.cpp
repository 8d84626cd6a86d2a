#include "calc/solver/compositionsolver.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int Fertilizers = 30;
constexpr int Elements = 19;

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
            if (r % 3 == 0)
                fert.composition.append({100 + e, percent(random), e, factor(random)});
            else
                fert.composition.append({e, percent(random), 0, 0});
        }
        p.fertilizers.append(fert);
    }
    for (int e = 1; e <= Elements; ++e) {
        SolverProblem::Element el;
        el.id = e;
        el.name = QStringLiteral("E%1").arg(e);
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

} // namespace

BENCHMARK_MAIN();
