// Compass words of wind directions, as the publishing pass computes them.
#pragma once

#include <QString>

// "North", "NorthEast", ... "NorthWest" for a direction text: CompassWord of its whole
// number of degrees (halves to the even one); a text that is not a number counts as 0.
QString pageCompassWord(const QString &directionText);
