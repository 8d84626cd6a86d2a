#pragma once

#include <QGroupBox>

class DataGrid;
class DataGridColumn;
class Dataset;
class Form4Data;
class QAction;
class QMenu;
class QPushButton;
class QTimer;

// The group "Состав раствора:": the working composition grid with its pop-up menu, the
// buttons "Сохранить" and "Рассчитать >>", and the recalculation timer that an amount edit
// starts. Adding, removing and clearing rows are done here; the window decides when.
class CompositionPane : public QGroupBox
{
    Q_OBJECT

public:
    explicit CompositionPane(Form4Data &calculator, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    QPushButton *calculateButton() const { return m_button4; }
    QPushButton *saveButton() const { return m_button5; }
    QAction *deleteItem() const { return m_n7; } // "Удалить"
    QAction *addItem() const { return m_n8; }    // "Добавить"
    QTimer *timer() const { return m_timer1; }

    // Puts the current fertilizer of `fertilizers` into the composition, unless it is there
    // exactly once; the list returns to that fertilizer. Nothing happens without one.
    void add(Dataset &fertilizers);
    // Deletes the current row, if any, and stands on the last row.
    void removeCurrent();
    // Deletes every row.
    void clear();

    void dxDBGrid2Column2Change();

private:
    void setupGrid();
    void setupMenu();
    void setupButtonBar();

    Form4Data &m_data;
    DataGrid *m_grid = nullptr;
    QMenu *m_popupMenu3 = nullptr;
    QAction *m_n7 = nullptr;
    QAction *m_n8 = nullptr;
    QPushButton *m_button4 = nullptr;
    QPushButton *m_button5 = nullptr;
    QTimer *m_timer1 = nullptr;
};
