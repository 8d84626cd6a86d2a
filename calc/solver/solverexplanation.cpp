#include "solverexplanation.h"

#include "solverchemistry.h"

#include "calc/run/numbers.h"

#include <QStringList>

#include <cmath>

namespace {

QString joined(const QStringList &parts)
{
    return parts.join(QStringLiteral(", "));
}

// "N «Не меньше», K «Не больше»": elements with the modes they were asked for.
QString withModes(const SolverProblem &problem, const QList<int> &elements)
{
    QStringList out;
    for (int i : elements) {
        out.append(QStringLiteral("%1 «%2»").arg(problem.elements.at(i).name,
                                                 SolverExplanation::modeText(problem.elements.at(i).mode)));
    }
    return joined(out);
}

// The constraints that contradict each other, each with the control that set it.
QString conflicts(const SolverProblem &problem, const QList<SolverResult::Conflict> &set)
{
    using Kind = SolverResult::Conflict::Kind;
    QStringList out;
    for (const SolverResult::Conflict &c : set) {
        switch (c.kind) {
        case Kind::AtLeast:
        case Kind::AtMost:
            out.append(QStringLiteral("%1 «%2»").arg(
                problem.elements.at(c.index).name,
                SolverExplanation::modeText(c.kind == Kind::AtLeast ? ElementMode::AtLeast
                                                                    : ElementMode::AtMost)));
            break;
        case Kind::Fixed:
            out.append(QStringLiteral("%1 «Закрепить»").arg(problem.fertilizers.at(c.index).name));
            break;
        case Kind::AmountAtMost:
            out.append(QStringLiteral("%1 «Не больше г/л.»").arg(problem.fertilizers.at(c.index).name));
            break;
        case Kind::Ammonium:
            out.append(QStringLiteral("аммоний не больше %1 % от N")
                           .arg(formatGeneral(problem.ammoniumShare.value_or(0), problem.decimalSeparator)));
            break;
        }
    }
    return joined(out);
}

bool hasElements(const SolverResult &result, int index)
{
    return result.status == SolverResult::Status::Solved && index >= 0
           && index < result.elements.size();
}

} // namespace

bool isWarning(RowMeaning meaning)
{
    switch (meaning) {
    case RowMeaning::OffTarget:
    case RowMeaning::Uncarried:
    case RowMeaning::Unmet:
    case RowMeaning::MissedByRounding:
    case RowMeaning::Saline:
        return true;
    case RowMeaning::Pending:
    case RowMeaning::Ignored:
    case RowMeaning::OnTarget:
        break;
    }
    return false;
}

SolverExplanation::SolverExplanation(QChar decimalSeparator) : m_separator(decimalSeparator)
{
}

QString SolverExplanation::modeText(ElementMode mode)
{
    switch (mode) {
    case ElementMode::Target:
        return QStringLiteral("Цель");
    case ElementMode::AtLeast:
        return QStringLiteral("Не меньше");
    case ElementMode::AtMost:
        return QStringLiteral("Не больше");
    case ElementMode::Ignore:
        break;
    }
    return QStringLiteral("Игнорировать");
}

QString SolverExplanation::number(double value) const
{
    return formatGeneral(value + 0.0, m_separator); // never "-0"
}

QString SolverExplanation::concentration(double mgL) const
{
    return number(RoundDecimals(mgL, ResultDecimals));
}

QString SolverExplanation::percent(double value) const
{
    return number(std::round(value * 10) / 10);
}

QString SolverExplanation::status(const SolverProblem &problem, const SolverResult &result) const
{
    QStringList uncarried;
    for (int i : result.uncarried)
        uncarried.append(problem.elements.at(i).name);
    const QString none = uncarried.isEmpty()
                             ? QString()
                             : QStringLiteral(" Ни одно удобрение состава не содержит: %1.").arg(joined(uncarried));
    const QString leftOut = (problem.leftOut.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" Не учтены %1.").arg(joined(problem.leftOut)))
                            + SolverChemistry::notesText(problem, result, m_separator);
    switch (result.status) {
    case SolverResult::Status::NothingAsked:
        return QStringLiteral("Нечего подбирать: ни один элемент не участвует.") + none + leftOut;
    case SolverResult::Status::NoAnswer:
        return QStringLiteral("Решение не найдено: задача слишком вырождена. "
                              "Измените режимы или ограничения и подберите снова.")
               + none + leftOut;
    case SolverResult::Status::Contradiction:
        return QStringLiteral("Ограничения противоречат друг другу: %1. Ничего не подобрано.")
                   .arg(conflicts(problem, result.conflicts))
               + none + leftOut;
    case SolverResult::Status::Solved:
        break;
    }
    QString text = uncarried.isEmpty() ? QStringLiteral("Подобрано.")
                                       : QStringLiteral("Подобрано по остальным элементам.") + none;
    if (!result.unmet.isEmpty())
        text += QStringLiteral(" Не выполнено: %1.").arg(withModes(problem, result.unmet));
    if (!result.missedByRounding.isEmpty()) {
        text += QStringLiteral(" С точностью до округления количеств: %1.")
                    .arg(withModes(problem, result.missedByRounding));
    }
    if (!result.atMaxAmount.isEmpty()) {
        QStringList held;
        for (int f : result.atMaxAmount)
            held.append(problem.fertilizers.at(f).name);
        text += QStringLiteral(" Целям нужно больше %1 г/л: %2.").arg(number(MaxAmount), joined(held));
    }
    return text + leftOut;
}

