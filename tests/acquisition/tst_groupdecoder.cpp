// Group decoding at the byte level: field positions, digit and month rules, signs,
// conversions into record texts, and the encoder as the decoder's exact inverse.
#include "acquisition/bitconversions.h"
#include "acquisition/groupdecoder.h"
#include "acquisition/readingstexts.h"

#include <QRandomGenerator>
#include <QtTest>

using Bytes = QList<QPair<int, int>>; // frame index, byte value
Q_DECLARE_METATYPE(Bytes)

namespace {

QByteArray frameWith(int identifier, const Bytes &bytes)
{
    const GroupLayout *layout = layoutForIdentifier(quint8(identifier));
    QByteArray frame(layout ? layout->length : 2, '\0');
    frame[0] = char(identifier);
    for (const auto &b : bytes)
        frame[b.first] = char(b.second);
    frame[frame.size() - 1] = char(byteSum(frame.constData(), frame.size() - 1));
    return frame;
}

const QString Absent = QStringLiteral("<absent>");

} // namespace

class TstGroupDecoder : public QObject
{
    Q_OBJECT
private slots:
    void fieldTexts_data();
    void fieldTexts();
    void heatIndexWaitsForHumidity();
    void unknownOrShortFrames();
    void roundTrip_data();
    void roundTrip();
};

