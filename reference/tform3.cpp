#include "tform3.h"

#include "referencelook.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/gridlook.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/navbar.h"
#include "ui/messages.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int BarHeight = 30;

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TForm3::TForm3(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Справочник элементов"));
    ReferenceLook::apply(this);
    resize(465, 630);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::NoFrame);
    outer->addWidget(panel);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);

    auto *group = new QGroupBox(QStringLiteral("Список элементов:"), panel);
    group->setObjectName(QStringLiteral("GroupBox2"));
    panelLayout->addWidget(group);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(4, 4, 4, 4);
    groupLayout->setSpacing(2);
    groupLayout->addWidget(setupButtonBar(group));
    groupLayout->addWidget(setupGrid(group), 1);

    ReferenceLook::centre(this);
}

QWidget *TForm3::setupButtonBar(QWidget *parent)
{
    auto *bar = new QFrame(parent);
    bar->setObjectName(QStringLiteral("Panel3"));
    bar->setFixedHeight(BarHeight);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);

    m_navigator = new NavBar(QStringLiteral("DBNavigator2"), &m_data.form3.DS_Element,
                             {NavButton::Insert, NavButton::Post}, bar);
    m_navigator->setFixedWidth(2 * 28);
    layout->addWidget(m_navigator);

    QPushButton *remove = button("Button4", QStringLiteral("удалить"), bar);
    QPushButton *coefficients = button("Button5", QStringLiteral("коэффициэнты"), bar);
    coefficients->setFont(ReferenceLook::bold(font()));
    QPushButton *exit = button("Button6", QStringLiteral("выход"), bar);
    layout->addWidget(remove);
    layout->addWidget(coefficients);
    layout->addWidget(exit);
    layout->addStretch(1);

    connect(remove, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    connect(coefficients, &QPushButton::clicked, this,
            [this] { guarded([this] { Button3Click(); }); });
    connect(exit, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    return bar;
}

DataGrid *TForm3::setupGrid(QWidget *parent)
{
    m_grid = new DataGrid(QStringLiteral("dxDBGrid1"), &m_data.form3.DS_Element, parent);
    m_grid->setAccessibleName(QStringLiteral("Список элементов"));
    m_grid->setColour(WinColor::toQColor(WinColor::clWindow));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridLook::compactRows(m_grid);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // Widths are proportions: the grid fits its columns to its width.
    m_grid->addColumn(QStringLiteral("dxDBGrid1Smallname_element"),
                      Fields::Smallname_element, QStringLiteral("Обозн."),
                      ColumnEditor::text(10))
        ->setWidth(60);
    m_grid->addColumn(QStringLiteral("dxDBGrid1fullname_element"),
                      Fields::fullname_element, QStringLiteral("Полное название"),
                      ColumnEditor::text(50))
        ->setWidth(170);
    m_grid->addColumn(QStringLiteral("dxDBGrid1Column5"), Fields::kof,
                      QStringLiteral("Оксид"), ColumnEditor::check())
        ->setWidth(50);
    m_grid->addColumn(QStringLiteral("dxDBGrid1Column6"), Fields::name_k,
                      QStringLiteral("Коэффициент"),
                      ColumnEditor::lookup(&m_data.form3.DS_KOF, Fields::id_kof,
                                           Fields::name_kof, 22))
        ->setWidth(120);
    m_grid->setFitColumns(true);
    return m_grid;
}

void TForm3::Button2Click()
{
    Dataset &elements = m_data.form3.T_Element;
    const int id = elements.asInteger(Fields::id_element);
    if (id >= FirstKeyElement && id <= LastKeyElement) {
        Messages::ask({QStringLiteral("нельзя удалить ключевой элемент!"),
                       QStringLiteral("сообщение"), BoxIcon::None, {BoxButton::Ok}});
        return;
    }
    // Right after a jump to the last row (Ctrl+End) the button does nothing.
    if (elements.eof())
        return;
    if (Messages::ask({QStringLiteral("удалить?"), QStringLiteral("подтверждение"), BoxIcon::None,
                       {BoxButton::Yes, BoxButton::No}})
        == BoxButton::Yes)
        elements.remove();
}

void TForm3::Button3Click()
{
    Q_EMIT coefficientsRequested();
}

void TForm3::Button1Click()
{
    close();
}

bool TForm3::FormClose()
{
    return !m_databaseCycle || m_databaseCycle();
}

void TForm3::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}
