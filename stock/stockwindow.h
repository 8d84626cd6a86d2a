#pragma once

#include "calc/run/recipe.h"
#include "calc/stock/stockplan.h"
#include "calc/stock/stockplanning.h"
#include "calc/stock/stocksheet.h"

#include "ui/pendingrows.h"

#include <QWidget>

#include <optional>

class CalculationInputs;
class DataGrid;
class DataModules;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QTableView;
class QTimer;
class QVBoxLayout;
class StockTankModel;

// "Маточные растворы": the working composition or the current saved solution planned into
// stock tanks A and B (and the fertilizers that need a tank of their own) at the factor K and
// the tank volume V, with the solubility and cost of each, the warnings, the properties of the
// recipe's fertilizers, the worksheet and the printed sheet.
//
// The plan follows what it is made of: a change of the working composition, of the current
// saved solution or of a property plans again once the events in hand are done, and so does
// the database cycle, after which every dataset is open again. A K or V that is no number
// plans nothing; the error box tells so when the grower leaves the edit, and the export and the
// print refuse it with the same text. Escape closes it as its close box does; Tab leaves each
// grid and the list.
class StockWindow : public QWidget, public PendingRows
{
    Q_OBJECT

public:
    // `calculator` gives the percentage of the working composition (the slider).
    StockWindow(DataModules &data, const CalculationInputs &calculator, QWidget *parent = nullptr);
    ~StockWindow() override;

    static inline const QString ExportFile = QStringLiteral("Маточные растворы.xls");

    // What the grids show; empty when nothing is planned.
    const Stock::Plan &plan() const { return m_plan; }
    bool hasPlan() const { return m_planned; }
    // The recipe the source box names, and the heading the printed sheet gives it.
    Recipe recipe() const;
    StockSheet::Heading heading() const;

    // Handlers, callable from code; events reach them through guarded().
    void SourceBoxChange();
    void FactorEditChange();
    void TankEditChange();
    void FactorEditExit();
    void TankEditExit();
    void ButtonExportClick(); // "Выгрузить"
    void ButtonPrintClick();  // "Печать": Qt's print dialog, which also prints to PDF

    // The sheet onto a printer of any kind, a PDF file included.
    void printSheet(QPrinter &printer);

    // Plans now from the datasets and the edits; nothing while the window is hidden.
    void replan();

    // A property still in its editor or its row is written, as closing the window does.
    bool postPendingRows() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupInputBar();
    void setupBody();
    void setupPropertiesGrid(QVBoxLayout *side);
    void connectData();
    void scheduleReplan();
    void updateSources();
    bool savedSource() const;
    bool datasetsOpen() const;
    void postFinishedPropertyEdit();
    // K and V as typed; the same errors the edits give.
    void requireInputs() const;
    void showPlan();
    QTableView *makeTankGrid(const QString &name, const QString &title, StockTankModel **model,
                             QGroupBox **group);

    DataModules &m_data;
    const CalculationInputs &m_calculator;
    StockPlanning m_planning;
    Stock::Plan m_plan;
    bool m_planned = false;
    std::optional<int> m_factor = Stock::DefaultFactor;
    std::optional<double> m_litres = Stock::DefaultLitres;
    QTimer *m_replanTimer = nullptr;

    QComboBox *m_sourceBox = nullptr;
    QLineEdit *m_factorEdit = nullptr;
    QLineEdit *m_tankEdit = nullptr;
    QPushButton *m_exportButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QTableView *m_tankGrids[3] = {};
    StockTankModel *m_tankModels[3] = {};
    QGroupBox *m_tankGroups[3] = {};
    QLabel *m_costLabel = nullptr;
    QLabel *m_solubilityLegend = nullptr;
    QListWidget *m_warningList = nullptr;
    DataGrid *m_propertiesGrid = nullptr;
};
