#include "compositionpane.h"

#include "actionrow.h"
#include "calculatorlook.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/gridlook.h"
#include "ui/grid/datagridcolumn.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int RecalculationDelayMs = 1000;

} // namespace

CompositionPane::CompositionPane(Form4Data &calculator, QWidget *parent)
    : QGroupBox(QStringLiteral("Состав раствора:"), parent), m_data(calculator)
{
    setObjectName(QStringLiteral("GroupBox2"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    setupGrid();
    setupMenu();
    setupButtonBar();
    setupActionRow();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(RecalculationDelayMs);
}

void CompositionPane::setupGrid()
{
    m_grid = new DataGrid(QStringLiteral("dxDBGrid2"), &m_data.DS_rachet, this);
    m_grid->setAccessibleName(QStringLiteral("Состав раствора"));
    m_grid->setColour(WinColor::toQColor(WinColor::clInfoBk));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFont(CalculatorLook::condensedFont());

    DataGridColumn *name = m_grid->addColumn(QStringLiteral("dxDBGrid2Column1"), Fields::name,
                                             QStringLiteral("Наименование"), ColumnEditor::none());
    name->setWidth(120);
    DataGridColumn *kol = m_grid->addColumn(QStringLiteral("dxDBGrid2Column2"), Fields::kol,
                                            QStringLiteral("Кол-во г./л."),
                                            ColumnEditor::spin(0.01, 0, CalculatorLook::MaxAmount,
                                                               CalculatorLook::AmountDecimals));
    kol->setColour(WinColor::toQColor(WinColor::clAqua));
    kol->setWidth(55);
    m_scaledColumn = m_grid->addColumn(QStringLiteral("dxDBGrid2Column3"), Fields::kol_pr,
                                       QStringLiteral("Кол-во от %"), ColumnEditor::none());
    m_scaledColumn->setReadOnly(true);
    m_scaledColumn->setColour(WinColor::toQColor(WinColor::clTeal));
    m_scaledColumn->setWidth(55);
    m_grid->setFitColumns(true);
    GridLook::compactRows(m_grid);
    GridLook::wrapHeader(m_grid);
    connect(kol, &DataGridColumn::editorValueChanged, this, &CompositionPane::dxDBGrid2Column2Change);
    layout()->addWidget(m_grid);
}

void CompositionPane::setupMenu()
{
    m_popupMenu3 = new QMenu(this);
    m_popupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    m_n7 = m_popupMenu3->addAction(QStringLiteral("Удалить"));
    m_n7->setObjectName(QStringLiteral("N7"));
    m_n8 = m_popupMenu3->addAction(QStringLiteral("Добавить"));
    m_n8->setObjectName(QStringLiteral("N8"));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popupMenu3->popup(m_grid->viewport()->mapToGlobal(pos)); });
}

void CompositionPane::setupButtonBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel3"));
    bar->setFixedHeight(36);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 4, 4, 4);
    row->addStretch(1);
    m_button5 = new QPushButton(QStringLiteral("Сохранить"), bar);
    m_button5->setObjectName(QStringLiteral("Button5"));
    m_button4 = new QPushButton(QStringLiteral("Рассчитать >>"), bar);
    m_button4->setObjectName(QStringLiteral("Button4"));
    row->addWidget(m_button5);
    row->addWidget(m_button4);
    layout()->addWidget(bar);
}

void CompositionPane::setupActionRow()
{
    m_actionRow = new ActionRow(this);
    m_solveButton = m_actionRow->addButton(QStringLiteral("ButtonSolve"), QStringLiteral("Подбор..."));
    m_chartButton = m_actionRow->addButton(QStringLiteral("ButtonChart"), QStringLiteral("Диаграмма"));
    m_stockButton = m_actionRow->addButton(QStringLiteral("ButtonStock"), QStringLiteral("Баки..."));
    // The second line: the ion view and the recipe files.
    m_ionsButton = m_actionRow->addButton(QStringLiteral("ButtonIons"), QStringLiteral("Ионы..."));
    m_exportRecipeButton = m_actionRow->addButton(QStringLiteral("ButtonExportRecipe"), QStringLiteral("Экспорт..."));
    m_importRecipeButton = m_actionRow->addButton(QStringLiteral("ButtonImportRecipe"), QStringLiteral("Импорт..."));
    layout()->addWidget(m_actionRow);
}

void CompositionPane::dxDBGrid2Column2Change()
{
    // A burst of edits gives one recalculation, a second after its first change.
    if (!m_timer1->isActive())
        m_timer1->start();
}

void CompositionPane::setPercentageCaption(int percentage)
{
    m_scaledColumn->setCaption(QStringLiteral("Кол-во от ") + QString::number(percentage) + u'%');
}
