#include "stockwindow.h"

#include "stocktankmodel.h"

#include "calc/ions/ioninputs.h"
#include "calc/run/calculationinputs.h"
#include "calc/run/savedsolutions.h"
#include "calc/run/workingcomposition.h"
#include "data/apperror.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/textconv.h"
#include "export/gridexport.h"
#include "export/xls/worksheetwriter.h"
#include "ui/color/widgetcolour.h"
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
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int BuiltWidth = 1240;
constexpr int BuiltHeight = 720;
constexpr int TankColumnWidth = 50; // "Бак" of the worksheet
const int TankGridWidths[StockSheet::ColumnCount] = {190, 60, 55, 60, 115, 85, 90};

constexpr int TankCount = 4;
const Stock::Tank Tanks[TankCount] = {Stock::Tank::A, Stock::Tank::B, Stock::Tank::Acid,
                                      Stock::Tank::Separate};

// What the "Справка" box says: how the tanks are judged, and what the judgement cannot see.
const QString HelpText = QStringLiteral(
    "Растворимость берётся при температуре воды, которой разводят баки («Температура, °C»), по "
    "линии между цифрами при 0, 10, 20, 30 и 40 °C. Удобрение без этих цифр проверяется по цифре "
    "при 20 °C, и предупреждение говорит об этом. Смешивайте на самую холодную температуру, "
    "которую бак увидит.\n\n"
    "Соли с общим ионом растворяются вместе хуже, чем порознь. Правило произведения ионов: соль "
    "из катиона и аниона насыщена, когда произведение их моляльностей в воде бака, от всех солей "
    "бака, доходит до того, что даёт её чистый насыщенный раствор. «% с общими ионами» — доля "
    "этого предела (или «% растворимости», если он больше); выше 90 % план предупреждает: "
    "измеренные пары кристаллизуются до 8 % раньше предела правила.\n\n"
    "Правило не видит двойных солей (калиевая селитра с кальциевой, сульфат калия с сульфатом "
    "магния) и обмена ионами (сульфат аммония с калиевой селитрой или хлоридом калия даёт "
    "сульфат калия; моноаммонийфосфат с калиевой селитрой растворяется хуже): такие пары в одном "
    "баке названы отдельными предупреждениями.\n\n"
    "Микроэлементы идут в бак B, хелат железа — в A. Кислота идёт в свой бак «Кислота», в граммах "
    "и миллилитрах по плотности, если не выбран бак A или B; азотная кислота в баке A допустима, "
    "фосфорная и серная с кальцием — нет, и никакая — с хелатами.");

QGroupBox *group(const QString &name, const QString &title, QWidget *content)
{
    auto *box = new QGroupBox(title);
    box->setObjectName(name);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(content);
    return box;
}

// The sheet in the grower's number format.
StockSheet shownSheet()
{
    return StockSheet(systemDecimalSeparator());
}

// The price is per kilogram in the currency the system's locale names; a locale that names none
// (C, POSIX) gets roubles, the interface being Russian.
QString priceCaption()
{
    QString currency = QLocale::system().currencySymbol(QLocale::CurrencySymbol);
    if (currency.isEmpty())
        currency = QStringLiteral("руб.");
    return QStringLiteral("Цена за кг, ") + currency;
}

