#pragma once

#include <functional>

class DataModules;

// Makes the working composition of an open base the first `size` fertilizers of the list,
// the i-th at grams(i) g/L; the rows an earlier run of the benchmark left go first.
void fillWorkingComposition(DataModules &dm, int size, const std::function<double(int)> &grams);
