#include "compositionsolver.h"

#include "calc/run/numbers.h"
#include "linearprogramme.h"

#include "data/apperror.h"
#include "data/textconv.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Conflict = SolverResult::Conflict;

// Weight of 1 g/L in the objective. A relative deviation of 0.001 % outweighs it, so it only
// chooses among answers that are equally close, in favour of the lightest.
constexpr double LightnessWeight = 1e-5;

// Beyond these no real fertilizer or solution lies: 1 g/L of a pure element brings 1000 mg/L,
// the target editors stop at 1e15, and the least percentage (0.0001 %) through a factor brings
// far more than MinFigure. Figures outside are refused before GLPK, whose scaling fails on a
// matrix of such spread.
constexpr double MaxEntry = 1e6;
constexpr double MaxConcentration = 1e15;
constexpr double MinFigure = 1e-9;

bool outOfScale(double v, double most)
{
    return !std::isfinite(v) || std::abs(v) > most || (v != 0 && std::abs(v) < MinFigure);
}

void checkElement(const SolverProblem::Element &e, QChar decimalSeparator)
{
    for (double v : {e.vega, e.cvet, e.water}) {
        if (outOfScale(v, MaxConcentration)) {
            throw AppError(QStringLiteral("Элемент «%1»: значение %2 мг/л не годится для подбора")
                               .arg(e.name, formatGeneral(v, decimalSeparator)));
        }
    }
}

double unit(int decimals)
{
    return std::pow(10.0, -decimals);
}

// The problem as a linear programme. Columns: the amounts x_f, then for each "Цель" element the
// deviations above and below its target. Rows: one per element that takes part, holding the
// mg/L the fertilizers add, so that water + row lies on the target (with the deviations) or
// within its bound. The bounds that may contradict each other can be left out one by one, to
// find which of them do.
class Model
{
public:
    explicit Model(const SolverProblem &problem) : m_problem(problem)
    {
        const auto &fertilizers = problem.fertilizers;
        for (const SolverProblem::Fertilizer &f : fertilizers) {
            // A kept amount must be one the composition could store; a bound must be a number.
            const bool keptOutside = f.fixed && !(f.current >= 0 && f.current <= MaxAmount);
            if (keptOutside || (f.atMost && std::isnan(*f.atMost))) {
                throw AppError(QStringLiteral("Удобрение «%1»: количество %2 г/л не годится для подбора")
                                   .arg(f.name, formatGeneral(keptOutside ? f.current : *f.atMost,
                                                            problem.decimalSeparator)));
            }
        }
        for (const SolverProblem::Element &e : problem.elements) {
            checkElement(e, problem.decimalSeparator);
            QList<double> row;
            bool carried = false;
            for (const SolverProblem::Fertilizer &f : fertilizers) {
                // mg/L of 1 g/L: the run's own contribution function, summed over the rows.
                Ext sum = 0;
                for (const CompositionRow &c : f.composition) {
                    if (const auto added = contribution(c, e.id, 1))
                        sum += *added;
                }
                const double entry = double(sum);
                if (outOfScale(entry, MaxEntry)) {
                    throw AppError(
                        QStringLiteral("Удобрение «%1»: состав даёт %2 мг/л элемента «%3» на 1 г/л, "
                                       "такое удобрение не годится для подбора")
                            .arg(f.name, formatGeneral(entry, problem.decimalSeparator), e.name));
                }
                row.append(entry);
                carried = carried || entry != 0;
            }
            m_matrix.append(row);
            const bool asked = e.mode != ElementMode::Ignore;
            m_takesPart.append(asked && carried);
            if (asked && !carried)
                m_uncarried.append(int(m_matrix.size()) - 1);
        }
        for (int i = 0; i < problem.elements.size(); ++i) {
            if (!m_takesPart.at(i))
                continue;
            const SolverProblem::Element &e = problem.elements.at(i);
            if (e.mode == ElementMode::AtLeast) {
                m_constraints.append({Conflict::Kind::AtLeast, i});
            } else if (e.mode == ElementMode::AtMost) {
                // The water alone passes it: no amounts can hold it, so it is no constraint.
                if (e.water > e.target(problem.stage))
                    m_overWatered.append(i);
                else
                    m_constraints.append({Conflict::Kind::AtMost, i});
            }
        }
        for (int f = 0; f < fertilizers.size(); ++f) {
            if (fertilizers.at(f).fixed)
                m_constraints.append({Conflict::Kind::Fixed, f});
            if (fertilizers.at(f).atMost)
                m_constraints.append({Conflict::Kind::AmountAtMost, f});
        }
    }

    const QList<Conflict> &constraints() const { return m_constraints; }
    const QList<int> &uncarried() const { return m_uncarried; }
    const QList<int> &overWatered() const { return m_overWatered; }
    bool anyTakesPart() const { return m_takesPart.contains(true); }

