#include "fertilizerpane.h"

#include "calculatorlook.h"

#include "calc/run/numbers.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/widgetcolour.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/gridlook.h"
#include "ui/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

FertilizerPane::FertilizerPane(Form2Data &fertilizers, QWidget *parent)
    : QGroupBox(QStringLiteral("Удобрения:"), parent), m_data(fertilizers)
{
    setObjectName(QStringLiteral("GroupBox1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    setupSearchBar();
    setupList();
    setupCountBar();
}

void FertilizerPane::setupSearchBar()
{
    m_searchBar = new QWidget(this);
    m_searchBar->setObjectName(QStringLiteral("Panel1"));
    m_searchBar->setFixedHeight(34);
    auto *bar = new QHBoxLayout(m_searchBar);
    bar->setContentsMargins(4, 0, 0, 0);
    bar->setSpacing(6);
    QLabel *caption = CalculatorLook::label(QStringLiteral("Label7"), QStringLiteral("Поиск:"),
                                            m_searchBar, true);
    m_edit1 = new QLineEdit(m_searchBar);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setToolTip(QStringLiteral("Название искомого удобрения"));
    m_edit1->setAccessibleName(QStringLiteral("Поиск удобрения"));
    WidgetColour::setBase(m_edit1, WinColor::clBtnFace);
    caption->setBuddy(m_edit1);
    // The edit takes the width fitSearchEdit gives it, less when the bar is narrower.
    m_edit1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_edit1->setMinimumWidth(20);
    bar->addWidget(caption);
    bar->addWidget(m_edit1, 100);
    bar->addStretch(1);
    connect(m_edit1, &QLineEdit::textChanged, this, [this] { guarded([this] { Edit1Change(); }); });
    layout()->addWidget(m_searchBar);
}

void FertilizerPane::setupList()
{
    m_list = new DataGrid(QStringLiteral("dxDBGrid1"), &m_data.DS_UDobRA, this);
    m_list->setAccessibleName(QStringLiteral("Список удобрений"));
    m_list->setEditable(false);
    m_list->setColour(WinColor::toQColor(WinColor::clInfoBk));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_nameColumn = m_list->addColumn(QStringLiteral("dxDBGrid1name_udobra"),
                                     Fields::name_udobra, QStringLiteral("Названия"),
                                     ColumnEditor::none());
    m_nameColumn->setSortMark(SortMark::Down);
    m_list->setFitColumns(true);
    GridLook::compactRows(m_list);
    connect(m_list, &DataGrid::headerClicked, this,
            [this] { guarded([this] { dxDBGrid1ColumnClick(); }); });
    connect(m_list, &DataGrid::gridClicked, this, [this] { guarded([this] { dxDBGrid1Click(); }); });
    connect(m_list, &DataGrid::gridDoubleClicked, this, &FertilizerPane::addRequested);
    layout()->addWidget(m_list);
}

void FertilizerPane::setupCountBar()
{
    auto *countBar = new QWidget(this);
    countBar->setObjectName(QStringLiteral("Panel2"));
    countBar->setFixedHeight(20);
    auto *bar = new QHBoxLayout(countBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    bar->addWidget(CalculatorLook::label(QStringLiteral("Label8"),
                                         QStringLiteral("  Всего удобрений:   "), countBar, true));
    m_label6 = CalculatorLook::label(QStringLiteral("Label6"), QStringLiteral("0"), countBar, true);
    bar->addWidget(m_label6);
    bar->addStretch(1);
    layout()->addWidget(countBar);
}

void FertilizerPane::Edit1Change()
{
    Dataset &list = m_data.T_Udobra;
    const QString text = m_edit1->text();
    if (text.isEmpty()) {
        list.setFiltered(false);
        return;
    }
    list.setFilter(Fields::name_udobra + QStringLiteral(" like %") + text + u'%');
    list.setFiltered(true);
}

void FertilizerPane::dxDBGrid1ColumnClick()
{
    // The mark starts pointing down while the list is still in the query's own order, so the
    // first click sorts descending.
    if (m_nameColumn->sortMark() == SortMark::Down) {
        m_nameColumn->setSortMark(SortMark::Up);
        m_data.T_Udobra.setSort(Fields::name_udobra + QStringLiteral(" DESC"));
    } else {
        m_nameColumn->setSortMark(SortMark::Down);
        m_data.T_Udobra.setSort(Fields::name_udobra + QStringLiteral(" ASC"));
    }
}

void FertilizerPane::dxDBGrid1Click()
{
    const Dataset &list = m_data.T_Udobra;
    const Dataset &rows = m_data.T_Sostav_Udobra;
    const QString start = list.asString(Fields::name_udobra) + u':';
    // The detail rows are read where they stand, so the fertilizer window's composition grid
    // keeps its current row and any edit in it.
    QString body;
    for (int i = 0; i < rows.recordCount(); ++i) {
        const QVariant percent = rows.valueAt(i, Fields::kol_element);
        body += CrLf + rows.valueAt(i, Fields::name_element).toString()
            + QStringLiteral(" - ") + (percent.isNull() ? QString() : formatGeneral(percent.toDouble()))
            + u'%';
    }
    m_list->setToolTip(start + CrLf + body);
}

void FertilizerPane::fitSearchEdit()
{
    m_edit1->setMaximumWidth(std::max(m_edit1->minimumWidth(), m_searchBar->width() - 65));
}

void FertilizerPane::setCount(int count)
{
    m_label6->setText(QString::number(count));
}
