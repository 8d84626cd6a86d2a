#include "croppane.h"

#include "calculatorlook.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/gridlook.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/navbar.h"
#include "ui/messages.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// 0x00FFFBF0: RGB 240, 251, 255, the colour of the ph column.
constexpr int PhColour = 16776176;
constexpr int NavigatorColumnWidth = 44;
constexpr int NavigatorButtonHeight = 25;

} // namespace

CropPane::CropPane(Form4Data &calculator, Form3Data &elements, QWidget *parent)
    : QWidget(parent), m_data(calculator), m_elements(elements)
{
    setObjectName(QStringLiteral("CropPane"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    setupGrid();
    setupNavigators();
    m_data.ADOTable3.setAfterPostHook([this](Dataset &) { ADOTable3AfterPost(); });
}

CropPane::~CropPane()
{
    m_data.ADOTable3.setAfterPostHook({});
}

void CropPane::setupGrid()
{
    m_grid = new DataGrid(QStringLiteral("dxDBGrid6"), &m_data.DataSource3, this);
    m_grid->setAccessibleName(QStringLiteral("Культуры"));
    m_grid->setColour(WinColor::toQColor(WinColor::clInfoBk));
    DataGridColumn *id = m_grid->addColumn(QStringLiteral("dxDBGrid6id_kult"), Fields::id_kult);
    id->setVisible(false);
    DataGridColumn *name = m_grid->addColumn(QStringLiteral("dxDBGrid6name_kult"),
                                             Fields::name_kult, QStringLiteral("Название"),
                                             ColumnEditor::text(50));
    name->setWidth(150);
    // No caption of its own: the header shows the field's name, "ph".
    DataGridColumn *ph = m_grid->addColumn(QStringLiteral("dxDBGrid6ph"), Fields::ph,
                                           QString(), ColumnEditor::text(50));
    ph->setColour(WinColor::toQColor(PhColour));
    ph->setWidth(60);
    m_grid->setFitColumns(true);
    GridLook::compactRows(m_grid);
    connect(m_grid, &DataGrid::gridClicked, this, [this] { guarded([this] { dxDBGrid6Click(); }); });
    layout()->addWidget(m_grid);
}

void CropPane::setupNavigators()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel11"));
    panel->setFixedWidth(NavigatorColumnWidth);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 0, 2, 0);
    column->setSpacing(2);
    const struct
    {
        const char *name;
        NavButton button;
        const char *toolTip;
    } bars[] = {
        {"DBNavigator1", NavButton::Insert, "Добавить новую культуру"},
        {"DBNavigator2", NavButton::Delete, "Удалить культуру"},
        {"DBNavigator3", NavButton::Post, "Сохранить изменения"},
    };
    for (const auto &b : bars) {
        auto *bar = new NavBar(QString::fromLatin1(b.name), &m_data.DataSource3, {b.button}, panel);
        bar->setFixedHeight(NavigatorButtonHeight);
        const QString tip = QString::fromUtf8(b.toolTip);
        bar->setToolTip(tip);
        bar->button(b.button)->setToolTip(tip);
        bar->button(b.button)->setAccessibleName(tip);
        column->addWidget(bar);
    }
    column->addStretch(1);
    layout()->addWidget(panel);
}

void CropPane::ADOTable3AfterPost()
{
    fillTargets();
}

void CropPane::dxDBGrid6Click()
{
    fillTargets();
}

bool CropPane::hasSelectedCrop() const
{
    // A crop being inserted has no key yet: rows appended for it would belong to no crop.
    const Dataset &crops = m_data.ADOTable3;
    return crops.isActive() && crops.currentRow() >= 0 && !crops.isNull(Fields::id_kult);
}

bool CropPane::hasTargetRow(int element)
{
    Dataset &targets = m_data.ADOTable2;
    if (targets.isEmpty())
        return false;
    targets.first();
    while (!targets.eof()) {
        if (targets.asInteger(Fields::id_el) == element)
            return true;
        targets.next();
    }
    return false;
}

void CropPane::fillTargets()
{
    if (!hasSelectedCrop())
        return;
    Dataset &elements = m_elements.T_Element;
    Dataset &targets = m_data.ADOTable2;
    elements.first();
    while (!elements.eof()) {
        // An empty oxide flag counts as false.
        if (!elements.asBoolean(Fields::kof)) {
            const int element = elements.asInteger(Fields::id_element);
            if (!hasTargetRow(element)) {
                targets.append(); // the link gives the row the selected crop
                targets.setValue(Fields::id_el, element);
                targets.post();
            }
        }
        elements.next();
    }
    if (targets.isModified())
        targets.post();
    targets.close();
    targets.open();
}
