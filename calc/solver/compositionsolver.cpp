#include "compositionsolver.h"

#include "calc/run/numbers.h"
#include "linearprogramme.h"
#include "solverchemistry.h"
#include "solverdefaults.h"

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

// The cost of 1 mg/L of sodium or chloride the fertilizers bring when the grower asks nothing of
// them: far above the lightness, so that an answer as close without them wins, and far below a
// target's deviation (about weight / target per mg/L), so that no target is given up for it.
constexpr double BallastWeight = 1e-4;

// The cost of a "Не меньше" element's excess, against a shortfall of a "Цель" of the same
// weight: extra sulphate is tolerated, but not for nothing.
constexpr double ExcessShare = 0.1;

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
        if (problem.ammoniumShare) {
            const double share = *problem.ammoniumShare;
            if (!(share >= 0 && share <= 100)) {
                throw AppError(QStringLiteral("Аммоний, % от N: %1 не годится для подбора, нужно от 0 до 100")
                                   .arg(formatGeneral(share, problem.decimalSeparator)));
            }
            addAmmonium(share / 100);
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
    // The ammonium of the answer, water included, at most `share` of its N:
    // Σ (NH4_f − share × N_f) x_f ≤ share × N_water − NH4_water.
    void addAmmonium(double share)
    {
        bool carried = false;
        for (const SolverProblem::Fertilizer &f : m_problem.fertilizers) {
            const SolverChemistry::Nitrogen n = SolverChemistry::nitrogenOf(f);
            m_ammonium.append(n.ammonium - share * n.total);
            carried = carried || n.ammonium > 0;
        }
        const SolverChemistry::Nitrogen water = SolverChemistry::nitrogenOf(m_problem.water);
        m_ammoniumRoom = share * water.total - water.ammonium;
        if (carried)
            m_constraints.append({Conflict::Kind::Ammonium, 0});
    }

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
            lp.addColumn(lower, upper, objective && !fert.fixed ? LightnessWeight + ballast(f) : 0);
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
                const double weight = weightOf(e);
                lp.setEntry(row, lp.addColumn(0, LinearProgramme::Infinity, weight), -1);
                lp.setEntry(row, lp.addColumn(0, LinearProgramme::Infinity, weight), 1);
            } else if (e.mode == ElementMode::AtLeast
                       && enabled.contains(Conflict{Conflict::Kind::AtLeast, i})) {
                // A ceiling the water alone passes cannot hold: none then.
                const double target = e.target(m_problem.stage);
                const bool capped = e.ceiling && std::isfinite(*e.ceiling) && *e.ceiling >= 1;
                const double ceiling = capped ? *e.ceiling * target - e.water : LinearProgramme::Infinity;
                row = lp.addRow(need + margin, ceiling >= need + 2 * margin ? ceiling - margin
                                                                            : LinearProgramme::Infinity);
                if (objective) {
                    // What passes the target costs a tenth of a shortfall of the same weight.
                    const int excess = lp.addRow(-LinearProgramme::Infinity, need);
                    lp.setEntry(excess, lp.addColumn(0, LinearProgramme::Infinity,
                                                     ExcessShare * weightOf(e)), -1);
                    for (int f = 0; f < fertilizers.size(); ++f)
                        lp.setEntry(excess, f, m_matrix.at(i).at(f));
                }
            } else if (e.mode == ElementMode::AtMost
                       && enabled.contains(Conflict{Conflict::Kind::AtMost, i})) {
                row = lp.addRow(-LinearProgramme::Infinity, need - margin);
            } else if (objective && m_overWatered.contains(i)) {
                // As little more of it as the rest allows: what the fertilizers add is a
                // deviation, weighted like a target's.
                row = lp.addRow(-LinearProgramme::Infinity, 0);
                lp.setEntry(row, lp.addColumn(0, LinearProgramme::Infinity, weightOf(e)), -1);
            }
            if (row < 0)
                continue;
            for (int f = 0; f < fertilizers.size(); ++f)
                lp.setEntry(row, f, m_matrix.at(i).at(f));
        }
        if (enabled.contains(Conflict{Conflict::Kind::Ammonium, 0})) {
            double spread = 0;
            for (int f = 0; f < fertilizers.size(); ++f)
                spread += fertilizers.at(f).fixed ? 0 : std::abs(m_ammonium.at(f));
            const double margin = margins ? spread * unit(AmountDecimals) : 0;
            const int row = lp.addRow(-LinearProgramme::Infinity, m_ammoniumRoom - margin);
            for (int f = 0; f < fertilizers.size(); ++f)
                lp.setEntry(row, f, m_ammonium.at(f));
        }
        return lp;
    }

    // The cost of the sodium and chloride 1 g/L of fertilizer `f` brings where the grower asks
    // nothing of them.
    double ballast(int f) const
    {
        double mg = 0;
        for (int i = 0; i < m_problem.elements.size(); ++i) {
            const SolverProblem::Element &e = m_problem.elements.at(i);
            const QString symbol = e.name.trimmed();
            if (e.mode == ElementMode::Ignore && (symbol == QLatin1String("Na") || symbol == QLatin1String("Cl")))
                mg += m_matrix.at(i).at(f);
        }
        return BallastWeight * mg;
    }

    // A relative deviation's cost: the grower's weight over the target. A target of 0 has no
    // relative deviation: its mg/L count as they are.
    double weightOf(const SolverProblem::Element &e) const
    {
        const double target = e.target(m_problem.stage);
        const double weight = std::clamp(e.weight, SolverDefaults::MinWeight, SolverDefaults::MaxWeight);
        return target > 0 ? weight / target : weight;
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
    QList<double> m_ammonium; // per fertilizer, mg/L of 1 g/L, when the share is bounded
    double m_ammoniumRoom = 0;
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


// One fit of the amounts to the problem as it stands.
SolverResult solveRound(const SolverProblem &problem)
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


// The problem of one round: the targets times `scale`, and every acid the grower did not keep
// held at its dose, the first one dosed against the water's alkalinity and the others at none.
SolverProblem roundOf(const SolverProblem &problem, double scale, SolverResult &notes)
{
    SolverProblem p = problem;
    for (SolverProblem::Element &e : p.elements) {
        e.vega *= scale;
        e.cvet *= scale;
    }
    notes.scale = scale;
    notes.acid.reset();
    notes.acidDose.reset();
    const bool alkaline = SolverChemistry::alkalinityOf(p) > 0;
    for (int f = 0; f < p.fertilizers.size(); ++f) {
        SolverProblem::Fertilizer &fert = p.fertilizers[f];
        if (!fert.acid || fert.fixed)
            continue;
        fert.fixed = true;
        fert.current = 0;
        if (alkaline && !notes.acid) {
            const Chemistry::AcidDose dose = SolverChemistry::doseOf(p, f);
            fert.current = std::min(MaxAmount, double(RoundDecimals(dose.gramsPerLitre, AmountDecimals)));
            notes.acid = f;
            notes.acidDose = dose;
        }
    }
    return p;
}

SolverResult solveAt(const SolverProblem &problem, double scale)
{
    SolverResult notes;
    const SolverProblem p = roundOf(problem, scale, notes);
    SolverResult r = solveRound(p);
    r.scale = notes.scale;
    r.acid = notes.acid;
    r.acidDose = notes.acidDose;
    return r;
}

// "По EC": the answer's EC grows with the scale of the targets, nearly in proportion; the
// secant through the last two rounds finds the scale in a few, the closest round is kept.
constexpr int EcRounds = 8;
constexpr double EcAim = 0.01; // mS/cm: well inside EcTolerance
constexpr double MinScale = 0.01;
constexpr double MaxScale = 20;

SolverResult solveByEc(const SolverProblem &problem, SolverResult first)
{
    const double want = *problem.ec;
    const auto off = [want](const SolverResult &r) { return std::abs(*r.ec - want); };
    SolverResult best = std::move(first);
    double s0 = 1;
    double e0 = *best.ec;
    double s1 = std::clamp(e0 > 0 ? want / e0 : MaxScale, MinScale, MaxScale);
    for (int round = 0; round < EcRounds && off(best) > EcAim; ++round) {
        SolverResult next = solveAt(problem, s1);
        if (next.status != SolverResult::Status::Solved || !next.ec)
            break;
        const double e1 = *next.ec;
        if (off(next) < off(best))
            best = std::move(next);
        double s2 = e1 != e0 ? s1 + (want - e1) * (s1 - s0) / (e1 - e0) : s1 * want / e1;
        if (!std::isfinite(s2) || s2 <= 0)
            s2 = e1 > 0 ? s1 * want / e1 : MaxScale;
        s2 = std::clamp(s2, MinScale, MaxScale);
        if (s2 == s1)
            break; // held at a limit of the scale: the EC cannot be reached
        s0 = s1;
        e0 = e1;
        s1 = s2;
    }
    best.ecMissed = off(best) > EcTolerance;
    return best;
}

} // namespace

