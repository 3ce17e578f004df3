// The templates that ship in templates/: each expands with `corvane expand` on readings that
// `corvane decode` made from a console capture, leaving no token behind; the HTML page is
// valid for tidy; the pager reports fit their pages.
#include "publishing/pagetokens.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray run(const QString &program, const QStringList &args, const QByteArray &input,
               int *exitCode, QByteArray *errors = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (errors)
        *errors = p.readAllStandardError();
    return p.readAllStandardOutput();
}

// One frame of every group, from the simulated console (tests/publishing/simcapture).
QByteArray capture()
{
    QFile f(QStringLiteral(CORVANE_TEST_DATA "/publishing/station.bin"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestShippedTemplates : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void expands_data();
    void expands();

private:
    QTemporaryDir m_dir;
    QString m_readings;
};

void TestShippedTemplates::initTestCase()
{
    QVERIFY(m_dir.isValid());
    int exitCode = -1;
    const QByteArray readings =
        run(QStringLiteral(CORVANE_BIN), {"decode", "--date", "2026-01-20"}, capture(), &exitCode);
    QCOMPARE(exitCode, 0);
    // The capture fills every group, so each token has a reading to show.
    for (const char *field : {"OutdoorTemperature=", "OutdoorHumidity=", "SeaLevelPressure=",
                              "RainTotal=", "GustSpeed=", "AverageDirectionWord="})
        QVERIFY2(readings.contains(field), field);
    m_readings = m_dir.filePath(QStringLiteral("now.txt"));
    QFile f(m_readings);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(readings);
}

void TestShippedTemplates::expands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxLength"); // a pager report's length, 0 for pages
    const QDir shipped(QStringLiteral(CORVANE_TEMPLATES));
    const QStringList names = shipped.entryList(QDir::Files, QDir::Name);
    QVERIFY(names.contains(QStringLiteral("current.htm")));
    for (const QString &name : names) {
        // One page holds 80 characters: the hourly report takes one, the daily two.
        const int maxLength = name == QLatin1String("hourly.txt")  ? 80
                              : name == QLatin1String("daily.txt") ? 160
                                                                   : 0;
        QTest::newRow(qPrintable(name)) << name << maxLength;
    }
}

void TestShippedTemplates::expands()
{
    QFETCH(QString, name);
    QFETCH(int, maxLength);
    const QString templ = QStringLiteral(CORVANE_TEMPLATES "/") + name;
    QFile in(templ);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray source = in.readAll();
    bool hasToken = false;
    for (const QString &token : pageTokenNames())
        hasToken = hasToken || source.contains(token.toLatin1());
    QVERIFY(hasToken);

    int exitCode = -1;
    QByteArray errors;
    const QByteArray page = run(QStringLiteral(CORVANE_BIN),
                                {"expand", templ, "--readings", m_readings}, {}, &exitCode, &errors);
    QCOMPARE(exitCode, 0);
    QVERIFY2(errors.isEmpty(), errors.constData());
    QVERIFY(page.endsWith("\r\n"));
    const QString text = QString::fromLatin1(page);
    for (const QString &token : pageTokenNames())
        QVERIFY2(!text.contains(token), qPrintable(token + " left in " + name));
    // Nor a misspelt token, which no table knows.
    const QRegularExpression tokenShape(QStringLiteral("\\*[A-Z/]{3,4}\\*"));
    QVERIFY2(!tokenShape.match(text).hasMatch(), qPrintable(tokenShape.match(text).captured()));
    // The readings arrived: the capture's outdoor temperature or its day's highs.
    QVERIFY(text.contains(QStringLiteral("47.3")) || text.contains(QStringLiteral("15:04")));

    if (maxLength > 0) {
        const QString message = text.chopped(2);
        QVERIFY2(message.size() <= maxLength, qPrintable(message));
        QVERIFY(!message.contains(QLatin1Char('\n')));
    }
    if (name.endsWith(QLatin1String(".htm"))) {
        const QString file = m_dir.filePath(name);
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(page);
        out.close();
        // tidy: 0 clean, 1 warnings only, 2 errors.
        const QByteArray report = run(QStringLiteral("tidy"), {"-errors", "-q", file}, {},
                                      &exitCode, &errors);
        QVERIFY2(exitCode == 0, (report + errors).constData());
    }
}

QTEST_GUILESS_MAIN(TestShippedTemplates)
#include "tst_shippedtemplates.moc"
