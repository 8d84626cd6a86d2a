#pragma once

#include "calc/solver/solverchoices.h"
#include "calc/solver/solversession.h"
#include "calc/solver/solversource.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class CalculationInputs;
class DataModules;
class ElementChart;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QLabel;
class QPushButton;
class SolverGrid;
class WaterWindow;

// "Подбор состава": the amounts of the working composition's fertilizers that bring the
// selected crop closest to its targets. A view over a SolverSession (calc/solver/), which holds
// the choices, the answer and its words: the grower picks the stage, the water, each element's
// mode, keeps amounts or bounds them; "Подобрать" solves and shows the amounts, each element's
// result and deviation, the salt totals and a chart of target against result; "Применить"
// writes the amounts into the same rows of the working composition and asks the calculator to
// press "Рассчитать >>"; "Закрыть" writes nothing. Application modal, so that the composition
// and the crop stay as they were while it is open.
class SolverDialog : public QDialog
{
    Q_OBJECT

public:
    SolverDialog(DataModules &data, const CalculationInputs &inputs, SolverChoices &choices,
                 QWidget *parent = nullptr);

    // Handlers; each throws, the events reach them through guarded().
    void SolveButtonClick();      // "Подобрать"
    void ApplySolveButtonClick(); // "Применить"
    void WaterButtonClick();      // "Анализ воды..."

    // The last answer, while the conditions it was found for stand.
    const std::optional<SolverResult> &result() const { return m_session.result(); }

Q_SIGNALS:
    // The amounts are in the working composition: "Рассчитать >>" is due.
    void applied();

private:
    QWidget *setupChoices();
    QWidget *setupChemistry(); // the ammonium share, the EC and "По EC"
    QWidget *setupGrids();
    QWidget *setupButtons();

    void fillWaterBox();
    // The session changed: what is not a grid follows it.
    void showSession();
    void showChart();
    // The ammonium share, the EC and "По EC" as the session holds them.
    void showFigures();

    DataModules &m_data;
    const CalculationInputs &m_inputs;
    SolverSource m_source;
    SolverSession m_session;

    QComboBox *m_stage = nullptr;
    QComboBox *m_water = nullptr;
    SolverGrid *m_elementGrid = nullptr;
    SolverGrid *m_fertilizerGrid = nullptr;
    ElementChart *m_chart = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_totals = nullptr;
    QLabel *m_chemistry = nullptr;
    QLineEdit *m_nh4 = nullptr;
    QLineEdit *m_ec = nullptr;
    QCheckBox *m_byEc = nullptr;
    QPushButton *m_apply = nullptr;
    QPointer<WaterWindow> m_waterWindow;
};
