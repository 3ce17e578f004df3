// The readings record's texts for a decoded group.
#include "acquisition/readingstexts.h"

#include "acquisition/conversions.h"
#include "acquisition/readingnumber.h"
#include "acquisition/textforms.h"
#include "acquisition/weatherwords.h"

namespace {

// Field names as QStrings, made once for every layout field.
const QString &fieldName(const FieldLayout &f)
{
    static const QHash<const FieldLayout *, QString> names = [] {
        QHash<const FieldLayout *, QString> n;
        for (const SensorGroup g :
             {SensorGroup::Humidity, SensorGroup::Temperature, SensorGroup::BarometerDewpoint,
              SensorGroup::Rain, SensorGroup::Wind}) {
            const GroupLayout &layout = layoutForGroup(g);
            for (int i = 0; i < layout.fieldCount; ++i)
                n.insert(&layout.fields[i], QString::fromLatin1(layout.fields[i].name));
        }
        return n;
    }();
    return *names.find(&f);
}

struct Today
{
    int year = 0;
    int month = 0;
    int day = 0;
};

QString fieldText(const FieldLayout &f, const RawValue &v, bool metric, const Today &today)
{
    const double n = v.number;
    switch (f.quantity) {
    case Quantity::Humidity:
    case Quantity::Direction:
        return wholeText(n);
    case Quantity::Temperature:
        return oneDecimalText(metric ? n : celsiusToFahrenheit(n));
    case Quantity::TemperatureAlarm:
        return wholeText(metric ? fahrenheitToCelsius(n) : n);
    case Quantity::Dewpoint:
        return wholeText(metric ? n : celsiusToFahrenheit(n));
    case Quantity::DewpointAlarm:
        return wholeText(0);
    case Quantity::LocalPressure:
        return metric ? fourDigitText(n) : twoDecimalText(millibarsToInchesHg(n));
    case Quantity::SeaLevelPressure:
        return metric ? fourDigitText(double(roundWhole(n)))
                      : twoDecimalText(millibarsToInchesHg(n));
    case Quantity::RainAmount:
        return metric ? fourDigitText(n) : twoDecimalText(millimetresToInches(n));
    case Quantity::RainRateAlarm:
        // The value itself is converted; rounding it to whole inches first would show
        // 1.5 in/h as 51 mm/h and 0.4 in/h as 0.
        return metric ? fourDigitText(inchesToMillimetres(n)) : twoDecimalText(n);
    case Quantity::WindSpeed:
        return oneDecimalText(metric ? n : metresPerSecondToMph(n));
    case Quantity::WindSpeedAlarm:
        return oneDecimalText(metric ? mphToMetresPerSecond(n) : n);
    case Quantity::WindChill:
        return oneDecimalText(metric ? n : celsiusToFahrenheit(n));
    case Quantity::Time:
        return timeText(v.hour, v.minute);
    case Quantity::Time2:
        return time2Text(v.hour, v.minute);
    case Quantity::Date:
        return dateText(v.month, v.day, today.year, today.month, today.day);
    case Quantity::Trend:
        return pressureTrendWord(v.bits);
    case Quantity::Forecast:
        return stationForecastWord(v.bits);
    }
    return {};
}

void add(GroupReadings &r, const QString &field, const QString &text)
{
    r.texts.append(std::pair(field, text));
}

void addTemperatureTexts(const DecodedGroup &d, const DecodeContext &c, GroupReadings &r)
{
    const auto outdoor = d.value("OutdoorTemperature");
    if (!outdoor)
        return;
    const bool metric = c.displayUnits != 0;
    const double fahrenheit = celsiusToFahrenheit(outdoor->number);
    add(r, QStringLiteral("HeatIndex"), heatIndexText(fahrenheit, c.outdoorHumidity, metric));
    add(r, QStringLiteral("OutdoorTemperatureCaption"),
        r.text(QLatin1String("OutdoorTemperature")) +
            (metric ? QLatin1String(" Deg C") : QLatin1String(" Deg F")));
    r.gauges.outdoorTempF = formatAsNumber(fahrenheit, 1);
}

void addBarometerTexts(const DecodedGroup &d, const DecodeContext &c, GroupReadings &r)
{
    const auto seaLevel = d.value("SeaLevelPressure");
    if (!seaLevel)
        return;
    const bool metric = c.displayUnits != 0;
    add(r, QStringLiteral("SeaLevelPressureCaption"),
        r.text(QLatin1String("SeaLevelPressure")) +
            (metric ? QLatin1String(" MBar") : QLatin1String(" Hg")));
    r.gauges.seaLevelInHg = millibarsToInchesHg(seaLevel->number);
}

void addWindTexts(const DecodedGroup &d, const DecodeContext &c, GroupReadings &r)
{
    const bool metric = c.displayUnits != 0;
    if (const auto gustDirection = d.value("GustDirection")) {
        add(r, QStringLiteral("GustDirectionWord"), CompassWord(int(gustDirection->number)));
        r.gauges.gustDirection = gustDirection->number;
    }
    if (const auto gust = d.value("GustSpeed")) {
        add(r, QStringLiteral("GustSpeedCaption"),
            r.text(QLatin1String("GustSpeed")) +
                (metric ? QLatin1String(" M/S") : QLatin1String(" MPH")));
        r.gauges.gustMph = formatAsNumber(metresPerSecondToMph(gust->number), 1);
    }
    if (const auto chill = d.value("WindChill"))
        add(r, QStringLiteral("WindChillWhole"),
            wholeText(metric ? chill->number : celsiusToFahrenheit(chill->number)));
    if (const auto average = d.value("AverageDirection"))
        add(r, QStringLiteral("AverageDirectionWord"), CompassWord(int(average->number)));
}

} // namespace

QString GroupReadings::text(QLatin1String field) const
{
    for (const auto &t : texts) {
        if (t.first == field)
            return t.second;
    }
    return {};
}

GroupReadings presentGroup(const DecodedGroup &decoded, const DecodeContext &context)
{
    GroupReadings r;
    if (!decoded.layout)
        return r;
    const GroupLayout &layout = *decoded.layout;
    const bool metric = context.displayUnits != 0;
    Today today;
    context.today.getDate(&today.year, &today.month, &today.day);
    r.group = layout.group;
    r.texts.reserve(layout.fieldCount + 4);
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (!decoded.readable.test(size_t(i)))
            continue;
        const FieldLayout &f = layout.fields[i];
        add(r, fieldName(f), fieldText(f, decoded.values[size_t(i)], metric, today));
    }
    switch (layout.group) {
    case SensorGroup::Temperature:
        addTemperatureTexts(decoded, context, r);
        break;
    case SensorGroup::BarometerDewpoint:
        addBarometerTexts(decoded, context, r);
        break;
    case SensorGroup::Wind:
        addWindTexts(decoded, context, r);
        break;
    case SensorGroup::Humidity:
    case SensorGroup::Rain:
        break;
    }
    return r;
}

bool applyFrame(const QByteArray &frame, ReadingsRecord &record, int displayUnits,
                const QDate &today)
{
    const auto decoded = decodeGroup(frame);
    if (!decoded)
        return false;
    DecodeContext context;
    context.displayUnits = displayUnits;
    context.today = today;
    if (const auto humidity =
            readingNumber(record.text(QStringLiteral("OutdoorHumidity")), ReadingNumberForm::Int))
        context.outdoorHumidity = int(*humidity);
    const GroupReadings r = presentGroup(*decoded, context);
    record.applyTexts(r.group, r.texts, r.gauges);
    return true;
}
