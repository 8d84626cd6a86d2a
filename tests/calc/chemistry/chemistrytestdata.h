#pragma once

#include "calc/chemistry/ionmakeup.h"
#include "calc/chemistry/targetbalance.h"

#include <QList>

// Published solutions the chemistry is checked against, typed once.
namespace ChemistryTestData {

// A standard nutrient solution (Sonneveld and Straver 1994, appendices A to C): macro ions and Si
// in mmol/L, micro elements in umol/L, EC in mS/cm at 25 °C as the book states it (a design
// value, not a measurement).
struct StandardSolution
{
    const char *name;
    double ec, no3, nh4, h2po4, k, ca, mg, so4, si, fe, mn, zn, b, cu, mo;
    // The stated EC disagrees with the rest of the table: this row's cations (11.0 meq/L) equal
    // those of "Бувардия, минвата, с возвратом дренажа", which states 1.2, and 1.1 is what rows of
    // 9.2 meq/L state. Kept in the mean errors, left out of the per-row tolerance.
    bool statedEcDoubtful = false;

    double cationMeq() const { return nh4 + k + 2 * ca + 2 * mg; }
    double anionMeq() const { return no3 + h2po4 + 2 * so4; }
};

const QList<StandardSolution> &standardSolutions();

// The solution as a water analysis in mg/L of elements, N in its two forms.
Chemistry::Water asWater(const StandardSolution &s);
// The solution as a crop's targets: plain N and, when `withAmmonium`, its ammonium share.
Chemistry::CropTargets asTargets(const StandardSolution &s, bool withAmmonium);

// KCl at `molPerLitre`; Hoagland and Arnon's two classic solutions: mmol/L of species.
Chemistry::Amounts potassiumChloride(double molPerLitre);
Chemistry::Amounts hoaglandOne();
Chemistry::Amounts hoaglandTwo();

} // namespace ChemistryTestData
