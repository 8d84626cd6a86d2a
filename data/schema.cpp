#include "schema.h"

#include "apperror.h"
#include "fields.h"
#include "owntables.h"

namespace {

FieldDef key(const QString &name) { return {name, FieldType::Key, 0}; }
FieldDef integer(const QString &name) { return {name, FieldType::Int, 0}; }
FieldDef dbl(const QString &name) { return {name, FieldType::Double, 0}; }
FieldDef text(const QString &name, int size) { return {name, FieldType::Text, size}; }
FieldDef boolean(const QString &name) { return {name, FieldType::Bool, 0}; }

QList<TableDef> buildTables()
{
    using namespace Fields;
    QList<TableDef> t;
    t.append({Tables::T_element,
              {key(id_element), text(Smallname_element, 10), text(fullname_element, 50),
               boolean(kof), integer(id_kof)}});
    t.append({Tables::t_kof, {key(id_kof), text(name_kof, 50), dbl(kof), integer(id_element)}});
    t.append({Tables::t_udobra, {key(id_udobra), text(name_udobra, 50), integer(ppm)}});
    t.append({Tables::T_sostav_udobra,
              {key(id_sostav_udobra), integer(id_element), integer(id_udobra), dbl(kol_element)}});
    t.append({Tables::t_rachet, {key(id_rachet), integer(id_udobra), dbl(kol)}});
    t.append({Tables::T_kult, {key(id_kult), text(name_kult, 50), text(ph, 50)}});
    t.append({Tables::t_konc,
              {key(id_konc), dbl(vega), dbl(cvet), integer(id_kult), integer(id_el), dbl(rachet)}});
    t.append({Tables::t_head_rar,
              {key(id_head_rar), text(name_rar, 50), integer(id_konc), dbl(kol_l), integer(konc)}});
    t.append({Tables::t_save_rar,
              {key(id_save_rar), integer(id_udobra), dbl(kol), integer(id_head_rar)}});

    TableDef opt{Tables::t_opt, {}};
    opt.fields.append(boolean(c(11)));
    for (int i = 21; i <= 24; ++i)
        opt.fields.append(boolean(c(i)));
    for (int i = 31; i <= 39; ++i)
        opt.fields.append(boolean(c(i)));
    opt.fields.append(boolean(avto));
    opt.fields.append(boolean(ppm1));
    opt.fields.append(boolean(ppm2));
    opt.fields.append(boolean(kult));
    opt.fields.append(integer(maxim));
    for (int i = 1; i <= 14; ++i)
        opt.fields.append(integer(cl(i)));
    t.append(opt);
    return t;
}

} // namespace

namespace Schema {

const QList<TableDef> &tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef &table(const QString &name)
{
    for (const QList<TableDef> *list : {&tables(), &OwnTables::tables()}) {
        for (const TableDef &t : *list) {
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                return t;
        }
    }
    throw AppError(QStringLiteral("Неизвестная таблица \"%1\"").arg(name));
}

QStringList createStatements()
{
    QStringList out;
    for (const TableDef &t : tables())
        out.append(createTableStatement(t));
    out.append(QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (\"%3\")")
                   .arg(IndexName, Tables::T_sostav_udobra, Fields::id_udobra));
    out.append(OwnTables::createStatements());
    return out;
}

} // namespace Schema
