#pragma once

#include "stockplan.h"

#include "export/xls/worksheetcell.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// A plan as the grower reads it: the texts of the tank grids, the printed sheet and the rows of
// "Маточные растворы.xls". One place, so that the window, the paper, the file and a command line
// agree. Numbers are written with the decimal separator the sheet is made with: the windows give
// the system's, files and a command line ".".
class StockSheet
{
public:
    enum Column { Name, Grams, GramsPerLitre, SolubilityPercent, Cost, ColumnCount };

    // What the printed sheet's title says besides the tanks.
    struct Heading
    {
        QString recipe; // "Рабочий состав" or the saved solution's name
        QString crop;
        int percentage = 100;
        QDate date;
    };

    explicit StockSheet(QChar decimalSeparator);

    // "Удобрение", "г. в баке", "г/л в баке", "% растворимости", "Стоимость".
    static const QStringList &captions();
    // "Бак A", "Бак B", "Отдельно, каждое в своём баке".
    static QString tankTitle(Stock::Tank tank);
    // The worksheet's captions: "Бак" and the grid's.
    static QStringList worksheetCaptions();

    // A cell of a fertilizer's row, numbers rounded for reading.
    QString cellText(const Stock::Line &line, int column) const;
    // The tank's "Итого" row.
    QString totalText(const Stock::TankContents &tank, int column) const;
    // A cost that leaves out fertilizers without a price says so: "не менее 12.5", or "нет цены"
    // when none has one. The warnings name them.
    QString costText(double cost, int pricedCount, int unpricedCount) const;
    // The whole plan's costs in one line: per tank and per 1000 L of working solution.
    QString costSummary(const Stock::Plan &plan) const;

    // The sheet to print: title, the heading line, one table per tank with its total, the costs
    // and the warnings. HTML for QTextDocument.
    QString html(const Stock::Plan &plan, const Heading &heading) const;

    // The worksheet's rows: every fertilizer with its tank, each tank's total, the cost per
    // 1000 L. Numbers are unrounded; a figure that is missing (no solubility, no price) is the
    // grid's text.
    QList<WorksheetRow> worksheetRows(const Stock::Plan &plan) const;

private:
    QString number(double value, int places) const;

    QChar m_separator;
};
