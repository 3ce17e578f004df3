// Reopening a lost station port.
#include "acquisition/portkeeper.h"

#include "acquisition/serialport.h"
#include "core/clock.h"

PortKeeper::PortKeeper(SerialPort &port, Clock &clock, QObject *parent)
    : QObject(parent), m_port(port), m_clock(clock), m_retry(clock.createTimer(this))
{
    m_retry->setSingleShot(true);
    connect(m_retry.get(), &ClockTimer::timeout, this, &PortKeeper::retry);
    connect(&m_port, &SerialPort::lost, this, &PortKeeper::onLost);
}

PortKeeper::~PortKeeper() = default;

bool PortKeeper::open()
{
    m_retry->stop();
    if (m_port.open()) {
        m_downSinceMs = -1;
        return true;
    }
    // Not a loss to report: the caller says why it failed. Its coming is reported.
    m_downSinceMs = m_clock.monotonicMs();
    m_reportReturn = true;
    scheduleRetry();
    return false;
}

void PortKeeper::close()
{
    m_retry->stop();
    m_downSinceMs = -1;
    m_reportReturn = false;
    m_port.close();
}

bool PortKeeper::isRetrying() const
{
    return m_retry->isActive();
}

void PortKeeper::onLost(const QString &why)
{
    if (m_downSinceMs < 0)
        m_downSinceMs = m_clock.monotonicMs();
    const bool firstReport = !m_reportReturn;
    m_reportReturn = true;
    if (firstReport)
        emit lost(why);
    scheduleRetry();
}

void PortKeeper::retry()
{
    if (!m_port.open()) {
        scheduleRetry();
        return;
    }
    m_downSinceMs = -1;
    if (m_reportReturn) {
        m_reportReturn = false;
        emit returned();
    }
}

void PortKeeper::scheduleRetry()
{
    const qint64 down = m_clock.monotonicMs() - m_downSinceMs;
    m_retry->setInterval(down < FirstRetryPhaseMs ? FirstRetryMs : LaterRetryMs);
    m_retry->start();
}
