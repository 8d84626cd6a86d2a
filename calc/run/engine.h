#pragma once

#include "calculationinputs.h"
#include "concentration.h"
#include "salttotals.h"

#include <QObject>
#include <QString>

class Dataset;
class DataModules;

// The concentration run over the working composition or the current saved solution, its
// rounding, the calculated fields and the salt totals, over the calculator's datasets. It
// speaks in values: a run returns the salt totals it worked out, and what a window shows about
// the saved solution comes out as signals carrying numbers and texts, never as widget names.
class ConcentrationEngine : public QObject
{
    Q_OBJECT

public:
    ConcentrationEngine(DataModules &data, const CalculationInputs &inputs);
    // Takes its hooks off the datasets, which outlive it.
    ~ConcentrationEngine() override;

    // Installs the three calculation hooks on T_rachet, ADOTable2 and T_save_rar.
    void installHooks();

    // The run over the working composition: posts a pending amount, fills the selected crop's
    // target rows, rounds them, returns to the crop and leaves the target rows on their first.
    SaltTotals runComposition();
    // The run over the current saved solution: fills the target rows from its amounts, keeps
    // the crop and the solution current, then reads the solution's rows again.
    SaltTotals runSavedSolution();
    // rachet of every target row of the selected crop to four decimals.
    void roundConcentrations();
    // The six totals of the target rows and the working composition as the options ppm1 and
    // ppm2 ask; both datasets are left on their first rows.
    SaltTotals saltTotals();

    // The calculation hooks, run by the data layer for every row it reads.
    void T_rachetCalcFields(Dataset &ds);
    void ADOTable2CalcFields(Dataset &ds);
    void T_save_rarCalcFields(Dataset &ds);

Q_SIGNALS:
    // T_save_rar's hook worked out a row; the current solution's stored litres and saved
    // percentage as text (empty when not set).
    void savedRowWorkedOut(const QString &storedLitres, const QString &savedPercentage);
    // The run over a saved solution has filled the target rows with L litres in force; the
    // solution's rows are read again right after.
    void savedSolutionRun(double litres);

private:
    // The rows of T_rachet or T_save_rar as the run reads them, with their compositions.
    QList<Concentration::Fertilizer> fertilizersOf(const Dataset &rows);
    // The selected crop's target rows, in the grid's order.
    QList<Concentration::Target> targetsOfCrop() const;
    SaltOptions saltOptions() const;
    // rachet of every target row, in one transaction.
    void store(const QList<double> &concentrations);

    DataModules &m_data;
    const CalculationInputs &m_inputs;
};
