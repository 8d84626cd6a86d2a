#pragma once

#include "compositionsolver.h"

#include "data/baserows.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class DataModules;

// What the composition solver works on, for the calculator: the working composition as its
// grid holds it and the selected crop, with everything else read by key from the file
// (BaseQueries, SolverInputs). Moves no dataset.
class SolverSource
{
public:
    explicit SolverSource(DataModules &data);

    // The rows of the working composition (an amount still being edited included), each with
    // its fertilizer's composition rows as the concentration run reads them, read afresh from
    // the file. Not fixed, no bound. A row whose fertilizer is not in the base is left out and
    // counted in leftOut().
    QList<SolverProblem::Fertilizer> fertilizers();

    // The selected crop with its targets and properties, as the file holds it now.
    std::optional<BaseRows::Crop> crop();

    // The selected crop's target rows, with the defaults for the stage (SolverDefaults) and no water.
    // A row whose element is not in the base is left out and counted in leftOut().
    QList<SolverProblem::Element> elements(Stage stage);

    // What the readings so far left out, one phrase per kind of row ("строки состава без
    // удобрения: 2"), for SolverProblem::leftOut.
    QStringList leftOut() const;

    struct WaterAnalysis
    {
        QVariant id; // id_voda
        QString name;
    };
    // The stored water analyses, in the order of their list.
    QList<WaterAnalysis> waterAnalyses() const;
    // mg/L per element of an analysis, an element listed twice counted twice; empty for a null
    // key or one that is no longer stored.
    QHash<int, double> water(const QVariant &analysis);
    // The same analysis as the chemistry reads it, with its HCO3 and pH; no water for none.
    Chemistry::Water chemistryWater(const QVariant &analysis);

    // Which salt totals the options row asks for, as the calculator shows them.
    SaltOptions saltOptions() const;

private:
    std::optional<BaseRows::WaterAnalysis> analysis(const QVariant &id);

    DataModules &m_data;
    int m_rowsWithoutFertilizer = 0;
    int m_targetsWithoutElement = 0;
};
