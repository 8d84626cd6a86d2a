#include "stockplanning.h"

#include "calc/chemistry/storedform.h"
#include "calc/run/derivedvalues.h"

#include <algorithm>

#include "data/apperror.h"
#include "data/basequeries.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/propertyrows.h"
#include "data/textconv.h"

#include <QHash>
#include <QStringList>

#include <cmath>

namespace {

// A line names a fertilizer that is in the base: its name is looked up from it. A row whose
// fertilizer was deleted (or never existed) has a key and no name.
bool namesAFertilizer(const Recipe::Line &line)
{
    return !line.fertilizer.isNull() && !line.name.isNull();
}

QList<int> fertilizerIds(const Recipe &recipe)
{
    QList<int> ids;
    for (const Recipe::Line &line : recipe.lines) {
        if (namesAFertilizer(line) && !ids.contains(line.fertilizer.toInt()))
            ids.append(line.fertilizer.toInt());
    }
    return ids;
}

// The tank the properties row chooses; a number outside the choices is named and counts as
// "авто".
TankChoice tankChoice(const std::optional<int> &v, const QString &name, QStringList &notes)
{
    switch (v.value_or(int(TankChoice::Automatic))) {
    case int(TankChoice::Automatic):
        return TankChoice::Automatic;
    case int(TankChoice::A):
        return TankChoice::A;
    case int(TankChoice::B):
        return TankChoice::B;
    case int(TankChoice::Separate):
        return TankChoice::Separate;
    default:
        break;
    }
    notes.append(QStringLiteral("%1: бак %2 не из списка, взят «авто».").arg(name, QString::number(*v)));
    return TankChoice::Automatic;
}

} // namespace

StockPlanning::StockPlanning(DataModules &data) : m_data(data)
{
}

void StockPlanning::showPropertiesOf(const Recipe &recipe)
{
    PropertyRows::showRowsOf(m_data.ADOConnection1, m_data.own.T_SVOISTVA, fertilizerIds(recipe));
}

QList<Stock::Fertilizer> StockPlanning::fertilizersOf(const Recipe &recipe, QStringList *notes,
                                                     QChar decimalSeparator)
{
    const QList<int> ids = fertilizerIds(recipe);
    const QHash<int, BaseRows::FertilizerProperties> properties =
        BaseQueries(m_data.ADOConnection1).fertilizerProperties(ids);
    const QHash<int, QList<CompositionRow>> composition = readCompositions(m_data.ADOConnection1, ids);

    QStringList said;
    int nameless = 0;
    QList<Stock::Fertilizer> out;
    for (const Recipe::Line &line : recipe.lines) {
        if (!namesAFertilizer(line)) {
            ++nameless;
            continue;
        }
        Stock::Fertilizer f;
        f.id = line.fertilizer.toInt();
        f.name = line.name;
        // kol_pr and r_conc are both (kol / 100) × the recipe's percentage.
        f.amount = DerivedValues::scaledAmount(line.grams, recipe.percentage);
        if (!std::isfinite(f.amount)) {
            said.append(QStringLiteral("%1: количество %2 г/л не число, не учтено.")
                            .arg(f.name, formatGeneral(line.grams, decimalSeparator)));
            continue;
        }
        f.composition = composition.value(f.id);
        const auto it = properties.constFind(f.id);
        if (it != properties.cend()) {
            f.solubility = it->solubility;
            f.solubility0 = it->solubility0;
            f.solubility10 = it->solubility10;
            f.solubility30 = it->solubility30;
            f.solubility40 = it->solubility40;
            f.price = it->price;
            f.acid = it->acid;
            f.density = it->density;
            f.nitrogen = Chemistry::nitrogenFormOf(it->nitrogenForm);
        }
        if (f.price && *f.price < 0) {
            said.append(QStringLiteral("%1: цена %2 меньше 0, в стоимость не вошла.")
                            .arg(f.name, formatGeneral(*f.price, decimalSeparator)));
            f.price.reset();
        }
        if (it != properties.cend())
            f.choice = tankChoice(it->tank, f.name, said);
        out.append(f);
    }
    if (nameless > 0) {
        said.prepend(QStringLiteral("Строк без удобрения (удобрение удалено из справочника): %1, "
                                    "не учтены.").arg(nameless));
    }
    if (notes)
        *notes = said;
    return out;
}

Stock::Plan StockPlanning::plan(const Recipe &recipe, int factor, double litres,
                                QChar decimalSeparator, double temperature)
{
    showPropertiesOf(recipe);
    QStringList notes;
    const QList<Stock::Fertilizer> fertilizers = fertilizersOf(recipe, &notes, decimalSeparator);
    Stock::Plan result = Stock::plan(fertilizers, factor, litres, decimalSeparator, temperature);
    result.warnings = notes + result.warnings;
    return result;
}
