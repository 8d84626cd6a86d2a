#include "tform6.h"

#include "lookupcombobox.h"
#include "referencelook.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/gridlook.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/navbar.h"
#include "ui/messages.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ClientWidth = 302;
constexpr int ClientHeight = 405;
constexpr int BarHeight = 29;
constexpr int GridWidth = 191;
constexpr int NameWidth = 115;
constexpr int FactorWidth = 49;

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

TForm6::TForm6(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_data(data)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Спарвочник коэффициентов"));
    ReferenceLook::apply(this);
    setFixedSize(ClientWidth, ClientHeight);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(setupGroup(), 1);
    outer->addWidget(setupBottomBar());

    setTabOrder(m_grid, m_picker);
    ReferenceLook::centre(this);
}

QWidget *TForm6::setupBottomBar()
{
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setFixedHeight(BarHeight);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(3, 2, 3, 2);
    layout->setSpacing(4);

    m_navigator = new NavBar(QStringLiteral("DBNavigator1"), &m_data.form3.DS_KOF,
                             {NavButton::Insert, NavButton::Delete, NavButton::Post}, bar);
    m_navigator->setFixedWidth(3 * 28);
    layout->addWidget(m_navigator);
    layout->addStretch(1);

    auto *exit = new QPushButton(QStringLiteral("выход"), bar);
    exit->setObjectName(QStringLiteral("Button1"));
    exit->setAutoDefault(false);
    layout->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    return bar;
}

QWidget *TForm6::setupGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Список Коэффициентов:"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);

    m_grid = new DataGrid(QStringLiteral("dxDBGrid1"), &m_data.form3.DS_KOF, group);
    m_grid->setAccessibleName(QStringLiteral("Список коэффициентов"));
    m_grid->setColour(WinColor::toQColor(WinColor::clWindow));
    m_grid->setFixedWidth(GridWidth);
    GridLook::compactRows(m_grid);
    DataGridColumn *name =
        m_grid->addColumn(QStringLiteral("dxDBGrid1name_kof"), Fields::name_kof,
                          QStringLiteral("Название коэффициента"), ColumnEditor::text(50));
    DataGridColumn *factor =
        m_grid->addColumn(QStringLiteral("dxDBGrid1kof"), Fields::kof,
                          QStringLiteral("Значение коэффц."), ColumnEditor::unboundedSpin(0.01, 6));
    // 115 and 49 pixels, except that a font wider than the one they were chosen for must not
    // cut a word of a caption: the factor column then widens at the name column's expense.
    const int factorWidth = std::max(FactorWidth, GridLook::widestWord(m_grid, factor->caption()));
    factor->setWidth(factorWidth);
    name->setWidth(std::max(NameWidth - (factorWidth - FactorWidth),
                            GridLook::widestWord(m_grid, name->caption())));
    m_grid->setFitColumns(false);
    GridLook::wrapHeader(m_grid);
    layout->addWidget(m_grid);

    auto *right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(setupPicker(group));
    right->addStretch(1);
    right->addWidget(setupWarning(group));
    layout->addLayout(right, 1);
    return group;
}

QWidget *TForm6::setupPicker(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(label(QStringLiteral("Коэффициент "), box));
    layout->addWidget(label(QStringLiteral("пересчета"), box));
    layout->addWidget(label(QStringLiteral("элемента:"), box));
    layout->addSpacing(3);
    m_picker = new LookupComboBox(QStringLiteral("DBLookupComboBox1"), &m_data.form3.DS_KOF,
                                  Fields::id_element, &m_data.form4.DS_EL,
                                  Fields::id_element, Fields::Smallname_element,
                                  box);
    m_picker->setAccessibleName(QStringLiteral("Элемент"));
    layout->addWidget(m_picker);
    return box;
}

QWidget *TForm6::setupWarning(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QLabel *attention = label(QStringLiteral("Внимание!"), box);
    attention->setFont(ReferenceLook::bold(font()));
    QPalette p = attention->palette();
    p.setColor(QPalette::WindowText, WinColor::toQColor(WinColor::clMaroon));
    attention->setPalette(p);
    layout->addWidget(attention);
    layout->addWidget(label(QStringLiteral("не удаляйте"), box));
    layout->addWidget(label(QStringLiteral("используемые"), box));
    layout->addWidget(label(QStringLiteral("коэффициенты"), box));
    return box;
}

void TForm6::Button1Click()
{
    close();
}
