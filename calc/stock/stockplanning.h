#pragma once

#include "calc/run/recipe.h"
#include "stockplan.h"

#include <QList>
#include <QString>
#include <QStringList>

class DataModules;

// What the stock window does to the base: keeps a properties row for every fertilizer of the
// recipe it plans (PropertyRows, the one command that writes them), shows just those rows, and
// reads a recipe the way the planner needs it by key (BaseQueries). Widget-free; the window
// decides when.
class StockPlanning
{
public:
    explicit StockPlanning(DataModules &data);

    // Creates the missing properties rows of the recipe's fertilizers (automatic tank, no
    // solubility, no price) and filters T_SVOISTVA to the recipe's fertilizers. The rows are
    // read again first, so a row another seat made is not made twice; a write that fails
    // leaves no row pending.
    void showPropertiesOf(const Recipe &recipe);

    // The recipe's fertilizers at its percentage, as the calculator's "Кол-во от %" columns
    // work them out (kol_pr of the working composition, r_conc of a saved solution), with their
    // compositions and properties. Rows that name no fertilizer in the base, and amounts that
    // are no number, are left out; a negative price counts as none, a tank number outside the
    // choices as "авто". `notes` gets one plain Russian text per such finding, numbers with
    // `decimalSeparator`.
    QList<Stock::Fertilizer> fertilizersOf(const Recipe &recipe, QStringList *notes = nullptr,
                                           QChar decimalSeparator = u'.');

    // Both, then the plan at `temperature` °C: what the window shows, the findings of
    // fertilizersOf first among its warnings, numbers with `decimalSeparator`.
    Stock::Plan plan(const Recipe &recipe, int factor, double litres, QChar decimalSeparator,
                     double temperature = Stock::DefaultTemperature);

private:
    DataModules &m_data;
};
