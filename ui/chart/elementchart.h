#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

// Bars per element, one bar set per series side by side: the chart of the solver dialog
// (target against result) and of the window "Диаграмма" (the run against the scaled targets).
// The value axis is logarithmic, so that micro elements of a few hundredths of a mg/L stand
// beside macro elements of hundreds; a value of 0 draws no bar (its bar stands at the axis's
// bottom, as the bar sets hold it); so does a value that is no number or beyond any solution,
// which the title names instead. Bars a series marks as warnings
// are drawn in the warning colour. Numbers are shown in the system's format without grouping.
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

    // Replaces what the chart shows.
    void showSeries(const QString &title, const QStringList &elements, const QList<Series> &series);

    // What it shows, as given.
    const QStringList &elements() const { return m_elements; }
    const QList<Series> &series() const { return m_series; }
    // The bottom of the value axis: where a bar of 0 stands.
    double axisBottom() const;
    // The values left off the axis, each as "element, series: value"; the title names them.
    const QStringList &undrawn() const { return m_undrawn; }

private:
    void showValueTip(bool inside, int index, const QString &series);

    QStringList m_elements;
    QList<Series> m_series;
    QStringList m_undrawn;
};
