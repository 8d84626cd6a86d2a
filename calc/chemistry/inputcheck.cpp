#include "inputcheck.h"

#include "data/apperror.h"

#include <cmath>

namespace Chemistry {

namespace {

void requireNumber(double value, const QString &what)
{
    if (!std::isfinite(value))
        throw AppError(QStringLiteral("%1: не число").arg(what));
}

} // namespace

void requireNonNegative(double value, const QString &what)
{
    requireNumber(value, what);
    if (value < 0)
        throw AppError(QStringLiteral("%1: число %2 меньше нуля").arg(what, QString::number(value)));
}

void requireWithin(double value, double low, double high, const QString &what, bool lowExcluded)
{
    requireNumber(value, what);
    if (lowExcluded ? value <= low || value > high : value < low || value > high) {
        const QString rule = lowExcluded ? QStringLiteral("больше %1 и не больше %2")
                                         : QStringLiteral("от %1 до %2");
        throw AppError(QStringLiteral("%1: число %2, а должно быть %3")
                           .arg(what, QString::number(value),
                                rule.arg(QString::number(low), QString::number(high))));
    }
}

} // namespace Chemistry
