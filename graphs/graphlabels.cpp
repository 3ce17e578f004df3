// Label texts, label positions and the day window of the daily graphs.
#include "graphs/graphlabels.h"

#include "core/datetimeformat.h"

#include <QDateTime>

QString PadLabel(const QVariant &value)
{
    constexpr int Width = 20;
    const QString text = value.toString().trimmed();
    return text.size() >= Width ? text.left(Width) : text.leftJustified(Width, QLatin1Char(' '));
}

QVector<int> labelPositions(int records, int labelCount, int span)
{
    if (labelCount <= 0)
        return {};
    return labelWalk(records, span / labelCount - 1);
}

int dateTimeLabelStep(int records, int labelCount)
{
    return labelCount >= 2 ? records / (labelCount - 1) : 0;
}

QVector<int> labelWalk(int records, int step)
{
    QVector<int> positions;
    if (records <= 0)
        return positions;
    if (step <= 0)
        return {0};
    positions.reserve(records / step + 1);
    for (int p = 0; p < records; p += step)
        positions.append(p);
    return positions;
}

DayWindow findDayWindow(const QStringList &dateTimes, int day)
{
    DayWindow window;
    for (int p = 0; p < dateTimes.size(); ++p) {
        const QDateTime at = parseGeneralDate(dateTimes.at(p));
        if (!at.isValid())
            continue; // a record without a readable time belongs to no day
        const int recordDay = at.date().day();
        if (recordDay > day)
            break;
        if (recordDay != day)
            continue;
        if (window.first < 0)
            window.first = p;
        window.last = p;
    }
    return window;
}
