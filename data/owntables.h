#pragma once

#include "tabledef.h"

#include <QList>
#include <QStringList>

struct sqlite3;

// The stock tank a fertilizer's properties row asks for; stored in t_svoistva_udobra.bak.
enum class TankChoice { Automatic = 0, A = 1, B = 2, Separate = 3 };

// The form of a fertilizer's plain N (element N itself, not a label form such as N-NH4); stored
// in t_svoistva_udobra.forma_azota, empty read as nitrate.
enum class NitrogenForm { Nitrate = 0, Ammonium = 1, Urea = 2 };

// Tables of our own, kept beside the ten the windows are built on: water analyses, fertilizer
// properties and crop properties. The ten are never touched: a base from an older version gains whatever of ours it
// lacks, tables or fields, the first time it is opened.
namespace OwnTables {

const QList<TableDef> &tables();

// CREATE statements for a new base, indexes included.
QStringList createStatements();

// Brings an open base up to date: creates the missing tables, adds missing fields and indexes
// (an index of our name that is not unique where ours is, is made anew), all in one
// transaction, so an interrupted upgrade leaves the base as it was. Writes nothing when the
// base is up to date. A table of ours that no upgrade can mend (a view in its place, its key
// field missing, two properties rows for one fertilizer) throws AppError naming it in Russian
// before anything is written; a failing upgrade throws with SQLite's text.
void ensure(sqlite3 *db);

// What of our tables no upgrade can mend, as ensure() would name it; empty when nothing is.
// Reads only.
QString brokenPart(sqlite3 *db);

} // namespace OwnTables
