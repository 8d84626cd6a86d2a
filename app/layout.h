#pragma once

// The layout file size.ini in the working directory, applied to the element window, the
// fertilizer window and the calculator through the global window references. Each throws
// AppError; the calling event shows it.

// Reads size.ini (writing the defaults first when it does not open) and applies its 15 values
// to the three windows, whether they are shown or hidden.
void LoadLayout();

// Writes the three windows' states, outer sizes and splitter positions of the moment.
void SaveLayout();

// Writes the built-in layout.
void WriteDefaultLayout();

// The stock window's mixing temperature, kept in the layout file's section of our own: shown
// again when the window opens (a figure that is no temperature leaves the window's own), stored
// when the grower changes it.
void LoadStockTemperature();
void SaveStockTemperature();
