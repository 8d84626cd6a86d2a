#include "solverdialog.h"

#include "waterwindow.h"

#include "calc/run/calculationinputs.h"
#include "calc/run/numbers.h"
#include "calc/run/workingcomposition.h"
#include "calc/solver/solversource.h"
#include "data/datamodules.h"
#include "data/textconv.h"
#include "ui/chart/elementchart.h"
#include "ui/color/wincolor.h"
#include "ui/grid/gridkeys.h"
#include "ui/grid/gridlook.h"
#include "ui/messages.h"
#include "ui/windowfont.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int BuiltWidth = 960;
constexpr int BuiltHeight = 640;
constexpr int ListsWidth = 500;

// 0x00A6CAF0: RGB 240, 202, 166, the flowering columns' colour in the calculator.
constexpr int FloweringColour = 10930928;

enum ElementColumn { ElementName, ElementTarget, ElementMode_, ElementWater, ElementResult, ElementDeviation };
enum FertilizerColumn { FertilizerName, FertilizerAmount, FertilizerFixed, FertilizerAtMost };

// The role under which a cell keeps its value: a mode, or a bound (null for none).
constexpr int ValueRole = Qt::UserRole;

const ElementMode Modes[] = {ElementMode::Target, ElementMode::AtLeast, ElementMode::AtMost,
                             ElementMode::Ignore};

QString number(double value)
{
    return formatGeneral(value + 0.0); // never "-0"
}

// A percentage to one decimal.
QString percent(double value)
{
    return number(std::round(value * 10) / 10);
}

// "Режим": a drop-down of the four modes.
class ModeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        box->setAccessibleName(QStringLiteral("Режим"));
        for (ElementMode m : Modes)
            box->addItem(SolverDialog::modeText(m), int(m));
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        box->setCurrentIndex(box->findData(index.data(ValueRole)));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        model->setData(index, box->currentData(), ValueRole);
        model->setData(index, box->currentText(), Qt::DisplayRole);
    }
};

// "Не больше г/л.": an amount with the composition's decimals, either mark for the decimals, or
// an empty text for no bound.
class BoundDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *edit = new QLineEdit(parent);
        edit->setAccessibleName(QStringLiteral("Не больше г/л."));
        // Either mark may be typed for the decimals.
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,4}([.,]\\d{0,%1})?").arg(AmountDecimals)), edit));
        return edit;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QVariant v = index.data(ValueRole);
        static_cast<QLineEdit *>(editor)->setText(v.isNull() ? QString() : number(v.toDouble()));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        const QString text = static_cast<QLineEdit *>(editor)->text().trimmed();
        double v = 0;
        const bool bound = tryParseDecimal(text, v);
        model->setData(index, bound ? QVariant(v) : QVariant(), ValueRole);
        model->setData(index, bound ? number(v) : QString(), Qt::DisplayRole);
    }
};

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidget *grid(const char *name, const QString &accessibleName, const QStringList &captions,
                   QWidget *parent)
{
    auto *g = new QTableWidget(0, int(captions.size()), parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setAccessibleName(accessibleName);
    g->setHorizontalHeaderLabels(captions);
    g->verticalHeader()->hide();
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::AllEditTriggers);
    GridKeys::leaveOnTab(g);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridLook::compactRows(g);
    GridLook::wrapHeader(g);
    return g;
}

// Widths for all columns but the last, which takes the rest; none narrower than the longest
// word of its caption, whatever the font.
void fitColumns(QTableWidget *g, const QList<int> &widths)
{
    for (int c = 0; c < widths.size(); ++c) {
        const QString caption = g->horizontalHeaderItem(c)->text();
        g->setColumnWidth(c, std::max(widths.at(c), GridLook::widestWord(g, caption)));
    }
}

} // namespace

