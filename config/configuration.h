// The program-wide settings, as held in memory after the configuration file is read.
#pragma once

#include <QString>
#include <QVariant>
#include <array>

// One row of the pager table. Values are variants as read from the file; comparisons
// made on them (Enabled = 1, PageType = 0) are numeric.
struct PagerRow
{
    QVariant PagerNumber;   // text
    QVariant CompanyNumber; // text, dialled as given
    QVariant Enabled;       // 1 = in use
    QVariant PageType;      // 0 Hourly, 1 Daily, 2 Wind, 3 Temperature, 4 Dewpoint, 5 Humidity,
                            // 6 Barometer, 7 Rainfall alarm; -1 nothing chosen
    QVariant AlarmType;     // 0 None, 1 High, 2 Low; -1 nothing chosen
    QVariant AlarmSetting;  // threshold text in display units
};

// Indices of the six graph settings held in Configuration::Graph.
enum GraphSetting {
    GraphStyle = 0,      // list index
    GraphSize = 1,       // list index: 0 "1024 x 768", 1 "640 x 480"
    GraphHeader = 2,     // text
    GraphUploadPath = 3, // text
    GraphUploadTime = 4, // QDateTime; only hour and minute count
    UploadGraphs = 5     // 1 = run the daily graph job
};

// The 59 values of "Corvane.cfg", in file order. The four FTP values (RemoteHost ..
// Password) are kept here too, so that both FTP channels can be given them in one call.
struct Configuration
{
    qint16 StationPort = 0;
    QString RemoteHost;
    QString RemotePort;
    QString UserName;
    QString Password;
    QString UploadPath;
    QString TemplateFile1;
    QString OutputFile1;
    qint16 UploadInterval = 0;  // minutes; 0 or less: no publishing
    bool AutoDisconnect = false;
    QString NwsRemoteHost;
    QString NwsDownloadPath;
    QString NwsStartKey;
    QString NwsEndKey;
    QString HourlyPageTemplate;
    QString TemplateFile2;
    QString OutputFile2;
    QString UploadPath2;
    qint16 LoggingInterval = 0; // minutes; 0 or less: no logging (written as quoted text)
    qint16 DisplayUnits = 0;    // 0 English, any other value Metric
    QString DailyPageTemplate;
    std::array<PagerRow, 5> Pagers;
    QVariant PagerPort; // integer 1-8, or empty
    QVariant FtpPort;   // integer 1-8, or empty
    std::array<QVariant, 6> Graph;

    bool metric() const { return DisplayUnits != 0; }
};

// The file's name in the program directory.
inline QString configurationFileName()
{
    return QStringLiteral("Corvane.cfg");
}
