#pragma once

#include "optionstargets.h"

#include <QStringList>

class TForm18;

// Copies the options row onto the window's pickers, the calculator's named controls and the
// autostart timer. The tables name the calculator's controls, a name being data there; a name
// the calculator does not hold throws, so the tables and the window cannot drift apart
// unnoticed.
void applyOptions(TForm18 &options, const OptionsTargets &targets);

// Every calculator control the tables name, each once.
QStringList governedControls();
