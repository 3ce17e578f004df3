// Reading and writing the chosen fax device.
#include "fax/faxconfig.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QString faxConfigPath(const QString &programDir)
{
    return QDir(programDir).filePath(QStringLiteral("FaxConfig.cfg"));
}

std::optional<int> readFaxConfig(const QString &programDir)
{
    QFile file(faxConfigPath(programDir));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The file is one short line; a larger one is not ours, and its first line is enough.
    QByteArray line = file.readLine(64);
    const qsizetype end = line.indexOf(',');
    if (end >= 0)
        line.truncate(end);
    bool ok = false;
    const int value = line.trimmed().toInt(&ok);
    return ok ? value : 0;
}

FaxResult writeFaxConfig(const QString &programDir, std::optional<int> index)
{
    QSaveFile file(faxConfigPath(programDir));
    if (!file.open(QIODevice::WriteOnly))
        return FaxResult::failure(file.errorString());
    QByteArray line = index ? QByteArray::number(*index) : QByteArray();
    file.write(line + "\r\n");
    if (!file.commit())
        return FaxResult::failure(file.errorString());
    return FaxResult::success();
}
