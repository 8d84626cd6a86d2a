#pragma once

// The whole database at once, over the data modules of the main window (Form1). Both throw
// AppError and stop at the failing step.

// Opens every dataset and the connection in the opening order, then loads the layout file.
void OpenDatabase();

// Closes every dataset and the connection in the closing order; unposted changes are dropped.
// The layout file is not written.
void CloseDatabase();

// The closing of the element, fertilizer and calculator windows: SaveLayout, CloseDatabase,
// OpenDatabase. An error is shown in the standard error box and ends the cycle where it arose;
// false then tells the closing window to stay open (after a failed SaveLayout nothing has been
// closed). Call it from the window's close handling and ignore the close when it is false.
bool DatabaseCycle();

// Closes the main window from code, exactly as its close box does: the database is closed and
// the program ends. For the calculator's rule on t_opt.avto.
void CloseMainWindow();
