#pragma once

#include "calc/recipefile/recipefile.h"

#include <optional>

class BaseQueries;

// A composition of a base as a recipe file: every fertilizer with its whole label (symbols, not
// the base's keys) and its properties, the crop with its targets, the water chosen. What a file
// cannot hold (an element the default base lacks, a label no reader would accept) is refused
// before anything is written, so every exported file reads back.
namespace RecipeExport {

struct Source
{
    QString name;                   // the recipe's name
    int percentage = 100;
    std::optional<double> litres;
    std::optional<int> crop;        // T_kult key
    std::optional<int> water;       // t_voda key
};

// The saved solution `solution` (t_head_rar key) at the percentage it was saved with, under its
// crop; `water` as chosen.
RecipeFile::Recipe savedSolution(BaseQueries &base, int solution, std::optional<int> water = {});

// The working composition as `source` describes it.
RecipeFile::Recipe workingComposition(BaseQueries &base, const Source &source);

// Every fertilizer of the base in key order, as a file holds it (no amounts).
QList<RecipeFile::Fertilizer> fertilizerList(BaseQueries &base);

} // namespace RecipeExport