SolverDialog::SolverDialog(DataModules &data, const CalculationInputs &inputs,
                           SolverChoices &choices, QWidget *parent)
    : QDialog(parent), m_data(data), m_inputs(inputs), m_choices(choices)
{
    setObjectName(QStringLiteral("SolverDialog"));
    setWindowTitle(QStringLiteral("Подбор состава"));
    setFont(windowFont());
    setWindowModality(Qt::ApplicationModal);

    // Another seat may have changed the water analyses since they were read.
    for (Dataset *ds : {&m_data.own.T_voda, &m_data.own.T_sostav_vody}) {
        if (ds->isActive())
            ds->refresh();
    }
    SolverSource source(m_data);
    m_elements = source.elements(m_choices.stage);
    m_elementsLeftOut = source.leftOut();
    for (SolverProblem::Element &e : m_elements)
        e.mode = m_choices.modes.value(e.id, e.mode);
    m_fertilizers = source.fertilizers();

    auto *lists = new QVBoxLayout;
    lists->addWidget(setupElementGrid(), 3);
    lists->addWidget(setupFertilizerGrid(), 2);
    auto *listsBox = new QWidget(this);
    listsBox->setLayout(lists);
    lists->setContentsMargins(0, 0, 0, 0);
    listsBox->setFixedWidth(ListsWidth);

    m_chart = new ElementChart(QStringLiteral("SolverChart"), this);
    m_chart->setAccessibleName(QStringLiteral("Диаграмма подбора"));

    auto *middle = new QHBoxLayout;
    middle->addWidget(listsBox);
    middle->addWidget(m_chart, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setWordWrap(true);
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("SaltTotalsLabel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(setupChoices());
    layout->addLayout(middle, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_totals);
    layout->addWidget(setupButtons());

    fillWaterBox();
    readWater();
    fillElements();
    fillFertilizers();
    showChart();
    resize(BuiltWidth, BuiltHeight);
}

QString SolverDialog::modeText(ElementMode mode)
{
    return ::modeText(mode);
}

// ---------------------------------------------------------------- building

QWidget *SolverDialog::setupChoices()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    auto *stageLabel = new QLabel(QStringLiteral("Стадия:"), bar);
    stageLabel->setObjectName(QStringLiteral("StageLabel"));
    m_stage = new QComboBox(bar);
    m_stage->setObjectName(QStringLiteral("StageBox"));
    m_stage->setAccessibleName(QStringLiteral("Стадия"));
    m_stage->addItem(QStringLiteral("Вега"), int(Stage::Vegetative));
    m_stage->addItem(QStringLiteral("Цвет"), int(Stage::Flowering));
    m_stage->setCurrentIndex(m_stage->findData(int(m_choices.stage)));
    stageLabel->setBuddy(m_stage);

    auto *waterLabel = new QLabel(QStringLiteral("Вода:"), bar);
    waterLabel->setObjectName(QStringLiteral("WaterLabel"));
    m_water = new QComboBox(bar);
    m_water->setObjectName(QStringLiteral("WaterBox"));
    m_water->setAccessibleName(QStringLiteral("Вода"));
    m_water->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_water->setMinimumContentsLength(20);
    waterLabel->setBuddy(m_water);
    auto *waterButton = new QPushButton(QStringLiteral("Анализ воды..."), bar);
    waterButton->setObjectName(QStringLiteral("WaterButton"));
    waterButton->setAutoDefault(false);

    row->addWidget(stageLabel);
    row->addWidget(m_stage);
    row->addSpacing(16);
    row->addWidget(waterLabel);
    row->addWidget(m_water);
    row->addWidget(waterButton);
    row->addStretch(1);

    connect(m_stage, &QComboBox::currentIndexChanged, this, [this] {
        guarded([this] {
            m_choices.stage = Stage(m_stage->currentData().toInt());
            // The default follows the new stage's target; a mode the grower set stays.
            for (SolverProblem::Element &e : m_elements) {
                e.mode = m_choices.modes.value(e.id,
                                               SolverProblem::defaultMode(e.target(m_choices.stage)));
            }
            fillElements();
            conditionsChanged();
        });
    });
    connect(m_water, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        guarded([this] {
            m_choices.water = m_water->currentData();
            readWater();
            fillElements();
            conditionsChanged();
        });
    });
    connect(waterButton, &QPushButton::clicked, this, [this] { guarded([this] { WaterButtonClick(); }); });
    return bar;
}

