#include "ionswindow.h"

#include "iontablemodel.h"

#include "calc/chemistry/acid.h"
#include "calc/run/calculationinputs.h"
#include "calc/run/numbers.h"
#include "calc/run/savedsolutions.h"
#include "calc/run/workingcomposition.h"
#include "data/apperror.h"
#include "data/basequeries.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/propertyrows.h"
#include "data/textconv.h"
#include "ui/color/wincolor.h"
#include "ui/escapecloser.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/gridkeys.h"
#include "ui/grid/gridlook.h"
#include "ui/messages.h"
#include "ui/sourcebox.h"
#include "ui/waterbox.h"
#include "ui/windowfont.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int BuiltWidth = 980;
constexpr int BuiltHeight = 640;
constexpr double MostEc = 20;   // mS/cm: beyond any nutrient solution
constexpr double MostShare = 100; // % of N

QString fixed(double value, int decimals)
{
    return formatFixed(value, decimals, systemDecimalSeparator());
}

QLabel *infoLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::TabFocus);
    return label;
}

QLineEdit *figureEdit(const QString &name, const QString &accessibleName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setFixedWidth(70);
    return edit;
}

QGroupBox *group(const QString &name, const QString &title, QLayout *content, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setLayout(content);
    return box;
}

// The text a figure edit shows for a stored figure: empty for none.
QString figureText(const std::optional<double> &v)
{
    return v ? formatGeneral(*v) : QString();
}

} // namespace

IonsWindow::IonsWindow(DataModules &data, const CalculationInputs &calculator, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data), m_calculator(calculator)
{
    setObjectName(QStringLiteral("IonsWindow"));
    setWindowTitle(QStringLiteral("Ионный состав"));
    setFont(windowFont());

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, [this] { guarded([this] { refresh(); }); });

    auto *left = new QVBoxLayout;
    left->addWidget(setupIons(), 3);
    left->addWidget(setupProperties(), 2);
    auto *right = new QVBoxLayout;
    right->addWidget(setupSolution());
    right->addWidget(setupCrop());
    right->addWidget(setupAcid());
    right->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 5);
    body->addLayout(right, 4);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->addWidget(setupTopBar());
    root->addLayout(body, 1);
    connectData();
    // Reading order: the choices, the ions, the figures beside them, the editable grid last.
    const QList<QWidget *> order = {m_sourceBox,    m_waterBox,   m_stageBox,        m_ionGrid,
                                    m_unmappedLabel, m_balanceLabel, m_ecLabel,       m_phLabel,
                                    m_nh4Label,     m_ratioLabel, m_cropLabel,       m_ecVegaEdit,
                                    m_ecCvetEdit,   m_nh4ShareEdit, m_targetBalanceLabel, m_acidBox,
                                    m_targetPhEdit, m_acidLabel,  m_addAcidButton,   m_propertiesGrid};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    EscapeCloser::install(this);
    resize(BuiltWidth, BuiltHeight);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

// ---------------------------------------------------------------- building

QWidget *IonsWindow::setupTopBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_sourceBox = new SourceBox(bar);
    m_waterBox = new WaterBox(bar);
    m_stageBox = new QComboBox(bar);
    m_stageBox->setObjectName(QStringLiteral("StageBox"));
    m_stageBox->setAccessibleName(QStringLiteral("Стадия"));
    m_stageBox->addItems({QStringLiteral("Вега"), QStringLiteral("Цвет")});
    const struct
    {
        const char *caption;
        QWidget *box;
    } parts[] = {{"&Источник:", m_sourceBox}, {"&Вода:", m_waterBox}, {"С&тадия:", m_stageBox}};
    for (const auto &p : parts) {
        auto *caption = new QLabel(QString::fromUtf8(p.caption), bar);
        caption->setBuddy(p.box);
        row->addWidget(caption);
        row->addWidget(p.box);
        row->addSpacing(12);
        connect(static_cast<QComboBox *>(p.box), &QComboBox::currentIndexChanged, this,
                [this] { guarded([this] { refresh(); }); });
    }
    row->addStretch(1);
    return bar;
}

