#include "tform2.h"

#include "referencelook.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/gridlook.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/navbar.h"
#include "ui/messages.h"
#include "ui/splitter.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>

namespace {

constexpr int SplitterBar = 7;
constexpr int SplitterPosition = 309; // 49 % of the built width
constexpr int SearchBarHeight = 36;
constexpr int CountBarHeight = 19;
constexpr int FertilizerBarHeight = 38;
constexpr int CompositionBarHeight = 36;
constexpr int ConverterBarHeight = 39;
constexpr int NavButtonWidth = 28;
constexpr int NavBarHeight = 25;
constexpr int PercentDecimals = 8;

// What the search edit leaves of its bar, and of half the group when the window is resized.
constexpr int SearchBarMargin = 80;
constexpr int HalfGroupMargin = 90;

QFrame *bar(const char *name, int height, QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
    f->setFixedHeight(height);
    return f;
}

// A bar holding a navigation bar at its left, centred top to bottom.
QFrame *navigatorBar(const char *name, int height, NavBar *navigator, QWidget *parent)
{
    QFrame *f = bar(name, height, parent);
    navigator->setParent(f);
    navigator->setFixedSize(int(navigator->buttons().size()) * NavButtonWidth, NavBarHeight);
    auto *layout = new QHBoxLayout(f);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(navigator, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    return f;
}

} // namespace

TForm2::TForm2(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Справочник удобрений"));
    ReferenceLook::apply(this);
    resize(642, 622);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *panel = new QFrame(this);
    outer->addWidget(panel);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);

    m_groupBox1 = new QGroupBox(QStringLiteral("Список удобрений:"), panel);
    m_groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    panelLayout->addWidget(m_groupBox1);
    auto *groupLayout = new QVBoxLayout(m_groupBox1);
    groupLayout->setContentsMargins(2, 2, 2, 2);

    m_splitter = new Splitter(QStringLiteral("RzSplitter1"), Qt::Horizontal, SplitterBar,
                              SplitterPosition, m_groupBox1);
    m_splitter->addWidget(setupFertilizerPane(m_splitter));
    m_splitter->addWidget(setupCompositionPane(m_splitter));
    // The composition keeps its width when the window changes size; the list takes the rest.
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    groupLayout->addWidget(m_splitter);
    connect(m_splitter, &Splitter::positionChanged, this,
            [this] { guarded([this] { RzSplitter1Change(); }); });

    connect(&m_data.form2.DS_UDobRA, &Binding::dataChange, this,
            [this] { guarded([this] { DS_UDobRADataChange(); }); });

    ReferenceLook::centre(this);
}

// ---------------------------------------------------------------- the fertilizer list

QWidget *TForm2::setupFertilizerPane(QWidget *parent)
{
    auto *group = new QGroupBox(parent);
    group->setObjectName(QStringLiteral("GroupBox3"));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(setupSearchBar(group));
    layout->addWidget(setupFertilizerGrid(group), 1);
    layout->addWidget(setupCountBar(group));

    m_fertilizerBar = new NavBar(QStringLiteral("DBNavigator2"), &m_data.form2.DS_UDobRA,
                                 {NavButton::Insert, NavButton::Delete, NavButton::Post});
    layout->addWidget(navigatorBar("Panel4", FertilizerBarHeight, m_fertilizerBar, group));
    return group;
}

QWidget *TForm2::setupSearchBar(QWidget *parent)
{
    // Placed, not laid out: the search edit's width follows its own rules and may overhang.
    m_panel1 = bar("Panel1", SearchBarHeight, parent);
    auto *caption = new QLabel(QStringLiteral("Поиск:"), m_panel1);
    caption->setFont(ReferenceLook::bold(font()));
    caption->adjustSize();
    caption->move(8, (SearchBarHeight - caption->height()) / 2);

    m_edit1 = new QLineEdit(m_panel1);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setAccessibleName(QStringLiteral("Поиск удобрения"));
    const int editHeight = m_edit1->sizeHint().height();
    m_edit1->setGeometry(caption->x() + caption->width() + 6, (SearchBarHeight - editHeight) / 2,
                         m_edit1->sizeHint().width(), editHeight);
    caption->setBuddy(m_edit1);
    connect(m_edit1, &QLineEdit::textChanged, this, [this] { guarded([this] { Edit1Change(); }); });
    return m_panel1;
}

