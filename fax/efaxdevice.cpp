// Detection, import and the efax run behind SendFax.
#include "fax/efaxdevice.h"

#include "acquisition/serialport.h"
#include "core/clock.h"
#include "fax/faxconfig.h"
#include "fax/faxdocument.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

const QString ConfiguringText = QStringLiteral("Configuring...Please Wait");

} // namespace

std::optional<QString> dialString(const QString &number)
{
    QString dial;
    for (const QChar c : number) {
        if (c.isDigit() && c.unicode() < 128)
            dial += c;
        else if (c == QLatin1Char('*') || c == QLatin1Char('#') || c == QLatin1Char(','))
            dial += c;
        else if (!QStringLiteral(" -()./").contains(c))
            return std::nullopt;
    }
    return dial;
}

EfaxDevice::EfaxDevice(EfaxWiring wiring, Clock &clock, QObject *parent)
    : FaxDevice(parent), m_wiring(std::move(wiring)), m_clock(clock),
      m_log(QDir(m_wiring.programDir).filePath(FaxLogFileName)), m_probe(clock, m_wiring.ports),
      m_limit(clock.createTimer())
{
    connect(&m_probe, &FaxModemProbe::finished, this, &EfaxDevice::detected);
    m_limit->setSingleShot(true);
    m_limit->setInterval(SendLimitMs);
    connect(m_limit.get(), &ClockTimer::timeout, this, &EfaxDevice::timedOut);
}

EfaxDevice::~EfaxDevice()
{
    if (m_efax) {
        m_efax->disconnect(this);
        m_efax->kill();
    }
}

void EfaxDevice::AutoDetect()
{
    if (m_probe.isRunning())
        return;
    emit statusChanged(ConfiguringText);
    m_probe.start(m_wiring.candidates ? m_wiring.candidates() : QStringList(), MaxDevices);
}

QString EfaxDevice::Devices(int index) const
{
    return index >= 0 && index < m_devices.size() ? m_devices[index].description() : QString();
}

QString EfaxDevice::sendDevice() const
{
    return m_deviceIndex >= 0 && m_deviceIndex < m_devices.size()
               ? m_devices[m_deviceIndex].devicePath
               : QString();
}

void EfaxDevice::detected(const QList<FaxModem> &modems)
{
    m_devices = modems;
    emit statusChanged(QString());
    emit detectionFinished();
    if (m_sendAfterDetection) {
        m_sendAfterDetection = false;
        runEfax();
    }
}

FaxResult EfaxDevice::ImportFiles(const QString &faxPath, const QString &imagePath)
{
    // The old document goes first, so that a failed import cannot send the last fax again.
    QFile::remove(faxPath);
    QImageReader reader(imagePath);
    const QImage picture = reader.read();
    if (picture.isNull())
        return FaxResult::failure(QStringLiteral("%1: %2").arg(imagePath, reader.errorString()));
    return writeFaxDocument(faxPageImage(picture), faxPath);
}

FaxResult EfaxDevice::SendFax()
{
    if (m_entry)
        return FaxResult::failure(QStringLiteral("a fax is being sent"));
    const std::optional<QString> dial = dialString(m_number);
    if (!dial)
        return FaxResult::failure(QStringLiteral("\"%1\" is not a fax number").arg(m_number));
    if (dial->isEmpty())
        return FaxResult::failure(QStringLiteral("no fax number was given"));
    if (!QFileInfo(m_faxFile).isFile())
        return FaxResult::failure(QStringLiteral("%1 is not there to send").arg(m_faxFile));

    FaxLogEntry entry;
    entry.number = *dial;
    entry.file = m_faxFile;
    entry.queued = m_clock.now();
    const FaxResult logged = m_log.add(entry);
    if (!logged.ok())
        return logged;
    m_entry = entry;
    m_output.clear();
    m_lastLine.clear();

    // A program that has not looked for its modems yet does so first.
    if (m_devices.isEmpty()) {
        m_sendAfterDetection = true;
        AutoDetect();
    } else {
        runEfax();
    }
    return FaxResult::success();
}

