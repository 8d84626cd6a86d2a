#pragma once

#include <QString>

#include <optional>

// Acid against the water's alkalinity: how much H+ brings the water from its pH to a target pH
// (closed system: the CO2 formed stays dissolved), and how much of a commercial acid gives it.
// Concentrations, not activities: a tap water's ionic strength moves these figures by less than
// a supplier's strength tolerance.
namespace Chemistry {

inline constexpr double DefaultTargetPh = 5.8;

// Units a water report states alkalinity in.
enum class AlkalinityUnit {
    Hco3,     // mg/L of HCO3
    CaCo3,    // mg/L as CaCO3
    Meq,      // meq/L (a Russian hardness degree, 1 Ж, is the same)
    GermanDkh // German degrees of carbonate hardness
};
double alkalinityToMeq(double value, AlkalinityUnit unit);
double alkalinityFromMeq(double meq, AlkalinityUnit unit);

// The water's dissolved carbonate, mmol/L of C, from its alkalinity (meq/L) and pH; without a
// pH, the alkalinity itself (all of it HCO3-).
double carbonateTotal(double alkalinityMeq, std::optional<double> ph);

// meq/L of H+ that take the water to `targetPh`; never below 0 (a water already below the target
// needs none). Without the water's pH the simpler form Alk / (1 + 10^(pHt − 6.35)).
double acidNeeded(double alkalinityMeq, std::optional<double> waterPh, double targetPh);

enum class AcidKind { Nitric, Phosphoric, Sulphuric };

// An acid as sold: its kind, strength in % by mass and density in g/mL (the supplier's sheet).
struct AcidProduct
{
    AcidKind kind = AcidKind::Nitric;
    double strengthPercent = 0;
    double density = 0;
};
double acidMolarity(const AcidProduct &acid);    // mol/L = 10 × strength × density / M
double acidEquivalents(const AcidProduct &acid); // eq/L of H+ it gives at a nutrient pH

struct AcidDose
{
    double meq = 0;             // meq/L of H+
    double mlPerLitre = 0;      // of the acid per litre of solution
    double mlPer1000Litres = 0;
    double gramsPerLitre = 0;   // of the acid, for a working composition in g/L
    QString element;            // what it adds: N (nitrate), P or S
    double elementMg = 0;       // mg/L of that element
    double hco3Left = 0;        // mg/L of HCO3 after the dose
    double ph = 0;              // the pH the dose reaches: the target, unless limited
    bool limited = false;       // cut to `mostElementMg` before the target was reached
};

// The dose of `acid` that brings water of `alkalinityMeq` (and `waterPh`, if measured) to
// `targetPh`. `mostElementMg` caps what the acid may add of its element (the phosphoric acid a P
// target allows): the dose is then cut, and `ph` says where it stops.
AcidDose acidDose(const AcidProduct &acid, double alkalinityMeq, std::optional<double> waterPh,
                  double targetPh = DefaultTargetPh,
                  std::optional<double> mostElementMg = std::nullopt);

} // namespace Chemistry
