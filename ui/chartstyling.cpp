// The chart window's menus and its style commands: type, fill, symbol, colours, 3D view,
// line width, grids, titles and the scrolling time axis.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "ui/chartdialogs.h"

#include <QComboBox>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>

namespace {

struct Choice
{
    const char *objectName;
    const char *caption;
    int value; // the chart's enumeration value
};

const Choice kChartTypes[] = {
    {"m_plot", "Plot", 1},
    {"m_bar", "Bar", 2},
    {"m_pie", "Pie", 3},
    {"m_stackbar", "Stacking Bar", 4},
    {"m_area", "Area", 5},
    {"m_hilo", "HiLo", 6},
    {"m_hiloopenclose", "HiLoOpenClose", 7},
    {"m_candle", "Candle", 8},
    {"m_polar", "Polar", 9},
    {"m_radar", "Radar", 10},
    {"m_filledradar", "Filled Radar", 11},
};

const Choice kFills[] = {
    {"m_n", "None", 1},
    {"m_solid", "Solid", 2},
    {"m_25percent", "25 Percent", 3},
    {"m_50percent", "50 Percent", 4},
    {"m_75percent", "75 Percent", 5},
    {"m_hs", "Horizontal Stripe", 6},
    {"m_vs", "Vertical Stripe", 7},
    {"m_45ds", "45 Degree Stripe", 8},
    {"m_135ds", "135 Degree Stripe", 9},
    {"m_dh", "Diag Hatched", 10},
    {"m_ch", "Cross Hatched", 11},
};

const Choice kSymbols[] = {
    {"m_none", "None", 1},
    {"m_dot", "Dot", 2},
    {"m_box", "Box", 3},
    {"m_triangle", "Triangle", 4},
    {"m_diamond", "Diamond", 5},
    {"m_star", "Star", 6},
    {"m_verticalline", "Vertical Line", 7},
    {"m_horizontalline", "Horizontal Line", 8},
    {"m_cross", "Cross", 9},
    {"m_circle", "Circle", 10},
    {"m_square", "Square", 11},
};

const QString kInvalidNumber = QStringLiteral("Invalid Number Entered");

// A whole number as an input box gives it; empty for anything else (a cancel included).
// The chart limits the 3D values itself; the bound only keeps qRound inside an int.
std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || v < -1e6 || v > 1e6)
        return std::nullopt;
    return qRound(v);
}

} // namespace

QAction *ChartMain::addAction(QWidget *where, const char *objectName, const QString &caption)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(objectName));
    where->addAction(a);
    m_actions.insert(a->objectName(), a);
    return a;
}

void ChartMain::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(addAction(file, "m_openrange", QStringLiteral("Open Range...")), &QAction::triggered,
            this, &ChartMain::askRange);
    connect(addAction(file, "m_lf", QStringLiteral("Load Chart Type")), &QAction::triggered, this,
            &ChartMain::loadChartType);
    connect(addAction(file, "m_sf", QStringLiteral("Save Chart Type")), &QAction::triggered, this,
            &ChartMain::saveChartType);
    QAction *fax = addAction(file, "m_faxgraph", QStringLiteral("Fax Graph"));
    fax->setEnabled(false); // until a fax component is given
    connect(fax, &QAction::triggered, this, &ChartMain::faxGraph);
    file->addSeparator();
    connect(addAction(file, "M_Exit", QStringLiteral("E&xit")), &QAction::triggered, this,
            &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    connect(addAction(edit, "m_cleargraph", QStringLiteral("Clear ChartGroup")),
            &QAction::triggered, this, &ChartMain::clearChartGroup);
    connect(addAction(edit, "m_removeseries", QStringLiteral("Remove Series")), &QAction::triggered,
            this, &ChartMain::removeSeriesKeepTitle);
    connect(addAction(edit, "m_drawingorder", QStringLiteral("Bring Group To Front")),
            &QAction::triggered, this,
            [this] { m_chart->setDrawingOrder(activeGroup(), DrawingOrder::Front); });
    connect(addAction(edit, "m_sgtb", QStringLiteral("Send Group To Back")), &QAction::triggered,
            this, [this] { m_chart->setDrawingOrder(activeGroup(), DrawingOrder::Back); });
    edit->addSeparator();
    connect(addAction(edit, "m_ctc", QStringLiteral("Copy to Clipboard")), &QAction::triggered,
            this, &ChartMain::copyChart);
    connect(addAction(edit, "m_siabmp", QStringLiteral("Save Graph As JPEG")), &QAction::triggered,
            this, &ChartMain::saveChartJpeg);

    QMenu *data = menuBar()->addMenu(QStringLiteral("&Data"));
    connect(addAction(data, "m_sr", QStringLiteral("&Select DataSource")), &QAction::triggered,
            this, &ChartMain::SelectDataSource);

    buildStyleMenus();
    QAction *math = addAction(menuBar(), "m_m", QStringLiteral("&Math"));
    math->setEnabled(false); // until the focus is in a series list
    connect(math, &QAction::triggered, this, &ChartMain::Math);
    buildLabelMenus();

    QMenu *print = menuBar()->addMenu(QStringLiteral("&Print"));
    const struct
    {
        const char *objectName;
        const char *caption;
        PrintFormat format;
        PrintScaling scaling;
    } prints[] = {
        {"m_ps", "Standard ", PrintFormat::Vector, PrintScaling::Standard},
        {"m_pm", "Fit to Page", PrintFormat::Picture, PrintScaling::FitPage},
        {"m_fth", "Fit to Height", PrintFormat::Vector, PrintScaling::FitHeight},
        {"m_ftw", "Fit to Width", PrintFormat::Vector, PrintScaling::FitWidth},
    };
    for (const auto &p : prints) {
        connect(addAction(print, p.objectName, QString::fromLatin1(p.caption)), &QAction::triggered,
                this,
                [this, format = p.format, scaling = p.scaling] { printChart(format, scaling); });
    }
    print->addSeparator();
    connect(addAction(print, "m_autograph", QStringLiteral("Automated Reporting...")),
            &QAction::triggered, this, &ChartMain::showAutoGraph);
}

