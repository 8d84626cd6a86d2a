#include "numbers.h"

#include "data/apperror.h"

#include <cmath>

double RoundDecimals(double value, int places)
{
    double factor = 1;
    if (places > 0) {
        // Rounded to a double after each step, as the factor is kept in one.
        for (int i = 0; i < places; ++i)
            factor = static_cast<double>(static_cast<long double>(factor) * 10);
    }
    const long double y = static_cast<long double>(value) * factor + 0.5L;
    const long double whole = std::trunc(y);
    return static_cast<double>(whole / factor);
}

int strToInt(const QString &text)
{
    int v = 0;
    if (!tryParseInt(text, v))
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

double strToFloat(const QString &text, QChar decimalSeparator)
{
    double v = 0;
    if (!tryParseDouble(text, decimalSeparator, v))
        throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}
