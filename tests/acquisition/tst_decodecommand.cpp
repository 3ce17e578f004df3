// `corvane decode` run as a program on console bytes checked in under tests/data.
#include <QProcess>
#include <QtTest>

class TstDecodeCommand : public QObject
{
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void linesFollowTheRecordOrder();
    void badArguments_data();
    void badArguments();

private:
    static QByteArray run(const QStringList &args, const QByteArray &input, int *exitCode);
};

QByteArray TstDecodeCommand::run(const QStringList &args, const QByteArray &input, int *exitCode)
{
    QProcess p;
    p.start(QStringLiteral(CORVANE_BIN), QStringList{"decode"} + args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

void TstDecodeCommand::examples_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");

    QTest::newRow("humidity and temperature, English")
        << "humidity_temperature.bin" << QStringList{"--date", "2026-01-20"}
        << "humidity_temperature_english.expected";
    QTest::newRow("humidity and temperature, Metric")
        << "humidity_temperature.bin" << QStringList{"--units", "metric", "--date", "2026-01-20"}
        << "humidity_temperature_metric.expected";
    QTest::newRow("barometer, Metric")
        << "barometer.bin" << QStringList{"--units=metric"} << "barometer_metric.expected";
    QTest::newRow("barometer, English")
        << "barometer.bin" << QStringList{"--units", "english"} << "barometer_english.expected";
    QTest::newRow("noise, bad sum, good rain, cut-off wind")
        << "noise_rain.bin" << QStringList{"--units", "metric", "--date", "2026-01-02"}
        << "noise_rain_metric.expected";
    QTest::newRow("wind, English")
        << "wind.bin" << QStringList{"--date", "2026-01-02"} << "wind_english.expected";
}

// Each expected file lists `Field=Text` lines that must be in the output and `!Field`
// lines for fields that must not be.
void TstDecodeCommand::examples()
{
    QFETCH(QString, input);
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    const QString dir = QStringLiteral(CORVANE_TEST_DATA "/acquisition/");
    QFile in(dir + input);
    QFile want(dir + expected);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QVERIFY(want.open(QIODevice::ReadOnly | QIODevice::Text));

    int exitCode = -1;
    const QStringList lines =
        QString::fromUtf8(run(args, in.readAll(), &exitCode)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(exitCode, 0);
    int checked = 0;
    for (const QString &raw : QString::fromUtf8(want.readAll()).split('\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        ++checked;
        if (line.startsWith('!')) {
            const QString prefix = line.mid(1) + '=';
            for (const QString &l : lines)
                QVERIFY2(!l.startsWith(prefix), qPrintable(l));
        } else {
            QVERIFY2(lines.contains(line), qPrintable(line + " not in\n" + lines.join('\n')));
        }
    }
    QVERIFY(checked > 0);
}

void TstDecodeCommand::linesFollowTheRecordOrder()
{
    QFile in(QStringLiteral(CORVANE_TEST_DATA "/acquisition/humidity_temperature.bin"));
    QVERIFY(in.open(QIODevice::ReadOnly));
    int exitCode = -1;
    const QByteArray out = run({"--date", "2026-01-20"}, in.readAll(), &exitCode);
    QCOMPARE(exitCode, 0);
    const QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.first(), QString("IndoorHumidity=45"));
    QCOMPARE(lines.last(), QString("OutdoorTemperatureCaption=90 Deg F"));
    QVERIFY(lines.indexOf("OutdoorHumidity=50") < lines.indexOf("IndoorTemperature=-13.5"));
    QVERIFY(lines.indexOf("IndoorTemperature=-13.5") < lines.indexOf("HeatIndex=94.6"));
}

void TstDecodeCommand::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown units") << QStringList{"--units", "imperial"};
    QTest::newRow("bad date") << QStringList{"--date", "2026-13-01"};
    QTest::newRow("bad year") << QStringList{"--year", "soon"};
    QTest::newRow("missing value") << QStringList{"--units"};
    QTest::newRow("unknown option") << QStringList{"--colour", "red"};
}

void TstDecodeCommand::badArguments()
{
    QFETCH(QStringList, args);
    int exitCode = -1;
    const QByteArray out = run(args, QByteArray(), &exitCode);
    QCOMPARE(exitCode, 2);
    QVERIFY(out.isEmpty());
}

QTEST_GUILESS_MAIN(TstDecodeCommand)
#include "tst_decodecommand.moc"
