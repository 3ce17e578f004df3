// Rounding, text forms, unit conversions, words and bit helpers of the readings.
#include "acquisition/bitconversions.h"
#include "acquisition/conversions.h"
#include "acquisition/textforms.h"
#include "acquisition/weatherwords.h"

#include <QtTest>
#include <functional>

class TstTextForms : public QObject
{
    Q_OBJECT
private slots:
    void forms_data();
    void forms();
    void wholeRoundsHalvesToEven_data();
    void wholeRoundsHalvesToEven();
    void timesAndDates_data();
    void timesAndDates();
    void compassBounds_data();
    void compassBounds();
    void trendAndForecastWords_data();
    void trendAndForecastWords();
    void heatIndex_data();
    void heatIndex();
    void bitTexts_data();
    void bitTexts();
};

using Form = std::function<QString(double)>;
Q_DECLARE_METATYPE(Form)

void TstTextForms::forms_data()
{
    QTest::addColumn<Form>("form");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const Form d1 = oneDecimalText;
    const Form d2 = twoDecimalText;
    const Form m4 = fourDigitText;
    const Form fixed = zeroZeroPointZeroText;
    // Binary 72.0499999... must still round as the decimal 72.05 does.
    QTest::newRow("D1 72.05 up") << d1 << 72.05 << "72.1";
    QTest::newRow("D1 22.25 C in F") << d1 << celsiusToFahrenheit(22.25) << "72.1";
    QTest::newRow("D1 72.04 drops zero") << d1 << 72.04 << "72";
    QTest::newRow("D1 72.96 carries") << d1 << 72.96 << "73";
    QTest::newRow("D1 negative half away") << d1 << -3.25 << "-3.3";
    QTest::newRow("D1 tiny negative is 0") << d1 << -0.04 << "0";
    QTest::newRow("D1 -0.05") << d1 << -0.05 << "-0.1";
    QTest::newRow("D1 -25.3 C in F") << d1 << celsiusToFahrenheit(-25.3) << "-13.5";
    QTest::newRow("D2 1.005") << d2 << 1.005 << "1.01";
    QTest::newRow("D2 29.925") << d2 << 29.925 << "29.93";
    QTest::newRow("D2 0.5 shortest") << d2 << 0.5 << "0.5";
    QTest::newRow("D2 0.125") << d2 << 0.125 << "0.13";
    QTest::newRow("D2 1013 mb in inHg") << d2 << millibarsToInchesHg(1013) << "29.91";
    QTest::newRow("D2 1013.2 mb in inHg") << d2 << millibarsToInchesHg(1013.2) << "29.92";
    QTest::newRow("D2 123 mm in inches") << d2 << millimetresToInches(123) << "4.84";
    QTest::newRow("M4 half away") << m4 << 1012.5 << "1013";
    QTest::newRow("M4 1013.2") << m4 << 1013.2 << "1013";
    QTest::newRow("M4 -0.5") << m4 << -0.5 << "-1";
    QTest::newRow("M4 1.5 in/h in mm/h") << m4 << inchesToMillimetres(1.5) << "38";
    QTest::newRow("M4 0.4 in/h in mm/h") << m4 << inchesToMillimetres(0.4) << "10";
    QTest::newRow("00.0 keeps zeros") << fixed << 5.0 << "05.0";
    QTest::newRow("00.0 34.78") << fixed << fahrenheitToCelsius(94.6) << "34.8";
    QTest::newRow("00.0 negative") << fixed << -3.21 << "-03.2";
    QTest::newRow("00.0 three digits") << fixed << 104.96 << "105.0";
}

void TstTextForms::forms()
{
    QFETCH(Form, form);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(form(value), expected);
}

void TstTextForms::wholeRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2.5") << 2.5 << "2";
    QTest::newRow("3.5") << 3.5 << "4";
    QTest::newRow("-2.5") << -2.5 << "-2";
    QTest::newRow("-3.5") << -3.5 << "-4";
    QTest::newRow("below half") << 0.4999 << "0";
    QTest::newRow("above half") << 0.5001 << "1";
    QTest::newRow("33.8 F") << celsiusToFahrenheit(1) << "34";
    QTest::newRow("-182 F in C") << fahrenheitToCelsius(-182) << "-119";
    QTest::newRow("4.5 to even") << 4.5 << "4";
}

void TstTextForms::wholeRoundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(wholeText(value), expected);
}

void TstTextForms::timesAndDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QDate jan2(2026, 1, 2);
    QTest::newRow("TIME no leading zero") << timeText(7, 5) << "7:05";
    QTest::newRow("TIME afternoon") << timeText(14, 30) << "14:30";
    QTest::newRow("TIME2 leading zero") << time2Text(7, 5) << "07:05";
    QTest::newRow("TIME2 midnight") << time2Text(0, 0) << "00:00";
    QTest::newRow("date today") << dateText(1, 2, jan2) << "1-2-2026";
    QTest::newRow("date earlier this year") << dateText(1, 1, jan2) << "1-1-2026";
    QTest::newRow("date later in the year is last year") << dateText(12, 28, jan2) << "12-28-2025";
    QTest::newRow("tomorrow is last year") << dateText(1, 3, jan2) << "1-3-2025";
    QTest::newRow("late in the year") << dateText(6, 5, QDate(1999, 12, 31)) << "6-5-1999";
}

