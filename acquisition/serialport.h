// A serial port as corvane uses it: the station link and the pager/fax modem.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

struct SerialSettings
{
    qint32 baud = 9600;
    char parity = 'n'; // 'n' none, 'e' even, 'o' odd
    int dataBits = 8;
    int stopBits = 1;
};

// Implemented over QSerialPort for real devices and pseudo-terminals; tests drive the
// master side of a pseudo-terminal whose slave the adapter opens.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Port numbers 1-8 map to devices through "Ports.cfg" (see devicePathForPort).
    virtual void setDevicePath(const QString &path) = 0;
    virtual QString devicePath() const = 0;
    virtual void setSettings(const SerialSettings &settings) = 0;

    // Returns false with errorString() set when the port cannot be opened.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual qint64 bytesAvailable() const = 0; // InBufferCount
    // Takes what the device has already received into the receive buffer now, without
    // waiting, even when the event loop has not yet looked at the device.
    virtual void takeArrived() {}
    virtual QByteArray read(qint64 maxBytes) = 0;
    virtual qint64 write(const QByteArray &data) = 0;
    virtual QString errorString() const = 0;

signals:
    void readyRead();
    // The device went away (unplugged, hung up) while open; the port is closed.
    void lost(const QString &why);
};

// The devices that the `k=/dev/...` lines of a "Ports.cfg" give, by port number.
QHash<int, QString> parsePortMap(QByteArrayView bytes);

struct PortMap
{
    QHash<int, QString> devices;
    QString error; // names the file when it is there but refused; nothing is mapped then
};

// "Ports.cfg" in `programDir`: missing, it maps nothing; a file that is no regular file (a
// FIFO, a device) or is larger than 1 MiB is refused.
PortMap readPortMap(const QString &programDir);

// The device of port number `port` (1-8): the mapping of "Ports.cfg" in `programDir`
// when it names the port, otherwise /dev/ttyS{port-1}. Empty for a port number below 1.
QString devicePathForPort(int port, const QString &programDir);

// A port over QSerialPort, closed, with the station settings (9600 baud, 8N1).
std::unique_ptr<SerialPort> createSerialPort(QObject *parent = nullptr);
