// Reading the month files and summarising them.
#include "reports/noaareport.h"

#include "logging/monthdatabase.h"
#include "reports/monthobservations.h"
#include "reports/noaatext.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The month's figures, or why there are none.
LogResult summarize(int year, int month, const NoaaOptions &o, MonthSummary *summary)
{
    const QString path = MonthDatabase(o.directory, QDate(year, month, 1));
    if (!QFileInfo(path).isFile())
        return LogResult::failure(QStringLiteral("no month file %1").arg(path));
    QList<Observation> records;
    const LogResult r = readMonthObservations(path, &records);
    if (!r.ok())
        return r;
    const int interval = o.intervalMinutes > 0 ? o.intervalMinutes : observedInterval(records);
    *summary = summarizeMonth(year, month, records, o.units, interval, o.now);
    return r;
}

} // namespace

NoaaResult noaaMonthReport(int year, int month, const NoaaOptions &options)
{
    MonthSummary summary;
    const LogResult r = summarize(year, month, options, &summary);
    if (!r.ok())
        return {{}, r.error};
    return {noaaMonthText(summary, options.units), {}};
}

NoaaResult noaaYearReport(int year, const NoaaOptions &options)
{
    QList<MonthSummary> months;
    for (int month = 1; month <= 12; ++month) {
        if (QDate(year, month, 1).startOfDay() > options.now)
            break;
        MonthSummary summary;
        if (!summarize(year, month, options, &summary).ok()) {
            summary.year = year; // a month without a file stays in the table, empty
            summary.month = month;
        }
        months.append(summary);
    }
    bool any = false;
    for (const MonthSummary &m : months)
        any = any || !m.days.isEmpty();
    if (!any)
        return {{}, QStringLiteral("no month file of %1 in %2").arg(year).arg(options.directory)};
    return {noaaYearText(year, months, options.units), {}};
}

QString noaaFileName(int year, int month)
{
    return month > 0 ? QStringLiteral("NOAA-%1-%2.txt").arg(year).arg(month, 2, 10, QLatin1Char('0'))
                     : QStringLiteral("NOAA-%1.txt").arg(year);
}

QStringList writeNoaaFiles(const QDate &day, const NoaaOptions &options, QStringList *problems)
{
    QStringList written;
    const struct
    {
        QString name;
        NoaaResult report;
    } files[] = {
        {noaaFileName(day.year(), day.month()), noaaMonthReport(day.year(), day.month(), options)},
        {noaaFileName(day.year()), noaaYearReport(day.year(), options)},
    };
    for (const auto &f : files) {
        if (!f.report.error.isEmpty()) {
            problems->append(QStringLiteral("%1 was not made: %2").arg(f.name, f.report.error));
            continue;
        }
        QSaveFile out(QDir(options.directory).filePath(f.name));
        if (!out.open(QIODevice::WriteOnly) || out.write(f.report.text.toUtf8()) < 0 ||
            !out.commit()) {
            problems->append(QStringLiteral("%1 could not be written: %2").arg(f.name, out.errorString()));
            continue;
        }
        written << out.fileName();
    }
    return written;
}
