#pragma once

#include <QGroupBox>

class DataGrid;
class DataGridColumn;
class DataModules;
class DataSpinEdit;
class QMenu;
class Splitter;
class TForm4;

// The saved solutions of the selected crop in the calculator: the list of names, the litres
// editor with the mixing order, the composition of the current solution, and their pop-up menus.
class SavedSolutionsPane : public QGroupBox
{
    Q_OBJECT

public:
    SavedSolutionsPane(DataModules &data, TForm4 &form, QWidget *parent = nullptr);

    // The text of every line of the mixing-order tool-tip, joined by a lone carriage return.
    static QString mixingOrderHint();

    // PopupMenu1 of the solution list.
    void N1Click(); // "изменить название"
    void N5Click(); // "удалить р-р"
    void N6Click(); // "скопировать р-р"
    // PopupMenu2 of the composition grid.
    void N2Click(); // "Добавить удобрение"
    void N3Click(); // "Удалить удобрение"
    void N4Click(); // "Рассчитать"
    void EXCEL1Click(); // "Выгрузить в EXCEL"

    void dxDBGrid5Click();
    void dxDBGrid5KeyUp();
    void dxDBSpinEdit1Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *setupNamePane();
    QWidget *setupLitresGroup();
    QWidget *setupCompositionPane();
    QMenu *setupPopupMenu1();
    QMenu *setupPopupMenu2();
    void attachMenu(DataGrid *grid, QMenu *menu);
    void commitEditors();

    DataModules &m_data;
    TForm4 &m_form;
    Splitter *m_splitter = nullptr;
    DataGrid *m_names = nullptr;       // dxDBGrid5
    DataGrid *m_composition = nullptr; // dxDBGrid4
    DataSpinEdit *m_litres = nullptr;  // dxDBSpinEdit1
    QGroupBox *m_litresGroup = nullptr; // GroupBox7
    DataGridColumn *m_perLitres = nullptr;     // dxDBGrid4Column3
    DataGridColumn *m_percentLitres = nullptr; // dxDBGrid4Column5
};
