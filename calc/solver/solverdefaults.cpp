#include "solverdefaults.h"

namespace SolverDefaults {

int weightOf(const QString &symbol)
{
    const QString s = symbol.trimmed();
    if (s == QLatin1String("K") || s == QLatin1String("Ca") || s == QLatin1String("Mg"))
        return 3;
    if (s == QLatin1String("P"))
        return 2;
    return 1;
}

ElementMode modeOf(const QString &symbol, double target)
{
    if (!(target > 0))
        return ElementMode::Ignore;
    return ceilingOf(symbol) ? ElementMode::AtLeast : ElementMode::Target;
}

std::optional<double> ceilingOf(const QString &symbol)
{
    if (symbol.trimmed() == QLatin1String("S"))
        return SulphurCeiling;
    return std::nullopt;
}

double ammoniumShareOf(const BaseRows::Crop &crop)
{
    if (crop.properties && crop.properties->ammoniumShare)
        return *crop.properties->ammoniumShare;
    return AmmoniumShare;
}

std::optional<double> ecOf(const BaseRows::Crop &crop, Stage stage)
{
    if (!crop.properties)
        return std::nullopt;
    return stage == Stage::Vegetative ? crop.properties->ecVega : crop.properties->ecCvet;
}

} // namespace SolverDefaults
