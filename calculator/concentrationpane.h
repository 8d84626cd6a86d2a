#pragma once

#include <QList>
#include <QWidget>

class DataGrid;
class Form4Data;
class QLabel;
struct SaltTotals;

// The top of the right half: the concentration grid over the selected crop's target rows and,
// under it, the two salt-total lines (Panel13 in ppm, Panel9 in mg/L), which show the totals
// the engine works out.
class ConcentrationPane : public QWidget
{
    Q_OBJECT

public:
    explicit ConcentrationPane(Form4Data &calculator, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }

    // The captions of the columns scaled to the percentage: В p %, Ц p %, Расчёт от p %.
    void setPercentageCaptions(int percentage);

    // Each total in its label, in the order Label4, Label5, Label9, Label13, Label10, Label11.
    void showSaltTotals(const SaltTotals &totals);

private:
    // A value label of a total line: its name, its colour and where the pane keeps it.
    struct ValueLabel
    {
        QString name;
        int colour;
        QLabel **label;
    };

    void setupGrid(Form4Data &calculator);
    // A 16-px line: a title label, then the value labels.
    QWidget *makeTotalLine(const QString &name, const QString &titleName, const QString &title,
                           const QList<ValueLabel> &values);

    DataGrid *m_grid = nullptr;
    QLabel *m_label4 = nullptr;  // mg/L
    QLabel *m_label13 = nullptr; // mg/L at the percentage
    QLabel *m_label5 = nullptr;  // vegetative targets at the percentage
    QLabel *m_label9 = nullptr;  // flowering targets at the percentage
    QLabel *m_label10 = nullptr; // ppm
    QLabel *m_label11 = nullptr; // ppm at the percentage
};
