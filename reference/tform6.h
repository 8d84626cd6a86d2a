#pragma once

#include <QWidget>

class DataGrid;
class DataModules;
class LookupComboBox;
class NavBar;

// "Спарвочник коэффициентов": the conversion coefficients from an oxide to an element. It owns
// no dataset: the grid and the bar work on the element window's T_KOF, and the element picker
// lists the calculator's T_el (the non-oxide elements as that snapshot last read them).
// Closing it only hides it: no layout, no database cycle.
class TForm6 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm6(DataModules &data, QWidget *parent = nullptr);

    // "выход"; throws, the event reaches it through guarded().
    void Button1Click();

private:
    QWidget *setupBottomBar();
    QWidget *setupGroup();
    QWidget *setupPicker(QWidget *parent);
    QWidget *setupWarning(QWidget *parent);

    DataModules &m_data;
    DataGrid *m_grid = nullptr;
    NavBar *m_navigator = nullptr;
    LookupComboBox *m_picker = nullptr;
};
