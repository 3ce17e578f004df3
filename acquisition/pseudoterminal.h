// A pseudo-terminal pair in raw mode: a simulator or a test plays the device on the master
// side, and a serial port opens the slave side as if it were a device.
#pragma once

#include <QByteArray>
#include <QString>

class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens a new pair; false with errorString() set when the system has none to give.
    bool open();
    // Closes both sides: a port that has the slave open sees the device hang up, as if
    // it were unplugged.
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    // The device side's descriptor, for a simulator that watches it itself.
    int masterFd() const { return m_master; }
    QString errorString() const { return m_error; }

    // Writes to the device side without blocking; false when not all of `data` fit
    // (no reader and a full buffer), in which case the rest is dropped.
    bool write(const QByteArray &data);
    // What the port side has written, without blocking.
    QByteArray readAvailable();

private:
    int m_master = -1;
    int m_slave = -1; // held open so that the line stays up while no port has it open
    QString m_slavePath;
    QString m_error;
};
