#pragma once

#include "calc/chemistry/ions.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// The recipe file: a working composition with its water, as UTF-8 JSON that travels between
// bases, programs and greenhouse computers (docs/recipe-format.md describes it for their
// authors). Reading checks every field and refuses the whole file on the first fault, naming the
// field and its line; writing gives a stable key order and the numbers as they are held.
namespace RecipeFile {

inline constexpr char FormatName[] = "vernolat-recipe";
inline constexpr int Version = 1;
// Larger than any recipe: a file beyond it is refused before it is parsed.
inline constexpr qsizetype MaximumFileSize = 16 * 1024 * 1024;

struct AcidProperties
{
    double strengthPercent = 0; // % by mass
    double density = 0;         // g/mL

    bool operator==(const AcidProperties &) const = default;
};

struct Fertilizer
{
    QString name;
    QMap<QString, double> composition; // % by mass, by the default base's symbols
    double gramsPerLitre = 0;          // at 100 %
    std::optional<Chemistry::NitrogenForm> nitrogenForm; // of plain N; nitrate when unset
    std::optional<AcidProperties> acid;
    // Properties a base keeps beside the label; left out of a file that does not know them.
    std::optional<int> ppm;             // the salt total of 1 g/L
    std::optional<double> solubility;   // g per litre of water at 20 °C
    std::optional<double> price;        // per kg
    // For a composition to solve: keep the amount, or bound it (g/L).
    bool fixed = false;
    std::optional<double> atMost;

    bool operator==(const Fertilizer &) const = default;
};

struct Water
{
    std::optional<QString> name;              // the analysis it was taken from
    QMap<QString, double> milligramsPerLitre; // by the default base's symbols
    std::optional<double> hco3;               // mg/L
    std::optional<double> ph;

    bool operator==(const Water &) const = default;
};

// One target row of a crop: mg/L at 100 % for the vegetative and the flowering stage.
struct Target
{
    QString symbol;
    double vega = 0;
    double cvet = 0;

    bool operator==(const Target &) const = default;
};

struct Crop
{
    QString name;
    std::optional<QString> ph;          // the crop's pH as the grower typed it
    QList<Target> targets;              // in the calculator's order
    std::optional<double> ecVega;       // mS/cm
    std::optional<double> ecCvet;
    std::optional<double> nh4Percent;   // ammonium, % of N

    bool operator==(const Crop &) const = default;
};

struct Recipe
{
    QString name;
    int percentage = 100;
    std::optional<double> litres;
    std::optional<Crop> crop;
    QList<Fertilizer> fertilizers;
    std::optional<Water> water;
    std::optional<double> targetPh;
    std::optional<QString> acid; // the name of one of the fertilizers
    // What to solve for: mg/L per element symbol, and how each counts ("target", "at_least",
    // "at_most", "ignore"; "target" when not given).
    QMap<QString, double> targets;
    QMap<QString, QString> modes;
    // The solver's other choices: each element's weight (1 to 10, the default where not given),
    // the EC to scale the targets to ("По EC"), the most ammonium as % of N.
    QMap<QString, int> weights;
    std::optional<double> ec;
    std::optional<double> nh4Percent;

    bool operator==(const Recipe &) const = default;

    // The fertilizer named as the acid, if any.
    const Fertilizer *acidFertilizer() const;
};

// The file's bytes to a recipe, or an AppError naming the line and the field:
// "строка 14: fertilizers[2].composition.P2O6: неизвестный символ ...".
Recipe read(const QByteArray &bytes);

// The recipe as the file's bytes: UTF-8 JSON, indented, keys in a fixed (alphabetical) order,
// optional fields only when set, numbers in the shortest form that reads back the same.
QByteArray write(const Recipe &recipe);

// The texts of the nitrogen forms in a file.
QString nitrogenFormText(Chemistry::NitrogenForm form);

} // namespace RecipeFile
