#include "ions.h"

#include <QHash>

namespace Chemistry {

namespace {

// Diffusion coefficients of the micro ions (Mn, Zn, Cu, molybdate) and of the two charged sulphate
// pairs are not tabulated with the others; they are micromolar or minor, and about 0.7 and 1.0
// change no figure that shows. PO4 3- and HSO4- come from the same CRC table's limiting
// conductivities (69.0 per equivalent and 52), D = R T λ / (|z| F²).
constexpr std::array<IonData, IonCount> Ions = {{
    {"NH4", "NH₄⁺", 1, 18.038, 1.957, Component::Ammonium, 1},
    {"K", "K⁺", 1, 39.098, 1.957, Component::Potassium, 1},
    {"Ca", "Ca²⁺", 2, 40.078, 0.792, Component::Calcium, 1},
    {"Mg", "Mg²⁺", 2, 24.305, 0.706, Component::Magnesium, 1},
    {"Na", "Na⁺", 1, 22.990, 1.334, Component::Sodium, 1},
    {"Mn", "Mn²⁺", 2, 54.938, 0.7, Component::Manganese, 1},
    {"Zn", "Zn²⁺", 2, 65.38, 0.7, Component::Zinc, 1},
    {"Cu", "Cu²⁺", 2, 63.546, 0.7, Component::Copper, 1},
    {"H", "H⁺", 1, 1.008, 9.311, Component::Count, 0},
    {"NO3", "NO₃⁻", -1, 62.004, 1.902, Component::Nitrate, 1},
    {"H2PO4", "H₂PO₄⁻", -1, 96.987, 0.959, Component::Phosphate, 1},
    {"HPO4", "HPO₄²⁻", -2, 95.979, 0.759, Component::Phosphate, 1},
    {"PO4", "PO₄³⁻", -3, 94.970, 0.612, Component::Phosphate, 1},
    {"HSO4", "HSO₄⁻", -1, 97.068, 1.385, Component::Sulphate, 1},
    {"SO4", "SO₄²⁻", -2, 96.06, 1.065, Component::Sulphate, 1},
    {"Cl", "Cl⁻", -1, 35.45, 2.032, Component::Chloride, 1},
    {"HCO3", "HCO₃⁻", -1, 61.017, 1.185, Component::Carbonate, 1},
    {"CO3", "CO₃²⁻", -2, 60.009, 0.923, Component::Carbonate, 1},
    {"MoO4", "MoO₄²⁻", -2, 159.94, 0.7, Component::Molybdate, 1},
    {"OH", "OH⁻", -1, 17.007, 5.273, Component::Count, 0},
    {"urea", "мочевина", 0, 60.056, 0, Component::Urea, 2},
    {"NH3", "NH₃", 0, 17.031, 0, Component::Ammonium, 1},
    {"H3PO4", "H₃PO₄", 0, 97.994, 0, Component::Phosphate, 1},
    {"CO2", "CO₂", 0, 44.009, 0, Component::Carbonate, 1},
    {"Fe", "Fe (хелат)", 0, 55.845, 0, Component::Iron, 1},
    {"H3BO3", "H₃BO₃", 0, 61.831, 0, Component::Boron, 1},
    {"Si(OH)4", "Si(OH)₄", 0, 96.113, 0, Component::Silicon, 1},
    {"CaSO4", "CaSO₄⁰", 0, 136.138, 0, Component::Calcium, 1},
    {"MgSO4", "MgSO₄⁰", 0, 120.365, 0, Component::Magnesium, 1},
    {"KSO4", "KSO₄⁻", -1, 135.158, 1.0, Component::Potassium, 1},
    {"NH4SO4", "NH₄SO₄⁻", -1, 114.098, 1.0, Component::Ammonium, 1},
}};

constexpr std::array<ComponentData, ComponentCount> Components = {{
    {"N", 14.007},  {"N", 14.007},  {"N", 14.007},  {"P", 30.974},  {"S", 32.06},
    {"K", 39.098},  {"Ca", 40.078}, {"Mg", 24.305}, {"Na", 22.990}, {"Cl", 35.45},
    {"Mn", 54.938}, {"Zn", 65.38},  {"Cu", 63.546}, {"Mo", 95.95},  {"Fe", 55.845},
    {"B", 10.81},   {"Si", 28.085}, {"C", 12.011},
}};

const QHash<QString, Component> &symbolComponents()
{
    static const QHash<QString, Component> symbols = {
        {QStringLiteral("N-NO3"), Component::Nitrate},
        {QStringLiteral("N-NH4"), Component::Ammonium},
        {QStringLiteral("N-NH2"), Component::Urea},
        {QStringLiteral("P"), Component::Phosphate},
        {QStringLiteral("S"), Component::Sulphate},
        {QStringLiteral("K"), Component::Potassium},
        {QStringLiteral("Ca"), Component::Calcium},
        {QStringLiteral("Mg"), Component::Magnesium},
        {QStringLiteral("Na"), Component::Sodium},
        {QStringLiteral("Cl"), Component::Chloride},
        {QStringLiteral("Mn"), Component::Manganese},
        {QStringLiteral("Zn"), Component::Zinc},
        {QStringLiteral("Cu"), Component::Copper},
        {QStringLiteral("Mo"), Component::Molybdate},
        {QStringLiteral("Fe"), Component::Iron},
        {QStringLiteral("B"), Component::Boron},
        {QStringLiteral("Si"), Component::Silicon},
    };
    return symbols;
}

} // namespace

const IonData &ionData(Ion ion)
{
    return Ions[std::size_t(ion)];
}

QString ionKey(Ion ion)
{
    return QString::fromLatin1(ionData(ion).key);
}

QString ionLabel(Ion ion)
{
    return QString::fromUtf8(ionData(ion).label);
}

bool isPair(Ion ion)
{
    return ion >= Ion::CaSO4;
}

const ComponentData &componentData(Component component)
{
    return Components[std::size_t(component)];
}

std::optional<Component> componentOf(const QString &symbol, NitrogenForm plainNitrogen)
{
    const QString s = symbol.trimmed();
    if (s == QLatin1String("N")) {
        switch (plainNitrogen) {
        case NitrogenForm::Nitrate:
            return Component::Nitrate;
        case NitrogenForm::Ammonium:
            return Component::Ammonium;
        case NitrogenForm::Urea:
            return Component::Urea;
        }
    }
    const auto found = symbolComponents().constFind(s);
    if (found == symbolComponents().constEnd())
        return std::nullopt;
    return *found;
}

} // namespace Chemistry
