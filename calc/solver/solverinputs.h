#pragma once

#include "compositionsolver.h"

#include "data/baserows.h"

#include <QHash>
#include <QList>

class Connection;

// The solver's problem from plain rows of the base (BaseQueries), so that the dialog and a
// program without a window build it in one way.
namespace SolverInputs {

// A crop's target rows with the default mode for the stage's target and no water.
QList<SolverProblem::Element> elementsOf(const BaseRows::Crop &crop, Stage stage);

// The rows of a recipe, each with its fertilizer's composition rows as the file holds them now.
// Not fixed, no bound.
QList<SolverProblem::Fertilizer> fertilizersOf(Connection &connection,
                                               const QList<BaseRows::RecipeLine> &lines);

// mg/L per element of an analysis, an element listed twice counted twice.
QHash<int, double> waterOf(const BaseRows::WaterAnalysis &analysis);

// Which salt totals the options row asks for.
SaltOptions saltOptionsOf(const BaseRows::Options &options);

} // namespace SolverInputs
