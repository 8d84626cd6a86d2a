#include "acid.h"

#include "equilibrium.h"
#include "inputcheck.h"

#include <cmath>

namespace Chemistry {

namespace {

constexpr double Hco3MgPerMeq = 61.017;
constexpr double CaCo3MgPerMeq = 50.043;       // 100.086 / 2
constexpr double CaCo3MgPerGermanDegree = 17.848;

const double K1 = std::pow(10.0, -CarbonatePk1);
const double K2 = std::pow(10.0, -CarbonatePk2);
const double Kw = std::pow(10.0, -WaterPk);

double hydrogen(double ph)
{
    return std::pow(10.0, -ph);
}

// Carbonate fractions: HCO3- (alpha1) and CO3 2- (alpha2) of the carbonate total.
double alpha1(double h)
{
    return 1 / (1 + h / K1 + K2 / h);
}
double alpha2(double h)
{
    return 1 / (1 + h / K2 + h * h / (K1 * K2));
}

// The charge the carbonate and water of a closed system carry at `ph`, in meq/L.
double alkalinityAt(double carbonate, double ph)
{
    const double h = hydrogen(ph);
    return carbonate * (alpha1(h) + 2 * alpha2(h)) + (Kw / h - h) * 1000;
}

struct AcidData
{
    double molarMass;
    int protons;          // given at a nutrient solution's pH
    const char *element;  // what the anion adds
    double elementMass;
};

// Phosphoric acid gives its second proton only above about pH 7: at a nutrient pH, one.
const AcidData &acidData(AcidKind kind)
{
    static const AcidData nitric = {63.012, 1, "N", 14.007};
    static const AcidData phosphoric = {97.994, 1, "P", 30.974};
    static const AcidData sulphuric = {98.072, 2, "S", 32.06};
    switch (kind) {
    case AcidKind::Nitric:
        break;
    case AcidKind::Phosphoric:
        return phosphoric;
    case AcidKind::Sulphuric:
        return sulphuric;
    }
    return nitric;
}

void requirePh(double ph, const QString &what)
{
    requireWithin(ph, 0, 14, what);
}

void requireAlkalinity(double meq)
{
    requireNonNegative(meq, QStringLiteral("Щёлочность воды"));
}

} // namespace

double alkalinityToMeq(double value, AlkalinityUnit unit)
{
    switch (unit) {
    case AlkalinityUnit::Hco3:
        return value / Hco3MgPerMeq;
    case AlkalinityUnit::CaCo3:
        return value / CaCo3MgPerMeq;
    case AlkalinityUnit::Meq:
        break;
    case AlkalinityUnit::GermanDkh:
        return value * CaCo3MgPerGermanDegree / CaCo3MgPerMeq;
    }
    return value;
}

double alkalinityFromMeq(double meq, AlkalinityUnit unit)
{
    return meq / alkalinityToMeq(1, unit);
}

double carbonateTotal(double alkalinityMeq, std::optional<double> ph)
{
    requireAlkalinity(alkalinityMeq);
    if (!ph)
        return alkalinityMeq;
    requirePh(*ph, QStringLiteral("pH воды"));
    const double h = hydrogen(*ph);
    // Below the alkalinity that water and its own OH- and H+ carry, there is no carbonate.
    return std::max(0.0, (alkalinityMeq - (Kw / h - h) * 1000) / (alpha1(h) + 2 * alpha2(h)));
}

double acidNeeded(double alkalinityMeq, std::optional<double> waterPh, double targetPh)
{
    requirePh(targetPh, QStringLiteral("Целевой pH"));
    const double carbonate = carbonateTotal(alkalinityMeq, waterPh);
    const double acid = waterPh ? alkalinityMeq - alkalinityAt(carbonate, targetPh)
                                : alkalinityMeq / (1 + std::pow(10.0, targetPh - CarbonatePk1));
    return std::max(0.0, acid);
}

double acidMolarity(const AcidProduct &acid)
{
    requireWithin(acid.strengthPercent, 0, 100, QStringLiteral("Крепость кислоты, %"), true);
    requireWithin(acid.density, 0, 3, QStringLiteral("Плотность кислоты, г/мл"), true);
    return 10 * acid.strengthPercent * acid.density / acidData(acid.kind).molarMass;
}

double acidEquivalents(const AcidProduct &acid)
{
    return acidMolarity(acid) * acidData(acid.kind).protons;
}

AcidDose acidDose(const AcidProduct &acid, double alkalinityMeq, std::optional<double> waterPh,
                  double targetPh, std::optional<double> mostElementMg)
{
    const AcidData &data = acidData(acid.kind);
    const double equivalents = acidEquivalents(acid);
    AcidDose dose;
    dose.element = QString::fromLatin1(data.element);
    dose.meq = acidNeeded(alkalinityMeq, waterPh, targetPh);
    dose.ph = targetPh;
    const double mgPerMeq = data.elementMass / data.protons;
    if (mostElementMg) {
        requireNonNegative(*mostElementMg, QStringLiteral("Предел элемента кислоты, мг/л"));
        if (dose.meq * mgPerMeq > *mostElementMg) {
            dose.meq = *mostElementMg / mgPerMeq;
            dose.limited = true;
            // The acid needed falls as the target rises: find the pH the smaller dose reaches.
            double low = targetPh;
            double high = waterPh.value_or(14);
            while (high - low > 1e-9) {
                const double middle = (low + high) / 2;
                if (acidNeeded(alkalinityMeq, waterPh, middle) > dose.meq)
                    low = middle;
                else
                    high = middle;
            }
            dose.ph = (low + high) / 2;
        }
    }
    dose.mlPerLitre = dose.meq / equivalents;
    dose.mlPer1000Litres = dose.mlPerLitre * 1000;
    dose.gramsPerLitre = dose.mlPerLitre * acid.density;
    dose.elementMg = dose.meq * mgPerMeq;
    const double carbonate = carbonateTotal(alkalinityMeq, waterPh);
    if (waterPh)
        dose.hco3Left = dose.meq > 0 ? carbonate * alpha1(hydrogen(dose.ph)) * Hco3MgPerMeq
                                     : alkalinityMeq * Hco3MgPerMeq;
    else
        dose.hco3Left = (alkalinityMeq - dose.meq) * Hco3MgPerMeq;
    return dose;
}

} // namespace Chemistry
