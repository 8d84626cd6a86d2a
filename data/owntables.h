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
// properties and crop properties. The ten are never touched. Our tables carry a schema version
// of ours (PRAGMA user_version): a base from an older version is brought up to date the first
// time it is opened, one step per version, each in one transaction.
namespace OwnTables {

// The schema version this program makes and reads: 1 the water analyses, 2 the fertilizer
// properties, 3 the water's alkalinity and pH, the solubility curve, nitrogen form and acid
// figures, and the crop properties. The next step is 4.
constexpr int LatestVersion = 3;

const QList<TableDef> &tables();

// The statements of a new base: our tables with their indexes, and the version stored.
QStringList createStatements();

// The version the file stores; 0 for a base from before the version was stored. Reads only.
int schemaVersion(sqlite3 *db);

// Brings an open base up to date. Where it starts: the stored version, or, for a base that
// stores none, what it holds (the latest version all of whose tables, fields and indexes are
// there); a stored version whose parts have since been lost starts lower. Then each later
// version's step in one transaction: it adds that version's missing tables, fields and indexes
// and stores the version, so an interrupted upgrade leaves the base at the last whole step.
// Writes nothing when the base is up to date; never lowers a version a later program stored.
// A table of ours that no step can mend (a view in its place, its key field missing, two
// properties rows for one fertilizer) throws AppError naming it in Russian before anything is
// written; a failing step throws with SQLite's text. An index of our name that is not unique
// where ours is, is made anew.
void ensure(sqlite3 *db);

// What of our tables no upgrade can mend, as ensure() would name it; empty when nothing is.
// Reads only.
QString brokenPart(sqlite3 *db);

} // namespace OwnTables
