#include "analysereport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace AnalyseReport {

namespace {

constexpr int NameWidth = 12;
constexpr int NumberWidth = 11;

QString fixed(double value, int decimals)
{
    // Never "-0.000": a trace below the places shown reads as nothing.
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0;
    return QString::number(value, 'f', decimals);
}

QString row(const QString &name, const QStringList &numbers)
{
    QString line = QStringLiteral("  ") + name.leftJustified(NameWidth);
    for (const QString &n : numbers)
        line += n.rightJustified(NumberWidth);
    return line;
}

void elementLines(QStringList &out, const RecipeFile::Analysis &a)
{
    const bool water = std::any_of(a.elements.cbegin(), a.elements.cend(),
                                   [](const RecipeFile::ElementAmount &e) { return e.water > 0; });
    out.append(water ? row(QStringLiteral("Элементы"), {QStringLiteral("удобрения"),
                                                        QStringLiteral("вода"), QStringLiteral("мг/л")})
                     : row(QStringLiteral("Элементы"), {QStringLiteral("мг/л")}));
    for (const RecipeFile::ElementAmount &e : a.elements) {
        if (e.total() <= 0)
            continue;
        out.append(water ? row(e.symbol, {fixed(e.fertilizers, 3), fixed(e.water, 3), fixed(e.total(), 3)})
                         : row(e.symbol, {fixed(e.total(), 3)}));
    }
    for (const Chemistry::Unmapped &u : a.chemistry.recipe.unmapped)
        out.append(QStringLiteral("  Без иона: %1 %2 мг/л («%3»)").arg(u.symbol, fixed(u.mg, 3), u.source));
}

void ionLines(QStringList &out, const RecipeFile::Analysis &a)
{
    out.append(row(QStringLiteral("Ионы"), {QStringLiteral("мг/л"), QStringLiteral("ммоль/л"),
                                            QStringLiteral("мг-экв/л")}));
    for (const Chemistry::IonRow &r : a.chemistry.ions)
        out.append(row(Chemistry::ionLabel(r.ion), {fixed(r.mg, 2), fixed(r.mmol, 3), fixed(r.meq, 3)}));
    const Chemistry::Balance &b = a.chemistry.balance;
    out.append(QStringLiteral("Катионы %1 мг-экв/л, анионы %2 мг-экв/л, разница %3 мг-экв/л (%4 %)")
                   .arg(fixed(b.cations, 3), fixed(b.anions, 3), fixed(b.difference, 3),
                        fixed(b.percent, 1)));
}

QString acidLine(const RecipeFile::Recipe &recipe, const RecipeFile::Analysis &a)
{
    const RecipeFile::Fertilizer *acid = recipe.acidFertilizer();
    if (!a.chemistry.acid)
        return QStringLiteral("Кислота «%1»: в воде нет гидрокарбоната, подкислять нечего").arg(acid->name);
    const Chemistry::AcidDose &d = *a.chemistry.acid;
    return QStringLiteral("Кислота «%1» до pH %2: %3 мг-экв/л, %4 мл/л, %5 мл на 1000 л; добавит %6 %7 мг/л; "
                          "HCO3 останется %8 мг/л")
        .arg(acid->name, fixed(d.ph, 1), fixed(d.meq, 3), fixed(d.mlPerLitre, 4), fixed(d.mlPer1000Litres, 1),
             d.element, fixed(d.elementMg, 2), fixed(d.hco3Left, 1));
}

} // namespace

QByteArray text(const RecipeFile::Recipe &recipe, const RecipeFile::Analysis &analysis)
{
    QStringList out;
    out.append(QStringLiteral("Рецепт «%1», концентрация %2 %").arg(recipe.name, QString::number(recipe.percentage)));
    out.append(QString());
    elementLines(out, analysis);
    out.append(QString());
    ionLines(out, analysis);
    out.append(QStringLiteral("EC ≈ %1 мСм/см при 25 °C").arg(fixed(analysis.chemistry.solution.conductivity.ec, 2)));
    out.append(QStringLiteral("pH ≈ %1, оценка").arg(fixed(analysis.chemistry.solution.ph, 1)));
    if (recipe.acid)
        out.append(acidLine(recipe, analysis));
    return (out.join(u'\n') + u'\n').toUtf8();
}

QByteArray json(const RecipeFile::Analysis &analysis)
{
    const Chemistry::Analysis &c = analysis.chemistry;
    QJsonObject elements;
    for (const RecipeFile::ElementAmount &e : analysis.elements)
        elements.insert(e.symbol, e.total());
    QJsonObject ions;
    for (const Chemistry::IonRow &r : c.ions)
        ions.insert(Chemistry::ionKey(r.ion), QJsonObject{{QStringLiteral("mg"), r.mg},
                                                          {QStringLiteral("mmol"), r.mmol},
                                                          {QStringLiteral("meq"), r.meq}});
    QJsonValue acid(QJsonValue::Null);
    if (c.acid)
        acid = QJsonObject{{QStringLiteral("meq_per_litre"), c.acid->meq},
                           {QStringLiteral("ml_per_litre"), c.acid->mlPerLitre},
                           {QStringLiteral("adds"), QJsonObject{{c.acid->element, c.acid->elementMg}}},
                           {QStringLiteral("hco3_left"), c.acid->hco3Left}};
    const QJsonObject o{{QStringLiteral("elements"), elements},
                        {QStringLiteral("ions"), ions},
                        {QStringLiteral("cations_meq"), c.balance.cations},
                        {QStringLiteral("anions_meq"), c.balance.anions},
                        {QStringLiteral("ec"), c.solution.conductivity.ec},
                        {QStringLiteral("ph"), c.solution.ph},
                        {QStringLiteral("acid"), acid}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace AnalyseReport
