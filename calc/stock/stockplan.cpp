#include "stockplan.h"

#include "saltions.h"

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

// Every row that brings something brings a micro element (directly or through its coefficient).
bool onlyMicroElements(const QList<CompositionRow> &composition, const QStringList &micro)
{
    bool any = false;
    for (const CompositionRow &row : composition) {
        bool bringsAny = false;
        bool bringsMicro = false;
        for (const QString &symbol : {row.symbol, row.yieldedSymbol}) {
            const auto added = symbol.isEmpty() ? std::nullopt : contribution(row, symbol, 1);
            if (added && *added > 0) {
                bringsAny = true;
                bringsMicro = bringsMicro || micro.contains(symbol.trimmed());
            }
        }
        if (bringsAny && !bringsMicro)
            return false;
        any = any || bringsAny;
    }
    return any;
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

// The largest K from 0 to MaxFactor at which `amount` g/L of the working solution stays at or
// under `solubility` g per litre of the water left beside `tankAmount` g/L of salt.
int fittingFactor(double amount, double solubility, double tankAmount)
{
    if (!(amount > 0))
        return MaxFactor;
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
    if (f.density && *f.density > 0)
        line.millilitres = static_cast<double>(Ext(line.grams) / *f.density);
    if (f.price)
        line.cost = static_cast<double>(Ext(line.grams) / 1000 * *f.price);
    return line;
}

QString whereIs(Tank tank)
{
    return tank == Tank::Separate ? QStringLiteral("в отдельном баке")
                                  : QStringLiteral("в баке ") + tankName(tank);
}

// What the plan knows of a fertilizer beyond its line, for the judgement of its tank.
struct Reading
{
    IonsPerGram ions{};
    std::optional<SaltPair> pair;
    std::optional<Solubility> solubility; // at the plan's temperature
};

// The figures the solubility warnings are made of.
struct Judgement
{
    double perWater = 0;   // g per litre of the tank's water, alone
    double effective = 0;  // g/L of the salt alone that weigh as the tank's shared ions do
    QStringList sharing;   // the other salts of the tank that bring its cation or anion
};

class Warnings
{
public:
    Warnings(const Plan &plan, QChar separator) : m_plan(plan), m_separator(separator) {}

    QString number(double value, int places) const
    {
        return Stock::number(value, places, m_separator);
    }

    // "11 г на 100 г воды при 20 °C", as handbooks state solubility: the figure and the
    // temperature it holds at (the plan's, or the nearest of a curve that does not reach it).
    QString limit(const Solubility &s) const
    {
        return QStringLiteral("%1 %2").arg(number(s.grams / 10, 2), basis(s));
    }

    QString basis(const Solubility &s) const
    {
        const double celsius = s.measured ? m_plan.temperature : s.takenAt;
        return QStringLiteral("г на 100 г воды при %1 °C").arg(number(celsius, 1));
    }

    // `tankAmount`: g/L of the working solution that go into the same tank, this fertilizer's
    // included.
    QString overSolubility(const Fertilizer &f, const Line &line, Tank tank, double tankAmount,
                           const Solubility &s, const Judgement &j) const
    {
        // Both figures per 100 g of water, the temperature named once.
        const QString found = std::isfinite(j.perWater)
                                  ? QStringLiteral("%1 %2, растворимость %3")
                                        .arg(number(j.perWater / 10, 2), basis(s), number(s.grams / 10, 2))
                                  : QStringLiteral("соли в баке больше, чем воды; растворимость %1")
                                        .arg(limit(s));
        QString text = QStringLiteral("%1 %2: %3 г/л — %4. ")
                           .arg(f.name, whereIs(tank), number(line.gramsPerLitre, 2), found);
        const int fits = largestFactor(f.amount, s.grams, tankAmount);
        if (fits >= MinFactor)
            text += QStringLiteral("Наибольший K, при котором оно растворится: %1.").arg(fits);
        else
            text += QStringLiteral("Оно не растворится даже при K = 1.");
        if (!j.sharing.isEmpty() && *line.sharedPercent > *line.solubilityPercent)
            text += u' ' + sharedPart(line, j) + threshold(tankAmount, s, j);
        return text;
    }

    // Below its solubility alone, above the rule's threshold with the shared ions (or alone,
    // near saturation).
    QString nearSaturation(const Fertilizer &f, const Line &line, Tank tank, double tankAmount,
                           const Solubility &s, const Judgement &j) const
    {
        QString text = QStringLiteral("%1 %2: %3 г/л — %4 % растворимости (%5)")
                           .arg(f.name, whereIs(tank), number(line.gramsPerLitre, 2),
                                number(*line.solubilityPercent, 1), limit(s));
        if (j.sharing.isEmpty())
            text += QStringLiteral(", %1. ").arg(beyond(*line.sharedPercent));
        else
            text += QStringLiteral(". ") + sharedPart(line, j);
        return text + threshold(tankAmount, s, j);
    }

    // A fertilizer with a figure that the curve does not carry to the plan's temperature.
    QString unmeasured(const Fertilizer &f, const Solubility &s) const
    {
        return QStringLiteral("%1: цифры растворимости при %2 °C нет, взята цифра при %3 °C.")
            .arg(f.name, number(m_plan.temperature, 1), QString::number(s.takenAt));
    }

private:
    QString beyond(double percent) const
    {
        if (percent > 100)
            return QStringLiteral("больше предела: кристаллы выпадут");
        return QStringLiteral("больше %1 %: кристаллы могут выпасть").arg(number(SharedIonWarningPercent, 0));
    }

    QString sharedPart(const Line &line, const Judgement &j) const
    {
        return QStringLiteral("С общими ионами (%1) — %2 %, %3. ")
            .arg(j.sharing.join(QStringLiteral(", ")), number(*line.sharedPercent, 1),
                 beyond(*line.sharedPercent));
    }

    // The largest K that keeps the salt within the rule's threshold.
    QString threshold(double tankAmount, const Solubility &s, const Judgement &j) const
    {
        const QString most = number(SharedIonWarningPercent, 0);
        const int fits = fittingFactor(j.effective, s.grams * SharedIonWarningPercent / 100, tankAmount);
        if (fits >= MinFactor)
            return QStringLiteral("Наибольший K, при котором не больше %1 %: %2.").arg(most).arg(fits);
        return QStringLiteral("Не больше %1 % не будет даже при K = 1.").arg(most);
    }

    const Plan &m_plan;
    QChar m_separator;
};

double percentOf(double perWater, double solubility)
{
    return std::isfinite(perWater) ? static_cast<double>(Ext(perWater) / solubility * 100) : perWater;
}

// The tank of each fertilizer: the grower's choice, else an acid's own tank, else the rule,
// else the balance. The fertilizers are taken heaviest first, then by name, then by key: the
// split depends on the recipe, not on the order of its rows (the sums that decide the balance
// are added up in this order too), and the heavy ones, placed first, leave the light ones to
// even out.
QList<Tank> tanksOf(const QList<Fertilizer> &fertilizers)
{
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
        if (!tank && f.acid)
            tank = Tank::Acid;
        if (!tank)
            tank = ruleTank(f.composition);
        if (!tank) {
            balanced.append(i);
            continue;
        }
        tankOf[i] = *tank;
        if (*tank == Tank::A || *tank == Tank::B)
            mass[*tank == Tank::A ? 0 : 1] += f.amount;
    }
    // The rest go one by one to the tank with less salt, A when both weigh the same.
    for (const qsizetype i : balanced) {
        const int lighter = mass[1] < mass[0] ? 1 : 0;
        tankOf[i] = lighter == 0 ? Tank::A : Tank::B;
        mass[lighter] += fertilizers.at(i).amount;
    }
    return tankOf;
}

