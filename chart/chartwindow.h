#pragma once

#include <QWidget>

class CalculationInputs;
class DataGrid;
class ElementChart;
class Form4Data;

// "Диаграмма": the selected crop's concentration grid as bars, per element "Расчёт при p %"
// against "Вега при p %" and "Цвет при p %", coloured as the grid's columns are. Escape closes it. It reads the target
// rows and works their scaled values out at the calculator's percentage, as the calculation hook
// does; refresh() runs whenever the calculator tells that the grid changed, while it is shown.
class ChartWindow : public QWidget
{
    Q_OBJECT

public:
    ChartWindow(const Form4Data &calculator, const CalculationInputs &inputs,
                const DataGrid &concentrationGrid, QWidget *parent = nullptr);

    ElementChart *chart() const { return m_chart; }

    // Shows the target rows as they are now; nothing while the window is hidden.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    const Form4Data &m_data;
    const CalculationInputs &m_inputs;
    const DataGrid &m_grid;
    ElementChart *m_chart = nullptr;
};