void TstGroupDecoder::fieldTexts_data()
{
    QTest::addColumn<int>("identifier");
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<int>("units");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const QDate mid(2026, 6, 15);
    const QDate yearEnd(2026, 12, 31);
    const int en = 0;
    const int me = 1;

    // One row per case, so the table reads as a table.
    // clang-format off
    // Humidity positions, plain and shifted.
    QTest::newRow("indoor humidity BCD") << 0x8F << Bytes{{8, 0x45}} << en << mid << "IndoorHumidity" << "45";
    QTest::newRow("shifted low: units 13.hi, tens 14.lo")
        << 0x8F << Bytes{{13, 0x71}, {14, 0x03}} << en << mid << "IndoorHumidityLow" << "37";
    QTest::newRow("month of the high date in 13.lo")
        << 0x8F << Bytes{{12, 0x15}, {13, 0x71}} << en << mid << "IndoorHumidityHighDate" << "1-15-2026";
    QTest::newRow("0x05 plain: high nibble 0") << 0x8F << Bytes{{20, 0x05}} << en << mid << "OutdoorHumidity" << "5";
    QTest::newRow("0x05 shifted: tens from the low nibble")
        << 0x8F << Bytes{{26, 0x05}} << en << mid << "OutdoorHumidityLow" << "50";
    QTest::newRow("shifted low time")
        << 0x8F << Bytes{{26, 0x50}, {27, 0x33}, {28, 0x01}} << en << mid << "OutdoorHumidityLowTime" << "13:35";
    QTest::newRow("shifted low date")
        << 0x8F << Bytes{{28, 0x80}, {29, 0x42}} << en << mid << "OutdoorHumidityLowDate" << "4-28-2026";
    QTest::newRow("TIME without leading zero")
        << 0x8F << Bytes{{10, 0x05}, {11, 0x07}} << en << mid << "IndoorHumidityHighTime" << "7:05";
    QTest::newRow("outdoor alarm low") << 0x8F << Bytes{{31, 0x25}} << me << mid << "OutdoorHumidityAlarmLow" << "25";

    // A digit above 9 loses only its own field.
    QTest::newRow("digit A: field skipped") << 0x8F << Bytes{{8, 0x4A}, {9, 0x61}} << en << mid << "IndoorHumidity" << Absent;
    QTest::newRow("digit A: neighbour kept") << 0x8F << Bytes{{8, 0x4A}, {9, 0x61}} << en << mid << "IndoorHumidityHigh" << "61";
    QTest::newRow("minute digit F: time skipped")
        << 0x8F << Bytes{{10, 0x0F}, {11, 0x07}} << en << mid << "IndoorHumidityHighTime" << Absent;

    // Months are one hexadecimal nibble.
    QTest::newRow("month 9") << 0x8F << Bytes{{12, 0x30}, {13, 0x09}} << en << yearEnd << "IndoorHumidityHighDate" << "9-30-2026";
    QTest::newRow("month A is October") << 0x8F << Bytes{{12, 0x01}, {13, 0x0A}} << en << yearEnd << "IndoorHumidityHighDate" << "10-1-2026";
    QTest::newRow("month B is November") << 0x8F << Bytes{{12, 0x11}, {13, 0x0B}} << en << yearEnd << "IndoorHumidityHighDate" << "11-11-2026";
    QTest::newRow("month C is December") << 0x8F << Bytes{{12, 0x31}, {13, 0x0C}} << en << yearEnd << "IndoorHumidityHighDate" << "12-31-2026";
    QTest::newRow("month 0 unreadable") << 0x8F << Bytes{{12, 0x01}, {13, 0x00}} << en << yearEnd << "IndoorHumidityHighDate" << Absent;
    QTest::newRow("month D unreadable") << 0x8F << Bytes{{12, 0x01}, {13, 0x0D}} << en << yearEnd << "IndoorHumidityHighDate" << Absent;
    QTest::newRow("shifted month C") << 0x8F << Bytes{{16, 0x50}, {17, 0xC2}} << en << yearEnd << "IndoorHumidityLowDate" << "12-25-2026";
    // The console sends no year: a date past today is last year's.
    QTest::newRow("28 Dec seen on 2 Jan")
        << 0x8F << Bytes{{12, 0x28}, {13, 0x0C}} << en << QDate(2026, 1, 2) << "IndoorHumidityHighDate" << "12-28-2025";
    QTest::newRow("2 Jan seen on 2 Jan")
        << 0x8F << Bytes{{12, 0x02}, {13, 0x01}} << en << QDate(2026, 1, 2) << "IndoorHumidityHighDate" << "1-2-2026";

    // Temperatures: T(tenths, units, sign|tens).
    QTest::newRow("-25.3 C") << 0x9F << Bytes{{1, 0x53}, {2, 0x0A}} << me << mid << "IndoorTemperature" << "-25.3";
    QTest::newRow("+25.3 C") << 0x9F << Bytes{{1, 0x53}, {2, 0x02}} << me << mid << "IndoorTemperature" << "25.3";
    QTest::newRow("-25.3 C in F") << 0x9F << Bytes{{1, 0x53}, {2, 0x0A}} << en << mid << "IndoorTemperature" << "-13.5";
    QTest::newRow("indoor high") << 0x9F << Bytes{{2, 0x10}, {3, 0x99}} << me << mid << "IndoorTemperatureHigh" << "-19.1";
    QTest::newRow("indoor low") << 0x9F << Bytes{{7, 0x40}, {8, 0x18}} << me << mid << "IndoorTemperatureLow" << "18.4";
    QTest::newRow("22.2 C in F carries to 72") << 0x9F << Bytes{{16, 0x22}, {17, 0x02}} << en << mid << "OutdoorTemperature" << "72";
    QTest::newRow("outdoor 21.7 C") << 0x9F << Bytes{{16, 0x17}, {17, 0x02}} << en << mid << "OutdoorTemperature" << "71.1";
    QTest::newRow("outdoor high") << 0x9F << Bytes{{17, 0x50}, {18, 0x33}} << me << mid << "OutdoorTemperatureHigh" << "33.5";
    QTest::newRow("outdoor low negative") << 0x9F << Bytes{{22, 0x20}, {23, 0x91}} << me << mid << "OutdoorTemperatureLow" << "-11.2";
    QTest::newRow("temperature digit above 9")
        << 0x9F << Bytes{{16, 0x2B}, {17, 0x02}} << me << mid << "OutdoorTemperature" << Absent;
    QTest::newRow("temperature caption English")
        << 0x9F << Bytes{{16, 0x17}, {17, 0x02}} << en << mid << "OutdoorTemperatureCaption" << "71.1 Deg F";
    QTest::newRow("temperature caption Metric")
        << 0x9F << Bytes{{16, 0x17}, {17, 0x02}} << me << mid << "OutdoorTemperatureCaption" << "21.7 Deg C";

    // Alarm triples: A(units, tens, sign|..|hundreds).
    QTest::newRow("signed alarm -182 F")
        << 0x9F << Bytes{{27, 0x20}, {28, 0x98}} << en << mid << "OutdoorTemperatureAlarmHigh" << "-182";
    QTest::newRow("signed alarm -182 F in C")
        << 0x9F << Bytes{{27, 0x20}, {28, 0x98}} << me << mid << "OutdoorTemperatureAlarmHigh" << "-119";
    QTest::newRow("unsigned alarm ignores bit 3")
        << 0x9F << Bytes{{12, 0x20}, {13, 0x98}} << en << mid << "IndoorTemperatureAlarmHigh" << "182";
    QTest::newRow("indoor alarm low") << 0x9F << Bytes{{14, 0x54}, {15, 0x00}} << en << mid << "IndoorTemperatureAlarmLow" << "54";
    QTest::newRow("outdoor alarm low")
        << 0x9F << Bytes{{29, 0x21}, {30, 0x08}} << en << mid << "OutdoorTemperatureAlarmLow" << "-21";

    // Barometer and dewpoint.
    QTest::newRow("local 1013 mb") << 0xAF << Bytes{{1, 0x13}, {2, 0x10}} << me << mid << "LocalPressure" << "1013";
    QTest::newRow("local 1013 mb in inHg") << 0xAF << Bytes{{1, 0x13}, {2, 0x10}} << en << mid << "LocalPressure" << "29.91";
    QTest::newRow("sea level 1013.2 mb")
        << 0xAF << Bytes{{3, 0x32}, {4, 0x01}, {5, 0x01}} << me << mid << "SeaLevelPressure" << "1013";
    QTest::newRow("sea level 1013.2 mb in inHg")
        << 0xAF << Bytes{{3, 0x32}, {4, 0x01}, {5, 0x01}} << en << mid << "SeaLevelPressure" << "29.92";
    QTest::newRow("sea level whole rounds to even")
        << 0xAF << Bytes{{3, 0x25}, {4, 0x01}, {5, 0x01}} << me << mid << "SeaLevelPressure" << "1012";
    QTest::newRow("pressure caption Metric")
        << 0xAF << Bytes{{3, 0x32}, {4, 0x01}, {5, 0x01}} << me << mid << "SeaLevelPressureCaption" << "1013 MBar";
    QTest::newRow("pressure caption English")
        << 0xAF << Bytes{{3, 0x32}, {4, 0x01}, {5, 0x01}} << en << mid << "SeaLevelPressureCaption" << "29.92 Hg";
    QTest::newRow("trend 0x3") << 0xAF << Bytes{{6, 0x30}} << en << mid << "PressureTrend" << "Steady";
    QTest::newRow("forecast from 6.lo") << 0xAF << Bytes{{6, 0x12}} << en << mid << "StationForecast" << "Cloudy";
    QTest::newRow("dewpoint in F") << 0xAF << Bytes{{7, 0x15}} << en << mid << "IndoorDewpoint" << "59";
    QTest::newRow("dewpoint shifted low")
        << 0xAF << Bytes{{12, 0x80}, {13, 0x00}} << me << mid << "IndoorDewpointLow" << "8";
    QTest::newRow("outdoor dewpoint low date")
        << 0xAF << Bytes{{26, 0x90}, {27, 0x31}} << me << mid << "OutdoorDewpointLowDate" << "3-19-2026";
    QTest::newRow("dewpoint alarms read 0") << 0xAF << Bytes{{17, 0x99}} << en << mid << "OutdoorDewpointAlarmLow" << "0";

    // Rain.
    QTest::newRow("rain rate mm/h") << 0xBF << Bytes{{1, 0x23}, {2, 0x01}} << me << mid << "RainRate" << "123";
    QTest::newRow("rain rate in/h") << 0xBF << Bytes{{1, 0x23}, {2, 0x01}} << en << mid << "RainRate" << "4.84";
    QTest::newRow("rain yesterday") << 0xBF << Bytes{{3, 0x34}, {4, 0x12}} << me << mid << "RainYesterday" << "1234";
    QTest::newRow("rain total") << 0xBF << Bytes{{5, 0x07}, {6, 0x00}} << me << mid << "RainTotal" << "7";
    QTest::newRow("rain reset time") << 0xBF << Bytes{{7, 0x59}, {8, 0x23}} << me << mid << "RainResetTime" << "23:59";
    QTest::newRow("rain alarm in/h") << 0xBF << Bytes{{11, 0x15}, {12, 0x00}} << en << mid << "RainRateAlarm" << "1.5";
    QTest::newRow("rain alarm 1.5 in/h in mm/h") << 0xBF << Bytes{{11, 0x15}} << me << mid << "RainRateAlarm" << "38";
    QTest::newRow("rain alarm 0.4 in/h in mm/h") << 0xBF << Bytes{{11, 0x04}} << me << mid << "RainRateAlarm" << "10";
    QTest::newRow("rain alarm tens") << 0xBF << Bytes{{11, 0x20}, {12, 0x01}} << en << mid << "RainRateAlarm" << "12";

    // Wind.
    QTest::newRow("gust m/s") << 0xCF << Bytes{{1, 0x45}, {2, 0x81}, {3, 0x27}} << me << mid << "GustSpeed" << "14.5";
    QTest::newRow("gust mph") << 0xCF << Bytes{{1, 0x45}, {2, 0x81}, {3, 0x27}} << en << mid << "GustSpeed" << "32.4";
    QTest::newRow("gust direction") << 0xCF << Bytes{{1, 0x45}, {2, 0x81}, {3, 0x27}} << en << mid << "GustDirection" << "278";
    QTest::newRow("gust compass word") << 0xCF << Bytes{{2, 0x81}, {3, 0x27}} << en << mid << "GustDirectionWord" << "West";
    QTest::newRow("gust caption English") << 0xCF << Bytes{{1, 0x45}, {2, 0x01}} << en << mid << "GustSpeedCaption" << "32.4 MPH";
    QTest::newRow("gust caption Metric") << 0xCF << Bytes{{1, 0x45}, {2, 0x01}} << me << mid << "GustSpeedCaption" << "14.5 M/S";
    QTest::newRow("average direction word")
        << 0xCF << Bytes{{5, 0x20}, {6, 0x02}} << en << mid << "AverageDirectionWord" << "North";
    QTest::newRow("average direction 337")
        << 0xCF << Bytes{{5, 0x70}, {6, 0x33}} << en << mid << "AverageDirection" << "337";
    QTest::newRow("high wind time TIME2")
        << 0xCF << Bytes{{10, 0x05}, {11, 0x07}} << en << mid << "HighWindTime" << "07:05";
    QTest::newRow("high wind date month in 13.lo")
        << 0xCF << Bytes{{12, 0x04}, {13, 0x56}} << en << mid << "HighWindDate" << "6-4-2026";
    QTest::newRow("speed alarm mph") << 0xCF << Bytes{{13, 0x50}, {14, 0x14}} << en << mid << "HighWindSpeedAlarm" << "145";
    QTest::newRow("speed alarm m/s") << 0xCF << Bytes{{13, 0x50}, {14, 0x14}} << me << mid << "HighWindSpeedAlarm" << "64.8";
    QTest::newRow("wind chill negative") << 0xCF << Bytes{{16, 0x05}, {21, 0x20}} << me << mid << "WindChill" << "-5";
    QTest::newRow("wind chill positive") << 0xCF << Bytes{{16, 0x05}} << me << mid << "WindChill" << "5";
    QTest::newRow("wind chill -5 C in F whole") << 0xCF << Bytes{{16, 0x05}, {21, 0x20}} << en << mid << "WindChillWhole" << "23";
    QTest::newRow("wind chill 1 C in F D1") << 0xCF << Bytes{{16, 0x01}} << en << mid << "WindChill" << "33.8";
    QTest::newRow("wind chill 1 C in F whole") << 0xCF << Bytes{{16, 0x01}} << en << mid << "WindChillWhole" << "34";
    QTest::newRow("chill low sign is bit 4") << 0xCF << Bytes{{17, 0x12}, {21, 0x10}} << me << mid << "WindChillLow" << "-12";
    QTest::newRow("chill sign bit 4 not for chill") << 0xCF << Bytes{{16, 0x12}, {21, 0x10}} << me << mid << "WindChill" << "12";
    QTest::newRow("chill low date month beside signs")
        << 0xCF << Bytes{{20, 0x09}, {21, 0x32}} << me << mid << "WindChillLowDate" << "2-9-2026";
    // clang-format on
}

