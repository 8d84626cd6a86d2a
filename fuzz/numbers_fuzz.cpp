// The strict number readings, the general number format and RoundDecimals.
#include "fuzzinput.h"

#include "calc/run/numbers.h"
#include "data/apperror.h"
#include "data/textconv.h"

#include <cmath>

namespace {

void readings(const QString &text, QChar separator)
{
    int i = 0;
    if (tryParseInt(text, i)) {
        FUZZ_CHECK(strToInt(text) == i);
    } else {
        try {
            strToInt(text);
            FUZZ_CHECK(false);
        } catch (const AppError &) {
        }
    }
    double d = 0;
    if (tryParseDouble(text, separator, d)) {
        FUZZ_CHECK(std::isfinite(d));
        FUZZ_CHECK(strToFloat(text, separator) == d);
    }
}

// The general format has no grouping, one separator at most, and reads back to within its 15
// significant digits.
void format(double value, QChar separator)
{
    const QString text = formatGeneral(value, separator);
    FUZZ_CHECK(!text.isEmpty());
    if (!std::isfinite(value))
        return;
    FUZZ_CHECK(text.count(separator) <= 1);
    FUZZ_CHECK(!text.contains(u' '));
    // Fifteen digits of the largest doubles round past the largest double.
    if (std::fabs(value) > 1e300)
        return;
    double back = 0;
    FUZZ_CHECK(tryParseDouble(text, separator, back));
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14);
}

void rounding(double value, int places)
{
    const double r = RoundDecimals(value, places);
    if (!std::isfinite(value) || std::fabs(value) > 1e12 || places < 0 || places > 8)
        return;
    // value × f + 0.5 truncated towards zero: half up where that is not negative, one unit
    // nearer to zero than half away from zero where it is.
    const double unit = std::pow(10.0, -places);
    const double slack = std::fabs(value) * 1e-15 + unit * 1e-6;
    FUZZ_CHECK(r - value >= -0.5 * unit - slack);
    FUZZ_CHECK(r - value <= 1.5 * unit + slack);
    if (value >= 0)
        FUZZ_CHECK(r - value <= 0.5 * unit + slack);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const QChar separator = (in.byte() & 1) ? QChar(u',') : QChar(u'.');
    const double value = in.value<double>();
    const int places = int(int8_t(in.byte())) % 12;
    format(value, separator);
    rounding(value, places);
    readings(QString::fromUtf8(in.rest()), separator);
    return 0;
}
