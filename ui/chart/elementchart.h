#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class QBarCategoryAxis;
class QBarSeries;
class QGraphicsSimpleTextItem;

// Bars per element, one bar set per series side by side: the chart of the solver dialog
// (target against result) and of the window "Диаграмма" (the run against the scaled targets).
// The value axis is logarithmic, so that micro elements of a few hundredths of a mg/L stand
// beside macro elements of hundreds; a value of 0 has no height there, so its bar stands at the
// axis's bottom with a "0" over it; so does a value that is no number or beyond any solution,
// without the "0", and the title names it. Bars a series marks as warnings (a deviation from
// the target beyond the solver's tolerance) are drawn in the warning colour, which the legend
// then explains. Numbers are shown in the system's format without grouping. Element names turn
// upright when the chart is too narrow for them side by side, and thin out when even that is
// too close, rather than being cut; the legend moves beside the plot rather than cut its texts.
//
// A screen reader finds the values behind the picture: the chart's accessible children are its
// elements, each named with every series' value (barText).
class ElementChart : public QChartView
{
    Q_OBJECT

public:
    struct Series
    {
        QString name;
        QColor colour;
        QList<double> values;  // one per element, mg/L
        QList<bool> warnings;  // one per element, or empty for none
    };

    explicit ElementChart(const QString &name, QWidget *parent = nullptr);

    static QColor warningColour();
    // What the warning colour means, as the legend says it.
    static QString warningMeaning();

    // Replaces what the chart shows.
    void showSeries(const QString &title, const QStringList &elements, const QList<Series> &series);

    // What it shows, as given.
    const QStringList &elements() const { return m_elements; }
    const QList<Series> &series() const { return m_series; }
    // The bottom of the value axis: where a bar of 0 stands.
    double axisBottom() const;
    // The values left off the axis, each as "element, series: value"; the title names them.
    const QStringList &undrawn() const { return m_undrawn; }

    // An element's bars in words: "N: цель 150, результат 171,8 мг/л", and the warning when a
    // bar of it is one.
    QString barText(int element) const;
    // The whole chart in a sentence: its series, and which elements are in the warning colour.
    QString summary() const;
    // Where an element's bars stand, in the viewport's coordinates.
    QRect barArea(int element) const;
    // How the names under the bars stand now: upright or across, and every how many is shown.
    bool namesUpright() const { return m_namesUpright; }
    int nameStep() const { return m_nameStep; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showValueTip(bool inside, int index, const QString &series);
    void plotAreaChanged();
    void placeNames();
    void fitLegend();
    void placeZeroLabels();
    bool hasWarning(int element) const;

    QStringList m_elements;
    QList<Series> m_series;
    QBarSeries *m_bars = nullptr;
    QBarCategoryAxis *m_categories = nullptr;
    QList<QGraphicsSimpleTextItem *> m_names;
    QList<QGraphicsSimpleTextItem *> m_zeroLabels;
    bool m_namesUpright = false;
    int m_nameStep = 1;
    QStringList m_undrawn;
};
