// The program directory.
#include "programdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

// Makes `dir` and the folders above it that are missing, each owner-only whatever the
// umask. Folders that exist keep their modes.
void makeOwnerOnlyPath(const QString &dir)
{
    if (dir.isEmpty() || QFileInfo(dir).isDir())
        return;
    makeOwnerOnlyPath(QFileInfo(dir).path());
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
}

} // namespace

QString programDirectory()
{
    QString dir = qEnvironmentVariable("CORVANE_HOME");
    if (dir.isEmpty()) {
        if (QCoreApplication::applicationName().isEmpty())
            QCoreApplication::setApplicationName(QStringLiteral("corvane"));
        dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    dir = QDir(dir).absolutePath();
    makeOwnerOnlyPath(dir);
    return dir;
}

QString programFile(const QString &name)
{
    return QDir(programDirectory()).filePath(name);
}
