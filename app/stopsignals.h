// SIGINT and SIGTERM turned into a Qt signal, for both modes of the program.
#pragma once

#include <QObject>

class QSocketNotifier;

// The handlers only write the signal's number into a pipe, which the event loop reads, so a
// stop request is handled between two events and never inside one.
class StopSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers. Call it before anything that can take long (reading the
    // configuration, opening ports): a request made meanwhile waits in the pipe until the
    // event loop runs. False, with errno set, when it cannot.
    static bool install();

    // Watches the pipe; needs the application object.
    explicit StopSignals(QObject *parent = nullptr);

signals:
    void stopRequested(int signo);

private:
    QSocketNotifier *m_notifier;
};
