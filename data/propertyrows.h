#pragma once

#include <QList>

class Connection;

// The one command that writes properties rows for the computing layers: a row of its own for
// each fertilizer the stock planner is asked about.
namespace PropertyRows {

// Makes a properties row (automatic tank, no figures) for each fertilizer of `fertilizers` that
// has none, in one transaction; returns how many it made. A row another program made meanwhile
// is not made twice: the check and the insert are one statement under the write lock.
int createMissing(Connection &connection, const QList<int> &fertilizers);

} // namespace PropertyRows
