// The QCustomPlot adapter: one chart group's series as QCustomPlot plottables.
#include "charting/qcpscene_p.h"

#include <cmath>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

QCPScatterStyle scatterStyle(const SeriesStyle &st)
{
    const QPen pen(st.lineColor, 1);
    const QBrush fill(st.lineColor, brushStyle(st.fill));
    const QBrush solid(st.lineColor);
    QPainterPath stroke;
    switch (st.symbol) {
    case SymbolShape::None:
        return QCPScatterStyle(QCPScatterStyle::ssNone);
    case SymbolShape::Dot:
        return QCPScatterStyle(QCPScatterStyle::ssDisc, pen, solid, 4);
    case SymbolShape::Box:
        return QCPScatterStyle(QCPScatterStyle::ssSquare, pen, fill, 7);
    case SymbolShape::Triangle:
        return QCPScatterStyle(QCPScatterStyle::ssTriangle, pen, fill, 8);
    case SymbolShape::Diamond:
        return QCPScatterStyle(QCPScatterStyle::ssDiamond, pen, fill, 8);
    case SymbolShape::Star:
        return QCPScatterStyle(QCPScatterStyle::ssStar, pen, Qt::NoBrush, 9);
    case SymbolShape::VerticalLine:
        // QCustomPlot scales a custom path by size / 6.
        stroke.moveTo(0, -3);
        stroke.lineTo(0, 3);
        return QCPScatterStyle(stroke, pen, Qt::NoBrush, 9);
    case SymbolShape::HorizontalLine:
        stroke.moveTo(-3, 0);
        stroke.lineTo(3, 0);
        return QCPScatterStyle(stroke, pen, Qt::NoBrush, 9);
    case SymbolShape::Cross:
        return QCPScatterStyle(QCPScatterStyle::ssCross, pen, Qt::NoBrush, 8);
    case SymbolShape::Circle:
        return QCPScatterStyle(QCPScatterStyle::ssCircle, pen, fill, 8);
    case SymbolShape::Square:
        return QCPScatterStyle(QCPScatterStyle::ssSquare, pen, solid, 7);
    }
    return QCPScatterStyle(QCPScatterStyle::ssNone);
}

QBrush fillBrush(const SeriesStyle &st)
{
    return QBrush(st.lineColor, brushStyle(st.fill));
}

QString typeName(ChartType type)
{
    switch (type) {
    case ChartType::HiLo:
        return QStringLiteral("HiLo");
    case ChartType::HiLoOpenClose:
        return QStringLiteral("HiLoOpenClose");
    case ChartType::Candle:
        return QStringLiteral("Candle");
    default:
        return QString();
    }
}

QVector<double> positions(size_t n, double offset)
{
    QVector<double> keys(static_cast<int>(n));
    for (size_t i = 0; i < n; ++i)
        keys[int(i)] = double(i) + offset;
    return keys;
}

double at(const SceneSeries &s, size_t i)
{
    return i < s.y->size() ? (*s.y)[i] : NaN;
}

} // namespace

