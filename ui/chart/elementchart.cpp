#include "elementchart.h"

#include "elementchartaccessible.h"

#include "calc/solver/compositionsolver.h"
#include "data/textconv.h"
#include "ui/color/widgetcolour.h"

#include <QAccessible>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLocale>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// Space around an element's name on the category axis.
constexpr int NamePadding = 4;
constexpr qreal LegendMarkSize = 10;
// What a legend entry takes besides its text: the mark and the space around it.
constexpr int LegendEntryRoom = 40;
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

QString lowerFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toLower();
    return text;
}

QString upperFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

// Where a series' bar of a category stands on the category axis, as the bar series lays its
// sets side by side within the bar width.
qreal barCentre(const QBarSeries *bars, int category, int set)
{
    const qreal width = bars->barWidth();
    const int sets = std::max(1, int(bars->count()));
    return category - width / 2 + (set + 0.5) * width / sets;
}

} // namespace

ElementChart::ElementChart(const QString &name, QWidget *parent) : QChartView(parent)
{
    ElementChartAccessible::installFactory();
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
    connect(c, &QChart::plotAreaChanged, this, &ElementChart::plotAreaChanged);
}

QColor ElementChart::warningColour()
{
    return WidgetColour::warning();
}

QString ElementChart::warningMeaning()
{
    return QStringLiteral("отклонение больше %1 %").arg(formatGeneral(DeviationTolerance));
}

void ElementChart::showSeries(const QString &title, const QStringList &elements,
                              const QList<Series> &series)
{
    m_elements = elements;
    m_series = series;
    QChart *c = chart();
    qDeleteAll(m_zeroLabels);
    m_zeroLabels.clear();
    qDeleteAll(m_names);
    m_names.clear();
    m_bars = nullptr;
    m_categories = nullptr;
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
    m_bars = new QBarSeries;
    bool warned = false;
    for (const Series &s : series) {
        auto *set = new QBarSet(s.name);
        set->setColor(s.colour);
        set->setBorderColor(s.colour.darker(150));
        for (double v : s.values)
            set->append(drawable(v) ? std::max(v, low) : low);
        set->setSelectedColor(warningColour());
        for (int i = 0; i < s.warnings.size(); ++i) {
            if (s.warnings.at(i)) {
                set->selectBar(i);
                warned = true;
            }
        }
        m_bars->append(set);
        connect(set, &QBarSet::hovered, this, [this, name = s.name](bool inside, int index) {
            showValueTip(inside, index, name);
        });
    }
    c->addSeries(m_bars);

    m_categories = new QBarCategoryAxis;
    m_categories->append(elements);
    // The chart's own names would be cut to "..." where they do not fit; these stand upright
    // or thin out instead (placeNames).
    m_categories->setLabelsVisible(false);
    c->addAxis(m_categories, Qt::AlignBottom);
    m_bars->attachAxis(m_categories);
    auto *values = new QLogValueAxis;
    values->setBase(10);
    // Qt's log axis draws no label for a plain "%g"; this is the same, shortest form.
    values->setLabelFormat(QStringLiteral("%.10g"));
    values->setTitleText(QStringLiteral("мг/л"));
    values->setRange(low, high);
    values->setMinorTickCount(-1);
    c->addAxis(values, Qt::AlignLeft);
    m_bars->attachAxis(values);

    // The legend explains the red: a series of no points only to carry its mark.
    if (warned) {
        auto *legend = new QScatterSeries;
        legend->setName(upperFirst(warningMeaning()));
        legend->setColor(warningColour());
        legend->setBorderColor(warningColour().darker(150));
        legend->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        legend->setMarkerSize(LegendMarkSize);
        c->addSeries(legend);
        legend->attachAxis(m_categories);
        legend->attachAxis(values);
    }

    for (const QString &element : elements) {
        auto *name = new QGraphicsSimpleTextItem(element, c);
        name->setFont(m_categories->labelsFont());
        name->setBrush(m_categories->labelsBrush());
        m_names.append(name);
    }
    // One "0" over each run of zero bars side by side, so that neighbours never run together.
    for (int i = 0; i < elements.size(); ++i) {
        for (int s = 0; s < series.size(); ++s) {
            // Not a zero: a figure, or one left off the axis and named in the title.
            if (i >= series.at(s).values.size() || !(series.at(s).values.at(i) <= 0))
                continue;
            int last = s;
            while (last + 1 < series.size() && i < series.at(last + 1).values.size()
                   && series.at(last + 1).values.at(i) <= 0)
                ++last;
            auto *zero = new QGraphicsSimpleTextItem(QStringLiteral("0"), c);
            zero->setFont(m_categories->labelsFont());
            zero->setBrush(m_categories->labelsBrush());
            zero->setData(0, (barCentre(m_bars, i, s) + barCentre(m_bars, i, last)) / 2);
            m_zeroLabels.append(zero);
            s = last;
        }
    }

    setAccessibleDescription(summary());
    fitLegend();
    plotAreaChanged();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&changed);
    }
}

double ElementChart::axisBottom() const
{
    const QList<QAbstractAxis *> axes = chart()->axes(Qt::Vertical);
    const auto *axis = axes.isEmpty() ? nullptr : qobject_cast<const QLogValueAxis *>(axes.first());
    return axis ? axis->min() : 0;
}

