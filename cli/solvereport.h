#pragma once

#include "calc/recipeexchange/recipesolve.h"

#include <QByteArray>

// What `vernolat-calc solve` prints: the dialog's amounts, its element table and its status text
// for a grower; for a program {"status", "amounts", "elements", "ec", "nh4_percent", "message"}.
namespace SolveReport {

QByteArray text(const RecipeSolve::Solved &solved);
QByteArray json(const RecipeSolve::Solved &solved);

} // namespace SolveReport
