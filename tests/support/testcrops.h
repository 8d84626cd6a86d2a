#pragma once

#include <QString>

// The crops the window and engine tests were worked out on by hand, typed into a base in place
// of its crops, so that those tests hold whatever the default data holds:
//   1 Томат (vega N 70, P 50, K 120, Ca 150, Mg 40, S 50; cvet N 150, K 200, Mg 50; Fe 2.8,
//     Mn 0.8, Zn 0.3, Cu 0.2, B 0.7, Mo 0.05), 2 Огурец (N 241.6 ...), 3 Перец сладкий,
//   4 Салат, 5 Универсальный (Хогланд), each with pH text "5.5-6.5".
// Each crop gets one target row per non-oxide element of the base, 0 for an element not listed
// above, as a crop of the default base has. Crop properties are left empty.
void typeTestCrops(const QString &basePath);
