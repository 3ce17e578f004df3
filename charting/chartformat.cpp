// Writing and strictly reading the chart format file.
#include "charting/chartformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

const QString FormatName = QStringLiteral("corvane chart format");
const char *const AxisNames[] = {"X", "Y", "Y2"};

QJsonValue optionalNumber(const std::optional<double> &v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject axisToJson(const AxisSettings &a)
{
    QJsonArray labels;
    for (auto it = a.valueLabels.cbegin(); it != a.valueLabels.cend(); ++it)
        labels.append(QJsonArray{it.key(), it.value()});
    return QJsonObject{{"title", a.title},
                       {"minimum", optionalNumber(a.minimum)},
                       {"maximum", optionalNumber(a.maximum)},
                       {"gridSpacing", optionalNumber(a.gridSpacing)},
                       {"labelFont", a.labelFont.toString()},
                       {"annotation", int(a.annotation)},
                       {"tickAnnotation", int(a.tickAnnotation)},
                       {"valueLabels", labels}};
}

QJsonObject groupToJson(const GroupSettings &g)
{
    QJsonArray labels, styles;
    for (auto it = g.pointLabels.cbegin(); it != g.pointLabels.cend(); ++it)
        labels.append(QJsonArray{it.key(), it.value()});
    for (const SeriesStyle &s : g.styles)
        styles.append(QJsonObject{{"lineColor", s.lineColor.name()},
                                  {"lineWidth", s.lineWidth},
                                  {"fill", int(s.fill)},
                                  {"symbol", int(s.symbol)}});
    return QJsonObject{{"fields", QJsonArray::fromStringList(g.fields)},
                       {"type", int(g.type)},
                       {"drawingOrder", int(g.order)},
                       {"seriesLabels", g.seriesLabels},
                       {"pointLabelField", g.pointLabelField},
                       {"pointLabels", labels},
                       {"styles", styles}};
}

// Reads typed values and remembers the first thing that is wrong.
struct Reader
{
    QString error;

    bool fail(const QString &what)
    {
        if (error.isEmpty())
            error = what;
        return false;
    }
    QJsonValue field(const QJsonObject &o, const char *key)
    {
        if (!o.contains(QLatin1String(key)))
            fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(key)));
        return o.value(QLatin1String(key));
    }
    QString text(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = field(o, key);
        if (!v.isString())
            fail(QStringLiteral("\"%1\" is not a text").arg(QLatin1String(key)));
        return v.toString();
    }
    double number(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = field(o, key);
        if (!v.isDouble() || !std::isfinite(v.toDouble()))
            fail(QStringLiteral("\"%1\" is not a number").arg(QLatin1String(key)));
        return v.toDouble();
    }
    int integer(const QJsonObject &o, const char *key, int lo, int hi)
    {
        const double v = number(o, key);
        if (v != std::floor(v) || v < lo || v > hi)
            fail(QStringLiteral("\"%1\" is out of range").arg(QLatin1String(key)));
        return int(v);
    }
    bool boolean(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = field(o, key);
        if (!v.isBool())
            fail(QStringLiteral("\"%1\" is not true or false").arg(QLatin1String(key)));
        return v.toBool();
    }
    std::optional<double> optional(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = field(o, key);
        if (v.isNull())
            return std::nullopt;
        return number(o, key);
    }
    QFont font(const QJsonObject &o, const char *key)
    {
        QFont f;
        if (!f.fromString(text(o, key)))
            fail(QStringLiteral("\"%1\" is not a font").arg(QLatin1String(key)));
        return f;
    }
    QColor color(const QJsonObject &o, const char *key)
    {
        const QColor c(text(o, key));
        if (!c.isValid())
            fail(QStringLiteral("\"%1\" is not a colour").arg(QLatin1String(key)));
        return c;
    }
    QJsonObject object(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = field(o, key);
        if (!v.isObject())
            fail(QStringLiteral("\"%1\" is not an object").arg(QLatin1String(key)));
        return v.toObject();
    }
    QJsonArray array(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = field(o, key);
        if (!v.isArray())
            fail(QStringLiteral("\"%1\" is not a list").arg(QLatin1String(key)));
        return v.toArray();
    }
    // [[number, text], ...]
    template <typename Key> QMap<Key, QString> pairs(const QJsonObject &o, const char *key)
    {
        QMap<Key, QString> out;
        for (const QJsonValue &v : array(o, key)) {
            const QJsonArray pair = v.toArray();
            if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isString() ||
                !std::isfinite(pair[0].toDouble())) {
                fail(QStringLiteral("\"%1\" holds a damaged entry").arg(QLatin1String(key)));
                break;
            }
            out.insert(Key(pair[0].toDouble()), pair[1].toString());
        }
        return out;
    }
    AxisAnnotation annotation(const QJsonObject &o, const char *key)
    {
        const int v = integer(o, key, 0, 2);
        if (v == 1)
            fail(QStringLiteral("\"%1\" is out of range").arg(QLatin1String(key)));
        return AxisAnnotation(v);
    }

    AxisSettings axis(const QJsonObject &o)
    {
        AxisSettings a;
        a.title = text(o, "title");
        a.minimum = optional(o, "minimum");
        a.maximum = optional(o, "maximum");
        a.gridSpacing = optional(o, "gridSpacing");
        if (a.gridSpacing && *a.gridSpacing < 0)
            fail(QStringLiteral("\"gridSpacing\" is out of range"));
        a.labelFont = font(o, "labelFont");
        a.annotation = annotation(o, "annotation");
        a.tickAnnotation = annotation(o, "tickAnnotation");
        a.valueLabels = pairs<double>(o, "valueLabels");
        return a;
    }

    GroupSettings group(const QJsonObject &o)
    {
        GroupSettings g;
        for (const QJsonValue &v : array(o, "fields")) {
            if (!v.isString())
                fail(QStringLiteral("\"fields\" holds a damaged entry"));
            g.fields << v.toString();
        }
        g.type = ChartType(integer(o, "type", 1, 11));
        g.order = DrawingOrder(integer(o, "drawingOrder", 1, 2));
        g.seriesLabels = boolean(o, "seriesLabels");
        g.pointLabelField = text(o, "pointLabelField");
        g.pointLabels = pairs<int>(o, "pointLabels");
        for (const QJsonValue &v : array(o, "styles")) {
            const QJsonObject so = v.toObject();
            SeriesStyle s;
            s.lineColor = color(so, "lineColor");
            s.lineWidth = integer(so, "lineWidth", 1, 100);
            s.fill = FillPattern(integer(so, "fill", 1, 11));
            s.symbol = SymbolShape(integer(so, "symbol", 1, 11));
            g.styles << s;
        }
        return g;
    }
};

} // namespace

