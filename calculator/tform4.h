#pragma once

#include "calc/run/engine.h"
#include "calc/run/workingcomposition.h"
#include "compositionsource.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class ButtonColumn;
class CompositionPane;
class ConcentrationPane;
class CropPane;
class DataGrid;
class DataModules;
class FertilizerPane;
class PercentageBar;
class SavedSolutionsPane;
class Splitter;
class TForm5;

// The calculator: the fertilizer list and the working composition on the left with the saved
// solutions under them, the concentration grid with the salt totals on the right, and under it
// the percentage bar and the crops. Each pane is its own class; this window lays them out,
// owns the concentration engine, gives it the percentage and the litres, shows what it
// returns, and runs the handlers that reach across panes or windows. Other windows it reaches
// through what the application wires at start-up: the name dialog, the database cycle and the
// signals below.
class TForm4 : public QWidget, public CalculationInputs, public CompositionSource
{
    Q_OBJECT

public:
    explicit TForm4(DataModules &data, QWidget *parent = nullptr);

    DataModules &data() { return m_data; }
    ConcentrationEngine &engine() { return m_engine; }
    // The concentration grid, which the chart window draws.
    const DataGrid &concentrationGrid() const;

    // The name dialog that "Сохранить" and "изменить название" show.
    void setNameDialog(TForm5 *dialog);
    // The database cycle closing runs: false when it failed (the error has been shown) and
    // the window must stay open. Without one, closing only hides the window.
    void setDatabaseCycle(std::function<bool()> cycle) { m_databaseCycle = std::move(cycle); }
    // Label6: the fertilizer window's count of the shared list.
    void setFertilizerCount(int count);

    // CalculationInputs: RxSlider1's value, the number in dxDBSpinEdit1's text.
    int percentage() const override;
    double litres() const override;
    // CompositionSource: Edit2's text, the composition grid's open editor.
    QString percentageText() const override;
    void commitCompositionEditor() override;

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
    // The run over the current saved solution: a click or a key release in the solution
    // list, "Рассчитать".
    void dxDBGrid5Click();
    void N1Click();     // "изменить название"
    void EXCEL1Click(); // "Выгрузить в EXCEL"
    void ButtonSolveClick(); // "Подбор...": asks for the dialog "Подбор состава"
    void ButtonChartClick(); // "Диаграмма": asks for the chart window
    void ButtonStockClick(); // "Баки..."
    void ButtonIonsClick();  // "Ионы...": asks for the ion window
    void ButtonExportRecipeClick(); // "Экспорт...": asks for the recipe export
    void ButtonImportRecipeClick(); // "Импорт...": asks for the recipe import
    void UpdateSaltTotals();
    void RoundCalculatedConcentrations();
    // Presses "Рассчитать >>", as the recalculation tick and the solver's "Применить" do.
    void pressCalculate();

    // Enables the buttons and menu items from the state of the fertilizer list and the
    // working composition.
    void updateActions();

Q_SIGNALS:
    void elementsRequested();        // "E": the main window's "Элементы" is pressed
    void fertilizersRequested();     // "U": the main window's "Удобрения" is pressed
    void optionsRequested();         // "O": the options window is shown
    void stockRequested();           // "Баки...": the stock tanks' window is shown
    void solverRequested();          // "Подбор...": the dialog "Подбор состава" is opened
    void chartRequested();           // "Диаграмма": the chart window is shown
    void ionsRequested();            // "Ионы...": the ion window is shown
    void recipeExportRequested();    // "Экспорт...": a recipe file is written
    void recipeImportRequested();    // "Импорт...": a recipe file is read, previewed, imported
    // Closed, the database cycle done: the windows that show this one's grids go with it.
    void closed();
    void mainWindowCloseRequested(); // closed while autostart is set: the program ends
    // What the concentration grid shows may have changed: a run, a change of the percentage,
    // another crop or saved solution, a target typed, the tables reopened.
    void concentrationsChanged();

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
    void showSaltTotals(const SaltTotals &totals);

    DataModules &m_data;
    ConcentrationEngine m_engine;
    WorkingComposition m_workingComposition;
    QPointer<TForm5> m_nameDialog;
    std::function<bool()> m_databaseCycle;
    FertilizerPane *m_fertilizers = nullptr;
    ButtonColumn *m_buttons = nullptr;
    CompositionPane *m_composition = nullptr;
    SavedSolutionsPane *m_saved = nullptr;
    ConcentrationPane *m_concentration = nullptr;
    PercentageBar *m_percentage = nullptr;
    CropPane *m_crops = nullptr;
    Splitter *m_rzSplitter4 = nullptr;
};
