#include "solverlauncher.h"

#include "solverdialog.h"

#include "data/datamodules.h"

SolverLauncher::SolverLauncher(DataModules &data, const CalculationInputs &inputs,
                               QWidget *calculator)
    : QObject(calculator), m_data(data), m_inputs(inputs), m_calculator(calculator)
{
}

void SolverLauncher::open()
{
    // Another seat may have changed the water analyses since they were read.
    for (Dataset *ds : {&m_data.own.T_voda, &m_data.own.T_sostav_vody}) {
        if (ds->isActive())
            ds->refresh();
    }
    auto *dialog = new SolverDialog(m_data, m_inputs, m_choices, m_calculator);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &SolverDialog::applied, this, &SolverLauncher::applied);
    dialog->show();
}
