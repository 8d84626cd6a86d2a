#pragma once

#include "recipe.h"

#include <QPair>

class Dataset;
class Form4Data;

// What the calculator's buttons do to the working composition T_rachet: add the fertilizer
// selected in a list, remove the current row, clear it. Widget-free; the window decides when.
class WorkingComposition
{
public:
    explicit WorkingComposition(Form4Data &calculator);

    // Puts the current fertilizer of `fertilizers` into the composition, unless it is there
    // exactly once, then reads the composition afresh; the list returns to that fertilizer.
    // Nothing happens without a current fertilizer.
    void add(Dataset &fertilizers);
    // Deletes the current row, if there is one, and stands on the last row.
    void removeCurrent();
    // Deletes every row, then reads the composition afresh.
    void clear();
    // Writes each amount into the row whose key (id_rachet) it names, all in one transaction;
    // no row is added or removed. An error undoes them all. Then reads the composition afresh.
    void setAmounts(const QList<QPair<QVariant, double>> &amounts);

    // The composition as a recipe at the percentage p.
    Recipe recipe(int percentage) const;

private:
    Form4Data &m_data;
};
