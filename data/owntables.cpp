#include "owntables.h"

#include "apperror.h"
#include "fields.h"

#include <sqlite3.h>

#include <algorithm>

namespace {

struct IndexDef
{
    QString name;
    QString table;
    QStringList fields;
    bool unique = false;
    int since = 1;
};

// A field of ours and the schema version of ours that brought it; a table comes with its key.
struct OwnField
{
    FieldDef def;
    int since;
};

struct OwnTable
{
    QString name;
    QList<OwnField> fields;
};

// Our tables as each version of ours left them: 1 the water analyses, 2 the fertilizer
// properties, 3 the water's alkalinity and pH, the solubility curve, the nitrogen form and acid
// figures, the crop properties. A later version adds its fields and indexes here with its number.
const QList<OwnTable> &ownTables()
{
    using namespace Fields;
    static const QList<OwnTable> all = {
        {Tables::t_voda,
         {{{id_voda, FieldType::Key}, 1},
          {{name_voda, FieldType::Text, 50}, 1},
          {{hco3, FieldType::Double}, 3},
          {{ph_voda, FieldType::Double}, 3}}},
        {Tables::t_sostav_vody,
         {{{id_sostav_vody, FieldType::Key}, 1},
          {{id_voda, FieldType::Int}, 1},
          {{id_element, FieldType::Int}, 1},
          {{mg_l, FieldType::Double}, 1}}},
        {Tables::t_svoistva_udobra,
         {{{id_svoistva, FieldType::Key}, 2},
          {{id_udobra, FieldType::Int}, 2},
          {{rastvorimost, FieldType::Double}, 2},
          {{cena, FieldType::Double}, 2},
          {{bak, FieldType::Int}, 2},
          {{rastvorimost_0, FieldType::Double}, 3},
          {{rastvorimost_10, FieldType::Double}, 3},
          {{rastvorimost_30, FieldType::Double}, 3},
          {{rastvorimost_40, FieldType::Double}, 3},
          {{forma_azota, FieldType::Int}, 3},
          {{kislota, FieldType::Bool}, 3},
          {{krepost, FieldType::Double}, 3},
          {{plotnost, FieldType::Double}, 3}}},
        {Tables::t_svoistva_kult,
         {{{id_svoistva_kult, FieldType::Key}, 3},
          {{id_kult, FieldType::Int}, 3},
          {{ec_vega, FieldType::Double}, 3},
          {{ec_cvet, FieldType::Double}, 3},
          {{nh4_dolya, FieldType::Double}, 3}}},
    };
    return all;
}

// A table as version `version` of ours has it: its fields up to that version, none before it.
TableDef tableAt(const OwnTable &table, int version)
{
    TableDef def{table.name, {}};
    for (const OwnField &f : table.fields) {
        if (f.since <= version)
            def.fields.append(f.def);
    }
    return def;
}

QList<TableDef> buildTables()
{
    QList<TableDef> out;
    for (const OwnTable &t : ownTables())
        out.append(tableAt(t, OwnTables::LatestVersion));
    return out;
}

const QList<IndexDef> &indexes()
{
    // One properties row per fertilizer or crop: a second would leave its readers guessing which holds.
    static const QList<IndexDef> all = {
        {QStringLiteral("t_sostav_vody_id_voda"), Tables::t_sostav_vody, {Fields::id_voda}, false, 1},
        {QStringLiteral("t_svoistva_udobra_id_udobra"), Tables::t_svoistva_udobra,
         {Fields::id_udobra}, true, 2},
        {QStringLiteral("t_svoistva_kult_id_kult"), Tables::t_svoistva_kult, {Fields::id_kult},
         true, 3},
    };
    return all;
}

QString createIndexStatement(const IndexDef &index)
{
    QStringList cols;
    for (const QString &f : index.fields)
        cols.append(QStringLiteral("\"%1\"").arg(f));
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS \"%2\" ON \"%3\" (%4)")
        .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), index.name, index.table,
             cols.join(QStringLiteral(", ")));
}

