#include "support/benchbase.h"
#include "support/benchcomposition.h"

#include "calc/solver/solversession.h"
#include "data/datamodules.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The default base open with a working composition of the first `size` fertilizers.
std::unique_ptr<DataModules> withComposition(int factor, int size)
{
    auto dm = std::make_unique<DataModules>(BenchBase::shared(factor).path());
    dm->openAll();
    fillWorkingComposition(*dm, size, [](int) { return 0.1; });
    return dm;
}

// What opening "Подбор состава" reads: the composition, the crop's targets, the analyses.
void BM_SessionOpens(benchmark::State &state)
{
    std::unique_ptr<DataModules> dm = withComposition(int(state.range(0)), 10);
    SolverSource source(*dm);
    SolverChoices choices;
    for (auto _ : state) {
        SolverSession session(source, choices, u'.');
        benchmark::DoNotOptimize(session.elements().size());
    }
}

// What the grids ask of an answer when they are drawn: every row's texts and meaning.
void BM_SessionRowsOfAnAnswer(benchmark::State &state)
{
    std::unique_ptr<DataModules> dm = withComposition(1, 10);
    SolverSource source(*dm);
    SolverChoices choices;
    SolverSession session(source, choices, u',');
    session.solve(100);
    for (auto _ : state) {
        for (int r = 0; r < session.elements().size(); ++r)
            benchmark::DoNotOptimize(session.elementRow(r));
        for (int f = 0; f < session.fertilizers().size(); ++f)
            benchmark::DoNotOptimize(session.fertilizerRow(f));
    }
    state.SetLabel(QStringLiteral("%1 elements, %2 fertilizers")
                       .arg(session.elements().size())
                       .arg(session.fertilizers().size())
                       .toStdString());
}

BENCHMARK(BM_SessionOpens)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionRowsOfAnAnswer)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
