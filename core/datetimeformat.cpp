// U.S. English date and time texts.
#include "datetimeformat.h"

#include <QRegularExpression>

namespace {
const char *const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                             "Friday", "Saturday", "Sunday"};
const char *const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
} // namespace

QString shortDate(const QDate &d)
{
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString longTime(const QTime &t)
{
    const int h12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(h12)
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'))
        .arg(t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString generalDate(const QDateTime &dt)
{
    const QTime t = dt.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return shortDate(dt.date());
    return shortDate(dt.date()) + QLatin1Char(' ') + longTime(t);
}

QString englishDayName(int dayOfWeek, bool abbreviated)
{
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return {};
    const QString name = QString::fromLatin1(kDays[dayOfWeek - 1]);
    return abbreviated ? name.left(3) : name;
}

QString englishMonthName(int month, bool abbreviated)
{
    if (month < 1 || month > 12)
        return {};
    const QString name = QString::fromLatin1(kMonths[month - 1]);
    return abbreviated ? name.left(3) : name;
}

QDateTime parseGeneralDate(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2}):(\d{2})\s*([AP]M))?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return {};
    const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    if (!d.isValid())
        return {};
    if (m.captured(4).isEmpty())
        return QDateTime(d, QTime(0, 0));
    int h = m.captured(4).toInt();
    if (h < 1 || h > 12)
        return {};
    h %= 12;
    if (m.captured(7) == QLatin1String("PM"))
        h += 12;
    const QTime t(h, m.captured(5).toInt(), m.captured(6).toInt());
    return t.isValid() ? QDateTime(d, t) : QDateTime();
}
