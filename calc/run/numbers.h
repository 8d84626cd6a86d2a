#pragma once

#include "data/textconv.h"

#include <QString>

// The calculation's extended precision: products and sums are formed in it and rounded to a
// double where a value is stored. On x86 with GCC or clang this is the x87 80-bit type.
using Ext = long double;

// Decimals an amount in g/L is typed and kept with, in the working composition and in a saved
// solution alike: a microgram per litre, so that a molybdate dose (about 0.00013 g/L for
// 0.05 mg/L of Mo) can be typed as it is, and a computed amount is rounded to what can be typed.
constexpr int AmountDecimals = 6;

// Decimals the run rounds a computed concentration in mg/L to.
constexpr int ConcentrationDecimals = 4;

// The most g/L an amount of the working composition takes: the amount editor's top, and the
// most the solver may propose.
constexpr double MaxAmount = 1000;
// The most g/L a saved solution's amount editor takes. A recipe file keeps within it, so that its
// amounts fit the working composition and a saved solution alike.
constexpr double SavedAmountMaximum = 100;

// The most mg/L of an element a water analysis holds: 10 % by mass, beyond any water a crop is
// given.
constexpr double WaterMilligramsMaximum = 100000;

// The concentration percentage the calculator's slider reaches unless the options set another
// maximum; its minimum is 0.
constexpr int PercentageMaximum = 250;

// value × 10^places + 0.5, truncated towards zero, divided by 10^places, in 80-bit arithmetic.
double RoundDecimals(double value, int places);

// Conversions that fail with the standard texts "'%s' is not a valid integer value" and
// "'%s' is not a valid floating point value" (AppError).
int strToInt(const QString &text);
// Number text in calc/ names its decimal separator: a window passes the system's
// (systemDecimalSeparator()), a file or a command line ".".
double strToFloat(const QString &text, QChar decimalSeparator);
