#pragma once

#include "tabledef.h"

#include <QList>
#include <QString>
#include <QStringList>

// The stored layout of base.mdb: ten tables with their fields in declared order, and one index.
// Identifiers used in SQL come only from here.

namespace Schema {

inline const QString FileName = QStringLiteral("base.mdb");
inline const QString IndexName = QStringLiteral("T_udobraT_sostav_udobra");

const QList<TableDef> &tables();
// One of the ten tables or of our own (data/owntables.h); throws AppError for an unknown table.
const TableDef &table(const QString &name);

// CREATE TABLE and CREATE INDEX statements that build an empty base, our own tables included.
QStringList createStatements();

} // namespace Schema
