// The QCustomPlot adapter: frame, titles, legend, queries and output of a scene.
#include "charting/qcpscene_p.h"

#include <QPicture>

#include <cmath>

QcpScene::QcpScene(QWidget *parent) : p(std::make_unique<Parts>())
{
    p->plot = new QCustomPlot(parent);
    p->plot->setNoAntialiasingOnDrag(true);
    p->rect = p->plot->axisRect();
    p->header = new QCPTextElement(p->plot, QString());
    p->footer = new QCPTextElement(p->plot, QString());
    p->plot->plotLayout()->insertRow(0);
    p->plot->plotLayout()->addElement(0, 0, p->header);
    p->plot->plotLayout()->addElement(2, 0, p->footer);
    p->plot->plotLayout()->setRowSpacing(0);
    // The depth goes between the grid and the series; the pie above the grid.
    p->plot->addLayer(QStringLiteral("depth"), p->plot->layer(QStringLiteral("grid")),
                      QCustomPlot::limAbove);
    p->depthLayer = new DepthLayerable(p->plot, p.get());
    p->pieLayer = new PieLayerable(p->plot, p.get());
    p->plot->legend->setVisible(false);
}

QcpScene::~QcpScene() = default;

QWidget *QcpScene::widget() const
{
    return p->plot;
}

QCPAxis *QcpScene::Parts::axis(ChartAxis a) const
{
    switch (a) {
    case ChartAxis::X:
        return rect->axis(QCPAxis::atBottom);
    case ChartAxis::Y:
        return rect->axis(QCPAxis::atLeft);
    case ChartAxis::Y2:
        return rect->axis(QCPAxis::atRight);
    }
    return nullptr;
}

const DrawnSeries *QcpScene::Parts::find(int group, int series) const
{
    for (const DrawnSeries &d : drawn) {
        if (d.series.group == group && d.series.series == series)
            return &d;
    }
    return nullptr;
}

void QcpScene::Parts::clear()
{
    if (polar) {
        for (const DrawnSeries &d : drawn) {
            if (d.polarGraph)
                polar->removeGraph(d.polarGraph);
        }
    }
    drawn.clear();
    slices.clear();
    problems.clear();
    plot->clearPlottables();
    marker = nullptr;
    plot->clearItems();
}

void QcpScene::Parts::setFrame(SceneFrame wanted)
{
    frame = wanted;
    QCPLayoutGrid *layout = plot->plotLayout();
    const bool polarFrame = wanted == SceneFrame::Polar;
    // The legend lives in the axis rect; beside the polar axes it gets a column of its own.
    if (polarFrame && !polar) {
        rect->insetLayout()->take(plot->legend);
        layout->take(rect);
        layout->simplify();
        rect->setVisible(false);
        polar = new QCPPolarAxisAngular(plot);
        layout->insertRow(1);
        layout->addElement(1, 0, polar);
        // A grid row would stretch the legend to the axes' height: a spacer takes the rest.
        legendBox = new QCPLayoutGrid;
        layout->addElement(1, 1, legendBox);
        legendBox->addElement(0, 0, plot->legend);
        legendBox->addElement(1, 0, new QCPLayoutElement(plot));
        legendBox->setRowStretchFactors({0.001, 1});
        layout->setColumnStretchFactor(1, 0.001);
    } else if (!polarFrame && polar) {
        legendBox->take(plot->legend);
        layout->take(legendBox);
        delete legendBox;
        legendBox = nullptr;
        layout->take(polar);
        delete polar;
        polar = nullptr;
        layout->simplify();
        layout->insertRow(1);
        layout->addElement(1, 0, rect);
        rect->insetLayout()->addElement(plot->legend, Qt::AlignRight | Qt::AlignTop);
        rect->setVisible(true);
    }
    const bool axesShown = wanted == SceneFrame::Cartesian;
    for (QCPAxis *a : rect->axes())
        a->setVisible(axesShown && a->axisType() != QCPAxis::atTop);
    pieLayer->setVisible(wanted == SceneFrame::Pie);
}

