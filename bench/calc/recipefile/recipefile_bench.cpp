#include "calc/recipefile/recipeanalysis.h"
#include "calc/recipefile/recipefile.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// The documented example: eight fertilizers, a water and an acid, as vernolat-calc reads it.
QByteArray example()
{
    QFile f(QStringLiteral(VERNOLAT_DOCS_DIR "/recipe-example.json"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void readRecipe(benchmark::State &state)
{
    const QByteArray bytes = example();
    for (auto _ : state)
        benchmark::DoNotOptimize(RecipeFile::read(bytes));
}
BENCHMARK(readRecipe)->Unit(benchmark::kMicrosecond);

// What `vernolat-calc analyse` computes once the file is read.
void readAndAnalyse(benchmark::State &state)
{
    const QByteArray bytes = example();
    for (auto _ : state)
        benchmark::DoNotOptimize(RecipeFile::analyse(RecipeFile::read(bytes)));
}
BENCHMARK(readAndAnalyse)->Unit(benchmark::kMicrosecond);

void writeRecipe(benchmark::State &state)
{
    const RecipeFile::Recipe recipe = RecipeFile::read(example());
    for (auto _ : state)
        benchmark::DoNotOptimize(RecipeFile::write(recipe));
}
BENCHMARK(writeRecipe)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
