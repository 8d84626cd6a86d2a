#include "stockplanning.h"

#include "derivedvalues.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"

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
    QStringList keys;
    for (const int id : ids)
        keys.append(QString::number(id));
    const QString filter = Fields::id_udobra + QStringLiteral(" in (") + keys.join(u',') + u')';
    // Set only when it changes: setting it builds the view afresh, which a grid would follow.
    for (Dataset *ds : {&m_data.stock.T_SVOISTVA, &m_data.stock.T_SOSTAV_BAK}) {
        if (ds->filter() != filter || !ds->isFiltered()) {
            ds->setFilter(filter);
            ds->setFiltered(true);
        }
    }
}

void StockPlanning::showPropertiesOf(const Recipe &recipe)
{
    Dataset &properties = m_data.stock.T_SVOISTVA;
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
    // Only the recipe's composition rows are read, not the whole table.
    follow(fertilizerIds(recipe));
    const Dataset &compositions = m_data.stock.T_SOSTAV_BAK;
    const Dataset &properties = m_data.stock.T_SVOISTVA;
    QHash<int, QList<CompositionRow>> composition;
    for (int row = 0; row < compositions.recordCount(); ++row)
        composition[compositions.valueAt(row, Fields::id_udobra).toInt()].append(
            compositionRowAt(compositions, row));

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
