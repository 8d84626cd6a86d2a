#pragma once

#include "calc/run/savedsolutions.h"

#include <QGroupBox>

class DataGrid;
class DataGridColumn;
class DataModules;
class DataSpinEdit;
class QAction;
class QMenu;
class Splitter;

// The saved solutions of the selected crop in the calculator: the list of names, the litres
// editor with the mixing order, the composition of the current solution, and their pop-up menus.
// It writes the captions of the composition's litres and percentage columns, in the forms the
// calculation hook, the run and the litres editor give them. What reaches beyond the pane (the
// run, the name dialog, the export of both grids) the window connects to these controls.
class SavedSolutionsPane : public QGroupBox
{
    Q_OBJECT

public:
    explicit SavedSolutionsPane(DataModules &data, QWidget *parent = nullptr);

    // The text of every line of the mixing-order tool-tip, joined by a lone carriage return.
    static QString mixingOrderHint();

    DataGrid *compositionGrid() const { return m_composition; } // dxDBGrid4
    QAction *renameItem() const { return m_n1; }                // "изменить название"
    QAction *exportItem() const { return m_excel1; }            // "Выгрузить в EXCEL"

    // L: the number in the litres editor's text; empty or unreadable is 0.
    double litres() const;

    // An amount or a name still open in a grid's editor is written into its row.
    void commitEditors();

    // The captions as the calculation hook writes them for each row it works out, from the
    // current solution's stored litres and saved percentage as text.
    void showSavedRowCaptions(const QString &storedLitres, const QString &savedPercentage);
    // The caption a run over the saved solution leaves, with the litres it ran with.
    void showRunCaption(double litres);

    // PopupMenu1 of the solution list.
    void N5Click(); // "удалить р-р"
    void N6Click(); // "скопировать р-р"
    // PopupMenu2 of the composition grid.
    void N2Click(); // "Добавить удобрение"
    void N3Click(); // "Удалить удобрение"
    void N4Click(); // "Рассчитать"

    void dxDBGrid5KeyUp();
    void dxDBSpinEdit1Change();

Q_SIGNALS:
    // A click or a key release in the solution list, or "Рассчитать": the window runs the
    // calculation over the current solution.
    void calculateRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *setupNamePane();
    QWidget *setupLitresGroup();
    QWidget *setupCompositionPane();
    QMenu *setupPopupMenu1();
    QMenu *setupPopupMenu2();
    void attachMenu(DataGrid *grid, QMenu *menu);

    DataModules &m_data;
    SavedSolutions m_solutions;
    Splitter *m_splitter = nullptr;
    DataGrid *m_names = nullptr;       // dxDBGrid5
    DataGrid *m_composition = nullptr; // dxDBGrid4
    DataSpinEdit *m_litres = nullptr;  // dxDBSpinEdit1
    QGroupBox *m_litresGroup = nullptr; // GroupBox7
    DataGridColumn *m_perLitres = nullptr;     // dxDBGrid4Column3
    DataGridColumn *m_percent = nullptr;       // dxDBGrid4Column4
    DataGridColumn *m_percentLitres = nullptr; // dxDBGrid4Column5
    QAction *m_n1 = nullptr;
    QAction *m_excel1 = nullptr;
};
