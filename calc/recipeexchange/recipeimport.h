#pragma once

#include "calc/recipefile/recipefile.h"

#include <QHash>
#include <QStringList>

#include <optional>

class Connection;

// A recipe file taken into a base: first a plan that says, before anything is written, what
// each fertilizer, the crop and the saved solution become; then the plan written in one
// transaction. The window's preview and the command line share both.
namespace RecipeImport {

enum class Decision {
    Reuse,  // the base has it: same name (or a name made by an earlier import) and same label
    Create, // the base has nothing of the name
    Rename, // the base has the name with another label, which stays as it is: a new name
};

struct FertilizerStep
{
    Decision decision = Decision::Create;
    int existing = 0; // the base's key when reused
    QString name;     // the name in the base; the grower may edit it when it is created
};

struct CropStep
{
    bool reuse = false;
    int existing = 0;
    QString name;
};

struct SolutionStep
{
    bool reuse = false; // the crop holds a solution of the name with the very same rows
    int existing = 0;
    QString name;
};

struct Plan
{
    RecipeFile::Recipe recipe;
    QList<FertilizerStep> fertilizers; // in the file's order
    CropStep crop;
    SolutionStep solution;
    QHash<QString, int> elements; // the base's key of every symbol the file uses
    bool listOnly = false;        // a fertilizer list: no crop, no saved solution

    // Whether writing the plan would add anything.
    bool createsAnything() const;
};

// What importing `recipe` would do. The crop is the file's, or `cropName` when given (which must
// exist), or the base's first. Throws AppError when the base cannot take the file (an element it
// lacks, no crop at all).
Plan plan(Connection &connection, const RecipeFile::Recipe &recipe, const std::optional<QString> &cropName = {});

// What importing a fertilizer list would do: the same matching, nothing but fertilizers.
Plan planList(Connection &connection, const QList<RecipeFile::Fertilizer> &fertilizers);

struct Result
{
    int solution = 0;
    int crop = 0;
    QList<int> fertilizers; // the base's key of each fertilizer of the file
    int created = 0;        // rows of fertilizers, crops and solutions made
};

// Writes the plan in one transaction: on any error nothing stays written. Names given for new
// fertilizers are checked again here (empty, too long, taken meanwhile).
Result apply(Connection &connection, const Plan &plan);

// One line for each decision, in Russian, for the preview and the command line.
QStringList describe(const Plan &plan);

} // namespace RecipeImport
