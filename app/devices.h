// What the engine reaches the outside world through: serial ports and transfer channels.
// The program wires the real ones; tests hand in ports and channels they script.
#pragma once

#include <functional>
#include <memory>

class SerialPort;
class TransferChannel;

enum class TransferProtocol { Ftp, Http };

struct DeviceFactories
{
    // A closed serial port: the station port and the pager port each get one.
    std::function<std::unique_ptr<SerialPort>()> serialPort;
    // Inet1 and Inet3 are FTP channels, Inet2 the HTTP one.
    std::function<std::unique_ptr<TransferChannel>(TransferProtocol)> transferChannel;
};

// QSerialPort and libcurl.
DeviceFactories realDevices();
