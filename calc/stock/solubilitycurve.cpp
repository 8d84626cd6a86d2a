#include "solubilitycurve.h"

#include <cmath>

namespace Stock {

std::optional<Solubility> solubilityAt(const SolubilityCurve &curve, double temperature)
{
    const auto known = [&curve](std::size_t i) {
        const std::optional<double> &g = curve.grams.at(i);
        return g && *g > 0 && !std::isnan(*g);
    };
    std::optional<std::size_t> below, above; // the nearest known figures at or around it
    for (std::size_t i = 0; i < curve.grams.size(); ++i) {
        if (!known(i))
            continue;
        const double at = double(i) * SolubilityCurve::Step;
        if (at <= temperature)
            below = i;
        if (at >= temperature && !above)
            above = i;
    }
    if (!below && !above)
        return std::nullopt;
    const auto figure = [&curve](std::size_t i) { return *curve.grams.at(i); };
    if (below && above) {
        if (*below == *above)
            return Solubility{figure(*below), true, int(*below) * SolubilityCurve::Step};
        const double t0 = double(*below) * SolubilityCurve::Step;
        const double t1 = double(*above) * SolubilityCurve::Step;
        const double share = (temperature - t0) / (t1 - t0);
        return Solubility{figure(*below) + (figure(*above) - figure(*below)) * share, true,
                          int(std::lround(temperature))};
    }
    const std::size_t nearest = below ? *below : *above;
    return Solubility{figure(nearest), false, int(nearest) * SolubilityCurve::Step};
}

} // namespace Stock
