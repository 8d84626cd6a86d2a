#include "stockplanning.h"

#include "calc/run/derivedvalues.h"

#include "data/basequeries.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/propertyrows.h"
#include "data/rowfilter.h"

#include <QHash>
#include <QStringList>

namespace {

QList<int> fertilizerIds(const Recipe &recipe)
{
    QList<int> ids;
    for (const Recipe::Line &line : recipe.lines) {
        if (!line.fertilizer.isNull() && !ids.contains(line.fertilizer.toInt()))
            ids.append(line.fertilizer.toInt());
    }
    return ids;
}

TankChoice tankChoice(const std::optional<int> &v)
{
    switch (v.value_or(int(TankChoice::Automatic))) {
    case int(TankChoice::A):
        return TankChoice::A;
    case int(TankChoice::B):
        return TankChoice::B;
    case int(TankChoice::Separate):
        return TankChoice::Separate;
    default:
        return TankChoice::Automatic;
    }
}

} // namespace

StockPlanning::StockPlanning(DataModules &data) : m_data(data)
{
}

void StockPlanning::follow(const QList<int> &ids)
{
    const QString filter = RowFilter::oneOf(Fields::id_udobra, ids);
    // Set only when it changes: setting it builds the view afresh, which the grid would follow.
    Dataset &properties = m_data.own.T_SVOISTVA;
    if (properties.filter() != filter || !properties.isFiltered()) {
        properties.setFilter(filter);
        properties.setFiltered(true);
    }
}

void StockPlanning::showPropertiesOf(const Recipe &recipe)
{
    const QList<int> ids = fertilizerIds(recipe);
    follow(ids);
    if (PropertyRows::createMissing(m_data.ADOConnection1, ids) > 0)
        m_data.own.T_SVOISTVA.refresh();
}

QList<Stock::Fertilizer> StockPlanning::fertilizersOf(const Recipe &recipe)
{
    const QList<int> ids = fertilizerIds(recipe);
    const QHash<int, BaseRows::FertilizerProperties> properties =
        BaseQueries(m_data.ADOConnection1).fertilizerProperties(ids);
    const QHash<int, QList<CompositionRow>> composition = readCompositions(m_data.ADOConnection1, ids);

    QList<Stock::Fertilizer> out;
    for (const Recipe::Line &line : recipe.lines) {
        if (line.fertilizer.isNull())
            continue;
        Stock::Fertilizer f;
        f.id = line.fertilizer.toInt();
        f.name = line.name;
        // kol_pr and r_conc are both (kol / 100) × the recipe's percentage.
        f.amount = DerivedValues::scaledAmount(line.grams, recipe.percentage);
        f.composition = composition.value(f.id);
        if (const auto it = properties.constFind(f.id); it != properties.cend()) {
            f.solubility = it->solubility;
            f.price = it->price;
            f.choice = tankChoice(it->tank);
        }
        out.append(f);
    }
    return out;
}

Stock::Plan StockPlanning::plan(const Recipe &recipe, int factor, double litres,
                                QChar decimalSeparator)
{
    showPropertiesOf(recipe);
    return Stock::plan(fertilizersOf(recipe), factor, litres, decimalSeparator);
}
