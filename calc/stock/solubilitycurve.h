#pragma once

#include <array>
#include <optional>

// A fertilizer's solubility against the water's temperature: grams of the product as sold per
// litre of water at 0, 10, 20, 30 and 40 °C, read between the figures along straight lines.
namespace Stock {

inline constexpr int MinTemperature = 5;
inline constexpr int MaxTemperature = 35;
// The temperature of the one figure a base had before curves: a plan at it keeps its figures.
inline constexpr int DefaultTemperature = 20;

struct SolubilityCurve
{
    static constexpr int Step = 10; // °C between the figures, the first at 0 °C
    // At 0, 10, 20, 30, 40 °C; none, or 0 and less: not known.
    std::array<std::optional<double>, 5> grams;
};

struct Solubility
{
    double grams = 0;   // per litre of water
    // Whether the curve reaches the temperature. When it does not, `grams` is the figure of the
    // nearest temperature it has (`takenAt`), which the plan names: a cold room dissolves less.
    bool measured = true;
    int takenAt = DefaultTemperature;
};

// The solubility at `temperature`: linear between the two known figures around it, or the
// nearest known figure beyond them; none without any figure.
std::optional<Solubility> solubilityAt(const SolubilityCurve &curve, double temperature);

} // namespace Stock