bool ElementChart::hasWarning(int element) const
{
    for (const Series &s : m_series) {
        if (element < s.warnings.size() && s.warnings.at(element))
            return true;
    }
    return false;
}

QString ElementChart::barText(int element) const
{
    if (element < 0 || element >= m_elements.size())
        return QString();
    QStringList values;
    for (const Series &s : m_series) {
        if (element < s.values.size())
            values.append(lowerFirst(s.name) + u' ' + formatGeneral(s.values.at(element)));
    }
    QString text = QStringLiteral("%1: %2 мг/л").arg(m_elements.at(element),
                                                      values.join(QStringLiteral(", ")));
    if (hasWarning(element))
        text += QStringLiteral(", ") + warningMeaning();
    return text;
}

QString ElementChart::summary() const
{
    QStringList names;
    for (const Series &s : m_series)
        names.append(lowerFirst(s.name));
    QString text = QStringLiteral("Столбцы по элементам, мг/л: %1.").arg(names.join(QStringLiteral(", ")));
    QStringList warned;
    for (int i = 0; i < m_elements.size(); ++i) {
        if (hasWarning(i))
            warned.append(m_elements.at(i));
    }
    if (!warned.isEmpty()) {
        text += QStringLiteral(" Красным — %1: %2.")
                    .arg(warningMeaning(), warned.join(QStringLiteral(", ")));
    }
    return text;
}

QRect ElementChart::barArea(int element) const
{
    if (!m_bars || element < 0 || element >= m_elements.size())
        return QRect();
    const QRectF plot = chart()->plotArea();
    const qreal left = chart()->mapToPosition(QPointF(element - 0.5, axisBottom()), m_bars).x();
    const qreal right = chart()->mapToPosition(QPointF(element + 0.5, axisBottom()), m_bars).x();
    const QRectF area(QPointF(left, plot.top()), QPointF(right, plot.bottom()));
    return mapFromScene(chart()->mapToScene(area)).boundingRect();
}

void ElementChart::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    fitLegend();
    plotAreaChanged();
}

// A legend in one row under the chart would cut its texts where the chart is narrow: then it
// stands beside the plot, one entry a line.
void ElementChart::fitLegend()
{
    QLegend *legend = chart()->legend();
    const QFontMetrics metrics(legend->font());
    int row = 0;
    for (const QLegendMarker *marker : legend->markers())
        row += metrics.horizontalAdvance(marker->label()) + LegendEntryRoom;
    const Qt::Alignment side = row > viewport()->width() ? Qt::AlignRight : Qt::AlignBottom;
    if (legend->alignment() != side)
        legend->setAlignment(side);
}

void ElementChart::plotAreaChanged()
{
    placeNames();
    placeZeroLabels();
}

// Under each element's bars its name: across when the names fit side by side, else upright,
// and when even upright they would touch, only every second, third ... name, from the first.
// The band under the plot is as deep as the names need.
void ElementChart::placeNames()
{
    if (!m_categories || m_names.isEmpty())
        return;
    const QFontMetrics metrics(m_categories->labelsFont());
    int widest = 0;
    for (const QString &name : std::as_const(m_elements))
        widest = std::max(widest, metrics.horizontalAdvance(name));
    const QRectF plot = chart()->plotArea();
    const qreal room = plot.width() / m_names.size();
    const bool upright = widest + 2 * NamePadding > room;
    const qreal along = (upright ? metrics.height() : widest) + 2 * NamePadding;
    const int step = room > 0 ? std::max(1, int(std::ceil(along / room))) : 1;
    m_namesUpright = upright;
    m_nameStep = step;

    QMargins margins = chart()->margins();
    const int band = (upright ? widest : metrics.height()) + 2 * NamePadding;
    if (margins.bottom() != band) {
        margins.setBottom(band);
        chart()->setMargins(margins); // lays the chart out again, and this follows
        return;
    }
    for (int i = 0; i < m_names.size(); ++i) {
        QGraphicsSimpleTextItem *name = m_names.at(i);
        name->setVisible(i % step == 0);
        const qreal centre = chart()->mapToPosition(QPointF(i, axisBottom()), m_bars).x();
        const QRectF box = name->boundingRect();
        name->setRotation(upright ? -90 : 0);
        // Turned about its top left corner, an upright name reads upwards and ends at the axis.
        if (upright)
            name->setPos(centre - box.height() / 2, plot.bottom() + NamePadding + box.width());
        else
            name->setPos(centre - box.width() / 2, plot.bottom() + NamePadding);
    }
}

void ElementChart::placeZeroLabels()
{
    if (!m_bars || m_elements.isEmpty())
        return;
    // Where the elements stand too close, the zeros of neighbours would read as one number;
    // the tool-tips and a screen reader still give them.
    const QFontMetrics metrics(m_categories->labelsFont());
    const bool room = chart()->plotArea().width() / m_elements.size()
                      >= 2 * metrics.horizontalAdvance(u'0') + NamePadding;
    for (QGraphicsSimpleTextItem *zero : std::as_const(m_zeroLabels)) {
        zero->setVisible(room);
        const QPointF foot = chart()->mapToPosition(QPointF(zero->data(0).toReal(), axisBottom()), m_bars);
        const QRectF box = zero->boundingRect();
        zero->setPos(foot.x() - box.width() / 2, foot.y() - box.height());
    }
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
