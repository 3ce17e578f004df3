// One daily graph: drawn from a month file on a chart of its own, saved as a JPEG, uploaded.
#pragma once

#include "logging/logresult.h"

#include <QString>
#include <QVector>
#include <functional>
#include <memory>

class Chart2D;
class ChartSession;
class MonthTable;
class StatusBoard;

// What a graph is drawn from and where it goes.
struct GraphRequest
{
    QString databasePath;
    QString ySpec;  // "Field" or "First:Second", left axis "Y"
    QString y2Spec; // the same for the right axis "Y2"; empty for none
    int labelCount = 0;
    QString header;
    int day = 0;          // 1..31 draws that day alone
    int width = 0;        // pixels
    int height = 0;       // pixels
    int tableChoice = -1; // -1 the second table of the file, 0 the first
    QString baseName;     // "temp"
    QString imageFolder;  // where "<baseName>.jpg" is written: the program directory
    QString uploadPath;   // the remote folder prefix, GraphUploadPath
};

// Starts "PUT <local> <remote>" on the graph channel; false when it was not started.
using GraphUpload = std::function<bool(const QString &localFile, const QString &remoteFile)>;

// A graph drawn on an offscreen chart that belongs to it alone, so that the user's chart
// window and its lists are never touched.
class GraphPicture
{
public:
    // `shared` keeps the file's table between graphs of one run, so that a month is read
    // once and not five times; without it the picture reads for itself.
    explicit GraphPicture(ChartSession *shared = nullptr);
    ~GraphPicture();

    // Reads the table and fields, binds the series, sets titles, header, labels and day.
    LogResult draw(const GraphRequest &request);
    // Writes the picture as JPEG quality 100 at the request's size. An existing file is
    // replaced only once the new one is complete.
    LogResult save(const QString &path, int width, int height) const;

    Chart2D &chart() { return *m_chart; }
    const ChartSession &session() const { return *m_session; }

private:
    LogResult bindSeries(const GraphRequest &request);
    std::unique_ptr<ChartSession> m_ownSession;
    ChartSession *m_session;
    std::unique_ptr<Chart2D> m_chart;
};

// Takes the request's file and table into `session` unless it holds them already.
LogResult openGraphTable(ChartSession &session, const GraphRequest &request);

// The day window on the chart: the X axis from the day's first record to its last. A day
// without records leaves an empty axis and says so in the footer. Returns last - first.
qint16 LimitAxisToDay(Chart2D &chart, const ChartSession &session, qint16 day);
// The same by the X field `xField` of `table`, which must have been read.
qint16 LimitAxisToDay(Chart2D &chart, const MonthTable &table, int xField, qint16 day);

// The X axis shows exactly the date/time labels at `positions`: PadLabel of the X field's
// text there (`xField` of `table`, read). Labels of an earlier walk go.
void addDateTimeLabels(Chart2D &chart, const MonthTable &table, int xField,
                       const QVector<int> &positions);

// How one graph went.
struct GraphOutcome
{
    enum Kind { Uploading, NotDrawn, NotSaved, NotUploaded };
    Kind kind = NotDrawn;
    QString statusText; // what was shown last
};

// Draws, saves and starts the upload of one graph, showing "Uploading <remote name>" or why
// it could not. Returns once the upload has been handed to the channel. `shared` as for
// GraphPicture.
GraphOutcome ExportAndUploadGraph(const GraphRequest &request, const GraphUpload &upload,
                                  StatusBoard &status, ChartSession *shared = nullptr);
