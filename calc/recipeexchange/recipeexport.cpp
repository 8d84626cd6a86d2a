#include "recipeexport.h"

#include "calc/chemistry/storedform.h"
#include "calc/recipefile/defaultelements.h"
#include "data/apperror.h"
#include "data/basequeries.h"

#include <QHash>

namespace RecipeExport {

namespace {

void requireKnown(const QString &symbol, const QString &where)
{
    if (!DefaultElements::find(symbol))
        throw AppError(QStringLiteral("%1: элемента «%2» нет среди символов файла рецепта (%3)")
                           .arg(where, symbol, DefaultElements::symbolList()));
}

RecipeFile::Fertilizer fertilizerOf(const BaseRows::Fertilizer &row, const QList<BaseRows::CompositionLine> &lines,
                                    const std::optional<BaseRows::FertilizerProperties> &properties)
{
    RecipeFile::Fertilizer f;
    f.name = row.name.trimmed();
    f.ppm = row.ppm;
    const QString where = QStringLiteral("удобрение «%1»").arg(f.name);
    // A label listing one element twice counts both rows, as the run does.
    for (const BaseRows::CompositionLine &line : lines) {
        requireKnown(line.symbol, where);
        f.composition[line.symbol] += line.percent;
    }
    if (!properties)
        return f;
    if (properties->nitrogenForm && *properties->nitrogenForm != NitrogenForm::Nitrate)
        f.nitrogenForm = Chemistry::nitrogenFormOf(properties->nitrogenForm);
    if (properties->acid && properties->strength && properties->density)
        f.acid = RecipeFile::AcidProperties{*properties->strength, *properties->density};
    f.solubility = properties->solubility;
    f.price = properties->price;
    return f;
}

// The lines of a composition as the file's fertilizers; a fertilizer listed twice is one entry
// with the amounts added, since a file names each fertilizer once.
QList<RecipeFile::Fertilizer> fertilizersOf(BaseQueries &base, const QList<BaseRows::RecipeLine> &lines)
{
    QList<int> ids;
    for (const BaseRows::RecipeLine &line : lines) {
        if (!line.fertilizer || line.name.isNull())
            throw AppError(QStringLiteral("в составе есть строка с удобрением, которого нет в справочнике"));
        if (!ids.contains(*line.fertilizer))
            ids.append(*line.fertilizer);
    }
    const QHash<int, QList<BaseRows::CompositionLine>> compositions = base.compositions(ids);
    const QHash<int, BaseRows::FertilizerProperties> properties = base.fertilizerProperties(ids);
    QList<RecipeFile::Fertilizer> out;
    QHash<int, qsizetype> position;
    for (const BaseRows::RecipeLine &line : lines) {
        const int id = *line.fertilizer;
        if (position.contains(id)) {
            out[position.value(id)].gramsPerLitre += line.grams;
            continue;
        }
        const std::optional<BaseRows::Fertilizer> row = base.fertilizer(id);
        RecipeFile::Fertilizer f = fertilizerOf(*row, compositions.value(id),
                                                properties.contains(id) ? std::optional(properties.value(id))
                                                                        : std::nullopt);
        f.gramsPerLitre = line.grams;
        position.insert(id, out.size());
        out.append(f);
    }
    return out;
}

RecipeFile::Crop cropOf(const BaseRows::Crop &row)
{
    RecipeFile::Crop c;
    c.name = row.name.trimmed();
    if (!row.ph.trimmed().isEmpty())
        c.ph = row.ph.trimmed();
    const QString where = QStringLiteral("культура «%1»").arg(c.name);
    for (const BaseRows::Target &t : row.targets) {
        if (t.symbol.isNull())
            continue; // a row of an element the base no longer has: the calculator skips it too
        requireKnown(t.symbol, where);
        c.targets.append({t.symbol, t.vega, t.cvet});
    }
    if (row.properties) {
        c.ecVega = row.properties->ecVega;
        c.ecCvet = row.properties->ecCvet;
        c.nh4Percent = row.properties->ammoniumShare;
    }
    return c;
}

RecipeFile::Water waterOf(const BaseRows::WaterAnalysis &row)
{
    RecipeFile::Water w;
    w.name = row.name.trimmed();
    const QString where = QStringLiteral("анализ воды «%1»").arg(row.name);
    for (const BaseRows::WaterLine &line : row.lines) {
        requireKnown(line.symbol, where);
        w.milligramsPerLitre[line.symbol] += line.mgPerLitre;
    }
    w.hco3 = row.hco3;
    w.ph = row.ph;
    return w;
}

RecipeFile::Recipe recipeOf(BaseQueries &base, const Source &source, const QList<BaseRows::RecipeLine> &lines)
{
    RecipeFile::Recipe r;
    r.name = source.name.trimmed();
    r.percentage = source.percentage;
    r.litres = source.litres;
    if (source.crop) {
        const std::optional<BaseRows::Crop> crop = base.crop(*source.crop);
        if (crop)
            r.crop = cropOf(*crop);
    }
    r.fertilizers = fertilizersOf(base, lines);
    if (source.water) {
        const std::optional<BaseRows::WaterAnalysis> water = base.waterAnalysis(*source.water);
        if (!water)
            throw AppError(QStringLiteral("анализа воды с ключом %1 нет в базе").arg(*source.water));
        r.water = waterOf(*water);
    }
    // What the reader would refuse is refused here, with its reason, rather than written.
    try {
        RecipeFile::read(RecipeFile::write(r));
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("рецепт «%1» не записать в файл: %2").arg(r.name, e.text()));
    }
    return r;
}

} // namespace

RecipeFile::Recipe savedSolution(BaseQueries &base, int solution, std::optional<int> water)
{
    const std::optional<BaseRows::SavedSolution> saved = base.savedSolution(solution);
    if (!saved)
        throw AppError(QStringLiteral("готового раствора с ключом %1 нет в базе").arg(solution));
    Source source;
    source.name = saved->name;
    source.percentage = saved->percentage.value_or(0);
    source.litres = saved->litres;
    if (saved->crop != 0)
        source.crop = saved->crop;
    source.water = water;
    return recipeOf(base, source, saved->lines);
}

QList<RecipeFile::Fertilizer> fertilizerList(BaseQueries &base)
{
    QList<BaseRows::RecipeLine> lines;
    for (const BaseRows::Fertilizer &f : base.fertilizers()) {
        BaseRows::RecipeLine line;
        line.fertilizer = f.id;
        line.name = f.name;
        lines.append(line);
    }
    return fertilizersOf(base, lines);
}

RecipeFile::Recipe workingComposition(BaseQueries &base, const Source &source)
{
    return recipeOf(base, source, base.workingComposition());
}

} // namespace RecipeExport
