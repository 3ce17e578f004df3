// APRS position-weather packets.
#include "sharing/aprspacket.h"

#include "acquisition/conversions.h"

#include <cmath>

namespace {

// `v` rounded into `width` digits, zero-padded; a negative value keeps its minus sign
// within the width. Dots when there is no value.
QByteArray field(std::optional<double> v, int width, double low, double high)
{
    if (!v)
        return QByteArray(width, '.');
    const long n = std::lround(std::clamp(*v, low, high));
    if (n < 0)
        return '-' + QByteArray::number(-n).rightJustified(width - 1, '0');
    return QByteArray::number(n).rightJustified(width, '0');
}

std::optional<double> mapped(std::optional<double> v, double (*f)(double))
{
    return v ? std::optional<double>(f(*v)) : std::nullopt;
}

double hundredthsOfInch(double mm)
{
    return millimetresToInches(mm) * 100.0;
}

QByteArray angle(double degrees, int degreeDigits, char positive, char negative)
{
    // Hundredths of a minute, rounded once, so that 59.996' becomes the next degree.
    const long hundredths = std::lround(std::fabs(degrees) * 6000.0);
    const long whole = hundredths / 6000;
    const long minutes = hundredths % 6000;
    return QByteArray::number(qlonglong(whole)).rightJustified(degreeDigits, '0') +
           QByteArray::number(qlonglong(minutes / 100)).rightJustified(2, '0') + '.' +
           QByteArray::number(qlonglong(minutes % 100)).rightJustified(2, '0') +
           (degrees < 0 ? negative : positive);
}

} // namespace

QByteArray aprsLoginLine(const CwopSettings &settings, const QString &version)
{
    const QString passcode = settings.passcode.isEmpty() ? QStringLiteral("-1") : settings.passcode;
    return QStringLiteral("user %1 pass %2 vers corvane %3\r\n")
        .arg(settings.callsign, passcode, version)
        .toLatin1();
}

QByteArray aprsPosition(double latitude, double longitude)
{
    return angle(latitude, 2, 'N', 'S') + '/' + angle(longitude, 3, 'E', 'W');
}

QByteArray aprsWeatherPacket(const CwopSettings &settings, const WeatherReadings &readings,
                             const RainAmounts &rain, const QDateTime &utcNow)
{
    using F = SharedField;
    const QDateTime t = utcNow.toUTC();
    QByteArray p = settings.callsign.toLatin1() + ">APRS,TCPIP*:@" +
                   t.toString(QStringLiteral("ddHHmm")).toLatin1() + 'z' +
                   aprsPosition(settings.latitude, settings.longitude) + '_';
    p += field(readings[F::AverageDirection], 3, 0, 360) + '/';
    p += field(mapped(readings[F::AverageSpeed], metresPerSecondToMph), 3, 0, 999);
    p += 'g' + field(mapped(readings[F::GustSpeed], metresPerSecondToMph), 3, 0, 999);
    p += 't' + field(mapped(readings[F::OutdoorTemperature], celsiusToFahrenheit), 3, -99, 999);
    p += 'r' + field(mapped(rain.lastHour, hundredthsOfInch), 3, 0, 999);
    p += 'p' + field(mapped(rain.last24Hours, hundredthsOfInch), 3, 0, 999);
    p += 'P' + field(mapped(rain.sinceMidnight, hundredthsOfInch), 3, 0, 999);
    std::optional<double> humidity = readings[F::OutdoorHumidity];
    if (humidity && std::lround(*humidity) >= 100)
        humidity = 0; // the protocol's two digits write 100 % as "00"
    p += 'h' + field(humidity, 2, 0, 99);
    p += 'b' + field(mapped(readings[F::SeaLevelPressure], [](double hpa) { return hpa * 10; }), 5,
                     0, 99999);
    return p + "\r\n";
}
