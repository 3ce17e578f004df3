// Drawing, saving and uploading one daily graph.
#include "graphs/graphexport.h"

#include "charting/chart2d.h"
#include "charting/data/chartsession.h"
#include "core/statusboard.h"
#include "graphs/graphlabels.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>

namespace {

struct AxisSpec
{
    QString title;
    QString first;
    QString second;
};

// "A:B" is two series titled "A & B"; a text without ":" is one series titled as itself.
AxisSpec splitSpec(const QString &spec)
{
    const qsizetype colon = spec.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return {spec, spec, QString()};
    const QString first = spec.left(colon);
    const QString second = spec.mid(colon + 1);
    return {first + QStringLiteral(" & ") + second, first, second};
}

QFont arial(int pointSize)
{
    return QFont(QStringLiteral("Arial"), pointSize);
}

} // namespace

GraphPicture::GraphPicture(ChartSession *shared)
    : m_ownSession(shared ? nullptr : std::make_unique<ChartSession>()),
      m_session(shared ? shared : m_ownSession.get()), m_chart(std::make_unique<Chart2D>())
{
    m_chart->setAttribute(Qt::WA_DontShowOnScreen);
}

GraphPicture::~GraphPicture()
{
    m_chart->setDataSource(nullptr);
}

LogResult openGraphTable(ChartSession &session, const GraphRequest &request)
{
    const int entry = request.tableChoice == 0 ? 0 : 1;
    const bool sameFile =
        session.databasePath() == request.databasePath && entry < session.tables().size();
    if (sameFile && session.table().tableName() == session.tables().at(entry) &&
        session.table().recordCount() > 0)
        return LogResult::success();
    if (!sameFile) {
        const LogResult r = session.openDatabase(request.databasePath);
        if (!r.ok())
            return r;
    }
    if (entry >= session.tables().size())
        return LogResult::failure(QStringLiteral("%1 has no table %2")
                                      .arg(QDir::toNativeSeparators(request.databasePath))
                                      .arg(entry + 1));
    return session.chooseTable(session.tables().at(entry));
}

LogResult GraphPicture::draw(const GraphRequest &request)
{
    LogResult r = openGraphTable(*m_session, request);
    if (!r.ok())
        return r;

    m_chart->suspendRedraw();
    r = bindSeries(request);
    if (!r.ok())
        return r;
    m_chart->setDataSource(&m_session->table());
    m_chart->setHeaderText(request.header);

    const MonthTable &table = m_session->table();
    const int records = table.recordCount();
    int span = records;
    if (request.day >= 1)
        span = LimitAxisToDay(*m_chart, *m_session, qint16(request.day));

    if (request.labelCount > 0 && m_session->xFieldIndex() >= 0)
        addDateTimeLabels(*m_chart, table, m_session->xFieldIndex(),
                          labelPositions(records, request.labelCount, span));

    m_chart->setHeightTwips(request.height * TwipsPerPixel);
    m_chart->setWidthTwips(request.width * TwipsPerPixel);
    m_chart->setHeaderFont(arial(10));
    m_chart->setFooterFont(arial(10));
    m_chart->setAxisLabelFont(ChartAxis::X, arial(8));
    // Refreshed while still suspended: the data is taken now and drawn once, by the save,
    // rather than also on a widget nobody sees.
    m_chart->refresh();
    m_chart->resumeRedraw();
    return LogResult::success();
}

LogResult GraphPicture::bindSeries(const GraphRequest &request)
{
    const AxisSpec y = splitSpec(request.ySpec);
    const AxisSpec y2 = splitSpec(request.y2Spec);
    QStringList group1{y.first};
    if (y.second.size() > 1)
        group1 << y.second;
    QStringList group2;
    for (const QString &field : {y2.first, y2.second})
        if (field.size() > 1)
            group2 << field;

    QStringList wanted = group1 + group2;
    if (m_session->xFieldIndex() >= 0)
        wanted << m_session->fields().at(m_session->xFieldIndex());
    for (const QString &field : std::as_const(wanted))
        if (!m_session->table().hasField(field))
            return LogResult::failure(QStringLiteral("the table \"%1\" has no field \"%2\"")
                                          .arg(m_session->table().tableName(), field));
    LogResult r = m_session->fetch(wanted);
    if (!r.ok())
        return r;

    m_chart->setAxisTitle(ChartAxis::Y, y.title);
    m_chart->setAxisTitle(ChartAxis::Y2, y2.title);
    for (const QString &field : std::as_const(group1))
        m_chart->addBoundField(1, field);
    for (const QString &field : std::as_const(group2))
        m_chart->addBoundField(2, field);

    if (y.second.size() > 1 || y2.first.size() > 1) {
        // Several series: a legend names them.
        for (int series = 1; series <= group2.size(); ++series) {
            m_chart->setSymbolShape(2, series, SymbolShape::None);
            m_chart->setLineWidth(2, series, 1);
        }
        m_chart->setSeriesLabels(1, true);
        m_chart->setSeriesLabels(2, true);
        m_chart->setLegendFont(arial(8));
    }
    return LogResult::success();
}

