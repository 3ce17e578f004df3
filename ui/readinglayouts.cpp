// The reading panels as tables, so that layout and record binding come from one place.
#include "ui/readinglayouts.h"

namespace {

// Humidity, temperature and dewpoint windows share one layout: the same box numbers and
// unit labels for the same roles, fields named side + quantity + role.
QList<ReadingSection> sideBySideSections(const QString &quantity, const QString &unit)
{
    struct Side
    {
        const char *title;
        const char *prefix;
        const char *now, *nowUnit;
        const char *high, *highUnit, *highTime, *highDate;
        const char *low, *lowUnit, *lowTime, *lowDate;
        const char *alarmHigh, *alarmHighUnit, *alarmLow, *alarmLowUnit;
    };
    static const Side sides[] = {
        {"Indoor", "Indoor", "Text1", "Label3", "Text7", "Label9", "Text8", "Text9", "Text10",
         "Label11", "Text11", "Text12", "Text3", "Label19", "Text4", "Label20"},
        {"Outdoor", "Outdoor", "Text2", "Label4", "Text20", "Label25", "Text19", "Text18", "Text17",
         "Label27", "Text16", "Text15", "Text13", "Label33", "Text14", "Label34"},
    };
    QList<ReadingSection> sections;
    int column = 0;
    for (const Side &s : sides) {
        const QString base = QLatin1String(s.prefix) + quantity;
        sections.append(
            {QString::fromLatin1(s.title),
             {
                 {QStringLiteral("Current"), s.now, base, s.nowUnit, unit},
                 {QStringLiteral("High"), s.high, base + "High", s.highUnit, unit, s.highTime,
                  base + "HighTime", s.highDate, base + "HighDate"},
                 {QStringLiteral("Low"), s.low, base + "Low", s.lowUnit, unit, s.lowTime,
                  base + "LowTime", s.lowDate, base + "LowDate"},
                 {QStringLiteral("Alarm High"), s.alarmHigh, base + "AlarmHigh", s.alarmHighUnit,
                  unit},
                 {QStringLiteral("Alarm Low"), s.alarmLow, base + "AlarmLow", s.alarmLowUnit, unit},
             },
             column++});
    }
    return sections;
}

ReadingLayout makeWx()
{
    const QString deg = QStringLiteral("Deg");
    return {QStringLiteral("Wx"),
            {},
            {},
            {},
            {
                {QStringLiteral("Wind"),
                 {
                     {"Gust Wind Dir", "Text1", "GustDirection", {}, deg},
                     {"Gust Wind Speed", "Text2", "GustSpeed", "Label22", "MPH"},
                     {"Avg Wind Dir", "Text3", "AverageDirection", {}, deg},
                     {"Avg Wind Speed", "Text4", "AverageSpeed", "Label34", "MPH"},
                     {"Hi Wind Dir", "Text5", "HighWindDirection", {}, deg},
                     {"Hi Wind Speed", "Text6", "HighWindSpeed", "Label36", "MPH"},
                     {"Hi Wind Time", "Text7", "HighWindTime", {}, {}},
                     {"Hi Wind Date", "Text8", "HighWindDate", {}, {}},
                 }},
                {QStringLiteral("Temperature"),
                 {
                     {"Temperature", "Text10", "OutdoorTemperature", "Label29", "Deg F"},
                     {"Dewpoint", "Text13", "OutdoorDewpoint", "Label31", "Deg F"},
                     {"Humidity", "Text16", "OutdoorHumidity", {}, "%"},
                     {"Wind Chill", "Text17", "WindChillWhole", "Label26", "Deg F"},
                     {"Heat Index", "Text20", "HeatIndex", "Label9", "Deg F"},
                 },
                 1},
                {QStringLiteral("Pressure"),
                 {
                     {"Baro Pressure", "Text11", "SeaLevelPressure", "Label28", "in HG"},
                     {"Baro Trend", "Text12", "PressureTrend", {}, {}},
                 },
                 1},
                {QStringLiteral("Rain"),
                 {
                     {"Rainfall Yesterday", "Text18", "RainYesterday", "Label40", "Inches"},
                 },
                 1},
            }};
}

ReadingLayout makeBarometer()
{
    return {QStringLiteral("Barometer"),
            QStringLiteral("Barometer Data"),
            QStringLiteral("m_barometer"),
            QStringLiteral("Barometer"),
            {{QStringLiteral("Pressure"),
              {
                  {"Local Pressure", "Text1", "LocalPressure", "Label5", "in Hg"},
                  {"Sea Level Pressure", "Text2", "SeaLevelPressure", "Label6", "in Hg"},
                  {"Trend", "Text3", "PressureTrend", {}, {}},
                  {"Station Forecast", "Text4", "StationForecast", {}, {}},
              }}}};
}

ReadingLayout makeRain()
{
    return {QStringLiteral("Rain"),
            QStringLiteral("Rain Data"),
            QStringLiteral("m_rain"),
            QStringLiteral("Rain"),
            {{QStringLiteral("Rainfall"),
              {
                  {"Yesterday", "Text1", "RainYesterday", "Label7", "Inches"},
                  {"Total", "Text2", "RainTotal", "Label8", "Inches"},
                  {"Rate", "Text3", "RainRate", "Label9", "In/Hr"},
                  {"Rate Alarm", "Text4", "RainRateAlarm", "Label10", "In/Hr"},
                  // The total counts from the console's last reset.
                  {"Last Reset", "Text5", "RainResetDate", {}, {}, "Text6", "RainResetTime"},
              }}}};
}

ReadingLayout makeWind()
{
    const QString deg = QStringLiteral("Deg");
    return {QStringLiteral("Wind"),
            QStringLiteral("Wind Data"),
            QStringLiteral("m_wind"),
            QStringLiteral("Wind"),
            {
                {QStringLiteral("Wind"),
                 {
                     {"Gust Speed", "Text1", "GustSpeed", "Label5", "MPH"},
                     {"Gust Direction", "Text2", "GustDirection", {}, deg},
                     {"Average Speed", "Text3", "AverageSpeed", "Label6", "MPH"},
                     {"Average Direction", "Text4", "AverageDirection", {}, deg},
                     {"High Speed", "Text8", "HighWindSpeed", "Label12", "MPH", "Text5",
                      "HighWindTime", "Text6", "HighWindDate"},
                     {"High Direction", "Text7", "HighWindDirection", {}, deg},
                     {"Speed Alarm", "Text9", "HighWindSpeedAlarm", "Label18", "MPH"},
                 }},
                {QStringLiteral("Wind Chill"),
                 {
                     {"Current", "Text11", "WindChill", "Label25", "F"},
                     {"Low", "Text12", "WindChillLow", "Label27", "F", "Text14", "WindChillLowTime",
                      "Text13", "WindChillLowDate"},
                 }},
            }};
}

ReadingLayout makeSideBySide(const char *name, const char *unit)
{
    const QString n = QString::fromLatin1(name);
    return {n, n + QStringLiteral(" Data"), QStringLiteral("m_") + n.toLower(), n,
            sideBySideSections(n, QString::fromLatin1(unit))};
}

} // namespace

const ReadingLayout &wxReadingLayout()
{
    static const ReadingLayout layout = makeWx();
    return layout;
}

const QList<ReadingLayout> &detailLayouts()
{
    static const QList<ReadingLayout> layouts = {
        makeSideBySide("Humidity", "%"),
        makeSideBySide("Temperature", "F"),
        makeBarometer(),
        // The console reports no dewpoint alarms; the boxes always read 0.
        makeSideBySide("Dewpoint", "F"),
        makeRain(),
        makeWind(),
    };
    return layouts;
}

QList<TextBinding> bindingsOf(const ReadingLayout &layout)
{
    QList<TextBinding> bindings;
    for (const ReadingSection &section : layout.sections) {
        for (const ReadingRow &row : section.rows) {
            bindings.append({row.box, row.field});
            if (!row.timeBox.isEmpty())
                bindings.append({row.timeBox, row.timeField});
            if (!row.dateBox.isEmpty())
                bindings.append({row.dateBox, row.dateField});
        }
    }
    return bindings;
}
