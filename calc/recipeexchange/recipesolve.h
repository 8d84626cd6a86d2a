#pragma once

#include "calc/recipefile/recipeanalysis.h"
#include "calc/solver/compositionsolver.h"

// A recipe file solved as the dialog "Подбор состава" solves the working composition: its
// fertilizers, the file's "targets" (mg/L, the vegetative stage) with their "modes", the water's
// mg/L as the dialog's water, "fixed" and "at_most" as the dialog's kept amount and
// "Не больше г/л.". The amounts in the file are ignored unless kept.
namespace RecipeSolve {

struct Solved
{
    SolverProblem problem;
    SolverResult result;
    QStringList symbols;             // of the problem's elements, in order
    RecipeFile::Recipe recipe;       // the file with the amounts found (as it was without them)
    RecipeFile::Analysis analysis;   // of that recipe: EC and the ions, water included
    double nh4Percent = 0;           // ammonium N, % of all N
};

// Throws AppError for a file without targets.
Solved solve(const RecipeFile::Recipe &recipe);

} // namespace RecipeSolve