void QcpScene::build(const SceneInput &input)
{
    Parts &s = *p;
    s.clear();
    s.input = input;
    const ChartSettings &set = *input.settings;
    s.depth = set.depth;
    s.elevation = set.elevation;
    s.rotation = set.rotation;

    // The frame follows group 1 when it has series, else group 2.
    const int lead = input.groups[0].isEmpty() && !input.groups[1].isEmpty() ? 2 : 1;
    const ChartType leadType = set.groups[size_t(lead - 1)].type;
    SceneFrame frame = SceneFrame::Cartesian;
    if (leadType == ChartType::Pie)
        frame = SceneFrame::Pie;
    else if (isPolarType(leadType))
        frame = SceneFrame::Polar;
    s.setFrame(frame);

    s.plot->setBackground(QBrush(set.background));
    s.header->setText(set.header);
    s.header->setFont(set.headerFont);
    s.header->setVisible(!set.header.isEmpty());
    // Times only where every drawn group is a line or an area: a bar or a candle stands at
    // its record position, and one X axis cannot be both.
    s.timeKeys = frame == SceneFrame::Cartesian && input.keys;
    for (int g = 0; g < 2; ++g) {
        const ChartType type = set.groups[size_t(g)].type;
        if (!input.groups[size_t(g)].isEmpty() && type != ChartType::Plot &&
            type != ChartType::Area)
            s.timeKeys = false;
    }
    s.buildAxes();

    // Drawn back group first, so the front group covers it.
    const int front = set.groups[0].order == DrawingOrder::Front ? 1 : 2;
    for (int g : {front == 1 ? 2 : 1, front}) {
        if (input.groups[size_t(g - 1)].isEmpty())
            continue;
        const ChartType type = set.groups[size_t(g - 1)].type;
        const bool fits = (type == ChartType::Pie) == (frame == SceneFrame::Pie) &&
                          isPolarType(type) == (frame == SceneFrame::Polar);
        if (!fits) {
            s.problems << QStringLiteral("Chart group %1 cannot be drawn with the type of "
                                         "chart group %2.")
                              .arg(g)
                              .arg(lead);
            continue;
        }
        if (frame == SceneFrame::Pie)
            s.buildPie(g);
        else if (frame == SceneFrame::Polar)
            s.buildPolarGroup(g);
        else
            s.buildGroup(g);
    }
    s.applyRanges();
    s.buildLegend();

    const QString footer = s.problems.isEmpty() ? set.footer : s.problems.join(QLatin1Char(' '));
    s.footer->setText(footer);
    s.footer->setFont(set.footerFont);
    s.footer->setVisible(!footer.isEmpty());
}

void QcpScene::Parts::buildLegend()
{
    const ChartSettings &set = *input.settings;
    QCPLegend *legend = plot->legend;
    bool any = false;
    for (const DrawnSeries &d : drawn) {
        const bool want = set.groups[size_t(d.series.group - 1)].seriesLabels;
        QCPAbstractPlottable *pl = d.plottable;
        if (pl && !want)
            pl->removeFromLegend();
        if (d.polarGraph) {
            d.polarGraph->removeFromLegend();
            if (want)
                d.polarGraph->addToLegend();
        }
        any = any || (want && (pl || d.polarGraph));
    }
    legend->setFont(set.legendFont);
    legend->setVisible(any && frame != SceneFrame::Pie);
}

void QcpScene::replot()
{
    p->plot->replot(QCustomPlot::rpImmediateRefresh);
}

void QcpScene::layout()
{
    p->plot->setViewport(QRect(QPoint(0, 0), p->plot->size()));
    p->plot->plotLayout()->update(QCPLayoutElement::upPreparation);
    p->plot->plotLayout()->update(QCPLayoutElement::upMargins);
    p->plot->plotLayout()->update(QCPLayoutElement::upLayout);
}

QString QcpScene::problem() const
{
    return p->problems.join(QLatin1Char(' '));
}

