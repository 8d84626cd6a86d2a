#include "solverlauncher.h"

#include "solverdialog.h"

SolverLauncher::SolverLauncher(DataModules &data, const CalculationInputs &inputs,
                               QWidget *calculator)
    : QObject(calculator), m_data(data), m_inputs(inputs), m_calculator(calculator)
{
}

void SolverLauncher::open()
{
    auto *dialog = new SolverDialog(m_data, m_inputs, m_choices, m_calculator);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &SolverDialog::applied, this, &SolverLauncher::applied);
    dialog->show();
}
