#include "elementchart.h"

#include "data/textconv.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QGraphicsLayout>
#include <QLocale>
#include <QLogValueAxis>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// No solution holds more than this: a figure above it (or one that is no number) is a fault in
// the data, drawn at the axis's bottom and named, so that the axis stays within reach.
constexpr double MaxDrawable = 1e9;

bool drawable(double v)
{
    return std::isfinite(v) && v <= MaxDrawable;
}

// The axis runs over whole powers of ten around the values shown; its bottom lies just below
// the lowest, so that the axis labels it too.
QPair<double, double> logRange(const QList<ElementChart::Series> &series)
{
    double low = 0;
    double high = 0;
    for (const ElementChart::Series &s : series) {
        for (double v : s.values) {
            if (!(v > 0) || !drawable(v))
                continue;
            low = low > 0 ? std::min(low, v) : v;
            high = std::max(high, v);
        }
    }
    if (high <= 0)
        low = high = 1;
    return {std::pow(10.0, std::floor(std::log10(low))) * 0.999,
            std::pow(10.0, std::ceil(std::log10(high * 1.05)))};
}

} // namespace

ElementChart::ElementChart(const QString &name, QWidget *parent) : QChartView(parent)
{
    setObjectName(name);
    setRenderHint(QPainter::Antialiasing);
    QChart *c = chart();
    c->legend()->setAlignment(Qt::AlignBottom);
    c->setAnimationOptions(QChart::NoAnimation);
    c->layout()->setContentsMargins(0, 0, 0, 0);
    QLocale numbers = QLocale::system();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    c->setLocale(numbers);
    c->setLocalizeNumbers(true);
}

QColor ElementChart::warningColour()
{
    return QColor(220, 40, 40);
}

void ElementChart::showSeries(const QString &title, const QStringList &elements,
                              const QList<Series> &series)
{
    m_elements = elements;
    m_series = series;
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes()) {
        c->removeAxis(axis); // the chart lets go of it
        delete axis;
    }
    m_undrawn.clear();
    for (const Series &s : series) {
        for (int i = 0; i < s.values.size(); ++i) {
            if (!drawable(s.values.at(i))) {
                m_undrawn.append(QStringLiteral("%1, %2: %3")
                                     .arg(i < elements.size() ? elements.at(i) : QString(), s.name,
                                          formatGeneral(s.values.at(i))));
            }
        }
    }
    c->setTitle(m_undrawn.isEmpty()
                    ? title
                    : QStringLiteral("%1%2Не показано (не число или больше %3 мг/л):<br>%4")
                          .arg(title, title.isEmpty() ? QString() : QStringLiteral("<br>"),
                               formatGeneral(MaxDrawable), m_undrawn.join(QStringLiteral("<br>"))));

    // A logarithm has no 0: such a bar stands at the bottom of the axis, that is, shows nothing.
    const auto [low, high] = logRange(series);
    auto *bars = new QBarSeries;
    for (const Series &s : series) {
        auto *set = new QBarSet(s.name);
        set->setColor(s.colour);
        set->setBorderColor(s.colour.darker(150));
        for (double v : s.values)
            set->append(drawable(v) ? std::max(v, low) : low);
        set->setSelectedColor(warningColour());
        for (int i = 0; i < s.warnings.size(); ++i) {
            if (s.warnings.at(i))
                set->selectBar(i);
        }
        bars->append(set);
        connect(set, &QBarSet::hovered, this, [this, name = s.name](bool inside, int index) {
            showValueTip(inside, index, name);
        });
    }
    c->addSeries(bars);

    auto *categories = new QBarCategoryAxis;
    categories->append(elements);
    c->addAxis(categories, Qt::AlignBottom);
    bars->attachAxis(categories);
    auto *values = new QLogValueAxis;
    values->setBase(10);
    // Qt's log axis draws no label for a plain "%g"; this is the same, shortest form.
    values->setLabelFormat(QStringLiteral("%.10g"));
    values->setTitleText(QStringLiteral("мг/л"));
    values->setRange(low, high);
    values->setMinorTickCount(-1);
    c->addAxis(values, Qt::AlignLeft);
    bars->attachAxis(values);
}

double ElementChart::axisBottom() const
{
    const QList<QAbstractAxis *> axes = chart()->axes(Qt::Vertical);
    const auto *axis = axes.isEmpty() ? nullptr : qobject_cast<const QLogValueAxis *>(axes.first());
    return axis ? axis->min() : 0;
}

void ElementChart::showValueTip(bool inside, int index, const QString &series)
{
    if (!inside || index < 0 || index >= m_elements.size()) {
        QToolTip::hideText();
        return;
    }
    for (const Series &s : std::as_const(m_series)) {
        if (s.name == series && index < s.values.size()) {
            QToolTip::showText(QCursor::pos(), m_elements.at(index) + QStringLiteral(", ") + s.name
                                                   + QStringLiteral(": ") + formatGeneral(s.values.at(index)),
                               this);
        }
    }
}
