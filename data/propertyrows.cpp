#include "propertyrows.h"

#include "connection.h"
#include "fields.h"
#include "owntables.h"

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

} // namespace PropertyRows
