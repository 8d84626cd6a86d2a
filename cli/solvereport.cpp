#include "solvereport.h"

#include "calc/solver/solverexplanation.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace SolveReport {

namespace {

QString statusKey(SolverResult::Status status)
{
    switch (status) {
    case SolverResult::Status::Contradiction:
        return QStringLiteral("contradiction");
    case SolverResult::Status::NothingAsked:
        return QStringLiteral("nothing_asked");
    case SolverResult::Status::NoAnswer:
        return QStringLiteral("no_answer");
    case SolverResult::Status::Solved:
        break;
    }
    return QStringLiteral("solved");
}

// Fixed places; a figure that rounds to zero is "0.0", never "-0.0".
QString fixed(double value, int places)
{
    const QString text = QString::number(value, 'f', places);
    return text.startsWith(u'-') && text.toDouble() == 0 ? text.mid(1) : text;
}

} // namespace

QByteArray text(const RecipeSolve::Solved &s)
{
    QString out = QStringLiteral("Подбор состава «%1»\n\n").arg(s.recipe.name);
    if (!s.result.amounts.isEmpty()) {
        out += QStringLiteral("  %1 %2\n").arg(QStringLiteral("Удобрение"), -36).arg(QStringLiteral("г/л"), 12);
        for (qsizetype i = 0; i < s.result.amounts.size(); ++i)
            out += QStringLiteral("  %1 %2\n")
                       .arg(s.problem.fertilizers.at(i).name, -36)
                       .arg(fixed(s.result.amounts.at(i), 6), 12);
        out += u'\n';
    }
    if (!s.result.elements.isEmpty()) {
        out += QStringLiteral("  %1 %2 %3 %4 %5 %6  %7\n")
                   .arg(QStringLiteral("Элемент"), -8)
                   .arg(QStringLiteral("Цель"), 10)
                   .arg(QStringLiteral("Вода"), 10)
                   .arg(QStringLiteral("Удобрения"), 10)
                   .arg(QStringLiteral("Итог"), 10)
                   .arg(QStringLiteral("Откл., %"), 9)
                   .arg(QStringLiteral("Режим"));
        for (qsizetype i = 0; i < s.result.elements.size(); ++i) {
            const SolverResult::Element &e = s.result.elements.at(i);
            out += QStringLiteral("  %1 %2 %3 %4 %5 %6  %7\n")
                       .arg(s.symbols.at(i), -8)
                       .arg(fixed(e.target, 2), 10)
                       .arg(fixed(e.water, 2), 10)
                       .arg(fixed(e.fertilizers, 2), 10)
                       .arg(fixed(e.result, 2), 10)
                       .arg(e.deviation ? fixed(*e.deviation, 1) : QStringLiteral("—"), 9)
                       .arg(SolverExplanation::modeText(s.problem.elements.at(i).mode));
        }
        out += u'\n';
        out += QStringLiteral("EC ≈ %1 мСм/см, NH4 %2 % азота\n\n").arg(fixed(s.analysis.chemistry.solution.conductivity.ec, 2),
                                                                    fixed(s.nh4Percent, 1));
    }
    out += SolverExplanation(u'.').status(s.problem, s.result) + u'\n';
    return out.toUtf8();
}

QByteArray json(const RecipeSolve::Solved &s)
{
    QJsonObject amounts;
    for (qsizetype i = 0; i < s.result.amounts.size(); ++i)
        amounts.insert(s.problem.fertilizers.at(i).name, s.result.amounts.at(i));
    QJsonObject elements;
    for (qsizetype i = 0; i < s.result.elements.size(); ++i)
        elements.insert(s.symbols.at(i), s.result.elements.at(i).result);
    const QJsonObject o{{QStringLiteral("status"), statusKey(s.result.status)},
                        {QStringLiteral("amounts"), amounts},
                        {QStringLiteral("elements"), elements},
                        {QStringLiteral("ec"), s.analysis.chemistry.solution.conductivity.ec},
                        {QStringLiteral("nh4_percent"), s.nh4Percent},
                        {QStringLiteral("message"), SolverExplanation(u'.').status(s.problem, s.result)}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace SolveReport
