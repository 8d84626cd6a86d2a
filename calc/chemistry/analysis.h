#pragma once

#include "acid.h"
#include "equilibrium.h"
#include "ionmakeup.h"

#include <QMap>

// One call for everything the ion view shows of a recipe: its ions and their balance, the EC a
// meter reads at 25 °C, the pH estimate, the ratios growers steer by and the acid the water
// needs.
namespace Chemistry {

struct AnalysisOptions
{
    std::optional<AcidProduct> acid; // the acid to dose the water with, if any
    double targetPh = DefaultTargetPh;
    std::optional<double> acidMostElementMg; // the most of its element the acid may add
    bool pairs = true;                       // off only to check the model without them
};

// The two rules growers estimate EC with, from the cations in meq/L: Σ/10 (USDA Handbook 60)
// and 0.095 Σ + 0.19 (Sonneveld, for nutrient solutions).
struct RulesOfThumb
{
    double cationsOverTen = 0;
    double sonneveld = 0;
};
RulesOfThumb rulesOfThumb(double cationMeq);

struct Ratios
{
    std::optional<double> ammoniumShare;       // % of N (nitrate, ammonium and urea N)
    std::optional<double> potassiumPerNitrogen; // mg K per mg N: N:K = 1 : this
    double potassiumMeq = 0;                    // K:Ca:Mg in meq/L
    double calciumMeq = 0;
    double magnesiumMeq = 0;
};

struct Analysis
{
    RecipeTotals recipe;          // totals and the elements no form stands for
    QMap<QString, double> elements; // mg/L per element symbol of the forms present
    Speciation solution;          // pH estimate, species, free ions, EC, ionic strength
    QList<IonRow> ions;
    Balance balance;
    RulesOfThumb rules;
    Ratios ratios;
    double alkalinityMeq = 0;     // of the water
    Balance waterBalance;         // of the water alone, as its report states it
    std::optional<AcidDose> acid; // when an acid was given
};

Analysis analyse(const Recipe &recipe, const AnalysisOptions &options = {});

// EC (mS/cm, 25 °C) of 1 g/L of a fertilizer in pure water.
double ecOfOneGramPerLitre(const Fertilizer &fertilizer);

} // namespace Chemistry
