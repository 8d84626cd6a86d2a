#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// What the options reach beyond their own window, given by the application at start-up: the
// calculator, whose controls the options' tables name, and the main window's autostart timer.
struct OptionsTargets
{
    QPointer<QWidget> calculator;
    std::function<void(bool on)> setAutostart;
};