QWidget *SolverDialog::setupElementGrid()
{
    m_elementGrid = grid("ElementGrid", QStringLiteral("Элементы"),
                         {QStringLiteral("Элемент"), QStringLiteral("Цель, мг/л"),
                          QStringLiteral("Режим"), QStringLiteral("Вода, мг/л"),
                          QStringLiteral("Результат, мг/л"), QStringLiteral("Отклонение, %")},
                         this);
    m_elementGrid->setItemDelegateForColumn(ElementMode_, new ModeDelegate(m_elementGrid));
    fitColumns(m_elementGrid, {56, 70, 92, 70, 102});
    connect(m_elementGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || item->column() != ElementMode_)
            return;
        guarded([this, item] {
            SolverProblem::Element &e = m_elements[item->row()];
            e.mode = ElementMode(item->data(ValueRole).toInt());
            m_choices.modes[e.id] = e.mode;
            conditionsChanged();
        });
    });
    return m_elementGrid;
}

QWidget *SolverDialog::setupFertilizerGrid()
{
    m_fertilizerGrid = grid("FertilizerGrid", QStringLiteral("Удобрения"),
                            {QStringLiteral("Удобрение"), QStringLiteral("Кол-во г/л."),
                             QStringLiteral("Закрепить"), QStringLiteral("Не больше г/л.")},
                            this);
    m_fertilizerGrid->setItemDelegateForColumn(FertilizerAtMost, new BoundDelegate(m_fertilizerGrid));
    fitColumns(m_fertilizerGrid, {200, 80, 75});
    connect(m_fertilizerGrid, &QTableWidget::itemChanged, this, [this] {
        if (!m_filling)
            guarded([this] { conditionsChanged(); });
    });
    return m_fertilizerGrid;
}

