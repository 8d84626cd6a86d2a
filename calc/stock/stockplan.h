#pragma once

#include "calc/run/contribution.h"

#include "data/owntables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Stock solutions: the fertilizers of a working solution dissolved K times stronger in two
// tanks, A and B, that an injector or a measuring cup dilutes again. Calcium must not meet
// sulphate or phosphate in a tank (gypsum and calcium phosphate precipitate), and a tank above a
// salt's solubility crystallises. Pure arithmetic over plain values: what a recipe holds comes
// from StockPlanning, what the grower sees from the stock window.
namespace Stock {

inline constexpr int MinFactor = 1;
inline constexpr int MaxFactor = 1000;
inline constexpr int DefaultFactor = 100;
inline constexpr double DefaultLitres = 10;
inline constexpr double MaxLitres = 100000;
// Below a decilitre every gram of a tank rounds to 0 on the sheet.
inline constexpr double MinLitres = 0.1;
// °C: the water temperature of the solubility figures the plan checks against.
inline constexpr int SolubilityTemperature = 20;

// The elements that decide a tank, by their symbols: a base numbers its elements as it likes.
inline const QString Phosphorus = QStringLiteral("P");
inline const QString Calcium = QStringLiteral("Ca");
inline const QString Sulphur = QStringLiteral("S");
inline const QString Iron = QStringLiteral("Fe");

enum class Tank { A, B, Separate };

// One fertilizer of the recipe as the planner needs it.
struct Fertilizer
{
    int id = 0;
    QString name;
    double amount = 0; // g/L in the working solution, at the recipe's percentage
    QList<CompositionRow> composition;
    std::optional<double> solubility; // g per litre of water at SolubilityTemperature; none, or 0 and less: unknown
    std::optional<double> price;      // per kg
    TankChoice choice = TankChoice::Automatic;
};

// A fertilizer in its tank.
struct Line
{
    int fertilizer = 0;
    QString name;
    double amount = 0;        // g/L in the working solution
    double grams = 0;         // in the tank: amount × K × V
    double gramsPerLitre = 0; // in the tank: amount × K
    // g per litre of the tank's water, at most, against the solubility, in %; infinite when the
    // tank holds more salt than water. None without a solubility figure.
    std::optional<double> solubilityPercent;
    bool overSolubility = false;             // more than dissolves: the plan warns of it
    std::optional<double> cost;              // of the grams in the tank; none without a price
};

struct TankContents
{
    Tank tank = Tank::A;
    QList<Line> lines;
    double grams = 0;         // salt in the tank
    double gramsPerLitre = 0;
    double cost = 0;          // of the priced lines only
    QStringList unpriced;     // the lines without a price, by name
};

struct Plan
{
    int factor = DefaultFactor;
    double litres = DefaultLitres;
    QList<TankContents> tanks; // only those that hold something: A, B, then the separate ones
    QStringList warnings;      // plain Russian, one per finding
    double costPer1000Litres = 0; // of working solution, from the priced fertilizers only
    QStringList unpriced;         // every fertilizer without a price, in the recipe's order

    const TankContents *tank(Tank which) const; // nullptr when that tank is empty
};

// Plans the tanks for K = factor and V = litres (checked by the caller: factorFromText,
// litresFromText). A fertilizer that occurs twice is one line with the amounts added; one with
// no amount is left out. The warnings write numbers with `decimalSeparator`.
Plan plan(const QList<Fertilizer> &recipe, int factor, double litres, QChar decimalSeparator);

// The tank the rule gives a fertilizer, its properties' choice aside. Calcium (directly or
// through a label form such as CaO, by the symbol its coefficient yields, through the run's
// contribution function) goes to A, phosphorus or sulphur to B, both to a tank of its own; iron
// goes to A. nullopt: none of these, the fertilizer goes where the salt is lighter.
std::optional<Tank> ruleTank(const QList<CompositionRow> &composition);

// The largest K from 1 to MaxFactor at which `amount` g/L of the working solution dissolves
// in its tank: at most `solubility` g per litre of the water that is left in a litre of tank
// once `tankAmount` g/L (everything in the same tank, this one included) are dissolved; 0 when
// even K = 1 does not.
int largestFactor(double amount, double solubility, double tankAmount);

// K and V as typed; an AppError with a text for the grower when the text is not one.
int factorFromText(const QString &text);
double litresFromText(const QString &text, QChar decimalSeparator);

// "A", "B", "отдельно".
QString tankName(Tank tank);

} // namespace Stock
