#pragma once

class QObject;

// Gives a control the background colour of a Windows colour value (see wincolor.h): a grid
// column its cell colour, an edit or spin editor its text-field colour, any other widget the
// colour of its background role, filled. Objects of other kinds are left alone.
void setControlColour(QObject *control, int winColour);
