#include "propertyrows.h"

#include "connection.h"
#include "fields.h"
#include "owntables.h"
#include "apperror.h"
#include "dataset.h"
#include "rowfilter.h"

#include <algorithm>

namespace PropertyRows {

int createMissing(Connection &connection, const QList<int> &fertilizers)
{
    using namespace Fields;
    if (fertilizers.isEmpty())
        return 0;
    Connection::Batch batch(connection);
    int made = 0;
    try {
        Connection::Statement insert(
            connection,
            QStringLiteral("INSERT INTO \"%1\" (\"%2\", \"%3\") SELECT ?1, ?2 WHERE NOT EXISTS "
                           "(SELECT 1 FROM \"%1\" WHERE \"%2\" = ?1)")
                .arg(Tables::t_svoistva_udobra, id_udobra, bak));
        for (const int id : fertilizers) {
            insert.reset();
            insert.bind(1, id);
            insert.bind(2, int(TankChoice::Automatic));
            insert.step();
            made += connection.changes();
        }
    } catch (...) {
        batch.rollback(); // all or nothing
        throw;
    }
    batch.commit();
    return made;
}

void showRowsOf(Connection &connection, Dataset &properties, const QList<int> &fertilizers)
{
    const QString filter = RowFilter::oneOf(Fields::id_udobra, fertilizers);
    // Set only when it changes: setting it builds the view afresh, which a grid would follow.
    if (properties.filter() != filter || !properties.isFiltered()) {
        properties.setFilter(filter);
        properties.setFiltered(true);
    }
    const bool allShown = std::all_of(fertilizers.cbegin(), fertilizers.cend(), [&properties](int id) {
        return !properties.lookup(Fields::id_udobra, id, Fields::id_svoistva).isNull();
    });
    if (allShown)
        return;
    try {
        createMissing(connection, fertilizers);
    } catch (const AppError &e) {
        // Named as the grid whose rows they are.
        throw AppError::ofInstance(properties.name(), e.text());
    }
    properties.refresh();
}

void setCropFigure(Connection &connection, int crop, const QString &field, std::optional<double> value)
{
    using namespace Fields;
    if (field != ec_vega && field != ec_cvet && field != nh4_dolya)
        throw AppError(QStringLiteral("Поле «%1» не из свойств культуры").arg(field));
    Connection::Statement upsert(
        connection,
        QStringLiteral("INSERT INTO \"%1\" (\"%2\", \"%3\") VALUES (?1, ?2) "
                       "ON CONFLICT (\"%2\") DO UPDATE SET \"%3\" = excluded.\"%3\"")
            .arg(Tables::t_svoistva_kult, id_kult, field));
    upsert.bind(1, crop);
    upsert.bind(2, value ? QVariant(*value) : QVariant());
    upsert.step();
}

} // namespace PropertyRows