void QcpScene::Parts::buildGroup(int g)
{
    const GroupSettings &gs = input.settings->groups[size_t(g - 1)];
    const QVector<SceneSeries> &list = input.groups[size_t(g - 1)];
    QCPAxis *x = axis(ChartAxis::X);
    QCPAxis *y = axis(g == 1 ? ChartAxis::Y : ChartAxis::Y2);
    const ChartType type = gs.type;
    const int per = seriesPerSet(type);
    const int sets = list.size() / per;
    if (list.size() % per != 0) {
        const QString roles =
            per == 2 ? QStringLiteral("high, low") : QStringLiteral("high, low, open, close");
        problems << QStringLiteral("%1 needs %2 series per set (%3); chart group %4 has %5.")
                        .arg(typeName(type))
                        .arg(per)
                        .arg(roles)
                        .arg(g)
                        .arg(list.size());
    }
    const auto drawnAs = [&](const SceneSeries &s, QCPAbstractPlottable *pl) -> DrawnSeries & {
        DrawnSeries d;
        d.series = s;
        d.type = type;
        d.plottable = pl;
        d.valueAxis = y;
        drawn.push_back(std::move(d));
        return drawn.back();
    };

    switch (type) {
    case ChartType::Plot:
    case ChartType::Area:
        for (const SceneSeries &s : list) {
            auto *graph = new QCPGraph(x, y);
            graph->setName(s.name);
            const std::vector<double> *times =
                timeKeys && input.keys->size() == s.y->size() ? input.keys : nullptr;
            graph->setData(times ? QVector<double>(times->begin(), times->end())
                                 : positions(s.y->size(), 0),
                           QVector<double>(s.y->begin(), s.y->end()), true);
            graph->setPen(QPen(s.style.lineColor, s.style.lineWidth));
            graph->setScatterStyle(scatterStyle(s.style));
            if (type == ChartType::Area)
                graph->setBrush(fillBrush(s.style)); // filled down to 0
            drawnAs(s, graph).keys = times;
        }
        break;
    case ChartType::Bar:
    case ChartType::StackingBar: {
        const bool stacked = type == ChartType::StackingBar;
        const double width = stacked ? 0.8 : 0.8 / list.size();
        QCPBars *below = nullptr;
        std::vector<double> pos, neg; // running sums of the bars below, by sign
        for (int i = 0; i < list.size(); ++i) {
            const SceneSeries &s = list[i];
            auto *bars = new QCPBars(x, y);
            bars->setName(s.name);
            bars->setWidth(width);
            bars->setPen(QPen(s.style.lineColor.darker(130), s.style.lineWidth));
            bars->setBrush(fillBrush(s.style));
            const double offset = stacked ? 0.0 : -0.4 + width * (i + 0.5);
            QVector<double> keys, values;
            std::vector<double> base(s.y->size(), 0.0);
            pos.resize(std::max(pos.size(), s.y->size()), 0.0);
            neg.resize(pos.size(), 0.0);
            for (size_t k = 0; k < s.y->size(); ++k) {
                const double v = (*s.y)[k];
                if (std::isnan(v))
                    continue; // a missing bar, not a bar of 0
                keys << double(k) + offset;
                values << v;
                if (stacked) {
                    base[k] = v >= 0 ? pos[k] : neg[k];
                    (v >= 0 ? pos[k] : neg[k]) += v;
                }
            }
            bars->setData(keys, values, true);
            if (stacked && below)
                bars->moveAbove(below);
            below = bars;
            DrawnSeries &d = drawnAs(s, bars);
            d.keyOffset = offset;
            d.barWidth = width;
            if (stacked)
                d.base = std::move(base);
        }
        break;
    }
    case ChartType::HiLo:
        for (int k = 0; k < sets; ++k) {
            const SceneSeries &high = list[2 * k];
            const SceneSeries &low = list[2 * k + 1];
            const size_t n = std::max(high.y->size(), low.y->size());
            const int count = static_cast<int>(n);
            QVector<double> bottom(count), span(count), none(count, 0.0);
            for (size_t i = 0; i < n; ++i) {
                const double h = at(high, i), l = at(low, i);
                const bool gap = std::isnan(h) || std::isnan(l);
                bottom[int(i)] = gap ? NaN : std::min(h, l);
                span[int(i)] = gap ? 0.0 : std::abs(h - l);
            }
            auto *anchor = new QCPGraph(x, y);
            anchor->setData(positions(n, 0), bottom, true);
            anchor->setLineStyle(QCPGraph::lsNone);
            anchor->setScatterStyle(scatterStyle(low.style));
            anchor->removeFromLegend();
            auto *bars = new QCPErrorBars(x, y);
            bars->setName(high.name + QStringLiteral(" / ") + low.name);
            bars->setDataPlottable(anchor);
            bars->setData(none, span);
            bars->setWhiskerWidth(0);
            bars->setPen(QPen(high.style.lineColor, high.style.lineWidth));
            drawnAs(high, bars);
            drawnAs(low, anchor);
        }
        break;
    case ChartType::HiLoOpenClose:
    case ChartType::Candle:
        for (int k = 0; k < sets; ++k) {
            const SceneSeries &high = list[4 * k];
            const SceneSeries &low = list[4 * k + 1];
            const SceneSeries &open = list[4 * k + 2];
            const SceneSeries &close = list[4 * k + 3];
            QVector<double> keys, o, h, l, c;
            for (size_t i = 0; i < high.y->size(); ++i) {
                const double vh = at(high, i), vl = at(low, i), vo = at(open, i), vc = at(close, i);
                if (std::isnan(vh) || std::isnan(vl) || std::isnan(vo) || std::isnan(vc))
                    continue;
                keys << double(i);
                h << vh;
                l << vl;
                o << vo;
                c << vc;
            }
            auto *fin = new QCPFinancial(x, y);
            fin->setName(QStringList{high.name, low.name, open.name, close.name}.join(
                QStringLiteral(" / ")));
            fin->setData(keys, o, h, l, c, true);
            fin->setWidth(0.6);
            fin->setChartStyle(type == ChartType::Candle ? QCPFinancial::csCandlestick
                                                         : QCPFinancial::csOhlc);
            fin->setPen(QPen(high.style.lineColor, high.style.lineWidth));
            fin->setBrush(fillBrush(high.style));
            if (type == ChartType::Candle) {
                // Rising candles in the open series' colour, falling in the close series'.
                fin->setTwoColored(true);
                fin->setPenPositive(QPen(open.style.lineColor, high.style.lineWidth));
                fin->setPenNegative(QPen(close.style.lineColor, high.style.lineWidth));
                fin->setBrushPositive(fillBrush(open.style));
                fin->setBrushNegative(fillBrush(close.style));
            }
            for (const SceneSeries *s : {&high, &low, &open, &close})
                drawnAs(*s, fin);
        }
        break;
    default:
        break;
    }
}

