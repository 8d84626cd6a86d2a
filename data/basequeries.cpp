#include "basequeries.h"

#include "connection.h"
#include "datasetfield.h"
#include "fields.h"
#include "storedvalues.h"

#include <QStringList>

#include <functional>

using namespace BaseRows;

namespace {

using StoredValues::integerOf;
using StoredValues::numberOf;

// A column as a dataset holds its field: the same readings (a number stored as text with either
// decimal mark) and the same refusals, which name the field.
QVariant typed(const Connection::Statement &st, int column, const QString &field, FieldType type)
{
    DatasetField f;
    f.name = field;
    f.type = type;
    return f.fromStored(st.column(column));
}

int integer(const Connection::Statement &st, int column, const QString &field)
{
    return integerOf(typed(st, column, field, FieldType::Int));
}

std::optional<int> optionalInteger(const Connection::Statement &st, int column, const QString &field)
{
    const QVariant v = typed(st, column, field, FieldType::Int);
    return v.isNull() ? std::nullopt : std::optional<int>(integerOf(v));
}

double number(const Connection::Statement &st, int column, const QString &field)
{
    return numberOf(typed(st, column, field, FieldType::Double));
}

std::optional<double> optionalNumber(const Connection::Statement &st, int column, const QString &field)
{
    const QVariant v = typed(st, column, field, FieldType::Double);
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

bool boolean(const Connection::Statement &st, int column, const QString &field)
{
    return typed(st, column, field, FieldType::Bool).toBool();
}

// "\"a\".\"b\"": identifiers come from fields.h only.
QString q(const QString &name)
{
    return QStringLiteral("\"%1\"").arg(name);
}

// "?2, ?3, ..." for `count` values bound from position `first`.
QString placeholders(qsizetype count, int first)
{
    QStringList out;
    for (qsizetype i = 0; i < count; ++i)
        out.append(QStringLiteral("?%1").arg(first + i));
    return out.join(QStringLiteral(", "));
}

// Runs `sql` with `values` bound from 1 and hands every row to `row`.
void select(Connection &c, const QString &sql, const QVariantList &values,
            const std::function<void(const Connection::Statement &)> &row)
{
    Connection::Statement st(c, sql);
    for (int i = 0; i < values.size(); ++i)
        st.bind(i + 1, values.at(i));
    while (st.step())
        row(st);
}

QVariantList keys(const QList<int> &ids)
{
    QVariantList out;
    for (const int id : ids)
        out.append(id);
    return out;
}

} // namespace

BaseQueries::BaseQueries(Connection &connection) : m_connection(connection)
{
}

bool BaseQueries::hasTable(const QString &table)
{
    bool found = false;
    select(m_connection,
           QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"),
           {table}, [&found](const Connection::Statement &) { found = true; });
    return found;
}

// ---------------------------------------------------------------- elements

namespace {

QString elementSelect()
{
    using namespace Fields;
    return QStringLiteral("SELECT %1, %2, %3, %4, %5 FROM %6 ")
        .arg(q(id_element), q(Smallname_element), q(fullname_element), q(kof), q(id_kof),
             q(Tables::T_element));
}

Element elementOf(const Connection::Statement &st)
{
    Element e;
    e.id = integer(st, 0, Fields::id_element);
    e.symbol = st.column(1).toString();
    e.name = st.column(2).toString();
    e.isForm = boolean(st, 3, Fields::kof);
    e.coefficient = optionalInteger(st, 4, Fields::id_kof);
    return e;
}

} // namespace

QList<Element> BaseQueries::elements()
{
    QList<Element> out;
    select(m_connection, elementSelect() + QStringLiteral("ORDER BY %1").arg(q(Fields::id_element)),
           {}, [&out](const Connection::Statement &st) { out.append(elementOf(st)); });
    return out;
}

QList<Coefficient> BaseQueries::coefficients()
{
    using namespace Fields;
    QList<Coefficient> out;
    select(m_connection,
           QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 ORDER BY %1")
               .arg(q(id_kof), q(name_kof), q(kof), q(id_element), q(Tables::t_kof)),
           {}, [&out](const Connection::Statement &st) {
               out.append({integer(st, 0, Fields::id_kof), st.column(1).toString(), number(st, 2, Fields::kof),
                           integer(st, 3, Fields::id_element)});
           });
    return out;
}

std::optional<Element> BaseQueries::elementBySymbol(const QString &symbol)
{
    std::optional<Element> out;
    select(m_connection,
           elementSelect()
               + QStringLiteral("WHERE %1 = ?1 ORDER BY %2 LIMIT 1")
                     .arg(q(Fields::Smallname_element), q(Fields::id_element)),
           {symbol}, [&out](const Connection::Statement &st) { out = elementOf(st); });
    return out;
}

QHash<QString, int> BaseQueries::elementIds(const QStringList &symbols)
{
    QHash<QString, int> out;
    // The first element of a symbol counts, as elementBySymbol finds it.
    for (const Element &e : elements()) {
        if (symbols.contains(e.symbol) && !out.contains(e.symbol))
            out.insert(e.symbol, e.id);
    }
    return out;
}

// ---------------------------------------------------------------- fertilizers

namespace {

QString fertilizerSelect()
{
    using namespace Fields;
    return QStringLiteral("SELECT %1, %2, %3 FROM %4 ")
        .arg(q(id_udobra), q(name_udobra), q(ppm), q(Tables::t_udobra));
}

Fertilizer fertilizerOf(const Connection::Statement &st)
{
    return {integer(st, 0, Fields::id_udobra), st.column(1).toString(), integer(st, 2, Fields::ppm)};
}

} // namespace

QList<Fertilizer> BaseQueries::fertilizers()
{
    QList<Fertilizer> out;
    select(m_connection, fertilizerSelect() + QStringLiteral("ORDER BY %1").arg(q(Fields::id_udobra)),
           {}, [&out](const Connection::Statement &st) { out.append(fertilizerOf(st)); });
    return out;
}

std::optional<Fertilizer> BaseQueries::fertilizer(int id)
{
    std::optional<Fertilizer> out;
    select(m_connection, fertilizerSelect() + QStringLiteral("WHERE %1 = ?1").arg(q(Fields::id_udobra)),
           {id}, [&out](const Connection::Statement &st) { out = fertilizerOf(st); });
    return out;
}

std::optional<Fertilizer> BaseQueries::fertilizerByName(const QString &name)
{
    std::optional<Fertilizer> out;
    select(m_connection,
           fertilizerSelect()
               + QStringLiteral("WHERE %1 = ?1 ORDER BY %2 LIMIT 1")
                     .arg(q(Fields::name_udobra), q(Fields::id_udobra)),
           {name}, [&out](const Connection::Statement &st) { out = fertilizerOf(st); });
    return out;
}

QHash<int, QList<CompositionLine>> BaseQueries::compositions(const std::optional<QList<int>> &ids)
{
    using namespace Fields;
    // The element's coefficient and what it yields, as the calculator's composition lookups
    // find them: by the element's id_kof in t_kof, and t_kof's element.
    QString sql = QStringLiteral(
                      "SELECT s.%1, s.%2, e.%3, s.%4, k.%2, y.%3, k.%5 FROM %6 s "
                      "LEFT JOIN %7 e ON e.%2 = s.%2 LEFT JOIN %8 k ON k.%9 = e.%9 "
                      "LEFT JOIN %7 y ON y.%2 = k.%2 WHERE s.%1 IS NOT NULL ")
                      .arg(q(id_udobra), q(id_element), q(Smallname_element), q(kol_element),
                           q(kof), q(Tables::T_sostav_udobra), q(Tables::T_element),
                           q(Tables::t_kof), q(id_kof));
    if (ids)
        sql += QStringLiteral("AND s.%1 IN (%2) ").arg(q(id_udobra), placeholders(ids->size(), 1));
    sql += QStringLiteral("ORDER BY s.rowid");

    QHash<int, QList<CompositionLine>> out;
    select(m_connection, sql, ids ? keys(*ids) : QVariantList(), [&out](const Connection::Statement &st) {
        CompositionLine line;
        line.fertilizer = integer(st, 0, Fields::id_udobra);
        line.element = integer(st, 1, Fields::id_element);
        line.symbol = st.column(2).toString();
        line.percent = number(st, 3, Fields::kol_element);
        line.yieldedElement = integer(st, 4, Fields::id_element);
        line.yieldedSymbol = st.column(5).toString();
        line.factor = number(st, 6, Fields::kof);
        out[line.fertilizer].append(line);
    });
    return out;
}

QHash<int, FertilizerProperties> BaseQueries::fertilizerProperties(const QList<int> &ids)
{
    using namespace Fields;
    QHash<int, FertilizerProperties> out;
    if (ids.isEmpty() || !hasTable(Tables::t_svoistva_udobra))
        return out;
    const QStringList columns = {id_svoistva,     id_udobra,       rastvorimost,    rastvorimost_0,
                                 rastvorimost_10, rastvorimost_30, rastvorimost_40, cena,
                                 bak,             forma_azota,     kislota,         krepost,
                                 plotnost};
    QStringList quoted;
    for (const QString &c : columns)
        quoted.append(q(c));
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4) ORDER BY rowid")
                            .arg(quoted.join(QStringLiteral(", ")), q(Tables::t_svoistva_udobra),
                                 q(id_udobra), placeholders(ids.size(), 1));
    select(m_connection, sql, keys(ids), [&out](const Connection::Statement &st) {
        FertilizerProperties p;
        p.id = integer(st, 0, Fields::id_svoistva);
        p.fertilizer = integer(st, 1, Fields::id_udobra);
        p.solubility = optionalNumber(st, 2, Fields::rastvorimost);
        p.solubility0 = optionalNumber(st, 3, Fields::rastvorimost_0);
        p.solubility10 = optionalNumber(st, 4, Fields::rastvorimost_10);
        p.solubility30 = optionalNumber(st, 5, Fields::rastvorimost_30);
        p.solubility40 = optionalNumber(st, 6, Fields::rastvorimost_40);
        p.price = optionalNumber(st, 7, Fields::cena);
        p.tank = optionalInteger(st, 8, Fields::bak);
        if (const std::optional<int> form = optionalInteger(st, 9, Fields::forma_azota))
            p.nitrogenForm = NitrogenForm(*form);
        p.acid = boolean(st, 10, Fields::kislota);
        p.strength = optionalNumber(st, 11, Fields::krepost);
        p.density = optionalNumber(st, 12, Fields::plotnost);
        // The first row of a fertilizer counts, should an old base hold two.
        if (!out.contains(p.fertilizer))
            out.insert(p.fertilizer, p);
    });
    return out;
}

