// CheckPagers: which pager row gets a report or an alarm on this tick, and with what text.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class Clock;
class ReadingsRecord;
struct Configuration;
struct PagerFlags;

// The list index held in a row's PageType.
enum PagerPageType {
    HourlyReport = 0,
    DailyReport = 1,
    WindAlarm = 2,
    TemperatureAlarm = 3,
    DewpointAlarm = 4,
    HumidityAlarm = 5,
    BarometerAlarm = 6,
    RainfallAlarm = 7, // offered by the setup dialog; there is no check for it
};

// A report template turned into message text, or why it could not be.
struct PagerReport
{
    std::optional<QString> text;
    QString error;
};

struct PagerCheckWiring
{
    // Expands a pager template file (HourlyPageTemplate or DailyPageTemplate).
    std::function<PagerReport(const QString &templatePath)> expandTemplate;
    // Hands one page to the modem: pager number, message, the service's number.
    std::function<void(const QString &, const QString &, const QString &)> sendPage;
};

// A row that could not be served on this check, and why.
struct PagerRowProblem
{
    int row = 0;
    QString why;
};

class PagerChecks
{
public:
    PagerChecks(const Configuration &config, const ReadingsRecord &readings, Clock &clock,
                PagerCheckWiring wiring);

    // Serves rows 0 to 4 in order. A row's once-flag is set before its page is built
    // and sent, so a page is attempted once per flag period even if it fails; an alarm
    // row pages at most once in each quarter-hour period. A row whose reading or
    // threshold is not a number is skipped and the next row is checked; a report
    // template that cannot be read ends the check at its row.
    QList<PagerRowProblem> CheckPagers(PagerFlags &flags);

    // The alarm text of a page type and direction (1 High, 2 Low) for a reading's text:
    // "High Wind speed alarm triggered at 35 MPH". Empty for a type without an alarm.
    QString alarmText(int pageType, int alarmType, const QString &readingText) const;

private:
    enum class RowResult { Done, EndCheck };
    RowResult checkRow(int row, PagerFlags &flags, QList<PagerRowProblem> &problems);
    RowResult sendReport(int row, const QString &templatePath, QList<PagerRowProblem> &problems);
    void checkAlarm(int row, int pageType, PagerFlags &flags, QList<PagerRowProblem> &problems);

    const Configuration &m_config;
    const ReadingsRecord &m_readings;
    Clock &m_clock;
    PagerCheckWiring m_wiring;
    std::array<QDateTime, 5> m_alarmPeriod; // the period of each row's last alarm page
};

// The start of the quarter-hour period holding `t`; periods begin at minutes 5, 20, 35
// and 50, where the scheduler clears the once-flags.
QDateTime quarterHourPeriod(const QDateTime &t);
