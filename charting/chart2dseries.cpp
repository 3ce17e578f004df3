// Chart2D: series styles and the series' data.
#include "charting/chart2d_p.h"

#include <cmath>
#include <limits>

SeriesStyle Chart2D::seriesStyle(int group, int series) const
{
    if (!Private::validGroup(group) || series < 1)
        return {};
    const auto &styles = d->group(group).styles;
    return series <= styles.size() ? styles[series - 1] : defaultSeriesStyle(group, series);
}

void Chart2D::setSeriesStyle(int group, int series, const SeriesStyle &style)
{
    if (!Private::validGroup(group) || series < 1 || !isFillPattern(int(style.fill)) ||
        !isSymbolShape(int(style.symbol)) || !style.lineColor.isValid())
        return;
    d->style(group, series) = style;
    d->style(group, series).lineWidth = std::max(1, style.lineWidth);
    d->changed();
}

void Chart2D::setLineColor(int group, int series, const QColor &color)
{
    SeriesStyle st = seriesStyle(group, series);
    st.lineColor = color;
    setSeriesStyle(group, series, st);
}

void Chart2D::setLineWidth(int group, int series, int width)
{
    SeriesStyle st = seriesStyle(group, series);
    st.lineWidth = width;
    setSeriesStyle(group, series, st);
}

void Chart2D::setFillPattern(int group, int series, FillPattern fill)
{
    SeriesStyle st = seriesStyle(group, series);
    st.fill = fill;
    setSeriesStyle(group, series, st);
}

void Chart2D::setSymbolShape(int group, int series, SymbolShape shape)
{
    SeriesStyle st = seriesStyle(group, series);
    st.symbol = shape;
    setSeriesStyle(group, series, st);
}

int Chart2D::pointCount(int group, int series) const
{
    const auto *y = d->series(group, series);
    return y ? int(y->size()) : 0;
}

std::vector<double> Chart2D::yValues(int group, int series) const
{
    const auto *y = d->series(group, series);
    return y ? *y : std::vector<double>();
}

double Chart2D::yValue(int group, int series, int point) const
{
    const auto *y = d->series(group, series);
    if (!y || point < 0 || size_t(point) >= y->size())
        return std::numeric_limits<double>::quiet_NaN();
    return (*y)[size_t(point)];
}

int Chart2D::nearestPoint(int group, int series, QPoint pixel) const
{
    const auto *y = d->series(group, series);
    if (!y)
        return -1;
    d->ensureBuilt();
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < y->size(); ++i) {
        QPointF at;
        if (!d->scene->pointPixel(group, series, int(i), &at))
            continue;
        const double dist = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
        if (dist < bestDistance) {
            bestDistance = dist;
            best = int(i);
        }
    }
    return best;
}

QRect Chart2D::plotArea() const
{
    d->ensureBuilt();
    return d->scene->plotArea();
}
