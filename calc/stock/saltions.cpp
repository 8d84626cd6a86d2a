#include "saltions.h"

#include "calc/chemistry/ionmakeup.h"
#include "data/apperror.h"

#include <cmath>
#include <numeric>

namespace Stock {

using Chemistry::Component;
using Chemistry::at;

namespace {

// The charge of each ion a salt of the rule is made of; 0: none (iron is chelated, boric acid,
// urea and silicic acid are neutral).
int chargeOf(Component c)
{
    switch (c) {
    case Component::Ammonium:
    case Component::Potassium:
    case Component::Sodium:
        return 1;
    case Component::Calcium:
    case Component::Magnesium:
    case Component::Manganese:
    case Component::Zinc:
    case Component::Copper:
        return 2;
    case Component::Nitrate:
    case Component::Chloride:
    case Component::Carbonate: // as HCO3-
        return -1;
    case Component::Sulphate:
    case Component::Molybdate:
        return -2;
    case Component::Phosphate:
        return -1; // by the balance, see phosphateCharge
    default:
        return 0;
    }
}

// What the cations leave of charge for each phosphate, rounded to one of its anions' charges.
int phosphateCharge(const IonsPerGram &ions)
{
    double left = 0;
    for (std::size_t i = 0; i < ions.size(); ++i) {
        const Component c = Component(i);
        if (c != Component::Phosphate)
            left += chargeOf(c) * ions[i];
    }
    const double phosphate = at(ions, Component::Phosphate);
    return -std::clamp(int(std::lround(left / phosphate)), 1, 3);
}

int charge(Component c, const IonsPerGram &ions)
{
    return c == Component::Phosphate ? phosphateCharge(ions) : chargeOf(c);
}

bool pairIs(const SaltPair &p, Component cation, std::initializer_list<Component> anions)
{
    return p.cation == cation && std::find(anions.begin(), anions.end(), p.anion) != anions.end();
}

struct Meeting
{
    Component cation1;
    std::initializer_list<Component> anions1;
    Component cation2;
    std::initializer_list<Component> anions2;
    const char *what;
};

// Measured ternary systems where the ion product misleads: a double salt crystallises, or the
// ions trade partners and a less soluble salt comes out.
const Meeting Meetings[] = {
    {Component::Potassium, {Component::Nitrate}, Component::Calcium, {Component::Nitrate},
     "у насыщения кристаллизуется двойная соль KNO3·Ca(NO3)2·3H2O"},
    {Component::Potassium, {Component::Sulphate}, Component::Magnesium, {Component::Sulphate},
     "у насыщения кристаллизуется двойная соль K2SO4·MgSO4·6H2O"},
    {Component::Ammonium, {Component::Sulphate}, Component::Potassium,
     {Component::Nitrate, Component::Chloride},
     "ионы меняются местами и выпадает малорастворимый сульфат калия"},
    {Component::Ammonium, {Component::Phosphate}, Component::Potassium, {Component::Nitrate},
     "растворимость моноаммонийфосфата падает примерно на пятую часть"},
};

} // namespace

IonsPerGram ionsPerGram(const QList<CompositionRow> &composition, Chemistry::NitrogenForm plainNitrogen)
{
    Chemistry::Fertilizer f;
    f.grams = 1;
    f.nitrogen = plainNitrogen;
    for (const CompositionRow &row : composition) {
        f.composition.append({row.symbol, double(row.percent), row.yieldedSymbol,
                              double(row.factor)});
    }
    try {
        return Chemistry::recipeTotals({{f}, {}}).totals;
    } catch (const AppError &) {
        // A percentage that is no number or below 0 dissolves into nothing the rule can read.
        return {};
    }
}

std::optional<SaltPair> saltPairOf(const IonsPerGram &ions)
{
    std::optional<Component> cation, anion;
    double cationCharge = 0, anionCharge = 0;
    for (std::size_t i = 0; i < ions.size(); ++i) {
        const Component c = Component(i);
        if (!(ions[i] > 0) || !std::isfinite(ions[i]))
            continue;
        const int z = charge(c, ions);
        const double carried = std::abs(z) * ions[i];
        if (z > 0 && carried > cationCharge) {
            cation = c;
            cationCharge = carried;
        } else if (z < 0 && carried > anionCharge) {
            anion = c;
            anionCharge = carried;
        }
    }
    if (!cation || !anion)
        return std::nullopt;
    const int zc = charge(*cation, ions);
    const int za = -charge(*anion, ions);
    const int common = std::gcd(zc, za);
    return SaltPair{*cation, *anion, za / common, zc / common};
}

double sharedFactor(const SaltPair &pair, const IonsPerGram &own, double amount,
                    const Chemistry::Totals &tank)
{
    // The ratio of what the water holds of each ion to what the salt brings of it alone; the
    // product's root of degree x + y turns it back into an amount of the salt.
    const double cation = at(tank, pair.cation) / (amount * at(own, pair.cation));
    const double anion = at(tank, pair.anion) / (amount * at(own, pair.anion));
    if (cation == 1 && anion == 1)
        return 1;
    return std::pow(std::pow(cation, pair.x) * std::pow(anion, pair.y), 1.0 / (pair.x + pair.y));
}

bool isChelate(const IonsPerGram &ions)
{
    return at(ions, Component::Iron) > 0 && !(at(ions, Component::Sulphate) > 0)
           && !(at(ions, Component::Phosphate) > 0) && !(at(ions, Component::Chloride) > 0);
}

std::optional<QString> unseenMeeting(const SaltPair &first, const QString &firstName,
                                     const SaltPair &second, const QString &secondName)
{
    for (const Meeting &m : Meetings) {
        const bool forward = pairIs(first, m.cation1, m.anions1) && pairIs(second, m.cation2, m.anions2);
        const bool backward = pairIs(second, m.cation1, m.anions1) && pairIs(first, m.cation2, m.anions2);
        if (forward || backward) {
            return QStringLiteral("%1 и %2: %3 — правило общих ионов этого не видит.")
                .arg(firstName, secondName, QString::fromUtf8(m.what));
        }
    }
    return std::nullopt;
}

} // namespace Stock
