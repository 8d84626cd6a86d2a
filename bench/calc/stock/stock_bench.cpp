#include "support/benchbase.h"
#include "support/benchcomposition.h"

#include "calc/run/workingcomposition.h"
#include "calc/stock/stockplan.h"
#include "calc/stock/stockplanning.h"
#include "data/datamodules.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int RecipeSize = 20;

// Twenty fertilizers of every kind the rule tells apart: calcium through CaO, phosphorus and
// sulphur through their oxides, both at once, iron, and the ones left to the balance; priced
// and unpriced, some past their solubility.
QList<Stock::Fertilizer> twentyFertilizers()
{
    const CompositionRow CaO{15, 26.5, 4, 0.7147, QStringLiteral("CaO"), Stock::Calcium};
    const CompositionRow P2O5{13, 52, 2, 0.4364, QStringLiteral("P2O5"), Stock::Phosphorus};
    const CompositionRow SO3{17, 32, 6, 0.4005, QStringLiteral("SO3"), Stock::Sulphur};
    const CompositionRow K2O{14, 46, 3, 0.8302, QStringLiteral("K2O"), QStringLiteral("K")};
    const CompositionRow N{18, 14, 1, 1, QStringLiteral("N-NO3"), QStringLiteral("N")};
    const CompositionRow Fe{7, 13, 0, 0, Stock::Iron, {}};
    const QList<QList<CompositionRow>> kinds = {{N, CaO}, {P2O5, K2O}, {SO3, K2O}, {CaO, SO3},
                                                {Fe},     {N, K2O},    {N}};
    QList<Stock::Fertilizer> out;
    for (int i = 0; i < RecipeSize; ++i) {
        Stock::Fertilizer f;
        f.id = i + 1;
        f.name = QStringLiteral("Удобрение %1").arg(i + 1);
        f.amount = 0.05 * (i % 7 + 1);
        f.composition = kinds.at(i % kinds.size());
        if (i % 3)
            f.price = 1.5 + i;
        f.solubility = 20.0 * (i % 5 + 1);
        out.append(f);
    }
    return out;
}

// The planner alone.
void BM_StockPlan(benchmark::State &state)
{
    const QList<Stock::Fertilizer> recipe = twentyFertilizers();
    for (auto _ : state)
        benchmark::DoNotOptimize(Stock::plan(recipe, 200, 10, u'.'));
}

// What the window does for each change: the working composition of twenty fertilizers read
// with their compositions and properties, then planned.
void BM_StockPlanning(benchmark::State &state)
{
    DataModules dm(BenchBase::shared(int(state.range(0))).path());
    dm.openAll();
    fillWorkingComposition(dm, RecipeSize, [](int i) { return 0.1 + 0.05 * i; });
    StockPlanning planning(dm);
    const Recipe recipe = WorkingComposition(dm.form4).recipe(100);
    planning.showPropertiesOf(recipe); // the rows made once, as the window's first plan does
    for (auto _ : state)
        benchmark::DoNotOptimize(planning.plan(recipe, 100, 10, u'.'));
    state.SetLabel(QStringLiteral("%1 fertilizers").arg(recipe.lines.size()).toStdString());
}

BENCHMARK(BM_StockPlan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StockPlanning)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