QWidget *IonsWindow::setupIons()
{
    m_ionGrid = new QTableView(this);
    m_ionGrid->setObjectName(QStringLiteral("IonGrid"));
    m_ionGrid->setAccessibleName(QStringLiteral("Ионы раствора"));
    m_ionModel = new IonTableModel(m_ionGrid);
    m_ionGrid->setModel(m_ionModel);
    m_ionGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ionGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridKeys::leaveOnTab(m_ionGrid);
    m_ionGrid->verticalHeader()->hide();
    m_ionGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridLook::compactRows(m_ionGrid);
    m_unmappedLabel = infoLabel(QStringLiteral("UnmappedLabel"), this);
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_ionGrid, 1);
    layout->addWidget(m_unmappedLabel);
    return group(QStringLiteral("IonGroup"), QStringLiteral("Ионы:"), layout, this);
}

QWidget *IonsWindow::setupSolution()
{
    m_balanceLabel = infoLabel(QStringLiteral("BalanceLabel"), this);
    m_ecLabel = infoLabel(QStringLiteral("EcLabel"), this);
    m_phLabel = infoLabel(QStringLiteral("PhLabel"), this);
    m_nh4Label = infoLabel(QStringLiteral("Nh4Label"), this);
    m_ratioLabel = infoLabel(QStringLiteral("RatioLabel"), this);
    auto *layout = new QVBoxLayout;
    for (QLabel *l : {m_balanceLabel, m_ecLabel, m_phLabel, m_nh4Label, m_ratioLabel})
        layout->addWidget(l);
    return group(QStringLiteral("SolutionGroup"), QStringLiteral("Раствор:"), layout, this);
}

QWidget *IonsWindow::setupCrop()
{
    m_cropLabel = infoLabel(QStringLiteral("CropLabel"), this);
    m_ecVegaEdit = figureEdit(QStringLiteral("CropEcVegaEdit"), QStringLiteral("EC вега, мСм/см"), this);
    m_ecCvetEdit = figureEdit(QStringLiteral("CropEcCvetEdit"), QStringLiteral("EC цвет, мСм/см"), this);
    m_nh4ShareEdit = figureEdit(QStringLiteral("CropNh4Edit"),
                                QStringLiteral("Доля аммония в азоте, %"), this);
    m_targetBalanceLabel = infoLabel(QStringLiteral("TargetBalanceLabel"), this);
    auto *figures = new QFormLayout;
    figures->addRow(QStringLiteral("EC &вега, мСм/см:"), m_ecVegaEdit);
    figures->addRow(QStringLiteral("EC &цвет, мСм/см:"), m_ecCvetEdit);
    figures->addRow(QStringLiteral("&Аммоний, % азота:"), m_nh4ShareEdit);
    for (QLineEdit *edit : {m_ecVegaEdit, m_ecCvetEdit, m_nh4ShareEdit}) {
        connect(edit, &QLineEdit::editingFinished, this,
                [this, edit] { guarded([this, edit] { CropFigureExit(edit); }); });
    }
    auto *layout = new QVBoxLayout;
    layout->addWidget(m_cropLabel);
    layout->addLayout(figures);
    layout->addWidget(m_targetBalanceLabel);
    return group(QStringLiteral("CropGroup"), QStringLiteral("Культура:"), layout, this);
}

