// The program directory is made owner-only, whatever the umask; a folder that exists is left.
#include "core/programdir.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestProgramDir : public QObject
{
    Q_OBJECT
private slots:
    void madeOwnerOnly_data();
    void madeOwnerOnly();
};

void TestProgramDir::madeOwnerOnly_data()
{
    QTest::addColumn<QString>("home"); // below a fresh folder
    QTest::addColumn<QString>("existing");
    QTest::addColumn<uint>("mode");
    QTest::newRow("new") << "corvane" << QString() << 0700u;
    QTest::newRow("new, folders above too") << "a/b/corvane" << QString() << 0700u;
    QTest::newRow("existing, mode kept") << "corvane"
                                         << "corvane" << 0755u;
}

void TestProgramDir::madeOwnerOnly()
{
    QFETCH(QString, home);
    QFETCH(QString, existing);
    QFETCH(uint, mode);
    QTemporaryDir dir;
    const mode_t old = ::umask(0);
    const auto restore = qScopeGuard([old] {
        ::umask(old);
        qunsetenv("CORVANE_HOME");
    });
    const auto modeOf = [](const QString &path) {
        struct stat st = {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? uint(st.st_mode & 07777)
                                                                     : 0u;
    };
    if (!existing.isEmpty())
        QCOMPARE(::mkdir(QFile::encodeName(dir.filePath(existing)).constData(), 0755), 0);
    qputenv("CORVANE_HOME", QFile::encodeName(dir.filePath(home)));

    QCOMPARE(programDirectory(), dir.filePath(home));
    for (QString path = dir.filePath(home); path != dir.path(); path = QFileInfo(path).path())
        QCOMPARE(modeOf(path), mode);
}

QTEST_GUILESS_MAIN(TestProgramDir)
#include "tst_programdir.moc"
