#pragma once

#include "calc/chemistry/ions.h"
#include "calc/run/contribution.h"

#include <QList>
#include <QString>

#include <optional>

// A fertilizer as the ion-product rule reads it. A salt CxAy whose pure saturated solution holds
// s mol per kg of water stands at its limit when its cation's and anion's molalities, counted
// from every salt that shares the water, reach (x s)^x (y s)^y. So two salts with a common ion
// hold less together than apart. The ions come from the composition, through the chemistry's
// make-up of each element line, so a fertilizer typed by the grower is read as a default one.
namespace Stock {

// mmol of each dissolved form per gram of the product.
using IonsPerGram = Chemistry::Totals;

IonsPerGram ionsPerGram(const QList<CompositionRow> &composition,
                        Chemistry::NitrogenForm plainNitrogen = Chemistry::NitrogenForm::Nitrate);

// The salt the rule judges: the cation and the anion that carry most of the charge, CxAy with x
// and y from their charges. A phosphate's charge is what the cations leave (KH2PO4 1, K2HPO4 2).
struct SaltPair
{
    Chemistry::Component cation = Chemistry::Component::Potassium;
    Chemistry::Component anion = Chemistry::Component::Nitrate;
    int x = 1;
    int y = 1;
};

// None for what brings no cation (an acid) or no anion (a chelate, potassium bicarbonate, whose
// carbonate has no element line).
std::optional<SaltPair> saltPairOf(const IonsPerGram &ions);

// By how much the water's ions weigh on the salt beside its own: the g/L of the salt alone that
// would reach the same ion product, over `amount`, its own g/L. `tank` holds the mmol per litre
// of every form, from every salt that shares the water, this one included. 1 when nothing else
// brings its cation or anion.
double sharedFactor(const SaltPair &pair, const IonsPerGram &own, double amount,
                    const Chemistry::Totals &tank);

// Whether a fertilizer is a chelate: it brings iron, and no sulphate, phosphate or chloride
// (iron sulphate is a plain salt). Acid breaks a chelate.
bool isChelate(const IonsPerGram &ions);

// Two salts whose meeting the rule cannot see: a double salt or an exchange that precipitates.
// The text of the finding for the two names, or none.
std::optional<QString> unseenMeeting(const SaltPair &first, const QString &firstName,
                                     const SaltPair &second, const QString &secondName);

} // namespace Stock
