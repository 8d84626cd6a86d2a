#pragma once

#include "ions.h"

// The solution as the meters see it, at 25 °C: activities by the Davies equation, the pH from
// the charge balance of a closed system (the CO2 formed stays dissolved, as in a drip line),
// the four sulphate ion pairs (CaSO4, MgSO4, KSO4-, NH4SO4-) solved together with the ionic
// strength, and the conductivity summed from each free ion's diffusion coefficient. The Davies
// equation holds to an ionic strength of about 0.5 mol/L (a working solution is near 0.03);
// past it every figure is rough.
namespace Chemistry {

// The acid constants at 25 °C that the acid dose shares with the equilibrium.
inline constexpr double CarbonatePk1 = 6.35;
inline constexpr double CarbonatePk2 = 10.33;
inline constexpr double WaterPk = 14.00;

// Activity coefficients at one ionic strength, by |charge| (0 to 3).
struct Activity
{
    double ionicStrength = 0; // mol/L
    std::array<double, 4> gamma = {1, 1, 1, 1};
};
Activity activityAt(double ionicStrength);

struct Conductivity
{
    double ec = 0;            // mS/cm at 25 °C
    double ionicStrength = 0; // mol/L
    Amounts free{};           // mmol/L after pairing; the pairs as species of their own
    int rounds = 0;           // of the iteration between pairs and ionic strength
};

// The conductivity of species at the amounts given (mmol/L), with or without the pairs.
Conductivity conductivity(const Amounts &species, bool pairs);

struct Speciation
{
    double ph = 7;
    Amounts species{}; // mmol/L of each species, pairs not formed: what an analysis states
    Conductivity conductivity;
};

// The species of `totals` at a pH given (a target's), activities at their own ionic strength.
Amounts speciesAt(const Totals &totals, double ph);

// The net charge of species, meq/L, H+ and OH- included.
double netCharge(const Amounts &species);

// The species of `totals` at the pH where its charges balance. `strongCharge` (meq/L) is charge
// no listed species carries: what a water analysis misses.
Speciation equilibrate(const Totals &totals, bool pairs, double strongCharge = 0);

} // namespace Chemistry
