#include "solversession.h"

#include "solverdefaults.h"

#include "calc/run/workingcomposition.h"
#include "data/apperror.h"

namespace {

bool keyed(const QVariant &row)
{
    return !row.isNull();
}

} // namespace

SolverSession::SolverSession(SolverSource &source, SolverChoices &choices, QChar decimalSeparator,
                             QObject *parent)
    : QObject(parent), m_source(source), m_choices(choices), m_explanation(decimalSeparator)
{
    m_crop = m_source.crop();
    m_elements = m_source.elements(m_choices.stage);
    for (SolverProblem::Element &e : m_elements) {
        e.mode = modeFor(e);
        e.weight = m_choices.weights.value(e.id, e.weight);
    }

    // What was kept or bounded stays with the rows that are still there.
    m_fertilizers = m_source.fertilizers();
    QSet<qint64> fixed;
    QHash<qint64, double> atMost;
    for (SolverProblem::Fertilizer &f : m_fertilizers) {
        if (!keyed(f.row))
            continue;
        const qint64 key = f.row.toLongLong();
        if (m_choices.fixed.contains(key)) {
            f.fixed = true;
            fixed.insert(key);
        }
        if (m_choices.atMost.contains(key)) {
            f.atMost = m_choices.atMost.value(key);
            atMost.insert(key, *f.atMost);
        }
    }
    m_choices.fixed = fixed;
    m_choices.atMost = atMost;

    m_analyses = m_source.waterAnalyses();
    readWater();
}

// The one default policy: a mode the grower set stays, the others follow the stage's target.
ElementMode SolverSession::modeFor(const SolverProblem::Element &element) const
{
    return m_choices.modes.value(element.id,
                                 SolverDefaults::modeOf(element.name, element.target(m_choices.stage)));
}

void SolverSession::setWeight(int element, int weight)
{
    if (weight < SolverDefaults::MinWeight || weight > SolverDefaults::MaxWeight) {
        throw AppError(QStringLiteral("Вес %1: нужно целое число от %2 до %3")
                           .arg(weight).arg(SolverDefaults::MinWeight).arg(SolverDefaults::MaxWeight));
    }
    SolverProblem::Element &e = m_elements[element];
    e.weight = weight;
    m_choices.weights[e.id] = weight;
    conditionsChanged();
}

std::optional<double> SolverSession::ammoniumShare() const
{
    if (!m_crop)
        return SolverDefaults::AmmoniumShare;
    return m_choices.ammoniumShares.value(m_crop->id, SolverDefaults::ammoniumShareOf(*m_crop));
}

void SolverSession::setAmmoniumShare(std::optional<double> share)
{
    if (share && !(*share >= 0 && *share <= 100)) {
        throw AppError(QStringLiteral("Аммоний, % от N: %1 — нужно число от 0 до 100 или пусто")
                           .arg(m_explanation.number(*share)));
    }
    if (m_crop)
        m_choices.ammoniumShares.insert(m_crop->id, share);
    conditionsChanged();
}

std::optional<QPair<int, int>> SolverSession::ecKey() const
{
    if (!m_crop)
        return std::nullopt;
    return QPair<int, int>(m_crop->id, int(m_choices.stage));
}

std::optional<double> SolverSession::ec() const
{
    if (!m_crop)
        return std::nullopt;
    return m_choices.ecs.value(*ecKey(), SolverDefaults::ecOf(*m_crop, m_choices.stage));
}

void SolverSession::setEc(std::optional<double> ec)
{
    if (ec && !(*ec > 0 && *ec <= MaxEc)) {
        throw AppError(QStringLiteral("EC %1 мСм/см: нужно число больше 0 и не больше %2 или пусто")
                           .arg(m_explanation.number(*ec), m_explanation.number(MaxEc)));
    }
    if (const std::optional<QPair<int, int>> key = ecKey())
        m_choices.ecs.insert(*key, ec);
    conditionsChanged();
}

void SolverSession::setByEc(bool on)
{
    m_choices.byEc = on;
    conditionsChanged();
}

void SolverSession::setStage(Stage stage)
{
    m_choices.stage = stage;
    for (SolverProblem::Element &e : m_elements)
        e.mode = modeFor(e);
    conditionsChanged();
}

void SolverSession::setWater(const QVariant &analysis)
{
    m_choices.water = analysis;
    readWater();
    conditionsChanged();
}

void SolverSession::rereadWater()
{
    m_analyses = m_source.waterAnalyses();
    readWater();
    conditionsChanged();
}

