#pragma once

#include "acid.h"
#include "ionmakeup.h"

// A crop's targets as ions, and whether any mix of salts can meet them: salts bring cations and
// anions in equal charges, so targets whose charges differ cannot be met, whatever the recipe.
namespace Chemistry {

struct CropTargets
{
    // mg/L. Plain N is the total, and an N-NH4 line (or the share) the part of it that is
    // ammonium; without plain N, the N-NO3 and N-NH4 lines themselves.
    QList<ElementLine> elements;
    std::optional<double> ammoniumShare; // % of plain N as ammonium, when known
    double ph = DefaultTargetPh;         // where phosphate is split
};

struct TargetBalance
{
    Amounts species{};
    QList<IonRow> ions;
    Balance balance;
    QList<Unmapped> unmapped;
    bool balanced = true;
    // The gap's closing, in mg/L more of one of these (only the side the gap needs is set):
    double sulphateS = 0; // more anions: S as sulphate,
    double chlorideCl = 0; //   or Cl as chloride
    std::optional<double> ammoniumN; // more cations: N moved from nitrate to ammonium, when the
    double ammoniumShareAfter = 0;   //   nitrate allows, and the share of N that makes,
    double potassiumK = 0;           //   or K,
    double calciumCa = 0;            //   or Ca
};

// The targets with all N as nitrate but the stated ammonium. A difference within 0.2 meq/L or
// 2 % of the larger side counts as balanced: targets are typed in rounded mg/L. Amounts must be
// numbers of at least 0, the share from 0 to 100 (AppError).
TargetBalance targetBalance(const CropTargets &targets);

// The finding in a plain Russian sentence, numbers with `decimalSeparator`: the windows pass
// the locale's, files and the command line ".".
QString targetBalanceText(const TargetBalance &balance, QChar decimalSeparator);

} // namespace Chemistry
