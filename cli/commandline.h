#pragma once

#include <QByteArray>
#include <QStringList>

class QIODevice;

// The exit codes of vernolat-calc, after sysexits.h, so that a script tells a wrong call from a
// file it cannot read and from a file whose content is refused.
namespace ExitCode {
inline constexpr int Success = 0;
inline constexpr int Usage = 64;
inline constexpr int BadContent = 65;
inline constexpr int Unreadable = 66;
} // namespace ExitCode

struct CommandResult
{
    int exitCode = ExitCode::Success;
    QByteArray out; // for standard output
    QByteArray err; // for standard error: one line that names the file and the fault
};

// vernolat-calc with `arguments` (its own name first). FILE "-" reads `standardInput`.
CommandResult runCommandLine(const QStringList &arguments, QIODevice &standardInput);
