// Chart2D: drawing when settings change, data binding and the chart groups.
#include "charting/chart2d_p.h"

#include <QMetaObject>
#include <QResizeEvent>

Chart2D::Private::Private(Chart2D *chart) : q(chart), scene(std::make_unique<QcpScene>(chart)) {}

const std::vector<double> *Chart2D::Private::series(int g, int s) const
{
    if (!validGroup(g) || s < 1 || size_t(s) > values[size_t(g - 1)].size())
        return nullptr;
    return &values[size_t(g - 1)][size_t(s - 1)];
}

SeriesStyle &Chart2D::Private::style(int g, int series)
{
    QVector<SeriesStyle> &styles = group(g).styles;
    while (styles.size() < series)
        styles.append(defaultSeriesStyle(g, styles.size() + 1));
    return styles[series - 1];
}

void Chart2D::Private::load(int g)
{
    auto &list = values[size_t(g - 1)];
    list.clear();
    if (g == 1) // both groups share the X keys; read them once per load
        loadKeys();
    for (const QString &field : group(g).fields)
        list.push_back(data ? data->values(field) : std::vector<double>());
    loadLabels(g);
}

void Chart2D::Private::loadKeys()
{
    keys = data && !timeField.isEmpty() ? data->values(timeField) : std::vector<double>();
}

void Chart2D::Private::loadLabels(int g)
{
    const QString &field = group(g).pointLabelField;
    labelTexts[size_t(g - 1)] = data && !field.isEmpty() ? data->texts(field) : QStringList();
}

void Chart2D::Private::changed()
{
    dirty = true;
    viewChanged();
}

void Chart2D::Private::viewChanged()
{
    if (suspended > 0 || scheduled)
        return;
    // Many setters in a row give one redraw, when the event loop next runs.
    scheduled = true;
    QMetaObject::invokeMethod(
        q,
        [this] {
            scheduled = false;
            if (suspended == 0)
                redrawNow();
        },
        Qt::QueuedConnection);
}

void Chart2D::Private::ensureBuilt()
{
    QWidget *plot = scene->widget();
    if (plot->size() != q->size()) {
        plot->setGeometry(q->rect());
        dirty = true;
    }
    if (dirty) {
        SceneInput in;
        in.settings = &s;
        for (int g = 1; g <= 2; ++g) {
            const auto &list = values[size_t(g - 1)];
            for (size_t i = 0; i < list.size(); ++i) {
                SceneSeries ss;
                ss.group = g;
                ss.series = int(i) + 1;
                ss.name = group(g).fields.value(int(i));
                ss.y = &list[i];
                ss.style = style(g, int(i) + 1);
                in.groups[size_t(g - 1)].append(ss);
            }
        }
        in.pointLabelTexts = labelTexts;
        if (!timeField.isEmpty())
            in.keys = &keys;
        in.view = view;
        scene->build(in);
        dirty = false;
    }
    scene->setView3D(s.depth, s.elevation, s.rotation);
    for (ChartAxis a : {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2}) {
        if (const auto &v = view[size_t(a)])
            scene->setRange(a, v->first, v->second);
    }
    if (marker)
        scene->setMarker(s.markerVisible, marker->group, marker->series, marker->point);
    else
        scene->setMarker(false, 1, 1, 0);
    scene->layout();
}

void Chart2D::Private::redrawNow()
{
    ensureBuilt();
    scene->replot();
}

Chart2D::Chart2D(QWidget *parent) : QWidget(parent), d(std::make_unique<Private>(this))
{
    QWidget *plot = d->scene->widget();
    plot->setMouseTracking(true);
    plot->setFocusPolicy(Qt::StrongFocus);
    plot->installEventFilter(this);
    resize(640, 480);
}

Chart2D::~Chart2D()
{
    // The plot outlives d (Qt deletes children later) and must not reach us meanwhile.
    d->scene->widget()->removeEventFilter(this);
}

void Chart2D::setDataSource(const ChartData *data)
{
    d->data = data;
    d->load(1);
    d->load(2);
    d->changed();
}

const ChartData *Chart2D::dataSource() const
{
    return d->data;
}

void Chart2D::setTimeField(const QString &field)
{
    if (field == d->timeField)
        return;
    d->timeField = field;
    // Positions mean nothing in seconds, nor seconds in positions: neither a view, nor fixed
    // ends ("Chart Day"), nor labels put at them carry over.
    AxisSettings &x = d->s.axis(ChartAxis::X);
    d->view[size_t(ChartAxis::X)].reset();
    x.minimum.reset();
    x.maximum.reset();
    x.valueLabels.clear();
    x.annotation = AxisAnnotation::Values;
    x.tickAnnotation = AxisAnnotation::Values;
    d->load(1);
    d->changed();
}

