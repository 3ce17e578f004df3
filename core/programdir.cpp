// The program directory.
#include "programdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString programDirectory()
{
    QString dir = qEnvironmentVariable("CORVANE_HOME");
    if (dir.isEmpty()) {
        if (QCoreApplication::applicationName().isEmpty())
            QCoreApplication::setApplicationName(QStringLiteral("corvane"));
        dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QDir().mkpath(dir);
    return QDir(dir).absolutePath();
}

QString programFile(const QString &name)
{
    return QDir(programDirectory()).filePath(name);
}
