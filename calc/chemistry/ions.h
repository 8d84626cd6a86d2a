#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <optional>

// What the elements of a recipe become in water: the dissolved forms (components) an element
// symbol stands for, and the species they make, with the figures the chemistry needs. The
// figures are 25 °C values: molar masses from the IUPAC 2013 abridged atomic weights, diffusion
// coefficients from the CRC Handbook's table of ionic conductivity and diffusion at infinite
// dilution.
namespace Chemistry {

// A dissolved form, counted in mmol/L of its element (carbonate in mmol/L of carbon, all of
// CO2, HCO3- and CO3 2-). The acid-base ones (ammonium, phosphate, sulphate, carbonate) are
// split into species by the pH.
enum class Component {
    Nitrate,
    Ammonium,
    Urea,
    Phosphate,
    Sulphate,
    Potassium,
    Calcium,
    Magnesium,
    Sodium,
    Chloride,
    Manganese,
    Zinc,
    Copper,
    Molybdate,
    Iron,
    Boron,
    Silicon,
    Carbonate,
    Count
};
inline constexpr std::size_t ComponentCount = std::size_t(Component::Count);

// The species in solution: cations, anions, neutral species, then the four sulphate ion pairs,
// which only the conductivity model forms.
enum class Ion {
    NH4,
    K,
    Ca,
    Mg,
    Na,
    Mn,
    Zn,
    Cu,
    H,
    NO3,
    H2PO4,
    HPO4,
    PO4,
    HSO4,
    SO4,
    Cl,
    HCO3,
    CO3,
    MoO4,
    OH,
    Urea,
    NH3,
    H3PO4,
    CO2,
    FeChelate, // chelated iron: the chelate carries the charge, and its counter-ion is not tracked
    H3BO3,
    SiOH4,
    CaSO4,
    MgSO4,
    KSO4,
    NH4SO4,
    Count
};
inline constexpr std::size_t IonCount = std::size_t(Ion::Count);

// mmol/L per component, per species.
using Totals = std::array<double, ComponentCount>;
using Amounts = std::array<double, IonCount>;

inline double &at(Totals &t, Component c) { return t[std::size_t(c)]; }
inline double at(const Totals &t, Component c) { return t[std::size_t(c)]; }
inline double &at(Amounts &a, Ion i) { return a[std::size_t(i)]; }
inline double at(const Amounts &a, Ion i) { return a[std::size_t(i)]; }

struct IonData
{
    const char *key;   // ASCII, for files and the command line: "NO3", "H2PO4", "Ca"
    const char *label; // as a grower reads it: "NO₃⁻", "Ca²⁺"
    int charge;
    double molarMass;  // g/mol of the species
    double diffusion;  // 1e-9 m²/s at 25 °C; 0 for a neutral species
    Component component;
    int elementAtoms;  // atoms of the component's element in one species (urea holds two N)
};
const IonData &ionData(Ion ion);
QString ionKey(Ion ion);
QString ionLabel(Ion ion);
bool isPair(Ion ion);

struct ComponentData
{
    const char *element; // the element symbol it is counted as: "N", "P", "C"
    double atomicMass;
};
const ComponentData &componentData(Component component);

// The form plain N of a fertilizer takes; nitrate when the grower has not said.
enum class NitrogenForm { Nitrate, Ammonium, Urea };

// The component an element symbol stands for, by the symbol alone (bases number elements
// differently): N-NO3, N-NH4 and N-NH2 (urea nitrogen, as labels state it) as their forms,
// plain N as `plainNitrogen`, P, S, Mo as phosphate, sulphate, molybdate, the metals and Na, Cl,
// B, Si as themselves. Label oxides (P2O5, K2O ...) have none: they count through the element
// their coefficient yields. Blanks around the symbol are ignored, its case is not.
std::optional<Component> componentOf(const QString &symbol, NitrogenForm plainNitrogen);

} // namespace Chemistry
