// A small month worked out by hand: February 2025, records every 6 hours, days 1 to 3.
#pragma once

#include "reports/climatesummary.h"

// Day 1: temperatures 30/40/50/40 (mean 40, 25 heating degree days), rain total 1.00 ->
// 1.25, average wind 2 and 4 from the east, 6 from the south, calm from the north (mean 3,
// dominant 135), gusts up to 15 at 12:00.
// Day 2: 60/70/80/70 (mean 70, 5 cooling degree days), the total reset to 0.00 and then
// 0.10 (0.10 of rain), wind 1 from the west, gusts 4 all day (the first, 00:00, counts).
// Day 3: two records only, 00:00 and 06:00 (of 4): 65 twice, rain 0.20, marked.
// Month: mean 58.3, high 80 on the 2nd, low 30 on the 1st, 25 and 5 degree days, 0.55 rain.
inline QList<Observation> referenceMonth()
{
    struct Row
    {
        int day, hour;
        double temp, speed, dir, gust, rain;
    };
    const Row rows[] = {
        {1, 0, 30, 2, 90, 5, 1.00},   {1, 6, 40, 4, 90, 10, 1.00},
        {1, 12, 50, 6, 180, 15, 1.20}, {1, 18, 40, 0, 0, 3, 1.25},
        {2, 0, 60, 1, 270, 4, 1.25},  {2, 6, 70, 1, 270, 4, 0.00},
        {2, 12, 80, 1, 270, 4, 0.10},  {2, 18, 70, 1, 270, 4, 0.10},
        {3, 0, 65, 0, 0, 0, 0.10},    {3, 6, 65, 0, 0, 0, 0.30},
    };
    QList<Observation> records;
    for (const Row &r : rows) {
        Observation o;
        o.time = QDateTime(QDate(2025, 2, r.day), QTime(r.hour, 0));
        o.temperature = r.temp;
        o.averageSpeed = r.speed;
        o.averageDirection = r.dir;
        o.gustSpeed = r.gust;
        o.rainTotal = r.rain;
        records << o;
    }
    return records;
}