// ---------------------------------------------------------------- crops

namespace {

QString cropSelect()
{
    using namespace Fields;
    return QStringLiteral("SELECT %1, %2, %3 FROM %4 ")
        .arg(q(id_kult), q(name_kult), q(ph), q(Tables::T_kult));
}

Crop cropOf(const Connection::Statement &st)
{
    Crop c;
    c.id = integer(st, 0, Fields::id_kult);
    c.name = st.column(1).toString();
    c.ph = st.column(2).toString();
    return c;
}

} // namespace

QList<Crop> BaseQueries::crops()
{
    QList<Crop> out;
    select(m_connection, cropSelect() + QStringLiteral("ORDER BY %1").arg(q(Fields::id_kult)), {},
           [&out](const Connection::Statement &st) { out.append(cropOf(st)); });
    return out;
}

std::optional<Crop> BaseQueries::crop(int id)
{
    using namespace Fields;
    std::optional<Crop> out;
    select(m_connection, cropSelect() + QStringLiteral("WHERE %1 = ?1").arg(q(id_kult)), {id},
           [&out](const Connection::Statement &st) { out = cropOf(st); });
    if (!out)
        return out;
    // In the order of the calculator's target rows: the order they were made.
    select(m_connection,
           QStringLiteral("SELECT k.%1, k.%2, e.%3, k.%4, k.%5, k.%6 FROM %7 k LEFT JOIN %8 e "
                          "ON e.%9 = k.%2 WHERE k.%10 = ?1 ORDER BY k.rowid")
               .arg(q(id_konc), q(id_el), q(Smallname_element), q(vega), q(cvet), q(rachet),
                    q(Tables::t_konc), q(Tables::T_element), q(id_element))
               .arg(q(id_kult)),
           {id}, [&out](const Connection::Statement &st) {
               Target t;
               t.id = integer(st, 0, Fields::id_konc);
               t.element = integer(st, 1, Fields::id_el);
               t.symbol = st.column(2).toString();
               t.vega = number(st, 3, Fields::vega);
               t.cvet = number(st, 4, Fields::cvet);
               t.computed = optionalNumber(st, 5, Fields::rachet);
               out->targets.append(t);
           });
    if (hasTable(Tables::t_svoistva_kult)) {
        select(m_connection,
               QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5 = ?1 ORDER BY rowid LIMIT 1")
                   .arg(q(ec_vega), q(ec_cvet), q(nh4_dolya), q(Tables::t_svoistva_kult), q(id_kult)),
               {id}, [&out](const Connection::Statement &st) {
                   out->properties = CropProperties{optionalNumber(st, 0, Fields::ec_vega),
                                                    optionalNumber(st, 1, Fields::ec_cvet),
                                                    optionalNumber(st, 2, Fields::nh4_dolya)};
               });
    }
    return out;
}

