#include "savedsolutionspane.h"

#include "calc/run/derivedvalues.h"
#include "calculator/calculatorlook.h"
#include "calculator/dataspinedit.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/textconv.h"
#include "ui/color/widgetcolour.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/gridlook.h"
#include "ui/messages.h"
#include "ui/splitter.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitterHandle>
#include <QStringList>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

QColor winColour(int value)
{
    return WinColor::toQColor(value);
}

QAction *addItem(QMenu *menu, const char *name, const QString &text)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

SavedSolutionsPane::SavedSolutionsPane(DataModules &data, QWidget *parent)
    : QGroupBox(QStringLiteral("Готовые растворы:"), parent), m_data(data), m_solutions(data)
{
    setObjectName(QStringLiteral("SavedSolutionsPane"));

    m_splitter = new Splitter(QStringLiteral("RzSplitter3"), Qt::Horizontal, 6, 240, this);
    m_splitter->addWidget(setupNamePane());
    m_splitter->addWidget(setupCompositionPane());
    // The bar keeps its distance from the left edge when the pane is resized.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    QSplitterHandle *bar = m_splitter->handle(1);
    bar->setToolTip(QStringLiteral("Изменить размер"));
    WidgetColour::setBackground(bar, WinColor::clMedGray);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_splitter);

    attachMenu(m_names, setupPopupMenu1());
    attachMenu(m_composition, setupPopupMenu2());
}

QString SavedSolutionsPane::mixingOrderHint()
{
    const QString rule(26, u'-');
    return QStringList{
        QStringLiteral("Для того, чтобы ничего не выпадало в осадок, всегда "),
        QStringLiteral("смешивайте компоненты строго в следующей "),
        QStringLiteral("последовательности: "),
        rule,
        QStringLiteral("1. Кальциевая селитра "),
        QStringLiteral("2. Монофосфат калия "),
        QStringLiteral("3. Комплексное удобрение "),
        QStringLiteral("4. Сульфат калия "),
        QStringLiteral("5. Сульфат магния "),
        rule,
        QStringLiteral("1. Аммиачная селитра "),
        QStringLiteral("2. Калиевая селитра "),
        QStringLiteral("3. Монофосфат калия "),
        QStringLiteral("4. Кальциевая селитра "),
        QStringLiteral("5. Микро "),
        QStringLiteral("6. Сульфат магния"),
    }.join(u'\r');
}

// ---------------------------------------------------------------- panes

QWidget *SavedSolutionsPane::setupNamePane()
{
    auto *pane = new QWidget;

    auto *group5 = new QGroupBox(QStringLiteral("Название:"), pane);
    group5->setObjectName(QStringLiteral("GroupBox5"));
    m_names = new DataGrid(QStringLiteral("dxDBGrid5"), &m_data.form4.DS_HEAD_RAR, group5);
    m_names->setAccessibleName(QStringLiteral("Список готовых растворов"));
    m_names->setColour(winColour(WinColor::clInfoBk));
    m_names->addColumn(QStringLiteral("dxDBGrid5Column1"), Fields::name_rar,
                       QStringLiteral("Имя раствора"), ColumnEditor::text(50));
    m_names->setFitColumns(true);
    m_names->setFont(CalculatorLook::condensedFont());
    GridLook::compactRows(m_names);
    connect(m_names, &DataGrid::gridClicked, this, &SavedSolutionsPane::calculateRequested);
    connect(m_names, &DataGrid::keyReleased, this, [this] {
        // Keys typed into a name being edited in place belong to that editor, not to the list.
        const QWidget *focus = QApplication::focusWidget();
        if (!focus || focus == m_names || !m_names->isAncestorOf(focus))
            guarded([this] { dxDBGrid5KeyUp(); });
    });
    auto *namesLayout = new QVBoxLayout(group5);
    namesLayout->setContentsMargins(2, 2, 2, 2);
    namesLayout->addWidget(m_names);

    auto *layout = new QHBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(group5, 1);
    layout->addWidget(setupLitresGroup());
    return pane;
}

