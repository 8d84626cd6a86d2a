#pragma once

#include "calc/solver/compositionsolver.h"
#include "solverchoices.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class CalculationInputs;
class DataModules;
class ElementChart;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class WaterWindow;

// "Подбор состава": the amounts of the working composition's fertilizers that bring the
// selected crop closest to its targets. The grower picks the stage, the water, each element's
// mode, keeps amounts or bounds them; "Подобрать" solves (calc/solver/compositionsolver.h) and
// shows the amounts, each element's result and deviation, the salt totals and a chart of target
// against result; "Применить" writes the amounts into the same rows of the working composition
// and asks the calculator to press "Рассчитать >>"; "Закрыть" writes nothing. Application
// modal, so that the composition and the crop stay as they were while it is open.
class SolverDialog : public QDialog
{
    Q_OBJECT

public:
    SolverDialog(DataModules &data, const CalculationInputs &inputs, SolverChoices &choices,
                 QWidget *parent = nullptr);

    static QString modeText(ElementMode mode);

    // Handlers; each throws, the events reach them through guarded().
    void SolveButtonClick();      // "Подобрать"
    void ApplySolveButtonClick(); // "Применить"
    void WaterButtonClick();      // "Анализ воды..."

    // The last answer, while the conditions it was found for stand.
    const std::optional<SolverResult> &result() const { return m_result; }

Q_SIGNALS:
    // The amounts are in the working composition: "Рассчитать >>" is due.
    void applied();

private:
    QWidget *setupChoices();
    QWidget *setupElementGrid();
    QWidget *setupFertilizerGrid();
    QWidget *setupButtons();

    // The problem as the grids and boxes state it now, read afresh from the base.
    SolverProblem problem();
    void fillElements();
    void fillFertilizers();
    void fillWaterBox();
    void readWater();
    // The conditions changed: the answer shown no longer holds.
    void conditionsChanged();
    void showResult();
    void showChart();

    DataModules &m_data;
    const CalculationInputs &m_inputs;
    SolverChoices &m_choices;
    QList<SolverProblem::Element> m_elements;
    QStringList m_elementsLeftOut; // target rows without an element
    QList<SolverProblem::Fertilizer> m_fertilizers;
    SolverProblem m_solved; // what the last answer was found for
    std::optional<SolverResult> m_result;
    bool m_filling = false;

    QComboBox *m_stage = nullptr;
    QComboBox *m_water = nullptr;
    QTableWidget *m_elementGrid = nullptr;
    QTableWidget *m_fertilizerGrid = nullptr;
    ElementChart *m_chart = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_totals = nullptr;
    QPushButton *m_apply = nullptr;
    QPointer<WaterWindow> m_waterWindow;
};
