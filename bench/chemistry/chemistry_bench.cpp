#include "support/benchbase.h"

#include "calc/chemistry/analysis.h"

#include <benchmark/benchmark.h>

namespace {

using namespace Chemistry;

Fertilizer fertilizer(const char *name, double grams, QList<ElementLine> composition,
                      NitrogenForm nitrogen = NitrogenForm::Nitrate)
{
    return {QString::fromUtf8(name), grams, std::move(composition), nitrogen};
}

// The default base's 17 fertilizers with their label forms, potassium chloride, urea and nitric
// acid, in the amounts of a full-strength recipe, on a hard tap water; the acid dosed against it.
Recipe twentyFertilizers()
{
    const ElementLine nitrate{"N-NO3", 0, "N", 1};
    const auto as = [](ElementLine l, double percent) {
        l.amount = percent;
        return l;
    };
    const ElementLine ammonium{"N-NH4", 0, "N", 1};
    const ElementLine p2o5{"P2O5", 0, "P", 0.4364};
    const ElementLine k2o{"K2O", 0, "K", 0.8302};
    const ElementLine cao{"CaO", 0, "Ca", 0.7147};
    const ElementLine mgo{"MgO", 0, "Mg", 0.6030};
    const ElementLine so3{"SO3", 0, "S", 0.4005};
    const auto element = [](const char *symbol, double percent) {
        return ElementLine{QString::fromLatin1(symbol), percent, {}, 0};
    };
    Recipe r;
    r.fertilizers = {
        fertilizer("Кальциевая селитра", 0.9, {as(nitrate, 14.4), as(ammonium, 1.1), as(cao, 26.5)}),
        fertilizer("Калиевая селитра", 0.4, {as(nitrate, 13.85), as(k2o, 46.58)}),
        fertilizer("Аммиачная селитра", 0.02, {as(nitrate, 17.5), as(ammonium, 17.5)}),
        fertilizer("Монофосфат калия", 0.17, {as(p2o5, 52.15), as(k2o, 34.61)}),
        fertilizer("Моноаммонийфосфат", 0.02, {as(ammonium, 12.18), as(p2o5, 61.7)}),
        fertilizer("Сульфат калия", 0.15, {as(k2o, 54.06), as(so3, 45.94)}),
        fertilizer("Сульфат магния (7-водный)", 0.45, {as(mgo, 16.35), as(so3, 32.48)}),
        fertilizer("Магниевая селитра (6-водная)", 0.05, {as(nitrate, 10.93), as(mgo, 15.72)}),
        fertilizer("Хелат железа Fe-EDTA 13%", 0.015, {element("Fe", 13)}),
        fertilizer("Хелат железа Fe-DTPA 11%", 0.005, {element("Fe", 11)}),
        fertilizer("Борная кислота", 0.002, {element("B", 17.48)}),
        fertilizer("Сульфат марганца (1-водный)", 0.002, {element("Mn", 32.51), element("S", 18.97)}),
        fertilizer("Сульфат цинка (7-водный)", 0.001, {element("Zn", 22.74), element("S", 11.15)}),
        fertilizer("Сульфат меди (5-водный)", 0.0002, {element("Cu", 25.45), element("S", 12.84)}),
        fertilizer("Молибдат натрия (2-водный)", 0.0001, {element("Mo", 39.66)}),
        fertilizer("Молибдат аммония (4-водный)", 0.0001, {element("Mo", 54.34), as(ammonium, 6.8)}),
        fertilizer("Комплекс микроэлементов (хелаты)", 0.01,
                   {element("Fe", 7), element("Mn", 2), element("Zn", 0.4), element("Cu", 0.1),
                    element("B", 1.3), element("Mo", 0.06)}),
        fertilizer("Хлорид калия", 0.02, {as(k2o, 60), element("Cl", 47.6)}),
        fertilizer("Карбамид", 0.01, {element("N", 46.65)}, NitrogenForm::Urea),
        fertilizer("Азотная кислота 60 %", 0.25, {as(nitrate, 13.34)}),
    };
    r.water.elements = {element("Ca", 40), element("Mg", 10), element("Na", 15), element("Cl", 20),
                        element("S", 10)};
    r.water.hco3 = 244;
    r.water.ph = 7.5;
    return r;
}

// Everything the ion view shows: ions, pairs, EC, pH, ratios and the acid dose.
void BM_AnalyseTwentyFertilizers(benchmark::State &state)
{
    const Recipe recipe = twentyFertilizers();
    AnalysisOptions options;
    options.acid = AcidProduct{AcidKind::Nitric, 60, 1.367};
    for (auto _ : state) {
        Analysis a = analyse(recipe, options);
        benchmark::DoNotOptimize(a);
    }
    const Analysis a = analyse(recipe, options);
    state.counters["EC"] = a.solution.conductivity.ec;
    state.counters["pH"] = a.solution.ph;
    state.counters["rounds"] = a.solution.conductivity.rounds;
}
BENCHMARK(BM_AnalyseTwentyFertilizers)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