QWidget *TForm2::setupFertilizerGrid(QWidget *parent)
{
    m_fertilizers = new DataGrid(QStringLiteral("dxDBGrid2"), &m_data.form2.DS_UDobRA, parent);
    m_fertilizers->setAccessibleName(QStringLiteral("Список удобрений"));
    m_fertilizers->setColour(WinColor::toQColor(WinColor::clInfoBk));
    m_fertilizers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridLook::compactRows(m_fertilizers);
    m_fertilizers->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_nameColumn = m_fertilizers->addColumn(QStringLiteral("dxDBGrid2name_udobra"),
                                            Fields::name_udobra,
                                            QStringLiteral("Название"), ColumnEditor::text(50));
    m_nameColumn->setWidth(140);
    m_nameColumn->setSortMark(SortMark::Up);
    m_fertilizers
        ->addColumn(QStringLiteral("dxDBGrid2Column2"), Fields::ppm,
                    QStringLiteral("PPM, 1г./л."), ColumnEditor::text())
        ->setWidth(80);
    m_fertilizers->setFitColumns(true);
    connect(m_fertilizers, &DataGrid::headerClicked, this,
            [this] { guarded([this] { dxDBGrid2ColumnClick(); }); });
    return m_fertilizers;
}

QWidget *TForm2::setupCountBar(QWidget *parent)
{
    QFrame *count = bar("Panel6", CountBarHeight, parent);
    auto *layout = new QHBoxLayout(count);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(QStringLiteral("Всего удобрений:   "), count));
    m_label2 = new QLabel(QStringLiteral("0"), count);
    m_label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(m_label2);
    layout->addStretch(1);
    return count;
}

// ---------------------------------------------------------------- the composition

QWidget *TForm2::setupCompositionPane(QWidget *parent)
{
    auto *group = new QGroupBox(QStringLiteral("Содержание элементов в удобрении:"), parent);
    group->setObjectName(QStringLiteral("GroupBox4"));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);

    m_compositionBar = new NavBar(QStringLiteral("DBNavigator4"), &m_data.form2.DS_SOSTAV,
                                  {NavButton::Insert, NavButton::Delete, NavButton::Post});
    connect(m_compositionBar, &NavBar::clicked, this,
            [this](NavButton b) { guarded([this, b] { DBNavigator3Click(b); }); });
    layout->addWidget(navigatorBar("Panel3", CompositionBarHeight, m_compositionBar, group));
    layout->addWidget(setupCompositionGrid(group), 1);

    QFrame *converter = bar("Panel5", ConverterBarHeight, group);
    auto *button = new QPushButton(QStringLiteral("КОНВЕРТЕР"), converter);
    button->setObjectName(QStringLiteral("Button1"));
    button->setAutoDefault(false);
    button->setFont(ReferenceLook::bold(font()));
    button->setFixedSize(185, 25);
    auto *converterLayout = new QHBoxLayout(converter);
    converterLayout->setContentsMargins(4, 0, 4, 0);
    converterLayout->addWidget(button, 0, Qt::AlignVCenter);
    // Buttons of our own take what the converter leaves of the bar and never widen the pane.
    for (const auto &[name, caption, signal] :
         {std::tuple{"ButtonImportCsv", "Импорт CSV...", &TForm2::csvImportRequested},
          std::tuple{"ButtonExportCsv", "Экспорт CSV...", &TForm2::csvExportRequested}}) {
        auto *extra = new QPushButton(QString::fromUtf8(caption), converter);
        extra->setObjectName(QString::fromLatin1(name));
        extra->setAutoDefault(false);
        extra->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        extra->setFixedHeight(button->height());
        converterLayout->addWidget(extra, 1, Qt::AlignVCenter);
        connect(extra, &QPushButton::clicked, this, signal);
    }
    connect(button, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    layout->addWidget(converter);
    return group;
}

