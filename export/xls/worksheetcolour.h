#pragma once

#include <QtGlobal>

// One colour of the worksheet palette. A grid colour set to none is left at the default, black.
struct WorksheetColour
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    // From 0xRRGGBB (the layout of QRgb without its alpha byte).
    static constexpr WorksheetColour fromRgb(quint32 rgb)
    {
        return {quint8((rgb >> 16) & 0xFF), quint8((rgb >> 8) & 0xFF), quint8(rgb & 0xFF)};
    }

    friend constexpr bool operator==(const WorksheetColour &, const WorksheetColour &) = default;
};
