#pragma once

#include <QString>

// Writes a new base.mdb at `path` with the ten tables, the index and the rows of
// default-base.txt. Refuses (AppError) when a file already stands there: a grower's base is
// never overwritten. The base is built beside it under `path + ".tmp"` and renamed when
// complete, so an interrupted run never leaves a half-written base at `path`.
void writeDefaultBase(const QString &path);

// The same base `factor` times over, for benchmarks: every table's rows repeated with keys
// shifted so that each copy refers only to rows of the same copy (copy k of a composition row
// names copy k of its fertilizer and element; copy k of a crop has its own target rows). Names
// stay as they are; the options row is written once. Factor 1 gives the default base.
void writeScaledBase(const QString &path, int factor);
