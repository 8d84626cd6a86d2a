#include "equilibrium.h"

#include <cmath>
#include <optional>

namespace Chemistry {

namespace {

// Constants at 25 °C.
constexpr double Faraday = 96485.33;  // C/mol
constexpr double GasConstant = 8.314463; // J/(mol K)
constexpr double Temperature = 298.15;   // K
constexpr double DaviesA = 0.5085;

double tenTo(double exponent)
{
    return std::pow(10.0, exponent);
}

// Acid constants (thermodynamic, 25 °C).
const double CarbonateK1 = tenTo(-CarbonatePk1);
const double CarbonateK2 = tenTo(-CarbonatePk2);
const double PhosphateK1 = tenTo(-2.15);
const double PhosphateK2 = tenTo(-7.20);
const double PhosphateK3 = tenTo(-12.35);
const double AmmoniumK = tenTo(-9.25);
const double HydrogenSulphateK = tenTo(-1.99);
const double WaterK = tenTo(-WaterPk);

// Sulphate pairs: K = activity of the pair / (activity of the cation × activity of sulphate).
// NH4SO4- is the least certain of the four; CaSO4 is 2.30 in some tables.
struct PairData
{
    Ion cation;
    Ion pair;
    double stability;
};
const std::array<PairData, 4> Pairs = {{
    {Ion::Ca, Ion::CaSO4, tenTo(2.25)},
    {Ion::Mg, Ion::MgSO4, tenTo(2.37)},
    {Ion::K, Ion::KSO4, tenTo(0.85)},
    {Ion::NH4, Ion::NH4SO4, tenTo(1.11)},
}};

// The widest pH the charge balance is searched over; a recipe outside it is not a solution
// anyone mixes, and its figures stop at the bound.
constexpr double LowestPh = -1;
constexpr double HighestPh = 15;

double gammaOf(const Activity &a, int charge)
{
    return a.gamma[std::size_t(std::abs(charge))];
}

// Shares of the species of one acid-base system, from the ratio of each species to the one
// before it.
template<std::size_t N>
std::array<double, N> shares(const std::array<double, N - 1> &ratios)
{
    std::array<double, N> s{};
    s[0] = 1;
    double sum = 1;
    for (std::size_t i = 1; i < N; ++i) {
        s[i] = s[i - 1] * ratios[i - 1];
        sum += s[i];
    }
    for (double &v : s)
        v /= sum;
    return s;
}

// The species of `t` at `ph`, activity coefficients `a`, no pairs formed. The constants are
// thermodynamic, so each ratio carries the coefficients of the species it links.
Amounts speciate(const Totals &t, double ph, const Activity &a)
{
    const double h = tenTo(-ph); // activity of H+
    const double g1 = a.gamma[1];
    const double g2 = a.gamma[2];
    const double g3 = a.gamma[3];
    Amounts s{};
    at(s, Ion::K) = at(t, Component::Potassium);
    at(s, Ion::Ca) = at(t, Component::Calcium);
    at(s, Ion::Mg) = at(t, Component::Magnesium);
    at(s, Ion::Na) = at(t, Component::Sodium);
    at(s, Ion::Mn) = at(t, Component::Manganese);
    at(s, Ion::Zn) = at(t, Component::Zinc);
    at(s, Ion::Cu) = at(t, Component::Copper);
    at(s, Ion::NO3) = at(t, Component::Nitrate);
    at(s, Ion::Cl) = at(t, Component::Chloride);
    at(s, Ion::MoO4) = at(t, Component::Molybdate);
    at(s, Ion::Urea) = at(t, Component::Urea) / ionData(Ion::Urea).elementAtoms;
    at(s, Ion::FeChelate) = at(t, Component::Iron);
    at(s, Ion::H3BO3) = at(t, Component::Boron);
    at(s, Ion::SiOH4) = at(t, Component::Silicon);

    const auto ammonium = shares<2>({AmmoniumK * g1 / h});
    at(s, Ion::NH4) = at(t, Component::Ammonium) * ammonium[0];
    at(s, Ion::NH3) = at(t, Component::Ammonium) * ammonium[1];

    const auto phosphate = shares<4>(
        {PhosphateK1 / (h * g1), PhosphateK2 * g1 / (h * g2), PhosphateK3 * g2 / (h * g3)});
    const double p = at(t, Component::Phosphate);
    at(s, Ion::H3PO4) = p * phosphate[0];
    at(s, Ion::H2PO4) = p * phosphate[1];
    at(s, Ion::HPO4) = p * phosphate[2];
    at(s, Ion::PO4) = p * phosphate[3];

    const auto sulphate = shares<2>({HydrogenSulphateK * g1 / (h * g2)});
    at(s, Ion::HSO4) = at(t, Component::Sulphate) * sulphate[0];
    at(s, Ion::SO4) = at(t, Component::Sulphate) * sulphate[1];

    const auto carbonate = shares<3>({CarbonateK1 / (h * g1), CarbonateK2 * g1 / (h * g2)});
    const double c = at(t, Component::Carbonate);
    at(s, Ion::CO2) = c * carbonate[0];
    at(s, Ion::HCO3) = c * carbonate[1];
    at(s, Ion::CO3) = c * carbonate[2];

    at(s, Ion::H) = h / g1 * 1000;
    at(s, Ion::OH) = WaterK / (h * g1) * 1000;
    return s;
}

// The pH where the charges of `t` balance. The balance falls as the pH rises (every species
// gives up protons), so a bracket holds the root: first a tenth of a unit around `near` (the last
// round's answer) or, failing that, the whole range halved down to a tenth, then false position
// with the Illinois step, which closes such a narrow bracket in a few evaluations.
double balancingPh(const Totals &t, const Activity &a, double strongCharge, std::optional<double> near)
{
    const auto charge = [&](double ph) { return netCharge(speciate(t, ph, a)) + strongCharge; };
    double low = 0;
    double high = 0;
    double chargeLow = 0;
    double chargeHigh = 0;
    const auto bracket = [&](double from, double to) {
        low = from;
        high = to;
        chargeLow = charge(low);
        chargeHigh = charge(high);
        return chargeLow > 0 && chargeHigh < 0;
    };
    if (!near || !bracket(*near - 0.05, *near + 0.05)) {
        if (!bracket(LowestPh, HighestPh))
            return chargeLow <= 0 ? LowestPh : HighestPh;
        while (high - low > 0.1) {
            const double middle = (low + high) / 2;
            const double c = charge(middle);
            (c > 0 ? low : high) = middle;
            (c > 0 ? chargeLow : chargeHigh) = c;
        }
    }
    int side = 0;
    for (int step = 0; step < 200 && high - low > 1e-10; ++step) {
        const double ph = (low * chargeHigh - high * chargeLow) / (chargeHigh - chargeLow);
        const double c = charge(ph);
        if (c > 0) {
            low = ph;
            chargeLow = c;
            if (side > 0)
                chargeHigh /= 2;
            side = 1;
        } else if (c < 0) {
            high = ph;
            chargeHigh = c;
            if (side < 0)
                chargeLow /= 2;
            side = -1;
        } else {
            return ph;
        }
    }
    return (low + high) / 2;
}

// Forms the sulphate pairs: the free sulphate s solves s + Σ c k s / (1 + k s) = SO4 total,
// with k the stability constant in concentrations. The left side rises and bends down, so
// Newton's steps from 0 climb to the root without passing it.
Amounts pairUp(const Amounts &species, const Activity &a)
{
    Amounts free = species;
    const double sulphate = at(species, Ion::SO4);
    if (sulphate <= 0)
        return free;
    std::array<double, Pairs.size()> k{};
    for (std::size_t i = 0; i < Pairs.size(); ++i) {
        const PairData &p = Pairs[i];
        k[i] = p.stability * gammaOf(a, ionData(p.cation).charge) * a.gamma[2]
               / gammaOf(a, ionData(p.pair).charge) / 1000; // L/mmol
    }
    double s = 0;
    for (int step = 0; step < 100; ++step) {
        double g = s - sulphate;
        double slope = 1;
        for (std::size_t i = 0; i < Pairs.size(); ++i) {
            const double c = at(species, Pairs[i].cation);
            const double d = 1 + k[i] * s;
            g += c * k[i] * s / d;
            slope += c * k[i] / (d * d);
        }
        const double move = g / slope;
        s -= move;
        if (std::abs(move) <= 1e-15 * sulphate)
            break;
    }
    at(free, Ion::SO4) = s;
    for (std::size_t i = 0; i < Pairs.size(); ++i) {
        const double c = at(species, Pairs[i].cation);
        at(free, Pairs[i].cation) = c / (1 + k[i] * s);
        at(free, Pairs[i].pair) = c - at(free, Pairs[i].cation);
    }
    return free;
}

double ionicStrengthOf(const Amounts &free)
{
    double sum = 0;
    for (std::size_t i = 0; i < IonCount; ++i) {
        const int z = ionData(Ion(i)).charge;
        sum += z * z * free[i];
    }
    return sum / 2 / 1000;
}

// The exponent of the activity coefficient in the conductivity: 0.6 / sqrt|z| up to an ionic
// strength of 0.36 |z|, sqrt(I) / |z| above it.
double conductivityExponent(int charge, double ionicStrength)
{
    const double z = std::abs(charge);
    if (ionicStrength <= 0.36 * z)
        return 0.6 / std::sqrt(z);
    return std::sqrt(ionicStrength) / z;
}

double ecOf(const Amounts &free, const Activity &a)
{
    double sum = 0; // Σ D z² γ^a c, D in 1e-9 m²/s, c in mol/m³
    for (std::size_t i = 0; i < IonCount; ++i) {
        const IonData &d = ionData(Ion(i));
        if (d.charge == 0 || free[i] <= 0)
            continue;
        const double gamma = gammaOf(a, d.charge);
        sum += d.diffusion * d.charge * d.charge
               * std::pow(gamma, conductivityExponent(d.charge, a.ionicStrength)) * free[i];
    }
    const double siemensPerMetre = Faraday * Faraday / (GasConstant * Temperature) * sum * 1e-9;
    return siemensPerMetre * 10;
}

bool settled(double before, double after)
{
    return std::abs(after - before) <= 1e-14 + 1e-12 * std::abs(after);
}

// Rounds between the ionic strength and what depends on it; it settles in a handful. Past
// half the limit each new strength is averaged with the last, so that an overshoot cannot
// cycle.
constexpr int MaxRounds = 200;

double nextStrength(int round, double before, double computed)
{
    return round < MaxRounds / 2 ? computed : (before + computed) / 2;
}

} // namespace

Activity activityAt(double ionicStrength)
{
    Activity a;
    a.ionicStrength = ionicStrength;
    const double root = std::sqrt(ionicStrength);
    const double davies = root / (1 + root) - 0.3 * ionicStrength;
    for (int z = 1; z <= 3; ++z)
        a.gamma[std::size_t(z)] = tenTo(-DaviesA * z * z * davies);
    return a;
}

Conductivity conductivity(const Amounts &species, bool pairs)
{
    Conductivity c;
    double strength = ionicStrengthOf(species);
    for (c.rounds = 1; c.rounds <= MaxRounds; ++c.rounds) {
        const Activity a = activityAt(strength);
        c.free = pairs ? pairUp(species, a) : species;
        const double next = nextStrength(c.rounds, strength, ionicStrengthOf(c.free));
        const bool done = settled(strength, next);
        strength = next;
        if (done)
            break;
    }
    c.ionicStrength = strength;
    c.ec = ecOf(c.free, activityAt(strength));
    return c;
}

double netCharge(const Amounts &species)
{
    double sum = 0;
    for (std::size_t i = 0; i < IonCount; ++i)
        sum += ionData(Ion(i)).charge * species[i];
    return sum;
}

Amounts speciesAt(const Totals &totals, double ph)
{
    const Amounts first = speciate(totals, ph, activityAt(0));
    return speciate(totals, ph, activityAt(ionicStrengthOf(first)));
}

Speciation equilibrate(const Totals &totals, bool pairs, double strongCharge)
{
    Speciation s;
    Conductivity &c = s.conductivity;
    double strength = 0;
    std::optional<double> last;
    for (c.rounds = 1; c.rounds <= MaxRounds; ++c.rounds) {
        const Activity a = activityAt(strength);
        const double ph = balancingPh(totals, a, strongCharge, last);
        last = ph;
        s.species = speciate(totals, ph, a);
        c.free = pairs ? pairUp(s.species, a) : s.species;
        const double next = nextStrength(c.rounds, strength, ionicStrengthOf(c.free));
        const bool done = settled(strength, next) && std::abs(ph - s.ph) <= 1e-9;
        strength = next;
        s.ph = ph;
        if (done)
            break;
    }
    c.ionicStrength = strength;
    c.ec = ecOf(c.free, activityAt(strength));
    return s;
}

} // namespace Chemistry
