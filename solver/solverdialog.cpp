#include "solverdialog.h"

#include "bounddelegate.h"
#include "weightdelegate.h"
#include "modedelegate.h"
#include "solverelementmodel.h"
#include "solverfertilizermodel.h"
#include "solvergrid.h"
#include "waterwindow.h"

#include "calc/run/calculationinputs.h"
#include "calc/run/workingcomposition.h"
#include "data/datamodules.h"
#include "data/apperror.h"
#include "data/textconv.h"
#include "ui/chart/elementchart.h"
#include "ui/color/wincolor.h"
#include "ui/messages.h"
#include "ui/windowfont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int BuiltWidth = 960;
constexpr int BuiltHeight = 640;
constexpr int ListsWidth = 540;

// 0x00A6CAF0: RGB 240, 202, 166, the flowering columns' colour in the calculator.
constexpr int FloweringColour = 10930928;

// A line of words under the grids that keeps its place while it says nothing, so the grids do
// not move, and is out of the screen reader's way then.
QLabel *statusLine(const char *name, const QString &description, bool wrap, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleDescription(description);
    label->setWordWrap(wrap);
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

void say(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter presses the button that has the focus; elsewhere it presses "Подобрать".
    b->setAutoDefault(true);
    return b;
}

} // namespace

SolverDialog::SolverDialog(DataModules &data, const CalculationInputs &inputs,
                           SolverChoices &choices, QWidget *parent)
    : QDialog(parent), m_data(data), m_inputs(inputs), m_source(data),
      m_session(m_source, choices, systemDecimalSeparator())
{
    setObjectName(QStringLiteral("SolverDialog"));
    setWindowTitle(QStringLiteral("Подбор состава"));
    setFont(windowFont());
    setWindowModality(Qt::ApplicationModal);

    // Built in the order they stand, from the top left: the order Tab follows.
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(setupChoices());
    layout->addWidget(setupChemistry());
    layout->addWidget(setupGrids(), 1);
    m_status = statusLine("StatusLabel", QStringLiteral("Итог подбора"), true, this);
    m_totals = statusLine("SaltTotalsLabel", QStringLiteral("Общее кол-во солей"), false, this);
    m_chemistry = statusLine("ChemistryLabel", QStringLiteral("EC и аммоний ответа"), false, this);
    layout->addWidget(m_status);
    layout->addWidget(m_totals);
    layout->addWidget(m_chemistry);
    layout->addWidget(setupButtons());

    connect(&m_session, &SolverSession::changed, this, [this] { showSession(); });
    fillWaterBox();
    showSession();
    resize(BuiltWidth, BuiltHeight);
    m_stage->setFocus();
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
    m_stage->setCurrentIndex(m_stage->findData(int(m_session.stage())));
    stageLabel->setBuddy(m_stage);

    auto *waterLabel = new QLabel(QStringLiteral("Вода:"), bar);
    waterLabel->setObjectName(QStringLiteral("WaterLabel"));
    m_water = new QComboBox(bar);
    m_water->setObjectName(QStringLiteral("WaterBox"));
    m_water->setAccessibleName(QStringLiteral("Вода"));
    m_water->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_water->setMinimumContentsLength(20);
    waterLabel->setBuddy(m_water);
    QPushButton *waterButton = button("WaterButton", QStringLiteral("Анализ воды..."), bar);

    row->addWidget(stageLabel);
    row->addWidget(m_stage);
    row->addSpacing(16);
    row->addWidget(waterLabel);
    row->addWidget(m_water);
    row->addWidget(waterButton);
    row->addStretch(1);

    connect(m_stage, &QComboBox::currentIndexChanged, this, [this] {
        guarded([this] { m_session.setStage(Stage(m_stage->currentData().toInt())); });
    });
    connect(m_water, &QComboBox::currentIndexChanged, this, [this] {
        guarded([this] { m_session.setWater(m_water->currentData()); });
    });
    connect(waterButton, &QPushButton::clicked, this, [this] { guarded([this] { WaterButtonClick(); }); });
    return bar;
}

