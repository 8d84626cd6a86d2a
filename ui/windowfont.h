#pragma once

#include <QFont>

// Every window's font: "MS Sans Serif" 8 pt where the desktop has it, otherwise the desktop's
// sans serif at the same size.
QFont windowFont();