QLabel *caption(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

StockWindow::StockWindow(DataModules &data, const CalculationInputs &calculator, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data), m_calculator(calculator), m_planning(data)
{
    setObjectName(QStringLiteral("StockWindow"));
    setWindowTitle(QStringLiteral("Маточные растворы"));
    setFont(windowFont());

    m_replanTimer = new QTimer(this);
    m_replanTimer->setSingleShot(true);
    m_replanTimer->setInterval(0);
    connect(m_replanTimer, &QTimer::timeout, this, [this] { guarded([this] { replan(); }); });

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    setupInputBar();
    setupBody();
    connectData();
    EscapeCloser::install(this);

    resize(BuiltWidth, BuiltHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// ---------------------------------------------------------------- building

StockWindow::~StockWindow()
{
    // The edits lose the focus while the widgets below this class are torn down; their
    // "finished" must not reach a window that is gone.
    m_factorEdit->disconnect(this);
    m_tankEdit->disconnect(this);
}

void StockWindow::setupInputBar()
{
    auto *bar = new QHBoxLayout;
    m_sourceBox = new SourceBox(this);
    m_waterBox = new WaterBox(this);

    m_factorEdit = new QLineEdit(QString::number(Stock::DefaultFactor), this);
    m_factorEdit->setObjectName(QStringLiteral("FactorEdit"));
    m_factorEdit->setAccessibleName(QStringLiteral("Коэффициент K"));
    m_factorEdit->setToolTip(QStringLiteral("Во сколько раз маточный раствор крепче рабочего: "
                                            "целое число от 1 до 1000"));
    m_factorEdit->setFixedWidth(50);

    m_tankEdit = new QLineEdit(formatGeneral(Stock::DefaultLitres), this);
    m_tankEdit->setObjectName(QStringLiteral("TankEdit"));
    m_tankEdit->setAccessibleName(QStringLiteral("Объём бака, литров"));
    m_tankEdit->setToolTip(QStringLiteral("Объём каждого бака в литрах"));
    m_tankEdit->setFixedWidth(60);

    m_temperatureEdit = new QSpinBox(this);
    m_temperatureEdit->setObjectName(QStringLiteral("TemperatureEdit"));
    m_temperatureEdit->setAccessibleName(QStringLiteral("Температура, °C"));
    m_temperatureEdit->setRange(Stock::MinTemperature, Stock::MaxTemperature);
    m_temperatureEdit->setValue(Stock::DefaultTemperature);
    m_temperatureEdit->setToolTip(QStringLiteral("Температура воды, которой разводят баки: "
                                                 "растворимость берётся при ней"));

    m_exportButton = new QPushButton(QStringLiteral("Выгрузить"), this);
    m_exportButton->setObjectName(QStringLiteral("ButtonExport"));
    m_printButton = new QPushButton(QStringLiteral("Печать"), this);
    m_printButton->setObjectName(QStringLiteral("ButtonPrint"));
    m_helpButton = new QPushButton(QStringLiteral("Справка"), this);
    m_helpButton->setObjectName(QStringLiteral("ButtonHelp"));

    bar->addWidget(caption(QStringLiteral("Источник:"), m_sourceBox));
    bar->addWidget(m_sourceBox, 1);
    bar->addSpacing(12);
    bar->addWidget(caption(QStringLiteral("Вода:"), m_waterBox));
    bar->addWidget(m_waterBox);
    bar->addSpacing(12);
    bar->addWidget(caption(QStringLiteral("Коэффициент K:"), m_factorEdit));
    bar->addWidget(m_factorEdit);
    bar->addSpacing(12);
    bar->addWidget(caption(QStringLiteral("Бак, л:"), m_tankEdit));
    bar->addWidget(m_tankEdit);
    bar->addSpacing(12);
    bar->addWidget(caption(QStringLiteral("Температура, °C"), m_temperatureEdit));
    bar->addWidget(m_temperatureEdit);
    bar->addSpacing(12);
    bar->addWidget(m_exportButton);
    bar->addWidget(m_printButton);
    bar->addWidget(m_helpButton);
    static_cast<QVBoxLayout *>(layout())->addLayout(bar);

    const auto on = [this](auto *sender, auto signal, void (StockWindow::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(m_sourceBox, &QComboBox::currentIndexChanged, &StockWindow::SourceBoxChange);
    on(m_waterBox, &QComboBox::currentIndexChanged, &StockWindow::SourceBoxChange);
    on(m_factorEdit, &QLineEdit::textChanged, &StockWindow::FactorEditChange);
    on(m_tankEdit, &QLineEdit::textChanged, &StockWindow::TankEditChange);
    on(m_factorEdit, &QLineEdit::editingFinished, &StockWindow::FactorEditExit);
    on(m_tankEdit, &QLineEdit::editingFinished, &StockWindow::TankEditExit);
    on(m_exportButton, &QPushButton::clicked, &StockWindow::ButtonExportClick);
    on(m_printButton, &QPushButton::clicked, &StockWindow::ButtonPrintClick);
    on(m_helpButton, &QPushButton::clicked, &StockWindow::ButtonHelpClick);
    on(m_temperatureEdit, &QSpinBox::valueChanged, &StockWindow::TemperatureEditChange);
}

QTableView *StockWindow::makeTankGrid(const QString &name, const QString &title,
                                      StockTankModel **model, QGroupBox **box)
{
    auto *grid = new QTableView;
    grid->setObjectName(name);
    grid->setAccessibleName(title);
    *model = new StockTankModel(grid);
    grid->setModel(*model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    WidgetColour::setBase(grid, WinColor::clInfoBk);
    for (int c = 0; c < StockSheet::ColumnCount; ++c)
        grid->setColumnWidth(c, TankGridWidths[c]);
    grid->horizontalHeader()->setStretchLastSection(true);
    GridLook::compactRows(grid);
    GridLook::wrapHeader(grid);
    GridKeys::leaveOnTab(grid);
    // As tall as its rows, so that the properties below get the room a tank does not use.
    grid->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    *box = group(name + QStringLiteral("Group"), title, grid);
    (*box)->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    return grid;
}

void StockWindow::setupBody()
{
    auto *body = new QHBoxLayout;
    auto *tanks = new QVBoxLayout;
    const QString names[TankCount] = {QStringLiteral("TankAGrid"), QStringLiteral("TankBGrid"),
                                      QStringLiteral("TankAcidGrid"), QStringLiteral("TankSeparateGrid")};
    for (int i = 0; i < TankCount; ++i) {
        m_tankGrids[i] = makeTankGrid(names[i], StockSheet::tankTitle(Tanks[i]), &m_tankModels[i],
                                      &m_tankGroups[i]);
        tanks->addWidget(m_tankGroups[i], 1);
        m_tankGroups[i]->hide();
    }
    tanks->addStretch(0);
    m_costLabel = new QLabel(this);
    m_costLabel->setObjectName(QStringLiteral("CostLabel"));
    m_costLabel->setWordWrap(true);
    tanks->addWidget(m_costLabel);
    m_ecLabel = new QLabel(this);
    m_ecLabel->setObjectName(QStringLiteral("EcLabel"));
    m_ecLabel->setWordWrap(true);
    tanks->addWidget(m_ecLabel);
    m_solubilityLegend = new QLabel(QStringLiteral("Красным — больше растворимости: удобрение не "
                                                   "растворится; больше 90 % с общими ионами: "
                                                   "кристаллы могут выпасть (см. предупреждения)."),
                                    this);
    m_solubilityLegend->setObjectName(QStringLiteral("SolubilityLegend"));
    m_solubilityLegend->setWordWrap(true);
    QPalette legend = m_solubilityLegend->palette();
    legend.setColor(QPalette::Window, WidgetColour::warningBackground());
    m_solubilityLegend->setPalette(legend);
    m_solubilityLegend->setAutoFillBackground(true);
    m_solubilityLegend->hide();
    tanks->addWidget(m_solubilityLegend);
    body->addLayout(tanks, 3);

    auto *side = new QVBoxLayout;
    m_warningList = new QListWidget(this);
    m_warningList->setObjectName(QStringLiteral("WarningList"));
    m_warningList->setAccessibleName(QStringLiteral("Предупреждения"));
    m_warningList->setWordWrap(true);
    WidgetColour::setBase(m_warningList, WinColor::clInfoBk);
    GridKeys::leaveOnTab(m_warningList);
    side->addWidget(group(QStringLiteral("WarningGroup"), QStringLiteral("Предупреждения:"),
                          m_warningList), 1);
    body->addLayout(side, 2);
    auto *root = static_cast<QVBoxLayout *>(layout());
    root->addLayout(body, 3);
    // Across the whole width: a curve of solubility takes five columns.
    setupPropertiesGrid(root);
}

void StockWindow::setupPropertiesGrid(QVBoxLayout *below)
{
    m_propertiesGrid = new DataGrid(QStringLiteral("PropertiesGrid"), &m_data.own.DS_SVOISTVA);
    DataGrid *g = m_propertiesGrid;
    g->setAccessibleName(QStringLiteral("Свойства удобрений"));
    g->setColour(WinColor::toQColor(WinColor::clInfoBk));
    g->addColumn(QStringLiteral("PropertiesGridName"), Fields::name, QStringLiteral("Удобрение"),
                 ColumnEditor::none())
        ->setWidth(180);
    g->addColumn(QStringLiteral("PropertiesGridRastvorimost"), Fields::rastvorimost,
                 QStringLiteral("Растворимость, г на 1 л воды"), ColumnEditor::spin(1, 0, 100000, 2))
        ->setWidth(95);
    g->column(QStringLiteral("PropertiesGridRastvorimost"))
        ->setHint(QStringLiteral("Сколько граммов удобрения растворяется в 1 л воды при %1 °C "
                                 "(справочники дают на 100 г воды: в 10 раз меньше)")
                      .arg(Stock::SolubilityTemperature));
    // The rest of the curve, shown beside the figure the grid edits.
    const QList<QPair<QString, int>> curve = {{Fields::rastvorimost_0, 0}, {Fields::rastvorimost_10, 10},
                                              {Fields::rastvorimost_30, 30}, {Fields::rastvorimost_40, 40}};
    for (const auto &[field, celsius] : curve) {
        g->addColumn(QStringLiteral("PropertiesGridRastvorimost%1").arg(celsius), field,
                     QStringLiteral("При %1 °C").arg(celsius), ColumnEditor::none())
            ->setWidth(45);
    }
    g->addColumn(QStringLiteral("PropertiesGridCena"), Fields::cena, priceCaption(),
                 ColumnEditor::spin(0.1, 0, 1000000, 2))
        ->setWidth(60);
    g->addColumn(QStringLiteral("PropertiesGridBak"), Fields::bak, QStringLiteral("Бак"),
                 ColumnEditor::choice({QStringLiteral("авто"), Stock::tankName(Stock::Tank::A),
                                       Stock::tankName(Stock::Tank::B),
                                       Stock::tankName(Stock::Tank::Separate)}))
        ->setWidth(65);
    g->column(QStringLiteral("PropertiesGridBak"))
        ->setHint(QStringLiteral("В какой бак идёт удобрение. «авто»: с кальцием — в A, с фосфором "
                                 "или серой — в B, с кальцием и с ними вместе — отдельно, хелат "
                                 "железа — в A, микроэлементы — в B, кислота — в бак «Кислота», "
                                 "прочие — в бак, где меньше соли. A, B, «отдельно»: туда, куда "
                                 "выбрано"));
    g->addColumn(QStringLiteral("PropertiesGridKislota"), Fields::kislota, QStringLiteral("Кислота"),
                 ColumnEditor::check())
        ->setWidth(55);
    g->addColumn(QStringLiteral("PropertiesGridPlotnost"), Fields::plotnost,
                 QStringLiteral("Плотность, г/мл"), ColumnEditor::spin(0.001, 0, 30, 4))
        ->setWidth(65);
    g->setFitColumns(true);
    GridLook::compactRows(g);
    GridLook::wrapHeader(g);
    GridKeys::leaveOnTab(g);
    // A recipe's fertilizers at a glance: the header and about six rows at least.
    g->setMinimumHeight(g->horizontalHeader()->sizeHint().height() + 6 * g->verticalHeader()->defaultSectionSize());
    // Its rows are the recipe's fertilizers, one each, kept by the planner.
    g->setRowsFixed(true);
    below->addWidget(group(QStringLiteral("PropertiesGroup"), QStringLiteral("Свойства удобрений:"), g),
                     2);
}

void StockWindow::connectData()
{
    Form4Data &f4 = m_data.form4;
    // The water analyses name the EC's water.
    for (Binding *b : {&f4.DS_rachet, &f4.DS_SAVE_RAR, &f4.DS_HEAD_RAR, &m_data.own.DS_voda,
                       &m_data.own.DS_sostav_vody}) {
        connect(b, &Binding::reset, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::valuesChanged, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::rowChanged, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::rowInserted, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::rowRemoved, this, &StockWindow::scheduleReplan);
    }
    connect(&f4.DS_HEAD_RAR, &Binding::currentChanged, this, &StockWindow::scheduleReplan);
    connect(&f4.DataSource3, &Binding::currentChanged, this, &StockWindow::scheduleReplan);
    // The window's own filter resets the properties; an edited property changes a row.
    connect(&m_data.own.DS_SVOISTVA, &Binding::rowChanged, this, &StockWindow::scheduleReplan);
    // A composition or a name changed in the fertilizer window moves fertilizers between tanks.
    for (Binding *b : {&m_data.form2.DS_SOSTAV, &m_data.form2.DS_UDobRA}) {
        connect(b, &Binding::valuesChanged, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::rowChanged, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::rowInserted, this, &StockWindow::scheduleReplan);
        connect(b, &Binding::rowRemoved, this, &StockWindow::scheduleReplan);
    }
}

// ---------------------------------------------------------------- inputs

bool StockWindow::savedSource() const
{
    return m_sourceBox->savedChosen();
}

Recipe StockWindow::recipe() const
{
    if (savedSource())
        return SavedSolutions(m_data).currentRecipe();
    return WorkingComposition(m_data.form4).recipe(m_calculator.percentage());
}

StockSheet::Heading StockWindow::heading() const
{
    StockSheet::Heading h;
    const Dataset &head = m_data.form4.T_HEAD_RAR;
    h.recipe = savedSource() && head.isActive() ? head.asString(Fields::name_rar)
                                                : QStringLiteral("Рабочий состав");
    const Dataset &crops = m_data.form4.ADOTable3;
    if (crops.isActive() && crops.currentRow() >= 0)
        h.crop = crops.asString(Fields::name_kult);
    h.percentage = recipe().percentage;
    h.date = QDate::currentDate();
    return h;
}

void StockWindow::updateSources()
{
    // The plan that follows is the caller's; the boxes only name what there is.
    m_sourceBox->follow(m_data.form4.T_HEAD_RAR);
    m_waterBox->fill(m_data.ADOConnection1);
}

void StockWindow::showEc()
{
    // The working solution the tanks make, with the water they are diluted in.
    try {
        const Chemistry::Analysis a = Chemistry::analyse(
            IonInputs::recipeOf(m_data.ADOConnection1, recipe(), m_waterBox->chosen()));
        m_ecLabel->setText(QStringLiteral("Рабочий раствор: ")
                           + IonInputs::ecText(a.solution.conductivity.ec, systemDecimalSeparator())
                           + (m_waterBox->chosen() ? QStringLiteral(", с водой «%1».").arg(m_waterBox->currentText())
                                                   : QStringLiteral(", без учёта воды.")));
    } catch (const AppError &e) {
        m_ecLabel->setText(QStringLiteral("EC не рассчитана: ") + e.text());
    }
}

void StockWindow::requireInputs() const
{
    Stock::factorFromText(m_factorEdit->text());
    Stock::litresFromText(m_tankEdit->text(), systemDecimalSeparator());
}

// ---------------------------------------------------------------- handlers

void StockWindow::SourceBoxChange()
{
    replan();
}

void StockWindow::FactorEditChange()
{
    // Nothing is planned from a text that is no K; leaving the edit says why.
    m_factor.reset();
    try {
        m_factor = Stock::factorFromText(m_factorEdit->text());
    } catch (const AppError &) {
    }
    replan();
}

void StockWindow::TankEditChange()
{
    m_litres.reset();
    try {
        m_litres = Stock::litresFromText(m_tankEdit->text(), systemDecimalSeparator());
    } catch (const AppError &) {
    }
    replan();
}

void StockWindow::TemperatureEditChange()
{
    replan();
    emit temperatureChanged(temperature());
}

int StockWindow::temperature() const
{
    return m_temperatureEdit->value();
}

void StockWindow::setTemperature(int celsius)
{
    // A stored figure shown again is no change of the grower's: nothing is stored back.
    const QSignalBlocker quiet(m_temperatureEdit);
    m_temperatureEdit->setValue(std::clamp(celsius, Stock::MinTemperature, Stock::MaxTemperature));
    replan();
}

void StockWindow::ButtonHelpClick()
{
    Messages::ask({HelpText, QStringLiteral("Маточные растворы"), BoxIcon::Information, {BoxButton::Ok}});
}

void StockWindow::FactorEditExit()
{
    Stock::factorFromText(m_factorEdit->text());
}

void StockWindow::TankEditExit()
{
    Stock::litresFromText(m_tankEdit->text(), systemDecimalSeparator());
}

void StockWindow::ButtonExportClick()
{
    requireInputs();
    replan();
    // The look and the widths of the grids the grower sees, the tank column before them.
    const QTableView *shown = m_tankGrids[0];
    for (int i = TankCount - 1; i >= 0; --i) {
        if (!m_tankGroups[i]->isHidden())
            shown = m_tankGrids[i];
    }
    WorksheetDescription sheet = GridExport::describeLook(*shown, WinColor::toQColor(WinColor::clInfoBk));
    WorksheetFont font = sheet.gridFont;
    const QStringList captions = StockSheet::worksheetCaptions();
    for (int c = 0; c < captions.size(); ++c) {
        WorksheetColumn column;
        column.caption = captions.at(c);
        column.font = font;
        column.widthPixels = c == 0 ? TankColumnWidth : shown->columnWidth(c - 1);
        // The tank and the name are texts; a figure that is missing stays the grid's text.
        column.kind = c <= 1 ? WorksheetCellKind::Text : WorksheetCellKind::Number;
        sheet.columns.append(column);
    }
    const QList<WorksheetRow> rows = shownSheet().worksheetRows(m_plan);
    WorksheetWriter(sheet).writeFile(ExportFile, worksheetRowsFrom(rows));
    GridExport::writeCsvBeside(ExportFile, sheet, rows);
    Messages::ask({QStringLiteral("Выгружено в файл:\n%1")
                       .arg(QDir::toNativeSeparators(QFileInfo(ExportFile).absoluteFilePath())),
                   QStringLiteral("Инфо"), BoxIcon::None, {BoxButton::Ok}});
}

void StockWindow::ButtonPrintClick()
{
    requireInputs();
    replan();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    if (dialog.exec() == QDialog::Accepted)
        printSheet(printer);
}

void StockWindow::printSheet(QPrinter &printer)
{
    // Qt draws nothing and says nothing on a PDF it cannot open: the grower hears it as from
    // "Выгрузить".
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        QFile file(printer.outputFileName());
        if (!file.open(QIODevice::WriteOnly)) {
            throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath()),
                                    file.errorString()));
        }
    }
    QTextDocument document;
    QFont font = windowFont();
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setHtml(shownSheet().html(m_plan, heading()));
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw AppError(QStringLiteral("Лист не напечатан: принтер сообщил об ошибке"));
}

// ---------------------------------------------------------------- planning

bool StockWindow::datasetsOpen() const
{
    for (const Dataset *ds : {&m_data.form4.T_rachet, &m_data.form4.T_HEAD_RAR,
                              &m_data.form4.T_save_rar, &m_data.own.T_SVOISTVA}) {
        if (!ds->isActive())
            return false;
    }
    return true;
}

void StockWindow::scheduleReplan()
{
    if (isVisible())
        m_replanTimer->start();
}

void StockWindow::postFinishedPropertyEdit()
{
    // A value the grid's editor has handed over counts at once, not only when the row is left:
    // the plan beside it must show what the grower typed.
    Dataset &properties = m_data.own.T_SVOISTVA;
    if (properties.state() == DatasetState::Edit)
        properties.checkBrowseMode();
}

void StockWindow::replan()
{
    m_replanTimer->stop();
    if (!isVisible())
        return; // showing plans
    updateSources();
    m_planned = false;
    m_plan = Stock::Plan{};
    if (datasetsOpen() && m_factor && m_litres) {
        postFinishedPropertyEdit();
        m_plan = m_planning.plan(recipe(), *m_factor, *m_litres, systemDecimalSeparator(),
                                 temperature());
        m_planned = true;
    }
    showPlan();
    if (datasetsOpen())
        showEc();
    else
        m_ecLabel->clear();
}

void StockWindow::showPlan()
{
    for (int i = 0; i < TankCount; ++i) {
        const Stock::TankContents *tank = m_planned ? m_plan.tank(Tanks[i]) : nullptr;
        if (tank)
            m_tankModels[i]->setTank(*tank);
        else
            m_tankModels[i]->clear();
        m_tankGroups[i]->setVisible(tank != nullptr);
    }
    m_warningList->clear();
    bool over = false;
    for (const StockTankModel *model : m_tankModels)
        over = over || model->anyWarned();
    m_solubilityLegend->setVisible(m_planned && over);
    if (!m_planned) {
        m_costLabel->setText(QStringLiteral("Баки не рассчитаны: укажите K и объём бака."));
        return;
    }
    m_warningList->addItems(m_plan.warnings);
    m_costLabel->setText(m_plan.tanks.isEmpty()
                             ? QStringLiteral("В составе нет удобрений с количеством.")
                             : shownSheet().costSummary(m_plan) + u'.');
}

// ---------------------------------------------------------------- events

void StockWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    guarded([this] {
        // Another seat may have changed the properties since they were read.
        Dataset &properties = m_data.own.T_SVOISTVA;
        if (properties.isActive())
            properties.refresh();
        replan();
    });
}

bool StockWindow::postPendingRows()
{
    return guardedOk([this] {
        m_propertiesGrid->commitEditor();
        Dataset &properties = m_data.own.T_SVOISTVA;
        if (properties.isActive())
            properties.checkBrowseMode();
    });
}

void StockWindow::closeEvent(QCloseEvent *event)
{
    // A property still in its editor or its row is written before the window goes: the database
    // cycle, which may come next, never writes.
    if (postPendingRows())
        event->accept();
    else
        event->ignore();
}