void ChartMain::buildStyleMenus()
{
    const auto choices = [this](const QString &title, const auto &table, auto apply) {
        QMenu *menu = menuBar()->addMenu(title);
        for (const Choice &c : table) {
            connect(addAction(menu, c.objectName, QString::fromLatin1(c.caption)),
                    &QAction::triggered, this, [this, apply, v = c.value] {
                        styleSeries([=](int g, int s) { apply(g, s, v); });
                    });
        }
    };
    Chart2D *chart = m_chart;
    choices(QStringLiteral("Graph &Type"), kChartTypes,
            [chart](int g, int, int v) { chart->setChartType(g, ChartType(v)); });
    choices(QStringLiteral("Fill Style"), kFills,
            [chart](int g, int s, int v) { chart->setFillPattern(g, s, FillPattern(v)); });
    choices(QStringLiteral("&Symbol Style"), kSymbols,
            [chart](int g, int s, int v) { chart->setSymbolShape(g, s, SymbolShape(v)); });

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    connect(addAction(options, "m_lc", QStringLiteral("Line Color")), &QAction::triggered, this,
            [this] {
                styleSeries([this](int g, int s) {
                    QPointer<ChartMain> self(this);
                    m_dialogs.chooseColor(this, m_chart->seriesStyle(g, s).lineColor,
                                          [self, g, s](const QColor &c) {
                                              if (self && c.isValid())
                                                  self->m_chart->setLineColor(g, s, c);
                                          });
                });
            });
    connect(addAction(options, "m_bc", QStringLiteral("BackGround Color")), &QAction::triggered,
            this, [this] {
                QPointer<ChartMain> self(this);
                m_dialogs.chooseColor(this, m_chart->backgroundColor(), [self](const QColor &c) {
                    if (self && c.isValid())
                        self->m_chart->setBackgroundColor(c);
                });
            });
    const struct
    {
        const char *objectName;
        const char *caption;
        const char *prompt;
        const char *preset;
        void (Chart2D::*set)(int);
    } views[] = {
        {"m_3ddepth", "3D Depth", "Please Enter Amount Of Depth", "5", &Chart2D::setDepth3D},
        {"m_3drotation", "3D Rotation", "Please Enter Amount Of Rotation", "10",
         &Chart2D::setRotation3D},
        {"m_3delevation", "3D Elevation", "Please Enter Amount Of Elevation", "5",
         &Chart2D::setElevation3D},
    };
    for (const auto &v : views) {
        connect(addAction(options, v.objectName, QString::fromLatin1(v.caption)),
                &QAction::triggered, this, [this, v] {
                    askNumber(QString::fromLatin1(v.prompt), QString::fromLatin1(v.preset),
                              [this, set = v.set](int n) { (m_chart->*set)(n); });
                });
    }
    connect(addAction(options, "m_lw", QStringLiteral("Line Width")), &QAction::triggered, this,
            &ChartMain::askLineWidth);
    for (const auto &[name, caption, axis] : {std::tuple{"m_xag", "X Axis Grid", ChartAxis::X},
                                              std::tuple{"m_yag", "Y Axis Grid", ChartAxis::Y}}) {
        QAction *grid = addAction(options, name, QString::fromLatin1(caption));
        grid->setCheckable(true);
        grid->setChecked(m_chart->gridSpacing(axis) != 0.0);
        // Checked: the chart's own spacing; unchecked: no grid.
        connect(grid, &QAction::toggled, this, [this, axis = axis](bool on) {
            m_chart->setGridSpacing(axis, on ? std::nullopt : std::optional<double>(0.0));
        });
    }
    QAction *scrolling = addAction(options, "m_sta", QStringLiteral("Scrolling Time Axis"));
    scrolling->setCheckable(true);
    connect(scrolling, &QAction::toggled, this, &ChartMain::setScrollingTimeAxis);
    connect(m_chart, &Chart2D::mouseAt, this, &ChartMain::followPointer);
}

