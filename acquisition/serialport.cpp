// Port numbers to device paths.
#include "acquisition/serialport.h"

#include <QDir>
#include <QFile>

QString devicePathForPort(int port, const QString &programDir)
{
    if (port < 1)
        return {};
    QString mapped;
    QFile file(QDir(programDir).filePath(QStringLiteral("Ports.cfg")));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // `k=/dev/...` lines; anything else (blank lines, comments) is passed over, and
        // a later line for the same port replaces an earlier one.
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            const int equals = line.indexOf(QLatin1Char('='));
            if (equals <= 0)
                continue;
            bool ok = false;
            const int number = line.left(equals).trimmed().toInt(&ok);
            const QString path = line.mid(equals + 1).trimmed();
            if (ok && number == port && !path.isEmpty())
                mapped = path;
        }
    }
    return mapped.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(port - 1) : mapped;
}
