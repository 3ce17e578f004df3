// Chart2D: titles, background, axes, the 3D view and the X marker.
#include "charting/chart2d_p.h"

#include <cmath>

void Chart2D::setHeaderText(const QString &text)
{
    d->s.header = text;
    d->changed();
}

QString Chart2D::headerText() const
{
    return d->s.header;
}

void Chart2D::setHeaderFont(const QFont &font)
{
    d->s.headerFont = font;
    d->changed();
}

QFont Chart2D::headerFont() const
{
    return d->s.headerFont;
}

void Chart2D::setFooterText(const QString &text)
{
    d->s.footer = text;
    d->changed();
}

QString Chart2D::footerText() const
{
    return d->s.footer;
}

QString Chart2D::shownFooterText() const
{
    d->ensureBuilt();
    const QString problem = d->scene->problem();
    return problem.isEmpty() ? d->s.footer : problem;
}

void Chart2D::setFooterFont(const QFont &font)
{
    d->s.footerFont = font;
    d->changed();
}

QFont Chart2D::footerFont() const
{
    return d->s.footerFont;
}

void Chart2D::setLegendFont(const QFont &font)
{
    d->s.legendFont = font;
    d->changed();
}

QFont Chart2D::legendFont() const
{
    return d->s.legendFont;
}

void Chart2D::setBackgroundColor(const QColor &color)
{
    if (!color.isValid())
        return;
    d->s.background = color;
    d->changed();
}

QColor Chart2D::backgroundColor() const
{
    return d->s.background;
}

void Chart2D::setAxisTitle(ChartAxis axis, const QString &title)
{
    d->s.axis(axis).title = title;
    d->changed();
}

QString Chart2D::axisTitle(ChartAxis axis) const
{
    return d->s.axis(axis).title;
}

void Chart2D::setAxisMinimum(ChartAxis axis, std::optional<double> value)
{
    if (value && !std::isfinite(*value))
        return;
    d->s.axis(axis).minimum = value;
    d->view[size_t(axis)].reset(); // a set range ends a zoom on that axis
    d->changed();
}

std::optional<double> Chart2D::axisMinimum(ChartAxis axis) const
{
    return d->s.axis(axis).minimum;
}

void Chart2D::setAxisMaximum(ChartAxis axis, std::optional<double> value)
{
    if (value && !std::isfinite(*value))
        return;
    d->s.axis(axis).maximum = value;
    d->view[size_t(axis)].reset();
    d->changed();
}

std::optional<double> Chart2D::axisMaximum(ChartAxis axis) const
{
    return d->s.axis(axis).maximum;
}

std::pair<double, double> Chart2D::axisRange(ChartAxis axis) const
{
    d->ensureBuilt();
    return d->scene->range(axis);
}

void Chart2D::setGridSpacing(ChartAxis axis, std::optional<double> spacing)
{
    if (spacing && (!std::isfinite(*spacing) || *spacing < 0))
        return;
    d->s.axis(axis).gridSpacing = spacing;
    d->changed();
}

std::optional<double> Chart2D::gridSpacing(ChartAxis axis) const
{
    return d->s.axis(axis).gridSpacing;
}

void Chart2D::setAxisLabelFont(ChartAxis axis, const QFont &font)
{
    d->s.axis(axis).labelFont = font;
    d->changed();
}

QFont Chart2D::axisLabelFont(ChartAxis axis) const
{
    return d->s.axis(axis).labelFont;
}

void Chart2D::setAnnotation(ChartAxis axis, AxisAnnotation mode)
{
    if (mode != AxisAnnotation::Values && mode != AxisAnnotation::ValueLabels)
        return;
    d->s.axis(axis).annotation = mode;
    d->changed();
}

AxisAnnotation Chart2D::annotation(ChartAxis axis) const
{
    return d->s.axis(axis).annotation;
}

void Chart2D::setTickAnnotation(ChartAxis axis, AxisAnnotation mode)
{
    if (mode != AxisAnnotation::Values && mode != AxisAnnotation::ValueLabels)
        return;
    d->s.axis(axis).tickAnnotation = mode;
    d->changed();
}

AxisAnnotation Chart2D::tickAnnotation(ChartAxis axis) const
{
    return d->s.axis(axis).tickAnnotation;
}

void Chart2D::addValueLabel(ChartAxis axis, double value, const QString &text)
{
    if (!std::isfinite(value))
        return;
    d->s.axis(axis).valueLabels.insert(value, text);
    d->changed();
}

void Chart2D::clearValueLabels(ChartAxis axis)
{
    d->s.axis(axis).valueLabels.clear();
    d->changed();
}

QVector<std::pair<double, QString>> Chart2D::valueLabels(ChartAxis axis) const
{
    QVector<std::pair<double, QString>> out;
    const auto &labels = d->s.axis(axis).valueLabels;
    for (auto it = labels.cbegin(); it != labels.cend(); ++it)
        out.append({it.key(), it.value()});
    return out;
}

QStringList Chart2D::shownAxisTexts(ChartAxis axis) const
{
    d->ensureBuilt();
    return d->scene->tickTexts(axis);
}

void Chart2D::setDepth3D(int depth)
{
    d->s.depth = std::clamp(depth, 0, 100);
    d->viewChanged();
}

int Chart2D::depth3D() const
{
    return d->s.depth;
}

void Chart2D::setElevation3D(int degrees)
{
    d->s.elevation = std::clamp(degrees, -90, 90);
    d->viewChanged();
}

int Chart2D::elevation3D() const
{
    return d->s.elevation;
}

void Chart2D::setRotation3D(int degrees)
{
    d->s.rotation = std::clamp(degrees, -90, 90);
    d->viewChanged();
}

int Chart2D::rotation3D() const
{
    return d->s.rotation;
}

bool Chart2D::is3D() const
{
    return d->s.depth > 0 && (d->s.elevation != 0 || d->s.rotation != 0);
}

void Chart2D::setMarkerVisible(bool visible)
{
    d->s.markerVisible = visible;
    d->viewChanged();
}

bool Chart2D::isMarkerVisible() const
{
    return d->s.markerVisible;
}

bool Chart2D::moveMarkerTo(int group, int series, int point)
{
    if (point < 0 || point >= pointCount(group, series))
        return false;
    d->marker = Private::Marker{group, series, point};
    d->viewChanged();
    return true;
}

std::optional<double> Chart2D::markerX() const
{
    if (!d->marker)
        return std::nullopt;
    return double(d->marker->point);
}
