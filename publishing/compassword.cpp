// Compass words of direction texts, by the same bounds as the readings use.
#include "publishing/compassword.h"

#include "acquisition/readingnumber.h"
#include "acquisition/weatherwords.h"

QString pageCompassWord(const QString &directionText)
{
    const auto degrees = readingNumber(directionText, ReadingNumberForm::Int);
    return CompassWord(int(degrees.value_or(0)));
}
