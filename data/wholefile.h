#pragma once

#include <QByteArray>
#include <QString>

namespace WholeFile {

// Writes `bytes` to `path` whole or not at all (a full disk leaves the old file as it was).
// Throws AppError naming the file and the reason.
void write(const QString &path, const QByteArray &bytes);

} // namespace WholeFile