void ChartMain::buildLabelMenus()
{
    QMenu *labels = menuBar()->addMenu(QStringLiteral("&Labels"));
    Chart2D *chart = m_chart;
    connect(addAction(labels, "m_ih", QStringLiteral("Insert Header")), &QAction::triggered, this,
            [this, chart] {
                askTitle(
                    QStringLiteral("Please Enter Header Text."),
                    [chart] { return chart->headerText(); },
                    [chart](const QString &t) { chart->setHeaderText(t); });
            });
    connect(addAction(labels, "m_if", QStringLiteral("Insert Footer")), &QAction::triggered, this,
            [this, chart] {
                askTitle(
                    QStringLiteral("Please Enter Footer Text."),
                    [chart] { return chart->footerText(); },
                    [chart](const QString &t) { chart->setFooterText(t); });
            });
    QAction *seriesLabels = addAction(labels, "m_sl", QStringLiteral("Series Labels"));
    seriesLabels->setCheckable(true);
    connect(seriesLabels, &QAction::toggled, this, [chart](bool on) {
        chart->setSeriesLabels(1, on);
        chart->setSeriesLabels(2, on);
    });
    for (const auto &[name, caption, axis] :
         {std::tuple{"m_xal", "X Axis Label", ChartAxis::X},
          std::tuple{"m_yal", "Y Axis Label", ChartAxis::Y},
          std::tuple{"m_y2al", "Y2 Axis Label", ChartAxis::Y2}}) {
        connect(addAction(labels, name, QString::fromLatin1(caption)), &QAction::triggered, this,
                [this, chart, axis = axis] {
                    askTitle(
                        QStringLiteral("Please Enter Text"),
                        [chart, axis] { return chart->axisTitle(axis); },
                        [chart, axis](const QString &t) { chart->setAxisTitle(axis, t); });
                });
    }
    connect(addAction(labels, "m_xadt", QStringLiteral("X Axis Date/Time")), &QAction::triggered,
            this, &ChartMain::askDateTimeLabels);
    connect(addAction(labels, "m_sortdata", QStringLiteral("Chart Day")), &QAction::triggered, this,
            &ChartMain::askChartDay);
}

void ChartMain::styleSeries(const std::function<void(int, int)> &change)
{
    const int s = activeSeries();
    if (s > 0)
        change(activeGroup(), s);
}

void ChartMain::askNumber(const QString &prompt, const QString &preset,
                          const std::function<void(int)> &set)
{
    QPointer<ChartMain> self(this);
    m_dialogs.askText(this, prompt, preset, [self, set](const QString &answer) {
        if (!self)
            return;
        if (const std::optional<int> n = wholeNumber(answer))
            set(*n);
    });
}

void ChartMain::askTitle(const QString &prompt, const std::function<QString()> &get,
                         const std::function<void(const QString &)> &set)
{
    QPointer<ChartMain> self(this);
    m_dialogs.askText(this, prompt, get(), [self, set](const QString &answer) {
        if (self)
            set(answer); // a cancel empties the text
    });
}

void ChartMain::askLineWidth()
{
    styleSeries([this](int g, int s) {
        QPointer<ChartMain> self(this);
        m_dialogs.askText(this, QStringLiteral("Please enter pen size(1 to 5)"), QString(),
                          [self, g, s](const QString &answer) {
                              if (!self)
                                  return;
                              bool ok = false;
                              const double v = answer.trimmed().toDouble(&ok);
                              int width = qRound(v);
                              if (!ok || v < 1 || v > 5) {
                                  self->m_dialogs.tell(self, kInvalidNumber);
                                  width = 1;
                              }
                              self->m_chart->setLineWidth(g, s, width);
                          });
    });
}

void ChartMain::setScrollingTimeAxis(bool on)
{
    QAction *item = m_actions.value(QStringLiteral("m_sta"));
    if (item->isChecked() != on) {
        item->setChecked(on); // comes back here through toggled
        return;
    }
    m_chart->setMarkerVisible(on);
    QString field;
    if (on) {
        field = m_xField->currentText();
        m_wanted << field; // the labels are the X field's texts
        fetchWanted();
    } else {
        m_chart->setFooterText(QString());
    }
    m_chart->setPointLabelField(1, field);
    m_chart->setPointLabelField(2, field);
    m_chart->setAnnotation(ChartAxis::X, AxisAnnotation::Values);
}

void ChartMain::followPointer(int xTwips, int yTwips)
{
    const int g = activeGroup();
    const int s = activeSeries();
    if (!m_actions.value(QStringLiteral("m_sta"))->isChecked() || s == 0)
        return;
    const QPoint pixel(xTwips / TwipsPerPixel, yTwips / TwipsPerPixel);
    const int point = m_chart->nearestPoint(g, s, pixel);
    if (point < 0 || !m_chart->moveMarkerTo(g, s, point))
        return;
    const QString name = seriesList(g)->item(s - 1)->text();
    m_chart->setFooterText(name + QLatin1Char(' ') + QString::number(m_chart->yValue(g, s, point)) +
                           QStringLiteral("  ") + m_chart->pointLabel(1, point));
}
