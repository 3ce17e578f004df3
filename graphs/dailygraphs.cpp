// The steps of the daily graph run.
#include "graphs/dailygraphs.h"

#include "charting/data/chartsession.h"
#include "config/configuration.h"
#include "config/variantvalue.h"
#include "core/clock.h"
#include "core/statusboard.h"
#include "logging/monthdatabase.h"

#include <QFileInfo>
#include <QStringList>

const DailyGraphs::Graph DailyGraphs::Graphs[5] = {
    {"Generating Temperature Graph", "Temperature", "temp"},
    {"Generating Humidity Graph", "Humidity", "humid"},
    {"Generating Dewpoint Graph", "Dewpoint", "dew"},
    {"Generating Average Wind Graph", "Average Wind Speed", "wind"},
    {"Generating Barometer Graph", "SeaLevel Barometric Pressure", "baro"},
};

DailyGraphs::DailyGraphs(Clock &clock, const Configuration &config, StatusBoard &status,
                         QString programDir, GraphUpload upload, QObject *parent)
    : Job(parent), m_clock(clock), m_config(config), m_status(status),
      m_programDir(std::move(programDir)), m_upload(std::move(upload)),
      m_stepTimer(clock.createTimer())
{
    m_stepTimer->setSingleShot(true);
    connect(m_stepTimer.get(), &ClockTimer::timeout, this, &DailyGraphs::waitOver);
}

DailyGraphs::~DailyGraphs() = default;

GraphRequest DailyGraphs::request(int index, const QDate &today) const
{
    GraphRequest r;
    r.databasePath = MonthDatabase(m_programDir, today);
    r.ySpec = QString::fromLatin1(Graphs[index].field);
    r.labelCount = variantNumber(m_config.Graph[GraphStyle]).value_or(0) > 0 ? 25 : 0;
    r.header = variantToText(m_config.Graph[GraphHeader]);
    r.day = 0;
    const std::optional<qint16> size = variantToInt16(m_config.Graph[GraphSize]);
    if (size == 0) {
        r.width = 1024;
        r.height = 768;
    } else if (size == 1) {
        r.width = 640;
        r.height = 480;
    }
    r.tableChoice = -1;
    r.baseName = QString::fromLatin1(Graphs[index].baseName);
    r.imageFolder = m_programDir;
    r.uploadPath = variantToText(m_config.Graph[GraphUploadPath]);
    return r;
}

void DailyGraphs::run()
{
    // The run reads the month file of the day it started, even past midnight.
    m_today = m_clock.now().date();
    m_session = std::make_unique<ChartSession>();
    // The five fields in one pass over the month: each read of a field scans every record.
    // A file or field that fails here fails again, and is reported, at its graph.
    QStringList fields;
    for (const Graph &g : Graphs)
        fields << QString::fromLatin1(g.field);
    if (openGraphTable(*m_session, request(0, m_today)).ok()) {
        if (m_session->xFieldIndex() >= 0)
            fields << m_session->fields().at(m_session->xFieldIndex());
        m_session->fetch(fields);
    }
    m_next = 0;
    m_extraFiles.clear();
    m_waiting = false;
    drawNext();
}

void DailyGraphs::stopSteps()
{
    m_stepTimer->stop();
    m_waiting = false; // a turn still queued finds the run stopped
}

void DailyGraphs::graphUploadDone()
{
    m_uploadDone = true;
    if (m_waiting) {
        m_stepTimer->stop();
        m_waiting = false;
        nextTurn();
    }
}

void DailyGraphs::nextTurn()
{
    // The channel takes a new upload only once its completion has been handled, and the
    // completion is what brings us here: the next graph comes on the next turn of the loop.
    ++m_turnsPending;
    QMetaObject::invokeMethod(
        this,
        [this] {
            --m_turnsPending;
            if (isRunning() && !m_waiting && m_turnsPending == 0)
                drawNext();
        },
        Qt::QueuedConnection);
}

void DailyGraphs::waitOver()
{
    m_waiting = false;
    if (isRunning())
        drawNext();
}

void DailyGraphs::drawNext()
{
    const int graphCount = int(std::size(Graphs));
    if (m_next == graphCount) {
        m_session.reset();
        if (m_makeExtraFiles)
            m_extraFiles = m_makeExtraFiles(m_today);
    }
    if (m_next >= graphCount + m_extraFiles.size()) {
        finish();
        return;
    }
    if (m_next >= graphCount) {
        uploadExtra(m_extraFiles.at(m_next++ - graphCount));
        return;
    }
    const int index = m_next++;
    m_status.setStatusText(QString::fromLatin1(Graphs[index].statusText));
    m_uploadDone = false;
    const GraphOutcome outcome =
        ExportAndUploadGraph(request(index, m_today), m_upload, m_status, m_session.get());

    // A graph that was not uploaded has nothing to wait for, nor one whose upload has
    // completed already.
    if (outcome.kind != GraphOutcome::Uploading || m_uploadDone) {
        nextTurn();
        return;
    }
    waitFor(index == 0 ? FirstWaitMs : LaterWaitMs);
}

void DailyGraphs::uploadExtra(const QString &localFile)
{
    const QString remote =
        variantToText(m_config.Graph[GraphUploadPath]) + QFileInfo(localFile).fileName();
    m_uploadDone = false;
    if (!m_upload(localFile, remote)) {
        m_status.setStatusText(
            QStringLiteral("%1 could not be uploaded: the graph channel is still busy").arg(remote));
        nextTurn();
        return;
    }
    m_status.setStatusText(QStringLiteral("Uploading ") + remote);
    if (m_uploadDone)
        nextTurn();
    else
        waitFor(LaterWaitMs);
}

void DailyGraphs::waitFor(int ms)
{
    m_waiting = true;
    m_stepTimer->setInterval(ms);
    m_stepTimer->start();
}
