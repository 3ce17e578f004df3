// Which box of which window shows which reading, the detail windows' titles, single
// instances, and a closed window coming back with the current readings and captions.
#include "ui/readinglayouts.h"
#include "wxfixture.h"

#include <QSet>
#include <QtTest>

namespace {

// Every field with a text of its own, so that a box showing the wrong field is seen.
QHash<QString, QString> distinctTexts(const QString &suffix)
{
    QHash<QString, QString> texts;
    for (const QString &field : ReadingsRecord::fieldNames())
        texts.insert(field, field + suffix);
    return texts;
}

} // namespace

class TstDetailWindows : public QObject
{
    Q_OBJECT
private slots:
    void boxShowsItsField_data();
    void boxShowsItsField();
    void everyFieldIsShownSomewhere();
    void controlNamesAreUniquePerWindow();
    void titles_data();
    void titles();
    void choosingTwiceShowsOneWindow();
    void closedWindowComesBackCurrent();
};

void TstDetailWindows::boxShowsItsField_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("field");
    const char *rows[][3] = {
        {"Wx", "Text1", "GustDirection"},
        {"Wx", "Text2", "GustSpeed"},
        {"Wx", "Text4", "AverageSpeed"},
        {"Wx", "Text6", "HighWindSpeed"},
        {"Wx", "Text7", "HighWindTime"},
        {"Wx", "Text8", "HighWindDate"},
        {"Wx", "Text10", "OutdoorTemperature"},
        {"Wx", "Text11", "SeaLevelPressure"},
        {"Wx", "Text12", "PressureTrend"},
        {"Wx", "Text13", "OutdoorDewpoint"},
        {"Wx", "Text14", "GustDirectionWord"},
        {"Wx", "Text15", "GustSpeedCaption"},
        {"Wx", "Text16", "OutdoorHumidity"},
        {"Wx", "Text17", "WindChillWhole"},
        {"Wx", "Text18", "RainYesterday"},
        {"Wx", "Text20", "HeatIndex"},
        {"Wx", "Text21", "SeaLevelPressureCaption"},
        {"Wx", "Text22", "OutdoorTemperatureCaption"},
        {"Humidity", "Text1", "IndoorHumidity"},
        {"Humidity", "Text2", "OutdoorHumidity"},
        {"Humidity", "Text8", "IndoorHumidityHighTime"},
        {"Humidity", "Text15", "OutdoorHumidityLowDate"},
        {"Humidity", "Text19", "OutdoorHumidityHighTime"},
        {"Temperature", "Text14", "OutdoorTemperatureAlarmLow"},
        {"Temperature", "Text17", "OutdoorTemperatureLow"},
        {"Temperature", "Text20", "OutdoorTemperatureHigh"},
        {"Dewpoint", "Text2", "OutdoorDewpoint"},
        {"Barometer", "Text1", "LocalPressure"},
        {"Barometer", "Text2", "SeaLevelPressure"},
        {"Barometer", "Text4", "StationForecast"},
        {"Rain", "Text1", "RainYesterday"},
        {"Rain", "Text5", "RainResetDate"},
        {"Rain", "Text6", "RainResetTime"},
        {"Wind", "Text5", "HighWindTime"},
        {"Wind", "Text7", "HighWindDirection"},
        {"Wind", "Text8", "HighWindSpeed"},
        {"Wind", "Text13", "WindChillLowDate"},
        {"Wind", "Text14", "WindChillLowTime"},
    };
    for (const auto &r : rows)
        QTest::addRow("%s.%s", r[0], r[1]) << QString(r[0]) << QString(r[1]) << QString(r[2]);
}

void TstDetailWindows::boxShowsItsField()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QString, field);
    WxFixture f;
    f.record.applyGroup(SensorGroup::Wind, distinctTexts("/1"));
    QLineEdit *edit = f.box(window, box);
    QVERIFY(edit);
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->text(), field + "/1");
    // A later group replaces the text, in hidden windows too.
    f.record.applyGroup(SensorGroup::Humidity, {{field, "later"}});
    QCOMPARE(edit->text(), QString("later"));
}

void TstDetailWindows::everyFieldIsShownSomewhere()
{
    WxFixture f;
    f.record.applyGroup(SensorGroup::Rain, distinctTexts(QString()));
    QSet<QString> shown;
    for (const char *name :
         {"Wx", "Humidity", "Temperature", "Barometer", "Dewpoint", "Rain", "Wind"}) {
        for (QLineEdit *edit : f.window(name)->findChildren<QLineEdit *>())
            shown.insert(edit->text());
    }
    for (const QString &field : ReadingsRecord::fieldNames()) {
        if (field == QLatin1String("AverageDirectionWord")) // a global text, shown nowhere
            continue;
        QVERIFY2(shown.contains(field), qPrintable(field));
    }
}

void TstDetailWindows::controlNamesAreUniquePerWindow()
{
    WxFixture f;
    for (const char *name :
         {"Wx", "Humidity", "Temperature", "Barometer", "Dewpoint", "Rain", "Wind"}) {
        QSet<QString> seen;
        for (QWidget *w : f.window(name)->findChildren<QWidget *>()) {
            if (!w->objectName().startsWith("Text") && !w->objectName().startsWith("Label"))
                continue;
            QVERIFY2(!seen.contains(w->objectName()),
                     qPrintable(QString(name) + "." + w->objectName()));
            seen.insert(w->objectName());
        }
    }
}

void TstDetailWindows::titles_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::newRow("humidity") << "m_humidity"
                              << "Humidity"
                              << "Humidity Data";
    QTest::newRow("temperature") << "m_temperature"
                                 << "Temperature"
                                 << "Temperature Data";
    QTest::newRow("barometer") << "m_barometer"
                               << "Barometer"
                               << "Barometer Data";
    QTest::newRow("dewpoint") << "m_dewpoint"
                              << "Dewpoint"
                              << "Dewpoint Data";
    QTest::newRow("rain") << "m_rain"
                          << "Rain"
                          << "Rain Data";
    QTest::newRow("wind") << "m_wind"
                          << "Wind"
                          << "Wind Data";
}

void TstDetailWindows::titles()
{
    QFETCH(QString, action);
    QFETCH(QString, window);
    QFETCH(QString, title);
    WxFixture f;
    f.trigger(action);
    QWidget *w = f.window(window);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), title);
}

void TstDetailWindows::choosingTwiceShowsOneWindow()
{
    WxFixture f;
    f.wx->show();
    f.trigger("m_humidity");
    f.trigger("m_humidity");
    int humidity = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("Humidity")) {
            ++humidity;
            QVERIFY(w->isVisible());
        }
    }
    QCOMPARE(humidity, 1);
}

void TstDetailWindows::closedWindowComesBackCurrent()
{
    WxFixture f;
    f.record.applyGroup(SensorGroup::Temperature, {{"OutdoorTemperature", "72.5"}});
    f.trigger("m_temperature");
    QWidget *shown = f.window("Temperature");
    QVERIFY(shown->close());
    QVERIFY(!shown->isVisible());

    f.setUnits(1);
    f.record.applyGroup(SensorGroup::Temperature, {{"OutdoorTemperature", "22.5"}});
    f.trigger("m_temperature");
    QWidget *again = f.window("Temperature");
    QVERIFY(again->isVisible());
    QCOMPARE(f.box("Temperature", "Text2")->text(), QString("22.5"));
    QCOMPARE(f.label("Temperature", "Label4")->text(), QString("C"));
}

QTEST_MAIN(TstDetailWindows)
#include "tst_detailwindows.moc"