void EfaxDevice::runEfax()
{
    if (m_devices.isEmpty()) {
        finish(FaxLogName::Failed, -1, QStringLiteral("no fax modem was found"));
        return;
    }
    if (m_deviceIndex < 0 || m_deviceIndex >= m_devices.size()) {
        finish(FaxLogName::Failed, -1,
               QStringLiteral("fax device %1 was not found").arg(m_deviceIndex));
        return;
    }
    m_entry->device = m_devices[m_deviceIndex].devicePath;
    m_log.move(m_entry->id, FaxLogName::Sending, *m_entry);

    m_efax = std::make_unique<QProcess>();
    // efax reports its progress on standard error; only its last line is kept.
    m_efax->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_efax.get(), &QProcess::readyReadStandardOutput, this, &EfaxDevice::readOutput);
    connect(m_efax.get(), &QProcess::finished, this, &EfaxDevice::efaxEnded);
    connect(m_efax.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            efaxFailedToStart();
    });
    // "T" makes the modem tone-dial; the document is a TIFF class F file, which efax reads.
    m_efax->start(m_wiring.program, {QStringLiteral("-d"), m_entry->device, QStringLiteral("-t"),
                                     QLatin1Char('T') + m_entry->number, m_entry->file});
    m_limit->start();
}

void EfaxDevice::readOutput()
{
    m_output += m_efax->readAll();
    const qsizetype end = m_output.lastIndexOf('\n');
    if (end < 0)
        return;
    for (const QByteArray &line : m_output.left(end).split('\n')) {
        if (!line.trimmed().isEmpty())
            m_lastLine = QString::fromLocal8Bit(line.trimmed());
    }
    m_output.remove(0, end + 1);
}

void EfaxDevice::efaxEnded(int exitCode, QProcess::ExitStatus status)
{
    readOutput();
    if (!m_output.trimmed().isEmpty())
        m_lastLine = QString::fromLocal8Bit(m_output.trimmed());
    if (status != QProcess::NormalExit) {
        finish(FaxLogName::Failed, -1, QStringLiteral("efax was ended by a signal"));
        return;
    }
    finish(exitCode == 0 ? FaxLogName::Completed : FaxLogName::Failed, exitCode, m_lastLine);
}

void EfaxDevice::efaxFailedToStart()
{
    finish(FaxLogName::Failed, -1,
           QStringLiteral("efax could not be started: %1").arg(m_efax->errorString()));
}

void EfaxDevice::timedOut()
{
    if (!m_efax)
        return;
    m_efax->disconnect(this);
    m_efax->kill();
    finish(FaxLogName::Failed, -1, QStringLiteral("efax had not finished after 15 minutes"));
}

void EfaxDevice::finish(FaxLogName log, int exitStatus, const QString &message)
{
    m_limit->stop();
    if (m_efax) {
        m_efax->disconnect(this);
        // This may run inside the process's own signal.
        m_efax.release()->deleteLater();
    }
    FaxLogEntry entry = *m_entry;
    m_entry.reset();
    entry.finished = m_clock.now();
    entry.exitStatus = exitStatus;
    entry.message = message;
    m_log.move(entry.id, log, entry);
    emit sendFinished(log == FaxLogName::Completed, message);
}

std::unique_ptr<EfaxDevice> createEfaxDevice(Clock &clock, const QString &programDir,
                                             std::function<QStringList()> inUse, QObject *parent)
{
    EfaxWiring wiring{programDir,
                      [programDir, inUse] {
                          return faxCandidateDevices(programDir, inUse ? inUse() : QStringList());
                      },
                      [] { return createSerialPort(); }};
    auto fax = std::make_unique<EfaxDevice>(std::move(wiring), clock, parent);
    fax->setDeviceIndex(readFaxConfig(programDir).value_or(0));
    return fax;
}