void run(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw AppError(why);
    }
}

// Names read by one statement with one bound text parameter.
QStringList names(sqlite3 *db, const char *sql, const QString &parameter)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        throw AppError(why);
    }
    const QByteArray p = parameter.toUtf8();
    sqlite3_bind_text(st, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
    QStringList out;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)))
                   .toCaseFolded();
    const QString why = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw AppError(why);
    return out;
}

// How the grower reads a table of ours in a message.
QString describedTable(const QString &table)
{
    if (table == Tables::t_voda)
        return QStringLiteral("таблице анализов воды");
    if (table == Tables::t_sostav_vody)
        return QStringLiteral("таблице состава воды");
    if (table == Tables::t_svoistva_kult)
        return QStringLiteral("таблице свойств культур");
    return QStringLiteral("таблице свойств удобрений");
}

// "две строки", "5 строк".
QString rowsText(qint64 n)
{
    const qint64 last = n % 10;
    const bool few = last >= 2 && last <= 4 && (n % 100 < 12 || n % 100 > 14);
    return (n == 2 ? QStringLiteral("две") : QString::number(n))
           + (few ? QStringLiteral(" строки") : QStringLiteral(" строк"));
}

// What makes our tables unusable in a way no added field or index mends, in plain Russian;
// empty when there is nothing of the kind. Read only: a base found wrong is left as it was.
QString findBrokenPart(sqlite3 *db)
{
    for (const TableDef &table : OwnTables::tables()) {
        const QStringList kind = names(db, "SELECT type FROM sqlite_master WHERE name = ?1 COLLATE NOCASE",
                                       table.name);
        if (kind.isEmpty())
            continue;
        if (kind.first() != QStringLiteral("table")) {
            return QStringLiteral("в базе «%1» — не таблица, а %2")
                .arg(table.name, kind.first() == QStringLiteral("view") ? QStringLiteral("представление")
                                                                       : kind.first());
        }
        // A key cannot be added to a table that has rows: the table must be made anew.
        const QString key = table.fields.first().name;
        if (!names(db, "SELECT name FROM pragma_table_info(?1)", table.name).contains(key.toCaseFolded()))
            return QStringLiteral("в %1 нет ключевого поля %2").arg(describedTable(table.name), key);
    }
    // One properties row per fertilizer and per crop: before the unique indexes can be made.
    const struct
    {
        QString table, key, namedIn, name;
    } onePerRow[] = {
        {Tables::t_svoistva_udobra, Fields::id_udobra, Tables::t_udobra, Fields::name_udobra},
        {Tables::t_svoistva_kult, Fields::id_kult, Tables::T_kult, Fields::name_kult},
    };
    for (const auto &rule : onePerRow) {
        if (!names(db, "SELECT name FROM pragma_table_info(?1)", rule.table).contains(rule.key.toCaseFolded()))
            continue;
        const QByteArray sql = QStringLiteral(
            "SELECT coalesce(n.\"%1\", 'код ' || s.\"%2\"), count(*) FROM \"%3\" s LEFT JOIN \"%4\" n "
            "ON n.\"%2\" = s.\"%2\" WHERE s.\"%2\" IS NOT NULL GROUP BY s.\"%2\" HAVING count(*) > 1 "
            "ORDER BY s.\"%2\" LIMIT 1")
                                   .arg(rule.name, rule.key, rule.table, rule.namedIn)
                                   .toUtf8();
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            const QString why = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_finalize(st);
            throw AppError(why);
        }
        QString found;
        if (sqlite3_step(st) == SQLITE_ROW) {
            found = QStringLiteral("в %1 %2 для «%3»")
                        .arg(describedTable(rule.table), rowsText(sqlite3_column_int64(st, 1)),
                             QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))));
        }
        sqlite3_finalize(st);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// Whether the index of that name exists and is what we declare: unique when we ask for it.
