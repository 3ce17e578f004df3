// CWOP's reports: APRS-IS login lines and position-weather packets. No I/O here.
#pragma once

#include "sharing/sharingsettings.h"
#include "sharing/weatherreadings.h"

#include <QByteArray>
#include <QDateTime>

// "user CALL pass PASSCODE vers corvane VERSION\r\n"
QByteArray aprsLoginLine(const CwopSettings &settings, const QString &version);

// "DDMM.mmN/DDDMM.mmW": the position in degrees and hundredths of minutes.
QByteArray aprsPosition(double latitude, double longitude);

// One complete packet with its CR LF, the time in UTC:
//
//   CALL>APRS,TCPIP*:@DDHHMMz DDMM.mmN/DDDMM.mmW _ ccc/sss gGGG tTTT rRRR pPPP PPPP hHH bBBBBB
//                    time      position           wind     gust temp rain: hour, 24 h,
//                                                                    since midnight;
//                                                                    humidity, pressure
//
// (without the blanks). Wind in degrees and mph, temperature in °F, rain in hundredths of
// an inch, humidity in % with 100 as "00", pressure (sea level) in tenths of hPa. A
// reading the station has not sent is dots of the field's width.
QByteArray aprsWeatherPacket(const CwopSettings &settings, const WeatherReadings &readings,
                             const RainAmounts &rain, const QDateTime &utcNow);
