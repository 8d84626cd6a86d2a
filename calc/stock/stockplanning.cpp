#include "stockplanning.h"

#include "calc/run/derivedvalues.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/textconv.h"
#include "data/rowfilter.h"

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

std::optional<double> optionalNumber(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

// The tank the properties row chooses; a number outside the choices is named and counts as
// "авто".
TankChoice tankChoice(const QVariant &v, const QString &name, QStringList &notes)
{
    switch (v.toInt()) {
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
    notes.append(QStringLiteral("%1: бак %2 не из списка, взят «авто».").arg(name, v.toString()));
    return TankChoice::Automatic;
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
    const auto missing = [&properties, &ids] {
        QList<int> out;
        for (const int id : ids) {
            if (properties.lookup(Fields::id_udobra, id, Fields::id_svoistva).isNull())
                out.append(id);
        }
        return out;
    };
    if (missing().isEmpty())
        return;
    // The snapshot may be older than a row another seat has made since.
    properties.refresh();
    const QList<int> toMake = missing();
    if (toMake.isEmpty())
        return;
    Connection::Batch batch(m_data.ADOConnection1);
    try {
        for (const int id : toMake) {
            properties.append();
            properties.setValue(Fields::id_udobra, id);
            properties.setValue(Fields::bak, int(TankChoice::Automatic));
            properties.post();
        }
        batch.commit();
    } catch (const AppError &) {
        // Never a failed row left pending, for every later move and close to fail on again.
        properties.cancel();
        batch.rollback();
        properties.reread();
        // Another seat made them between the read and the writes: nothing is wrong.
        if (!missing().isEmpty())
            throw;
    }
}

QList<Stock::Fertilizer> StockPlanning::fertilizersOf(const Recipe &recipe, QStringList *notes)
{
    const QList<int> ids = fertilizerIds(recipe);
    follow(ids);
    const Dataset &properties = m_data.own.T_SVOISTVA;
    const QHash<int, QList<CompositionRow>> composition = readCompositions(m_data.own.T_SOS_ALL, ids);

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
                            .arg(f.name, formatGeneral(line.grams)));
            continue;
        }
        f.composition = composition.value(f.id);
        f.solubility = optionalNumber(properties.lookup(Fields::id_udobra, f.id, Fields::rastvorimost));
        f.price = optionalNumber(properties.lookup(Fields::id_udobra, f.id, Fields::cena));
        if (f.price && *f.price < 0) {
            said.append(QStringLiteral("%1: цена %2 меньше 0, в стоимость не вошла.")
                            .arg(f.name, formatGeneral(*f.price)));
            f.price.reset();
        }
        f.choice = tankChoice(properties.lookup(Fields::id_udobra, f.id, Fields::bak), f.name, said);
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

Stock::Plan StockPlanning::plan(const Recipe &recipe, int factor, double litres)
{
    showPropertiesOf(recipe);
    QStringList notes;
    const QList<Stock::Fertilizer> fertilizers = fertilizersOf(recipe, &notes);
    Stock::Plan result = Stock::plan(fertilizers, factor, litres);
    result.warnings = notes + result.warnings;
    return result;
}
