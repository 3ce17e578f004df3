// Starts one of the test server scripts on 127.0.0.1 and stops it when the test ends.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QtTest>

class LocalServer
{
public:
    ~LocalServer() { stop(); }

    // Runs tests/scripts/<script> with `args`; true once it has printed its port.
    bool start(const QString &script, const QStringList &args)
    {
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{QStringLiteral(CORVANE_TEST_SCRIPTS "/") + script} +
                               args);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return false;
        for (int i = 0; i < 100 && !m_process.canReadLine(); ++i)
            m_process.waitForReadyRead(100);
        if (!m_process.canReadLine())
            return false;
        m_port = m_process.readLine().trimmed().toInt();
        return m_port > 0;
    }

    int port() const { return m_port; }

    // Lines the server printed after its port (the HTTP server prints each request).
    QStringList lines()
    {
        m_process.waitForReadyRead(50);
        while (m_process.canReadLine())
            m_lines << QString::fromUtf8(m_process.readLine().trimmed());
        return m_lines;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel(); // the scripts end when their input closes
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

private:
    QProcess m_process;
    int m_port = 0;
    QStringList m_lines;
};