QRect QcpScene::plotArea() const
{
    if (p->polar)
        return p->polar->rect();
    return p->rect->rect();
}

std::pair<double, double> QcpScene::range(ChartAxis axis) const
{
    const QCPRange r = p->axis(axis)->range();
    return {r.lower, r.upper};
}

void QcpScene::setRange(ChartAxis axis, double lower, double upper)
{
    p->axis(axis)->setRange(lower, upper);
}

double QcpScene::pixelToValue(ChartAxis axis, double pixel) const
{
    return p->axis(axis)->pixelToCoord(pixel);
}

bool QcpScene::pointPixel(int group, int series, int point, QPointF *pixel) const
{
    const DrawnSeries *d = p->find(group, series);
    if (!d || point < 0 || size_t(point) >= d->series.y->size())
        return false;
    const double y = (*d->series.y)[size_t(point)];
    if (std::isnan(y))
        return false;
    if (d->polarGraph) {
        *pixel = p->polar->coordToPixel(point * d->angleStep, y);
        return true;
    }
    if (!d->plottable)
        return false;
    const double base = d->base.empty() ? 0.0 : d->base[size_t(point)];
    *pixel = QPointF(p->axis(ChartAxis::X)->coordToPixel(Parts::key(*d, point)),
                     d->valueAxis->coordToPixel(y + base));
    return true;
}

QStringList QcpScene::tickTexts(ChartAxis axis) const
{
    QCPAxis *ax = p->axis(axis);
    if (!ax->visible() || !ax->tickLabels())
        return {};
    QStringList out;
    const QVector<double> ticks = ax->tickVector();
    const QVector<QString> labels = ax->tickVectorLabels();
    const QCPRange r = ax->range();
    for (int i = 0; i < ticks.size() && i < labels.size(); ++i) {
        if (r.contains(ticks[i]))
            out << labels[i];
    }
    return out;
}

void QcpScene::setMarker(bool visible, int group, int series, int point)
{
    Parts &s = *p;
    const DrawnSeries *d = visible ? s.find(group, series) : nullptr;
    QPointF at;
    if (!d || !d->plottable || !pointPixel(group, series, point, &at)) {
        if (s.marker)
            s.marker->setVisible(false);
        return;
    }
    if (!s.marker) {
        s.marker = new QCPItemTracer(s.plot);
        s.marker->setStyle(QCPItemTracer::tsCrosshair);
        s.marker->setPen(QPen(Qt::black, 1, Qt::DashLine));
    }
    const double y = (*d->series.y)[size_t(point)];
    const double base = d->base.empty() ? 0.0 : d->base[size_t(point)];
    s.marker->position->setAxes(s.axis(ChartAxis::X), d->valueAxis);
    s.marker->position->setCoords(Parts::key(*d, point), y + base);
    s.marker->setVisible(true);
}

void QcpScene::setView3D(int depth, int elevation, int rotation)
{
    p->depth = depth;
    p->elevation = elevation;
    p->rotation = rotation;
}

QImage QcpScene::render(QSize size, double scale)
{
    return p->plot->toPixmap(size.width(), size.height(), scale).toImage();
}

void QcpScene::paint(QPainter *painter, QSize size)
{
    // Recorded first: the caller's painter may hold the device, and QCustomPlot needs a
    // painter of its own kind.
    QPicture picture;
    QCPPainter recorder(&picture);
    recorder.setRenderHint(QPainter::Antialiasing);
    p->plot->toPainter(&recorder, size.width(), size.height());
    recorder.end();
    // A picture plays back scaled by the device's resolution over its own; the caller's
    // transform already takes the chart to the device, so that scaling is undone.
    const QPaintDevice *device = painter->device();
    const double fx = device ? double(picture.logicalDpiX()) / device->logicalDpiX() : 1.0;
    const double fy = device ? double(picture.logicalDpiY()) / device->logicalDpiY() : 1.0;
    painter->save();
    painter->scale(fx, fy);
    painter->drawPicture(0, 0, picture);
    painter->restore();
}
