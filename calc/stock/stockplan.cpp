#include "stockplan.h"

#include "calc/run/numbers.h"

#include "data/apperror.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace Stock {

namespace {

bool brings(const QList<CompositionRow> &composition, const QString &element)
{
    for (const CompositionRow &row : composition) {
        if (const auto added = contribution(row, element, 1); added && *added > 0)
            return true;
    }
    return false;
}

bool bringsPhosphorusOrSulphur(const QList<CompositionRow> &composition)
{
    return brings(composition, Phosphorus) || brings(composition, Sulphur);
}

// The amount in a tank of strength `factor`, as every figure of the plan forms it.
double perLitre(double amount, int factor)
{
    return static_cast<double>(Ext(amount) * factor);
}

// Grams of a salt per litre of the water in the tank, at most: solubility is per litre of
// water, and a litre of tank holds less, since the salts take part of its kilogram (a salt
// solution is denser than water, so the water in a litre weighs at least 1000 g less the salts).
// Infinite when the salts alone weigh a kilogram per litre.
double perLitreOfWater(double gramsPerLitre, double tankGramsPerLitre)
{
    const Ext water = Ext(1000) - tankGramsPerLitre;
    if (water <= 0)
        return std::numeric_limits<double>::infinity();
    return static_cast<double>(Ext(gramsPerLitre) * 1000 / water);
}

QString number(double value, int places, QChar decimalSeparator)
{
    const double rounded = RoundDecimals(value, places);
    // A figure too small for the places (a solubility of 0.001 g) keeps two digits, not "0".
    if (rounded == 0 && value != 0 && std::isfinite(value))
        return formatGeneral(QString::number(value, 'g', 2).toDouble(), decimalSeparator);
    return formatGeneral(rounded, decimalSeparator);
}

// Adds up a fertilizer that the recipe names twice (a copied saved solution may), and drops the
// ones without an amount: there is nothing of them to dissolve.
QList<Fertilizer> merged(const QList<Fertilizer> &recipe)
{
    QList<Fertilizer> out;
    QHash<int, qsizetype> at;
    for (const Fertilizer &f : recipe) {
        if (const auto it = at.constFind(f.id); it != at.cend()) {
            Fertilizer &first = out[*it];
            first.amount = static_cast<double>(Ext(first.amount) + f.amount);
            continue;
        }
        at.insert(f.id, out.size());
        out.append(f);
    }
    out.removeIf([](const Fertilizer &f) { return !(f.amount > 0); });
    return out;
}

std::optional<Tank> chosenTank(TankChoice choice)
{
    switch (choice) {
    case TankChoice::A:
        return Tank::A;
    case TankChoice::B:
        return Tank::B;
    case TankChoice::Separate:
        return Tank::Separate;
    case TankChoice::Automatic:
        break;
    }
    return std::nullopt;
}

Line lineOf(const Fertilizer &f, int factor, double litres)
{
    Line line;
    line.fertilizer = f.id;
    line.name = f.name;
    line.amount = f.amount;
    line.gramsPerLitre = perLitre(f.amount, factor);
    line.grams = static_cast<double>(Ext(line.gramsPerLitre) * Ext(litres));
    if (f.price)
        line.cost = static_cast<double>(Ext(line.grams) / 1000 * *f.price);
    return line;
}

// `tankAmount`: g/L of the working solution that go into the same tank, this fertilizer's
// included; `perWater`: what perLitreOfWater gave at the plan's K. Both figures are stated as
// handbooks state solubility, per 100 g of water, the temperature named once.
QString solubilityWarning(const Fertilizer &f, const Line &line, Tank tank, double tankAmount,
                          double perWater, QChar decimalSeparator)
{
    const double solubility = *f.solubility;
    const QString where = tank == Tank::Separate ? QStringLiteral("в отдельном баке")
                                                 : QStringLiteral("в баке ") + tankName(tank);
    const QString basis = QStringLiteral("г на 100 г воды при %1 °C").arg(SolubilityTemperature);
    const QString limit = number(solubility / 10, 2, decimalSeparator);
    const QString found = std::isfinite(perWater)
                              ? QStringLiteral("%1 %2, растворимость %3")
                                    .arg(number(perWater / 10, 2, decimalSeparator), basis, limit)
                              : QStringLiteral("соли в баке больше, чем воды; растворимость %1 %2")
                                    .arg(limit, basis);
    QString text = QStringLiteral("%1 %2: %3 г/л — %4. ")
                       .arg(f.name, where, number(line.gramsPerLitre, 2, decimalSeparator), found);
    const int fits = largestFactor(f.amount, solubility, tankAmount);
    if (fits >= MinFactor)
        text += QStringLiteral("Наибольший K, при котором оно растворится: %1.").arg(fits);
    else
        text += QStringLiteral("Оно не растворится даже при K = 1.");
    return text;
}

} // namespace

