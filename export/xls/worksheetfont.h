#pragma once

#include <QString>

// A grid font as the worksheet stores it; its colour comes from the palette.
struct WorksheetFont
{
    QString name = QStringLiteral("Arial"); // written in Windows-1251, at most 255 bytes
    double pointSize = 10;                  // stored in twentieths of a point
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};