// The chosen analysis's mg/L into the elements; an analysis no longer listed is none.
void SolverSession::readWater()
{
    bool listed = false;
    for (const SolverSource::WaterAnalysis &a : m_analyses)
        listed = listed || (!m_choices.water.isNull() && a.id.toLongLong() == m_choices.water.toLongLong());
    if (!listed)
        m_choices.water = QVariant();
    const QHash<int, double> water = m_source.water(m_choices.water);
    m_water = m_source.chemistryWater(m_choices.water);
    for (SolverProblem::Element &e : m_elements)
        e.water = water.value(e.id);
}

void SolverSession::setMode(int element, ElementMode mode)
{
    SolverProblem::Element &e = m_elements[element];
    e.mode = mode;
    m_choices.modes[e.id] = mode;
    conditionsChanged();
}

void SolverSession::setFixed(int fertilizer, bool fixed)
{
    SolverProblem::Fertilizer &f = m_fertilizers[fertilizer];
    f.fixed = fixed;
    if (keyed(f.row)) {
        if (fixed)
            m_choices.fixed.insert(f.row.toLongLong());
        else
            m_choices.fixed.remove(f.row.toLongLong());
    }
    conditionsChanged();
}

void SolverSession::setAtMost(int fertilizer, std::optional<double> grams)
{
    SolverProblem::Fertilizer &f = m_fertilizers[fertilizer];
    f.atMost = grams;
    if (keyed(f.row)) {
        if (grams)
            m_choices.atMost.insert(f.row.toLongLong(), *grams);
        else
            m_choices.atMost.remove(f.row.toLongLong());
    }
    conditionsChanged();
}

void SolverSession::conditionsChanged()
{
    m_result.reset();
    Q_EMIT changed();
}

void SolverSession::solve(int percentage)
{
    SolverProblem p;
    p.stage = m_choices.stage;
    p.percentage = percentage;
    p.options = m_source.saltOptions();
    p.decimalSeparator = m_explanation.decimalSeparator(); // the refusals speak as the rows do
    p.elements = m_elements;
    p.water = m_water;
    p.ammoniumShare = ammoniumShare();
    p.ec = ec();
    p.byEc = m_choices.byEc;
    // The rows and their fertilizers' compositions as the file holds them now, with what the
    // grower kept and bounded on the rows shown.
    p.fertilizers = m_source.fertilizers();
    p.leftOut = m_source.leftOut(); // the targets as read at the start, the rows as read now
    for (SolverProblem::Fertilizer &f : p.fertilizers) {
        for (const SolverProblem::Fertilizer &shown : m_fertilizers) {
            if (shown.row == f.row) {
                f.fixed = shown.fixed;
                f.atMost = shown.atMost;
            }
        }
    }
    SolverResult r = solveComposition(p);
    m_solved = std::move(p);
    m_result = std::move(r);
    Q_EMIT changed();
}

bool SolverSession::hasAmounts() const
{
    return m_result && m_result->status == SolverResult::Status::Solved;
}

bool SolverSession::apply(WorkingComposition &composition) const
{
    if (!hasAmounts())
        return false;
    QList<QPair<QVariant, double>> amounts;
    for (int f = 0; f < m_solved.fertilizers.size(); ++f)
        amounts.append({m_solved.fertilizers.at(f).row, m_result->amounts.at(f)});
    composition.setAmounts(amounts);
    return true;
}

std::optional<double> SolverSession::resultOf(int element) const
{
    if (!hasAmounts() || element < 0 || element >= m_result->elements.size())
        return std::nullopt;
    return m_result->elements.at(element).result;
}

SolverSession::ElementRow SolverSession::elementRow(int element) const
{
    if (m_result)
        return m_explanation.elementRow(m_solved, &*m_result, element);
    SolverProblem shown;
    shown.stage = m_choices.stage;
    shown.elements = m_elements;
    return m_explanation.elementRow(shown, nullptr, element);
}

SolverSession::FertilizerRow SolverSession::fertilizerRow(int fertilizer) const
{
    const SolverProblem::Fertilizer &f = m_fertilizers.at(fertilizer);
    std::optional<double> answer;
    if (hasAmounts()) {
        for (int s = 0; s < m_solved.fertilizers.size(); ++s) {
            if (m_solved.fertilizers.at(s).row == f.row)
                answer = m_result->amounts.at(s);
        }
    }
    return m_explanation.fertilizerRow(f, answer);
}

QString SolverSession::statusText() const
{
    return m_result ? m_explanation.status(m_solved, *m_result) : QString();
}

bool SolverSession::statusIsWarning() const
{
    return m_result && !hasAmounts();
}

QString SolverSession::chemistryText() const
{
    return m_result ? m_explanation.chemistry(m_solved, *m_result) : QString();
}

QString SolverSession::totalsText() const
{
    return m_result ? m_explanation.totals(*m_result) : QString();
}
