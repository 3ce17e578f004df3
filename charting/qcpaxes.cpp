// The QCustomPlot adapter: axis titles, tickers, grids and ranges.
#include "charting/qcpscene_p.h"

#include <cmath>

namespace {

QString trimmedEnd(const QString &text)
{
    int n = text.size();
    while (n > 0 && text.at(n - 1).isSpace())
        --n;
    return text.left(n);
}

// QCustomPlot leaves the stacked bars' bases out of their value range.
QCPRange stackedRange(const DrawnSeries &d, bool *found)
{
    QCPRange r;
    *found = false;
    for (size_t i = 0; i < d.series.y->size(); ++i) {
        const double v = (*d.series.y)[i];
        if (std::isnan(v))
            continue;
        const double top = d.base[i] + v;
        if (!*found)
            r = QCPRange(top, top);
        r.expand(top);
        r.expand(d.base[i]);
        *found = true;
    }
    return r;
}

// Dates whose labels follow the span shown: years, then months, days, hours and seconds.
class ZoomDateTicker : public QCPAxisTickerDateTime
{
public:
    ZoomDateTicker() { setDateTimeSpec(Qt::LocalTime); }
    void generate(const QCPRange &range, const QLocale &locale, QChar formatChar, int precision,
                  QVector<double> &ticks, QVector<double> *subTicks,
                  QVector<QString> *tickLabels) override
    {
        constexpr double day = 86400;
        const double span = range.size();
        setDateTimeFormat(span > 3 * 365 * day  ? QStringLiteral("yyyy")
                          : span > 90 * day    ? QStringLiteral("MMM yyyy")
                          : span > 3 * day     ? QStringLiteral("d MMM")
                          : span > 2 * 3600.0  ? QStringLiteral("d MMM\nhh:mm")
                                               : QStringLiteral("hh:mm:ss"));
        QCPAxisTickerDateTime::generate(range, locale, formatChar, precision, ticks, subTicks,
                                        tickLabels);
    }
};

} // namespace

void QcpScene::Parts::buildAxes()
{
    const ChartSettings &set = *input.settings;
    rect->axis(QCPAxis::atTop)->setVisible(false);
    for (ChartAxis a : {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2}) {
        const AxisSettings &as = set.axis(a);
        QCPAxis *ax = axis(a);
        ax->setLabel(as.title);
        ax->setLabelFont(as.labelFont);
        ax->setTickLabelFont(as.labelFont);
        ax->setTickLabelRotation(0);
        ax->setTicks(true);
        const bool labelTicks = as.annotation == AxisAnnotation::ValueLabels ||
                                as.tickAnnotation == AxisAnnotation::ValueLabels;
        if (labelTicks) {
            // The first setting picks the texts, the second whether marks stand at them.
            QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
            QFontMetrics fm(as.labelFont);
            int textWidth = 0;
            for (auto it = as.valueLabels.cbegin(); it != as.valueLabels.cend(); ++it) {
                const QString text = as.annotation == AxisAnnotation::ValueLabels
                                         ? trimmedEnd(it.value())
                                         : QString::number(it.key());
                ticker->addTick(it.key(), text);
                textWidth += fm.horizontalAdvance(text) + 4;
            }
            ticker->setSubTickCount(0);
            ax->setTicker(ticker);
            ax->setTicks(as.tickAnnotation == AxisAnnotation::ValueLabels);
            if (a == ChartAxis::X && textWidth > plot->width() * 0.8)
                ax->setTickLabelRotation(90);
        } else if (as.gridSpacing && *as.gridSpacing > 0) {
            QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
            ticker->setTickStep(*as.gridSpacing);
            ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
            ax->setTicker(ticker);
        } else if (a == ChartAxis::X && timeKeys) {
            ax->setTicker(QSharedPointer<QCPAxisTicker>(new ZoomDateTicker));
        } else {
            ax->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        }
        const bool gridOff = as.gridSpacing && *as.gridSpacing == 0;
        ax->grid()->setVisible(!gridOff && a != ChartAxis::Y2);
    }
    if (polar) {
        // Around the circle the X fonts, along the radius the Y title and fonts.
        const AxisSettings &x = set.axis(ChartAxis::X);
        const AxisSettings &y = set.axis(ChartAxis::Y);
        polar->setTickLabelFont(x.labelFont);
        polar->radialAxis()->setTickLabelFont(y.labelFont);
        polar->radialAxis()->setLabelFont(y.labelFont);
        polar->radialAxis()->setLabel(y.title);
    }
    const bool y2 = !input.groups[1].isEmpty() || !set.axis(ChartAxis::Y2).title.isEmpty();
    axis(ChartAxis::Y2)->setVisible(frame == SceneFrame::Cartesian && y2);
}

void QcpScene::Parts::applyRanges()
{
    if (frame == SceneFrame::Polar) {
        if (!polar)
            return;
        polar->setRange(0, 360);
        bool found = false;
        QCPRange r;
        for (const DrawnSeries &d : drawn) {
            bool f = false;
            const QCPRange v = d.polarGraph->getValueRange(f, QCP::sdBoth);
            if (f) {
                if (found)
                    r.expand(v);
                else
                    r = v;
                found = true;
            }
        }
        r.expand(0);
        polar->radialAxis()->setRange(found ? r : QCPRange(0, 1));
        return;
    }
    if (frame == SceneFrame::Pie)
        return;
    const ChartSettings &set = *input.settings;
    bool bars = false;
    for (const DrawnSeries &d : drawn)
        bars = bars || d.barWidth > 0;
    for (ChartAxis a : {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2}) {
        QCPAxis *ax = axis(a);
        QCPRange r(0, 1);
        bool found = false;
        for (const DrawnSeries &d : drawn) {
            bool f = false;
            QCPRange v;
            if (a == ChartAxis::X)
                v = d.plottable->getKeyRange(f, QCP::sdBoth);
            else if (d.valueAxis == ax && !d.base.empty())
                v = stackedRange(d, &f);
            else if (d.valueAxis == ax)
                v = d.plottable->getValueRange(f, QCP::sdBoth);
            else
                continue;
            if (!f)
                continue;
            if (found)
                r.expand(v);
            else
                r = v;
            found = true;
        }
        if (found && a == ChartAxis::X && bars)
            r = QCPRange(r.lower - 0.5, r.upper + 0.5);
        else if (found && a != ChartAxis::X && bars)
            r.expand(0);
        if (!found && a == ChartAxis::Y2)
            r = axis(ChartAxis::Y)->range(); // mirror Y while group 2 is empty
        if (found && r.size() == 0)
            r = QCPRange(r.lower - 1, r.upper + 1);
        const AxisSettings &as = set.axis(a);
        if (as.minimum)
            r.lower = *as.minimum;
        if (as.maximum)
            r.upper = *as.maximum;
        if (const auto &view = input.view[size_t(a)])
            r = QCPRange(view->first, view->second);
        ax->setRange(r);
    }
}