    // The optimum under the enabled constraints, or why there is none. With margins, each
    // bound on an element is tightened by what rounding the amounts and the concentrations
    // may move it, so that it holds in the figures the run computes.
    LinearProgramme::Solution optimum(const QList<Conflict> &enabled, bool margins) const
    {
        LinearProgramme::Solution s = build(enabled, margins, true).solve();
        s.columns = s.columns.mid(0, m_problem.fertilizers.size());
        return s;
    }

    // A set of constraints that cannot hold together and holds without any one of them:
    // each constraint is left out in turn and stays out when the rest still contradict.
    QList<Conflict> irreducible() const
    {
        QList<Conflict> set = m_constraints;
        for (const Conflict &c : m_constraints) {
            QList<Conflict> trial = set;
            trial.removeOne(c);
            // A trial without an answer proves nothing: the constraint stays in the set.
            if (build(trial, false, false).solve().outcome == LinearProgramme::Outcome::Infeasible)
                set = trial;
        }
        return set;
    }

private:
    LinearProgramme build(const QList<Conflict> &enabled, bool margins, bool objective) const
    {
        const auto &fertilizers = m_problem.fertilizers;
        LinearProgramme lp;
        for (int f = 0; f < fertilizers.size(); ++f) {
            const SolverProblem::Fertilizer &fert = fertilizers.at(f);
            double lower = 0;
            double upper = MaxAmount;
            if (enabled.contains(Conflict{Conflict::Kind::Fixed, f}))
                lower = upper = fert.current;
            if (enabled.contains(Conflict{Conflict::Kind::AmountAtMost, f}))
                upper = std::min(upper, *fert.atMost);
            lp.addColumn(lower, upper, objective && !fert.fixed ? LightnessWeight : 0);
        }
        for (int i = 0; i < m_problem.elements.size(); ++i) {
            if (!m_takesPart.at(i))
                continue;
            const SolverProblem::Element &e = m_problem.elements.at(i);
            const double need = e.target(m_problem.stage) - e.water;
            const double margin = margins ? roundingMargin(i) : 0;
            int row = -1;
            if (e.mode == ElementMode::Target && objective) {
                row = lp.addRow(need, need);
                // A target of 0 has no relative deviation: its mg/L count as they are.
                const double target = e.target(m_problem.stage);
                const double weight = target > 0 ? 1 / target : 1;
                lp.setEntry(row, lp.addColumn(0, LinearProgramme::Infinity, weight), -1);
                lp.setEntry(row, lp.addColumn(0, LinearProgramme::Infinity, weight), 1);
            } else if (e.mode == ElementMode::AtLeast
                       && enabled.contains(Conflict{Conflict::Kind::AtLeast, i})) {
                row = lp.addRow(need + margin, LinearProgramme::Infinity);
            } else if (e.mode == ElementMode::AtMost
                       && enabled.contains(Conflict{Conflict::Kind::AtMost, i})) {
                row = lp.addRow(-LinearProgramme::Infinity, need - margin);
            } else if (objective && m_overWatered.contains(i)) {
                // As little more of it as the rest allows: what the fertilizers add is a
                // deviation, weighted like a target's.
                const double target = e.target(m_problem.stage);
                row = lp.addRow(-LinearProgramme::Infinity, 0);
                lp.setEntry(row, lp.addColumn(0, LinearProgramme::Infinity,
                                              target > 0 ? 1 / target : 1), -1);
            }
            if (row < 0)
                continue;
            for (int f = 0; f < fertilizers.size(); ++f)
                lp.setEntry(row, f, m_matrix.at(i).at(f));
        }
        return lp;
    }

    // How far rounding may move an element's concentration: each free amount by one unit of
    // its last decimal, the stored concentration by half a unit of its fourth.
    double roundingMargin(int element) const
    {
        double spread = 0;
        for (int f = 0; f < m_problem.fertilizers.size(); ++f) {
            if (!m_problem.fertilizers.at(f).fixed)
                spread += std::abs(m_matrix.at(element).at(f));
        }
        return spread * unit(AmountDecimals) + unit(Concentration::Decimals);
    }

    const SolverProblem &m_problem;
    QList<QList<double>> m_matrix; // mg/L per g/L, [element][fertilizer]
    QList<bool> m_takesPart;
    QList<int> m_uncarried;
    QList<int> m_overWatered; // "Не больше" elements the water alone passes
    QList<Conflict> m_constraints;
};

