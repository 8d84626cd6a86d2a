#pragma once

#include "calc/recipefile/recipefile.h"

#include <QByteArray>
#include <QList>

class BaseQueries;

// Fertilizer lists as CSV: one fertilizer a row, its name first, then columns headed by the
// recipe file's symbols (N-NO3, N-NH4, P2O5, K2O, CaO, MgO, SO3, Fe ...), then the optional
// properties. The reference books are written in the same layout, so an exported list reads back.
namespace FertilizerCsv {

// The list, UTF-8 with a byte-order mark, ";"-separated, numbers with `decimalMark`: a column
// for each symbol some fertilizer uses, in the default base's order, and for each property
// some fertilizer has.
QByteArray write(const QList<RecipeFile::Fertilizer> &fertilizers, QChar decimalMark);

// A list as a spreadsheet program writes it: ";" or ",", a decimal point or comma, a
// byte-order mark or none. Each fertilizer is checked as a recipe file's is; a refusal names
// the line and the column or the fertilizer.
QList<RecipeFile::Fertilizer> read(const QByteArray &bytes);

// The other reference books in tables: the elements with their coefficients, and the crops
// with their targets, one target a row.
QByteArray writeElements(BaseQueries &base, QChar decimalMark);
QByteArray writeCrops(BaseQueries &base, QChar decimalMark);

} // namespace FertilizerCsv
