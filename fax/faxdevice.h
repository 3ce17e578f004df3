// The fax component as the chart window and the device window use it: detect the fax modems,
// turn a picture into a fax document and send it.
#pragma once

#include <QObject>
#include <QString>

// The outcome of a fax step: done, or why not.
struct FaxResult
{
    QString error; // empty when the step succeeded

    bool ok() const { return error.isEmpty(); }
    static FaxResult success() { return {}; }
    static FaxResult failure(const QString &why)
    {
        return {why.isEmpty() ? QStringLiteral("unknown error") : why};
    }
};

// Detection and sending take seconds to minutes, so both only start here and report back by
// signal; the rest answers at once.
class FaxDevice : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxDevices = 4;

    using QObject::QObject;
    ~FaxDevice() override = default;

    // Probes for fax modems; detectionFinished() follows. Ignored while a detection runs.
    virtual void AutoDetect() = 0;
    virtual bool isDetecting() const = 0;
    // The modems found by the last detection, at most MaxDevices.
    virtual int DeviceCount() const = 0;
    // The description of device `index` (0 to DeviceCount() - 1), empty beyond.
    virtual QString Devices(int index) const = 0;
    // The device SendFax dials out on; index 0 when never set.
    virtual void setDeviceIndex(int index) = 0;

    virtual void setFaxNumber(const QString &number) = 0;
    virtual QString FaxNumber() const = 0;
    // Converts the picture `imagePath` into the fax document `faxPath`.
    virtual FaxResult ImportFiles(const QString &faxPath, const QString &imagePath) = 0;
    virtual void setFaxFiles(const QString &faxPath) = 0;
    virtual QString FaxFiles() const = 0;
    // Sends FaxFiles() to FaxNumber(); sendFinished() follows unless the result is a failure
    // (no number, nothing to send, a send already running), in which case nothing was sent.
    virtual FaxResult SendFax() = 0;

signals:
    // "Configuring...Please Wait" while detecting, empty when done.
    void statusChanged(const QString &text);
    void detectionFinished();
    void sendFinished(bool sent, const QString &why);
};
