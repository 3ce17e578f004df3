// Port numbers to device paths.
#include "acquisition/serialport.h"

#include "core/regularfile.h"

#include <QDir>

QHash<int, QString> parsePortMap(QByteArrayView bytes)
{
    QHash<int, QString> devices;
    // `k=/dev/...` lines; anything else (blank lines, comments) is passed over, and a later
    // line for the same port replaces an earlier one.
    for (QByteArrayView rest = bytes; !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView raw = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        bool ok = false;
        const int number = line.left(equals).trimmed().toInt(&ok);
        const QString path = line.mid(equals + 1).trimmed();
        if (ok && !path.isEmpty())
            devices.insert(number, path);
    }
    return devices;
}

PortMap readPortMap(const QString &programDir)
{
    const RegularFileRead file =
        readRegularFile(QDir(programDir).filePath(QStringLiteral("Ports.cfg")), SettingsFileLimit);
    if (!file.ok())
        return {{}, file.missing ? QString() : file.error};
    return {parsePortMap(file.bytes), {}};
}

QString devicePathForPort(int port, const QString &programDir)
{
    if (port < 1)
        return {};
    const QString mapped = readPortMap(programDir).devices.value(port);
    return mapped.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(port - 1) : mapped;
}
