// The real devices: QSerialPort ports and libcurl channels.
#include "app/devices.h"

#include "acquisition/serialport.h"
#include "publishing/curltransferchannel.h"

DeviceFactories realDevices()
{
    DeviceFactories d;
    d.serialPort = [] { return createSerialPort(); };
    d.transferChannel = [](TransferProtocol p) -> std::unique_ptr<TransferChannel> {
        return std::make_unique<CurlTransferChannel>(p == TransferProtocol::Ftp
                                                         ? CurlTransferChannel::Protocol::Ftp
                                                         : CurlTransferChannel::Protocol::Http);
    };
    return d;
}
