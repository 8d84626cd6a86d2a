#include "waterwindow.h"

#include "calc/run/numbers.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/escapecloser.h"
#include "ui/grid/gridkeys.h"
#include "ui/grid/gridlook.h"
#include "ui/grid/navbar.h"
#include "ui/messages.h"
#include "ui/windowfont.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int BuiltWidth = 460;
constexpr int BuiltHeight = 360;
constexpr int NavButtonWidth = 28;
constexpr int NavBarHeight = 25;

// What each button of a bar does, in words, since both bars show the same glyphs: Insert,
// Delete, Post.
struct NavWords
{
    const char *insert;
    const char *remove;
    const char *post;
};

NavBar *navigator(const QString &name, Binding *binding, const NavWords &words, QWidget *parent)
{
    const QList<NavButton> buttons = {NavButton::Insert, NavButton::Delete, NavButton::Post};
    auto *bar = new NavBar(name, binding, buttons, parent);
    bar->setFixedSize(int(buttons.size()) * NavButtonWidth, NavBarHeight);
    const char *said[] = {words.insert, words.remove, words.post};
    for (int i = 0; i < buttons.size(); ++i) {
        QToolButton *b = bar->button(buttons.at(i));
        b->setAccessibleName(QString::fromUtf8(said[i]));
        b->setToolTip(b->accessibleName());
    }
    return bar;
}

} // namespace

WaterWindow::WaterWindow(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("WaterWindow"));
    setWindowTitle(QStringLiteral("Анализ воды"));
    setFont(windowFont());

    auto *lists = new QHBoxLayout;
    lists->addWidget(setupAnalyses(), 1);
    lists->addWidget(setupElements(), 1);

    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("WaterCloseButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);

    for (Binding *b : {&m_data.own.DS_voda}) {
        connect(b, &Binding::reset, this, &WaterWindow::updateActions);
        connect(b, &Binding::currentChanged, this, &WaterWindow::updateActions);
        connect(b, &Binding::stateChanged, this, &WaterWindow::updateActions);
    }
    setTabOrder(m_analyses, m_analysisBar);
    setTabOrder(m_analysisBar, m_elements);
    setTabOrder(m_elements, m_elementBar);
    setTabOrder(m_elementBar, close);
    EscapeCloser::install(this);
    resize(BuiltWidth, BuiltHeight);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    updateActions();
}

QWidget *WaterWindow::setupAnalyses()
{
    auto *group = new QGroupBox(QStringLiteral("Анализы:"), this);
    group->setObjectName(QStringLiteral("WaterAnalysesGroup"));
    m_analyses = new DataGrid(QStringLiteral("WaterGrid"), &m_data.own.DS_voda, group);
    m_analyses->setAccessibleName(QStringLiteral("Анализы воды"));
    m_analyses->setColour(WinColor::toQColor(WinColor::clWindow));
    m_analyses->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridLook::compactRows(m_analyses);
    m_analyses->addColumn(QStringLiteral("WaterGridname_voda"), Fields::name_voda,
                          QStringLiteral("Название"), ColumnEditor::text(50));
    m_analyses->setFitColumns(true);
    GridKeys::leaveOnTab(m_analyses);
    m_analysisBar = navigator(QStringLiteral("WaterNavigator"), &m_data.own.DS_voda,
                              {"Добавить анализ воды", "Удалить анализ воды", "Сохранить анализ воды"},
                              group);

    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_analysisBar);
    layout->addWidget(m_analyses, 1);
    return group;
}

QWidget *WaterWindow::setupElements()
{
    auto *group = new QGroupBox(QStringLiteral("Содержание, мг/л:"), this);
    group->setObjectName(QStringLiteral("WaterElementsGroup"));
    m_elements = new DataGrid(QStringLiteral("WaterElementGrid"), &m_data.own.DS_sostav_vody,
                              group);
    m_elements->setAccessibleName(QStringLiteral("Элементы анализа воды"));
    m_elements->setColour(WinColor::toQColor(WinColor::clWindow));
    m_elements->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridLook::compactRows(m_elements);
    // The picker offers the calculator's elements without the oxides.
    m_elements
        ->addColumn(QStringLiteral("WaterElementGridname_element"), Fields::name_element,
                    QStringLiteral("Элемент"),
                    ColumnEditor::lookup(&m_data.form4.DS_EL, Fields::id_element,
                                         Fields::Smallname_element, 12))
        ->setWidth(60);
    m_elements
        ->addColumn(QStringLiteral("WaterElementGridmg_l"), Fields::mg_l, QStringLiteral("мг/л"),
                    ColumnEditor::spin(0.1, 0, WaterMilligramsMaximum, ConcentrationDecimals))
        ->setWidth(60);
    m_elements->setFitColumns(true);
    GridKeys::leaveOnTab(m_elements);
    m_elementBar = navigator(QStringLiteral("WaterElementNavigator"), &m_data.own.DS_sostav_vody,
                             {"Добавить элемент в анализ", "Удалить элемент из анализа",
                              "Сохранить содержание элемента"},
                             group);
    connect(m_elements, &DataGrid::gridClicked, this,
            [this] { guarded([this] { WaterElementGridClick(); }); });
    m_elements->installEventFilter(this);
    connect(m_elementBar, &NavBar::clicked, this,
            [this](NavButton b) { guarded([this, b] { WaterElementNavigatorClick(b); }); });

    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_elementBar);
    layout->addWidget(m_elements, 1);
    return group;
}

void WaterWindow::updateActions()
{
    // Rows typed while there is no analysis would belong to none.
    const Dataset &analyses = m_data.own.T_voda;
    const bool any = analyses.isActive() && analyses.currentRow() >= 0;
    m_elements->setEnabled(any);
    m_elementBar->setEnabled(any);
}

bool WaterWindow::postPendingAnalysis()
{
    Dataset &analyses = m_data.own.T_voda;
    if (!analyses.isActive())
        return false;
    analyses.updateRecord(); // a name still open in the list's editor counts as typed
    // A new analysis is stored even without a name: the rows about to be typed need its key.
    if (!analyses.isModified() && analyses.state() != DatasetState::Insert)
        return false;
    analyses.post();
    return true;
}

void WaterWindow::WaterElementGridClick()
{
    postPendingAnalysis();
}

void WaterWindow::WaterElementNavigatorClick(NavButton button)
{
    if (button != NavButton::Insert)
        return;
    // Storing the analysis makes its rows follow it afresh, which drops the row the button had
    // just started; it is started again, now with the analysis's key.
    Dataset &rows = m_data.own.T_sostav_vody;
    if (postPendingAnalysis() && rows.isActive() && rows.state() != DatasetState::Insert)
        rows.insert();
}

bool WaterWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The keyboard's way into the rows (Tab, a shortcut) stores the analysis as a click does.
    if (watched == m_elements && event->type() == QEvent::FocusIn)
        guarded([this] { postPendingAnalysis(); });
    return QWidget::eventFilter(watched, event);
}

bool WaterWindow::FormClose()
{
    return guardedOk([this] {
        m_analyses->commitEditor();
        m_elements->commitEditor();
        for (Dataset *ds : {&m_data.own.T_sostav_vody, &m_data.own.T_voda}) {
            if (ds->isActive())
                ds->checkBrowseMode();
        }
    });
}

void WaterWindow::closeEvent(QCloseEvent *event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}