bool breaksMode(ElementMode mode, double deviation)
{
    switch (mode) {
    case ElementMode::Target:
        return std::abs(deviation) > DeviationTolerance;
    case ElementMode::AtLeast:
        return deviation < -DeviationTolerance;
    case ElementMode::AtMost:
        return deviation > DeviationTolerance;
    case ElementMode::Ignore:
        break;
    }
    return false;
}

} // namespace

ElementMode SolverProblem::defaultMode(double target)
{
    return target > 0 ? ElementMode::Target : ElementMode::Ignore;
}

SolverResult solveComposition(const SolverProblem &problem)
{
    const Model model(problem);
    SolverResult none;
    none.uncarried = model.uncarried();
    if (!model.anyTakesPart()) {
        none.status = SolverResult::Status::NothingAsked;
        return none;
    }
    LinearProgramme::Solution x = model.optimum(model.constraints(), true);
    // Bounds met only exactly at their value leave no room for the rounding margin; such an
    // answer may pass a bound by what rounding moves, far below a milligram.
    if (!x.feasible())
        x = model.optimum(model.constraints(), false);
    if (x.outcome == LinearProgramme::Outcome::NoAnswer) {
        none.status = SolverResult::Status::NoAnswer;
        return none;
    }
    if (x.outcome == LinearProgramme::Outcome::Infeasible) {
        none.status = SolverResult::Status::Contradiction;
        none.conflicts = model.irreducible();
        return none;
    }
    QList<double> amounts;
    QList<int> atMaxAmount;
    for (int f = 0; f < problem.fertilizers.size(); ++f) {
        const SolverProblem::Fertilizer &fert = problem.fertilizers.at(f);
        double amount = fert.fixed ? fert.current
                                   : std::max(0.0, RoundDecimals(x.columns.at(f), AmountDecimals));
        // Rounding never carries an amount past the grower's own bound, nor past what the
        // composition stores; the step down is rounded again, so it is the figure shown.
        const double top = fert.atMost ? std::min(*fert.atMost, MaxAmount) : MaxAmount;
        if (!fert.fixed && amount > top)
            amount = std::max(0.0, RoundDecimals(amount - unit(AmountDecimals), AmountDecimals));
        if (!fert.fixed && (!fert.atMost || *fert.atMost > MaxAmount)
            && amount >= MaxAmount - unit(AmountDecimals))
            atMaxAmount.append(f);
        amounts.append(amount);
    }
    SolverResult r = predictComposition(problem, amounts);
    r.uncarried = model.uncarried();
    r.atMaxAmount = atMaxAmount;
    // Where the bounds leave no room for rounding, the rounded amounts may miss one by a trace;
    // the answer says so rather than claiming the bound.
    // A bound on an element no fertilizer carries rests on the water alone, and a "Не больше"
    // the water passes cannot hold whatever the amounts.
    for (int i = 0; i < problem.elements.size(); ++i) {
        const SolverProblem::Element &e = problem.elements.at(i);
        SolverResult::Element &out = r.elements[i];
        const double bound = e.target(problem.stage);
        if ((e.mode == ElementMode::AtLeast && out.result < bound)
            || (e.mode == ElementMode::AtMost && out.result > bound)) {
            const bool water = model.uncarried().contains(i) || model.overWatered().contains(i);
            (water ? r.unmet : r.missedByRounding).append(i);
            out.warning = true;
        }
    }
    return r;
}

SolverResult predictComposition(const SolverProblem &problem, const QList<double> &amounts)
{
    if (amounts.size() != problem.fertilizers.size()) {
        throw AppError(QStringLiteral("Подбор: %1 количеств для %2 удобрений")
                           .arg(amounts.size())
                           .arg(problem.fertilizers.size()));
    }
    QList<Concentration::Fertilizer> recipe;
    for (int f = 0; f < problem.fertilizers.size(); ++f) {
        const SolverProblem::Fertilizer &fert = problem.fertilizers.at(f);
        recipe.append({amounts.at(f), fert.ppm, fert.composition});
    }
    QList<Concentration::Target> targets;
    for (const SolverProblem::Element &e : problem.elements)
        targets.append({e.id, e.vega, e.cvet});
    const Concentration::Result run =
        Concentration::run(recipe, targets, problem.percentage, problem.options);

    SolverResult r;
    r.amounts = amounts;
    r.totals = run.totals;
    for (int i = 0; i < problem.elements.size(); ++i) {
        const SolverProblem::Element &e = problem.elements.at(i);
        SolverResult::Element out;
        out.target = e.target(problem.stage);
        out.water = e.water;
        out.fertilizers = run.concentrations.at(i);
        out.result = out.water + out.fertilizers;
        if (out.target > 0) {
            out.deviation = (out.result - out.target) / out.target * 100;
            out.warning = breaksMode(e.mode, *out.deviation);
        }
        r.elements.append(out);
    }
    return r;
}
