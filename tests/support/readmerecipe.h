#pragma once

#include <QList>
#include <QString>

// The README's example: a seedling feed for the standard propagation recipe, the composition
// solver's amounts with these default fertilizers, rounded to what a grower weighs.
namespace ReadmeRecipe {

inline const QString Crop = QStringLiteral("Рассада овощей, минвата");
inline const QString CalciumNitrate = QStringLiteral("Кальциевая селитра");
inline const QString PotassiumNitrate = QStringLiteral("Калиевая селитра");
inline const QString AmmoniumNitrate = QStringLiteral("Аммиачная селитра");
inline const QString Mkp = QStringLiteral("Монофосфат калия");
inline const QString Epsom = QStringLiteral("Сульфат магния (7-водный)");
inline const QString MagnesiumNitrate = QStringLiteral("Магниевая селитра (6-водная)");
inline const QString IronChelate = QStringLiteral("Хелат железа Fe-EDTA 13%");

struct Amount
{
    QString fertilizer;
    const char *grams; // g/L, as the README prints it
};

inline const QList<Amount> &amounts()
{
    static const QList<Amount> all = {
        {CalciumNitrate, "0.95"}, {PotassiumNitrate, "0.56"}, {AmmoniumNitrate, "0.04"},
        {Mkp, "0.17"},            {Epsom, "0.62"},            {MagnesiumNitrate, "0.13"},
        {IronChelate, "0.011"},
    };
    return all;
}

} // namespace ReadmeRecipe