QWidget *TForm2::setupCompositionGrid(QWidget *parent)
{
    m_composition = new DataGrid(QStringLiteral("dxDBGrid1"), &m_data.form2.DS_SOSTAV, parent);
    m_composition->setAccessibleName(QStringLiteral("Состав удобрения"));
    m_composition->setColour(WinColor::toQColor(WinColor::clWindow));
    m_composition->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_composition->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Rows grow to fit their text, as the header does.
    m_composition->setWordWrap(true);
    m_composition->verticalHeader()->setMinimumSectionSize(1);
    m_composition->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_composition
        ->addColumn(QStringLiteral("dxDBGrid1name_element"), Fields::name_element,
                    QStringLiteral("Название"),
                    ColumnEditor::lookup(&m_data.form3.DS_Element, Fields::id_element,
                                         Fields::Smallname_element, 19))
        ->setWidth(120);
    // Decimals enough for the converter's result of an amount in mg/L typed to four
    // decimals: 1234.5678 mg/L is 0.12345678 %.
    ColumnEditor percent = ColumnEditor::spin(0.0001, 0.0001, 100, PercentDecimals);
    percent.maxLength = 100;
    m_composition
        ->addColumn(QStringLiteral("dxDBGrid1kol_element"), Fields::kol_element,
                    QStringLiteral("Кол-во, %"), percent)
        ->setWidth(90);
    m_composition->setFitColumns(true);
    GridLook::wrapHeader(m_composition);
    connect(m_composition, &DataGrid::gridClicked, this,
            [this] { guarded([this] { dxDBGrid1Click(); }); });
    return m_composition;
}

// ---------------------------------------------------------------- handlers

void TForm2::Edit1Change()
{
    Dataset &fertilizers = m_data.form2.T_Udobra;
    const QString text = m_edit1->text();
    if (text.isEmpty()) {
        fertilizers.setFiltered(false);
        return;
    }
    // The text goes in as typed: the dataset matches whatever stands between the % signs
    // literally, so quotes, % and brackets need no escaping.
    fertilizers.setFilter(Fields::name_udobra + QStringLiteral(" like %") + text + u'%');
    fertilizers.setFiltered(true);
}

void TForm2::dxDBGrid2ColumnClick()
{
    // This window's mark only: the calculator's list keeps a mark of its own.
    Dataset &fertilizers = m_data.form2.T_Udobra;
    if (m_nameColumn->sortMark() == SortMark::Down) {
        m_nameColumn->setSortMark(SortMark::Up);
        fertilizers.setSort(Fields::name_udobra + QStringLiteral(" DESC"));
    } else {
        m_nameColumn->setSortMark(SortMark::Down);
        fertilizers.setSort(Fields::name_udobra + QStringLiteral(" ASC"));
    }
}

void TForm2::DS_UDobRADataChange()
{
    const int count = m_data.form2.T_Udobra.recordCount();
    m_label2->setText(QString::number(count));
    Q_EMIT fertilizerCountChanged(count);
}

void TForm2::postPendingFertilizer()
{
    Dataset &fertilizers = m_data.form2.T_Udobra;
    if (!fertilizers.isActive())
        return;
    fertilizers.updateRecord(); // a value still open in the list's editor counts as typed
    if (fertilizers.isModified())
        fertilizers.post();
}

void TForm2::dxDBGrid1Click()
{
    postPendingFertilizer();
}

void TForm2::DBNavigator3Click(NavButton button)
{
    if (button != NavButton::Insert)
        return;
    Dataset &composition = m_data.form2.T_Sostav_Udobra;
    Dataset &fertilizers = m_data.form2.T_Udobra;
    fertilizers.updateRecord();
    const bool pending = fertilizers.isActive() && fertilizers.isModified();
    postPendingFertilizer();
    // Posting the fertilizer makes its composition follow it afresh, which drops the row the
    // insert button had just started; start it again, now with the fertilizer's key.
    if (pending && composition.isActive() && composition.state() != DatasetState::Insert)
        composition.insert();
}

void TForm2::Button1Click()
{
    Q_EMIT converterRequested();
}

void TForm2::setSearchWidth(int width)
{
    m_edit1->resize(std::max(0, width), m_edit1->height());
}

void TForm2::FormResize()
{
    setSearchWidth(m_groupBox1->width() / 2 - HalfGroupMargin);
}

void TForm2::RzSplitter1Change()
{
    setSearchWidth(m_panel1->width() - SearchBarMargin);
}

void TForm2::FormShow()
{
    setSearchWidth(m_panel1->width() - SearchBarMargin);
}

bool TForm2::FormClose()
{
    return !m_databaseCycle || m_databaseCycle();
}

// ---------------------------------------------------------------- events

void TForm2::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    guarded([this] { FormResize(); });
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    guarded([this] { FormShow(); });
}

void TForm2::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}