QString Chart2D::timeField() const
{
    return d->timeField;
}

void Chart2D::setWidthTwips(int twips)
{
    resize(std::max(1, twips / TwipsPerPixel), height());
    d->changed();
}

int Chart2D::widthTwips() const
{
    return width() * TwipsPerPixel;
}

void Chart2D::setHeightTwips(int twips)
{
    resize(width(), std::max(1, twips / TwipsPerPixel));
    d->changed();
}

int Chart2D::heightTwips() const
{
    return height() * TwipsPerPixel;
}

void Chart2D::refresh()
{
    d->load(1);
    d->load(2);
    d->dirty = true;
    if (d->suspended == 0)
        d->redrawNow();
}

void Chart2D::suspendRedraw()
{
    ++d->suspended;
}

void Chart2D::resumeRedraw()
{
    if (d->suspended > 0 && --d->suspended == 0)
        d->viewChanged();
}

bool Chart2D::isRedrawSuspended() const
{
    return d->suspended > 0;
}

void Chart2D::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    d->scene->widget()->setGeometry(rect());
    d->changed();
}

int Chart2D::boundFieldCount(int group) const
{
    return Private::validGroup(group) ? d->group(group).fields.size() : 0;
}

QStringList Chart2D::boundFields(int group) const
{
    return Private::validGroup(group) ? d->group(group).fields : QStringList();
}

void Chart2D::addBoundField(int group, const QString &field)
{
    if (!Private::validGroup(group))
        return;
    d->group(group).fields.append(field);
    d->values[size_t(group - 1)].push_back(d->data ? d->data->values(field)
                                                   : std::vector<double>());
    if (!d->timeField.isEmpty()) // the source may have read its times with this field
        d->loadKeys();
    d->changed();
}

bool Chart2D::removeBoundField(int group, int position)
{
    if (!Private::validGroup(group) || position < 1 || position > boundFieldCount(group))
        return false;
    d->group(group).fields.removeAt(position - 1);
    auto &list = d->values[size_t(group - 1)];
    list.erase(list.begin() + (position - 1));
    if (d->marker && d->marker->group == group && d->marker->series >= position)
        d->marker.reset();
    d->changed();
    return true;
}

void Chart2D::setChartType(int group, ChartType type)
{
    if (!Private::validGroup(group) || !isChartType(int(type)))
        return;
    d->group(group).type = type;
    d->changed();
}

ChartType Chart2D::chartType(int group) const
{
    return Private::validGroup(group) ? d->group(group).type : ChartType::Plot;
}

void Chart2D::setDrawingOrder(int group, DrawingOrder order)
{
    if (!Private::validGroup(group) ||
        (order != DrawingOrder::Front && order != DrawingOrder::Back))
        return;
    // One group is in front of the other, so the other takes the opposite place.
    d->group(group).order = order;
    d->group(3 - group).order =
        order == DrawingOrder::Front ? DrawingOrder::Back : DrawingOrder::Front;
    d->changed();
}

DrawingOrder Chart2D::drawingOrder(int group) const
{
    return Private::validGroup(group) ? d->group(group).order : DrawingOrder::Front;
}

void Chart2D::setSeriesLabels(int group, bool on)
{
    if (!Private::validGroup(group))
        return;
    d->group(group).seriesLabels = on;
    d->changed();
}

bool Chart2D::seriesLabels(int group) const
{
    return Private::validGroup(group) && d->group(group).seriesLabels;
}

void Chart2D::clearPointLabels(int group)
{
    if (!Private::validGroup(group))
        return;
    d->group(group).pointLabels.clear();
    d->changed();
}

void Chart2D::setPointLabel(int group, int point, const QString &text)
{
    if (!Private::validGroup(group) || point < 0)
        return;
    d->group(group).pointLabels.insert(point, text);
    d->changed();
}

QString Chart2D::pointLabel(int group, int point) const
{
    if (!Private::validGroup(group))
        return {};
    const auto &own = d->group(group).pointLabels;
    if (own.contains(point))
        return own.value(point);
    return d->labelTexts[size_t(group - 1)].value(point);
}

void Chart2D::setPointLabelField(int group, const QString &field)
{
    if (!Private::validGroup(group))
        return;
    d->group(group).pointLabelField = field;
    d->loadLabels(group);
    d->changed();
}

QString Chart2D::pointLabelField(int group) const
{
    return Private::validGroup(group) ? d->group(group).pointLabelField : QString();
}
