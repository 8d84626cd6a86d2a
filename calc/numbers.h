#pragma once

#include "data/textconv.h"

#include <QString>

// The calculation's extended precision: products and sums are formed in it and rounded to a
// double where a value is stored. On x86 with GCC or clang this is the x87 80-bit type.
using Ext = long double;

// value × 10^places + 0.5, truncated towards zero, divided by 10^places, in 80-bit arithmetic.
double RoundDecimals(double value, int places);

// Conversions that fail with the standard texts "'%s' is not a valid integer value" and
// "'%s' is not a valid floating point value" (AppError).
int strToInt(const QString &text);
double strToFloat(const QString &text); // the system's decimal separator
double strToFloat(const QString &text, QChar decimalSeparator);
