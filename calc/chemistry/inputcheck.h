#pragma once

#include <QString>

// The checks every figure a grower typed passes before the chemistry uses it; each failure is an
// AppError naming the figure.
namespace Chemistry {

// `value` must be a number of at least 0.
void requireNonNegative(double value, const QString &what);
// `value` must be a number from `low` to `high`; `lowExcluded` leaves `low` itself out.
void requireWithin(double value, double low, double high, const QString &what,
                   bool lowExcluded = false);

} // namespace Chemistry
