#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class TForm18;

// What the options reach beyond their own window, given by the application at start-up: the
// calculator, whose controls the options' tables name, and the main window's autostart timer.
struct OptionsTargets
{
    QPointer<QWidget> calculator;
    std::function<void(bool on)> setAutostart;
};

// Copies the options row onto the window's pickers, the calculator's named controls and the
// autostart timer. The tables name the calculator's controls, a name being data there; a name
// the calculator does not hold throws, so the tables and the window cannot drift apart
// unnoticed.
void applyOptions(TForm18 &options, const OptionsTargets &targets);

// Every calculator control the tables name, each once.
QStringList governedControls();
