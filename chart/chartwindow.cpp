#include "chartwindow.h"

#include "calc/run/calculationinputs.h"
#include "calc/run/derivedvalues.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/chart/elementchart.h"
#include "ui/escapecloser.h"
#include "ui/grid/datagrid.h"
#include "ui/windowfont.h"

#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int BuiltWidth = 720;
constexpr int BuiltHeight = 440;

} // namespace

ChartWindow::ChartWindow(const Form4Data &calculator, const CalculationInputs &inputs,
                         const DataGrid &concentrationGrid, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(calculator), m_inputs(inputs), m_grid(concentrationGrid)
{
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(QStringLiteral("Диаграмма"));
    setFont(windowFont());
    m_chart = new ElementChart(QStringLiteral("ConcentrationChart"), this);
    m_chart->setAccessibleName(QStringLiteral("Диаграмма концентраций"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_chart);
    EscapeCloser::install(this);
    resize(BuiltWidth, BuiltHeight);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void ChartWindow::refresh()
{
    if (!isVisible())
        return;
    // Each bar set in the colour of the grid's column it draws, named in words rather than by
    // the column's short caption.
    const struct
    {
        const char *column;
        const char *name;
        double DerivedValues::Target::*value;
    } columns[] = {
        {"dxDBGrid3Column10", "Расчёт", &DerivedValues::Target::rPr},
        {"dxDBGrid3vaga_calc", "Вега", &DerivedValues::Target::vagaCalc},
        {"dxDBGrid3cvet_calc", "Цвет", &DerivedValues::Target::cvetCalc},
    };
    const int p = m_inputs.percentage();
    QList<ElementChart::Series> series;
    for (const auto &c : columns) {
        const DataGridColumn *column = m_grid.column(QString::fromLatin1(c.column));
        series.append({QStringLiteral("%1 при %2 %").arg(QString::fromUtf8(c.name)).arg(p),
                       column->colour().isValid() ? column->colour() : m_grid.colour(), {}, {}});
    }
    QStringList elements;
    const Dataset &targets = m_data.ADOTable2;
    for (int row = 0; targets.isActive() && row < targets.recordCount(); ++row) {
        elements.append(targets.valueAt(row, Fields::name_el).toString());
        const DerivedValues::Target t = DerivedValues::target(
            targets.valueAt(row, Fields::vega).toDouble(), targets.valueAt(row, Fields::cvet).toDouble(),
            targets.valueAt(row, Fields::rachet).toDouble(), p);
        for (int i = 0; i < series.size(); ++i)
            series[i].values.append(t.*(columns[i].value));
    }
    const Dataset &crops = m_data.ADOTable3;
    const QString crop = crops.isActive() && crops.currentRow() >= 0
                             ? crops.asString(Fields::name_kult)
                             : QString();
    m_chart->showSeries(crop, elements, series);
}

void ChartWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}
