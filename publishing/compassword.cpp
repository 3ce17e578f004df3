// Compass words by the station's uneven sector bounds.
#include "publishing/compassword.h"

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
    struct Sector
    {
        int from;
        int to;
        const char *word;
    };
    // Sectors are 44 to 46 degrees wide; these bounds are the station's rule.
    static constexpr Sector kSectors[] = {
        {23, 67, "NorthEast"},   {68, 112, "East"},  {113, 156, "SouthEast"},
        {157, 202, "South"},     {203, 247, "SouthWest"}, {248, 292, "West"},
        {293, 336, "NorthWest"},
    };
    const int n = directionDegrees(directionText);
    for (const Sector &s : kSectors) {
        if (n >= s.from && n <= s.to)
            return QString::fromLatin1(s.word);
    }
    return QStringLiteral("North");
}
