// Writes pictures of the four main-window gauges at a few readings, for the docs.
#include "gauge/quillon1.h"
#include "ui/gauges/ferrickgauge.h"
#include "ui/gauges/tamselgauge.h"
#include "ui/gauges/velmorgauge.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <functional>

namespace {

constexpr int Side = 250;

QImage picture(QWidget &gauge)
{
    gauge.resize(Side, Side);
    QImage image(Side, Side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    gauge.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

struct Shot
{
    QString file;
    std::function<QImage()> draw;
};

template <typename Gauge> Shot standIn(const QString &name, double value)
{
    return {QStringLiteral("%1-%2.png").arg(name).arg(value), [value] {
                Gauge g;
                g.setValue(value);
                g.Redraw();
                return picture(g);
            }};
}

Shot barometer(double inHg)
{
    return {QStringLiteral("quillon-%1.png").arg(inHg, 0, 'f', 2), [inHg] {
                Quillon1 q;
                q.setBaroPressure(inHg);
                return picture(q);
            }};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: render_gauges OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }

    const QList<Shot> shots = {
        barometer(29.15),
        barometer(29.92),
        barometer(30.60),
        standIn<FerrickGauge>("ferrick", 14),
        standIn<FerrickGauge>("ferrick", 68),
        standIn<FerrickGauge>("ferrick", 104),
        standIn<TamselGauge>("tamsel", 7),
        standIn<TamselGauge>("tamsel", 38),
        standIn<TamselGauge>("tamsel", 74),
        standIn<VelmorGauge>("velmor", 45),
        standIn<VelmorGauge>("velmor", 200),
        standIn<VelmorGauge>("velmor", 292),
    };
    // The four side by side as the main window shows them.
    const int rowPictures[] = {1, 4, 7, 10};
    QImage row(4 * Side, Side, QImage::Format_ARGB32_Premultiplied);
    row.fill(Qt::transparent);
    QPainter rowPainter(&row);

    int failures = 0;
    for (int i = 0; i < shots.size(); ++i) {
        const QImage image = shots[i].draw();
        if (!image.save(out.filePath(shots[i].file))) {
            err << "cannot write " << out.filePath(shots[i].file) << "\n";
            ++failures;
        }
        for (int slot = 0; slot < 4; ++slot) {
            if (rowPictures[slot] == i)
                rowPainter.drawImage(slot * Side, 0, image);
        }
    }
    rowPainter.end();
    if (!row.save(out.filePath(QStringLiteral("gauges.png")))) {
        err << "cannot write " << out.filePath(QStringLiteral("gauges.png")) << "\n";
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
