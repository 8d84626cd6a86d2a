#pragma once

// Copies the options row onto the pickers, the calculator's controls and the main window's
// autostart timer. A control the calculator does not have is passed over.
void ApplyOptions();
