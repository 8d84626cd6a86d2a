#pragma once

#include "calc/chemistry/ionmakeup.h"
#include "calc/run/concentration.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// What the grower asks of an element: come close to its target ("Цель"), reach it at least
// ("Не меньше"), stay at or below it ("Не больше"), or leave it out ("Игнорировать").
enum class ElementMode { Target, AtLeast, AtMost, Ignore };

// Which of a crop's targets counts: the vegetative (vega) or the flowering one (cvet).
enum class Stage { Vegetative, Flowering };

// The question the solver answers: for the fertilizers of the working composition, which
// amounts in g/L bring the selected crop's element concentrations closest to their targets.
struct SolverProblem
{
    struct Fertilizer
    {
        QVariant row; // the key of the working composition's row (id_rachet)
        QString name;
        QList<CompositionRow> composition; // in the order the concentration run reads them
        double current = 0;                // g/L now
        bool fixed = false;                // keep the current amount
        std::optional<double> atMost;      // g/L
        double ppm = 0;                    // of 1 g/L, for the salt totals
        Chemistry::NitrogenForm nitrogen = Chemistry::NitrogenForm::Nitrate; // of plain N
        // An acid is dosed against the water's alkalinity, never fitted.
        std::optional<Chemistry::AcidProduct> acid;
    };
    struct Element
    {
        int id = 0; // id_el of the crop's target row
        QString name;
        double vega = 0; // mg/L at 100 %
        double cvet = 0;
        ElementMode mode = ElementMode::Ignore;
        double water = 0; // mg/L the source water brings
        int weight = 1;   // of its relative deviation in the objective, 1 to 10
        // "Не меньше" holds below this many times the target, and the least excess is preferred.
        std::optional<double> ceiling;

        double target(Stage stage) const { return stage == Stage::Vegetative ? vega : cvet; }
    };

    QList<Fertilizer> fertilizers; // the working composition's rows, in order
    QList<Element> elements;       // the crop's target rows, in order
    Stage stage = Stage::Vegetative;
    int percentage = 100; // the calculator's, for the salt totals
    SaltOptions options;  // the options row's, for the salt totals
    QChar decimalSeparator = u'.'; // of the numbers in texts: a window's is the system's
    QStringList leftOut;  // rows the reading left out (SolverSource::leftOut), to be named

    // The water as the chemistry reads it (every element by symbol, its HCO3 and pH): for the
    // ammonium, the acid, the EC and the balance. The elements' `water` hold the same mg/L.
    Chemistry::Water water;
    std::optional<double> ammoniumShare; // the most % of N as ammonium, water included
    std::optional<double> ec;            // mS/cm the stage asks for
    bool byEc = false;                   // scale the targets until the answer's EC meets `ec`
    double targetPh = Chemistry::DefaultTargetPh; // the acid's
};

// The answer, and what the concentration run will compute from it.
struct SolverResult
{
    enum class Status {
        Solved,        // amounts found; elements no fertilizer carries are listed apart
        Contradiction, // the bounds cannot hold together: no amounts
        NothingAsked,  // no element both asked for and carried by a fertilizer: no amounts
        NoAnswer,      // the linear programme settled on no answer: no amounts
    };

    // One of the constraints that cannot hold together.
    struct Conflict
    {
        enum class Kind {
            AtLeast,      // an element's "Не меньше"
            AtMost,       // an element's "Не больше"
            Fixed,        // a fertilizer's kept amount
            AmountAtMost, // a fertilizer's "Не больше г/л."
            Ammonium,     // the ammonium share (index 0)
        };
        Kind kind;
        int index; // into the problem's elements (AtLeast, AtMost) or fertilizers

        bool operator==(const Conflict &) const = default;
    };

    struct Element
    {
        double target = 0;       // mg/L at 100 % of the chosen stage
        double water = 0;        // mg/L
        double fertilizers = 0;  // mg/L, what the concentration run stores in rachet
        double result = 0;       // water + fertilizers
        std::optional<double> deviation; // % of the target; none for a target of 0
        bool warning = false;    // the deviation breaks the element's mode by more than the tolerance
    };

    Status status = Status::Solved;
    QList<double> amounts;       // g/L per fertilizer, to AmountDecimals (empty on a contradiction)
    QList<Element> elements;     // per element of the problem (empty on a contradiction)
    QList<int> uncarried;        // elements, not ignored, that no fertilizer of the composition carries
    QList<int> missedByRounding; // elements whose "Не меньше"/"Не больше" the rounded amounts miss by a trace
    QList<int> unmet;            // elements whose "Не меньше"/"Не больше" rests on, or is passed by, the water alone
    QList<int> atMaxAmount;      // fertilizers held at MaxAmount: the targets would need more
    QList<Conflict> conflicts;   // an irreducible set of contradicting constraints
    SaltTotals totals;           // as the calculator works them out after the run

    std::optional<double> ec;            // mS/cm of the answer with the water, by the chemistry model
    std::optional<double> ammoniumShare; // % of the answer's N (water included) as ammonium
    double scale = 1;                    // "По EC": what the targets were multiplied by
    bool ecMissed = false;               // "По EC" could not bring the EC within EcTolerance
    std::optional<int> acid;             // the fertilizer dosed against the water's alkalinity
    std::optional<Chemistry::AcidDose> acidDose;
    std::optional<double> imbalance;     // meq/L cations − anions the targets cannot be met by
    QList<int> saline;                   // elements (Na, Cl) the water brings beyond their limit
};

// A deviation beyond this many percent is shown in the warning colour.
constexpr double DeviationTolerance = 10;
// "По EC" meets the EC asked within this many mS/cm.
constexpr double EcTolerance = 0.05;

// Finds the amounts: the least sum over "Цель" elements of weight × |result − target| / target,
// subject to every "Не меньше" (below its ceiling, the least excess preferred), "Не больше",
// kept amount, bound and the ammonium share, and among equally good answers the lightest. A
// linear programme solved by GLPK (linearprogramme.h). An acid of the composition is held at the
// dose the water's alkalinity needs for the target pH (0 without alkalinity), its N, P or S
// counted before the rest are fitted. "По EC" scales the targets until the answer's EC is within
// EcTolerance of the EC asked, or says it could not. Amounts are rounded to AmountDecimals and
// every figure of the answer is worked out again from the rounded amounts, exactly as the
// concentration run will. No amount goes beyond MaxAmount. A "Не больше" that the water alone
// passes is kept as low as the fertilizers allow and reported unmet. Targets whose ions cannot
// balance are named and still fitted. Throws AppError when GLPK fails, or naming the fertilizer
// or element whose figures are not finite or beyond any real fertilizer or solution.
SolverResult solveComposition(const SolverProblem &problem);

// What the concentration run computes from `amounts` (one per fertilizer of the problem), with
// the problem's water, targets and modes: the elements and salt totals of a result. Throws
// AppError when the amounts are not one per fertilizer.
SolverResult predictComposition(const SolverProblem &problem, const QList<double> &amounts);