std::optional<Crop> BaseQueries::cropByName(const QString &name)
{
    std::optional<int> id;
    select(m_connection,
           QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1 ORDER BY %1 LIMIT 1")
               .arg(q(Fields::id_kult), q(Tables::T_kult), q(Fields::name_kult)),
           {name}, [&id](const Connection::Statement &st) { id = integer(st, 0, Fields::id_kult); });
    return id ? crop(*id) : std::nullopt;
}

// ---------------------------------------------------------------- water

namespace {

QString waterSelect()
{
    using namespace Fields;
    return QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 ")
        .arg(q(id_voda), q(name_voda), q(hco3), q(ph_voda), q(Tables::t_voda));
}

WaterAnalysis waterOf(const Connection::Statement &st)
{
    WaterAnalysis w;
    w.id = integer(st, 0, Fields::id_voda);
    w.name = st.column(1).toString();
    w.hco3 = optionalNumber(st, 2, Fields::hco3);
    w.ph = optionalNumber(st, 3, Fields::ph_voda);
    return w;
}

} // namespace

QList<WaterAnalysis> BaseQueries::waterAnalyses()
{
    QList<WaterAnalysis> out;
    if (!hasTable(Tables::t_voda))
        return out;
    select(m_connection, waterSelect() + QStringLiteral("ORDER BY rowid"), {},
           [&out](const Connection::Statement &st) { out.append(waterOf(st)); });
    return out;
}

