#include "concentrationpane.h"

#include "calculatorlook.h"

#include "calc/run/salttotals.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/textconv.h"
#include "ui/color/widgetcolour.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/gridlook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// 0x00A6CAF0: RGB 240, 202, 166, the flowering columns' colour.
constexpr int FloweringColour = 10930928;
constexpr int TotalLineHeight = 16;

struct ColumnSpec
{
    const char *name;
    const QString *field;
    const char *caption;
    int colour; // -1: the grid's colour
    int width;
    bool shown;
};

// Targets are typed with up to four decimals, as the micro elements' targets need.
constexpr int TargetDecimals = 4;

} // namespace

ConcentrationPane::ConcentrationPane(Form4Data &calculator, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ConcentrationPane"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setupGrid(calculator);

    layout->addWidget(makeTotalLine(QStringLiteral("Panel13"), QStringLiteral("Label12"),
                                    QStringLiteral(" Общее кол-во солей (PPM):  "),
                                    {{QStringLiteral("Label10"), WinColor::clAqua, &m_label10},
                                     {QStringLiteral("Label11"), WinColor::clTeal, &m_label11}}));
    layout->addWidget(makeTotalLine(QStringLiteral("Panel9"), QStringLiteral("Label3"),
                                    QStringLiteral(" Общее кол-во солей (мг./л.):  "),
                                    {{QStringLiteral("Label4"), WinColor::clAqua, &m_label4},
                                     {QStringLiteral("Label13"), WinColor::clTeal, &m_label13},
                                     {QStringLiteral("Label5"), WinColor::clMoneyGreen, &m_label5},
                                     {QStringLiteral("Label9"), FloweringColour, &m_label9}}));
}

void ConcentrationPane::setupGrid(Form4Data &calculator)
{
    m_grid = new DataGrid(QStringLiteral("dxDBGrid3"), &calculator.DataSource2, this);
    m_grid->setAccessibleName(QStringLiteral("Концентрация элементов"));
    m_grid->setColour(WinColor::toQColor(WinColor::clInfoBk));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Nine columns share the right half: condensed, every caption and a four-decimal value
    // fit at the window's built size.
    m_grid->setFont(CalculatorLook::condensedFont());
    GridLook::compactRows(m_grid);
    GridLook::wrapHeader(m_grid);

    const ColumnSpec columns[] = {
        {"dxDBGrid3id_konc", &Fields::id_konc, "", -1, 40, false},
        {"dxDBGrid3id_kult", &Fields::id_kult, "", -1, 40, false},
        {"dxDBGrid3id_el", &Fields::id_el, "", -1, 40, false},
        {"dxDBGrid3name_el", &Fields::name_el, "Элемент", -1, 50, true},
        {"dxDBGrid3vega", &Fields::vega, "Вега100%", WinColor::clMoneyGreen, 56, true},
        {"dxDBGrid3cvet", &Fields::cvet, "Цвет100%", FloweringColour, 57, true},
        {"dxDBGrid3rachet", &Fields::rachet, "Расчёт", WinColor::clAqua, 52, true},
        {"dxDBGrid3Column10", &Fields::r_pr, "Расчёт от %", WinColor::clTeal, 52, true},
        {"dxDBGrid3vaga_calc", &Fields::vaga_calc, "В100%", WinColor::clMoneyGreen, 42, true},
        {"dxDBGrid3cvet_calc", &Fields::cvet_calc, "Ц100%", FloweringColour, 42, true},
        {"dxDBGrid3Column11", &Fields::raznica_v, "+-Веги", WinColor::clMoneyGreen, 47, true},
        {"dxDBGrid3Column12", &Fields::raznica_c, "+-Цвета", FloweringColour, 48, true},
    };
    for (const ColumnSpec &spec : columns) {
        const QString &field = *spec.field;
        ColumnEditor editor = ColumnEditor::text();
        if (field == Fields::vega || field == Fields::cvet)
            editor = ColumnEditor::unboundedSpin(1, TargetDecimals);
        else if (field == Fields::name_el)
            editor = ColumnEditor::none();
        DataGridColumn *c = m_grid->addColumn(QString::fromLatin1(spec.name), field,
                                              QString::fromUtf8(spec.caption), editor);
        if (spec.colour >= 0)
            c->setColour(WinColor::toQColor(spec.colour));
        c->setWidth(spec.width);
        c->setVisible(spec.shown);
    }
    m_grid->setFitColumns(true);
    layout()->addWidget(m_grid);
}

QWidget *ConcentrationPane::makeTotalLine(const QString &name, const QString &titleName,
                                          const QString &title,
                                          const QList<ValueLabel> &values)
{
    // The labels sit on a strip as wide as their texts; the line shows what fits of it and
    // cuts the rest at its right edge. Longer totals after a run thus never widen the right
    // half, and RzSplitter1 stays where the grower put it.
    auto *line = new QWidget(this);
    line->setObjectName(name);
    line->setFixedHeight(TotalLineHeight);
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *strip = new QWidget(line);
    auto *row = new QHBoxLayout(strip);
    row->setSizeConstraint(QLayout::SetFixedSize);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    QLabel *titleLabel = CalculatorLook::label(titleName, title, strip);
    titleLabel->setFixedHeight(TotalLineHeight);
    row->addWidget(titleLabel);
    // The first value reads "0   ", the others "0    ", until the first totals are worked out.
    bool first = true;
    for (const ValueLabel &value : values) {
        QLabel *l = CalculatorLook::label(value.name, first ? QStringLiteral("0   ")
                                                            : QStringLiteral("0    "), strip);
        WidgetColour::setBackground(l, value.colour);
        l->setFixedHeight(TotalLineHeight);
        row->addWidget(l);
        *value.label = l;
        first = false;
    }
    return line;
}

void ConcentrationPane::setPercentageCaptions(int percentage)
{
    const QString p = QString::number(percentage);
    m_grid->column(QStringLiteral("dxDBGrid3vaga_calc"))->setCaption(u'В' + p + u'%');
    m_grid->column(QStringLiteral("dxDBGrid3cvet_calc"))->setCaption(u'Ц' + p + u'%');
    m_grid->column(QStringLiteral("dxDBGrid3Column10"))->setCaption(QStringLiteral("Расчёт от ") + p + u'%');
}

void ConcentrationPane::showSaltTotals(const SaltTotals &totals)
{
    const QChar separator = systemDecimalSeparator();
    m_label4->setText(SaltTotals::text(totals.concentration, separator));
    m_label5->setText(SaltTotals::text(totals.vegetativeTargets, separator));
    m_label9->setText(SaltTotals::text(totals.floweringTargets, separator));
    m_label13->setText(SaltTotals::text(totals.concentrationAtPercentage, separator));
    m_label10->setText(SaltTotals::text(totals.ppm, separator));
    m_label11->setText(SaltTotals::text(totals.ppmAtPercentage, separator));
}
