#pragma once

#include "calc/recipefile/recipeanalysis.h"

#include <QByteArray>

// What `vernolat-calc analyse` prints: for a grower, Russian texts in columns; for a script,
// JSON. Numbers always with ".", whatever the locale.
namespace AnalyseReport {

QByteArray text(const RecipeFile::Recipe &recipe, const RecipeFile::Analysis &analysis);

// {"elements": {symbol: mg/L}, "ions": {key: {"mg", "mmol", "meq"}}, "cations_meq",
// "anions_meq", "ec", "ph", "acid": {"meq_per_litre", "ml_per_litre", "adds": {symbol: mg/L},
// "hco3_left"} or null}.
QByteArray json(const RecipeFile::Analysis &analysis);

} // namespace AnalyseReport