QWidget *IonsWindow::setupAcid()
{
    m_acidBox = new QComboBox(this);
    m_acidBox->setObjectName(QStringLiteral("AcidBox"));
    m_acidBox->setAccessibleName(QStringLiteral("Кислота"));
    m_acidBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_targetPhEdit = figureEdit(QStringLiteral("TargetPhEdit"), QStringLiteral("Целевой pH"), this);
    m_targetPhEdit->setText(fixed(Chemistry::DefaultTargetPh, 1));
    m_acidLabel = infoLabel(QStringLiteral("AcidLabel"), this);
    m_addAcidButton = new QPushButton(QStringLiteral("В состав"), this);
    m_addAcidButton->setObjectName(QStringLiteral("AddAcidButton"));
    m_addAcidButton->setToolTip(QStringLiteral("Записать дозу кислоты в рабочий состав, г/л, и рассчитать"));
    auto *choice = new QFormLayout;
    choice->addRow(QStringLiteral("&Кислота:"), m_acidBox);
    choice->addRow(QStringLiteral("Целевой &pH:"), m_targetPhEdit);
    auto *layout = new QVBoxLayout;
    layout->addLayout(choice);
    layout->addWidget(m_acidLabel);
    layout->addWidget(m_addAcidButton, 0, Qt::AlignLeft);
    connect(m_acidBox, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { refresh(); }); });
    connect(m_targetPhEdit, &QLineEdit::editingFinished, this,
            [this] { guarded([this] { TargetPhEditExit(); }); });
    connect(m_addAcidButton, &QPushButton::clicked, this, [this] { guarded([this] { AddAcidButtonClick(); }); });
    return group(QStringLiteral("AcidGroup"), QStringLiteral("Кислота против щёлочности воды:"), layout, this);
}

QWidget *IonsWindow::setupProperties()
{
    m_propertiesGrid = new DataGrid(QStringLiteral("IonPropertiesGrid"), &m_data.own.DS_SVOISTVA_ION, this);
    DataGrid *g = m_propertiesGrid;
    g->setAccessibleName(QStringLiteral("Свойства удобрений"));
    g->setColour(WinColor::toQColor(WinColor::clWindow));
    g->addColumn(QStringLiteral("IonPropertiesGridName"), Fields::name, QStringLiteral("Удобрение"),
                 ColumnEditor::none())
        ->setWidth(170);
    g->addColumn(QStringLiteral("IonPropertiesGridFormaAzota"), Fields::forma_azota,
                 QStringLiteral("Азот N"),
                 ColumnEditor::choice({QStringLiteral("нитратный"), QStringLiteral("аммонийный"),
                                       QStringLiteral("амидный")}))
        ->setWidth(80);
    g->addColumn(QStringLiteral("IonPropertiesGridKislota"), Fields::kislota, QStringLiteral("Кислота"),
                 ColumnEditor::check())
        ->setWidth(55);
    g->addColumn(QStringLiteral("IonPropertiesGridKrepost"), Fields::krepost,
                 QStringLiteral("Крепость, %"), ColumnEditor::spin(1, 0, 100, 2))
        ->setWidth(65);
    g->addColumn(QStringLiteral("IonPropertiesGridPlotnost"), Fields::plotnost,
                 QStringLiteral("Плотность, г/мл"), ColumnEditor::spin(0.01, 0, 3, 4))
        ->setWidth(70);
    g->setFitColumns(true);
    GridLook::compactRows(g);
    GridLook::wrapHeader(g);
    g->setRowsFixed(true); // one row per fertilizer of the recipe
    GridKeys::leaveOnTab(g);
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(g);
    return group(QStringLiteral("IonPropertiesGroup"), QStringLiteral("Свойства удобрений:"), layout, this);
}

