#include "tform4.h"

#include "buttoncolumn.h"
#include "calculatorlook.h"
#include "compositionpane.h"
#include "concentrationpane.h"
#include "croppane.h"
#include "fertilizerpane.h"
#include "percentagebar.h"
#include "savedsolutionspane.h"
#include "tform5.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "export/gridexport.h"
#include "ui/color/widgetcolour.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/messages.h"
#include "ui/splitter.h"
#include "ui/windowfont.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int BuiltWidth = 943;
constexpr int BuiltHeight = 725;

} // namespace

TForm4::TForm4(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data), m_engine(data, *this),
      m_workingComposition(data.form4)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Калькулятор v1.2"));
    setFont(windowFont());
    setupPanes();
    connectHandlers();
    m_engine.installHooks();

    resize(BuiltWidth, BuiltHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    updateActions();
}

// ---------------------------------------------------------------- building

void TForm4::setupPanes()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeSplitter(QStringLiteral("RzSplitter1"), Qt::Horizontal, 7, 475,
                                   setupLeftHalf(), setupRightHalf()));
}

QWidget *TForm4::setupLeftHalf()
{
    auto *listSide = new QWidget;
    listSide->setObjectName(QStringLiteral("FertilizerSide"));
    auto *row = new QHBoxLayout(listSide);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_fertilizers = new FertilizerPane(m_data.form2, listSide);
    m_buttons = new ButtonColumn(listSide);
    row->addWidget(m_fertilizers, 1);
    row->addWidget(m_buttons);

    m_composition = new CompositionPane(m_data.form4);
    m_rzSplitter4 = makeSplitter(QStringLiteral("RzSplitter4"), Qt::Horizontal, 6, 281, listSide,
                                 m_composition);

    m_saved = new SavedSolutionsPane(m_data);
    return makeSplitter(QStringLiteral("RzSplitter2"), Qt::Vertical, 7, 431, m_rzSplitter4, m_saved);
}

QWidget *TForm4::setupRightHalf()
{
    auto *group = new QGroupBox(QStringLiteral("Концентрация элементов: мг/л."));
    group->setObjectName(QStringLiteral("GroupBox3"));
    m_concentration = new ConcentrationPane(m_data.form4);

    auto *cropGroup = new QGroupBox(QStringLiteral("Культура:"));
    cropGroup->setObjectName(QStringLiteral("GroupBox4"));
    auto *cropLayout = new QVBoxLayout(cropGroup);
    cropLayout->setContentsMargins(2, 2, 2, 2);
    cropLayout->setSpacing(0);
    m_percentage = new PercentageBar([this](int p) { applyPercentage(p); }, cropGroup);
    m_crops = new CropPane(m_data.form4, m_data.form3, cropGroup);
    cropLayout->addWidget(m_percentage);
    cropLayout->addWidget(m_crops, 1);

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(2, 2, 2, 2);
    groupLayout->addWidget(makeSplitter(QStringLiteral("RzSplitter5"), Qt::Vertical, 6, 416,
                                        m_concentration, cropGroup));
    return group;
}

Splitter *TForm4::makeSplitter(const QString &name, Qt::Orientation orientation, int barWidth,
                               int position, QWidget *first, QWidget *second)
{
    auto *splitter = new Splitter(name, orientation, barWidth, position);
    splitter->addWidget(first);
    splitter->addWidget(second);
    // The bar keeps its distance from the left or top edge when the window is resized.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    QSplitterHandle *bar = splitter->handle(1);
    bar->setToolTip(QStringLiteral("Изменить размер"));
    WidgetColour::setBackground(bar, WinColor::clMedGray);
    return splitter;
}

