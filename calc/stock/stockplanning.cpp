#include "stockplanning.h"

#include "calc/run/derivedvalues.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"
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

std::optional<double> optionalNumber(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

TankChoice tankChoice(const QVariant &v)
{
    switch (v.toInt()) {
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
    Dataset &properties = m_data.own.T_SVOISTVA;
    const QList<int> ids = fertilizerIds(recipe);
    follow(ids);
    QList<int> missing;
    for (const int id : ids) {
        if (properties.lookup(Fields::id_udobra, id, Fields::id_svoistva).isNull())
            missing.append(id);
    }
    if (missing.isEmpty())
        return;
    Connection::Batch batch(m_data.ADOConnection1);
    for (const int id : missing) {
        properties.append();
        properties.setValue(Fields::id_udobra, id);
        properties.setValue(Fields::bak, int(TankChoice::Automatic));
        properties.post();
    }
    batch.commit();
}

QList<Stock::Fertilizer> StockPlanning::fertilizersOf(const Recipe &recipe)
{
    const QList<int> ids = fertilizerIds(recipe);
    follow(ids);
    const Dataset &properties = m_data.own.T_SVOISTVA;
    const QHash<int, QList<CompositionRow>> composition = readCompositions(m_data.own.T_SOS_ALL, ids);

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
        f.solubility = optionalNumber(properties.lookup(Fields::id_udobra, f.id, Fields::rastvorimost));
        f.price = optionalNumber(properties.lookup(Fields::id_udobra, f.id, Fields::cena));
        f.choice = tankChoice(properties.lookup(Fields::id_udobra, f.id, Fields::bak));
        out.append(f);
    }
    return out;
}

Stock::Plan StockPlanning::plan(const Recipe &recipe, int factor, double litres)
{
    showPropertiesOf(recipe);
    return Stock::plan(fertilizersOf(recipe), factor, litres);
}
