#pragma once

class QApplication;

// The program's start and end as main runs them, in parts that tests can run in-process.

// The exit code after a start-up that failed before any window was shown.
inline constexpr int StartupFailedExitCode = 1;

// Creates the eight windows hidden, in order TForm1 ... TF_Converter, into the global
// references. Creating TForm1 connects the database (a failure is shown and creation goes on);
// creating TForm3 opens T_Element and T_KOF; then ConnectWindows. An error after TForm1 is
// shown, the windows made so far are destroyed and the result is false: the program must end.
bool CreateWindows();

// What the windows reach of each other, wired once after they are all created: the database
// cycle of the windows whose closing runs it, the requests of the calculator's small buttons,
// the fertilizer count, the name dialog and what the options govern.
void ConnectWindows();

// Shows the main window, centred; its FormShow opens the database and applies the options.
void ShowMainWindow();

// Destroys the windows in reverse order, none of them running its close handling, and clears
// the global references.
void DestroyWindows();

// All of it: the application's name, the windows, the main window shown, the event loop until
// the main window closes, the end. SIGTERM and SIGINT close the main window as its close box
// does once it has been shown. Returns the exit code.
int RunProgram(QApplication &app);