LogResult GraphPicture::save(const QString &path, int width, int height) const
{
    const QImage image = m_chart->renderImage(QSize(width, height));
    if (image.isNull())
        return LogResult::failure(
            QStringLiteral("a picture of %1 x %2 pixels cannot be drawn").arg(width).arg(height));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return LogResult::failure(file.errorString());
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(100);
    if (!writer.write(image)) {
        file.cancelWriting();
        return LogResult::failure(writer.errorString());
    }
    if (!file.commit())
        return LogResult::failure(file.errorString());
    return LogResult::success();
}

void addDateTimeLabels(Chart2D &chart, const MonthTable &table, int xField,
                       const QVector<int> &positions)
{
    chart.setAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
    chart.clearValueLabels(ChartAxis::X);
    for (int p : positions)
        chart.addValueLabel(ChartAxis::X, p, PadLabel(table.text(xField, p)));
    chart.setTickAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
}

qint16 LimitAxisToDay(Chart2D &chart, const ChartSession &session, qint16 day)
{
    return LimitAxisToDay(chart, session.table(), session.xFieldIndex(), day);
}

qint16 LimitAxisToDay(Chart2D &chart, const MonthTable &table, int xField, qint16 day)
{
    const DayWindow window =
        xField >= 0 ? findDayWindow(table.texts(table.fieldNames().at(xField)), day) : DayWindow{};
    if (window.isEmpty()) {
        // Past the last record: an axis with nothing on it.
        const int records = table.recordCount();
        chart.setAxisMinimum(ChartAxis::X, records);
        chart.setAxisMaximum(ChartAxis::X, records + 1);
        chart.setFooterText(QStringLiteral("No records for day %1").arg(day));
        chart.refresh();
        return 0;
    }
    // One record alone still needs a width to be drawn in.
    const double margin = window.first == window.last ? 0.5 : 0.0;
    chart.setAxisMinimum(ChartAxis::X, window.first - margin);
    chart.setAxisMaximum(ChartAxis::X, window.last + margin);
    chart.refresh();
    return qint16(window.last - window.first);
}

GraphOutcome ExportAndUploadGraph(const GraphRequest &request, const GraphUpload &upload,
                                  StatusBoard &status, ChartSession *shared)
{
    const QString imageName = request.baseName + QStringLiteral(".jpg");
    GraphOutcome outcome;
    GraphPicture picture(shared);
    const LogResult drawn = picture.draw(request);
    if (!drawn.ok()) {
        outcome.kind = GraphOutcome::NotDrawn;
        outcome.statusText =
            QStringLiteral("Graph %1 could not be drawn: %2").arg(imageName, drawn.error);
        status.setStatusText(outcome.statusText);
        return outcome;
    }
    const QString local = QDir(request.imageFolder).filePath(imageName);
    const LogResult saved = picture.save(local, request.width, request.height);
    if (!saved.ok()) {
        outcome.kind = GraphOutcome::NotSaved;
        outcome.statusText =
            QStringLiteral("Graph %1 could not be saved: %2").arg(imageName, saved.error);
        status.setStatusText(outcome.statusText);
        return outcome;
    }
    const QString remote = request.uploadPath + imageName;
    if (!upload || !upload(local, remote)) {
        outcome.kind = GraphOutcome::NotUploaded;
        outcome.statusText = QStringLiteral("Graph %1 could not be uploaded: the graph channel "
                                            "is still busy")
                                 .arg(imageName);
        status.setStatusText(outcome.statusText);
        return outcome;
    }
    outcome.kind = GraphOutcome::Uploading;
    outcome.statusText = QStringLiteral("Uploading ") + remote;
    status.setStatusText(outcome.statusText);
    return outcome;
}
