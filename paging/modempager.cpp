// The queue of page calls in front of the modem.
#include "paging/modempager.h"

#include "acquisition/serialport.h"
#include "config/configuration.h"
#include "config/variantvalue.h"

bool pagerPortIsFtpPort(const Configuration &config)
{
    const auto pager = variantNumber(config.PagerPort);
    const auto ftp = variantNumber(config.FtpPort);
    return pager && ftp && *pager == *ftp;
}

ModemPager::ModemPager(const Configuration &config, const ModemPagerWiring &wiring, Clock &clock,
                       StatusBoard &status, QObject *parent)
    : QObject(parent), m_config(config), m_wiring(wiring), m_clock(clock), m_status(status)
{
}

ModemPager::~ModemPager() = default;

void ModemPager::SendPage(const QString &pagerNumber, const QString &message,
                          const QString &companyNumber)
{
    m_queue.enqueue({pagerNumber, message, companyNumber});
    if (!m_current)
        startNext();
}

void ModemPager::abandonCalls()
{
    m_queue.clear();
    if (!m_current)
        return;
    m_current->disconnect(this);
    m_current->abandon();
    m_current->deleteLater();
    m_current = nullptr;
}

bool ModemPager::reopenPort()
{
    if (m_current || !m_wiring.port)
        return true;
    SerialPort &port = *m_wiring.port;
    port.close();
    const PagerLine line = lineForNextCall();
    port.setDevicePath(line.devicePath);
    if (line.devicePath.isEmpty()) // no pager port set
        return true;
    port.setSettings(pagingLineSettings());
    return port.open();
}

PagerLine ModemPager::lineForNextCall() const
{
    PagerLine line;
    line.port = m_wiring.port;
    const auto port = variantNumber(m_config.PagerPort);
    if (m_wiring.devicePathForPort)
        line.devicePath = m_wiring.devicePathForPort(port ? int(*port) : 0);
    line.hangUpDialupFirst = pagerPortIsFtpPort(m_config);
    line.hangUpDialup = m_wiring.hangUpDialup;
    return line;
}

void ModemPager::startNext()
{
    if (m_queue.isEmpty()) {
        emit idle();
        return;
    }
    const PageRequest request = m_queue.dequeue();
    m_current = new PageDialogue(request, lineForNextCall(), m_clock, m_status, this);
    connect(m_current, &PageDialogue::finished, this, [this, request](PageOutcome outcome) {
        // The dialogue finishes from inside its own timer: it is deleted later, and the
        // next call starts from the event loop rather than nested in this one.
        m_current->deleteLater();
        m_current = nullptr;
        emit pageFinished(request, outcome);
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_current)
                    startNext();
            },
            Qt::QueuedConnection);
    });
    m_current->start();
}
