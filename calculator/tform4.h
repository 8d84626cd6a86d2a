#pragma once

#include "calc/engine.h"

#include <QWidget>

class ButtonColumn;
class CompositionPane;
class ConcentrationPane;
class CropPane;
class DataModules;
class FertilizerPane;
class PercentageBar;
class Splitter;

// The calculator: the fertilizer list and the working composition on the left with the saved
// solutions under them, the concentration grid with the salt totals on the right, and under it
// the percentage bar and the crops. Each pane is its own class; this window lays them out,
// owns the concentration engine, and runs the handlers that reach across panes or windows.
class TForm4 : public QWidget, public CalculatorView
{
    Q_OBJECT

public:
    explicit TForm4(DataModules &data, QWidget *parent = nullptr);
    // The data modules outlive the window: it takes its hooks off them.
    ~TForm4() override;

    DataModules &data() { return m_data; }
    ConcentrationEngine &engine() { return m_engine; }

    // CalculatorView: what the engine reads from and writes to the window.
    int percentage() const override;                 // RxSlider1's value
    QString litresText() const override;             // the text of dxDBSpinEdit1
    void setColumnCaption(const QString &column, const QString &caption) override;
    void setLabelText(const QString &label, const QString &text) override;

    QString percentageText() const; // Edit2's text

    // Handlers, callable from code. Each throws; events reach them through guarded().
    void Button1Click(); // ">", double-click in the list, "Добавить"
    void Button2Click(); // "<", "Удалить"
    void Button3Click(); // "X"
    void Button4Click(); // "Рассчитать >>"
    void Button5Click(); // "Сохранить"
    void Button6Click(); // "E"
    void Button8Click(); // "U"
    void Button9Click(); // "O"
    void Timer1Timer();
    void FormShow();
    void RzSplitter4Change();
    // Saves the layout, runs the database cycle and applies the autostart rule. False when the
    // cycle failed (the error has been shown): the window stays open.
    bool FormClose();

    // Enables the buttons and menu items from the state of the fertilizer list and the
    // working composition.
    void updateActions();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupPanes();
    QWidget *setupLeftHalf();
    QWidget *setupRightHalf();
    void connectHandlers();
    Splitter *makeSplitter(const QString &name, Qt::Orientation orientation, int barWidth,
                           int position, QWidget *first, QWidget *second);
    // Steps that follow every percentage change: the captions and the refresh.
    void applyPercentage(int percentage);

    DataModules &m_data;
    ConcentrationEngine m_engine;
    FertilizerPane *m_fertilizers = nullptr;
    ButtonColumn *m_buttons = nullptr;
    CompositionPane *m_composition = nullptr;
    ConcentrationPane *m_concentration = nullptr;
    PercentageBar *m_percentage = nullptr;
    CropPane *m_crops = nullptr;
    Splitter *m_rzSplitter4 = nullptr;
};