// The names of the tank's fertilizers (not `self`) that bring the salt's cation or anion.
QStringList sharingWith(qsizetype self, const SaltPair &pair, const QList<qsizetype> &members,
                        const QList<Fertilizer> &fertilizers, const QList<Reading> &readings)
{
    QStringList out;
    for (const qsizetype j : members) {
        const IonsPerGram &ions = readings.at(j).ions;
        if (j != self && (ions[std::size_t(pair.cation)] > 0 || ions[std::size_t(pair.anion)] > 0))
            out.append(fertilizers.at(j).name);
    }
    return out;
}

// Findings of one tank that only its whole make-up shows: calcium with sulphate or phosphate,
// acid with chelates, and the meetings the ion-product rule cannot see.
void meetingWarnings(Tank which, const QList<qsizetype> &members, const QList<Fertilizer> &fertilizers,
                     const QList<Reading> &readings, QStringList &warnings)
{
    QStringList calcium, precipitant, acids, chelates;
    for (const qsizetype i : members) {
        const Fertilizer &f = fertilizers.at(i);
        if (brings(f.composition, Calcium))
            calcium.append(f.name);
        if (bringsPhosphorusOrSulphur(f.composition))
            precipitant.append(f.name);
        if (f.acid)
            acids.append(f.name);
        else if (isChelate(readings.at(i).ions))
            chelates.append(f.name);
    }
    const QString comma = QStringLiteral(", ");
    if (!calcium.isEmpty() && !precipitant.isEmpty()) {
        warnings.append(QStringLiteral("В баке %1 кальций (%2) встречается с серой или фосфором (%3): "
                                       "выпадет осадок (гипс, фосфат кальция).")
                            .arg(tankName(which), calcium.join(comma), precipitant.join(comma)));
    }
    if (!acids.isEmpty() && !chelates.isEmpty()) {
        warnings.append(QStringLiteral("В баке %1 кислота (%2) вместе с хелатами (%3): в крепкой "
                                       "кислоте хелаты разрушаются и железо выпадает. Кислоту "
                                       "дозируйте из своего бака.")
                            .arg(tankName(which), acids.join(comma), chelates.join(comma)));
    }
    for (qsizetype a = 0; a < members.size(); ++a) {
        const Reading &first = readings.at(members.at(a));
        for (qsizetype b = a + 1; b < members.size() && first.pair; ++b) {
            const Reading &second = readings.at(members.at(b));
            if (!second.pair)
                continue;
            if (const auto text = unseenMeeting(*first.pair, fertilizers.at(members.at(a)).name,
                                                *second.pair, fertilizers.at(members.at(b)).name))
                warnings.append(QStringLiteral("В баке %1: %2").arg(tankName(which), *text));
        }
    }
}

} // namespace