QWidget *SolverDialog::setupChemistry()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    const auto edit = [bar](const char *name, const QString &label, const QString &accessible,
                            const QString &hint) {
        auto *caption = new QLabel(label, bar);
        auto *e = new QLineEdit(bar);
        e->setObjectName(QString::fromLatin1(name));
        e->setAccessibleName(accessible);
        e->setToolTip(hint);
        e->setMaximumWidth(70);
        caption->setBuddy(e);
        return std::pair{caption, e};
    };
    const auto [nh4Label, nh4] = edit("Nh4Edit", QStringLiteral("Аммоний, % от N:"), QStringLiteral("Аммоний, % от N"),
                                      QStringLiteral("Не больше этой доли азота в аммонийной форме, вода "
                                                     "включена; пусто — без ограничения"));
    const auto [ecLabel, ec] = edit("EcEdit", QStringLiteral("EC, мСм/см:"), QStringLiteral("EC стадии"),
                                    QStringLiteral("EC стадии; с «По EC» цели масштабируются до неё"));
    m_nh4 = nh4;
    m_ec = ec;
    m_byEc = new QCheckBox(QStringLiteral("По EC"), bar);
    m_byEc->setObjectName(QStringLiteral("ByEcBox"));
    m_byEc->setToolTip(QStringLiteral("Цели умножаются на одно число, пока EC ответа не станет равна EC стадии"));

    row->addWidget(nh4Label);
    row->addWidget(m_nh4);
    row->addSpacing(16);
    row->addWidget(ecLabel);
    row->addWidget(m_ec);
    row->addWidget(m_byEc);
    row->addStretch(1);

    // A figure that is no number is refused, and the edit shows the session's figure again.
    const auto typed = [this](QLineEdit *e, void (SolverSession::*set)(std::optional<double>)) {
        connect(e, &QLineEdit::editingFinished, this, [this, e, set] {
            guarded([this, e, set] {
                const QString text = e->text().trimmed();
                double v = 0;
                if (!text.isEmpty() && !tryParseDecimal(text, v)) {
                    showFigures();
                    throw AppError(QStringLiteral("«%1»: %2 — не число").arg(e->accessibleName(), text));
                }
                const std::optional<double> value = text.isEmpty() ? std::nullopt : std::optional(v);
                const std::optional<double> now = e == m_nh4 ? m_session.ammoniumShare() : m_session.ec();
                if (value == now)
                    return;
                try {
                    (m_session.*set)(value);
                } catch (const AppError &) {
                    showFigures();
                    throw;
                }
            });
        });
    };
    typed(m_nh4, &SolverSession::setAmmoniumShare);
    typed(m_ec, &SolverSession::setEc);
    connect(m_byEc, &QCheckBox::toggled, this, [this](bool on) {
        guarded([this, on] {
            if (on != m_session.byEc())
                m_session.setByEc(on);
        });
    });
    return bar;
}

QWidget *SolverDialog::setupGrids()
{
    m_elementGrid = new SolverGrid(QStringLiteral("ElementGrid"), QStringLiteral("Элементы"),
                                   new SolverElementModel(m_session, this), this);
    m_elementGrid->setItemDelegateForColumn(SolverElementModel::Mode, new ModeDelegate(m_elementGrid));
    m_elementGrid->setItemDelegateForColumn(SolverElementModel::Weight, new WeightDelegate(m_elementGrid));
    m_elementGrid->fitColumns({56, 70, 92, 40, 70, 102});

    m_fertilizerGrid = new SolverGrid(QStringLiteral("FertilizerGrid"), QStringLiteral("Удобрения"),
                                      new SolverFertilizerModel(m_session, this), this);
    m_fertilizerGrid->setItemDelegateForColumn(SolverFertilizerModel::AtMost,
                                               new BoundDelegate(m_fertilizerGrid));
    m_fertilizerGrid->fitColumns({200, 80, 75});

    auto *lists = new QVBoxLayout;
    lists->setContentsMargins(0, 0, 0, 0);
    lists->addWidget(m_elementGrid, 3);
    lists->addWidget(m_fertilizerGrid, 2);
    auto *listsBox = new QWidget(this);
    listsBox->setLayout(lists);
    listsBox->setFixedWidth(ListsWidth);

    // A picture to look at: nothing to do there, so no stop for Tab.
    m_chart = new ElementChart(QStringLiteral("SolverChart"), this);
    m_chart->setAccessibleName(QStringLiteral("Диаграмма подбора"));
    m_chart->setFocusPolicy(Qt::NoFocus);

    auto *middle = new QWidget(this);
    auto *row = new QHBoxLayout(middle);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(listsBox);
    row->addWidget(m_chart, 1);
    return middle;
}

