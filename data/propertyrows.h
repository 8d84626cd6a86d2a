#pragma once

#include <QList>
#include <QString>

#include <optional>

class Connection;
class Dataset;

// The one command that writes properties rows for the computing layers: a row of its own for
// each fertilizer the stock planner or the ion view is asked about, and a crop's figures.
namespace PropertyRows {

// Makes a properties row (automatic tank, no figures) for each fertilizer of `fertilizers` that
// has none, in one transaction; returns how many it made. A row another program made meanwhile
// is not made twice: the check and the insert are one statement under the write lock.
int createMissing(Connection &connection, const QList<int> &fertilizers);

// Filters `properties` (a dataset over t_svoistva_udobra) to the rows of `fertilizers`, making
// the missing ones first; a row made here or by another seat is then read in. An error names
// the dataset, and a write that fails makes no row.
void showRowsOf(Connection &connection, Dataset &properties, const QList<int> &fertilizers);

// Writes one figure (ec_vega, ec_cvet or nh4_dolya; none clears it) of a crop's properties
// row, making the row when the crop has none. One statement: a second seat writing at the
// same time never makes a second row.
void setCropFigure(Connection &connection, int crop, const QString &field,
                   std::optional<double> value);

} // namespace PropertyRows