const TankContents *Plan::tank(Tank which) const
{
    for (const TankContents &t : tanks) {
        if (t.tank == which)
            return &t;
    }
    return nullptr;
}

std::optional<Tank> ruleTank(const QList<CompositionRow> &composition)
{
    const bool calcium = brings(composition, Calcium);
    const bool precipitant = bringsPhosphorusOrSulphur(composition);
    if (calcium && precipitant)
        return Tank::Separate;
    if (calcium)
        return Tank::A;
    if (precipitant)
        return Tank::B;
    if (brings(composition, Iron))
        return Tank::A;
    return std::nullopt;
}

Plan plan(const QList<Fertilizer> &recipe, int factor, double litres, QChar decimalSeparator)
{
    Plan result;
    result.factor = factor;
    result.litres = litres;
    const QList<Fertilizer> fertilizers = merged(recipe);

    // The tank of each fertilizer: the grower's choice, else the rule, else the balance. The
    // fertilizers are taken heaviest first, then by name, then by key: the split depends on the
    // recipe, not on the order of its rows (the sums that decide the balance are added up in
    // this order too), and the heavy ones, placed first, leave the light ones to even out.
    QList<qsizetype> order(fertilizers.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&fertilizers](qsizetype a, qsizetype b) {
        const Fertilizer &x = fertilizers.at(a);
        const Fertilizer &y = fertilizers.at(b);
        if (x.amount != y.amount)
            return x.amount > y.amount;
        if (x.name != y.name)
            return x.name < y.name;
        return x.id < y.id;
    });
    QList<Tank> tankOf(fertilizers.size(), Tank::A);
    QList<qsizetype> balanced;
    Ext mass[2] = {0, 0}; // g/L of A and B, proportional to their grams
    for (const qsizetype i : order) {
        const Fertilizer &f = fertilizers.at(i);
        std::optional<Tank> tank = chosenTank(f.choice);
        if (!tank)
            tank = ruleTank(f.composition);
        if (!tank) {
            balanced.append(i);
            continue;
        }
        tankOf[i] = *tank;
        if (*tank != Tank::Separate)
            mass[*tank == Tank::A ? 0 : 1] += f.amount;
    }
    // The rest go one by one to the tank with less salt, A when both weigh the same.
    for (const qsizetype i : balanced) {
        const int lighter = mass[1] < mass[0] ? 1 : 0;
        tankOf[i] = lighter == 0 ? Tank::A : Tank::B;
        mass[lighter] += fertilizers.at(i).amount;
    }

    QStringList solubility;
    Ext costPer1000 = 0;
    for (const Tank which : {Tank::A, Tank::B, Tank::Separate}) {
        TankContents contents;
        contents.tank = which;
        bool calcium = false;
        bool precipitant = false;
        QStringList calciumNames;
        QStringList precipitantNames;
        Ext grams = 0;
        Ext perLitreSum = 0;
        Ext cost = 0;
        // What shares the water of one tank: the whole of A or B; each separate one alone.
        Ext tankAmount = 0;
        for (qsizetype i = 0; i < fertilizers.size(); ++i) {
            if (tankOf.at(i) == which)
                tankAmount += fertilizers.at(i).amount;
        }
        // In the recipe's order, as the grower wrote it.
        for (qsizetype i = 0; i < fertilizers.size(); ++i) {
            if (tankOf.at(i) != which)
                continue;
            const Fertilizer &f = fertilizers.at(i);
            Line line = lineOf(f, factor, litres);
            grams += line.grams;
            perLitreSum += line.gramsPerLitre;
            if (line.cost)
                cost += *line.cost;
            else
                contents.unpriced.append(f.name);
            if (f.solubility && *f.solubility > 0) {
                const double shared = which == Tank::Separate ? f.amount : static_cast<double>(tankAmount);
                const double perWater = perLitreOfWater(line.gramsPerLitre, perLitre(shared, factor));
                line.solubilityPercent = std::isfinite(perWater)
                                             ? static_cast<double>(Ext(perWater) / *f.solubility * 100)
                                             : perWater;
                line.overSolubility = perWater > *f.solubility;
                if (line.overSolubility)
                    solubility.append(
                        solubilityWarning(f, line, which, shared, perWater, decimalSeparator));
            }
            if (brings(f.composition, Calcium)) {
                calcium = true;
                calciumNames.append(f.name);
            }
            if (bringsPhosphorusOrSulphur(f.composition)) {
                precipitant = true;
                precipitantNames.append(f.name);
            }
            contents.lines.append(line);
        }
        if (contents.lines.isEmpty())
            continue; // an empty tank is not shown
        contents.grams = static_cast<double>(grams);
        contents.gramsPerLitre = static_cast<double>(perLitreSum);
        contents.cost = static_cast<double>(cost);
        // Each fertilizer of the separate list has a tank of its own: nothing meets there.
        if (which != Tank::Separate && calcium && precipitant) {
            result.warnings.append(
                QStringLiteral("В баке %1 кальций (%2) встречается с серой или фосфором (%3): "
                               "выпадет осадок (гипс, фосфат кальция).")
                    .arg(tankName(which), calciumNames.join(QStringLiteral(", ")),
                         precipitantNames.join(QStringLiteral(", "))));
        }
        result.tanks.append(contents);
    }
    result.warnings.append(solubility);

    for (const Fertilizer &f : fertilizers) {
        if (f.price)
            costPer1000 += Ext(f.amount) * *f.price; // f.amount kg in 1000 L
        else
            result.unpriced.append(f.name);
    }
    result.costPer1000Litres = static_cast<double>(costPer1000);
    if (!result.unpriced.isEmpty()) {
        result.warnings.append(QStringLiteral("Нет цены: %1. В стоимость не вошло.")
                                   .arg(result.unpriced.join(QStringLiteral(", "))));
    }
    return result;
}

