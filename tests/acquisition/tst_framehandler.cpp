// The frame handler's rules over bytes fed in timed pieces: completion within the
// limit, checksum, stray bytes, and finding the next frame afterwards.
#include "acquisition/bitconversions.h"
#include "acquisition/framehandler.h"

#include <QtTest>

namespace {

// A frame of `identifier` and `length` bytes with a middle byte `fill` and a good sum.
QByteArray frame(quint8 identifier, int length, quint8 fill = 0x12)
{
    QByteArray f(length, char(fill));
    f[0] = char(identifier);
    f[length - 1] = char(byteSum(f.constData(), length - 1));
    return f;
}

const QByteArray humidity = frame(0x8F, 35);
const QByteArray temperature = frame(0x9F, 34, 0x22); // its sum, 0xDF, is no identifier
const QByteArray wind = frame(0xCF, 27, 0x33);

QByteArray badSum(QByteArray f)
{
    f[f.size() - 1] = char(quint8(f.at(f.size() - 1)) + 1);
    return f;
}

// Identifier plus ten bytes whose sum with it is 0 mod 256: the 23 zeros that never
// arrive then make a frame whose sum matches.
QByteArray zeroSatisfied()
{
    QByteArray f(11, '\0');
    f[0] = char(0x9F);
    f[1] = char(0x61);
    return f;
}

struct Recorder : FrameHandler::Listener
{
    QList<QByteArray> frames;
    QList<int> lamps;
    QList<qint64> counts;
    int badSums = 0;
    int strays = 0;
    void receiveEvent(qint64 n) override { counts << n; }
    void lamp(int c) override { lamps << c; }
    void frameChecked(const QByteArray &f) override { frames << f; }
    void frameDropped(FrameDrop why, QByteArrayView b) override
    {
        if (why == FrameDrop::BadChecksum)
            ++badSums;
        else
            strays += b.size();
    }
};

} // namespace

using Pieces = QList<QPair<int, QByteArray>>; // arrival time in ms, bytes
Q_DECLARE_METATYPE(Pieces)

class TstFrameHandler : public QObject
{
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void countAndLampPerEvent();
    void splitEverywhere();
};

void TstFrameHandler::rules_data()
{
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QList<QByteArray>>("decoded");
    QTest::addColumn<int>("badSums");
    QTest::addColumn<int>("strays");
    QTest::addColumn<int>("lamp");

    const QByteArray tempHead = temperature.left(6);
    const QByteArray tempRest = temperature.mid(6);

    QTest::newRow("whole frame and the start of the next, which never ends")
        << Pieces{{0, humidity + tempHead}} << QList<QByteArray>{humidity} << 1 << 0 << 255;
    QTest::newRow("whole frame and the start of the next, rest in time")
        << Pieces{{0, humidity + tempHead}, {120, tempRest}}
        << QList<QByteArray>{humidity, temperature} << 0 << 0 << 0;
    QTest::newRow("rest too late: dropped, then strays, then the next frame")
        << Pieces{{0, humidity + tempHead}, {400, tempRest}, {500, wind}}
        << QList<QByteArray>{humidity, wind} << 1 << tempRest.size() << 0;
    QTest::newRow("identifier alone, 33 bytes within the limit")
        << Pieces{{0, temperature.left(1)}, {299, temperature.mid(1)}}
        << QList<QByteArray>{temperature} << 0 << 0 << 0;
    QTest::newRow("identifier alone, the rest in three pieces")
        << Pieces{{0, temperature.left(1)},
                  {50, temperature.mid(1, 5)},
                  {100, temperature.mid(6, 20)},
                  {250, temperature.mid(26)}}
        << QList<QByteArray>{temperature} << 0 << 0 << 0;
    QTest::newRow("rest exactly at the limit is too late")
        << Pieces{{0, temperature.left(1)}, {300, temperature.mid(1)}} << QList<QByteArray>{} << 1
        << 33 << 0;
    QTest::newRow("sum plus one: dropped, lamp stays red")
        << Pieces{{0, badSum(humidity)}} << QList<QByteArray>{} << 1 << 0 << 255;
    QTest::newRow("unknown byte: lamp back to black")
        << Pieces{{0, QByteArray("\xFF", 1)}} << QList<QByteArray>{} << 0 << 1 << 0;
    QTest::newRow("only 10 of 33 within the limit")
        << Pieces{{0, temperature.left(11)}, {350, temperature.mid(11)}} << QList<QByteArray>{} << 1
        << 23 << 0;
    QTest::newRow("missing zeros that satisfy the sum")
        << Pieces{{0, zeroSatisfied()}} << QList<QByteArray>{zeroSatisfied() + QByteArray(23, '\0')}
        << 0 << 0 << 0;
    QTest::newRow("a stray byte between frames is dropped alone")
        << Pieces{{0, humidity + QByteArray(1, '\x00') + wind}} << QList<QByteArray>{humidity, wind}
        << 0 << 1 << 0;
    QTest::newRow("noise before a frame") << Pieces{{0, QByteArray("\x01\xFF\x7E", 3) + wind}}
                                          << QList<QByteArray>{wind} << 0 << 3 << 0;
    QTest::newRow("a bad frame does not hide the next one")
        << Pieces{{0, badSum(wind) + humidity}} << QList<QByteArray>{humidity} << 1 << 0 << 0;
}

void TstFrameHandler::rules()
{
    QFETCH(Pieces, pieces);
    QFETCH(QList<QByteArray>, decoded);
    QFETCH(int, badSums);
    QFETCH(int, strays);
    QFETCH(int, lamp);

    Recorder r;
    FrameStream stream(r);
    for (const auto &p : pieces)
        stream.feed(p.second, p.first);
    stream.finish();
    QCOMPARE(r.frames, decoded);
    QCOMPARE(r.badSums, badSums);
    QCOMPARE(r.strays, strays);
    QCOMPARE(r.lamps.isEmpty() ? 0 : r.lamps.last(), lamp);
    QCOMPARE(stream.pending(), 0);
}

// Each event turns the lamp red before it publishes the count, and black when it ends;
// the count is what was waiting as the event began.
void TstFrameHandler::countAndLampPerEvent()
{
    Recorder r;
    FrameStream stream(r);
    stream.feed(QByteArray("\x01", 1) + humidity + badSum(wind), 0);
    QCOMPARE(r.counts, (QList<qint64>{1 + 35 + 27, 35 + 27, 27}));
    QCOMPARE(r.lamps, (QList<int>{255, 0, 255, 0, 255}));
    QCOMPARE(r.frames, QList<QByteArray>{humidity});
}

// However a stream of frames is cut into pieces, as long as they come in time, every
// frame is decoded once and nothing else.
void TstFrameHandler::splitEverywhere()
{
    const QByteArray all =
        humidity + temperature + wind + frame(0xAF, 31, 0x44) + frame(0xBF, 14, 0x55);
    for (int cut = 1; cut < all.size(); ++cut) {
        Recorder r;
        FrameStream stream(r);
        stream.feed(all.left(cut), 0);
        stream.feed(all.mid(cut), 10);
        stream.finish();
        QCOMPARE(r.frames.size(), 5);
        QCOMPARE(r.frames.join(), all);
        QCOMPARE(r.badSums + r.strays, 0);
    }
}

QTEST_GUILESS_MAIN(TstFrameHandler)
#include "tst_framehandler.moc"