// A same-named index that is not unique would let a second properties row in unnoticed.
bool indexIsAsDeclared(sqlite3 *db, const IndexDef &index)
{
    // "1 name" for a unique index, "0 name" for another.
    const QStringList present = names(db, "SELECT \"unique\" || ' ' || name FROM pragma_index_list(?1)",
                                      index.table);
    const QString name = index.name.toCaseFolded();
    if (index.unique)
        return present.contains(QStringLiteral("1 ") + name);
    return present.contains(QStringLiteral("1 ") + name) || present.contains(QStringLiteral("0 ") + name);
}

// What the base lacks of our tables as version `version` of ours has them, as the statements
// that add it; empty when it holds all of that. Later fields and indexes are not asked for.
QStringList missing(sqlite3 *db, int version)
{
    QStringList out;
    for (const OwnTable &own : ownTables()) {
        const TableDef table = tableAt(own, version);
        if (table.fields.isEmpty())
            continue;
        const QStringList columns = names(db, "SELECT name FROM pragma_table_info(?1)", table.name);
        if (columns.isEmpty()) {
            out.append(Schema::createTableStatement(table));
            continue;
        }
        for (const FieldDef &field : table.fields) {
            if (!columns.contains(field.name.toCaseFolded()))
                out.append(QStringLiteral("ALTER TABLE \"%1\" ADD COLUMN %2")
                               .arg(table.name, Schema::columnDefinition(field)));
        }
    }
    for (const IndexDef &index : indexes()) {
        if (index.since > version || indexIsAsDeclared(db, index))
            continue;
        out.append(QStringLiteral("DROP INDEX IF EXISTS \"%1\"").arg(index.name));
        out.append(createIndexStatement(index));
    }
    return out;
}

// The schema version of ours the file stores (PRAGMA user_version, in its header): 0 for a base
// from before it was stored. Reading it writes nothing.
int storedVersion(sqlite3 *db)
{
    sqlite3_stmt *st = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int(st, 0);
    const QString why = QString::fromUtf8(sqlite3_errmsg(db));
    const int rc = sqlite3_finalize(st);
    if (rc != SQLITE_OK)
        throw AppError(why);
    return version;
}

// The version a base holds by what it holds: the latest whose tables, fields and indexes are
// all there. A base from before the version was stored is recognised so.
int recognisedVersion(sqlite3 *db)
{
    for (int v = OwnTables::LatestVersion; v > 0; --v) {
        if (missing(db, v).isEmpty())
            return v;
    }
    return 0;
}

// One step, in one transaction: what version `version` adds, and the version stored with it.
// A version stored by a later program is kept.
void step(sqlite3 *db, int version)
{
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // Under the write lock: another program may have taken the step meanwhile.
        for (const QString &sql : missing(db, version))
            run(db, sql);
        if (storedVersion(db) < version)
            run(db, QStringLiteral("PRAGMA user_version = %1").arg(version));
        run(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace

namespace OwnTables {

const QList<TableDef> &tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

QStringList createStatements()
{
    QStringList out;
    for (const TableDef &t : tables())
        out.append(Schema::createTableStatement(t));
    for (const IndexDef &i : indexes())
        out.append(createIndexStatement(i));
    out.append(QStringLiteral("PRAGMA user_version = %1").arg(LatestVersion));
    return out;
}

int schemaVersion(sqlite3 *db)
{
    return storedVersion(db);
}

QString brokenPart(sqlite3 *db)
{
    return findBrokenPart(db);
}

void ensure(sqlite3 *db)
{
    // Looked at first without a lock, so that opening an up-to-date base writes nothing, and a
    // base whose tables of ours cannot be mended is not written at all. A stored version is not
    // taken on trust: a part of it since lost is made again.
    if (const QString broken = findBrokenPart(db); !broken.isEmpty())
        throw AppError(broken);
    const int stored = storedVersion(db);
    const int recognised = recognisedVersion(db);
    const int from = stored == 0 ? recognised : std::min(stored, recognised);
    for (int v = from + 1; v <= LatestVersion; ++v)
        step(db, v);
}

} // namespace OwnTables
