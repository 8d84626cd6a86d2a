#include "recipefile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace RecipeFile {

namespace {

QJsonObject amounts(const QMap<QString, double> &bySymbol)
{
    QJsonObject o;
    for (auto it = bySymbol.cbegin(); it != bySymbol.cend(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

QJsonObject fertilizerObject(const Fertilizer &f)
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), f.name);
    o.insert(QStringLiteral("composition"), amounts(f.composition));
    o.insert(QStringLiteral("grams_per_litre"), f.gramsPerLitre);
    if (f.nitrogenForm)
        o.insert(QStringLiteral("nitrogen_form"), nitrogenFormText(*f.nitrogenForm));
    if (f.acid)
        o.insert(QStringLiteral("acid"),
                 QJsonObject{{QStringLiteral("strength_percent"), f.acid->strengthPercent},
                             {QStringLiteral("density"), f.acid->density}});
    if (f.ppm)
        o.insert(QStringLiteral("ppm"), *f.ppm);
    if (f.solubility)
        o.insert(QStringLiteral("solubility"), *f.solubility);
    if (f.price)
        o.insert(QStringLiteral("price"), *f.price);
    if (f.fixed)
        o.insert(QStringLiteral("fixed"), true);
    if (f.atMost)
        o.insert(QStringLiteral("at_most"), *f.atMost);
    return o;
}

QJsonObject cropObject(const Crop &c)
{
    QJsonObject o{{QStringLiteral("name"), c.name}};
    if (c.ph)
        o.insert(QStringLiteral("ph"), *c.ph);
    QJsonArray targets;
    for (const Target &t : c.targets)
        targets.append(QJsonObject{{QStringLiteral("symbol"), t.symbol},
                                   {QStringLiteral("vega"), t.vega},
                                   {QStringLiteral("cvet"), t.cvet}});
    o.insert(QStringLiteral("targets"), targets);
    if (c.ecVega)
        o.insert(QStringLiteral("ec_vega"), *c.ecVega);
    if (c.ecCvet)
        o.insert(QStringLiteral("ec_cvet"), *c.ecCvet);
    if (c.nh4Percent)
        o.insert(QStringLiteral("nh4_percent"), *c.nh4Percent);
    return o;
}

} // namespace

const Fertilizer *Recipe::acidFertilizer() const
{
    if (!acid)
        return nullptr;
    for (const Fertilizer &f : fertilizers) {
        if (f.name.compare(*acid, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QString nitrogenFormText(Chemistry::NitrogenForm form)
{
    switch (form) {
    case Chemistry::NitrogenForm::Ammonium:
        return QStringLiteral("ammonium");
    case Chemistry::NitrogenForm::Urea:
        return QStringLiteral("urea");
    case Chemistry::NitrogenForm::Nitrate:
        break;
    }
    return QStringLiteral("nitrate");
}

QByteArray write(const Recipe &recipe)
{
    QJsonObject o;
    o.insert(QStringLiteral("format"), QLatin1StringView(FormatName));
    o.insert(QStringLiteral("version"), Version);
    o.insert(QStringLiteral("name"), recipe.name);
    o.insert(QStringLiteral("percentage"), recipe.percentage);
    if (recipe.litres)
        o.insert(QStringLiteral("litres"), *recipe.litres);
    if (recipe.crop)
        o.insert(QStringLiteral("crop"), cropObject(*recipe.crop));
    QJsonArray fertilizers;
    for (const Fertilizer &f : recipe.fertilizers)
        fertilizers.append(fertilizerObject(f));
    o.insert(QStringLiteral("fertilizers"), fertilizers);
    if (recipe.water) {
        QJsonObject water{{QStringLiteral("mg_per_litre"), amounts(recipe.water->milligramsPerLitre)}};
        if (recipe.water->name)
            water.insert(QStringLiteral("name"), *recipe.water->name);
        if (recipe.water->hco3)
            water.insert(QStringLiteral("hco3"), *recipe.water->hco3);
        if (recipe.water->ph)
            water.insert(QStringLiteral("ph"), *recipe.water->ph);
        o.insert(QStringLiteral("water"), water);
    }
    if (recipe.targetPh)
        o.insert(QStringLiteral("target_ph"), *recipe.targetPh);
    if (recipe.acid)
        o.insert(QStringLiteral("acid"), *recipe.acid);
    if (!recipe.targets.isEmpty())
        o.insert(QStringLiteral("targets"), amounts(recipe.targets));
    if (!recipe.modes.isEmpty()) {
        QJsonObject modes;
        for (auto it = recipe.modes.cbegin(); it != recipe.modes.cend(); ++it)
            modes.insert(it.key(), it.value());
        o.insert(QStringLiteral("modes"), modes);
    }
    if (!recipe.weights.isEmpty()) {
        QJsonObject weights;
        for (auto it = recipe.weights.cbegin(); it != recipe.weights.cend(); ++it)
            weights.insert(it.key(), it.value());
        o.insert(QStringLiteral("weights"), weights);
    }
    if (recipe.ec)
        o.insert(QStringLiteral("ec"), *recipe.ec);
    if (recipe.nh4Percent)
        o.insert(QStringLiteral("nh4_percent"), *recipe.nh4Percent);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace RecipeFile
