#include "owntables.h"

#include "apperror.h"
#include "fields.h"

#include <sqlite3.h>

namespace {

struct IndexDef
{
    QString name;
    QString table;
    QStringList fields;
    bool unique = false;
};

QList<TableDef> buildTables()
{
    using namespace Fields;
    return {
        {Tables::t_voda,
         {{id_voda, FieldType::Key},
          {name_voda, FieldType::Text, 50},
          {hco3, FieldType::Double},
          {ph_voda, FieldType::Double}}},
        {Tables::t_sostav_vody,
         {{id_sostav_vody, FieldType::Key},
          {id_voda, FieldType::Int},
          {id_element, FieldType::Int},
          {mg_l, FieldType::Double}}},
        {Tables::t_svoistva_udobra,
         {{id_svoistva, FieldType::Key},
          {id_udobra, FieldType::Int},
          {rastvorimost, FieldType::Double},
          {cena, FieldType::Double},
          {bak, FieldType::Int},
          {rastvorimost_0, FieldType::Double},
          {rastvorimost_10, FieldType::Double},
          {rastvorimost_30, FieldType::Double},
          {rastvorimost_40, FieldType::Double},
          {forma_azota, FieldType::Int},
          {kislota, FieldType::Bool},
          {krepost, FieldType::Double},
          {plotnost, FieldType::Double}}},
        {Tables::t_svoistva_kult,
         {{id_svoistva_kult, FieldType::Key},
          {id_kult, FieldType::Int},
          {ec_vega, FieldType::Double},
          {ec_cvet, FieldType::Double},
          {nh4_dolya, FieldType::Double}}},
    };
}

const QList<IndexDef> &indexes()
{
    // One properties row per fertilizer or crop: a second would leave its readers guessing which holds.
    static const QList<IndexDef> all = {
        {QStringLiteral("t_sostav_vody_id_voda"), Tables::t_sostav_vody, {Fields::id_voda}, false},
        {QStringLiteral("t_svoistva_udobra_id_udobra"), Tables::t_svoistva_udobra,
         {Fields::id_udobra}, true},
        {QStringLiteral("t_svoistva_kult_id_kult"), Tables::t_svoistva_kult, {Fields::id_kult},
         true},
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

// What the base lacks of our tables, as the statements that add it; empty when up to date.
QStringList missing(sqlite3 *db)
{
    QStringList out;
    for (const TableDef &table : OwnTables::tables()) {
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
        if (indexIsAsDeclared(db, index))
            continue;
        out.append(QStringLiteral("DROP INDEX IF EXISTS \"%1\"").arg(index.name));
        out.append(createIndexStatement(index));
    }
    return out;
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
    return out;
}

QString brokenPart(sqlite3 *db)
{
    return findBrokenPart(db);
}

void ensure(sqlite3 *db)
{
    // Looked at first without a lock, so that opening an up-to-date base writes nothing, and a
    // base whose tables of ours cannot be mended is not written at all.
    if (const QString broken = findBrokenPart(db); !broken.isEmpty())
        throw AppError(broken);
    if (missing(db).isEmpty())
        return;
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // Again under the write lock: another program may have upgraded the base meanwhile.
        for (const QString &sql : missing(db))
            run(db, sql);
        run(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace OwnTables