QWidget *SolverDialog::setupButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    auto *solve = new QPushButton(QStringLiteral("Подобрать"), bar);
    solve->setObjectName(QStringLiteral("SolveButton"));
    solve->setDefault(true);
    m_apply = new QPushButton(QStringLiteral("Применить"), bar);
    m_apply->setObjectName(QStringLiteral("ApplySolveButton"));
    m_apply->setAutoDefault(false);
    m_apply->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), bar);
    close->setObjectName(QStringLiteral("CloseSolveButton"));
    close->setAutoDefault(false);
    row->addWidget(solve);
    row->addWidget(m_apply);
    row->addWidget(close);
    connect(solve, &QPushButton::clicked, this, [this] { guarded([this] { SolveButtonClick(); }); });
    connect(m_apply, &QPushButton::clicked, this, [this] { guarded([this] { ApplySolveButtonClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return bar;
}

// ---------------------------------------------------------------- filling

void SolverDialog::fillWaterBox()
{
    m_filling = true;
    m_water->clear();
    m_water->addItem(QStringLiteral("Без учёта воды"), QVariant());
    for (const SolverSource::WaterAnalysis &a : SolverSource(m_data).waterAnalyses())
        m_water->addItem(a.name, a.id);
    int chosen = 0;
    for (int i = 1; i < m_water->count() && !m_choices.water.isNull(); ++i) {
        if (m_water->itemData(i).toLongLong() == m_choices.water.toLongLong())
            chosen = i;
    }
    m_water->setCurrentIndex(chosen);
    m_choices.water = m_water->currentData(); // an analysis since deleted: none
    m_filling = false;
}

void SolverDialog::readWater()
{
    const QHash<int, double> water = SolverSource(m_data).water(m_choices.water);
    for (SolverProblem::Element &e : m_elements)
        e.water = water.value(e.id);
}

void SolverDialog::fillElements()
{
    m_filling = true;
    m_elementGrid->setRowCount(int(m_elements.size()));
    for (int r = 0; r < m_elements.size(); ++r) {
        const SolverProblem::Element &e = m_elements.at(r);
        m_elementGrid->setItem(r, ElementName, readOnly(e.name));
        m_elementGrid->setItem(r, ElementTarget, readOnly(number(e.target(m_choices.stage))));
        auto *mode = new QTableWidgetItem(modeText(e.mode));
        mode->setData(ValueRole, int(e.mode));
        m_elementGrid->setItem(r, ElementMode_, mode);
        m_elementGrid->setItem(r, ElementWater, readOnly(number(e.water)));
        m_elementGrid->setItem(r, ElementResult, readOnly(QString()));
        m_elementGrid->setItem(r, ElementDeviation, readOnly(QString()));
    }
    m_filling = false;
}

void SolverDialog::fillFertilizers()
{
    m_filling = true;
    m_fertilizerGrid->setRowCount(int(m_fertilizers.size()));
    for (int r = 0; r < m_fertilizers.size(); ++r) {
        const SolverProblem::Fertilizer &f = m_fertilizers.at(r);
        m_fertilizerGrid->setItem(r, FertilizerName, readOnly(f.name));
        m_fertilizerGrid->setItem(r, FertilizerAmount, readOnly(number(f.current)));
        auto *fixed = new QTableWidgetItem;
        fixed->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        fixed->setCheckState(Qt::Unchecked);
        m_fertilizerGrid->setItem(r, FertilizerFixed, fixed);
        auto *bound = new QTableWidgetItem;
        bound->setData(ValueRole, QVariant());
        m_fertilizerGrid->setItem(r, FertilizerAtMost, bound);
    }
    m_filling = false;
}

// ---------------------------------------------------------------- handlers

SolverProblem SolverDialog::problem()
{
    SolverProblem p;
    p.stage = m_choices.stage;
    p.percentage = m_inputs.percentage();
    p.options = SolverSource(m_data).saltOptions();
    p.decimalSeparator = systemDecimalSeparator();
    p.elements = m_elements;
    // The rows and their fertilizers' compositions as the file holds them now.
    SolverSource source(m_data);
    p.fertilizers = source.fertilizers();
    p.leftOut = m_elementsLeftOut + source.leftOut();
    for (SolverProblem::Fertilizer &f : p.fertilizers) {
        for (int r = 0; r < m_fertilizers.size(); ++r) {
            if (m_fertilizers.at(r).row != f.row)
                continue;
            f.fixed = m_fertilizerGrid->item(r, FertilizerFixed)->checkState() == Qt::Checked;
            const QVariant bound = m_fertilizerGrid->item(r, FertilizerAtMost)->data(ValueRole);
            if (!bound.isNull())
                f.atMost = bound.toDouble();
        }
    }
    return p;
}

void SolverDialog::SolveButtonClick()
{
    SolverProblem p = problem();
    SolverResult r = solveComposition(p);
    m_solved = std::move(p);
    m_result = std::move(r);
    showResult();
}

void SolverDialog::ApplySolveButtonClick()
{
    if (!m_result || m_result->status != SolverResult::Status::Solved)
        return;
    QList<QPair<QVariant, double>> amounts;
    for (int f = 0; f < m_solved.fertilizers.size(); ++f)
        amounts.append({m_solved.fertilizers.at(f).row, m_result->amounts.at(f)});
    WorkingComposition(m_data.form4).setAmounts(amounts);
    Q_EMIT applied();
    accept();
}

void SolverDialog::WaterButtonClick()
{
    if (!m_waterWindow) {
        m_waterWindow = new WaterWindow(m_data, this);
        m_waterWindow->setWindowModality(Qt::ApplicationModal);
        connect(m_waterWindow, &WaterWindow::closed, this, [this] {
            guarded([this] {
                // Names and rows may have changed, the chosen analysis may be gone.
                fillWaterBox();
                readWater();
                fillElements();
                conditionsChanged();
            });
        });
    }
    m_waterWindow->show();
    m_waterWindow->raise();
    m_waterWindow->activateWindow();
}

// ---------------------------------------------------------------- showing

void SolverDialog::conditionsChanged()
{
    m_result.reset();
    m_apply->setEnabled(false);
    m_status->clear();
    m_totals->clear();
    m_filling = true;
    for (int r = 0; r < m_elementGrid->rowCount(); ++r) {
        for (int c : {ElementResult, ElementDeviation}) {
            m_elementGrid->item(r, c)->setText(QString());
            m_elementGrid->item(r, c)->setData(Qt::BackgroundRole, QVariant());
        }
    }
    // What a kept amount keeps is the composition's amount, so that is what the column shows.
    for (int r = 0; r < m_fertilizerGrid->rowCount() && r < m_fertilizers.size(); ++r)
        m_fertilizerGrid->item(r, FertilizerAmount)->setText(number(m_fertilizers.at(r).current));
    m_filling = false;
    showChart();
}

void SolverDialog::showResult()
{
    const bool solved = m_result->status == SolverResult::Status::Solved;
    m_filling = true;
    if (solved) {
        const QColor warning = ElementChart::warningColour().lighter(170);
        for (int r = 0; r < m_result->elements.size(); ++r) {
            const SolverResult::Element &e = m_result->elements.at(r);
            m_elementGrid->item(r, ElementWater)->setText(number(e.water));
            m_elementGrid->item(r, ElementResult)->setText(number(e.result));
            QTableWidgetItem *deviation = m_elementGrid->item(r, ElementDeviation);
            deviation->setText(e.deviation ? percent(*e.deviation) : QString());
            deviation->setData(Qt::BackgroundRole, e.warning ? QVariant(warning) : QVariant());
        }
        for (int f = 0; f < m_solved.fertilizers.size(); ++f) {
            for (int r = 0; r < m_fertilizers.size(); ++r) {
                if (m_fertilizers.at(r).row == m_solved.fertilizers.at(f).row)
                    m_fertilizerGrid->item(r, FertilizerAmount)->setText(number(m_result->amounts.at(f)));
            }
        }
        m_totals->setText(QStringLiteral("Общее кол-во солей: %1 мг./л., %2 PPM")
                              .arg(number(RoundDecimals(m_result->totals.concentration, 2)),
                                   number(RoundDecimals(m_result->totals.ppm, 2))));
    } else {
        m_totals->clear();
    }
    m_filling = false;
    m_status->setText(m_result->statusText(m_solved));
    QPalette p = m_status->palette();
    p.setColor(QPalette::WindowText, solved ? palette().color(QPalette::WindowText)
                                            : ElementChart::warningColour());
    m_status->setPalette(p);
    m_apply->setEnabled(solved);
    showChart();
}

void SolverDialog::showChart()
{
    const Stage stage = m_choices.stage;
    ElementChart::Series target{QStringLiteral("Цель"),
                                WinColor::toQColor(stage == Stage::Vegetative ? WinColor::clMoneyGreen
                                                                              : FloweringColour),
                                {}, {}};
    ElementChart::Series result{QStringLiteral("Результат"), WinColor::toQColor(WinColor::clTeal),
                                {}, {}};
    QStringList names;
    for (int r = 0; r < m_elements.size(); ++r) {
        names.append(m_elements.at(r).name);
        target.values.append(m_elements.at(r).target(stage));
        if (m_result && m_result->status == SolverResult::Status::Solved) {
            result.values.append(m_result->elements.at(r).result);
            result.warnings.append(m_result->elements.at(r).warning);
        }
    }
    QList<ElementChart::Series> series{target};
    if (!result.values.isEmpty())
        series.append(result);
    m_chart->showSeries(QString(), names, series);
}