std::optional<WaterAnalysis> BaseQueries::waterAnalysis(int id)
{
    using namespace Fields;
    std::optional<WaterAnalysis> out;
    if (!hasTable(Tables::t_voda) || !hasTable(Tables::t_sostav_vody))
        return out;
    select(m_connection, waterSelect() + QStringLiteral("WHERE %1 = ?1").arg(q(id_voda)), {id},
           [&out](const Connection::Statement &st) { out = waterOf(st); });
    if (!out)
        return out;
    select(m_connection,
           QStringLiteral("SELECT w.%1, e.%2, w.%3 FROM %4 w LEFT JOIN %5 e ON e.%1 = w.%1 "
                          "WHERE w.%6 = ?1 ORDER BY w.rowid")
               .arg(q(id_element), q(Smallname_element), q(mg_l), q(Tables::t_sostav_vody),
                    q(Tables::T_element), q(id_voda)),
           {id}, [&out](const Connection::Statement &st) {
               out->lines.append({integer(st, 0, Fields::id_element), st.column(1).toString(),
                                  number(st, 2, Fields::mg_l)});
           });
    return out;
}

// ---------------------------------------------------------------- recipes

namespace {

// The rows of t_rachet or t_save_rar with their fertilizer's name and ppm.
QString recipeSelect(const QString &table, const QString &key)
{
    using namespace Fields;
    return QStringLiteral("SELECT r.%1, r.%2, u.%3, r.%4, u.%5 FROM %6 r LEFT JOIN %7 u "
                          "ON u.%2 = r.%2 ")
        .arg(q(key), q(id_udobra), q(name_udobra), q(kol), q(ppm), q(table), q(Tables::t_udobra));
}

RecipeLine recipeLineOf(const Connection::Statement &st)
{
    RecipeLine line;
    line.id = integer(st, 0, Fields::id_rachet);
    line.fertilizer = optionalInteger(st, 1, Fields::id_udobra);
    line.name = st.column(2).toString();
    line.grams = number(st, 3, Fields::kol);
    line.ppm = integer(st, 4, Fields::ppm);
    return line;
}

QString solutionSelect()
{
    using namespace Fields;
    return QStringLiteral("SELECT %1, %2, %3, %4, %5 FROM %6 ")
        .arg(q(id_head_rar), q(name_rar), q(id_konc), q(kol_l), q(konc), q(Tables::t_head_rar));
}

SavedSolution solutionOf(const Connection::Statement &st)
{
    SavedSolution s;
    s.id = integer(st, 0, Fields::id_head_rar);
    s.name = st.column(1).toString();
    s.crop = integer(st, 2, Fields::id_konc);
    s.litres = optionalNumber(st, 3, Fields::kol_l);
    s.percentage = optionalInteger(st, 4, Fields::konc);
    return s;
}

} // namespace

