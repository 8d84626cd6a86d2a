#pragma once

#include <QList>
#include <QString>

// The default base's element symbols and conversion coefficients, read once from the default
// data compiled into the program, so that a recipe file means the same whatever base is open
// and the coefficients are typed in one place only.
namespace DefaultElements {

struct Element
{
    int id = 0;      // the default base's key, which the run's `contribution` matches by
    QString symbol;  // "K", "K2O", "N-NO3"
    // A label form counts towards the element its coefficient yields, by the factor
    // (K2O yields K × 0.8302); for an element itself these stay empty.
    int yieldsId = 0;
    QString yields;
    double factor = 0;

    bool isLabelForm() const { return yieldsId != 0; }
};

// Every element in the default base's order (by key): N, P, K ... Mo, the label forms, Na, Cl, Si.
const QList<Element> &all();

// The element of a symbol, by exact spelling; nullptr for a symbol the default base lacks.
const Element *find(const QString &symbol);

// The symbols, in the default base's order, joined by ", " (for a message that lists them).
QString symbolList();

} // namespace DefaultElements