void IonsWindow::connectData()
{
    Form4Data &f4 = m_data.form4;
    const auto follow = [this](Binding *b) {
        connect(b, &Binding::reset, this, &IonsWindow::scheduleRefresh);
        connect(b, &Binding::valuesChanged, this, &IonsWindow::scheduleRefresh);
        connect(b, &Binding::rowChanged, this, &IonsWindow::scheduleRefresh);
        connect(b, &Binding::rowInserted, this, &IonsWindow::scheduleRefresh);
        connect(b, &Binding::rowRemoved, this, &IonsWindow::scheduleRefresh);
    };
    for (Binding *b : {&f4.DS_rachet, &f4.DS_SAVE_RAR, &f4.DS_HEAD_RAR, &m_data.form2.DS_SOSTAV,
                       &m_data.own.DS_voda, &m_data.own.DS_sostav_vody})
        follow(b);
    connect(&f4.DS_HEAD_RAR, &Binding::currentChanged, this, &IonsWindow::scheduleRefresh);
    connect(&f4.DataSource3, &Binding::currentChanged, this, &IonsWindow::scheduleRefresh);
    // An edited property changes a row; the window's own filter resets the grid, which needs
    // no second look.
    connect(&m_data.own.DS_SVOISTVA_ION, &Binding::rowChanged, this, &IonsWindow::scheduleRefresh);
}

// ---------------------------------------------------------------- inputs

Recipe IonsWindow::recipe() const
{
    if (m_sourceBox->savedChosen())
        return SavedSolutions(m_data).currentRecipe();
    return WorkingComposition(m_data.form4).recipe(m_calculator.percentage());
}

std::optional<int> IonsWindow::currentCrop() const
{
    const Dataset &crops = m_data.form4.ADOTable3;
    if (!crops.isActive() || crops.currentRow() < 0 || crops.isNull(Fields::id_kult))
        return std::nullopt;
    return crops.asInteger(Fields::id_kult);
}

double IonsWindow::targetPh() const
{
    double ph = 0;
    if (!tryParseDecimal(m_targetPhEdit->text(), ph))
        throw AppError(QStringLiteral("Целевой pH «%1» не число").arg(m_targetPhEdit->text()));
    if (!(ph >= 3 && ph <= 8))
        throw AppError(QStringLiteral("Целевой pH %1 вне пределов от 3 до 8").arg(m_targetPhEdit->text()));
    return ph;
}

const IonInputs::Acid *IonsWindow::chosenAcid() const
{
    const QVariant id = m_acidBox->currentData();
    if (id.isNull())
        return nullptr;
    for (const IonInputs::Acid &a : m_acids) {
        if (a.fertilizer == id.toInt())
            return &a;
    }
    return nullptr;
}

void IonsWindow::fillAcids()
{
    m_acids = IonInputs::acids(m_data.ADOConnection1);
    const QVariant was = m_acidBox->currentData();
    const QSignalBlocker quiet(m_acidBox);
    m_acidBox->clear();
    m_acidBox->addItem(QStringLiteral("Без кислоты"), QVariant());
    for (const IonInputs::Acid &a : m_acids)
        m_acidBox->addItem(a.name, a.fertilizer);
    // The first acid whose dose can be worked out, until the grower chooses.
    int at = was.isValid() ? m_acidBox->findData(was) : -1;
    if (!was.isValid()) {
        for (int i = 0; i < m_acids.size() && at < 0; ++i) {
            if (m_acids[i].product)
                at = i + 1;
        }
    }
    m_acidBox->setCurrentIndex(std::max(at, 0));
}

// ---------------------------------------------------------------- handlers

void IonsWindow::TargetPhEditExit()
{
    targetPh();
    refresh();
}

void IonsWindow::CropFigureExit(QLineEdit *edit)
{
    if (!edit->isModified())
        return;
    const std::optional<int> crop = currentCrop();
    if (!crop)
        throw AppError(QStringLiteral("Выберите культуру"));
    m_data.requireOwnTables();
    const bool share = edit == m_nh4ShareEdit;
    const QString field = share ? Fields::nh4_dolya : edit == m_ecVegaEdit ? Fields::ec_vega : Fields::ec_cvet;
    std::optional<double> value;
    const QString text = edit->text().trimmed();
    if (!text.isEmpty()) {
        double v = 0;
        if (!tryParseDecimal(text, v))
            throw AppError(QStringLiteral("«%1» не число").arg(text));
        const double most = share ? MostShare : MostEc;
        if (!(v >= 0 && v <= most))
            throw AppError(QStringLiteral("%1: %2 вне пределов от 0 до %3")
                               .arg(edit->accessibleName(), text, formatGeneral(most)));
        value = v;
    }
    PropertyRows::setCropFigure(m_data.ADOConnection1, *crop, field, value);
    edit->setModified(false);
    refresh();
}

