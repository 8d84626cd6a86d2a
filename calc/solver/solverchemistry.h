#pragma once

#include "compositionsolver.h"

#include <optional>

// The solver's problem as the chemistry core reads it: the nitrogen forms for the ammonium
// share, the acid's dose, the answer's EC, the targets' ion balance and the water's salinity.
namespace SolverChemistry {

// mg/L of N, as ammonium and in every form, that 1 g/L of a fertilizer brings.
struct Nitrogen
{
    double ammonium = 0;
    double total = 0;
};
Nitrogen nitrogenOf(const SolverProblem::Fertilizer &fertilizer);
// ... and that the water brings.
Nitrogen nitrogenOf(const Chemistry::Water &water);

struct Reading
{
    std::optional<double> ec;            // mS/cm at 25 °C
    std::optional<double> ammoniumShare; // % of N
};
// The answer `amounts` with the problem's water. Figures the chemistry refuses (a negative
// percentage, which the solver itself takes as given) read as none.
Reading readingOf(const SolverProblem &problem, const QList<double> &amounts);

// The water's alkalinity, meq/L.
double alkalinityOf(const SolverProblem &problem);
// The dose of fertilizer `acid` (which must carry an acid product) for the problem's water and
// target pH; phosphoric acid never beyond what the P target leaves after the water.
Chemistry::AcidDose doseOf(const SolverProblem &problem, int acid);

// cations − anions, meq/L, of what the salts must bring (each asked element's target less the
// water, the ammonium share of N as ammonium), the acid's `acidMeq` of anions allowed for; none
// when that balances within what rounded targets miss by.
std::optional<double> imbalanceOf(const SolverProblem &problem, double acidMeq);
// The finding in one sentence, with what the grower can do about it.
QString imbalanceText(double meq, QChar decimalSeparator);

// Elements whose water mmol/L pass SolverDefaults' limits (Na, Cl).
QList<int> salineOf(const SolverProblem &problem);
double millimolesOf(const SolverProblem::Element &element);

// What the answer says of the chemistry, each sentence after a blank: the targets' imbalance,
// the acid's dose, the EC asked and reached, the water's sodium and chloride. Empty when there
// is nothing to say.
QString notesText(const SolverProblem &problem, const SolverResult &result, QChar decimalSeparator);

} // namespace SolverChemistry