void TstGroupDecoder::fieldTexts()
{
    QFETCH(int, identifier);
    QFETCH(Bytes, bytes);
    QFETCH(int, units);
    QFETCH(QDate, today);
    QFETCH(QString, field);
    QFETCH(QString, expected);

    ReadingsRecord record;
    QVERIFY(applyFrame(frameWith(identifier, bytes), record, units, today));
    QCOMPARE(record.has(field) ? record.text(field) : Absent, expected);
}

void TstGroupDecoder::heatIndexWaitsForHumidity()
{
    // 32.2 C is 90 F once rounded; with 50 % the index is 94.6 F.
    const QByteArray hot = frameWith(0x9F, {{16, 0x22}, {17, 0x03}});
    const QDate today(2026, 7, 1);
    ReadingsRecord record;
    QVERIFY(applyFrame(hot, record, 0, today));
    QCOMPARE(record.text("HeatIndex"), QString("N/A"));

    QVERIFY(applyFrame(frameWith(0x8F, {{20, 0x50}}), record, 0, today));
    QVERIFY(!record.has("HeatIndex") ||
            record.text("HeatIndex") == "N/A"); // not redone by humidity
    QVERIFY(applyFrame(hot, record, 0, today));
    QCOMPARE(record.text("HeatIndex"), QString("94.6"));
    QVERIFY(applyFrame(hot, record, 1, today));
    QCOMPARE(record.text("HeatIndex"), QString("34.8"));
    QCOMPARE(record.gauges().outdoorTempF.value_or(0), 90.0);
}

