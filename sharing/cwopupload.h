// One CWOP report: log in to an APRS-IS server, send the packet, leave.
#pragma once

#include "core/job.h"
#include "sharing/networkupload.h"

#include <QByteArray>
#include <memory>

class Clock;
class ClockTimer;
class QTcpSocket;

// Steps: connect; send the login line; on the server's "# logresp" line send the packet
// and close, which is done once the socket has written it. The whole exchange is given
// `limitMs` on the clock.
class CwopUpload final : public Job
{
    Q_OBJECT
public:
    static constexpr int DefaultLimitMs = 30000;

    CwopUpload(Clock &clock, const QString &server, int port, const QByteArray &login,
               const QByteArray &packet, int limitMs = DefaultLimitMs, QObject *parent = nullptr);
    ~CwopUpload() override;

    UploadResult result() const { return m_result; }

protected:
    void run() override;
    void stopSteps() override;

private:
    void onReadyRead();
    void end(UploadResult::Kind kind, const QString &reason);

    Clock &m_clock;
    QString m_server;
    int m_port;
    QByteArray m_login;
    QByteArray m_packet;
    int m_limitMs;
    bool m_packetSent = false;
    QByteArray m_buffer;
    std::unique_ptr<QTcpSocket> m_socket;
    std::unique_ptr<ClockTimer> m_deadline;
    UploadResult m_result;
};
