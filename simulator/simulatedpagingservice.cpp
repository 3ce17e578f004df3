// The simulated paging service on a pseudo-terminal.
#include "simulator/simulatedpagingservice.h"

SimulatedPagingService::SimulatedPagingService(Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock)
{
}

SimulatedPagingService::~SimulatedPagingService()
{
    m_modem.reset(); // its notifier goes before the descriptor it watches
}

bool SimulatedPagingService::start()
{
    if (m_modem)
        return true;
    if (!m_line.open())
        return false;
    m_devicePath = m_line.slavePath();
    m_modem = std::make_unique<HayesModemSimulator>(m_line.masterFd(), m_clock);
    connect(m_modem.get(), &HayesModemSimulator::pageReceived, this,
            [this](const HayesModemSimulator::Page &page) {
                emit pageReceived(page.pagerNumber, page.message);
            });
    return true;
}
