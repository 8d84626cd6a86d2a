#pragma once

#include "calc/chemistry/analysis.h"
#include "calc/chemistry/targetbalance.h"
#include "calc/ions/ioninputs.h"
#include "calc/run/recipe.h"

#include "ui/pendingrows.h"

#include <QWidget>

#include <optional>

class CalculationInputs;
class DataGrid;
class DataModules;
class IonTableModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class SourceBox;
class WaterBox;

// "Ионный состав": the working composition at the slider's percentage, or the current saved
// solution at its own, with a water analysis, as ions (mg/L, mmol/L, meq/L) with their balance,
// the EC a meter reads at 25 °C beside the crop's target, the pH estimate, the ammonium share,
// the ratios growers steer by, whether the crop's targets can be met by salts at all, and the
// acid the water's alkalinity needs, which "В состав" puts into the working composition. The
// crop's EC targets and ammonium share, and the chemistry of the recipe's fertilizers (the form
// of plain N, acid, strength, density), are edited here.
//
// It follows what it is made of as the stock window does: every change of the composition, of
// the saved solution, the crop, a property or the water works it out again once the events in
// hand are done (refresh() directly for a run or a percentage), and only while it is shown.
class IonsWindow : public QWidget, public PendingRows
{
    Q_OBJECT

public:
    IonsWindow(DataModules &data, const CalculationInputs &calculator, QWidget *parent = nullptr);

    // What the window shows; none when nothing could be worked out (the labels say why).
    const std::optional<Chemistry::Analysis> &analysis() const { return m_analysis; }
    const std::optional<Chemistry::TargetBalance> &targetBalance() const { return m_targets; }
    // The recipe the source box names.
    Recipe recipe() const;

    // Works everything out again from the base; nothing while the window is hidden.
    void refresh();

    // Handlers, callable from code; events reach them through guarded().
    void TargetPhEditExit();
    void CropFigureExit(QLineEdit *edit);
    void AddAcidButtonClick(); // "В состав"

    bool postPendingRows() override;

Q_SIGNALS:
    // "В состав" changed the working composition: the calculator runs it.
    void runRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *setupTopBar();
    QWidget *setupIons();
    QWidget *setupSolution();
    QWidget *setupCrop();
    QWidget *setupAcid();
    QWidget *setupProperties();
    void connectData();
    void scheduleRefresh();
    std::optional<int> currentCrop() const;
    double targetPh() const;
    void fillAcids();
    void showCrop(const std::optional<BaseRows::Crop> &crop);
    void showAnalysis(const Chemistry::Analysis &a, const std::optional<BaseRows::Crop> &crop);
    void showAcid(const Chemistry::Analysis &a, const Chemistry::Recipe &recipe);
    void showNothing(const QString &why);
    const IonInputs::Acid *chosenAcid() const;

    DataModules &m_data;
    const CalculationInputs &m_calculator;
    std::optional<Chemistry::Analysis> m_analysis;
    std::optional<Chemistry::TargetBalance> m_targets;
    QList<IonInputs::Acid> m_acids;
    std::optional<int> m_shownCrop;
    QTimer *m_refreshTimer = nullptr;

    SourceBox *m_sourceBox = nullptr;
    WaterBox *m_waterBox = nullptr;
    QComboBox *m_stageBox = nullptr;
    QTableView *m_ionGrid = nullptr;
    IonTableModel *m_ionModel = nullptr;
    QLabel *m_unmappedLabel = nullptr;
    QLabel *m_balanceLabel = nullptr;
    QLabel *m_ecLabel = nullptr;
    QLabel *m_phLabel = nullptr;
    QLabel *m_nh4Label = nullptr;
    QLabel *m_ratioLabel = nullptr;
    QLabel *m_cropLabel = nullptr;
    QLabel *m_targetBalanceLabel = nullptr;
    QLineEdit *m_ecVegaEdit = nullptr;
    QLineEdit *m_ecCvetEdit = nullptr;
    QLineEdit *m_nh4ShareEdit = nullptr;
    QComboBox *m_acidBox = nullptr;
    QLineEdit *m_targetPhEdit = nullptr;
    QLabel *m_acidLabel = nullptr;
    QPushButton *m_addAcidButton = nullptr;
    DataGrid *m_propertiesGrid = nullptr;
};
