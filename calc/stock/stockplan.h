#pragma once

#include "calc/chemistry/ions.h"
#include "calc/run/contribution.h"
#include "solubilitycurve.h"

#include "data/owntables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Stock solutions: the fertilizers of a working solution dissolved K times stronger in two
// tanks, A and B, that an injector or a measuring cup dilutes again, and the acids in a tank of
// their own. Calcium must not meet sulphate or phosphate in a tank (gypsum and calcium phosphate
// precipitate), and a tank above a salt's solubility at the mixing temperature crystallises,
// the sooner when its salts share an ion. Pure arithmetic over plain values: what a recipe holds
// comes from StockPlanning, what the grower sees from the stock window.
namespace Stock {

inline constexpr int MinFactor = 1;
inline constexpr int MaxFactor = 1000;
inline constexpr int DefaultFactor = 100;
inline constexpr double DefaultLitres = 10;
inline constexpr double MaxLitres = 100000;
// Below a decilitre every gram of a tank rounds to 0 on the sheet.
inline constexpr double MinLitres = 0.1;
// °C: the water temperature of the one solubility figure the properties grid edits.
inline constexpr int SolubilityTemperature = DefaultTemperature;

// The elements that decide a tank, by their symbols: a base numbers its elements as it likes.
inline const QString Phosphorus = QStringLiteral("P");
inline const QString Calcium = QStringLiteral("Ca");
inline const QString Sulphur = QStringLiteral("S");
inline const QString Iron = QStringLiteral("Fe");
// The micro elements, which go to B with the phosphates and sulphates (calcium molybdate and
// borate are sparingly soluble), iron chelates aside.
inline const QStringList MicroElements = {Iron, QStringLiteral("Mn"), QStringLiteral("Zn"),
                                          QStringLiteral("Cu"), QStringLiteral("B"),
                                          QStringLiteral("Mo")};

// Above this share of its limit by the ion-product rule a salt is warned of: measured pairs
// crystallise up to 8 % before the rule's limit.
inline constexpr double SharedIonWarningPercent = 90;

enum class Tank { A, B, Acid, Separate };

// One fertilizer of the recipe as the planner needs it.
struct Fertilizer
{
    int id = 0;
    QString name;
    double amount = 0; // g/L in the working solution, at the recipe's percentage
    QList<CompositionRow> composition;
    std::optional<double> solubility; // g per litre of water at 20 °C; none, or 0 and less: unknown
    // The same at 0, 10, 30 and 40 °C; the plan reads the curve they make with the 20 °C figure.
    std::optional<double> solubility0;
    std::optional<double> solubility10;
    std::optional<double> solubility30;
    std::optional<double> solubility40;
    std::optional<double> price;      // per kg
    TankChoice choice = TankChoice::Automatic;
    bool acid = false;               // a liquid acid: its own tank unless the grower picks A or B
    std::optional<double> density;   // g/mL of a liquid; none, or 0 and less: unknown
    Chemistry::NitrogenForm nitrogen = Chemistry::NitrogenForm::Nitrate; // of plain N

    SolubilityCurve curve() const;
};

// A fertilizer in its tank.
struct Line
{
    int fertilizer = 0;
    QString name;
    double amount = 0;        // g/L in the working solution
    double grams = 0;         // in the tank: amount × K × V
    double gramsPerLitre = 0; // in the tank: amount × K
    std::optional<double> millilitres; // of a liquid with a density: grams / density
    // g per litre of the tank's water, at most, against the solubility at the plan's
    // temperature, in %; infinite when the tank holds more salt than water. None without a
    // solubility figure.
    std::optional<double> solubilityPercent;
    bool overSolubility = false;             // more than dissolves: the plan warns of it
    // The larger of that and the share of its limit by the ion-product rule, with every salt of
    // the tank that brings its cation or anion; the same as solubilityPercent for a salt the rule
    // cannot read (no cation or no anion) and in a tank of its own.
    std::optional<double> sharedPercent;
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
    double temperature = DefaultTemperature; // °C of the water the tanks are mixed with
    QList<TankContents> tanks; // only those that hold something: A, B, acid, the separate ones
    QStringList warnings;      // plain Russian, one per finding
    double costPer1000Litres = 0; // of working solution, from the priced fertilizers only
    QStringList unpriced;         // every fertilizer without a price, in the recipe's order

    const TankContents *tank(Tank which) const; // nullptr when that tank is empty
};

// Plans the tanks for K = factor and V = litres (checked by the caller: factorFromText,
// litresFromText) with water at `temperature` °C (MinTemperature to MaxTemperature). A
// fertilizer that occurs twice is one line with the amounts added; one with no amount is left
// out. The warnings write numbers with `decimalSeparator`.
Plan plan(const QList<Fertilizer> &recipe, int factor, double litres, QChar decimalSeparator,
          double temperature = DefaultTemperature);

// The tank the rule gives a fertilizer, its properties' choice and the acid flag aside. Calcium
// (directly or through a label form such as CaO, by the symbol its coefficient yields, through
// the run's contribution function) goes to A, phosphorus or sulphur to B, both to a tank of its
// own; an iron chelate (iron and nothing else) to A; one of micro elements only, or one that
// brings molybdenum or boron, to B; other iron to A. nullopt: none of these, the fertilizer goes
// where the salt is lighter.
std::optional<Tank> ruleTank(const QList<CompositionRow> &composition);

// The largest K from 1 to MaxFactor at which `amount` g/L of the working solution dissolves
// in its tank: at most `solubility` g per litre of the water that is left in a litre of tank
// once `tankAmount` g/L (everything in the same tank, this one included) are dissolved; 0 when
// even K = 1 does not.
int largestFactor(double amount, double solubility, double tankAmount);

// K and V as typed; an AppError with a text for the grower when the text is not one.
int factorFromText(const QString &text);
double litresFromText(const QString &text, QChar decimalSeparator);

// "A", "B", "Кислота", "отдельно".
QString tankName(Tank tank);

} // namespace Stock
