#include "compositionsolver.h"

#include "calc/run/derivedvalues.h"
#include "calc/run/numbers.h"
#include "linearprogramme.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Conflict = SolverResult::Conflict;

// Weight of 1 g/L in the objective. A relative deviation of 0.001 % outweighs it, so it only
// chooses among answers that are equally close, in favour of the lightest.
constexpr double LightnessWeight = 1e-5;

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
        for (const SolverProblem::Element &e : problem.elements) {
            QList<double> row;
            bool carried = false;
            for (const SolverProblem::Fertilizer &f : fertilizers) {
                // mg/L of 1 g/L: the run's own contribution function, summed over the rows.
                Ext sum = 0;
                for (const CompositionRow &c : f.composition) {
                    if (const auto added = contribution(c, e.id, 1))
                        sum += *added;
                }
                row.append(double(sum));
                carried = carried || sum != 0;
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
            if (problem.elements.at(i).mode == ElementMode::AtLeast)
                m_constraints.append({Conflict::Kind::AtLeast, i});
            else if (problem.elements.at(i).mode == ElementMode::AtMost)
                m_constraints.append({Conflict::Kind::AtMost, i});
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

    // The optimal amounts under the enabled constraints; none when they cannot hold. With
    // margins, each bound on an element is tightened by what rounding the amounts and the
    // concentrations may move it, so that it holds in the figures the run computes.
    std::optional<QList<double>> optimum(const QList<Conflict> &enabled, bool margins) const
    {
        const LinearProgramme::Solution s = build(enabled, margins, true).solve();
        if (!s.feasible)
            return std::nullopt;
        return s.columns.mid(0, m_problem.fertilizers.size());
    }

    // A set of constraints that cannot hold together and holds without any one of them:
    // each constraint is left out in turn and stays out when the rest still contradict.
    QList<Conflict> irreducible() const
    {
        QList<Conflict> set = m_constraints;
        for (const Conflict &c : m_constraints) {
            QList<Conflict> trial = set;
            trial.removeOne(c);
            if (!build(trial, false, false).solve().feasible)
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
            double upper = LinearProgramme::Infinity;
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
        return spread * unit(AmountDecimals) + unit(ConcentrationDecimals);
    }

    const SolverProblem &m_problem;
    QList<QList<double>> m_matrix; // mg/L per g/L, [element][fertilizer]
    QList<bool> m_takesPart;
    QList<int> m_uncarried;
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
    std::optional<QList<double>> x = model.optimum(model.constraints(), true);
    // Bounds met only exactly at their value leave no room for the rounding margin; such an
    // answer may pass a bound by what rounding moves, far below a milligram.
    if (!x)
        x = model.optimum(model.constraints(), false);
    if (!x) {
        SolverResult r;
        r.status = SolverResult::Status::Contradiction;
        r.uncarried = model.uncarried();
        r.conflicts = model.irreducible();
        return r;
    }
    QList<double> amounts;
    for (int f = 0; f < problem.fertilizers.size(); ++f) {
        const SolverProblem::Fertilizer &fert = problem.fertilizers.at(f);
        double amount = fert.fixed ? fert.current
                                   : std::max(0.0, RoundDecimals(x->at(f), AmountDecimals));
        // Rounding never carries an amount past the grower's own bound.
        if (!fert.fixed && fert.atMost && amount > *fert.atMost)
            amount = std::max(0.0, amount - unit(AmountDecimals));
        amounts.append(amount);
    }
    SolverResult r = predictComposition(problem, amounts);
    r.uncarried = model.uncarried();
    // Where the bounds leave no room for rounding, the rounded amounts may miss one by a trace;
    // the answer says so rather than claiming the bound.
    // A bound on an element no fertilizer carries rests on the water alone.
    for (int i = 0; i < problem.elements.size(); ++i) {
        const SolverProblem::Element &e = problem.elements.at(i);
        SolverResult::Element &out = r.elements[i];
        const double bound = e.target(problem.stage);
        if ((e.mode == ElementMode::AtLeast && out.result < bound)
            || (e.mode == ElementMode::AtMost && out.result > bound)) {
            (model.uncarried().contains(i) ? r.unmet : r.missedByRounding).append(i);
            out.warning = true;
        }
    }
    return r;
}

SolverResult predictComposition(const SolverProblem &problem, const QList<double> &amounts)
{
    SolverResult r;
    r.amounts = amounts;
    QList<SaltTotals::TargetRow> targetRows;
    for (const SolverProblem::Element &e : problem.elements) {
        // The run's sum: fertilizer by fertilizer, row by row, each partial sum stored in a
        // double, then rounded to four places.
        double sum = 0;
        for (int f = 0; f < problem.fertilizers.size(); ++f)
            addContributions(sum, problem.fertilizers.at(f).composition, e.id, amounts.at(f));
        SolverResult::Element out;
        out.target = e.target(problem.stage);
        out.water = e.water;
        out.fertilizers = RoundDecimals(sum, ConcentrationDecimals);
        out.result = out.water + out.fertilizers;
        if (out.target > 0) {
            out.deviation = (out.result - out.target) / out.target * 100;
            out.warning = breaksMode(e.mode, *out.deviation);
        }
        r.elements.append(out);

        const DerivedValues::Target t =
            DerivedValues::target(e.vega, e.cvet, out.fertilizers, problem.percentage);
        targetRows.append({out.fertilizers, t.rPr, t.vagaCalc, t.cvetCalc});
    }
    QList<SaltTotals::CompositionRow> compositionRows;
    for (int f = 0; f < problem.fertilizers.size(); ++f) {
        const double kol = amounts.at(f);
        compositionRows.append({problem.fertilizers.at(f).ppm, kol,
                                DerivedValues::scaledAmount(kol, problem.percentage)});
    }
    r.totals = SaltTotals::compute(targetRows, compositionRows);
    return r;
}