QWidget *SolverDialog::setupButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    QPushButton *solve = button("SolveButton", QStringLiteral("Подобрать"), bar);
    solve->setDefault(true);
    m_apply = button("ApplySolveButton", QStringLiteral("Применить"), bar);
    m_apply->setEnabled(false);
    QPushButton *close = button("CloseSolveButton", QStringLiteral("Закрыть"), bar);
    row->addWidget(solve);
    row->addWidget(m_apply);
    row->addWidget(close);
    connect(solve, &QPushButton::clicked, this, [this] { guarded([this] { SolveButtonClick(); }); });
    connect(m_apply, &QPushButton::clicked, this, [this] { guarded([this] { ApplySolveButtonClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return bar;
}

// ---------------------------------------------------------------- handlers

void SolverDialog::SolveButtonClick()
{
    m_session.solve(m_inputs.percentage());
}

void SolverDialog::ApplySolveButtonClick()
{
    WorkingComposition composition(m_data.form4);
    if (!m_session.apply(composition))
        return;
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
                m_session.rereadWater();
                fillWaterBox();
            });
        });
    }
    m_waterWindow->show();
    m_waterWindow->raise();
    m_waterWindow->activateWindow();
}

// ---------------------------------------------------------------- showing

void SolverDialog::fillWaterBox()
{
    const QSignalBlocker quiet(m_water);
    m_water->clear();
    m_water->addItem(QStringLiteral("Без учёта воды"), QVariant());
    for (const SolverSource::WaterAnalysis &a : m_session.waterAnalyses())
        m_water->addItem(a.name, a.id);
    int chosen = 0;
    for (int i = 1; i < m_water->count() && !m_session.water().isNull(); ++i) {
        if (m_water->itemData(i).toLongLong() == m_session.water().toLongLong())
            chosen = i;
    }
    m_water->setCurrentIndex(chosen);
}

void SolverDialog::showSession()
{
    say(m_status, m_session.statusText());
    QPalette p = m_status->palette();
    p.setColor(QPalette::WindowText, m_session.statusIsWarning() ? ElementChart::warningColour()
                                                                 : palette().color(QPalette::WindowText));
    m_status->setPalette(p);
    say(m_totals, m_session.totalsText());
    say(m_chemistry, m_session.chemistryText());
    showFigures();
    m_apply->setEnabled(m_session.hasAmounts());
    showChart();
}

void SolverDialog::showFigures()
{
    const auto show = [](QLineEdit *e, const std::optional<double> &value) {
        const QString text = value ? formatGeneral(*value) : QString();
        if (e->text() != text)
            e->setText(text);
    };
    show(m_nh4, m_session.ammoniumShare());
    show(m_ec, m_session.ec());
    const QSignalBlocker quiet(m_byEc);
    m_byEc->setChecked(m_session.byEc());
}

void SolverDialog::showChart()
{
    const Stage stage = m_session.stage();
    ElementChart::Series target{QStringLiteral("Цель"),
                                WinColor::toQColor(stage == Stage::Vegetative ? WinColor::clMoneyGreen
                                                                              : FloweringColour),
                                {}, {}};
    ElementChart::Series result{QStringLiteral("Результат"), WinColor::toQColor(WinColor::clTeal),
                                {}, {}};
    QStringList names;
    const QList<SolverProblem::Element> &elements = m_session.elements();
    for (int r = 0; r < elements.size(); ++r) {
        names.append(elements.at(r).name);
        target.values.append(elements.at(r).target(stage));
        if (const std::optional<double> value = m_session.resultOf(r)) {
            result.values.append(*value);
            result.warnings.append(isWarning(m_session.elementRow(r).meaning));
        }
    }
    QList<ElementChart::Series> series{target};
    if (!result.values.isEmpty())
        series.append(result);
    m_chart->showSeries(QString(), names, series);
}
