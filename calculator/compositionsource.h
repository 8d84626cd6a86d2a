#pragma once

#include <QString>

// What the name dialog takes from the calculator at the moment it saves: the percentage as the
// grower typed it, and an amount still open in the working composition's grid written into
// its row. The calculator implements it; the application hands it to the dialog.
class CompositionSource
{
public:
    virtual ~CompositionSource() = default;
    virtual QString percentageText() const = 0; // Edit2's text
    virtual void commitCompositionEditor() = 0;
};
