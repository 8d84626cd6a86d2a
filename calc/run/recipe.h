#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class Dataset;

// A composition as a list of doses: the working composition at the calculator's percentage, or
// a saved solution at the percentage it was saved with. Read without moving any dataset.
struct Recipe
{
    struct Line
    {
        QVariant fertilizer; // id_udobra; null when the row names none
        QString name;        // the fertilizer's name, as looked up
        double grams = 0;    // g/L at 100 %; an empty amount is 0
    };

    // Every row that `rows` (T_rachet or T_save_rar) shows, in order, an amount still being
    // edited included; none when it is closed.
    static QList<Line> linesOf(const Dataset &rows);

    QList<Line> lines; // in the rows' order
    int percentage = 100;
};
