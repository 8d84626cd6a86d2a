#include "ui/chart/elementchart.h"

#include <QAccessible>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The crop elements of a full standard recipe: more names than fit side by side in a narrow
// chart.
const QStringList Elements = {"N", "NH4", "P", "K", "Ca", "Mg", "S", "Fe", "Mn", "Zn",
                              "Cu", "B", "Mo", "Na", "Cl", "Si", "HCO3", "NO3", "SO4"};

class ElementChartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(720, 440);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }

    // Lets the chart lay itself out at its size.
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    // What the chart's scene draws as text: axis labels, titles.
    QStringList sceneTexts() const
    {
        QStringList out;
        for (const QGraphicsItem *item : chart.scene()->items()) {
            if (const auto *text = dynamic_cast<const QGraphicsTextItem *>(item); text && text->isVisible())
                out.append(text->toPlainText());
        }
        return out;
    }

    // The texts the chart adds to the picture: element names under the bars, zeros over them.
    QList<const QGraphicsSimpleTextItem *> added(bool zeros) const
    {
        QList<const QGraphicsSimpleTextItem *> out;
        for (const QGraphicsItem *item : chart.scene()->items()) {
            const auto *text = dynamic_cast<const QGraphicsSimpleTextItem *>(item);
            if (text && (text->text() == QStringLiteral("0")) == zeros)
                out.append(text);
        }
        // In the order of the elements, left to right.
        std::sort(out.begin(), out.end(), [](auto *a, auto *b) {
            return a->sceneBoundingRect().center().x() < b->sceneBoundingRect().center().x();
        });
        return out;
    }

    QStringList legend() const
    {
        QStringList out;
        for (const QLegendMarker *m : chart.chart()->legend()->markers())
            out.append(m->label());
        return out;
    }

    ElementChart chart{QStringLiteral("TestChart")};
};

TEST_F(ElementChartTest, EachElementIsAnAccessibleChildNamedWithItsValues)
{
    chart.showSeries(QStringLiteral("Томат"), {"N", "P", "Fe"},
                     {{QStringLiteral("Цель"), Qt::green, {150, 40, 0.84}, {}},
                      {QStringLiteral("Результат"), Qt::blue, {171.8, 40, 0}, {true, false, true}}});
    settle();
    QAccessibleInterface *whole = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->role(), QAccessible::Chart);
    const struct
    {
        QString name;
        bool warned;
    } expected[] = {
        {"N: цель 150, результат 171.8 мг/л, отклонение больше 10 %", true},
        {"P: цель 40, результат 40 мг/л", false},
        {"Fe: цель 0.84, результат 0 мг/л, отклонение больше 10 %", true},
    };
    ASSERT_EQ(whole->childCount(), 3);
    const QRect view(chart.viewport()->mapToGlobal(QPoint(0, 0)), chart.viewport()->size());
    int previousLeft = -1;
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface *bar = whole->child(i);
        ASSERT_NE(bar, nullptr) << i;
        EXPECT_EQ(bar->text(QAccessible::Name), expected[i].name) << i;
        EXPECT_EQ(bar->role(), QAccessible::Graphic) << i;
        EXPECT_EQ(bar->parent(), whole) << i;
        EXPECT_EQ(whole->indexOfChild(bar), i) << i;
        EXPECT_EQ(whole->child(i), bar) << "made once, " << i;
        // Side by side, left to right, inside the picture; a point in one finds that one.
        const QRect r = bar->rect();
        EXPECT_TRUE(view.contains(r.center())) << i;
        EXPECT_GT(r.left(), previousLeft) << i;
        previousLeft = r.left();
        EXPECT_EQ(whole->childAt(r.center().x(), r.center().y()), bar) << i;
    }
    EXPECT_EQ(whole->child(3), nullptr);
    EXPECT_EQ(chart.accessibleDescription(),
              QStringLiteral("Столбцы по элементам, мг/л: цель, результат. Красным — отклонение "
                             "больше 10 %: N, Fe."));

    // Fewer elements: the children that are left speak of the new values, the others are gone.
    QAccessibleInterface *third = whole->child(2);
    chart.showSeries(QString(), {"K"}, {{QStringLiteral("Расчёт при 80 %"), Qt::blue, {200}, {}}});
    EXPECT_EQ(whole->childCount(), 1);
    EXPECT_EQ(whole->child(0)->text(QAccessible::Name), QStringLiteral("K: расчёт при 80 % 200 мг/л"));
    EXPECT_FALSE(third->isValid());
    EXPECT_EQ(chart.accessibleDescription(), QStringLiteral("Столбцы по элементам, мг/л: расчёт при 80 %."));
}

TEST_F(ElementChartTest, TheLegendExplainsTheRedOnlyWhenABarIsRed)
{
    const QList<bool> cases[] = {{}, {false, false}, {false, true}};
    for (const QList<bool> &warnings : cases) {
        chart.showSeries(QString(), {"N", "K"},
                         {{QStringLiteral("Цель"), Qt::green, {150, 200}, {}},
                          {QStringLiteral("Результат"), Qt::blue, {150, 260}, warnings}});
        QStringList expected{QStringLiteral("Цель"), QStringLiteral("Результат")};
        if (warnings.contains(true))
            expected.append(QStringLiteral("Отклонение больше 10 %"));
        EXPECT_EQ(legend(), expected) << warnings.size();
    }
}

