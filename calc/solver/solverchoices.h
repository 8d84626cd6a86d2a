#pragma once

#include "compositionsolver.h"

#include <QHash>
#include <QSet>
#include <QVariant>

#include <optional>

// What the grower chose in "Подбор состава", kept for the next opening while the program runs
// (never in the base): the stage, the water analysis, the modes and weights set by hand, the
// ammonium share and the EC typed for a crop, "По EC", and the amounts kept and bounded, by the
// working composition's row.
struct SolverChoices
{
    Stage stage = Stage::Vegetative;
    QVariant water;                // id_voda; null for "Без учёта воды"
    QHash<int, ElementMode> modes; // by id_el; an element without one takes the default
    QHash<int, int> weights;       // by id_el: "Вес"
    // By id_kult, as typed: none for "no limit" / "no EC"; a crop without one takes its own.
    QHash<int, std::optional<double>> ammoniumShares;
    QHash<QPair<int, int>, std::optional<double>> ecs; // by id_kult and Stage
    bool byEc = false;             // "По EC"
    QSet<qint64> fixed;            // by id_rachet: "Закрепить"
    QHash<qint64, double> atMost;  // by id_rachet: "Не больше г/л."
};