void IonsWindow::AddAcidButtonClick()
{
    refresh();
    const IonInputs::Acid *acid = chosenAcid();
    if (!acid)
        throw AppError(QStringLiteral("Выберите кислоту"));
    if (!acid->product)
        throw AppError(QStringLiteral("«%1»: %2").arg(acid->name, acid->missing));
    if (!m_analysis || !m_analysis->acid)
        throw AppError(QStringLiteral("Доза кислоты не рассчитана"));
    if (m_analysis->acid->meq <= 0)
        throw AppError(QStringLiteral("Кислота не нужна: щёлочность воды не указана или вода уже кислее цели"));
    // The working composition holds g/L at 100 %; the dose is for the tank at the slider's.
    const int percentage = m_calculator.percentage();
    if (percentage <= 0)
        throw AppError(QStringLiteral("Процент раствора 0: дозу не к чему отнести"));
    const double grams = RoundDecimals(m_analysis->acid->gramsPerLitre * 100 / percentage, AmountDecimals);
    WorkingComposition(m_data.form4).putAmount(acid->fertilizer, grams);
    const QSignalBlocker quiet(m_sourceBox);
    m_sourceBox->setCurrentIndex(0);
    Q_EMIT runRequested();
    refresh();
}

// ---------------------------------------------------------------- working out

void IonsWindow::scheduleRefresh()
{
    if (isVisible())
        m_refreshTimer->start();
}

void IonsWindow::refresh()
{
    m_refreshTimer->stop();
    if (!isVisible())
        return;
    m_sourceBox->follow(m_data.form4.T_HEAD_RAR);
    m_waterBox->fill(m_data.ADOConnection1);
    fillAcids();
    // A value the grid's editor has handed over counts at once.
    Dataset &properties = m_data.own.T_SVOISTVA_ION;
    if (properties.state() == DatasetState::Edit)
        properties.checkBrowseMode();

    const Recipe source = recipe();
    if (properties.isActive()) {
        QList<int> ids;
        for (const Recipe::Line &line : source.lines) {
            if (!line.fertilizer.isNull() && !line.name.isNull() && !ids.contains(line.fertilizer.toInt()))
                ids.append(line.fertilizer.toInt());
        }
        PropertyRows::showRowsOf(m_data.ADOConnection1, properties, ids);
    }
    const std::optional<int> cropId = currentCrop();
    const std::optional<BaseRows::Crop> crop =
        cropId ? BaseQueries(m_data.ADOConnection1).crop(*cropId) : std::nullopt;
    showCrop(crop);
    m_analysis.reset();
    m_targets.reset();
    try {
        int leftOut = 0;
        const Chemistry::Recipe chemistry =
            IonInputs::recipeOf(m_data.ADOConnection1, source, m_waterBox->chosen(), &leftOut);
        Chemistry::AnalysisOptions options;
        options.targetPh = targetPh();
        const IonInputs::Acid *acid = chosenAcid();
        if (acid && acid->product)
            options.acid = acid->product;
        m_analysis = Chemistry::analyse(chemistry, options);
        if (crop) {
            const Stage stage = m_stageBox->currentIndex() == 1 ? Stage::Flowering : Stage::Vegetative;
            m_targets = Chemistry::targetBalance(IonInputs::targetsOf(*crop, stage, options.targetPh));
        }
        showAnalysis(*m_analysis, crop);
        showAcid(*m_analysis, chemistry);
        if (leftOut > 0) {
            m_unmappedLabel->setText(m_unmappedLabel->text()
                                     + QStringLiteral(" Строк без удобрения или с количеством не числом: %1.")
                                           .arg(leftOut));
        }
    } catch (const AppError &e) {
        // A figure the chemistry refuses is named where the figures stand, not in a box that
        // would come back at every change.
        showNothing(e.text());
    }
}