SolubilityCurve Fertilizer::curve() const
{
    return {{solubility0, solubility10, solubility, solubility30, solubility40}};
}

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
    if (onlyMicroElements(composition, {Iron}))
        return Tank::A;
    if (onlyMicroElements(composition, MicroElements) || brings(composition, QStringLiteral("Mo"))
        || brings(composition, QStringLiteral("B")))
        return Tank::B;
    if (brings(composition, Iron))
        return Tank::A;
    return std::nullopt;
}

Plan plan(const QList<Fertilizer> &recipe, int factor, double litres, QChar decimalSeparator,
          double temperature)
{
    Plan result;
    result.factor = factor;
    result.litres = litres;
    result.temperature = temperature;
    const QList<Fertilizer> fertilizers = merged(recipe);
    const QList<Tank> tankOf = tanksOf(fertilizers);
    QList<Reading> readings;
    for (const Fertilizer &f : fertilizers) {
        Reading r;
        r.ions = ionsPerGram(f.composition, f.nitrogen);
        r.pair = saltPairOf(r.ions);
        r.solubility = solubilityAt(f.curve(), temperature);
        readings.append(r);
    }
    const Warnings say(result, decimalSeparator);

    QStringList solubility;
    QStringList unmeasured;
    Ext costPer1000 = 0;
    for (const Tank which : {Tank::A, Tank::B, Tank::Acid, Tank::Separate}) {
        TankContents contents;
        contents.tank = which;
        // In the recipe's order, as the grower wrote it.
        QList<qsizetype> members;
        for (qsizetype i = 0; i < fertilizers.size(); ++i) {
            if (tankOf.at(i) == which)
                members.append(i);
        }
        if (members.isEmpty())
            continue; // an empty tank is not shown
        // What shares the water of one tank: the whole of it; each separate one alone.
        Ext tankAmount = 0;
        Chemistry::Totals tankIons{};
        for (const qsizetype i : members) {
            tankAmount += fertilizers.at(i).amount;
            for (std::size_t c = 0; c < tankIons.size(); ++c)
                tankIons[c] += fertilizers.at(i).amount * readings.at(i).ions[c];
        }
        Ext grams = 0;
        Ext perLitreSum = 0;
        Ext cost = 0;
        for (const qsizetype i : members) {
            const Fertilizer &f = fertilizers.at(i);
            const Reading &r = readings.at(i);
            Line line = lineOf(f, factor, litres);
            grams += line.grams;
            perLitreSum += line.gramsPerLitre;
            if (line.cost)
                cost += *line.cost;
            else
                contents.unpriced.append(f.name);
            if (r.solubility) {
                const Solubility &s = *r.solubility;
                const bool alone = which == Tank::Separate;
                const double shared = alone ? f.amount : static_cast<double>(tankAmount);
                Judgement j;
                j.perWater = perLitreOfWater(line.gramsPerLitre, perLitre(shared, factor));
                j.effective = f.amount;
                if (r.pair && !alone) {
                    j.effective = f.amount * sharedFactor(*r.pair, r.ions, f.amount, tankIons);
                    j.sharing = sharingWith(i, *r.pair, members, fertilizers, readings);
                }
                line.solubilityPercent = percentOf(j.perWater, s.grams);
                const double sharedPerWater =
                    j.effective == f.amount
                        ? j.perWater
                        : perLitreOfWater(perLitre(j.effective, factor), perLitre(shared, factor));
                line.sharedPercent = std::max(*line.solubilityPercent, percentOf(sharedPerWater, s.grams));
                line.overSolubility = j.perWater > s.grams;
                if (line.overSolubility)
                    solubility.append(say.overSolubility(f, line, which, shared, s, j));
                else if (*line.sharedPercent > SharedIonWarningPercent)
                    solubility.append(say.nearSaturation(f, line, which, shared, s, j));
                if (!s.measured)
                    unmeasured.append(say.unmeasured(f, s));
            }
            contents.lines.append(line);
        }
        contents.grams = static_cast<double>(grams);
        contents.gramsPerLitre = static_cast<double>(perLitreSum);
        contents.cost = static_cast<double>(cost);
        // Each fertilizer of the separate list has a tank of its own: nothing meets there.
        if (which != Tank::Separate)
            meetingWarnings(which, members, fertilizers, readings, result.warnings);
        result.tanks.append(contents);
    }
    result.warnings.append(solubility);
    result.warnings.append(unmeasured);

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
    return fittingFactor(amount, solubility, std::max(tankAmount, amount));
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
    case Tank::Acid:
        return QStringLiteral("Кислота");
    case Tank::Separate:
        break;
    }
    return QStringLiteral("отдельно");
}

} // namespace Stock
