// The self-pipe behind StopSignals.
#include "app/stopsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler can reach nothing but a global; the program installs one pipe.
int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here.
extern "C" void onStopSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

bool StopSignals::install()
{
    if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa = {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &sa, nullptr) == 0 && ::sigaction(SIGTERM, &sa, nullptr) == 0;
}

StopSignals::StopSignals(QObject *parent)
    : QObject(parent), m_notifier(new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char signo = 0;
        unsigned char byte = 0;
        while (::read(g_signalPipe[0], &byte, 1) == 1)
            signo = byte;
        if (signo != 0)
            emit stopRequested(int(signo));
    });
}