void TstTextForms::timesAndDates()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TstTextForms::compassBounds_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<QString>("word");
    const struct
    {
        int d;
        const char *w;
    } rows[] = {
        {0, "North"},   {22, "North"},  {23, "NorthEast"},  {67, "NorthEast"},
        {68, "East"},   {112, "East"},  {113, "SouthEast"}, {156, "SouthEast"},
        {157, "South"}, {202, "South"}, {203, "SouthWest"}, {247, "SouthWest"},
        {248, "West"},  {292, "West"},  {293, "NorthWest"}, {336, "NorthWest"},
        {337, "North"}, {359, "North"}, {360, "North"},
    };
    for (const auto &r : rows)
        QTest::newRow(qPrintable(QString::number(r.d))) << r.d << QString::fromLatin1(r.w);
}

void TstTextForms::compassBounds()
{
    QFETCH(int, degrees);
    QFETCH(QString, word);
    QCOMPARE(CompassWord(degrees), word);
}

void TstTextForms::trendAndForecastWords_data()
{
    QTest::addColumn<bool>("trend");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("word");
    QTest::newRow("trend none") << true << 0x0 << "";
    QTest::newRow("trend rising") << true << 0x1 << "Rising";
    QTest::newRow("trend 0x3 steady wins") << true << 0x3 << "Steady";
    QTest::newRow("trend falling") << true << 0x4 << "Falling";
    QTest::newRow("trend all set") << true << 0x7 << "Falling";
    QTest::newRow("trend bit 3 alone") << true << 0x8 << "";
    QTest::newRow("forecast none") << false << 0x0 << "";
    QTest::newRow("forecast sunny") << false << 0x1 << "Sunny";
    QTest::newRow("forecast cloudy") << false << 0x2 << "Cloudy";
    QTest::newRow("forecast partly wins") << false << 0x6 << "Partly Cloudy";
    QTest::newRow("forecast rain wins") << false << 0xF << "Rain";
}

void TstTextForms::trendAndForecastWords()
{
    QFETCH(bool, trend);
    QFETCH(int, bits);
    QFETCH(QString, word);
    QCOMPARE(trend ? pressureTrendWord(bits) : stationForecastWord(bits), word);
}

void TstTextForms::heatIndex_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<int>("humidity"); // -1: no humidity frame yet
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("metric");
    QTest::newRow("21.0 C is 70 F: N/A") << 21.0 << 50 << "N/A"
                                         << "N/A";
    QTest::newRow("21.7 C is 71 F: computed") << 21.7 << 50 << "76.9"
                                              << "24.9";
    QTest::newRow("32.2 C is 90 F, RH 50") << 32.2 << 50 << "94.6"
                                           << "34.8";
    QTest::newRow("no humidity yet") << 32.2 << -1 << "N/A"
                                     << "N/A";
    QTest::newRow("freezing") << -5.0 << 90 << "N/A"
                              << "N/A";
}

void TstTextForms::heatIndex()
{
    QFETCH(double, celsius);
    QFETCH(int, humidity);
    QFETCH(QString, english);
    QFETCH(QString, metric);
    const std::optional<int> rh = humidity < 0 ? std::nullopt : std::optional<int>(humidity);
    QCOMPARE(heatIndexText(celsiusToFahrenheit(celsius), rh, false), english);
    QCOMPARE(heatIndexText(celsiusToFahrenheit(celsius), rh, true), metric);
}

void TstTextForms::bitTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("HexBits 1F") << HexBits("1F") << "00000000  00011111";
    QTest::newRow("HexBits lower case") << HexBits("ab") << "00000000  10101011";
    QTest::newRow("HexBits four digits") << HexBits("8F01") << "10001111  00000001";
    QTest::newRow("HexBits not hex") << HexBits("G1") << "00000000  00000000";
    QTest::newRow("HexBits five digits") << HexBits("12345") << "00000000  00000000";
    QTest::newRow("HexBits sign") << HexBits("-1") << "00000000  00000000";
    QTest::newRow("HexBits empty") << HexBits("") << "00000000  00000000";
    QTest::newRow("BitsToByte 129") << QString::number(BitsToByte("10000001")) << "129";
    QTest::newRow("BitsToByte short text") << QString::number(BitsToByte("1")) << "128";
    QTest::newRow("BitsToByte long text") << QString::number(BitsToByte("111111110")) << "255";
    QTest::newRow("BitsToByte only 1 counts") << QString::number(BitsToByte("1x1x1x1x")) << "170";
    QTest::newRow("BitsToSmall 101") << QString::number(BitsToSmall("101")) << "5";
    QTest::newRow("BitsToSmall two bits") << QString::number(BitsToSmall("11")) << "3";
    QTest::newRow("BitsToSmall past three") << QString::number(BitsToSmall("0111")) << "3";
    QTest::newRow("byte sum wraps") << QString::number(byteSum("\xFF\x02\x10", 3)) << "17";
}

void TstTextForms::bitTexts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TstTextForms)
#include "tst_textforms.moc"
