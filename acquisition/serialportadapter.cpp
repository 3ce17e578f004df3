// The serial port over QSerialPort: the station link and the pager/fax modem.
#include "acquisition/serialport.h"

#include <QSerialPort>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QSerialPort::Parity parityOf(char p)
{
    switch (p) {
    case 'e':
    case 'E':
        return QSerialPort::EvenParity;
    case 'o':
    case 'O':
        return QSerialPort::OddParity;
    case 'm':
    case 'M':
        return QSerialPort::MarkParity;
    case 's':
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

class QSerialPortAdapter final : public SerialPort
{
public:
    explicit QSerialPortAdapter(QObject *parent) : SerialPort(parent), m_port(this)
    {
        connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
        connect(&m_port, &QSerialPort::errorOccurred, this, &QSerialPortAdapter::onError);
    }

    void setDevicePath(const QString &path) override { m_path = path; }
    QString devicePath() const override { return m_path; }
    void setSettings(const SerialSettings &settings) override
    {
        m_settings = settings;
        if (m_port.isOpen())
            apply();
    }

    bool open() override
    {
        if (m_port.isOpen())
            return true;
        m_error.clear();
        if (m_path.isEmpty()) {
            m_error = QStringLiteral("No device for this port");
            return false;
        }
        m_port.setPortName(m_path);
        if (!m_port.open(QIODevice::ReadWrite)) {
            m_error = m_port.errorString();
            return false;
        }
        apply();
        return true;
    }
    void close() override
    {
        m_taken.clear();
        m_port.close();
    }
    bool isOpen() const override { return m_port.isOpen(); }

    qint64 bytesAvailable() const override { return m_taken.size() + m_port.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override
    {
        if (m_taken.isEmpty())
            return m_port.read(maxBytes);
        QByteArray bytes = m_taken.left(maxBytes);
        m_taken.remove(0, bytes.size());
        if (bytes.size() < maxBytes)
            bytes += m_port.read(maxBytes - bytes.size());
        return bytes;
    }
    void takeArrived() override
    {
        if (!m_port.isOpen())
            return;
        int waiting = 0;
        if (::ioctl(int(m_port.handle()), FIONREAD, &waiting) != 0 || waiting <= 0)
            return;
        // What QSerialPort holds came first; once moved here, all it reads later is newer.
        m_taken += m_port.readAll();
        const qsizetype at = m_taken.size();
        m_taken.resize(at + waiting);
        // The descriptor is non-blocking, so this takes only what is there.
        const ssize_t n = ::read(int(m_port.handle()), m_taken.data() + at, size_t(waiting));
        m_taken.resize(at + qMax<ssize_t>(0, n));
    }
    qint64 write(const QByteArray &data) override
    {
        const qint64 n = m_port.write(data);
        // Hands the bytes to the device now: a modem dialogue may pause without
        // running events before it looks for the answer.
        m_port.flush();
        return n;
    }
    QString errorString() const override
    {
        return m_error.isEmpty() ? m_port.errorString() : m_error;
    }

private:
    void apply()
    {
        m_port.setBaudRate(m_settings.baud);
        m_port.setParity(parityOf(m_settings.parity));
        m_port.setDataBits(QSerialPort::DataBits(qBound(5, m_settings.dataBits, 8)));
        m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
        m_port.setFlowControl(QSerialPort::NoFlowControl);
        // A device that refuses one setting (pseudo-terminals refuse the modem lines and
        // some speeds) is still a working port.
        m_port.clearError();
    }

    void onError(QSerialPort::SerialPortError error)
    {
        switch (error) {
        case QSerialPort::NoError:
            return;
        case QSerialPort::ResourceError:
        case QSerialPort::ReadError:
        case QSerialPort::PermissionError:
        case QSerialPort::DeviceNotFoundError:
            // The device went away under an open port (a read at the end of a hung-up
            // line is a read error); kept open, the port would be polled without end.
            if (m_port.isOpen()) {
                m_error = m_port.errorString();
                m_port.close();
                emit lost(m_error);
            }
            return;
        default:
            // Refused ioctls (DTR/RTS on pseudo-terminals), parity and framing errors and
            // timeouts leave the port usable.
            return;
        }
    }

    QSerialPort m_port;
    SerialSettings m_settings;
    QString m_path;
    QString m_error;
    QByteArray m_taken; // bytes takeArrived() read past QSerialPort, served first
};

} // namespace

std::unique_ptr<SerialPort> createSerialPort(QObject *parent)
{
    return std::make_unique<QSerialPortAdapter>(parent);
}
