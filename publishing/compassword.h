// Compass words of wind directions, as the publishing pass computes them.
#pragma once

#include <QString>

// The direction text as a whole number of degrees: rounded to the nearest, halves to the
// even neighbour; a text that is not a number gives 0.
int directionDegrees(const QString &directionText);

// "North", "NorthEast", ... "NorthWest" for a direction text, by the inclusive bounds
// 23-67 NorthEast, 68-112 East, 113-156 SouthEast, 157-202 South, 203-247 SouthWest,
// 248-292 West, 293-336 NorthWest, anything else North.
QString pageCompassWord(const QString &directionText);
