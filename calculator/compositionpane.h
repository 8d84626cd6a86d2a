#pragma once

#include <QGroupBox>

class ActionRow;
class DataGrid;
class DataGridColumn;
class Form4Data;
class QAction;
class QMenu;
class QPushButton;
class QTimer;

// The group "Состав раствора:": the working composition grid with its pop-up menu, the
// buttons "Сохранить" and "Рассчитать >>", under them the row of additions ("Подбор...",
// "Диаграмма", "Баки...", "Ионы..."), and the recalculation timer that an amount edit starts.
// The window connects them; the rows are changed through WorkingComposition.
class CompositionPane : public QGroupBox
{
    Q_OBJECT

public:
    explicit CompositionPane(Form4Data &calculator, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    QPushButton *calculateButton() const { return m_button4; }
    QPushButton *saveButton() const { return m_button5; }
    ActionRow *actionRow() const { return m_actionRow; }
    QPushButton *solveButton() const { return m_solveButton; } // "Подбор..."
    QPushButton *chartButton() const { return m_chartButton; } // "Диаграмма"
    QPushButton *stockButton() const { return m_stockButton; } // "Баки..."
    QPushButton *ionsButton() const { return m_ionsButton; }   // "Ионы..."
    QPushButton *exportRecipeButton() const { return m_exportRecipeButton; } // "Экспорт..."
    QPushButton *importRecipeButton() const { return m_importRecipeButton; } // "Импорт..."
    QAction *deleteItem() const { return m_n7; } // "Удалить"
    QAction *addItem() const { return m_n8; }    // "Добавить"
    QTimer *timer() const { return m_timer1; }

    void dxDBGrid2Column2Change();

    // The caption of the scaled column: Кол-во от p%.
    void setPercentageCaption(int percentage);

private:
    void setupGrid();
    void setupMenu();
    void setupButtonBar();
    void setupActionRow();

    Form4Data &m_data;
    DataGrid *m_grid = nullptr;
    DataGridColumn *m_scaledColumn = nullptr; // dxDBGrid2Column3
    QMenu *m_popupMenu3 = nullptr;
    QAction *m_n7 = nullptr;
    QAction *m_n8 = nullptr;
    QPushButton *m_button4 = nullptr;
    QPushButton *m_button5 = nullptr;
    ActionRow *m_actionRow = nullptr;
    QPushButton *m_solveButton = nullptr;
    QPushButton *m_chartButton = nullptr;
    QPushButton *m_stockButton = nullptr;
    QPushButton *m_ionsButton = nullptr;
    QPushButton *m_exportRecipeButton = nullptr;
    QPushButton *m_importRecipeButton = nullptr;
    QTimer *m_timer1 = nullptr;
};
