#pragma once

#include "acid.h"
#include "ions.h"

#include <QList>
#include <QString>

#include <optional>

// A recipe and a water as plain values, and what they make in solution: the totals of each
// dissolved form, the ions with mg/L, mmol/L and meq/L, the balance of their charges.
namespace Chemistry {

// One line of a composition or an analysis: an element symbol with its amount and, for a label
// form, the symbol its coefficient yields with the factor (K2O yields K × 0.8302).
struct ElementLine
{
    QString symbol;
    double amount = 0; // % by mass in a fertilizer; mg/L in a water or a crop's targets
    QString yields;
    double factor = 0;
};

struct Fertilizer
{
    QString name;
    double grams = 0; // g/L in the solution, at the recipe's percentage
    QList<ElementLine> composition;
    NitrogenForm nitrogen = NitrogenForm::Nitrate; // the form of plain N
};

struct Water
{
    QList<ElementLine> elements; // mg/L; plain N is nitrate
    double hco3 = 0;             // mg/L
    std::optional<double> ph;
};

struct Recipe
{
    QList<Fertilizer> fertilizers;
    Water water;
};

// The form a line stands for: by its own symbol, else by the one its coefficient yields.
struct LineMapping
{
    std::optional<Component> component;
    bool throughYield = false;
};
LineMapping mappingOf(const ElementLine &line, NitrogenForm plainNitrogen);
// The mg/L of its form that a line in mg/L (a water's, a target's) gives.
double formMilligrams(const ElementLine &line, const LineMapping &mapping);
// A line's amount and factor must be numbers of at least 0 (AppError naming `what`, `unit`).
void requireLine(const ElementLine &line, const QString &what, const QString &unit);

// An element that no dissolved form stands for, with what it amounts to in mg/L.
struct Unmapped
{
    QString symbol;
    QString source; // the fertilizer's name, or "Вода"
    double mg = 0;
};

struct RecipeTotals
{
    Totals totals{}; // mmol/L, fertilizers and water
    Totals water{};  // of the water alone
    // meq/L of charge the water's listed ions miss at its measured pH (+: cations missing). A
    // water report rarely lists every ion; without this its gap would act as acid or base in
    // the recipe's pH. 0 without a measured pH.
    double waterCharge = 0;
    QList<Unmapped> unmapped;
};

// What a recipe and its water dissolve into. Each composition row counts as the concentration
// run counts it (`contribution`: percent × 10 × grams, through the coefficient's factor for a
// label form), by its own symbol when that names a form, else by the symbol it yields. The
// water's HCO3 with its pH gives the carbonate (`carbonateTotal`). Every amount must be a number
// of at least 0, the water's pH from 0 to 14 (AppError).
RecipeTotals recipeTotals(const Recipe &recipe);

// The acid a fertilizer is, by the one acid element it brings (N, P or S in any form): for the
// dose of an acid flagged in the base. None when it brings none or more than one of them.
std::optional<AcidKind> acidKindOf(const QList<ElementLine> &composition);

struct IonRow
{
    Ion ion = Ion::NO3;
    double mg = 0;        // mg/L of the species
    double elementMg = 0; // mg/L of its element (N of NO3-, P of H2PO4-)
    double mmol = 0;
    double meq = 0;
};

struct Balance
{
    double cations = 0; // meq/L
    double anions = 0;
    double difference = 0; // cations − anions
    double percent = 0;     // of cations + anions, as water analyses state it
};

// The species a grower reads, cations, anions, then neutral ones, each of a form present. A
// minor species (H3PO4, PO4 3-, HSO4-, NH3, CO3 2-) shows only from 0.1 % of its form.
QList<IonRow> ionRows(const Amounts &species);

// The charges of every species but H+ and OH-, whose difference is what the pH carries.
Balance balanceOf(const Amounts &species);

} // namespace Chemistry
