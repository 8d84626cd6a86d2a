#include "solversource.h"

#include "solverinputs.h"

#include "data/basequeries.h"
#include "data/datamodules.h"
#include "data/fields.h"

#include "data/storedvalues.h"

using StoredValues::integerOf;

SolverSource::SolverSource(DataModules &data) : m_data(data)
{
}

QList<SolverProblem::Fertilizer> SolverSource::fertilizers()
{
    const Dataset &composition = m_data.form4.T_rachet;
    m_rowsWithoutFertilizer = 0;
    if (!composition.isActive())
        return {};
    QList<BaseRows::RecipeLine> lines;
    for (int i = 0; i < composition.recordCount(); ++i) {
        BaseRows::RecipeLine line;
        line.id = integerOf(composition.valueAt(i, Fields::id_rachet));
        const QVariant fertilizer = composition.valueAt(i, Fields::id_udobra);
        if (!fertilizer.isNull())
            line.fertilizer = integerOf(fertilizer);
        line.name = composition.valueAt(i, Fields::name).toString();
        line.grams = composition.valueAt(i, Fields::kol).toDouble();
        line.ppm = integerOf(composition.valueAt(i, Fields::ppm));
        lines.append(line);
    }
    return SolverInputs::fertilizersOf(m_data.ADOConnection1, lines, &m_rowsWithoutFertilizer);
}

std::optional<BaseRows::Crop> SolverSource::crop()
{
    const Dataset &crops = m_data.form4.ADOTable3;
    if (!crops.isActive() || crops.value(Fields::id_kult).isNull())
        return std::nullopt;
    return BaseQueries(m_data.ADOConnection1).crop(integerOf(crops.value(Fields::id_kult)));
}

QList<SolverProblem::Element> SolverSource::elements(Stage stage)
{
    m_targetsWithoutElement = 0;
    const std::optional<BaseRows::Crop> selected = crop();
    if (!selected)
        return {};
    return SolverInputs::elementsOf(*selected, stage, &m_targetsWithoutElement);
}

QList<SolverSource::WaterAnalysis> SolverSource::waterAnalyses() const
{
    QList<WaterAnalysis> out;
    for (const BaseRows::WaterAnalysis &a : BaseQueries(m_data.ADOConnection1).waterAnalyses())
        out.append({a.id, a.name});
    return out;
}

std::optional<BaseRows::WaterAnalysis> SolverSource::analysis(const QVariant &id)
{
    if (id.isNull())
        return std::nullopt;
    return BaseQueries(m_data.ADOConnection1).waterAnalysis(integerOf(id));
}

QHash<int, double> SolverSource::water(const QVariant &analysis)
{
    const std::optional<BaseRows::WaterAnalysis> found = this->analysis(analysis);
    return found ? SolverInputs::waterOf(*found) : QHash<int, double>();
}

Chemistry::Water SolverSource::chemistryWater(const QVariant &analysis)
{
    const std::optional<BaseRows::WaterAnalysis> found = this->analysis(analysis);
    return found ? SolverInputs::chemistryWaterOf(*found) : Chemistry::Water();
}

SaltOptions SolverSource::saltOptions() const
{
    return SolverInputs::saltOptionsOf(BaseQueries(m_data.ADOConnection1).options());
}

QStringList SolverSource::leftOut() const
{
    return SolverInputs::leftOutText(m_rowsWithoutFertilizer, m_targetsWithoutElement);
}
