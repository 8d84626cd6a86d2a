#pragma once

#include "recipefile.h"

#include "calc/chemistry/analysis.h"

#include <QList>
#include <QMap>
#include <QString>

// What a recipe file makes in solution: its elements as the calculator's run computes them, and
// the chemistry of the whole solution, the water included.
namespace RecipeFile {

// A line of a composition (%) or a water (mg/L) as the chemistry takes it, a label form with the
// element its default coefficient yields and the factor.
Chemistry::ElementLine elementLine(const QString &symbol, double amount);
QList<Chemistry::ElementLine> elementLines(const QMap<QString, double> &bySymbol);

// The recipe as plain chemistry values: each fertilizer at the file's percentage, as the
// calculator's "Кол-во от %" forms it.
Chemistry::Recipe chemistryRecipe(const Recipe &recipe);

// The acid the water is dosed with: the fertilizer `acid` names, when the water has bicarbonate.
std::optional<Chemistry::AcidProduct> acidToDose(const Recipe &recipe);

struct ElementAmount
{
    QString symbol;
    double fertilizers = 0; // mg/L: "Расчёт от %" of the calculator at the file's percentage
    double water = 0;       // mg/L

    double total() const { return fertilizers + water; }
};

struct Analysis
{
    // Every element of the default base that is not a label form, in its order.
    QList<ElementAmount> elements;
    Chemistry::Analysis chemistry;
};

// The elements by the run's own arithmetic (`contribution`, summed fertilizer by fertilizer and
// rounded as the run rounds, then scaled to the percentage) plus the water; the ions, balance, EC,
// pH and the acid dose by the chemistry.
Analysis analyse(const Recipe &recipe);

} // namespace RecipeFile
