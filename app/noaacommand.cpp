// `corvane noaa YYYY-MM | YYYY`: the NOAA climate summary of a month or a year on standard output.
#include "app/commands.h"

#include "config/configfile.h"
#include "core/clock.h"
#include "core/programdir.h"
#include "reports/noaareport.h"

#include <QRegularExpression>
#include <cstdio>

namespace {

int usage(const QString &why)
{
    std::fprintf(stderr,
                 "corvane noaa: %s\n"
                 "Usage: corvane noaa YYYY-MM|YYYY [--units english|metric] [--interval MINUTES]\n",
                 qPrintable(why));
    return 2;
}

} // namespace

int runNoaa(const QStringList &args)
{
    // The month files' units and interval are those of the configuration, unless given.
    const ConfigLoadResult config = loadConfiguration(configurationFilePath());
    NoaaOptions options;
    options.directory = programDirectory();
    options.units.metric = config.config.metric();
    options.intervalMinutes = config.config.LoggingInterval;
    SystemClock clock;
    options.now = clock.now();

    int year = 0;
    int month = 0;
    static const QRegularExpression period(QStringLiteral("^(\\d{4})(?:-(\\d{2}))?$"));
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const QString value = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == QLatin1String("--units")) {
            if (value == QLatin1String("english") || value == QLatin1String("metric"))
                options.units.metric = value == QLatin1String("metric");
            else
                return usage(QStringLiteral("unknown units %1").arg(value));
            ++i;
        } else if (a == QLatin1String("--interval")) {
            bool ok = false;
            options.intervalMinutes = value.toInt(&ok);
            if (!ok || options.intervalMinutes <= 0)
                return usage(QStringLiteral("not a number of minutes: %1").arg(value));
            ++i;
        } else if (const auto m = period.match(a); m.hasMatch() && year == 0) {
            year = m.captured(1).toInt();
            month = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
            if (year < 1 || month > 12 || (!m.captured(2).isEmpty() && month < 1))
                return usage(QStringLiteral("not a month or year: %1").arg(a));
        } else {
            return usage(QStringLiteral("unexpected argument %1").arg(a));
        }
    }
    if (year == 0)
        return usage(QStringLiteral("which month or year?"));

    const NoaaResult r = month > 0 ? noaaMonthReport(year, month, options)
                                   : noaaYearReport(year, options);
    if (!r.error.isEmpty()) {
        std::fprintf(stderr, "corvane noaa: %s\n", qPrintable(r.error));
        return 1;
    }
    std::fputs(r.text.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
