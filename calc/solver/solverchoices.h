#pragma once

#include "compositionsolver.h"

#include <QHash>
#include <QSet>
#include <QVariant>

// What the grower chose in "Подбор состава", kept for the next opening while the program runs
// (never in the base): the stage, the water analysis, the modes set by hand, and the amounts
// kept and bounded, by the working composition's row.
struct SolverChoices
{
    Stage stage = Stage::Vegetative;
    QVariant water;                // id_voda; null for "Без учёта воды"
    QHash<int, ElementMode> modes; // by id_el; an element without one takes the default
    QSet<qint64> fixed;            // by id_rachet: "Закрепить"
    QHash<qint64, double> atMost;  // by id_rachet: "Не больше г/л."
};