QWidget *SavedSolutionsPane::setupLitresGroup()
{
    m_litresGroup = new QGroupBox;
    m_litresGroup->setObjectName(QStringLiteral("GroupBox7"));
    m_litresGroup->setFixedWidth(67);
    m_litresGroup->setToolTip(mixingOrderHint());
    // The hint breaks its lines at lone carriage returns, which Qt's tool-tip does not.
    m_litresGroup->installEventFilter(this);

    auto *above = new QLabel(QStringLiteral("Расчет на:"), m_litresGroup);
    above->setObjectName(QStringLiteral("Label1"));
    // The group is as narrow as the editor; a wider desktop font wraps the caption, never cuts it.
    above->setFont(CalculatorLook::condensedFont());
    above->setWordWrap(true);
    m_litres = new DataSpinEdit(QStringLiteral("dxDBSpinEdit1"), &m_data.form4.DS_HEAD_RAR,
                                Fields::kol_l, m_litresGroup);
    m_litres->setMaxDecimals(2);
    m_litres->setRange(0, 100);
    m_litres->setSingleStep(0.1);
    m_litres->setFixedWidth(57);
    m_litres->setToolTip(QStringLiteral("Укажите кол-во литров"));
    m_litres->setAccessibleName(QStringLiteral("Литры"));
    WidgetColour::setBase(m_litres, WinColor::clGradientActiveCaption);
    above->setBuddy(m_litres);
    connect(m_litres, &DataSpinEdit::changed, this,
            [this] { guarded([this] { dxDBSpinEdit1Change(); }); });
    auto *below = new QLabel(QStringLiteral("литров"), m_litresGroup);
    below->setObjectName(QStringLiteral("Label2"));
    below->setFont(CalculatorLook::condensedFont());

    auto *layout = new QVBoxLayout(m_litresGroup);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(above);
    layout->addWidget(m_litres);
    layout->addWidget(below);
    layout->addStretch();
    return m_litresGroup;
}

QWidget *SavedSolutionsPane::setupCompositionPane()
{
    auto *group6 = new QGroupBox(QStringLiteral("Состав:"));
    group6->setObjectName(QStringLiteral("GroupBox6"));
    m_composition = new DataGrid(QStringLiteral("dxDBGrid4"), &m_data.form4.DS_SAVE_RAR, group6);
    DataGrid *g = m_composition;
    g->setAccessibleName(QStringLiteral("Состав готового раствора"));
    g->setColour(winColour(WinColor::clInfoBk));
    DataGridColumn *name = g->addColumn(QStringLiteral("dxDBGrid4Column2"), Fields::name,
                                        QStringLiteral("Название"), ColumnEditor::none());
    DataGridColumn *kol = g->addColumn(QStringLiteral("dxDBGrid4kol"), Fields::kol,
                                       QStringLiteral("Кол-во г/л."),
                                       ColumnEditor::spin(0.01, 0, CalculatorLook::SavedAmountMaximum,
                                                          CalculatorLook::AmountDecimals));
    kol->setColour(winColour(WinColor::clAqua));
    m_perLitres = g->addColumn(QStringLiteral("dxDBGrid4Column3"), Fields::kol_temp,
                               QStringLiteral("Кол-во г/1л."), ColumnEditor::none());
    m_perLitres->setColour(winColour(WinColor::clGradientActiveCaption));
    m_percent = g->addColumn(QStringLiteral("dxDBGrid4Column4"), Fields::r_conc,
                             QStringLiteral("Кол-во от % "), ColumnEditor::none());
    m_percent->setColour(winColour(WinColor::clTeal));
    m_percentLitres = g->addColumn(QStringLiteral("dxDBGrid4Column5"), Fields::rl_conc,
                                   QStringLiteral("Кол-во % на л."), ColumnEditor::none());
    m_percentLitres->setColour(winColour(WinColor::clGradientActiveCaption));
    name->setWidth(70);
    for (DataGridColumn *c : {kol, m_perLitres, m_percent, m_percentLitres})
        c->setWidth(45);
    g->setFitColumns(true);
    g->setFont(CalculatorLook::condensedFont());
    GridLook::compactRows(g);
    GridLook::wrapHeader(g);
    // The captions grow with the percentage and the litres ("Кол-во от 80% г./10л."): three
    // lines keep them whole in the narrow number columns.
    g->horizontalHeader()->setMinimumHeight(3 * QFontMetrics(g->font()).height() + 6);

    auto *layout = new QVBoxLayout(group6);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(g);
    return group6;
}

