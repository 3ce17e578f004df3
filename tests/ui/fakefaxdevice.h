// A fax component whose detection ends when the test says so, with the devices it is given.
#pragma once

#include "fax/faxdevice.h"

#include <QStringList>

class FakeFaxDevice final : public FaxDevice
{
    Q_OBJECT
public:
    void AutoDetect() override
    {
        if (m_detecting)
            return;
        m_detecting = true;
        ++detections;
        emit statusChanged(QStringLiteral("Configuring...Please Wait"));
    }
    // Ends the detection in progress with `devices` found.
    void finishDetection()
    {
        m_detecting = false;
        m_found = devices;
        emit statusChanged(QString());
        emit detectionFinished();
    }
    bool isDetecting() const override { return m_detecting; }
    int DeviceCount() const override { return int(m_found.size()); }
    QString Devices(int index) const override { return m_found.value(index); }
    void setDeviceIndex(int index) override { deviceIndex = index; }
    void setFaxNumber(const QString &number) override { m_number = number; }
    QString FaxNumber() const override { return m_number; }
    FaxResult ImportFiles(const QString &, const QString &) override { return {}; }
    void setFaxFiles(const QString &path) override { m_files = path; }
    QString FaxFiles() const override { return m_files; }
    FaxResult SendFax() override { return FaxResult::failure(QStringLiteral("not here")); }

    QStringList devices;
    int detections = 0;
    int deviceIndex = -1;

private:
    bool m_detecting = false;
    QStringList m_found;
    QString m_number;
    QString m_files;
};
