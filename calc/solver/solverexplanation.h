#pragma once

#include "compositionsolver.h"

#include <QChar>
#include <QString>

#include <optional>

// What an element's row of the answer means to the grower. The window picks its colours from
// it, a screen reader and a command line its words.
enum class RowMeaning {
    Pending,          // no answer shown
    Ignored,          // "Игнорировать": nothing to hold
    OnTarget,         // its mode holds ("Цель" within DeviationTolerance)
    OffTarget,        // its mode is broken by more than DeviationTolerance
    Uncarried,        // asked for, no fertilizer of the composition carries it, and it falls short
    Unmet,            // a "Не меньше"/"Не больше" that rests on the water alone, missed
    MissedByRounding, // a "Не меньше"/"Не больше" missed by the trace rounding the amounts moves
    Saline,           // the water brings more Na or Cl than a recirculating system bears
};

// Whether the grower must look at a row with this meaning (the warning colour).
bool isWarning(RowMeaning meaning);

// The words and numbers of an answer, in one place for the dialog and a command line. Numbers
// are written with the decimal separator the explanation is made with.
class SolverExplanation
{
public:
    // An element's row as the grower reads it.
    struct ElementRow
    {
        QString name;
        QString target; // mg/L at 100 % of the stage ("По EC": scaled, once answered)
        QString mode;
        QString weight;
        QString water;
        QString result;    // empty without amounts
        QString deviation; // empty without amounts or a target
        RowMeaning meaning = RowMeaning::Pending;
        QString note; // the meaning in words, where something is wrong
    };
    // A fertilizer's row.
    struct FertilizerRow
    {
        QString name;
        QString amount; // the answer's g/L, or the composition's without one
        bool fixed = false;
        QString atMost; // empty for no bound
    };

    // Places of a result in mg/L, as the calculator's rounded columns: the trace the amounts'
    // last decimal moves does not show, so a met target of 50 reads 50.
    static constexpr int ResultDecimals = 2;

    explicit SolverExplanation(QChar decimalSeparator);
    QChar decimalSeparator() const { return m_separator; }

    // "Цель", "Не меньше", "Не больше", "Игнорировать".
    static QString modeText(ElementMode mode);

    // A figure as typed or stored (targets, water, amounts), in the general number format.
    QString number(double value) const;
    // A result in mg/L, to ResultDecimals.
    QString concentration(double mgL) const;
    // A deviation in %, to one decimal.
    QString percent(double value) const;

    // The answer in one paragraph: solved (and what it could not do) or why nothing was found,
    // and the rows the reading left out.
    QString status(const SolverProblem &problem, const SolverResult &result) const;
    // "Общее кол-во солей: … мг./л., … PPM" of an answer with amounts; empty without.
    QString totals(const SolverResult &result) const;
    // "EC ответа 2,42 мСм/см, аммоний 8,2 % от N (не больше 8,33)" of an answer with amounts;
    // empty without.
    QString chemistry(const SolverProblem &problem, const SolverResult &result) const;

    // What element `index` of an answer means, and that in words (empty where nothing is wrong).
    static RowMeaning meaning(const SolverProblem &problem, const SolverResult &result, int index);
    QString note(const SolverProblem &problem, const SolverResult &result, int index) const;

    // Element `index` of `problem`, with the figures of `result` (the answer to that problem),
    // or pending without one.
    ElementRow elementRow(const SolverProblem &problem, const SolverResult *result, int index) const;
    // A fertilizer with the answer's amount, or its current one without.
    FertilizerRow fertilizerRow(const SolverProblem::Fertilizer &fertilizer,
                                std::optional<double> answer) const;

private:
    QChar m_separator;
};
