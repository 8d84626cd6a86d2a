#include "support/benchbase.h"
#include "support/benchcomposition.h"

#include "calc/run/engine.h"
#include "data/datamodules.h"
#include "data/fields.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class BenchView : public CalculationInputs
{
public:
    int percentage() const override { return 100; }
    double litres() const override { return 10; }
};

// The first ten fertilizers of the list into the working composition, 0.5 g/L each.
void fillComposition(DataModules &dm)
{
    fillWorkingComposition(dm, 10, [](int) { return 0.5; });
}

void BM_ConcentrationRun(benchmark::State &state)
{
    DataModules dm(BenchBase::shared(int(state.range(0))).path());
    BenchView view;
    ConcentrationEngine engine(dm, view);
    engine.installHooks();
    dm.openAll();
    fillComposition(dm);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.runComposition());
    state.SetLabel(QStringLiteral("%1 target rows").arg(dm.form4.ADOTable2.recordCount()).toStdString());
}

void BM_OpenEveryDataset(benchmark::State &state)
{
    DataModules dm(BenchBase::shared(int(state.range(0))).path());
    BenchView view;
    ConcentrationEngine engine(dm, view);
    engine.installHooks();
    for (auto _ : state) {
        dm.openAll();
        state.PauseTiming();
        dm.closeAll();
        state.ResumeTiming();
    }
}

void BM_SearchFertilizers(benchmark::State &state)
{
    DataModules dm(BenchBase::shared(int(state.range(0))).path());
    dm.openAll();
    Dataset &u = dm.form2.T_Udobra;
    u.setFiltered(true);
    bool flip = false;
    for (auto _ : state) {
        // Alternate two texts so that every iteration really changes the filter.
        u.setFilter(Fields::name_udobra
                    + (flip ? QStringLiteral(" like %селитра%") : QStringLiteral(" like %сульфат%")));
        flip = !flip;
        benchmark::DoNotOptimize(u.recordCount());
    }
    state.SetLabel(QStringLiteral("%1 fertilizers").arg(dm.form2.T_Udobra.recordCount()).toStdString());
}

BENCHMARK(BM_ConcentrationRun)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEveryDataset)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchFertilizers)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
