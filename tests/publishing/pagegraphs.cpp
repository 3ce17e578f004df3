// Draws the five daily graphs of a generated month into a folder, as the page screenshots
// show them beside the current-conditions page: pagegraphs FOLDER
#include "graphs/dailygraphs.h"
#include "graphs/graphexport.h"
#include "graphs/graphmonth.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("Usage: pagegraphs FOLDER\n", stderr);
        return 2;
    }
    QTemporaryDir home;
    // Nine days of ten-minute records with a daily swing.
    const QList<QDateTime> times = everyMinutes(QDateTime(QDate(2026, 1, 1), QTime(0, 0)), 10, 9 * 144);
    const auto value = [](int field, int r) {
        const double day = std::sin((r % 144) / 144.0 * 2 * M_PI - M_PI / 2);
        const double drift = std::sin(r / 700.0);
        switch (field) {
        case 0: return 38 + 9 * day + 4 * drift;   // temperature
        case 1: return 70 - 15 * day + 5 * drift;  // humidity
        case 2: return 30 + 2 * day + 3 * drift;   // dewpoint
        case 3: return 6 + 3 * day + 2 * std::abs(std::sin(r / 37.0)); // wind
        default: return 29.95 + 0.25 * drift;      // pressure
        }
    };
    if (!writeMonth(home.path(), times, value))
        return 1;
    for (const DailyGraphs::Graph &g : DailyGraphs::Graphs) {
        GraphRequest r;
        r.databasePath = MonthDatabase(home.path(), times.first().date());
        r.ySpec = QString::fromLatin1(g.field);
        r.width = 640;
        r.height = 480;
        r.baseName = QString::fromLatin1(g.baseName);
        GraphPicture picture;
        const QString path = QStringLiteral("%1/%2.jpg").arg(QString::fromLocal8Bit(argv[1]), r.baseName);
        LogResult result = picture.draw(r);
        if (result.ok())
            result = picture.save(path, r.width, r.height);
        if (!result.ok()) {
            std::fprintf(stderr, "pagegraphs: %s\n", qPrintable(result.error));
            return 1;
        }
    }
    return 0;
}
