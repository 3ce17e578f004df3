// A pseudo-terminal pair: code under test opens slavePath() as its serial port, the test
// plays the device on the master side.
#pragma once

#include <QByteArray>
#include <QString>

class PtyPair
{
public:
    PtyPair();  // opens the pair in raw mode; isValid() says whether it worked
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // Writes all of `data` to the device side (what the port will read).
    bool writeToPort(const QByteArray &data);
    // Reads what the port has written so far, without blocking.
    QByteArray readFromPort();
    // Hangs up the device side: the port's next read fails as if it were unplugged.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the pair survives the port being closed and reopened
    QString m_slavePath;
};
