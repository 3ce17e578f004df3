// Meanings and forms of the page tokens, and the Markdown table made from them.
#include "publishing/tokenreference.h"

#include "publishing/pagetokens.h"

#include <QHash>

namespace {

// Text forms of the readings, as the detail windows show them.
const char *const kD1 = "number with at most one decimal (72.5, 72, -3.3)";
const char *const kW = "whole number";
const char *const kTime = "hour:minute, hour without a leading zero (7:05)";
const char *const kTime2 = "hour:minute, two digits each (07:05)";
const char *const kDate = "month-day-year, no leading zeros (6-5-2026)";
const char *const kPressure = "inHg with two decimals (29.92) / whole mbar (1013)";
const char *const kRain = "inches with two decimals / whole mm";
const char *const kSpeed = "mph / m/s, at most one decimal";
const char *const kTemp = "deg F / deg C, at most one decimal";
const char *const kCompass =
    "\"North\", \"NorthEast\", \"East\", \"SouthEast\", \"South\", \"SouthWest\", \"West\" or "
    "\"NorthWest\"";

struct Entry
{
    const char *token;
    const char *meaning;
    const char *form;
};

// Every token that is not a high, low or alarm of temperature, dewpoint or humidity.
const Entry kSingle[] = {
    {"*D/T*", "local date and time of the expansion",
     "M/d/yyyy h:mm:ss AM/PM, the date alone at midnight; read anew for each occurrence"},
    {"*BPS*", "sea-level pressure", kPressure},
    {"*BPL*", "local (station) pressure", kPressure},
    {"*BTR*", "pressure trend", "\"Rising\", \"Steady\" or \"Falling\""},
    {"*BPR*", "the console's forecast", "\"Sunny\", \"Cloudy\", \"Partly Cloudy\" or \"Rain\""},
    {"*TPO*", "outdoor temperature", kTemp},
    {"*TPI*", "indoor temperature", kTemp},
    {"*AWS*", "average wind speed", kSpeed},
    {"*CWS*", "gust wind speed", kSpeed},
    {"*AWD*", "average wind direction", "whole degrees"},
    {"*CWD*", "gust wind direction", "whole degrees"},
    {"*AWDA*",
     "compass word of the average wind direction (pager: the word the main window keeps)",
     kCompass},
    {"*CWDA*", "compass word of the gust wind direction", kCompass},
    {"*HWD*", "direction of the highest wind the console recorded", "whole degrees"},
    {"*HWS*", "highest wind speed the console recorded", kSpeed},
    {"*HWDT*", "date of the highest wind", kDate},
    {"*HWTM*", "time of the highest wind", kTime2},
    {"*HWSA*", "wind speed alarm set point", kSpeed},
    {"*DWO*", "outdoor dewpoint", "deg F / deg C, whole number"},
    {"*DWI*", "indoor dewpoint", "deg F / deg C, whole number"},
    {"*HMI*", "indoor relative humidity", "percent, whole number"},
    {"*HMO*", "outdoor relative humidity", "percent, whole number"},
    {"*RNY*", "rain yesterday", kRain},
    {"*RRT*", "rain rate", "in/h with two decimals / whole mm/h"},
    {"*RTL*", "rain total since the console's last reset", kRain},
    {"*RRA*", "rain rate alarm set point", "in/h with two decimals / whole mm/h"},
    {"*RET*", "time of the rain total's last reset", kTime},
    {"*RRD*", "date of the rain total's last reset", kDate},
    {"*WCH*", "wind chill", "deg F / deg C, whole number"},
    {"*THI*", "heat index", "\"N/A\", or deg F / deg C with at most one decimal"},
    {"*SWX*", "the forecast extract last fetched, empty until the first",
     "text as cut from the forecast page, trimmed"},
    {"*GMT*", "UTC time of the expansion (pages only)", "ddd, dd Mmm yyyy hh:mm:ss GMT"},
};

// "*TOHT*": quantity letter, place letter, suffix.
TokenMeaning highLowMeaning(const QString &token)
{
    if (token.size() != 6)
        return {};
    static const QHash<QChar, QPair<QString, QString>> quantities = {
        {'T', {QStringLiteral("temperature"), QString::fromLatin1(kTemp)}},
        {'D', {QStringLiteral("dewpoint"), QStringLiteral("deg F / deg C, whole number")}},
        {'H', {QStringLiteral("humidity"), QStringLiteral("percent, whole number")}},
    };
    static const QHash<QChar, QString> places = {{'I', QStringLiteral("indoor")},
                                                 {'O', QStringLiteral("outdoor")}};
    const auto quantity = quantities.constFind(token.at(1));
    const auto place = places.constFind(token.at(2));
    if (quantity == quantities.cend() || place == places.cend())
        return {};
    const QString what = *place + QLatin1Char(' ') + quantity->first;
    const QString suffix = token.mid(3, 2);
    const QString alarmForm = token.at(1) == QLatin1Char('D')
                                  ? QStringLiteral("always \"0\" (the console sends none)")
                                  : QString::fromLatin1(kW);
    if (suffix == QLatin1String("HF"))
        return {QStringLiteral("recorded high of the %1").arg(what), quantity->second};
    if (suffix == QLatin1String("HT"))
        return {QStringLiteral("time of the %1 high").arg(what), QString::fromLatin1(kTime)};
    if (suffix == QLatin1String("HD"))
        return {QStringLiteral("date of the %1 high").arg(what), QString::fromLatin1(kDate)};
    if (suffix == QLatin1String("LF"))
        return {QStringLiteral("recorded low of the %1").arg(what), quantity->second};
    if (suffix == QLatin1String("LT"))
        return {QStringLiteral("time of the %1 low").arg(what), QString::fromLatin1(kTime)};
    if (suffix == QLatin1String("LD"))
        return {QStringLiteral("date of the %1 low").arg(what), QString::fromLatin1(kDate)};
    if (suffix == QLatin1String("AH"))
        return {QStringLiteral("high alarm set point of the %1").arg(what), alarmForm};
    if (suffix == QLatin1String("AL"))
        return {QStringLiteral("low alarm set point of the %1").arg(what), alarmForm};
    return {};
}

// A table cell: "|" would end it and a line break would end the table.
QString cell(QString text)
{
    text.replace(QLatin1Char('|'), QLatin1String("\\|"));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

TokenMeaning pageTokenMeaning(const QString &token)
{
    if (!pageTokenNames().contains(token))
        return {};
    for (const Entry &e : kSingle) {
        if (token == QLatin1String(e.token))
            return {QString::fromLatin1(e.meaning), QString::fromLatin1(e.form)};
    }
    return highLowMeaning(token);
}

QString tokenReferenceMarkdown(const TokenValues &pageExamples, const TokenValues &pagerTokens)
{
    QString out = QStringLiteral(
        "# Page and pager tokens\n"
        "\n"
        "Generated from the token tables by `tst_tokenreference` (see the README); do not edit.\n"
        "\n"
        "A token is replaced wherever it stands in a template, case-sensitively; tokens are "
        "taken in the order below. Values are the texts the windows show, trimmed, in the "
        "display units (English / Metric where the form names two). Where the console has "
        "sent nothing yet a token gives an empty text. Pager templates know every token "
        "but `*GMT*`, which stays in a pager message as written.\n"
        "\n"
        "| token | meaning | form | pager | example |\n"
        "|---|---|---|---|---|\n");
    for (const TokenValue &example : pageExamples) {
        const TokenMeaning m = pageTokenMeaning(example.token);
        bool pager = false;
        for (const TokenValue &p : pagerTokens)
            pager = pager || p.token == example.token;
        const QString value = example.value.isEmpty() ? QStringLiteral("(empty)")
                                                       : QStringLiteral("`%1`").arg(example.value);
        out += QStringLiteral("| `%1` | %2 | %3 | %4 | %5 |\n")
                   .arg(cell(example.token),
                        m.meaning.isEmpty() ? QStringLiteral("undocumented") : cell(m.meaning),
                        cell(m.form), pager ? QStringLiteral("yes") : QStringLiteral("no"),
                        cell(value));
    }
    return out;
}
