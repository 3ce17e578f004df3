// Dial-up control: nmcli calls queued and run asynchronously, with a deadline each.
#include "dialup/dialupcontrol.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// nmcli's terse output escapes ':' and '\' with a backslash.
QString unescapeTerse(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == QLatin1Char('\\') && i + 1 < field.size())
            ++i;
        out += field.at(i);
    }
    return out;
}

// The names of the active connections as nmcli knows them.
QStringList activeNames(const QByteArray &output)
{
    QStringList names;
    const QStringList lines = QString::fromUtf8(output).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            names << unescapeTerse(line);
    }
    return names;
}

} // namespace

DialupControl::DialupControl(Clock &clock, StatusBoard &status, QObject *parent)
    : QObject(parent), m_status(status), m_hangupTimer(clock.createTimer(this)),
      m_callTimeout(clock.createTimer(this))
{
    m_hangupTimer->setObjectName(QStringLiteral("HangupTimer"));
    m_hangupTimer->setSingleShot(true);
    m_hangupTimer->setInterval(HangupDelayMs);
    connect(m_hangupTimer.get(), &ClockTimer::timeout, this, [this] {
        m_hangupTimer->stop();
        HangUpDialup();
    });
    m_callTimeout->setSingleShot(true);
    m_callTimeout->setInterval(CallTimeoutMs);
    connect(m_callTimeout.get(), &ClockTimer::timeout, this, [this] {
        if (m_process)
            m_process->kill(); // reported through QProcess::finished as a failed call
    });
}

DialupControl::~DialupControl()
{
    if (!m_process)
        return;
    // The call is killed and its process object outlives this one, without a wait: it
    // reaps the child and deletes itself when the event loop sees the end. Should corvane
    // end first, the system reaps the child.
    m_process->disconnect(this);
    m_process->setParent(nullptr);
    connect(m_process, &QProcess::finished, m_process, &QObject::deleteLater);
    m_process->kill();
}

bool DialupControl::isBusy() const
{
    return m_process || !m_queue.isEmpty();
}

void DialupControl::dial()
{
    enqueue({Step::Dial,
             {QStringLiteral("connection"), QStringLiteral("up"), QStringLiteral("id"),
              QString::fromLatin1(DialEntryName)}});
}

void DialupControl::HangUpDialup()
{
    enqueue({Step::List,
             {QStringLiteral("-t"), QStringLiteral("-f"), QStringLiteral("NAME"),
              QStringLiteral("connection"), QStringLiteral("show"), QStringLiteral("--active")}});
}

void DialupControl::armHangupTimer()
{
    m_hangupTimer->start();
}

void DialupControl::enqueue(const Call &call, bool first)
{
    if (first)
        m_queue.prepend(call);
    else
        m_queue.append(call);
    scheduleNext();
}

// Calls start from the event loop, never inside the caller's own call.
void DialupControl::scheduleNext()
{
    if (m_nextScheduled || m_process || m_queue.isEmpty())
        return;
    m_nextScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_nextScheduled = false;
            startNext();
        },
        Qt::QueuedConnection);
}

void DialupControl::startNext()
{
    if (m_process || m_queue.isEmpty())
        return;
    const Call call = m_queue.takeFirst();
    // Looked up on every call, so that installing NetworkManager needs no restart.
    const QString nmcli = QStandardPaths::findExecutable(QStringLiteral("nmcli"));
    if (nmcli.isEmpty()) {
        reportMissingNmcli();
        callEnded(call.step, false, {});
        scheduleNext();
        return;
    }
    m_runningStep = call.step;
    m_process = new QProcess(this);
    m_process->setProgram(nmcli);
    m_process->setArguments(call.arguments);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                processEnded(status == QProcess::NormalExit && exitCode == 0);
            });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) // no finished() follows this one
            processEnded(false);
    });
    m_callTimeout->start();
    m_process->start();
}

void DialupControl::processEnded(bool ok)
{
    m_callTimeout->stop();
    QProcess *process = m_process;
    m_process = nullptr;
    const QByteArray output = ok ? process->readAllStandardOutput() : QByteArray();
    process->disconnect(this);
    process->deleteLater();
    callEnded(m_runningStep, ok, output);
    scheduleNext();
}

void DialupControl::callEnded(Step step, bool ok, const QByteArray &output)
{
    switch (step) {
    case Step::Dial:
        emit finished();
        return;
    case Step::List: {
        const QString entry = QString::fromLatin1(DialEntryName).trimmed();
        QList<Call> downs;
        if (ok) {
            for (const QString &name : activeNames(output)) {
                if (name.trimmed() == entry)
                    downs.append({Step::Down,
                                  {QStringLiteral("connection"), QStringLiteral("down"),
                                   QStringLiteral("id"), name}});
            }
        }
        m_downsLeft = int(downs.size());
        // Ahead of anything queued meanwhile, so that the hang-up ends before a later dial.
        for (int i = int(downs.size()) - 1; i >= 0; --i)
            m_queue.prepend(downs.at(i));
        if (m_downsLeft == 0)
            emit finished();
        return;
    }
    case Step::Down:
        if (--m_downsLeft == 0)
            emit finished();
        return;
    }
}

void DialupControl::reportMissingNmcli()
{
    if (m_missingReported)
        return;
    m_missingReported = true;
    m_status.setStatusText(
        QStringLiteral("Dial-up control needs NetworkManager (nmcli), which was not found."));
}