QString SolverExplanation::totals(const SolverResult &result) const
{
    if (result.status != SolverResult::Status::Solved)
        return {};
    return QStringLiteral("Общее кол-во солей: %1 мг./л., %2 PPM")
        .arg(number(RoundDecimals(result.totals.concentration, 2)),
             number(RoundDecimals(result.totals.ppm, 2)));
}

QString SolverExplanation::chemistry(const SolverProblem &problem, const SolverResult &result) const
{
    if (result.status != SolverResult::Status::Solved)
        return {};
    QStringList parts;
    if (result.ec)
        parts.append(QStringLiteral("EC ответа %1 мСм/см").arg(number(std::round(*result.ec * 100) / 100)));
    if (result.ammoniumShare) {
        const QString limit = problem.ammoniumShare
                                  ? QStringLiteral(" (не больше %1)").arg(number(*problem.ammoniumShare))
                                  : QString();
        parts.append(QStringLiteral("аммоний %1 % от N%2").arg(percent(*result.ammoniumShare), limit));
    }
    return joined(parts);
}

RowMeaning SolverExplanation::meaning(const SolverProblem &problem, const SolverResult &result,
                                      int index)
{
    if (!hasElements(result, index))
        return RowMeaning::Pending;
    if (result.saline.contains(index))
        return RowMeaning::Saline;
    if (problem.elements.at(index).mode == ElementMode::Ignore)
        return RowMeaning::Ignored;
    if (result.unmet.contains(index))
        return RowMeaning::Unmet;
    if (result.missedByRounding.contains(index))
        return RowMeaning::MissedByRounding;
    if (!result.elements.at(index).warning)
        return RowMeaning::OnTarget;
    return result.uncarried.contains(index) ? RowMeaning::Uncarried : RowMeaning::OffTarget;
}

QString SolverExplanation::note(const SolverProblem &problem, const SolverResult &result,
                                int index) const
{
    const QString mode = hasElements(result, index) ? modeText(problem.elements.at(index).mode)
                                                    : QString();
    switch (meaning(problem, result, index)) {
    case RowMeaning::OffTarget: {
        const double deviation = result.elements.at(index).deviation.value_or(0);
        return QStringLiteral("%1 цели на %2 %: больше допустимых %3 %.")
            .arg(deviation < 0 ? QStringLiteral("Ниже") : QStringLiteral("Выше"),
                 percent(std::abs(deviation)), number(DeviationTolerance));
    }
    case RowMeaning::Uncarried:
        return QStringLiteral("Ни одно удобрение состава не содержит этот элемент.");
    case RowMeaning::Unmet:
        return QStringLiteral("Режим «%1» не выполнен: его решает одна вода.").arg(mode);
    case RowMeaning::MissedByRounding:
        return QStringLiteral("Режим «%1» выполнен с точностью до округления количеств.").arg(mode);
    case RowMeaning::Saline:
        return QStringLiteral("В воде %1 ммоль/л: больше допустимого.")
            .arg(number(std::round(SolverChemistry::millimolesOf(problem.elements.at(index)) * 10) / 10));
    case RowMeaning::Pending:
    case RowMeaning::Ignored:
    case RowMeaning::OnTarget:
        break;
    }
    return {};
}

SolverExplanation::ElementRow SolverExplanation::elementRow(const SolverProblem &problem,
                                                            const SolverResult *result, int index) const
{
    const SolverProblem::Element &e = problem.elements.at(index);
    ElementRow row;
    row.name = e.name;
    row.target = number(e.target(problem.stage));
    row.mode = modeText(e.mode);
    row.weight = QString::number(e.weight);
    row.water = number(e.water);
    if (!result)
        return row;
    if (hasElements(*result, index)) {
        const SolverResult::Element &figures = result->elements.at(index);
        row.target = number(figures.target); // "По EC" scales it
        row.result = concentration(figures.result);
        if (figures.deviation)
            row.deviation = percent(*figures.deviation);
    }
    row.meaning = meaning(problem, *result, index);
    row.note = note(problem, *result, index);
    return row;
}

SolverExplanation::FertilizerRow SolverExplanation::fertilizerRow(
    const SolverProblem::Fertilizer &fertilizer, std::optional<double> answer) const
{
    FertilizerRow row;
    row.name = fertilizer.name;
    // What a kept amount keeps is the composition's amount, so that is what shows without an
    // answer.
    row.amount = number(answer.value_or(fertilizer.current));
    row.fixed = fertilizer.fixed;
    if (fertilizer.atMost)
        row.atMost = number(*fertilizer.atMost);
    return row;
}