QByteArray chartFormatToJson(const ChartSettings &s)
{
    QJsonObject axes;
    for (size_t i = 0; i < 3; ++i)
        axes.insert(QLatin1String(AxisNames[i]), axisToJson(s.axes[i]));
    QJsonArray bindings;
    for (const MouseBinding &b : s.bindings)
        bindings.append(QJsonArray{b.message, b.modifier, b.key, b.action});
    const QJsonObject root{
        {"format", FormatName},
        {"version", ChartFormatVersion},
        {"widthTwips", s.widthTwips},
        {"heightTwips", s.heightTwips},
        {"header", s.header},
        {"headerFont", s.headerFont.toString()},
        {"footer", s.footer},
        {"footerFont", s.footerFont.toString()},
        {"legendFont", s.legendFont.toString()},
        {"background", s.background.name()},
        {"depth", s.depth},
        {"elevation", s.elevation},
        {"rotation", s.rotation},
        {"markerVisible", s.markerVisible},
        {"axes", axes},
        {"groups", QJsonArray{groupToJson(s.groups[0]), groupToJson(s.groups[1])}},
        {"mouseBindings", bindings},
    };
    return QJsonDocument(root).toJson();
}

bool chartFormatFromJson(const QByteArray &json, ChartSettings *settings, QString *error)
{
    const auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (doc.isNull() || !doc.isObject())
        return refuse(
            QStringLiteral("The chart format file is damaged (%1).").arg(parse.errorString()));
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != FormatName)
        return refuse(QStringLiteral("The file is not a chart format file."));
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() < 1 ||
        version.toDouble() != std::floor(version.toDouble()))
        return refuse(QStringLiteral("The chart format file is damaged (no version)."));
    if (version.toDouble() > ChartFormatVersion)
        return refuse(QStringLiteral("The chart format file was written by a newer version "
                                     "(format %1; this program reads format %2).")
                          .arg(version.toDouble())
                          .arg(ChartFormatVersion));

    Reader r;
    ChartSettings s;
    s.widthTwips = r.integer(root, "widthTwips", 0, 1 << 24);
    s.heightTwips = r.integer(root, "heightTwips", 0, 1 << 24);
    s.header = r.text(root, "header");
    s.headerFont = r.font(root, "headerFont");
    s.footer = r.text(root, "footer");
    s.footerFont = r.font(root, "footerFont");
    s.legendFont = r.font(root, "legendFont");
    s.background = r.color(root, "background");
    s.depth = r.integer(root, "depth", 0, 100);
    s.elevation = r.integer(root, "elevation", -90, 90);
    s.rotation = r.integer(root, "rotation", -90, 90);
    s.markerVisible = r.boolean(root, "markerVisible");
    const QJsonObject axes = r.object(root, "axes");
    for (size_t i = 0; i < 3; ++i)
        s.axes[i] = r.axis(r.object(axes, AxisNames[i]));
    const QJsonArray groups = r.array(root, "groups");
    if (groups.size() != 2)
        r.fail(QStringLiteral("\"groups\" does not hold two chart groups"));
    for (int i = 0; i < groups.size() && i < 2; ++i)
        s.groups[size_t(i)] = r.group(groups[i].toObject());
    if (r.error.isEmpty() && s.groups[0].order == s.groups[1].order)
        r.fail(QStringLiteral("both chart groups have the same drawing order"));
    for (const QJsonValue &v : r.array(root, "mouseBindings")) {
        const QJsonArray b = v.toArray();
        if (b.size() != 4) {
            r.fail(QStringLiteral("\"mouseBindings\" holds a damaged entry"));
            break;
        }
        s.bindings.append(MouseBinding{b[0].toInt(), b[1].toInt(), b[2].toInt(), b[3].toInt()});
    }
    if (!r.error.isEmpty())
        return refuse(QStringLiteral("The chart format file is damaged (%1).").arg(r.error));
    *settings = s;
    return true;
}
