#include "derivedvalues.h"

#include "numbers.h"

namespace DerivedValues {

double scaledAmount(double kol, int percentage)
{
    return static_cast<double>((Ext(kol) / 100) * Ext(percentage));
}

Target target(double vega, double cvet, double rachet, int percentage)
{
    const Ext p = percentage;
    Target t;
    t.vagaCalc = RoundDecimals(static_cast<double>((Ext(vega) / 100) * p), 2);
    t.cvetCalc = RoundDecimals(static_cast<double>((Ext(cvet) / 100) * p), 2);
    t.rPr = static_cast<double>((Ext(rachet) / 100) * p);
    // The unscaled concentration against the rounded scaled targets, each difference stored
    // in a double before it is rounded.
    t.raznicaV = RoundDecimals(static_cast<double>(Ext(rachet) - t.vagaCalc), 2);
    t.raznicaC = RoundDecimals(static_cast<double>(Ext(rachet) - t.cvetCalc), 2);
    return t;
}

SavedRow savedRow(double kol, double litres, double savedPercentage)
{
    SavedRow r;
    r.kolTemp = static_cast<double>(Ext(kol) * Ext(litres));
    r.rConc = static_cast<double>((Ext(kol) / 100) * Ext(savedPercentage));
    // rConc as its field holds it: a double.
    r.rlConc = static_cast<double>(Ext(r.rConc) * Ext(litres));
    return r;
}

double litresFromText(const QString &text)
{
    double v = 0;
    if (!tryParseDecimal(text, v))
        return 0;
    return v;
}

} // namespace DerivedValues
