// The QCustomPlot adapter: layers drawing what QCustomPlot lacks (3D depth, pie).
#include "charting/qcpscene_p.h"

#include <algorithm>

#include <cmath>

DepthLayerable::DepthLayerable(QCustomPlot *plot, QcpScene::Parts *parts)
    : QCPLayerable(plot, QStringLiteral("depth")), m_parts(parts)
{
}

void DepthLayerable::applyDefaultAntialiasingHint(QCPPainter *painter) const
{
    applyAntialiasingHint(painter, true, QCP::aePlottables);
}

QRect DepthLayerable::clipRect() const
{
    return m_parts->polar ? m_parts->plot->viewport() : m_parts->rect->rect();
}

void DepthLayerable::drawPolar(QCPPainter *painter)
{
    const QcpScene::Parts &s = *m_parts;
    const QPointF offset = depthOffset(s.polar->size(), s.depth, s.elevation, s.rotation);
    if (offset.isNull())
        return;
    for (const DrawnSeries &d : s.drawn) {
        if (!d.polarGraph)
            continue;
        const std::vector<double> &y = *d.series.y;
        const size_t step = std::max<size_t>(1, y.size() / 720);
        QPolygonF line;
        for (size_t i = 0; i <= y.size(); i += step) {
            const bool closing = i == y.size();
            if (closing && d.type == ChartType::Polar)
                break;
            const double v = y[closing ? 0 : i];
            if (std::isnan(v)) {
                paintDepthBand(painter, line, offset, d.series.style.lineColor);
                line.clear();
                continue;
            }
            line << s.polar->coordToPixel(double(i) * d.angleStep, v);
        }
        paintDepthBand(painter, line, offset, d.series.style.lineColor);
    }
}

void DepthLayerable::draw(QCPPainter *painter)
{
    const QcpScene::Parts &s = *m_parts;
    if (s.frame == SceneFrame::Polar) {
        drawPolar(painter);
        return;
    }
    if (s.frame != SceneFrame::Cartesian)
        return;
    const QRect area = s.rect->rect();
    const QPointF offset = depthOffset(area.size(), s.depth, s.elevation, s.rotation);
    if (offset.isNull())
        return;
    QCPAxis *x = s.axis(ChartAxis::X);
    const QCPRange keys = x->range();
    for (const DrawnSeries &d : s.drawn) {
        if (!d.plottable || !d.valueAxis)
            continue;
        const std::vector<double> &y = *d.series.y;
        const long n = long(y.size());
        long first = std::max(0L, long(std::floor(keys.lower)) - 1);
        long last = std::min(n - 1, long(std::ceil(keys.upper)) + 1);
        if (d.keys) { // times, increasing: the points within the range and one either side
            first = std::max(0L, long(std::lower_bound(d.keys->begin(), d.keys->end(),
                                                       keys.lower) - d.keys->begin()) - 1);
            last = std::min(n - 1, long(std::upper_bound(d.keys->begin(), d.keys->end(),
                                                         keys.upper) - d.keys->begin()));
        }
        if (last < first)
            continue;
        // About two points per pixel column are enough for a band drawn behind the line.
        const long step = std::max(1L, (last - first) / std::max(1, 2 * area.width()));
        const auto base = [&](long i) { return d.base.empty() ? 0.0 : d.base[size_t(i)]; };
        const bool bars = d.barWidth > 0;
        const double barPixels = std::abs(x->coordToPixel(d.barWidth) - x->coordToPixel(0));
        if (bars && barPixels >= 2) {
            const QBrush brush(d.series.style.lineColor, Qt::SolidPattern);
            for (long i = first; i <= last; ++i) {
                if (std::isnan(y[size_t(i)]))
                    continue;
                const double k = double(i) + d.keyOffset;
                const QPointF a(x->coordToPixel(k - d.barWidth / 2),
                                d.valueAxis->coordToPixel(base(i) + y[size_t(i)]));
                const QPointF b(x->coordToPixel(k + d.barWidth / 2),
                                d.valueAxis->coordToPixel(base(i)));
                paintDepthBar(painter, QRectF(a, b), offset, brush);
            }
            continue;
        }
        QPolygonF line;
        for (long i = first; i <= last; i += step) {
            const double v = y[size_t(i)];
            if (std::isnan(v)) {
                paintDepthBand(painter, line, offset, d.series.style.lineColor);
                line.clear();
                continue;
            }
            line << QPointF(x->coordToPixel(QcpScene::Parts::key(d, int(i))),
                            d.valueAxis->coordToPixel(base(i) + v));
        }
        paintDepthBand(painter, line, offset, d.series.style.lineColor);
    }
}

PieLayerable::PieLayerable(QCustomPlot *plot, QcpScene::Parts *parts)
    : QCPLayerable(plot, QStringLiteral("main")), m_parts(parts)
{
}

void PieLayerable::applyDefaultAntialiasingHint(QCPPainter *painter) const
{
    applyAntialiasingHint(painter, true, QCP::aePlottables);
}

void PieLayerable::draw(QCPPainter *painter)
{
    const QcpScene::Parts &s = *m_parts;
    if (s.frame != SceneFrame::Pie)
        return;
    paintPie(painter, s.rect->rect(), s.slices, s.depth, s.elevation, s.rotation);
}
