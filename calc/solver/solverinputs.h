#pragma once

#include "compositionsolver.h"

#include "data/baserows.h"

#include <QHash>
#include <QList>
#include <QStringList>

class Connection;

// The solver's problem from plain rows of the base (BaseQueries), so that the dialog and a
// program without a window build it in one way.
namespace SolverInputs {

// A crop's target rows with the default mode, weight and ceiling (SolverDefaults) and no water. A row whose
// element is not in the base is left out and counted in `withoutElement`.
QList<SolverProblem::Element> elementsOf(const BaseRows::Crop &crop, Stage stage,
                                         int *withoutElement = nullptr);

// The rows of a recipe, each with its fertilizer's composition rows as the file holds them now.
// Not fixed, no bound; the nitrogen form and the acid from its properties. A row whose fertilizer is not in the base is left out and counted in
// `withoutFertilizer`.
QList<SolverProblem::Fertilizer> fertilizersOf(Connection &connection,
                                               const QList<BaseRows::RecipeLine> &lines,
                                               int *withoutFertilizer = nullptr);

// What was left out, one phrase per kind of row ("строки состава без удобрения: 2"), for
// SolverProblem::leftOut.
QStringList leftOutText(int rowsWithoutFertilizer, int targetsWithoutElement);

// mg/L per element of an analysis, an element listed twice counted twice.
QHash<int, double> waterOf(const BaseRows::WaterAnalysis &analysis);

// The analysis as the chemistry reads it: its lines by symbol, HCO3 and pH.
Chemistry::Water chemistryWaterOf(const BaseRows::WaterAnalysis &analysis);
// The analysis into the problem: each element's mg/L and the chemistry's water.
void setWater(SolverProblem &problem, const BaseRows::WaterAnalysis &analysis);
// The crop's ammonium share and the stage's EC (the problem's stage) into the problem.
void setCrop(SolverProblem &problem, const BaseRows::Crop &crop);

// Which salt totals the options row asks for.
SaltOptions saltOptionsOf(const BaseRows::Options &options);

} // namespace SolverInputs
