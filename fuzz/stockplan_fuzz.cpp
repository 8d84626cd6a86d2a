// The stock tank planner on recipes, K and V built from the input: every plan keeps its sums
// and names every fertilizer it was given.
#include "fuzzinput.h"

#include "calc/stock/stockplan.h"
#include "data/apperror.h"

#include <cmath>

namespace {

constexpr double Figures[] = {0, 0.001, 0.02, 0.5, 1, 2.5, 100, 316, 1000, 2378, -3, 1e-300, 1e300};
// Symbols that decide tanks and make ions; "" for a key-only row.
const char *const Symbols[] = {"", "K", "Ca", "N-NO3", "N-NH4", "S", "P", "Mg", "Fe", "Mo", "B", "Cl", "Na"};

double figure(FuzzInput &in)
{
    const uint8_t b = in.byte();
    if (b & 0x80)
        return in.value<double>();
    return Figures[b % std::size(Figures)];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    // K and V as typed, refused or taken.
    int factor = 0;
    double litres = 0;
    const QChar separator = in.byte() & 1 ? u',' : u'.';
    try {
        factor = Stock::factorFromText(in.text(8));
        litres = Stock::litresFromText(in.text(12), separator);
    } catch (const AppError &e) {
        FUZZ_CHECK(!e.text().isEmpty());
        return 0;
    }
    FUZZ_CHECK(factor >= Stock::MinFactor && factor <= Stock::MaxFactor);
    FUZZ_CHECK(litres >= Stock::MinLitres && litres <= Stock::MaxLitres);

    QList<Stock::Fertilizer> recipe;
    const int count = in.byte() % 8;
    for (int i = 0; i < count; ++i) {
        Stock::Fertilizer f;
        f.id = 1 + in.byte() % 6; // the same fertilizer may come twice
        f.name = QStringLiteral("Соль %1").arg(f.id);
        f.amount = std::abs(figure(in));
        if (!std::isfinite(f.amount) || f.amount > 1000)
            f.amount = 1000; // the amount editor's top
        const int rows = in.byte() % 3;
        for (int r = 0; r < rows; ++r) {
            const QString symbol = QString::fromLatin1(Symbols[in.byte() % std::size(Symbols)]);
            f.composition.append({1 + in.byte() % 8, figure(in), 0, 0, symbol});
        }
        const uint8_t flags = in.byte();
        if (flags & 1)
            f.solubility = figure(in);
        if (flags & 2)
            f.price = std::abs(figure(in));
        f.choice = TankChoice(flags >> 2 & 3);
        f.acid = flags & 0x10;
        if (flags & 0x20)
            f.density = figure(in);
        if (flags & 0x40) {
            f.solubility0 = figure(in);
            f.solubility30 = figure(in);
        }
        recipe.append(f);
    }
    const double temperature = Stock::MinTemperature + in.byte() % (Stock::MaxTemperature - Stock::MinTemperature + 1);
    const Stock::Plan plan = Stock::plan(recipe, factor, litres, separator, temperature);
    for (const Stock::TankContents &t : plan.tanks) {
        FUZZ_CHECK(!t.lines.isEmpty());
        for (const Stock::Line &line : t.lines) {
            FUZZ_CHECK(!line.name.isEmpty());
            FUZZ_CHECK(std::isfinite(line.grams) && line.grams >= 0);
            FUZZ_CHECK(std::isfinite(line.gramsPerLitre));
            // The shared ions never make a salt lighter than it is alone.
            FUZZ_CHECK(line.solubilityPercent.has_value() == line.sharedPercent.has_value());
            if (line.solubilityPercent && !std::isnan(*line.solubilityPercent))
                FUZZ_CHECK(!(*line.sharedPercent < *line.solubilityPercent));
        }
        FUZZ_CHECK(std::isfinite(t.grams));
    }
    for (const QString &w : plan.warnings)
        FUZZ_CHECK(!w.isEmpty());
    FUZZ_CHECK(!(plan.costPer1000Litres < 0)); // no price was below 0
    return 0;
}
