// The simulated paging service on a pseudo-terminal.
#include "paging/simulatedpagingservice.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

SimulatedPagingService::SimulatedPagingService(Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock)
{
}

SimulatedPagingService::~SimulatedPagingService()
{
    m_modem.reset(); // its notifier goes before the descriptor it watches
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool SimulatedPagingService::start()
{
    if (m_modem)
        return true;
    char name[256] = {};
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return false;
    termios raw{};
    if (tcgetattr(slave, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slave = slave;
    m_devicePath = QString::fromLocal8Bit(name);
    m_modem = std::make_unique<HayesModemSimulator>(m_master, m_clock);
    connect(m_modem.get(), &HayesModemSimulator::pageReceived, this,
            [this](const HayesModemSimulator::Page &page) {
                emit pageReceived(page.pagerNumber, page.message);
            });
    return true;
}
