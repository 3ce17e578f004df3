// The tables behind the chart's enumerations and the settings value.
#include "charting/chartsettings.h"

bool chartAxisFromName(const QString &name, ChartAxis *axis)
{
    static const std::pair<const char *, ChartAxis> names[] = {
        {"X", ChartAxis::X}, {"Y", ChartAxis::Y}, {"Y2", ChartAxis::Y2}};
    for (const auto &[text, value] : names) {
        if (name == QLatin1String(text)) {
            *axis = value;
            return true;
        }
    }
    return false;
}

ChartSettings::ChartSettings()
{
    const QFont base(QStringLiteral("Arial"), 10);
    headerFont = footerFont = base;
    legendFont = QFont(QStringLiteral("Arial"), 8);
    for (auto &a : axes)
        a.labelFont = QFont(QStringLiteral("Arial"), 8);
    groups[1].order = DrawingOrder::Back;
}

bool AxisSettings::operator==(const AxisSettings &o) const
{
    return title == o.title && minimum == o.minimum && maximum == o.maximum &&
           gridSpacing == o.gridSpacing && labelFont == o.labelFont && annotation == o.annotation &&
           tickAnnotation == o.tickAnnotation && valueLabels == o.valueLabels;
}

bool GroupSettings::operator==(const GroupSettings &o) const
{
    return fields == o.fields && type == o.type && order == o.order &&
           seriesLabels == o.seriesLabels && pointLabels == o.pointLabels &&
           pointLabelField == o.pointLabelField && styles == o.styles;
}

bool ChartSettings::operator==(const ChartSettings &o) const
{
    return widthTwips == o.widthTwips && heightTwips == o.heightTwips && header == o.header &&
           footer == o.footer && headerFont == o.headerFont && footerFont == o.footerFont &&
           legendFont == o.legendFont && background == o.background && axes == o.axes &&
           depth == o.depth && elevation == o.elevation && rotation == o.rotation &&
           markerVisible == o.markerVisible && groups == o.groups && bindings == o.bindings;
}

bool operator==(const SeriesStyle &a, const SeriesStyle &b)
{
    return a.lineColor == b.lineColor && a.lineWidth == b.lineWidth && a.fill == b.fill &&
           a.symbol == b.symbol;
}

bool operator==(const MouseBinding &a, const MouseBinding &b)
{
    return a.message == b.message && a.modifier == b.modifier && a.key == b.key &&
           a.action == b.action;
}

SeriesStyle defaultSeriesStyle(int group, int series)
{
    // Distinct, printable colours; group 2 starts further along so the axes differ.
    static const QColor palette[] = {
        QColor(0, 0, 200),   QColor(200, 0, 0),   QColor(0, 140, 0),  QColor(180, 0, 180),
        QColor(0, 150, 150), QColor(200, 120, 0), QColor(90, 90, 90), QColor(120, 60, 0),
    };
    constexpr int n = int(sizeof(palette) / sizeof(palette[0]));
    SeriesStyle style;
    style.lineColor = palette[((series - 1) + (group == 2 ? 4 : 0)) % n];
    return style;
}

bool isChartType(int value)
{
    return value >= int(ChartType::Plot) && value <= int(ChartType::FilledRadar);
}

bool isFillPattern(int value)
{
    return value >= int(FillPattern::None) && value <= int(FillPattern::CrossHatched);
}

bool isSymbolShape(int value)
{
    return value >= int(SymbolShape::None) && value <= int(SymbolShape::Square);
}

Qt::BrushStyle brushStyle(FillPattern fill)
{
    // Qt's dense patterns come in fixed steps: Dense5 covers 37 %, Dense4 50 %, Dense3 63 %.
    switch (fill) {
    case FillPattern::None:
        return Qt::NoBrush;
    case FillPattern::Solid:
        return Qt::SolidPattern;
    case FillPattern::Percent25:
        return Qt::Dense5Pattern;
    case FillPattern::Percent50:
        return Qt::Dense4Pattern;
    case FillPattern::Percent75:
        return Qt::Dense3Pattern;
    case FillPattern::HorizontalStripe:
        return Qt::HorPattern;
    case FillPattern::VerticalStripe:
        return Qt::VerPattern;
    case FillPattern::Stripe45:
        return Qt::BDiagPattern;
    case FillPattern::Stripe135:
        return Qt::FDiagPattern;
    case FillPattern::DiagHatched:
        return Qt::DiagCrossPattern;
    case FillPattern::CrossHatched:
        return Qt::CrossPattern;
    }
    return Qt::NoBrush;
}

int seriesPerSet(ChartType type)
{
    switch (type) {
    case ChartType::HiLo:
        return 2;
    case ChartType::HiLoOpenClose:
    case ChartType::Candle:
        return 4;
    default:
        return 1;
    }
}

bool isPolarType(ChartType type)
{
    return type == ChartType::Polar || type == ChartType::Radar || type == ChartType::FilledRadar;
}
