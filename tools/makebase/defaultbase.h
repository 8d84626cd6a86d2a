#pragma once

#include <QString>

// Writes a new base.mdb at `path` with the ten tables, the index and the default rows.
// Refuses (AppError) when a file already stands there: a grower's base is never overwritten.
void writeDefaultBase(const QString &path);
