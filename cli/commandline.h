#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

class QIODevice;
namespace RecipeFile {
struct Recipe;
}

// The exit codes of vernolat-calc, after sysexits.h, so that a script tells a wrong call from a
// file it cannot read and from a file whose content is refused.
namespace ExitCode {
inline constexpr int Success = 0;
inline constexpr int Usage = 64;
inline constexpr int BadContent = 65;
inline constexpr int Unreadable = 66;
inline constexpr int CannotWrite = 73; // the output file or the base cannot be written
inline constexpr int Busy = 75;        // another program holds the base: try again
} // namespace ExitCode

struct CommandResult
{
    int exitCode = ExitCode::Success;
    QByteArray out; // for standard output
    QByteArray err; // for standard error: one line that names the file and the fault
};

// vernolat-calc with `arguments` (its own name first). FILE "-" reads `standardInput`.
CommandResult runCommandLine(const QStringList &arguments, QIODevice &standardInput);

// What the commands share: a failure as vernolat-calc reports it, and the reading of a file.
namespace CommandLine {
CommandResult failure(int code, const QString &message);
// The file's bytes, at most one more than a recipe may hold; `reason` set when it cannot be read.
QByteArray readInput(const QString &path, QIODevice &standardInput, QString &reason);
// Reads the recipe file at `path` and runs `command` on it; a file that cannot be read or is
// refused, or an AppError of the command, becomes vernolat-calc's failure with its exit code.
CommandResult withRecipe(const QString &path, QIODevice &standardInput,
                         const std::function<CommandResult(const RecipeFile::Recipe &)> &command);
} // namespace CommandLine