void IonsWindow::showCrop(const std::optional<BaseRows::Crop> &crop)
{
    const bool changed = (crop ? std::optional<int>(crop->id) : std::nullopt) != m_shownCrop;
    m_shownCrop = crop ? std::optional<int>(crop->id) : std::nullopt;
    m_cropLabel->setText(crop ? crop->name : QStringLiteral("Культура не выбрана."));
    const std::optional<BaseRows::CropProperties> p = crop ? crop->properties : std::nullopt;
    const struct
    {
        QLineEdit *edit;
        std::optional<double> value;
    } figures[] = {{m_ecVegaEdit, p ? p->ecVega : std::nullopt},
                   {m_ecCvetEdit, p ? p->ecCvet : std::nullopt},
                   {m_nh4ShareEdit, p ? p->ammoniumShare : std::nullopt}};
    for (const auto &f : figures) {
        f.edit->setEnabled(crop.has_value());
        // What the grower is typing stays, unless another crop came.
        if (changed || !f.edit->isModified())
            f.edit->setText(figureText(f.value));
    }
    if (!crop)
        m_targetBalanceLabel->clear();
}

void IonsWindow::showAnalysis(const Chemistry::Analysis &a, const std::optional<BaseRows::Crop> &crop)
{
    m_ionModel->setIons(a.ions, a.balance);
    const Chemistry::Balance &b = a.balance;
    m_balanceLabel->setText(QStringLiteral("Катионы %1, анионы %2 мг-экв/л; разница %3 (%4 %).")
                                .arg(fixed(b.cations, 2), fixed(b.anions, 2), fixed(b.difference, 2),
                                     fixed(b.percent, 1)));
    QString ec = IonInputs::ecText(a.solution.conductivity.ec, systemDecimalSeparator());
    const Stage stage = m_stageBox->currentIndex() == 1 ? Stage::Flowering : Stage::Vegetative;
    if (crop) {
        const std::optional<double> target = IonInputs::ecTargetOf(*crop, stage);
        ec += target ? QStringLiteral("; цель культуры (%1): %2").arg(m_stageBox->currentText().toLower(),
                                                                       fixed(*target, 2))
                     : QStringLiteral("; цель культуры не указана");
    }
    m_ecLabel->setText(ec + u'.');
    m_phLabel->setText(QStringLiteral("pH ≈ %1, оценка").arg(fixed(a.solution.ph, 1)));
    const Chemistry::Ratios &r = a.ratios;
    m_nh4Label->setText(r.ammoniumShare
                            ? QStringLiteral("Аммоний: %1 % азота.").arg(fixed(*r.ammoniumShare, 1))
                            : QStringLiteral("Азота в растворе нет."));
    QStringList ratios;
    if (r.potassiumPerNitrogen)
        ratios.append(QStringLiteral("N:K = 1 : %1").arg(fixed(*r.potassiumPerNitrogen, 2)));
    const double kCaMg = r.potassiumMeq + r.calciumMeq + r.magnesiumMeq;
    if (kCaMg > 0) {
        ratios.append(QStringLiteral("K:Ca:Mg = %1 : %2 : %3 мг-экв/л (%4 : %5 : %6 %)")
                          .arg(fixed(r.potassiumMeq, 2), fixed(r.calciumMeq, 2), fixed(r.magnesiumMeq, 2),
                               fixed(r.potassiumMeq / kCaMg * 100, 0), fixed(r.calciumMeq / kCaMg * 100, 0),
                               fixed(r.magnesiumMeq / kCaMg * 100, 0)));
    }
    m_ratioLabel->setText(ratios.isEmpty() ? QStringLiteral("Соотношений нет: нет ни азота, ни K, Ca, Mg.")
                                           : ratios.join(QStringLiteral("; ")) + u'.');
    QStringList unmapped;
    for (const Chemistry::Unmapped &u : a.recipe.unmapped)
        unmapped.append(QStringLiteral("%1 %2 мг/л (%3)").arg(u.symbol, fixed(u.mg, 2), u.source));
    m_unmappedLabel->setText(unmapped.isEmpty()
                                 ? QStringLiteral("Все элементы состава учтены в ионах.")
                                 : QStringLiteral("Без иона, в сумму не вошли: ") + unmapped.join(QStringLiteral("; "))
                                       + u'.');
    if (m_targets) {
        m_targetBalanceLabel->setText(QStringLiteral("Цели культуры: ")
                                      + Chemistry::targetBalanceText(*m_targets, systemDecimalSeparator()));
    }
}

