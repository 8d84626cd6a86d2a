#pragma once

#include "compositionsolver.h"
#include "solverchoices.h"
#include "solverexplanation.h"
#include "solversource.h"

#include <QObject>

#include <optional>

class WorkingComposition;

// One sitting of "Подбор состава" without its window: the working composition, the selected
// crop's targets and the water analyses as read when it starts, the grower's choices, the
// answer while the conditions it was found for stand, and what the answer says, row by row, in
// words and numbers made with the session's decimal separator. Every change of a condition takes
// the answer back. The choices are the caller's, so that they outlive the session.
class SolverSession : public QObject
{
    Q_OBJECT

public:
    using ElementRow = SolverExplanation::ElementRow;
    using FertilizerRow = SolverExplanation::FertilizerRow;

    SolverSession(SolverSource &source, SolverChoices &choices, QChar decimalSeparator,
                  QObject *parent = nullptr);

    Stage stage() const { return m_choices.stage; }
    void setStage(Stage stage);

    const QList<SolverSource::WaterAnalysis> &waterAnalyses() const { return m_analyses; }
    const QVariant &water() const { return m_choices.water; }
    void setWater(const QVariant &analysis);
    // The analyses may have changed (names, rows, the chosen one deleted): read them again.
    void rereadWater();

    const QList<SolverProblem::Element> &elements() const { return m_elements; }
    void setMode(int element, ElementMode mode);
    // "Вес", SolverDefaults::MinWeight to MaxWeight (AppError outside).
    void setWeight(int element, int weight);

    // The most % of N as ammonium; none for no limit. The crop's share until the grower types
    // one (SolverDefaults::ammoniumShareOf). AppError outside 0 to 100.
    std::optional<double> ammoniumShare() const;
    void setAmmoniumShare(std::optional<double> share);
    // The stage's EC, mS/cm: the crop's until the grower types one. AppError for one that is
    // not above 0 or beyond MaxEc.
    std::optional<double> ec() const;
    void setEc(std::optional<double> ec);
    static constexpr double MaxEc = 20;
    // "По EC": the targets scaled to the EC.
    bool byEc() const { return m_choices.byEc; }
    void setByEc(bool on);

    const QList<SolverProblem::Fertilizer> &fertilizers() const { return m_fertilizers; }
    void setFixed(int fertilizer, bool fixed);
    void setAtMost(int fertilizer, std::optional<double> grams);

    // Solves for the composition as the file holds it now, with the salt totals at
    // `percentage`. Throws AppError as solveComposition does.
    void solve(int percentage);
    // The answer, while the conditions it was found for stand.
    const std::optional<SolverResult> &result() const { return m_result; }
    // An answer with amounts, ready to be written.
    bool hasAmounts() const;
    // Writes the answer's amounts into the composition rows it was found for; nothing without
    // amounts. Returns whether it wrote.
    bool apply(WorkingComposition &composition) const;

    // The answer's figures for the chart: an element's result in mg/L, none without an answer.
    std::optional<double> resultOf(int element) const;

    const SolverExplanation &explanation() const { return m_explanation; }
    ElementRow elementRow(int element) const;
    FertilizerRow fertilizerRow(int fertilizer) const;
    QString statusText() const;      // empty without an answer
    bool statusIsWarning() const;    // an answer without amounts
    QString totalsText() const;      // empty without amounts
    QString chemistryText() const;   // the answer's EC and ammonium share; empty without amounts

Q_SIGNALS:
    // A condition or the answer changed: every row may read differently.
    void changed();

private:
    ElementMode modeFor(const SolverProblem::Element &element) const;
    void readWater();
    void conditionsChanged();

    std::optional<QPair<int, int>> ecKey() const;

    SolverSource &m_source;
    SolverChoices &m_choices;
    SolverExplanation m_explanation;
    QList<SolverSource::WaterAnalysis> m_analyses;
    QList<SolverProblem::Element> m_elements;
    std::optional<BaseRows::Crop> m_crop; // its properties: the ammonium share and the EC
    Chemistry::Water m_water;             // the chosen analysis as the chemistry reads it
    QList<SolverProblem::Fertilizer> m_fertilizers;
    SolverProblem m_solved; // what the answer was found for
    std::optional<SolverResult> m_result;
};
