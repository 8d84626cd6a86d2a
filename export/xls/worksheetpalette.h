#pragma once

#include "export/xls/worksheetcolour.h"

#include <array>

// The grid's colours as the worksheet's palette carries them (colour indices 8 to 20, in the
// order of the members). System colours are passed already resolved to RGB.
struct WorksheetPalette
{
    WorksheetColour headerText;    //  8: caption text
    WorksheetColour header;        //  9: caption background
    WorksheetColour groupRowText;  // 10
    WorksheetColour groupRow;      // 11
    WorksheetColour text;          // 12: cell text of every column
    WorksheetColour background;    // 13: cell background of every column
    WorksheetColour windowFrame;   // 14: system window-frame colour, the caption borders
    WorksheetColour window;        // 15: system window colour
    WorksheetColour bandText;      // 16
    WorksheetColour band;          // 17
    WorksheetColour rowFooterText; // 18
    WorksheetColour rowFooter;     // 19
    WorksheetColour gridLine;      // 20: cell borders when grid lines are shown

    static constexpr int FirstIndex = 8;
    static constexpr int Count = 13;

    std::array<WorksheetColour, Count> inOrder() const
    {
        return {headerText, header, groupRowText, groupRow, text, background, windowFrame,
                window, bandText, band, rowFooterText, rowFooter, gridLine};
    }
};