// A zero has no height on the logarithmic axis: its bar stands at the bottom with a "0" over it;
// zero bars side by side share one "0", centred over them, so that neighbours never run together.
TEST_F(ElementChartTest, AZeroStandsAsAZeroBarWithItsLabel)
{
    chart.showSeries(QString(), {"N", "P", "K", "Na"},
                     {{QStringLiteral("Расчёт при 100 %"), Qt::blue, {120, 0, 0, 0}, {}},
                      {QStringLiteral("Вега при 100 %"), Qt::green, {150, 0, 200, 0}, {}},
                      {QStringLiteral("Цвет при 100 %"), Qt::red, {0, 40, 0, 0}, {}}});
    settle();
    // Where each "0" stands, in bars of its element: the first bar is 0, the third is 2.
    const QList<QPair<int, double>> expected = {{0, 2}, {1, 0.5}, {2, 0}, {2, 2}, {3, 1}};
    const QList<const QGraphicsSimpleTextItem *> zeros = added(true);
    ASSERT_EQ(zeros.size(), expected.size());
    auto *bars = qobject_cast<QBarSeries *>(chart.chart()->series().first());
    ASSERT_NE(bars, nullptr);
    const qreal axis = chart.chart()->mapToScene(chart.chart()->plotArea().bottomLeft()).y();
    for (int k = 0; k < zeros.size(); ++k) {
        const auto [element, bar] = expected.at(k);
        const qreal at = element - bars->barWidth() / 2 + (bar + 0.5) * bars->barWidth() / 3;
        const QPointF foot = chart.chart()->mapToScene(chart.chart()->mapToPosition(QPointF(at, 1), bars));
        const QRectF box = zeros.at(k)->sceneBoundingRect();
        EXPECT_TRUE(zeros.at(k)->isVisible()) << k;
        EXPECT_NEAR(box.center().x(), foot.x(), 1.5) << "element " << element << ", bar " << bar;
        EXPECT_NEAR(box.bottom(), axis, 1.5) << k;
    }
    for (int s = 0; s < 3; ++s) {
        for (int i = 0; i < 4; ++i) {
            const double value = chart.series().at(s).values.at(i);
            EXPECT_EQ(bars->barSets().at(s)->at(i), value > 0 ? value : chart.axisBottom()) << s << ' ' << i;
        }
    }
}

// Below about 450 px the names no longer fit side by side: they stand upright, and thin out
// where even that is too close, instead of being cut to "...". From the chart window's own size
// down to what is left of it on an 800 x 480 screen and beside the calculator on a 1366 px one.
TEST_F(ElementChartTest, ElementNamesOfANarrowChartAreNeverCut)
{
    QList<double> values;
    for (int i = 0; i < Elements.size(); ++i)
        values.append(10.0 * (i + 1));
    chart.showSeries(QStringLiteral("Томат"), Elements,
                     {{QStringLiteral("Вега при 100 %"), Qt::green, values, {}},
                      {QStringLiteral("Расчёт при 100 %"), Qt::blue, values, {}}});
    const struct
    {
        QSize size;
        bool upright;
        bool thinned;
    } cases[] = {
        {{1200, 440}, false, false},
        {{720, 440}, true, false},
        {{440, 400}, true, true},
        {{300, 240}, true, true},
    };
    for (const auto &c : cases) {
        const std::string at = std::to_string(c.size.width());
        chart.resize(c.size);
        settle();
        EXPECT_EQ(chart.namesUpright(), c.upright) << at;
        EXPECT_EQ(chart.nameStep() > 1, c.thinned) << at;
        // Nothing of the chart's own is cut either down to 440 px; below, the legend's texts may be.
        for (const QString &text : sceneTexts()) {
            if (c.size.width() >= 440) {
                EXPECT_FALSE(text.contains(QStringLiteral("...")) || text.contains(QChar(0x2026)))
                    << text.toStdString() << " at " << at;
            }
        }
        const QList<const QGraphicsSimpleTextItem *> names = added(false);
        ASSERT_EQ(names.size(), Elements.size()) << at;
        const QRectF picture = chart.mapToScene(chart.viewport()->rect()).boundingRect();
        const QRectF plot = chart.chart()->mapRectToScene(chart.chart()->plotArea());
        QRectF previous;
        for (int i = 0; i < names.size(); ++i) {
            EXPECT_EQ(names.at(i)->text(), Elements.at(i)) << "whole, " << at;
            EXPECT_EQ(names.at(i)->isVisible(), i % chart.nameStep() == 0) << i << " at " << at;
            if (!names.at(i)->isVisible())
                continue;
            // Whole in the picture, under the plot, apart from the name before it, under its bars.
            const QRectF box = names.at(i)->sceneBoundingRect();
            EXPECT_TRUE(picture.contains(box)) << Elements.at(i).toStdString() << " at " << at;
            EXPECT_GE(box.top(), plot.bottom()) << Elements.at(i).toStdString() << " at " << at;
            EXPECT_FALSE(box.intersects(previous)) << Elements.at(i).toStdString() << " at " << at;
            const QRectF place = chart.mapToScene(chart.barArea(i)).boundingRect();
            EXPECT_NEAR(box.center().x(), place.center().x(), 1.5) << i << " at " << at;
            previous = box;
        }
    }
}

} // namespace
