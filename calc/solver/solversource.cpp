#include "solversource.h"

#include "data/datamodules.h"
#include "data/fields.h"

SolverSource::SolverSource(DataModules &data) : m_data(data)
{
}

QList<SolverProblem::Fertilizer> SolverSource::fertilizers()
{
    // Read afresh, as the run reopens T_SOS before it sums.
    const QHash<int, QList<CompositionRow>> rows = readCompositions(m_data.own.T_SOS_ALL);

    QList<SolverProblem::Fertilizer> out;
    const Dataset &composition = m_data.form4.T_rachet;
    if (!composition.isActive())
        return out;
    m_rowsWithoutFertilizer = 0;
    for (int i = 0; i < composition.recordCount(); ++i) {
        SolverProblem::Fertilizer f;
        f.row = composition.valueAt(i, Fields::id_rachet);
        const QVariant name = composition.valueAt(i, Fields::name);
        const QVariant fertilizer = composition.valueAt(i, Fields::id_udobra);
        // The name is looked up from the fertilizer: none for one deleted since, or never there.
        if (fertilizer.isNull() || name.isNull()) {
            ++m_rowsWithoutFertilizer;
            continue;
        }
        f.name = name.toString();
        f.composition = rows.value(fertilizer.toInt());
        f.current = composition.valueAt(i, Fields::kol).toDouble();
        f.ppm = composition.valueAt(i, Fields::ppm).toInt();
        out.append(f);
    }
    return out;
}

QList<SolverProblem::Element> SolverSource::elements(Stage stage)
{
    QList<SolverProblem::Element> out;
    const Dataset &targets = m_data.form4.ADOTable2;
    m_targetsWithoutElement = 0;
    if (!targets.isActive())
        return out;
    for (int i = 0; i < targets.recordCount(); ++i) {
        if (targets.valueAt(i, Fields::id_el).isNull() || targets.valueAt(i, Fields::name_el).isNull()) {
            ++m_targetsWithoutElement;
            continue;
        }
        SolverProblem::Element e;
        e.id = targets.valueAt(i, Fields::id_el).toInt();
        e.name = targets.valueAt(i, Fields::name_el).toString();
        e.vega = targets.valueAt(i, Fields::vega).toDouble();
        e.cvet = targets.valueAt(i, Fields::cvet).toDouble();
        e.mode = SolverProblem::defaultMode(e.target(stage));
        out.append(e);
    }
    return out;
}

QList<SolverSource::WaterAnalysis> SolverSource::waterAnalyses() const
{
    QList<WaterAnalysis> out;
    const Dataset &analyses = m_data.own.T_voda;
    if (!analyses.isActive())
        return out;
    for (int i = 0; i < analyses.recordCount(); ++i) {
        const QVariant id = analyses.valueAt(i, Fields::id_voda);
        if (!id.isNull()) // a new analysis not yet posted has no key to be chosen by
            out.append({id, analyses.valueAt(i, Fields::name_voda).toString()});
    }
    return out;
}

QHash<int, double> SolverSource::water(const QVariant &analysis)
{
    QHash<int, double> out;
    Dataset &analyses = m_data.own.T_voda;
    if (analysis.isNull() || !analyses.isActive())
        return out;
    int row = -1;
    for (int i = 0; i < analyses.recordCount() && row < 0; ++i) {
        if (analyses.valueAt(i, Fields::id_voda).toLongLong() == analysis.toLongLong())
            row = i;
    }
    if (row < 0)
        return out;
    analyses.moveTo(row);
    const Dataset &rows = m_data.own.T_sostav_vody;
    for (int i = 0; i < rows.recordCount(); ++i)
        out[rows.valueAt(i, Fields::id_element).toInt()] += rows.valueAt(i, Fields::mg_l).toDouble();
    return out;
}

QStringList SolverSource::leftOut() const
{
    QStringList out;
    if (m_rowsWithoutFertilizer > 0)
        out.append(QStringLiteral("строки состава без удобрения: %1").arg(m_rowsWithoutFertilizer));
    if (m_targetsWithoutElement > 0)
        out.append(QStringLiteral("строки целей без элемента: %1").arg(m_targetsWithoutElement));
    return out;
}
