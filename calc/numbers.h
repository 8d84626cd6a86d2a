#pragma once

#include "data/textconv.h"

#include <QString>

// value × 10^places + 0.5, truncated towards zero, divided by 10^places, in 80-bit arithmetic.
double RoundDecimals(double value, int places);

// Conversions that fail with the standard texts "'%s' is not a valid integer value" and
// "'%s' is not a valid floating point value" (AppError).
int strToInt(const QString &text);
double strToFloat(const QString &text); // the system's decimal separator
double strToFloat(const QString &text, QChar decimalSeparator);
