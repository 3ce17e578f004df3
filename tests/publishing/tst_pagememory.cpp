// Peak memory of rendering a 5 MB page: under 4 bytes per template byte, whatever its tokens.
#include "acquisition/readingsrecord.h"
#include "publishing/pagetokens.h"
#include "publishing/renderpage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint64 TemplateBytes = 5 << 20;

// A "Name:   1234 kB" line of /proc/self/status, in bytes; -1 when missing.
qint64 statusBytes(const char *name)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = f.readLine(); !line.isEmpty(); line = f.readLine()) {
        if (line.startsWith(name))
            return line.mid(qstrlen(name)).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// Sets the process's high-water mark (VmHWM) back to what it holds now.
bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1 && f.flush();
}

} // namespace

class TestPageMemory : public QObject
{
    Q_OBJECT
private slots:
    void renderingStaysUnderFourBytesPerTemplateByte_data();
    void renderingStaysUnderFourBytesPerTemplateByte();
};

void TestPageMemory::renderingStaysUnderFourBytesPerTemplateByte_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("readings");
    // Every page token in turn, each with the text around it.
    QTest::newRow("table cells, readings")
        << QByteArray("  <td>") << QByteArray("</td>\r\n") << true;
    QTest::newRow("tokens back to back, no readings") << QByteArray() << QByteArray() << false;
    QTest::newRow("tokens back to back, readings") << QByteArray() << QByteArray() << true;
}

void TestPageMemory::renderingStaysUnderFourBytesPerTemplateByte()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, readings);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("big.tpl"));
    {
        // Written piece by piece, so the test itself holds no page in memory.
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (qint64 i = 0, written = 0; written < TemplateBytes; ++i) {
            const QString &token = pageTokenNames().at(i % pageTokenNames().size());
            const QByteArray piece = before + token.toLatin1() + after;
            QCOMPARE(f.write(piece), qint64(piece.size()));
            written += piece.size();
        }
    }
    const qint64 size = QFileInfo(in).size();
    ReadingsRecord record;
    if (readings) {
        for (const QString &field : ReadingsRecord::fieldNames())
            record.setText(field, QStringLiteral("72.5"));
    }
    const QDateTime now(QDate(2026, 1, 15), QTime(12, 0));
    const TokenValues values = PageTokenValues(record, QString(), QStringLiteral("West"),
                                               QStringLiteral("North"), now, now.toUTC());

    if (!resetPeak())
        QSKIP("the peak memory of a process cannot be reset here");
    const qint64 rss = statusBytes("VmRSS:");
    const RenderResult r = RenderPage(in, dir.filePath(QStringLiteral("big.htm")), true, values);
    const qint64 peak = statusBytes("VmHWM:");
    QVERIFY(r.written);
    QVERIFY(rss > 0 && peak >= rss);
    const double perByte = double(peak - rss) / double(size);
    qInfo("%.2f bytes of memory per template byte (%lld of %lld)", perByte, peak - rss, size);
    QVERIFY2(perByte < 4, qPrintable(QStringLiteral("%1 bytes per template byte").arg(perByte)));
}

QTEST_GUILESS_MAIN(TestPageMemory)
#include "tst_pagememory.moc"
