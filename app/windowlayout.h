#pragma once

#include "layoutfile.h"

#include <QString>

class QWidget;
class Splitter;

// The layout file applied to and read from the three large windows: the element window, the
// fertilizer window (splitter RzSplitter1) and the calculator (RzSplitter1 to RzSplitter5).
// Splitters are found by name; a window without one fails with a text that names both.
class WindowLayout
{
public:
    WindowLayout(QWidget *elements, QWidget *fertilizers, QWidget *calculator,
                 QString path = LayoutFile::FileName);

    // Writes the defaults first when the file does not open, then applies the 15 values in
    // file order: a bad line leaves the earlier values applied and the later ones not.
    void load();
    // Writes the values of the moment, hidden windows included.
    void save();
    void writeDefaults();

    LayoutFile::Values current() const;

private:
    QWidget *window(int line) const;
    Splitter *splitter(int line) const;

    QWidget *m_elements;
    QWidget *m_fertilizers;
    QWidget *m_calculator;
    QString m_path;
};