QList<SavedSolution> BaseQueries::savedSolutions(int crop)
{
    QList<SavedSolution> out;
    // A solution belongs to its crop through id_konc, which holds the crop's key.
    select(m_connection,
           solutionSelect() + QStringLiteral("WHERE %1 = ?1 ORDER BY rowid").arg(q(Fields::id_konc)),
           {crop}, [&out](const Connection::Statement &st) { out.append(solutionOf(st)); });
    return out;
}

std::optional<SavedSolution> BaseQueries::savedSolution(int id)
{
    using namespace Fields;
    std::optional<SavedSolution> out;
    select(m_connection, solutionSelect() + QStringLiteral("WHERE %1 = ?1").arg(q(id_head_rar)), {id},
           [&out](const Connection::Statement &st) { out = solutionOf(st); });
    if (!out)
        return out;
    select(m_connection,
           recipeSelect(Tables::t_save_rar, id_save_rar)
               + QStringLiteral("WHERE r.%1 = ?1 ORDER BY r.rowid").arg(q(id_head_rar)),
           {id}, [&out](const Connection::Statement &st) { out->lines.append(recipeLineOf(st)); });
    return out;
}

QList<RecipeLine> BaseQueries::workingComposition()
{
    QList<RecipeLine> out;
    select(m_connection, recipeSelect(Tables::t_rachet, Fields::id_rachet) + QStringLiteral("ORDER BY r.rowid"),
           {}, [&out](const Connection::Statement &st) { out.append(recipeLineOf(st)); });
    return out;
}

Options BaseQueries::options()
{
    using namespace Fields;
    Options out;
    // The calculator reads the first row; a base has one.
    select(m_connection,
           QStringLiteral("SELECT %1, %2, %3 FROM %4 ORDER BY rowid LIMIT 1")
               .arg(q(avto), q(ppm1), q(ppm2), q(Tables::t_opt)),
           {}, [&out](const Connection::Statement &st) {
               out.autoRun = boolean(st, 0, Fields::avto);
               out.targetTotals = boolean(st, 1, Fields::ppm1);
               out.ppmTotals = boolean(st, 2, Fields::ppm2);
           });
    return out;
}
