#include "recipeimport.h"

#include "data/apperror.h"
#include "data/basequeries.h"
#include "data/connection.h"
#include "data/fields.h"
#include "data/owntables.h"
#include "data/schema.h"

#include <QRegularExpression>

namespace RecipeImport {

namespace {

QString q(const QString &name)
{
    return QStringLiteral("\"%1\"").arg(name);
}

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

int longestName(const QString &table, const QString &field)
{
    return Schema::table(table).field(field)->size;
}

// "Name" or "Name (k)": the names an import gives a fertilizer of the name `name`.
bool importedName(const QString &candidate, const QString &name)
{
    if (sameName(candidate, name))
        return true;
    static const QRegularExpression suffix(QStringLiteral("^(.*) \\((\\d+)\\)$"));
    const QRegularExpressionMatch m = suffix.match(candidate.trimmed());
    return m.hasMatch() && sameName(m.captured(1), name);
}

// The first of "Name (2)", "Name (3)" ... that `taken` does not hold, within the field's length.
QString freeName(const QString &name, int longest, const std::function<bool(const QString &)> &taken)
{
    for (int k = 2;; ++k) {
        const QString suffix = QStringLiteral(" (%1)").arg(k);
        const QString candidate = name.left(longest - suffix.size()).trimmed() + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

QMap<QString, double> labelOf(const QList<BaseRows::CompositionLine> &lines)
{
    QMap<QString, double> out;
    for (const BaseRows::CompositionLine &line : lines)
        out[line.symbol] += line.percent;
    return out;
}

void requireElements(const Plan &plan, const QStringList &symbols)
{
    for (const QString &s : symbols) {
        if (!plan.elements.contains(s))
            throw AppError(QStringLiteral("в базе нет элемента «%1»: рецепт в неё не перенести").arg(s));
    }
}

CropStep cropStep(BaseQueries &base, const RecipeFile::Recipe &recipe, const std::optional<QString> &cropName)
{
    CropStep step;
    if (cropName) {
        const std::optional<BaseRows::Crop> crop = base.cropByName(cropName->trimmed());
        if (!crop)
            throw AppError(QStringLiteral("в базе нет культуры «%1»").arg(cropName->trimmed()));
        return {true, crop->id, crop->name};
    }
    if (recipe.crop) {
        for (const BaseRows::Crop &c : base.crops()) {
            if (sameName(c.name, recipe.crop->name))
                return {true, c.id, c.name};
        }
        return {false, 0, recipe.crop->name};
    }
    const QList<BaseRows::Crop> crops = base.crops();
    if (crops.isEmpty())
        throw AppError(QStringLiteral("в файле нет культуры, а в базе ни одной: раствору не к чему относиться"));
    return {true, crops.first().id, crops.first().name};
}

bool sameRows(const BaseRows::SavedSolution &saved, const Plan &plan)
{
    if (saved.percentage.value_or(0) != plan.recipe.percentage || saved.lines.size() != plan.fertilizers.size())
        return false;
    for (qsizetype i = 0; i < saved.lines.size(); ++i) {
        const FertilizerStep &f = plan.fertilizers.at(i);
        if (f.decision != Decision::Reuse || saved.lines.at(i).fertilizer != f.existing
            || saved.lines.at(i).grams != plan.recipe.fertilizers.at(i).gramsPerLitre)
            return false;
    }
    return true;
}

SolutionStep solutionStep(BaseQueries &base, const Plan &plan)
{
    const QString name = plan.recipe.name;
    if (!plan.crop.reuse)
        return {false, 0, name};
    const QList<BaseRows::SavedSolution> solutions = base.savedSolutions(plan.crop.existing);
    for (const BaseRows::SavedSolution &s : solutions) {
        if (importedName(s.name, name)) {
            const std::optional<BaseRows::SavedSolution> full = base.savedSolution(s.id);
            if (full && sameRows(*full, plan))
                return {true, s.id, s.name};
        }
    }
    const auto taken = [&solutions](const QString &candidate) {
        return std::any_of(solutions.cbegin(), solutions.cend(),
                           [&candidate](const BaseRows::SavedSolution &s) { return sameName(s.name, candidate); });
    };
    return {false, 0, taken(name) ? freeName(name, longestName(Tables::t_head_rar, Fields::name_rar), taken) : name};
}

// ---------------------------------------------------------------- writing

class Writer
{
public:
    explicit Writer(Connection &connection)
        : m_connection(connection)
    {
    }

    qint64 insert(const QString &table, const QStringList &fields, const QVariantList &values)
    {
        QStringList quoted, marks;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            quoted.append(q(fields.at(i)));
            marks.append(QStringLiteral("?%1").arg(i + 1));
        }
        Connection::Statement st(m_connection, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                   .arg(q(table), quoted.join(u','), marks.join(u',')));
        for (qsizetype i = 0; i < values.size(); ++i)
            st.bind(int(i + 1), values.at(i));
        st.step();
        return m_connection.lastInsertId();
    }

private:
    Connection &m_connection;
};

QVariant orNull(const std::optional<double> &v)
{
    return v ? QVariant(*v) : QVariant();
}

int nitrogenFormCode(const std::optional<Chemistry::NitrogenForm> &form)
{
    switch (form.value_or(Chemistry::NitrogenForm::Nitrate)) {
    case Chemistry::NitrogenForm::Ammonium:
        return int(NitrogenForm::Ammonium);
    case Chemistry::NitrogenForm::Urea:
        return int(NitrogenForm::Urea);
    case Chemistry::NitrogenForm::Nitrate:
        break;
    }
    return int(NitrogenForm::Nitrate);
}

int createFertilizer(Writer &w, const Plan &plan, const RecipeFile::Fertilizer &f, const QString &name)
{
    using namespace Fields;
    const int id = int(w.insert(Tables::t_udobra, {name_udobra, ppm}, {name, f.ppm.value_or(0)}));
    for (auto it = f.composition.cbegin(); it != f.composition.cend(); ++it)
        w.insert(Tables::T_sostav_udobra, {id_element, id_udobra, kol_element},
                 {plan.elements.value(it.key()), id, it.value()});
    w.insert(Tables::t_svoistva_udobra,
             {id_udobra, bak, rastvorimost, cena, forma_azota, kislota, krepost, plotnost},
             {id, int(TankChoice::Automatic), orNull(f.solubility), orNull(f.price),
              nitrogenFormCode(f.nitrogenForm), f.acid ? 1 : 0,
              f.acid ? QVariant(f.acid->strengthPercent) : QVariant(),
              f.acid ? QVariant(f.acid->density) : QVariant()});
    return id;
}

int createCrop(Writer &w, const Plan &plan, const RecipeFile::Crop &c)
{
    using namespace Fields;
    const int id = int(w.insert(Tables::T_kult, {name_kult, ph}, {plan.crop.name, c.ph.value_or(QString())}));
    for (const RecipeFile::Target &t : c.targets)
        w.insert(Tables::t_konc, {vega, cvet, id_kult, id_el}, {t.vega, t.cvet, id, plan.elements.value(t.symbol)});
    if (c.ecVega || c.ecCvet || c.nh4Percent)
        w.insert(Tables::t_svoistva_kult, {id_kult, ec_vega, ec_cvet, nh4_dolya},
                 {id, orNull(c.ecVega), orNull(c.ecCvet), orNull(c.nh4Percent)});
    return id;
}

// The crop when it is new, then the saved solution when it is new, into `r`.
void writeSolution(Writer &w, const Plan &plan, Result &r)
{
    using namespace Fields;
    if (plan.crop.reuse) {
        r.crop = plan.crop.existing;
    } else {
        r.crop = createCrop(w, plan, *plan.recipe.crop);
        ++r.created;
    }
    if (plan.solution.reuse) {
        r.solution = plan.solution.existing;
        return;
    }
    r.solution = int(w.insert(Tables::t_head_rar, {name_rar, id_konc, kol_l, konc},
                              {plan.solution.name, r.crop, orNull(plan.recipe.litres), plan.recipe.percentage}));
    for (qsizetype i = 0; i < plan.fertilizers.size(); ++i)
        w.insert(Tables::t_save_rar, {id_udobra, kol, id_head_rar},
                 {r.fertilizers.at(i), plan.recipe.fertilizers.at(i).gramsPerLitre, r.solution});
    ++r.created;
}

// The name the grower gave a new fertilizer, checked against the base as it is now.
QString checkedNewName(BaseQueries &base, const Plan &plan, qsizetype index)
{
    const QString name = plan.fertilizers.at(index).name.trimmed();
    const QString where = QStringLiteral("удобрение %1 файла").arg(index + 1);
    if (name.isEmpty())
        throw AppError(QStringLiteral("%1: пустое название").arg(where));
    const int longest = longestName(Tables::t_udobra, Fields::name_udobra);
    if (name.size() > longest)
        throw AppError(QStringLiteral("%1: название «%2» длиннее %3 знаков").arg(where, name).arg(longest));
    for (const BaseRows::Fertilizer &f : base.fertilizers()) {
        if (sameName(f.name, name))
            throw AppError(QStringLiteral("удобрение «%1» уже есть в базе: дайте новому другое название").arg(name));
    }
    for (qsizetype j = 0; j < plan.fertilizers.size(); ++j) {
        if (j != index && plan.fertilizers.at(j).decision != Decision::Reuse
            && sameName(plan.fertilizers.at(j).name, name))
            throw AppError(QStringLiteral("название «%1» дано двум новым удобрениям").arg(name));
    }
    return name;
}

} // namespace

bool Plan::createsAnything() const
{
    return (!listOnly && (!crop.reuse || !solution.reuse))
           || std::any_of(fertilizers.cbegin(), fertilizers.cend(),
                          [](const FertilizerStep &f) { return f.decision != Decision::Reuse; });
}

namespace {

// Matches each fertilizer of the file against the base and names the new ones.
void planFertilizers(BaseQueries &base, Plan &p, QStringList symbols)
{
    for (const RecipeFile::Fertilizer &f : p.recipe.fertilizers)
        symbols.append(f.composition.keys());
    symbols.removeDuplicates();
    p.elements = base.elementIds(symbols);
    requireElements(p, symbols);

    const QList<BaseRows::Fertilizer> existing = base.fertilizers();
    const QHash<int, QList<BaseRows::CompositionLine>> labels = base.compositions();
    QStringList planned; // names new fertilizers take, so two never get one
    for (const RecipeFile::Fertilizer &f : p.recipe.fertilizers) {
        FertilizerStep step;
        step.name = f.name;
        bool nameTaken = false;
        for (const BaseRows::Fertilizer &e : existing) {
            if (!importedName(e.name, f.name))
                continue;
            nameTaken = nameTaken || sameName(e.name, f.name);
            if (labelOf(labels.value(e.id)) == f.composition) {
                step = {Decision::Reuse, e.id, e.name};
                break;
            }
        }
        if (step.decision != Decision::Reuse) {
            const auto taken = [&](const QString &candidate) {
                return planned.contains(candidate, Qt::CaseInsensitive)
                       || std::any_of(existing.cbegin(), existing.cend(),
                                      [&](const BaseRows::Fertilizer &e) { return sameName(e.name, candidate); });
            };
            if (nameTaken) {
                step.decision = Decision::Rename;
                step.name = freeName(f.name, longestName(Tables::t_udobra, Fields::name_udobra), taken);
            }
            planned.append(step.name);
        }
        p.fertilizers.append(step);
    }
}

} // namespace

Plan plan(Connection &connection, const RecipeFile::Recipe &recipe, const std::optional<QString> &cropName)
{
    BaseQueries base(connection);
    Plan p;
    p.recipe = recipe;
    p.crop = cropStep(base, recipe, cropName);
    QStringList targetSymbols;
    if (!p.crop.reuse) {
        for (const RecipeFile::Target &t : recipe.crop->targets)
            targetSymbols.append(t.symbol);
    }
    planFertilizers(base, p, targetSymbols);
    p.solution = solutionStep(base, p);
    return p;
}

Plan planList(Connection &connection, const QList<RecipeFile::Fertilizer> &fertilizers)
{
    BaseQueries base(connection);
    Plan p;
    p.listOnly = true;
    p.recipe.name = QStringLiteral("Список удобрений");
    p.recipe.fertilizers = fertilizers;
    planFertilizers(base, p, {});
    return p;
}

Result apply(Connection &connection, const Plan &plan)
{
    BaseQueries base(connection);
    Writer w(connection);
    Result r;
    Connection::Batch batch(connection);
    try {
        for (qsizetype i = 0; i < plan.fertilizers.size(); ++i) {
            const FertilizerStep &step = plan.fertilizers.at(i);
            if (step.decision == Decision::Reuse) {
                if (!base.fertilizer(step.existing))
                    throw AppError(QStringLiteral("удобрение «%1» удалено из базы, пока шёл импорт").arg(step.name));
                r.fertilizers.append(step.existing);
                continue;
            }
            r.fertilizers.append(createFertilizer(w, plan, plan.recipe.fertilizers.at(i), checkedNewName(base, plan, i)));
            ++r.created;
        }
        if (!plan.listOnly)
            writeSolution(w, plan, r);
    } catch (...) {
        batch.rollback(); // all or nothing
        throw;
    }
    batch.commit();
    return r;
}

QStringList describe(const Plan &plan)
{
    QStringList out;
    for (qsizetype i = 0; i < plan.fertilizers.size(); ++i) {
        const FertilizerStep &step = plan.fertilizers.at(i);
        const QString fileName = plan.recipe.fertilizers.at(i).name;
        switch (step.decision) {
        case Decision::Reuse:
            out.append(QStringLiteral("удобрение «%1»: есть в базе с тем же составом, берётся оно").arg(step.name));
            break;
        case Decision::Create:
            out.append(QStringLiteral("удобрение «%1»: новое, будет создано").arg(step.name));
            break;
        case Decision::Rename:
            out.append(QStringLiteral("удобрение «%1»: в базе с другим составом, оно не меняется; новое — «%2»")
                           .arg(fileName, step.name));
            break;
        }
    }
    if (plan.listOnly)
        return out;
    out.append(plan.crop.reuse ? QStringLiteral("культура «%1»: есть в базе").arg(plan.crop.name)
                               : QStringLiteral("культура «%1»: новая, будет создана").arg(plan.crop.name));
    out.append(plan.solution.reuse
                   ? QStringLiteral("раствор «%1»: уже есть в базе с теми же строками").arg(plan.solution.name)
                   : QStringLiteral("раствор «%1»: будет создан").arg(plan.solution.name));
    return out;
}

} // namespace RecipeImport
