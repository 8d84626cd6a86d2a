#pragma once

#include "calc/solver/solverchoices.h"

#include <QObject>

class CalculationInputs;
class DataModules;
class QWidget;

// Opens "Подбор состава" over the calculator, a new dialog each time, read afresh, and keeps the
// grower's choices from one opening to the next.
class SolverLauncher : public QObject
{
    Q_OBJECT

public:
    // The dialogs are children of `calculator`, whose composition and crop they solve for.
    SolverLauncher(DataModules &data, const CalculationInputs &inputs, QWidget *calculator);

    void open();

Q_SIGNALS:
    // A dialog's amounts are in the working composition: "Рассчитать >>" is due.
    void applied();

private:
    DataModules &m_data;
    const CalculationInputs &m_inputs;
    QWidget *m_calculator;
    SolverChoices m_choices;
};
