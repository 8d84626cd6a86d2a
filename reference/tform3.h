#pragma once

#include <QWidget>

#include <functional>

class DataGrid;
class DataModules;
class NavBar;
class QPushButton;

// "Справочник элементов": the elements and the oxides in which fertilizer labels state some
// contents, over T_Element; it also owns T_KOF, which the coefficient window edits. The
// start-up code opens both datasets right after creating this window.
class TForm3 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm3(DataModules &data, QWidget *parent = nullptr);

    // The database cycle closing runs: false when it failed (the error has been shown) and
    // the window must stay open. Without one, closing only hides the window.
    void setDatabaseCycle(std::function<bool()> cycle) { m_databaseCycle = std::move(cycle); }

    // The handlers, named after the controls they were first bound to; each throws, the events
    // reach them through guarded().
    void Button2Click(); // "удалить": delete the current element, never a key element
    void Button3Click(); // "коэффициэнты": the coefficient window
    void Button1Click(); // "выход"
    // The database cycle; false when it failed and the window must stay open.
    bool FormClose();

    // Elements 1 to 6 are the key elements the delete button refuses.
    static constexpr int FirstKeyElement = 1;
    static constexpr int LastKeyElement = 6;

Q_SIGNALS:
    // "коэффициэнты": the coefficient window is shown.
    void coefficientsRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *setupButtonBar(QWidget *parent);
    DataGrid *setupGrid(QWidget *parent);

    DataModules &m_data;
    std::function<bool()> m_databaseCycle;
    NavBar *m_navigator = nullptr;
    DataGrid *m_grid = nullptr;
};
