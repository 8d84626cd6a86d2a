#pragma once

#include "calc/solver/compositionsolver.h"

#include <QHash>
#include <QVariant>

// What "Подбор состава" keeps for its next opening while the program runs (never in the base):
// the stage, the water analysis and each element's mode.
struct SolverChoices
{
    Stage stage = Stage::Vegetative;
    QVariant water;                // id_voda; null for "Без учёта воды"
    QHash<int, ElementMode> modes; // by id_el
};
