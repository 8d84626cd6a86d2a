#pragma once

#include <QString>

// The values worked out from stored fields, the concentration percentage p and the litres L
// each time a row is read. Pure arithmetic in the calculation's extended precision, each value
// rounded to a double where it would be stored: the calculation hooks fill the calculated
// fields with them, and whatever predicts what the calculator shows can call them as well.
namespace DerivedValues {

// kol_pr of the working composition: (kol / 100) × p.
double scaledAmount(double kol, int percentage);

// The derived columns of a target row.
struct Target
{
    double vagaCalc = 0;  // RoundDecimals((vega / 100) × p, 2)
    double cvetCalc = 0;  // RoundDecimals((cvet / 100) × p, 2)
    double rPr = 0;       // (rachet / 100) × p
    double raznicaV = 0;  // RoundDecimals(rachet − vagaCalc, 2)
    double raznicaC = 0;  // RoundDecimals(rachet − cvetCalc, 2)
};
Target target(double vega, double cvet, double rachet, int percentage);

// The derived columns of a saved solution's row, for L litres and the percentage it was saved at.
struct SavedRow
{
    double kolTemp = 0; // kol × L
    double rConc = 0;   // (kol / 100) × saved percentage
    double rlConc = 0;  // rConc × L
};
SavedRow savedRow(double kol, double litres, double savedPercentage);

// L as the litres editor's text gives it: the number in the text, with either decimal mark;
// empty or unreadable is 0.
double litresFromText(const QString &text);

} // namespace DerivedValues
