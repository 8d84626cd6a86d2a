#pragma once

#include "compositionsolver.h"

#include "data/baserows.h"

#include <QString>

#include <optional>

// What the solver assumes until the grower says otherwise, in one place for the dialog's session
// and a program without a window. Growers rank the cations first (a crop short of calcium gets
// blossom-end rot), phosphorus next, and tolerate some extra nitrate or sulphate.
namespace SolverDefaults {

inline constexpr int MinWeight = 1;
inline constexpr int MaxWeight = 10;
// Sulphur is asked "at least" its target, never beyond this many times it.
inline constexpr double SulphurCeiling = 3;
// % of N as ammonium for a crop that stores no share: about where roots and fruit start to
// suffer in substrate.
inline constexpr double AmmoniumShare = 15;
// Above these the water alone burdens a recirculating system (mmol/L).
inline constexpr double SodiumLimit = 3;
inline constexpr double ChlorideLimit = 5;

// 3 for K, Ca and Mg; 2 for P; 1 for N, S and the micro elements (by symbol).
int weightOf(const QString &symbol);
// "Не меньше" for S with a target, "Цель" for any other element with a target, else
// "Игнорировать".
ElementMode modeOf(const QString &symbol, double target);
// Times the target a "Не меньше" element may reach: S's ceiling, none for the others.
std::optional<double> ceilingOf(const QString &symbol);

// The crop's ammonium share, 15 % where it stores none.
double ammoniumShareOf(const BaseRows::Crop &crop);
// The crop's EC for the stage, mS/cm; none where it stores none.
std::optional<double> ecOf(const BaseRows::Crop &crop, Stage stage);

} // namespace SolverDefaults