QMenu *SavedSolutionsPane::setupPopupMenu1()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    m_n1 = addItem(menu, "N1", QStringLiteral("изменить название"));
    connect(addItem(menu, "N5", QStringLiteral("удалить р-р")), &QAction::triggered, this,
            [this] { guarded([this] { N5Click(); }); });
    connect(addItem(menu, "N6", QStringLiteral("скопировать р-р")), &QAction::triggered, this,
            [this] { guarded([this] { N6Click(); }); });
    return menu;
}

QMenu *SavedSolutionsPane::setupPopupMenu2()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu2"));
    connect(addItem(menu, "N2", QStringLiteral("Добавить удобрение")), &QAction::triggered, this,
            [this] { guarded([this] { N2Click(); }); });
    connect(addItem(menu, "N3", QStringLiteral("Удалить удобрение")), &QAction::triggered, this,
            [this] { guarded([this] { N3Click(); }); });
    connect(addItem(menu, "N4", QStringLiteral("Рассчитать")), &QAction::triggered, this,
            &SavedSolutionsPane::N4Click);
    m_excel1 = addItem(menu, "EXCEL1", QStringLiteral("Выгрузить в EXCEL"));
    return menu;
}

void SavedSolutionsPane::attachMenu(DataGrid *grid, QMenu *menu)
{
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, menu, [grid, menu](const QPoint &pos) {
        menu->popup(grid->viewport()->mapToGlobal(pos));
    });
}

bool SavedSolutionsPane::eventFilter(QObject *watched, QEvent *event)
{
    // The labels have no hint of their own, so theirs arrives here as the group's.
    if (watched == m_litresGroup && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        QString text = m_litresGroup->toolTip();
        text.replace(u'\r', u'\n');
        QToolTip::showText(help->globalPos(), text, m_litresGroup);
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

// An amount or a name still open in a grid's editor belongs to the row it was typed into.
void SavedSolutionsPane::commitEditors()
{
    m_names->commitEditor();
    m_composition->commitEditor();
}

double SavedSolutionsPane::litres() const
{
    return DerivedValues::litresFromText(m_litres->text());
}

// ---------------------------------------------------------------- captions

namespace {

QString perLitresCaption(const QString &litres)
{
    return QStringLiteral("Кол-во г./") + litres + QStringLiteral("л.");
}

QString percentLitresCaption(const QString &percentage, const QString &litres)
{
    return QStringLiteral("Кол-во от ") + percentage + QStringLiteral("% г./") + litres
        + QStringLiteral("л.");
}

} // namespace

void SavedSolutionsPane::showSavedRowCaptions(const QString &storedLitres,
                                              const QString &savedPercentage)
{
    m_perLitres->setCaption(perLitresCaption(storedLitres));
    m_percent->setCaption(QStringLiteral("Кол-во от ") + savedPercentage
                          + QStringLiteral("% г./л."));
    m_percentLitres->setCaption(percentLitresCaption(savedPercentage, storedLitres));
}

void SavedSolutionsPane::showRunCaption(double litres)
{
    m_perLitres->setCaption(QStringLiteral("Кол-во, г/") + formatGeneral(litres)
                            + QStringLiteral(" л."));
}

// ---------------------------------------------------------------- operations

void SavedSolutionsPane::N5Click()
{
    m_solutions.removeCurrent();
}

void SavedSolutionsPane::N6Click()
{
    commitEditors();
    m_solutions.copyToComposition();
}

void SavedSolutionsPane::N2Click()
{
    commitEditors();
    m_solutions.addFertilizer(m_data.form2.T_Udobra);
}

void SavedSolutionsPane::N3Click()
{
    m_solutions.removeFertilizer();
}

void SavedSolutionsPane::N4Click()
{
    Q_EMIT calculateRequested();
}

void SavedSolutionsPane::dxDBGrid5KeyUp()
{
    Q_EMIT calculateRequested();
}

void SavedSolutionsPane::dxDBSpinEdit1Change()
{
    const Dataset &head = m_data.form4.T_HEAD_RAR;
    const QString litres = m_litres->text();
    const QString percentage = head.isActive() ? head.asString(Fields::konc) : QString();
    m_perLitres->setCaption(perLitresCaption(litres));
    m_percentLitres->setCaption(percentLitresCaption(percentage, litres));
    Dataset &rows = m_data.form4.T_save_rar;
    rows.close();
    rows.open();
}
