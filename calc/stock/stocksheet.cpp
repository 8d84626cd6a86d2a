#include "stocksheet.h"

#include "calc/run/numbers.h"

#include <cmath>

namespace {

int pricedCount(const Stock::Plan &plan)
{
    qsizetype lines = 0;
    for (const Stock::TankContents &t : plan.tanks)
        lines += t.lines.size();
    return int(lines - plan.unpriced.size());
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// The same widths in every tank's table, so the columns line up down the page.
const int ColumnPercent[StockSheet::ColumnCount] = {33, 13, 13, 21, 20};

QString tableRow(const QStringList &cells, const char *tag, bool bold = false)
{
    QString row = QStringLiteral("<tr>");
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QString align = i == 0 ? QStringLiteral("left") : QStringLiteral("right");
        QString cell = escaped(cells.at(i));
        if (bold)
            cell = QStringLiteral("<b>%1</b>").arg(cell);
        row += QStringLiteral("<%1 align=\"%2\" width=\"%3%\">%4</%1>")
                   .arg(QLatin1String(tag), align)
                   .arg(ColumnPercent[i])
                   .arg(cell);
    }
    return row + QStringLiteral("</tr>");
}

} // namespace

StockSheet::StockSheet(QChar decimalSeparator) : m_separator(decimalSeparator)
{
}

QString StockSheet::number(double value, int places) const
{
    return formatGeneral(RoundDecimals(value, places), m_separator);
}

const QStringList &StockSheet::captions()
{
    static const QStringList all = {QStringLiteral("Удобрение"), QStringLiteral("г. в баке"),
                                    QStringLiteral("г/л в баке"), QStringLiteral("% растворимости"),
                                    QStringLiteral("Стоимость")};
    return all;
}

QString StockSheet::cellText(const Stock::Line &line, int column) const
{
    switch (column) {
    case Name:
        return line.name;
    case Grams:
        return number(line.grams, 2);
    case GramsPerLitre:
        return number(line.gramsPerLitre, 2);
    case SolubilityPercent:
        if (!line.solubilityPercent)
            return QStringLiteral("нет данных");
        return std::isfinite(*line.solubilityPercent) ? number(*line.solubilityPercent, 1)
                                                      : QStringLiteral("более 100");
    case Cost:
        return line.cost ? number(*line.cost, 2) : QStringLiteral("нет цены");
    default:
        return {};
    }
}

QString StockSheet::totalText(const Stock::TankContents &tank, int column) const
{
    switch (column) {
    case Name:
        return QStringLiteral("Итого");
    case Grams:
        return number(tank.grams, 2);
    case GramsPerLitre:
        // Each separate fertilizer has a tank of its own: their g/L add up to no tank's.
        return tank.tank == Stock::Tank::Separate ? QString() : number(tank.gramsPerLitre, 2);
    case Cost:
        return costText(tank.cost, int(tank.lines.size() - tank.unpriced.size()),
                        int(tank.unpriced.size()));
    default:
        return {};
    }
}

QString StockSheet::tankTitle(Stock::Tank tank)
{
    switch (tank) {
    case Stock::Tank::A:
        return QStringLiteral("Бак A");
    case Stock::Tank::B:
        return QStringLiteral("Бак B");
    case Stock::Tank::Separate:
        break;
    }
    return QStringLiteral("Отдельно, каждое в своём баке");
}

QString StockSheet::costText(double cost, int priced, int unpriced) const
{
    if (unpriced == 0)
        return number(cost, 2);
    if (priced <= 0)
        return QStringLiteral("нет цены");
    return QStringLiteral("не менее %1").arg(number(cost, 2));
}

QString StockSheet::costSummary(const Stock::Plan &plan) const
{
    QStringList parts;
    for (const Stock::TankContents &t : plan.tanks) {
        if (t.tank == Stock::Tank::Separate)
            parts << QStringLiteral("отдельно: %1").arg(totalText(t, Cost));
        else
            parts << QStringLiteral("бак %1: %2").arg(Stock::tankName(t.tank), totalText(t, Cost));
    }
    parts << QStringLiteral("на 1000 л рабочего раствора: %1")
                 .arg(costText(plan.costPer1000Litres, pricedCount(plan), int(plan.unpriced.size())));
    return QStringLiteral("Стоимость — ") + parts.join(QStringLiteral("; "));
}

