#pragma once

#include "calc/chemistry/analysis.h"
#include "calc/chemistry/targetbalance.h"
#include "calc/run/contribution.h"
#include "calc/run/recipe.h"
#include "calc/solver/compositionsolver.h"
#include "data/baserows.h"

#include <QList>
#include <QString>

#include <optional>

class Connection;

// What the ion view computes from, read from the base by key (BaseQueries) into the chemistry's
// plain values: elements by symbol, so a base numbering its elements otherwise reads the same.
namespace IonInputs {

// A fertilizer's composition rows as the chemistry's lines, by symbol.
QList<Chemistry::ElementLine> compositionOf(const QList<CompositionRow> &rows);

// The recipe's fertilizers at its percentage (as "Кол-во от %" works them out), each with its
// composition rows and the nitrogen form its properties row states, and the water analysis
// `water` (none, or one since deleted: pure water). A line naming no fertilizer in the base, or
// whose amount is no number, is left out and counted in `leftOut`.
Chemistry::Recipe recipeOf(Connection &connection, const Recipe &recipe,
                           const std::optional<int> &water, int *leftOut = nullptr);

// An analysis's lines, its HCO3 (none: 0) and its pH.
Chemistry::Water waterOf(const BaseRows::WaterAnalysis &analysis);

// A crop's targets for the stage, with its ammonium share; rows whose element is not in the
// base are left out.
Chemistry::CropTargets targetsOf(const BaseRows::Crop &crop, Stage stage, double targetPh);

// The crop's EC target for the stage, mS/cm, when its properties row states one.
std::optional<double> ecTargetOf(const BaseRows::Crop &crop, Stage stage);

// "EC ≈ 2.31 мСм/см при 25 °C", the figure with `decimalSeparator`: how every window states the
// EC the model works out.
QString ecText(double ec, QChar decimalSeparator);

// A fertilizer flagged as an acid in its properties row.
struct Acid
{
    int fertilizer = 0;
    QString name;
    std::optional<Chemistry::AcidProduct> product; // none: the dose cannot be worked out,
    QString missing;                               // and why, in Russian
};

// Every flagged acid of the base, in key order.
QList<Acid> acids(Connection &connection);

} // namespace IonInputs
