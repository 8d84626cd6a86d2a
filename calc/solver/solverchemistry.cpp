#include "solverchemistry.h"

#include "solverdefaults.h"

#include "calc/chemistry/analysis.h"
#include "calc/chemistry/targetbalance.h"
#include "data/apperror.h"
#include "data/textconv.h"

#include <cmath>

namespace SolverChemistry {

namespace {

using namespace Chemistry;

// Rounded targets miss a balance by this much (the core's own rule).
constexpr double BalancedMeq = 0.2;
constexpr double BalancedShare = 0.02;

Fertilizer chemistryOf(const SolverProblem::Fertilizer &f, double grams)
{
    Fertilizer out;
    out.name = f.name;
    out.grams = grams;
    out.nitrogen = f.nitrogen;
    for (const CompositionRow &row : f.composition)
        out.composition.append({row.symbol, double(row.percent), row.yieldedSymbol, double(row.factor)});
    return out;
}

Nitrogen nitrogenIn(const Totals &totals)
{
    const double n = componentData(Component::Ammonium).atomicMass;
    return {at(totals, Component::Ammonium) * n,
            (at(totals, Component::Ammonium) + at(totals, Component::Nitrate)
             + at(totals, Component::Urea)) * n};
}

QString fixed(double value, int places, QChar separator)
{
    QString text = QString::number(value, 'f', places);
    text.replace(QLatin1Char('.'), separator);
    return text;
}

Balance balanceAt(const CropTargets &targets)
{
    return targetBalance(targets).balance;
}

double gapOf(const Balance &b, double acidMeq)
{
    const double d = b.difference + acidMeq;
    const double allowed = std::max(BalancedMeq, BalancedShare * std::max(b.cations, b.anions));
    return std::abs(d) <= allowed ? 0 : d;
}

} // namespace

Nitrogen nitrogenOf(const SolverProblem::Fertilizer &fertilizer)
{
    Recipe recipe;
    recipe.fertilizers.append(chemistryOf(fertilizer, 1));
    return nitrogenIn(recipeTotals(recipe).totals);
}

Nitrogen nitrogenOf(const Water &water)
{
    Recipe recipe;
    recipe.water = water;
    return nitrogenIn(recipeTotals(recipe).water);
}

Reading readingOf(const SolverProblem &problem, const QList<double> &amounts)
{
    Recipe recipe;
    recipe.water = problem.water;
    for (int f = 0; f < problem.fertilizers.size() && f < amounts.size(); ++f) {
        if (amounts.at(f) > 0)
            recipe.fertilizers.append(chemistryOf(problem.fertilizers.at(f), amounts.at(f)));
    }
    try {
        const Analysis a = analyse(recipe);
        const double ec = a.solution.conductivity.ec;
        return {std::isfinite(ec) ? std::optional(ec) : std::nullopt, a.ratios.ammoniumShare};
    } catch (const AppError &) {
        return {};
    }
}

double alkalinityOf(const SolverProblem &problem)
{
    return alkalinityToMeq(problem.water.hco3, AlkalinityUnit::Hco3);
}

AcidDose doseOf(const SolverProblem &problem, int acid)
{
    const AcidProduct &product = *problem.fertilizers.at(acid).acid;
    std::optional<double> most;
    if (product.kind == AcidKind::Phosphoric) {
        for (const SolverProblem::Element &e : problem.elements) {
            if (e.name.trimmed() == QLatin1String("P") && e.mode != ElementMode::Ignore)
                most = std::max(0.0, e.target(problem.stage) - e.water);
        }
    }
    return acidDose(product, alkalinityOf(problem), problem.water.ph, problem.targetPh, most);
}

std::optional<double> imbalanceOf(const SolverProblem &problem, double acidMeq)
{
    CropTargets targets;
    targets.ph = problem.targetPh;
    for (const SolverProblem::Element &e : problem.elements) {
        const double target = e.target(problem.stage);
        if (e.mode == ElementMode::Ignore || !(target > 0))
            continue;
        targets.elements.append({e.name, std::max(0.0, target - e.water), {}, 0});
    }
    // Ammonium anywhere from none to the share allowed: the targets are reachable when some
    // share within it balances them.
    targets.ammoniumShare = 0;
    const double none = gapOf(balanceAt(targets), acidMeq);
    if (none == 0)
        return std::nullopt;
    targets.ammoniumShare = problem.ammoniumShare.value_or(100);
    const double most = gapOf(balanceAt(targets), acidMeq);
    if (most == 0 || (none > 0) != (most > 0))
        return std::nullopt;
    return std::abs(none) < std::abs(most) ? none : most;
}

QString imbalanceText(double meq, QChar decimalSeparator)
{
    const QString gap = fixed(std::abs(meq), 1, decimalSeparator);
    if (meq > 0)
        return QStringLiteral("Цели не сбалансированы: катионов больше, чем анионов, на %1 мг-экв/л; "
                              "такую смесь солей составить нельзя. Поставьте Ca или Mg в режим "
                              "«Не больше» или добавьте хлорид/сульфат.").arg(gap);
    return QStringLiteral("Цели не сбалансированы: анионов больше, чем катионов, на %1 мг-экв/л; "
                          "такую смесь солей составить нельзя. Поставьте N или S в режим "
                          "«Не больше» или добавьте калий/кальций.").arg(gap);
}

double millimolesOf(const SolverProblem::Element &element)
{
    const std::optional<Component> c = componentOf(element.name, Chemistry::NitrogenForm::Nitrate);
    return c ? element.water / componentData(*c).atomicMass : 0;
}

QList<int> salineOf(const SolverProblem &problem)
{
    QList<int> out;
    for (int i = 0; i < problem.elements.size(); ++i) {
        const SolverProblem::Element &e = problem.elements.at(i);
        const QString s = e.name.trimmed();
        const double limit = s == QLatin1String("Na") ? SolverDefaults::SodiumLimit
                             : s == QLatin1String("Cl") ? SolverDefaults::ChlorideLimit
                                                         : 0;
        if (limit > 0 && millimolesOf(e) > limit)
            out.append(i);
    }
    return out;
}

QString notesText(const SolverProblem &problem, const SolverResult &result, QChar sep)
{
    QString text;
    if (result.imbalance)
        text += QLatin1Char(' ') + imbalanceText(*result.imbalance, sep);
    if (result.status == SolverResult::Status::Solved) {
        if (result.acid && result.acidDose) {
            const AcidDose &d = *result.acidDose;
            text += QStringLiteral(" «%1» по щёлочности воды: %2 мл на 1000 л, %3 мг/л %4, pH %5%6.")
                        .arg(problem.fertilizers.at(*result.acid).name, fixed(d.mlPer1000Litres, 0, sep),
                             fixed(d.elementMg, 1, sep), d.element, fixed(d.ph, 1, sep),
                             d.limited ? QStringLiteral(" (больше не позволяет цель по P)") : QString());
        }
        if (problem.byEc && problem.ec && result.ec) {
            text += result.ecMissed
                        ? QStringLiteral(" EC %1 мСм/см не достигнута: %2.")
                              .arg(fixed(*problem.ec, 2, sep), fixed(*result.ec, 2, sep))
                        : QStringLiteral(" По EC %1 мСм/см: цели ×%2.")
                              .arg(fixed(*problem.ec, 2, sep), fixed(result.scale, 3, sep));
        }
    }
    for (int i : result.saline) {
        const SolverProblem::Element &e = problem.elements.at(i);
        const bool sodium = e.name.trimmed() == QLatin1String("Na");
        text += QStringLiteral(" В воде %1 %2 ммоль/л: больше %3 ммоль/л, раствор будет засоляться.")
                    .arg(e.name.trimmed(), fixed(millimolesOf(e), 1, sep),
                         fixed(sodium ? SolverDefaults::SodiumLimit : SolverDefaults::ChlorideLimit, 0, sep));
    }
    return text;
}

} // namespace SolverChemistry