QString StockSheet::html(const Stock::Plan &plan, const Heading &heading) const
{
    QString out = QStringLiteral("<html><body>");
    out += QStringLiteral("<h2>Маточные растворы: %1</h2>").arg(escaped(heading.recipe));
    // One arg() for all, so that a % in a name is never taken for a place to fill.
    out += QStringLiteral("<p>Культура: %1. Концентрация: %2%. K = %3. Бак: %4 л. Дата: %5.</p>")
               .arg(escaped(heading.crop), QString::number(heading.percentage),
                    QString::number(plan.factor), formatGeneral(plan.litres, m_separator),
                    heading.date.toString(QStringLiteral("dd.MM.yyyy")));
    if (plan.tanks.isEmpty())
        out += QStringLiteral("<p>В составе нет удобрений с количеством.</p>");
    for (const Stock::TankContents &tank : plan.tanks) {
        out += QStringLiteral("<h3>%1</h3>").arg(escaped(tankTitle(tank.tank)));
        out += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">");
        out += tableRow(captions(), "th");
        for (const Stock::Line &line : tank.lines) {
            QStringList cells;
            for (int c = 0; c < ColumnCount; ++c)
                cells << cellText(line, c);
            out += tableRow(cells, "td");
        }
        QStringList total;
        for (int c = 0; c < ColumnCount; ++c)
            total << totalText(tank, c);
        out += tableRow(total, "td", true);
        out += QStringLiteral("</table>");
    }
    out += QStringLiteral("<p>%1.</p>").arg(escaped(costSummary(plan)));
    if (!plan.warnings.isEmpty()) {
        out += QStringLiteral("<h3>Предупреждения</h3><ul>");
        for (const QString &w : plan.warnings)
            out += QStringLiteral("<li>%1</li>").arg(escaped(w));
        out += QStringLiteral("</ul>");
    }
    return out + QStringLiteral("</body></html>");
}

QStringList StockSheet::worksheetCaptions()
{
    return QStringList{QStringLiteral("Бак")} + captions();
}

QList<WorksheetRow> StockSheet::worksheetRows(const Stock::Plan &plan) const
{
    QList<WorksheetRow> rows;
    for (const Stock::TankContents &tank : plan.tanks) {
        const QString name = Stock::tankName(tank.tank);
        for (const Stock::Line &line : tank.lines) {
            WorksheetRow row{name, line.name, line.grams, line.gramsPerLitre};
            row.append(line.solubilityPercent && std::isfinite(*line.solubilityPercent)
                           ? WorksheetCell(*line.solubilityPercent)
                           : WorksheetCell(cellText(line, SolubilityPercent)));
            row.append(line.cost ? WorksheetCell(*line.cost) : WorksheetCell(cellText(line, Cost)));
            rows.append(row);
        }
        WorksheetRow total{name, totalText(tank, Name), tank.grams,
                           tank.tank == Stock::Tank::Separate ? WorksheetCell(QString())
                                                              : WorksheetCell(tank.gramsPerLitre),
                           QString()};
        total.append(tank.unpriced.isEmpty() ? WorksheetCell(tank.cost)
                                             : WorksheetCell(totalText(tank, Cost)));
        rows.append(total);
    }
    WorksheetRow perThousand{QString(), QStringLiteral("На 1000 л рабочего раствора"), QString(),
                             QString(), QString()};
    perThousand.append(plan.unpriced.isEmpty()
                           ? WorksheetCell(plan.costPer1000Litres)
                           : WorksheetCell(costText(plan.costPer1000Litres, pricedCount(plan),
                                                    int(plan.unpriced.size()))));
    rows.append(perThousand);
    return rows;
}
