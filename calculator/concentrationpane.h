#pragma once

#include <QList>
#include <QWidget>

#include <utility>

class DataGrid;
class Form4Data;

// The top of the right half: the concentration grid over the selected crop's target rows and,
// under it, the two salt-total lines (Panel13 in ppm, Panel9 in mg/L). The totals' labels are
// written by the engine.
class ConcentrationPane : public QWidget
{
    Q_OBJECT

public:
    explicit ConcentrationPane(Form4Data &calculator, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }

    // The captions of the columns scaled to the percentage: В p %, Ц p %, Расчёт от p %.
    void setPercentageCaptions(int percentage);

private:
    void setupGrid(Form4Data &calculator);
    // A 16-px line: a title label, then value labels of the given names and colours.
    QWidget *makeTotalLine(const QString &name, const QString &titleName, const QString &title,
                           const QList<std::pair<QString, int>> &values);

    DataGrid *m_grid = nullptr;
};