int largestFactor(double amount, double solubility, double tankAmount)
{
    if (!(amount > 0))
        return MaxFactor;
    tankAmount = std::max(tankAmount, amount);
    const auto fits = [=](int k) {
        return perLitreOfWater(perLitre(amount, k), perLitre(tankAmount, k)) <= solubility;
    };
    // a·K·1000 / (1000 − T·K) ≤ S solved for K; the plan's own arithmetic decides the last step.
    const double estimate = std::floor(1000 * solubility / (1000 * amount + solubility * tankAmount));
    // Figures at the ends of the doubles (a solubility of 1e308) give no estimate: count from 0.
    int k = std::isnan(estimate) ? 0 : int(std::clamp(estimate, 0.0, double(MaxFactor)));
    while (k < MaxFactor && fits(k + 1))
        ++k;
    while (k > 0 && !fits(k))
        --k;
    return k;
}

int factorFromText(const QString &text)
{
    int k = 0;
    if (text.trimmed().isEmpty())
        throw AppError(QStringLiteral("Укажите коэффициент K: целое число от 1 до 1000"));
    if (!tryParseInt(text.trimmed(), k) || k < MinFactor || k > MaxFactor)
        throw AppError(QStringLiteral("Коэффициент K — целое число от 1 до 1000, а не \"%1\"")
                           .arg(text));
    return k;
}

double litresFromText(const QString &text, QChar decimalSeparator)
{
    double v = 0;
    if (text.trimmed().isEmpty())
        throw AppError(QStringLiteral("Укажите объём бака в литрах"));
    if (!tryParseDecimal(text, v) || !(v >= MinLitres) || v > MaxLitres)
        throw AppError(
            QStringLiteral("Объём бака — число литров не меньше %1 и не больше %2, а не \"%3\"")
                .arg(formatGeneral(MinLitres, decimalSeparator), formatGeneral(MaxLitres, decimalSeparator), text));
    return v;
}

QString tankName(Tank tank)
{
    switch (tank) {
    case Tank::A:
        return QStringLiteral("A");
    case Tank::B:
        return QStringLiteral("B");
    case Tank::Separate:
        break;
    }
    return QStringLiteral("отдельно");
}

} // namespace Stock