SolverResult solveComposition(const SolverProblem &problem)
{
    SolverResult r = solveAt(problem, 1);
    const bool byEc = problem.byEc && problem.ec && *problem.ec > 0;
    if (byEc && r.status == SolverResult::Status::Solved && r.ec)
        r = solveByEc(problem, std::move(r));
    else if (byEc)
        r.ecMissed = true;
    // The balance of the targets as the answer was fitted to them.
    SolverResult notes;
    const SolverProblem fitted = roundOf(problem, r.scale, notes);
    r.imbalance = SolverChemistry::imbalanceOf(fitted, notes.acidDose ? notes.acidDose->meq : 0);
    r.saline = SolverChemistry::salineOf(problem);
    if (r.status == SolverResult::Status::Solved) {
        for (int i : r.saline)
            r.elements[i].warning = true;
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
            out.warning = breaksMode(e.mode, *out.deviation)
                          || (e.mode == ElementMode::AtLeast && e.ceiling
                              && *out.deviation > (*e.ceiling - 1) * 100 + DeviationTolerance);
        }
        r.elements.append(out);
    }
    const SolverChemistry::Reading reading = SolverChemistry::readingOf(problem, amounts);
    r.ec = reading.ec;
    r.ammoniumShare = reading.ammoniumShare;
    return r;
}