void TForm4::connectHandlers()
{
    auto on = [this](auto *sender, auto signal, void (TForm4::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(m_buttons->addButton(), &QPushButton::clicked, &TForm4::Button1Click);
    on(m_buttons->removeButton(), &QPushButton::clicked, &TForm4::Button2Click);
    on(m_buttons->clearButton(), &QPushButton::clicked, &TForm4::Button3Click);
    on(m_buttons->elementsButton(), &QPushButton::clicked, &TForm4::Button6Click);
    on(m_buttons->fertilizersButton(), &QPushButton::clicked, &TForm4::Button8Click);
    on(m_buttons->optionsButton(), &QPushButton::clicked, &TForm4::Button9Click);
    on(m_fertilizers, &FertilizerPane::addRequested, &TForm4::Button1Click);
    on(m_composition->addItem(), &QAction::triggered, &TForm4::Button1Click);   // N8Click
    on(m_composition->deleteItem(), &QAction::triggered, &TForm4::Button2Click); // N7Click
    on(m_composition->calculateButton(), &QPushButton::clicked, &TForm4::Button4Click);
    on(m_composition->saveButton(), &QPushButton::clicked, &TForm4::Button5Click);
    on(m_composition->solveButton(), &QPushButton::clicked, &TForm4::ButtonSolveClick);
    on(m_composition->chartButton(), &QPushButton::clicked, &TForm4::ButtonChartClick);
    on(m_composition->stockButton(), &QPushButton::clicked, &TForm4::ButtonStockClick);
    on(m_composition->ionsButton(), &QPushButton::clicked, &TForm4::ButtonIonsClick);
    on(m_composition->exportRecipeButton(), &QPushButton::clicked, &TForm4::ButtonExportRecipeClick);
    on(m_composition->importRecipeButton(), &QPushButton::clicked, &TForm4::ButtonImportRecipeClick);
    on(m_composition->timer(), &QTimer::timeout, &TForm4::Timer1Timer);
    on(m_rzSplitter4, &Splitter::positionChanged, &TForm4::RzSplitter4Change);
    on(m_saved, &SavedSolutionsPane::calculateRequested, &TForm4::dxDBGrid5Click);
    on(m_saved->renameItem(), &QAction::triggered, &TForm4::N1Click);
    on(m_saved->exportItem(), &QAction::triggered, &TForm4::EXCEL1Click);
    // What the engine works out about the saved solution, the pane turns into its captions.
    connect(&m_engine, &ConcentrationEngine::savedRowWorkedOut, m_saved,
            &SavedSolutionsPane::showSavedRowCaptions);
    connect(&m_engine, &ConcentrationEngine::savedSolutionRun, m_saved,
            &SavedSolutionsPane::showRunCaption);

    // Runs and percentage changes end by showing the totals; the rest the grid's binding tells.
    Binding &grid = m_data.form4.DataSource2;
    for (auto signal : {&Binding::reset, &Binding::valuesChanged, &Binding::stateChanged})
        connect(&grid, signal, this, &TForm4::concentrationsChanged);
    for (auto signal : {&Binding::rowChanged, &Binding::rowInserted, &Binding::rowRemoved})
        connect(&grid, signal, this, &TForm4::concentrationsChanged);

    for (Binding *b : {&m_data.form2.DS_UDobRA, &m_data.form4.DS_rachet}) {
        connect(b, &Binding::reset, this, &TForm4::updateActions);
        connect(b, &Binding::rowInserted, this, &TForm4::updateActions);
        connect(b, &Binding::rowRemoved, this, &TForm4::updateActions);
        connect(b, &Binding::currentChanged, this, &TForm4::updateActions);
    }
}

void TForm4::updateActions()
{
    const Dataset &list = m_data.form2.T_Udobra;
    const Dataset &composition = m_data.form4.T_rachet;
    const bool fertilizer = list.isActive() && list.currentRow() >= 0;
    const bool rows = composition.isActive() && !composition.isEmpty();
    m_buttons->addButton()->setEnabled(fertilizer);
    m_composition->addItem()->setEnabled(fertilizer);
    m_buttons->removeButton()->setEnabled(rows);
    m_composition->deleteItem()->setEnabled(rows);
    m_buttons->clearButton()->setEnabled(rows);
}

// ---------------------------------------------------------------- inputs

int TForm4::percentage() const
{
    return m_percentage->value();
}

double TForm4::litres() const
{
    return m_saved->litres();
}

QString TForm4::percentageText() const
{
    return m_percentage->text();
}

void TForm4::commitCompositionEditor()
{
    m_composition->grid()->commitEditor();
}

void TForm4::setNameDialog(TForm5 *dialog)
{
    m_nameDialog = dialog;
}

void TForm4::setFertilizerCount(int count)
{
    m_fertilizers->setCount(count);
}

// ---------------------------------------------------------------- handlers

void TForm4::Button1Click()
{
    m_workingComposition.add(m_data.form2.T_Udobra);
}

void TForm4::Button2Click()
{
    m_workingComposition.removeCurrent();
}

void TForm4::Button3Click()
{
    m_workingComposition.clear();
}

void TForm4::Button4Click()
{
    showSaltTotals(m_engine.runComposition());
}

void TForm4::Button5Click()
{
    if (m_nameDialog)
        m_nameDialog->showToSave();
}

void TForm4::Button6Click()
{
    Q_EMIT elementsRequested();
}

void TForm4::Button8Click()
{
    Q_EMIT fertilizersRequested();
}

void TForm4::Button9Click()
{
    Q_EMIT optionsRequested();
}

void TForm4::dxDBGrid5Click()
{
    m_saved->commitEditors();
    showSaltTotals(m_engine.runSavedSolution());
}

void TForm4::N1Click()
{
    if (!m_nameDialog)
        return;
    const Dataset &head = m_data.form4.T_HEAD_RAR;
    m_nameDialog->showToRename(head.isActive() ? head.asString(Fields::name_rar) : QString());
}

void TForm4::EXCEL1Click()
{
    m_saved->commitEditors();
    GridExport::write(*m_saved->compositionGrid(), QStringLiteral("Состав р-ра.xls"));
    GridExport::write(*m_concentration->grid(), QStringLiteral("Концентрация р-ра.xls"));
    Messages::ask({QStringLiteral("Выгруженно."), QStringLiteral("Инфо"), BoxIcon::None,
                   {BoxButton::Ok}});
}

void TForm4::ButtonStockClick()
{
    m_data.requireOwnTables();
    Q_EMIT stockRequested();
}

void TForm4::ButtonIonsClick()
{
    Q_EMIT ionsRequested();
}

void TForm4::ButtonExportRecipeClick()
{
    commitCompositionEditor();
    m_saved->commitEditors();
    Q_EMIT recipeExportRequested();
}

void TForm4::ButtonImportRecipeClick()
{
    Q_EMIT recipeImportRequested();
}

void TForm4::UpdateSaltTotals()
{
    showSaltTotals(m_engine.saltTotals());
}

void TForm4::RoundCalculatedConcentrations()
{
    m_engine.roundConcentrations();
}

void TForm4::ButtonSolveClick()
{
    m_data.requireOwnTables();
    // The amounts as typed are the current ones the dialog may keep.
    m_composition->grid()->commitEditor();
    Dataset &composition = m_data.form4.T_rachet;
    composition.updateRecord();
    if (composition.isModified())
        composition.post();
    if (!composition.isActive() || composition.isEmpty()) {
        Messages::ask({QStringLiteral("В составе раствора нет ни одного удобрения: добавьте "
                                      "удобрения, количество которых нужно подобрать."),
                       QStringLiteral("Подбор состава"), BoxIcon::None, {BoxButton::Ok}});
        return;
    }
    Q_EMIT solverRequested();
}

void TForm4::ButtonChartClick()
{
    Q_EMIT chartRequested();
}

void TForm4::showSaltTotals(const SaltTotals &totals)
{
    m_concentration->showSaltTotals(totals);
    Q_EMIT concentrationsChanged();
}

void TForm4::Timer1Timer()
{
    // Off before the press, so that a failing calculation is not retried every second.
    m_composition->timer()->stop();
    pressCalculate();
}

const DataGrid &TForm4::concentrationGrid() const
{
    return *m_concentration->grid();
}

void TForm4::pressCalculate()
{
    m_composition->calculateButton()->click();
}

void TForm4::FormShow()
{
    m_fertilizers->fitSearchEdit();
}

void TForm4::RzSplitter4Change()
{
    m_fertilizers->fitSearchEdit();
}

bool TForm4::FormClose()
{
    // A tick still pending would recalculate on the tables the cycle reopens, behind a closed
    // window; it is given back only when the window stays open.
    QTimer *timer = m_composition->timer();
    const bool pending = timer->isActive();
    timer->stop();
    if (m_databaseCycle && !m_databaseCycle()) {
        if (pending)
            timer->start();
        return false;
    }
    Q_EMIT closed();
    guarded([this] {
        if (m_data.form18.ADOTable1.asBoolean(Fields::avto))
            Q_EMIT mainWindowCloseRequested();
    });
    return true;
}

void TForm4::applyPercentage(int percentage)
{
    m_concentration->setPercentageCaptions(percentage);
    m_composition->setPercentageCaption(percentage);
    m_percentage->setPercentageCaption(percentage);
    m_data.form4.T_rachet.refresh();
    UpdateSaltTotals();
}

// ---------------------------------------------------------------- events

void TForm4::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    guarded([this] { FormShow(); });
}

void TForm4::closeEvent(QCloseEvent *event)
{
    // Closing only hides the window; a failed cycle keeps it open.
    if (FormClose())
        event->accept();
    else
        event->ignore();
}
