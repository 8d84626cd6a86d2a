#include "calc/stock/stocksheet.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

Stock::Line line(const char *name, double grams, double perLitre, std::optional<double> solubility,
                 std::optional<double> cost)
{
    Stock::Line l;
    l.name = QString::fromUtf8(name);
    l.grams = grams;
    l.gramsPerLitre = perLitre;
    l.solubilityPercent = solubility;
    l.cost = cost;
    return l;
}

// A plan typed by hand, K 100 and V 12.5: tank A with a priced salt and one without a price or
// a solubility figure, a separate tank with a salt beyond its solubility, priced.
Stock::Plan handPlan()
{
    Stock::Plan plan;
    plan.factor = 100;
    plan.litres = 12.5;
    Stock::TankContents a;
    a.tank = Stock::Tank::A;
    a.lines = {line("Кальциевая селитра", 1187.456, 94.99648, 7.2549, 1.424947),
               line("Хелат <Fe> & Co", 13.75, 1.1, std::nullopt, std::nullopt)};
    a.grams = 1201.206;
    a.gramsPerLitre = 96.09648;
    a.cost = 1.424947;
    a.unpriced = {QStringLiteral("Хелат <Fe> & Co")};
    Stock::TankContents separate;
    separate.tank = Stock::Tank::Separate;
    separate.lines = {line("Сульфат кальция", 250, 20, std::numeric_limits<double>::infinity(), 0.5)};
    separate.grams = 250;
    separate.gramsPerLitre = 20;
    separate.cost = 0.5;
    plan.tanks = {a, separate};
    plan.costPer1000Litres = 0.1539;
    plan.unpriced = a.unpriced;
    plan.warnings = {QStringLiteral("Сульфат кальция не растворится")};
    return plan;
}

struct SeparatorCase
{
    QChar separator;
    // The texts that carry a number, in the order the checks below read them.
    QStringList expected;
};

// Every text with a number follows the separator the sheet is made with, never the system's.
TEST(StockSheet, TextsWriteNumbersWithTheSeparatorGiven)
{
    const SeparatorCase cases[] = {
        {u'.', {"1187.46", "95", "7.3", "1.42", "1201.21", "96.1", "не менее 1.42", "более 100",
                "Стоимость — бак A: не менее 1.42; отдельно: 0.5; на 1000 л рабочего раствора: не менее 0.15"}},
        {u',', {"1187,46", "95", "7,3", "1,42", "1201,21", "96,1", "не менее 1,42", "более 100",
                "Стоимость — бак A: не менее 1,42; отдельно: 0,5; на 1000 л рабочего раствора: не менее 0,15"}},
    };
    const Stock::Plan plan = handPlan();
    const Stock::TankContents &a = plan.tanks.at(0);
    for (const SeparatorCase &c : cases) {
        const StockSheet sheet(c.separator);
        const QStringList texts = {
            sheet.cellText(a.lines.at(0), StockSheet::Grams),
            sheet.cellText(a.lines.at(0), StockSheet::GramsPerLitre),
            sheet.cellText(a.lines.at(0), StockSheet::SolubilityPercent),
            sheet.cellText(a.lines.at(0), StockSheet::Cost),
            sheet.totalText(a, StockSheet::Grams),
            sheet.totalText(a, StockSheet::GramsPerLitre),
            sheet.totalText(a, StockSheet::Cost),
            sheet.cellText(plan.tanks.at(1).lines.at(0), StockSheet::SolubilityPercent),
            sheet.costSummary(plan),
        };
        EXPECT_EQ(texts, c.expected) << "separator " << QString(c.separator).toStdString();
    }
}

// The file's rows hold the unrounded figures, and the grid's text where a figure is missing
// ("нет данных", "нет цены", "более 100", a cost "не менее" when some have no price).
TEST(StockSheet, WorksheetRowsAreTheUnroundedFigures)
{
    const Stock::Plan plan = handPlan();
    const QList<WorksheetRow> rows = StockSheet(u',').worksheetRows(plan);
    const QList<WorksheetRow> expected = {
        {QStringLiteral("A"), QStringLiteral("Кальциевая селитра"), 1187.456, 94.99648, 7.2549, 1.424947},
        {QStringLiteral("A"), QStringLiteral("Хелат <Fe> & Co"), 13.75, 1.1, QStringLiteral("нет данных"),
         QStringLiteral("нет цены")},
        {QStringLiteral("A"), QStringLiteral("Итого"), 1201.206, 96.09648, QString(),
         QStringLiteral("не менее 1,42")},
        {QStringLiteral("отдельно"), QStringLiteral("Сульфат кальция"), 250.0, 20.0,
         QStringLiteral("более 100"), 0.5},
        {QStringLiteral("отдельно"), QStringLiteral("Итого"), 250.0, QString(), QString(), 0.5},
        {QString(), QStringLiteral("На 1000 л рабочего раствора"), QString(), QString(), QString(),
         QStringLiteral("не менее 0,15")},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (qsizetype r = 0; r < rows.size(); ++r)
        EXPECT_TRUE(rows.at(r) == expected.at(r)) << "row " << r;
    EXPECT_EQ(StockSheet::worksheetCaptions(),
              QStringList({"Бак", "Удобрение", "г. в баке", "г/л в баке", "% растворимости", "Стоимость"}));
    EXPECT_EQ(StockSheet(u'.').costText(0, 0, 2), QStringLiteral("нет цены")) << "none priced";
}

TEST(StockSheet, ThePrintedSheetNamesItsHeadingAndEscapesNames)
{
    const StockSheet::Heading heading{QStringLiteral("Рассада <1>"), QStringLiteral("Томат"), 80,
                                      QDate(2025, 3, 5)};
    const QString html = StockSheet(u',').html(handPlan(), heading);
    EXPECT_TRUE(html.contains(QStringLiteral("<h2>Маточные растворы: Рассада &lt;1&gt;</h2>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<p>Культура: Томат. Концентрация: 80%. K = 100. Бак: 12,5 л. Дата: 05.03.2025.</p>")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Хелат &lt;Fe&gt; &amp; Co")));
    EXPECT_FALSE(html.contains(QStringLiteral("<Fe>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h3>Отдельно, каждое в своём баке</h3>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<li>Сульфат кальция не растворится</li>")));
    EXPECT_EQ(html.count(QStringLiteral("<table")), 2);

    Stock::Plan empty;
    EXPECT_TRUE(StockSheet(u'.').html(empty, heading).contains(
        QStringLiteral("В составе нет удобрений с количеством.")));
}

} // namespace
