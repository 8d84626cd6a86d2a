#pragma once

// Runs the registered benchmarks inside a QApplication on the offscreen platform (unless a
// platform is named). A message box cannot wait for a person here: each is answered with its
// first button and counted.
int runWindowBenchmarks(int argc, char **argv);

// Boxes answered since the last reset, for a benchmark's "error_boxes" counter.
int boxesShown();
void resetBoxesShown();
