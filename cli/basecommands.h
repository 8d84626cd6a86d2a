#pragma once

#include "commandline.h"

#include <QString>

#include <optional>

// The commands of vernolat-calc that work on a base: `import` and `export`. Each opens the base
// for its own work with a short busy timeout, so a base another program is writing is reported
// as busy rather than waited on.
namespace BaseCommands {

// How long a command waits for another program's lock on the base.
inline constexpr int BusyTimeoutMs = 3000;

struct ImportCall
{
    QString file; // "-": standard input
    QString base;
    std::optional<QString> crop;
};
CommandResult importRecipe(const ImportCall &call, QIODevice &standardInput);

struct ExportCall
{
    QString base;
    std::optional<QString> saved; // the saved solution's name; none: the working composition
    std::optional<QString> crop;  // where to look for it, or the working composition's crop
    std::optional<QString> water; // the water analysis to include, by name
    std::optional<QString> output;
};
CommandResult exportRecipe(const ExportCall &call);

} // namespace BaseCommands
