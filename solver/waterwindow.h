#pragma once

#include "ui/grid/navbar.h"
#include "ui/pendingrows.h"

#include <QWidget>

class DataGrid;
class DataModules;
class QPushButton;

// "Анализ воды": the stored water analyses (a name each) and the mg/L of their elements, each
// list with its navigation bar. The element picker lists the calculator's non-oxide elements
// (T_el). As in the fertilizer window, turning to the element rows (a click, Tab, the "+")
// stores a new analysis first, so that its rows carry its key; without any analysis there are
// no rows to type, and a row without an analysis or an element is refused. Closing (also by
// Escape) writes what is still pending; the datasets are the solver data module's and take part
// in the database cycle. Tab leaves each grid.
class WaterWindow : public QWidget, public PendingRows
{
    Q_OBJECT

public:
    explicit WaterWindow(DataModules &data, QWidget *parent = nullptr);

    // Posts the pending edits; false when a post failed (the error has been shown) and the
    // window must stay open.
    bool FormClose();
    bool postPendingRows() override { return FormClose(); }
    // A click in the element rows: a new or changed analysis is stored first.
    void WaterElementGridClick();
    // The element rows' navigation bar acted.
    void WaterElementNavigatorClick(NavButton button);

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *setupAnalyses();
    QWidget *setupElements();
    void updateActions();
    // Stores the current analysis if it is new or changed; true when it did.
    bool postPendingAnalysis();

    DataModules &m_data;
    DataGrid *m_analyses = nullptr;
    DataGrid *m_elements = nullptr;
    NavBar *m_analysisBar = nullptr;
    NavBar *m_elementBar = nullptr;
};
