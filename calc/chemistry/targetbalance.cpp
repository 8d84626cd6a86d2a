#include "targetbalance.h"

#include "equilibrium.h"
#include "inputcheck.h"

#include <cmath>

namespace Chemistry {

namespace {

constexpr double BalancedMeq = 0.2;
constexpr double BalancedShare = 0.02;

double atomicMass(Component c)
{
    return componentData(c).atomicMass;
}

// A figure as a grower reads it: fewer places as it grows.
QString figure(double value, QChar separator, int places)
{
    QString text = QString::number(value, 'f', places);
    text.replace(QLatin1Char('.'), separator);
    return text;
}

QString milligrams(double mg, QChar separator)
{
    return figure(mg, separator, mg >= 10 ? 0 : mg >= 1 ? 1 : 2);
}

} // namespace

TargetBalance targetBalance(const CropTargets &targets)
{
    if (targets.ammoniumShare)
        requireWithin(*targets.ammoniumShare, 0, 100, QStringLiteral("Доля аммония, %"));
    requireWithin(targets.ph, 0, 14, QStringLiteral("pH целей"));
    TargetBalance result;
    Totals totals{};
    double plainN = 0;
    double ammoniumLines = 0;
    bool ammoniumStated = false;
    for (const ElementLine &line : targets.elements) {
        const QString symbol = line.symbol.trimmed();
        requireLine(line, QStringLiteral("Цель %1").arg(symbol), QStringLiteral("мг/л"));
        if (symbol == QLatin1String("N")) {
            plainN += line.amount;
            continue;
        }
        const LineMapping m = mappingOf(line, NitrogenForm::Nitrate);
        if (!m.component) {
            result.unmapped.append({symbol, QStringLiteral("Цели"), line.amount});
            continue;
        }
        const Component c = *m.component;
        const double mg = formMilligrams(line, m);
        if (c == Component::Ammonium) {
            ammoniumLines += mg;
            ammoniumStated = true;
        }
        at(totals, c) += mg / atomicMass(c);
    }
    if (plainN > 0) {
        const double ammonium = ammoniumStated ? ammoniumLines
                                               : plainN * targets.ammoniumShare.value_or(0) / 100;
        at(totals, Component::Ammonium) = ammonium / atomicMass(Component::Ammonium);
        at(totals, Component::Nitrate) = std::max(0.0, plainN - ammonium) / atomicMass(Component::Nitrate);
    }

    result.species = speciesAt(totals, targets.ph);
    result.ions = ionRows(result.species);
    result.balance = balanceOf(result.species);
    const Balance &b = result.balance;
    const double gap = std::abs(b.difference);
    result.balanced = gap <= std::max(BalancedMeq, BalancedShare * std::max(b.cations, b.anions));
    if (result.balanced)
        return result;
    if (b.difference > 0) {
        result.sulphateS = gap / 2 * atomicMass(Component::Sulphate);
        result.chlorideCl = gap * atomicMass(Component::Chloride);
        return result;
    }
    // Each mmol of N moved from nitrate to ammonium turns one anion into one cation.
    const double moved = gap / 2;
    const double nitrate = at(totals, Component::Nitrate);
    if (moved <= nitrate) {
        const double nitrogen = nitrate + at(totals, Component::Ammonium) + at(totals, Component::Urea);
        result.ammoniumN = moved * atomicMass(Component::Ammonium);
        result.ammoniumShareAfter = (at(totals, Component::Ammonium) + moved) / nitrogen * 100;
    }
    result.potassiumK = gap * atomicMass(Component::Potassium);
    result.calciumCa = gap / 2 * atomicMass(Component::Calcium);
    return result;
}

QString targetBalanceText(const TargetBalance &balance, QChar separator)
{
    const Balance &b = balance.balance;
    if (balance.balanced)
        return QStringLiteral("Цели сбалансированы: катионы %1 мг-экв/л, анионы %2 мг-экв/л.")
            .arg(figure(b.cations, separator, 1), figure(b.anions, separator, 1));
    const QString gap = figure(std::abs(b.difference), separator, 1);
    const QString opening = QStringLiteral("Цели не сбалансированы: %1 больше, чем %2, на %3 мг-экв/л; "
                                           "такие цели не даст никакая смесь солей. ");
    if (b.difference > 0)
        return opening.arg(QStringLiteral("катионов"), QStringLiteral("анионов"), gap)
               + QStringLiteral("Разницу закроет анион: ещё %1 мг/л S в виде сульфата или %2 мг/л Cl в виде хлорида.")
                     .arg(milligrams(balance.sulphateS, separator), milligrams(balance.chlorideCl, separator));
    const QString cation = QStringLiteral("ещё %1 мг/л K или %2 мг/л Ca")
                               .arg(milligrams(balance.potassiumK, separator),
                                    milligrams(balance.calciumCa, separator));
    QString closing;
    if (balance.ammoniumN)
        closing = QStringLiteral("Разницу закроет аммоний: %1 мг/л N в аммонийной форме вместо нитратной "
                                 "(%2 % азота), или катион: %3.")
                      .arg(milligrams(*balance.ammoniumN, separator),
                           figure(balance.ammoniumShareAfter, separator, 0), cation);
    else
        closing = QStringLiteral("Разницу закроет катион: %1.").arg(cation);
    return opening.arg(QStringLiteral("анионов"), QStringLiteral("катионов"), gap) + closing;
}

} // namespace Chemistry
