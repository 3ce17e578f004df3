// Drawing the two graph style samples.
#include "ui/graphstylesample.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

QPixmap graphStyleSample(int style, QSize size)
{
    if (style != 0 && style != 1)
        return QPixmap();
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);

    const bool dated = style == 1;
    const int top = dated ? 16 : 6;
    const int bottom = size.height() - (dated ? 16 : 6);
    const QRect plot(24, top, size.width() - 30, bottom - top);

    p.setPen(QColor(220, 220, 220));
    for (int i = 1; i < 4; ++i) {
        const int y = plot.top() + plot.height() * i / 4;
        p.drawLine(plot.left(), y, plot.right(), y);
    }
    p.setPen(Qt::black);
    p.drawRect(plot);
    for (int i = 0; i <= 2; ++i)
        p.drawText(QRect(0, plot.top() + plot.height() * i / 2 - 6, 21, 12),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(80 - 20 * i));

    // A day's temperature: cool at dawn, warm in the afternoon.
    QPainterPath curve;
    for (int x = 0; x <= plot.width(); x += 2) {
        const double hour = 24.0 * x / plot.width();
        const double value =
            0.5 - 0.35 * std::cos((hour - 3) * M_PI / 12) + 0.05 * std::sin(hour * 2.1);
        const QPointF point(plot.left() + x, plot.bottom() - value * plot.height());
        if (x == 0)
            curve.moveTo(point);
        else
            curve.lineTo(point);
    }
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    p.drawPath(curve);

    if (dated) {
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, size.width(), top), Qt::AlignCenter,
                   QStringLiteral("Temperature  4/30/2026"));
        const char *times[] = {"0:00", "6:00", "12:00", "18:00"};
        for (int i = 0; i < 4; ++i) {
            const int x = plot.left() + plot.width() * i / 4;
            p.drawLine(x, plot.bottom(), x, plot.bottom() + 3);
            p.drawText(QRect(x - 15, plot.bottom() + 3, 30, 12), Qt::AlignCenter,
                       QString::fromLatin1(times[i]));
        }
    }
    return pixmap;
}
