// Compass words of direction texts, by the same bounds as the readings use.
#include "publishing/compassword.h"

#include "acquisition/weatherwords.h"

#include <cmath>
#include <limits>

int directionDegrees(const QString &directionText)
{
    bool ok = false;
    const double v = directionText.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    const double r = std::nearbyint(v);
    if (r > std::numeric_limits<int>::max() || r < std::numeric_limits<int>::min())
        return 0;
    return int(r);
}

QString pageCompassWord(const QString &directionText)
{
    return CompassWord(directionDegrees(directionText));
}