void TstGroupDecoder::unknownOrShortFrames()
{
    ReadingsRecord record;
    QSignalSpy changed(&record, &ReadingsRecord::groupChanged);
    QVERIFY(!applyFrame(QByteArray(35, '\xFF'), record, 0, QDate(2026, 1, 1)));
    QVERIFY(!applyFrame(frameWith(0x8F, {}).left(34), record, 0, QDate(2026, 1, 1)));
    QVERIFY(!applyFrame(QByteArray(), record, 0, QDate(2026, 1, 1)));
    QCOMPARE(changed.count(), 0);
    QVERIFY(record.texts().isEmpty());
}

void TstGroupDecoder::roundTrip_data()
{
    QTest::addColumn<int>("group");
    QTest::newRow("humidity") << int(SensorGroup::Humidity);
    QTest::newRow("temperature") << int(SensorGroup::Temperature);
    QTest::newRow("barometer") << int(SensorGroup::BarometerDewpoint);
    QTest::newRow("rain") << int(SensorGroup::Rain);
    QTest::newRow("wind") << int(SensorGroup::Wind);
}

// Random values over each field's whole range: a nibble two fields share, or an encoder
// that is not the decoder's inverse, shows up as a difference.
void TstGroupDecoder::roundTrip()
{
    QFETCH(int, group);
    const GroupLayout &layout = layoutForGroup(SensorGroup(group));
    QRandomGenerator rng(quint32(group) + 1);
    for (int trial = 0; trial < 300; ++trial) {
        DecodedGroup in;
        in.layout = &layout;
        for (int i = 0; i < layout.fieldCount; ++i) {
            const FieldLayout &f = layout.fields[i];
            RawValue v;
            const int scale = f.decimals ? 10 : 1;
            switch (f.encoding) {
            case Encoding::Digits: {
                int max = 1;
                for (int n = 0; n < f.nibbleCount; ++n)
                    max *= 10;
                v.number = double(rng.bounded(max)) / scale;
                break;
            }
            case Encoding::SignedDigits:
                v.number = double(rng.bounded(1, 100)) * (rng.bounded(2) ? -1 : 1);
                break;
            case Encoding::Temperature:
                v.number = double(rng.bounded(1, 800)) / 10.0 * (rng.bounded(2) ? -1 : 1);
                break;
            case Encoding::Alarm:
                v.number = rng.bounded(200);
                break;
            case Encoding::SignedAlarm:
                v.number = rng.bounded(1, 200) * (rng.bounded(2) ? -1 : 1);
                break;
            case Encoding::Time:
                v.hour = rng.bounded(24);
                v.minute = rng.bounded(60);
                break;
            case Encoding::Date:
                v.month = rng.bounded(1, 13);
                v.day = rng.bounded(1, 32);
                break;
            case Encoding::Bits:
                v.bits = rng.bounded(16);
                break;
            case Encoding::Zero:
                break;
            }
            in.values[size_t(i)] = v;
            in.readable.set(size_t(i));
        }
        const QByteArray frame = encodeGroup(in);
        QCOMPARE(frame.size(), int(layout.length));
        QCOMPARE(quint8(frame.at(0)), layout.identifier);
        QVERIFY(checksumMatches(frame));
        const auto out = decodeGroup(frame);
        QVERIFY(out.has_value());
        for (int i = 0; i < layout.fieldCount; ++i) {
            QVERIFY2(out->readable.test(size_t(i)), layout.fields[i].name);
            QVERIFY2(
                out->values[size_t(i)] == in.values[size_t(i)],
                qPrintable(QStringLiteral("%1 trial %2").arg(layout.fields[i].name).arg(trial)));
        }
    }
}

QTEST_GUILESS_MAIN(TstGroupDecoder)
#include "tst_groupdecoder.moc"
