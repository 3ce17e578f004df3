// Transfer state texts and actions.
#include "publishing/transferstatus.h"

#include "core/clock.h"
#include "core/datetimeformat.h"
#include "core/statusboard.h"
#include "core/transferlog.h"
#include "publishing/transferchannel.h"

QString transferStateMessage(TransferRole role, int state, const QDateTime &now)
{
    const QString time = generalDate(now);
    switch (state) {
    case TransferState::None:
        return QStringLiteral("No state to report.");
    case TransferState::Resolving:
        return QStringLiteral(
            "Corvane is looking up the IP address of the specified host computer.");
    case TransferState::Resolved:
        return QStringLiteral(
            "Corvane successfully found the IP address of the specified host computer.");
    case TransferState::Connecting:
        return QStringLiteral("Corvane is connecting to the host computer.");
    case TransferState::Connected:
        return QStringLiteral("Corvane successfully connected to the host computer.");
    case TransferState::Requesting:
        return QStringLiteral("Corvane is sending a request to the host computer.");
    case TransferState::RequestSent:
        return QStringLiteral("Corvane successfully sent the request.");
    case TransferState::Receiving:
        return QStringLiteral("Corvane is receiving a response from the host computer.");
    case TransferState::ResponseReceived:
        if (role == TransferRole::Forecast)
            return QStringLiteral(
                "Corvane successfully received a response from the host computer.");
        return QStringLiteral(
                   "Corvane successfully received a response from the host computer at ") +
               time;
    case TransferState::Disconnecting:
        return QStringLiteral("Corvane is disconnecting from the host computer.");
    case TransferState::Disconnected:
        return QStringLiteral("Corvane successfully disconnected from the host computer at ") +
               time;
    case TransferState::Error:
        return QStringLiteral("An error occurred in communicating with the host computer.");
    case TransferState::Completed:
        return QStringLiteral(
                   "Corvane has processed the request and all data has been transfered as of ") +
               time;
    default:
        return QString();
    }
}

TransferStatusHandler::TransferStatusHandler(TransferChannel &channel, TransferRole role,
                                             const Clock &clock, StatusBoard &status,
                                             QObject *parent)
    : QObject(parent), m_channel(channel), m_role(role), m_clock(clock), m_status(status)
{
    connect(&channel, &TransferChannel::stateChanged, this, &TransferStatusHandler::onStateChanged);
}

void TransferStatusHandler::onStateChanged(int state)
{
    const QString text = transferStateMessage(m_role, state, m_clock.now());
    if (!text.isNull())
        m_status.setStatusText(text);
    if (state == TransferState::Error ||
        (state == TransferState::Disconnected && m_role == TransferRole::Forecast))
        m_channel.cancel();
    else if (state == TransferState::Completed)
        emit requestCompleted();
}

void logTransferReasons(TransferChannel &channel, const Clock &clock, StatusBoard &status,
                        TransferLog &log)
{
    QObject::connect(&channel, &TransferChannel::failed, &log,
                     [&clock, &log](const QString &reason) {
                         log.add({clock.now(), reason, TransferLogEntry::Failure});
                     });
    QObject::connect(&channel, &TransferChannel::noted, &log,
                     [&clock, &status, &log](const QString &text) {
                         status.setStatusText(text);
                         log.add({clock.now(), text, TransferLogEntry::Note});
                     });
}