void QcpScene::Parts::buildPolarGroup(int g)
{
    const GroupSettings &gs = input.settings->groups[size_t(g - 1)];
    QCPPolarAxisRadial *radial = polar->radialAxis();
    for (const SceneSeries &s : input.groups[size_t(g - 1)]) {
        const size_t n = s.y->size();
        // Polar: the record position is the angle in degrees. Radar: one spoke per
        // record around the circle, the last joined back to the first.
        const bool radar = gs.type != ChartType::Polar;
        const double step = radar && n > 0 ? 360.0 / double(n) : 1.0;
        QVector<double> keys = positions(n, 0);
        QVector<double> values(s.y->begin(), s.y->end());
        for (double &k : keys)
            k *= step;
        if (radar && n > 0) {
            keys << 360.0;
            values << values.first();
        }
        auto *graph = new QCPPolarGraph(polar, radial);
        graph->setName(s.name);
        graph->setData(keys, values, true);
        graph->setPen(QPen(s.style.lineColor, s.style.lineWidth));
        graph->setScatterStyle(scatterStyle(s.style));
        if (gs.type == ChartType::FilledRadar)
            graph->setBrush(fillBrush(s.style));
        DrawnSeries d;
        d.series = s;
        d.type = gs.type;
        d.polarGraph = graph;
        d.angleStep = step;
        drawn.push_back(std::move(d));
    }
}

void QcpScene::Parts::buildPie(int g)
{
    const GroupSettings &gs = input.settings->groups[size_t(g - 1)];
    const SceneSeries &first = input.groups[size_t(g - 1)].first();
    for (size_t i = 0; i < first.y->size(); ++i) {
        const double v = (*first.y)[i];
        if (std::isnan(v) || v <= 0)
            continue; // no slice for a missing or negative value
        const int series = int(i) + 1;
        const SeriesStyle st =
            series <= gs.styles.size() ? gs.styles[series - 1] : defaultSeriesStyle(g, series);
        PieSlice slice;
        slice.value = v;
        slice.color = st.lineColor;
        slice.brush = brushStyle(st.fill);
        const QString fieldText = input.pointLabelTexts[size_t(g - 1)].value(int(i));
        slice.label =
            gs.pointLabels.value(int(i), fieldText.isEmpty() ? QString::number(v) : fieldText);
        slices << slice;
    }
    DrawnSeries d;
    d.series = first;
    d.type = ChartType::Pie;
    drawn.push_back(std::move(d));
}
