// Compass words of wind directions, as the publishing pass computes them.
#pragma once

#include <QString>

// The direction text as a whole number of degrees: rounded to the nearest, halves to the
// even neighbour; a text that is not a number gives 0.
int directionDegrees(const QString &directionText);

// "North", "NorthEast", ... "NorthWest" for a direction text: CompassWord of its whole
// number of degrees.
QString pageCompassWord(const QString &directionText);
