// The daily graph run: five graphs of the current month, each uploaded before the next.
#pragma once

#include "core/job.h"
#include "graphs/graphexport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Clock;
class ChartSession;
class ClockTimer;
class StatusBoard;
struct Configuration;

// GenerateDailyGraphs as a job: each graph is one step; after its upload was started the
// run waits for the graph channel's completion or a deadline on the clock's timer, so that
// logging, publishing and paging carry on meanwhile.
class DailyGraphs : public Job
{
    Q_OBJECT
public:
    // A hanging upload costs this much before the next graph.
    static constexpr int FirstWaitMs = 150 * 1000;
    static constexpr int LaterWaitMs = 120 * 1000;

    // Pictures are written into `programDir`, the month file is read from there.
    DailyGraphs(Clock &clock, const Configuration &config, StatusBoard &status, QString programDir,
                GraphUpload upload, QObject *parent = nullptr);
    ~DailyGraphs() override;

    // The five graphs, in the order they are drawn.
    struct Graph
    {
        const char *statusText;
        const char *field;
        const char *baseName;
    };
    static const Graph Graphs[5];

    // The request the run makes for graph `index` on `today`.
    GraphRequest request(int index, const QDate &today) const;

    // Files made after the five graphs (the run's day given) and uploaded after them in the
    // same way, to GraphUploadPath + their name; none by default.
    using ExtraFiles = std::function<QStringList(const QDate &today)>;
    void setExtraFiles(ExtraFiles make) { m_makeExtraFiles = std::move(make); }

public slots:
    // The graph channel completed an upload.
    void graphUploadDone();

protected:
    void run() override;
    void stopSteps() override;

private:
    void drawNext();
    void uploadExtra(const QString &localFile);
    void waitFor(int ms);
    void waitOver();
    void nextTurn();

    Clock &m_clock;
    const Configuration &m_config;
    StatusBoard &m_status;
    QString m_programDir;
    GraphUpload m_upload;
    ExtraFiles m_makeExtraFiles;
    QStringList m_extraFiles;
    std::unique_ptr<ClockTimer> m_stepTimer;
    // The month as read by the run's first graph; the others draw from it too.
    std::unique_ptr<ChartSession> m_session;
    QDate m_today;
    int m_next = 0;
    bool m_uploadDone = false;
    bool m_waiting = false;
    int m_turnsPending = 0;
};
