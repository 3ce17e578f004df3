// The text forms of the readings record.
#include "acquisition/textforms.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double powersOfTen[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};

enum class Halves { ToEven, AwayFromZero };

qint64 roundScaled(double x, Halves halves)
{
    const double floorX = std::floor(x);
    const double frac = x - floorX;
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(x));
    const auto f = qint64(floorX);
    if (std::fabs(frac - 0.5) <= tolerance) {
        if (halves == Halves::ToEven)
            return f % 2 == 0 ? f : f + 1;
        return x > 0 ? f + 1 : f;
    }
    return frac < 0.5 ? f : f + 1;
}

// A scaled integer (hundredths, tenths) as the shortest number text.
QString scaledText(qint64 scaled, int decimals)
{
    const qint64 unit = qint64(powersOfTen[decimals]);
    const bool negative = scaled < 0;
    const qint64 magnitude = negative ? -scaled : scaled;
    QString text = QString::number(magnitude / unit);
    qint64 fraction = magnitude % unit;
    if (fraction != 0) {
        int places = decimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        text +=
            QLatin1Char('.') + QString::number(fraction).rightJustified(places, QLatin1Char('0'));
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

qint64 roundWhole(double v)
{
    return roundScaled(v, Halves::ToEven);
}

qint64 roundFormat(double v, int decimals)
{
    return roundScaled(v * powersOfTen[decimals], Halves::AwayFromZero);
}

double formatAsNumber(double v, int decimals)
{
    return double(roundFormat(v, decimals)) / powersOfTen[decimals];
}

QString wholeText(double v)
{
    return QString::number(roundWhole(v));
}

QString oneDecimalText(double v)
{
    return scaledText(roundFormat(v, 1), 1);
}

QString twoDecimalText(double v)
{
    return scaledText(roundFormat(v, 2), 2);
}

QString fourDigitText(double v)
{
    return QString::number(roundFormat(v, 0));
}

QString zeroZeroPointZeroText(double v)
{
    const qint64 tenths = roundFormat(v, 1);
    const qint64 magnitude = tenths < 0 ? -tenths : tenths;
    const QString text = QString::number(magnitude / 10).rightJustified(2, QLatin1Char('0')) +
                         QLatin1Char('.') + QString::number(magnitude % 10);
    return tenths < 0 ? QLatin1Char('-') + text : text;
}

QString timeText(int hour, int minute)
{
    return QString::number(hour) + QLatin1Char(':') + twoDigits(minute);
}

QString time2Text(int hour, int minute)
{
    return twoDigits(hour) + QLatin1Char(':') + twoDigits(minute);
}

QString dateText(int month, int day, const QDate &today)
{
    int y = 0;
    int m = 0;
    int d = 0;
    today.getDate(&y, &m, &d);
    return dateText(month, day, y, m, d);
}

QString dateText(int month, int day, int todayYear, int todayMonth, int todayDay)
{
    int year = todayYear;
    if (month > todayMonth || (month == todayMonth && day > todayDay))
        --year;
    return QString::number(month) + QLatin1Char('-') + QString::number(day) + QLatin1Char('-') +
           QString::number(year).rightJustified(4, QLatin1Char('0'));
}
