#pragma once

#include "owntables.h"

#include <QList>
#include <QString>

#include <optional>

// What the base holds, as plain values: the rows BaseQueries reads by key. No cursor, no
// dataset; a missing value is an empty optional (0 for a key that names nothing, a null
// QString for a name looked up from a row that is not there).
namespace BaseRows {

// An element of T_element: a plain element or a label form (P2O5, K2O, N-NO3 ...) whose
// coefficient converts it into the element it yields.
struct Element
{
    int id = 0;
    QString symbol; // Smallname_element
    QString name;   // fullname_element
    bool isForm = false;
    std::optional<int> coefficient; // id_kof
};

// A conversion coefficient (t_kof): a label form counts towards `element` by `factor`.
struct Coefficient
{
    int id = 0;
    QString name;
    double factor = 0;
    int element = 0;
};

// One composition row of a fertilizer, with what its element's coefficient yields.
struct CompositionLine
{
    int fertilizer = 0;
    int element = 0;
    QString symbol;
    double percent = 0; // kol_element, % by mass
    int yieldedElement = 0; // 0: the element has no coefficient
    QString yieldedSymbol;
    double factor = 0;
};

struct Fertilizer
{
    int id = 0;
    QString name;
    int ppm = 0; // of 1 g/L
};

// One target row (t_konc) of a crop.
struct Target
{
    int id = 0; // id_konc
    int element = 0;
    QString symbol; // null (isNull): the element is not in the base
    double vega = 0; // mg/L at 100 %
    double cvet = 0;
    std::optional<double> computed; // rachet, as the last run stored it
};

// A crop's row of t_svoistva_kult.
struct CropProperties
{
    std::optional<double> ecVega; // mS/cm
    std::optional<double> ecCvet;
    std::optional<double> ammoniumShare; // % of N
};

struct Crop
{
    int id = 0;
    QString name;
    QString ph;
    QList<Target> targets; // in the order the calculator lists them
    std::optional<CropProperties> properties;
};

struct WaterLine
{
    int element = 0;
    QString symbol;
    double mgPerLitre = 0;
};

struct WaterAnalysis
{
    int id = 0;
    QString name;
    std::optional<double> hco3; // mg/L
    std::optional<double> ph;
    QList<WaterLine> lines; // an element may be listed twice
};

// A fertilizer's row of t_svoistva_udobra.
struct FertilizerProperties
{
    int id = 0; // id_svoistva
    int fertilizer = 0;
    std::optional<double> solubility; // g per litre of water at 20 °C
    std::optional<double> solubility0;
    std::optional<double> solubility10;
    std::optional<double> solubility30;
    std::optional<double> solubility40;
    std::optional<double> price; // per kg
    std::optional<int> tank;     // TankChoice as stored; may lie outside the choices
    std::optional<NitrogenForm> nitrogenForm;
    bool acid = false;
    std::optional<double> strength; // % by mass
    std::optional<double> density;  // g/mL
};

// A row of the working composition (t_rachet) or of a saved solution (t_save_rar).
struct RecipeLine
{
    int id = 0;
    std::optional<int> fertilizer;
    QString name; // null (isNull): the fertilizer is not in the base
    double grams = 0; // an empty amount is 0
    int ppm = 0;
};

struct SavedSolution
{
    int id = 0;
    QString name;
    int crop = 0;
    std::optional<double> litres;
    std::optional<int> percentage;
    QList<RecipeLine> lines;
};

// The options row (t_opt) as far as computing reads it; all off without a row, as the
// calculator reads an empty options table.
struct Options
{
    bool autoRun = false;      // avto
    bool targetTotals = false; // ppm1: the four mg/L totals
    bool ppmTotals = false;    // ppm2: the two ppm totals
};

} // namespace BaseRows
