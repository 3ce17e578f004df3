// The pager schedule and the alarm rules.
#include "paging/pagerchecks.h"

#include "acquisition/readingnumber.h"
#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "config/unitcaptions.h"
#include "config/variantvalue.h"
#include "core/clock.h"
#include "paging/pagerflags.h"

#include <cmath>

namespace {

enum AlarmDirection { NoAlarm = 0, HighAlarm = 1, LowAlarm = 2 };

// The reading an alarm type watches, the label whose unit caption follows it in the
// text, and the words of the two texts.
struct AlarmRule
{
    int pageType;
    const char *field;
    const char *window;
    const char *label;
    const char *quantity; // "High " + quantity + " alarm triggered at "
};

const AlarmRule AlarmRules[] = {
    {WindAlarm, "GustSpeed", "Wind", "Label5", "Wind speed"},
    {TemperatureAlarm, "OutdoorTemperature", "Temperature", "Label4", "Temperature"},
    {DewpointAlarm, "OutdoorDewpoint", "Dewpoint", "Label4", "Dewpoint"},
    {HumidityAlarm, "OutdoorHumidity", "Humidity", "Label4", "Humidity"},
    {BarometerAlarm, "SeaLevelPressure", "Barometer", "Label6", "Barometer"},
};

const AlarmRule *alarmRule(int pageType)
{
    for (const AlarmRule &r : AlarmRules) {
        if (r.pageType == pageType)
            return &r;
    }
    return nullptr;
}

int settingInt(const QVariant &value, int otherwise)
{
    const auto n = variantNumber(value);
    return n && *n == std::floor(*n) && std::abs(*n) < 1e6 ? int(*n) : otherwise;
}

// An alarm threshold as a number; unlike other settings, an empty one is no threshold
// rather than 0.
std::optional<double> thresholdNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return variantNumber(value);
}

} // namespace

QDateTime quarterHourPeriod(const QDateTime &t)
{
    // Periods begin at minutes 5, 20, 35 and 50.
    const QDateTime start(t.date(), QTime(t.time().hour(), 0));
    const int m = t.time().minute();
    if (m < 5)
        return start.addSecs(-10 * 60);
    return start.addSecs((5 + (m - 5) / 15 * 15) * 60);
}

PagerChecks::PagerChecks(const Configuration &config, const ReadingsRecord &readings, Clock &clock,
                         PagerCheckWiring wiring)
    : m_config(config), m_readings(readings), m_clock(clock), m_wiring(std::move(wiring))
{
}

QList<PagerRowProblem> PagerChecks::CheckPagers(PagerFlags &flags)
{
    QList<PagerRowProblem> problems;
    for (int row = 0; row < int(m_config.Pagers.size()); ++row) {
        if (!variantEquals(m_config.Pagers[row].Enabled, 1))
            continue;
        if (checkRow(row, flags, problems) == RowResult::EndCheck)
            break;
    }
    return problems;
}

PagerChecks::RowResult PagerChecks::checkRow(int row, PagerFlags &flags,
                                             QList<PagerRowProblem> &problems)
{
    const int pageType = settingInt(m_config.Pagers[row].PageType, -1);
    const QTime now = m_clock.now().time();
    switch (pageType) {
    case HourlyReport:
        if (!flags.HourlyPageSent[row] && now.minute() == 0 && now.hour() > 7 && now.hour() < 21) {
            flags.HourlyPageSent[row] = true;
            return sendReport(row, m_config.HourlyPageTemplate, problems);
        }
        return RowResult::Done;
    case DailyReport:
        if (!flags.DailyPageSent[row] && now.minute() == 0 && now.hour() == 12) {
            flags.DailyPageSent[row] = true;
            return sendReport(row, m_config.DailyPageTemplate, problems);
        }
        return RowResult::Done;
    default:
        checkAlarm(row, pageType, flags, problems);
        return RowResult::Done;
    }
}

PagerChecks::RowResult PagerChecks::sendReport(int row, const QString &templatePath,
                                               QList<PagerRowProblem> &problems)
{
    const PagerRow &r = m_config.Pagers[row];
    const PagerReport report =
        m_wiring.expandTemplate ? m_wiring.expandTemplate(templatePath) : PagerReport{};
    if (!report.text) {
        problems.append({row, report.error});
        return RowResult::EndCheck;
    }
    if (m_wiring.sendPage)
        m_wiring.sendPage(variantToText(r.PagerNumber), *report.text,
                          variantToText(r.CompanyNumber));
    return RowResult::Done;
}

void PagerChecks::checkAlarm(int row, int pageType, PagerFlags &flags,
                             QList<PagerRowProblem> &problems)
{
    const AlarmRule *rule = alarmRule(pageType);
    const PagerRow &r = m_config.Pagers[row];
    const int direction = settingInt(r.AlarmType, NoAlarm);
    if (!rule || (direction != HighAlarm && direction != LowAlarm))
        return;
    const QString readingText = m_readings.text(QLatin1String(rule->field));
    const auto reading = readingNumber(readingText);
    const auto threshold = thresholdNumber(r.AlarmSetting);
    if (!reading || !threshold) {
        // Only this row waits for a usable value; the rows after it are still served.
        problems.append({row, !reading ? QStringLiteral("%1 is not a number yet").arg(rule->field)
                                       : QStringLiteral("the alarm setting is not a number")});
        return;
    }
    if (flags.AlarmPageSent[row])
        return;
    const bool fires = direction == HighAlarm ? *reading > *threshold : *reading < *threshold;
    if (!fires)
        return;
    flags.AlarmPageSent[row] = true;
    // The flags are cleared on every tick of a clearing minute; the period keeps a
    // lasting condition to one page per quarter hour all the same.
    const QDateTime period = quarterHourPeriod(m_clock.now());
    if (m_alarmPeriod[row] == period)
        return;
    m_alarmPeriod[row] = period;
    if (m_wiring.sendPage)
        m_wiring.sendPage(variantToText(r.PagerNumber), alarmText(pageType, direction, readingText),
                          variantToText(r.CompanyNumber));
}

QString PagerChecks::alarmText(int pageType, int alarmType, const QString &readingText) const
{
    const AlarmRule *rule = alarmRule(pageType);
    if (!rule || (alarmType != HighAlarm && alarmType != LowAlarm))
        return {};
    return QStringLiteral("%1 %2 alarm triggered at %3 %4")
        .arg(alarmType == HighAlarm ? QStringLiteral("High") : QStringLiteral("Low"),
             QLatin1String(rule->quantity), readingText,
             unitCaption(QLatin1String(rule->window), QLatin1String(rule->label),
                         m_config.DisplayUnits));
}