void IonsWindow::showAcid(const Chemistry::Analysis &a, const Chemistry::Recipe &recipe)
{
    const IonInputs::Acid *acid = chosenAcid();
    QString text;
    if (m_acids.isEmpty()) {
        text = QStringLiteral("В базе нет удобрений, отмеченных как кислота (свойства удобрений).");
    } else if (!acid) {
        text = QStringLiteral("Кислота не выбрана. Щёлочность воды %1 мг-экв/л.").arg(fixed(a.alkalinityMeq, 2));
    } else if (!acid->product) {
        text = QStringLiteral("«%1»: %2.").arg(acid->name, acid->missing);
    } else if (a.acid->meq <= 0) {
        text = QStringLiteral("Кислота не нужна: щёлочность воды %1 мг-экв/л.").arg(fixed(a.alkalinityMeq, 2));
    } else {
        const Chemistry::AcidDose &d = *a.acid;
        text = QStringLiteral("%1 мл/л, %2 мл на 1000 л (%3 г/л); добавит %4 %5 мг/л; HCO₃ останется %6 мг/л.")
                   .arg(fixed(d.mlPerLitre, 3), fixed(d.mlPer1000Litres, 0), fixed(d.gramsPerLitre, 3),
                        d.element, fixed(d.elementMg, 1), fixed(d.hco3Left, 0));
        for (const Chemistry::Fertilizer &f : recipe.fertilizers) {
            if (f.name == acid->name) {
                text += QStringLiteral(" В составе: %1 мл/л.").arg(fixed(f.grams / acid->product->density, 3));
                break;
            }
        }
    }
    m_acidLabel->setText(text);
    m_addAcidButton->setEnabled(acid && acid->product && a.acid && a.acid->meq > 0);
}

void IonsWindow::showNothing(const QString &why)
{
    m_ionModel->setIons({}, {});
    m_balanceLabel->setText(why);
    for (QLabel *l : {m_ecLabel, m_phLabel, m_nh4Label, m_ratioLabel, m_unmappedLabel, m_acidLabel,
                      m_targetBalanceLabel})
        l->clear();
    m_addAcidButton->setEnabled(false);
}

// ---------------------------------------------------------------- events

void IonsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    guarded([this] {
        // Another seat may have changed the properties since they were read.
        Dataset &properties = m_data.own.T_SVOISTVA_ION;
        if (properties.isActive())
            properties.refresh();
        refresh();
    });
}

bool IonsWindow::postPendingRows()
{
    return guardedOk([this] {
        m_propertiesGrid->commitEditor();
        Dataset &properties = m_data.own.T_SVOISTVA_ION;
        if (properties.isActive())
            properties.checkBrowseMode();
    });
}

void IonsWindow::closeEvent(QCloseEvent *event)
{
    if (postPendingRows())
        event->accept();
    else
        event->ignore();
}
