#include "ioninputs.h"

#include "calc/chemistry/storedform.h"
#include "calc/run/contribution.h"
#include "calc/run/derivedvalues.h"
#include "data/basequeries.h"
#include "data/textconv.h"

#include <cmath>

namespace IonInputs {

QList<Chemistry::ElementLine> compositionOf(const QList<CompositionRow> &rows)
{
    QList<Chemistry::ElementLine> out;
    for (const CompositionRow &row : rows)
        out.append({row.symbol, double(row.percent), row.yieldedSymbol, double(row.factor)});
    return out;
}

Chemistry::Recipe recipeOf(Connection &connection, const Recipe &recipe,
                           const std::optional<int> &water, int *leftOut)
{
    QList<int> ids;
    for (const Recipe::Line &line : recipe.lines) {
        if (!line.fertilizer.isNull() && !ids.contains(line.fertilizer.toInt()))
            ids.append(line.fertilizer.toInt());
    }
    const QHash<int, QList<CompositionRow>> compositions = readCompositions(connection, ids);
    BaseQueries queries(connection);
    const QHash<int, BaseRows::FertilizerProperties> properties = queries.fertilizerProperties(ids);

    Chemistry::Recipe out;
    int left = 0;
    for (const Recipe::Line &line : recipe.lines) {
        const double grams = DerivedValues::scaledAmount(line.grams, recipe.percentage);
        if (line.fertilizer.isNull() || line.name.isNull() || !std::isfinite(grams)) {
            ++left;
            continue;
        }
        const int id = line.fertilizer.toInt();
        Chemistry::Fertilizer f;
        f.name = line.name;
        f.grams = grams;
        f.composition = compositionOf(compositions.value(id));
        if (properties.contains(id))
            f.nitrogen = Chemistry::nitrogenFormOf(properties.value(id).nitrogenForm);
        out.fertilizers.append(f);
    }
    if (water) {
        if (const auto analysis = queries.waterAnalysis(*water))
            out.water = waterOf(*analysis);
    }
    if (leftOut)
        *leftOut = left;
    return out;
}

Chemistry::Water waterOf(const BaseRows::WaterAnalysis &analysis)
{
    Chemistry::Water w;
    for (const BaseRows::WaterLine &line : analysis.lines) {
        if (!line.symbol.isNull())
            w.elements.append({line.symbol, line.mgPerLitre, {}, 0});
    }
    w.hco3 = analysis.hco3.value_or(0);
    w.ph = analysis.ph;
    return w;
}

Chemistry::CropTargets targetsOf(const BaseRows::Crop &crop, Stage stage, double targetPh)
{
    Chemistry::CropTargets t;
    for (const BaseRows::Target &row : crop.targets) {
        if (!row.symbol.isNull())
            t.elements.append({row.symbol, stage == Stage::Vegetative ? row.vega : row.cvet, {}, 0});
    }
    if (crop.properties)
        t.ammoniumShare = crop.properties->ammoniumShare;
    t.ph = targetPh;
    return t;
}

std::optional<double> ecTargetOf(const BaseRows::Crop &crop, Stage stage)
{
    if (!crop.properties)
        return std::nullopt;
    return stage == Stage::Vegetative ? crop.properties->ecVega : crop.properties->ecCvet;
}

QString ecText(double ec, QChar decimalSeparator)
{
    return QStringLiteral("EC ≈ %1 мСм/см при 25 °C")
        .arg(formatFixed(ec, 2, decimalSeparator));
}

QList<Acid> acids(Connection &connection)
{
    BaseQueries queries(connection);
    QList<int> ids;
    QHash<int, QString> names;
    for (const BaseRows::Fertilizer &f : queries.fertilizers()) {
        ids.append(f.id);
        names.insert(f.id, f.name);
    }
    const QHash<int, BaseRows::FertilizerProperties> properties = queries.fertilizerProperties(ids);
    QList<int> flagged;
    for (int id : ids) {
        if (properties.value(id).acid)
            flagged.append(id);
    }
    const QHash<int, QList<CompositionRow>> compositions = readCompositions(connection, flagged);
    QList<Acid> out;
    for (int id : flagged) {
        const BaseRows::FertilizerProperties &p = properties[id];
        Acid acid{id, names.value(id), std::nullopt, {}};
        const std::optional<Chemistry::AcidKind> kind =
            Chemistry::acidKindOf(compositionOf(compositions.value(id)));
        if (!kind)
            acid.missing = QStringLiteral("в составе нет ровно одного из N, P, S");
        else if (!p.strength || *p.strength <= 0 || *p.strength > 100)
            acid.missing = QStringLiteral("не указана крепость, %");
        else if (!p.density || *p.density <= 0)
            acid.missing = QStringLiteral("не указана плотность, г/мл");
        else
            acid.product = Chemistry::AcidProduct{*kind, *p.strength, *p.density};
        out.append(acid);
    }
    return out;
}

} // namespace IonInputs
