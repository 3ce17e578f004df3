// Page files: delete-first, read, expand, write whole.
#include "publishing/renderpage.h"

#include <QFile>
#include <QSaveFile>

QString readLatin1File(const QString &path, bool *ok)
{
    QFile file(path);
    const bool opened = !path.isEmpty() && file.open(QIODevice::ReadOnly);
    QByteArray bytes;
    bool good = opened;
    if (opened) {
        bytes = file.readAll();
        good = file.error() == QFileDevice::NoError;
    }
    if (ok)
        *ok = good;
    return good ? QString::fromLatin1(bytes) : QString();
}

RenderResult RenderPage(const QString &templatePath, const QString &outputPath, bool deleteFirst,
                        const TokenValues &values)
{
    RenderResult result;
    if (deleteFirst && !outputPath.isEmpty() && QFile::exists(outputPath))
        QFile::remove(outputPath);

    const QString text = readLatin1File(templatePath, &result.templateRead);
    const QString page = ExpandTemplateText(text, values) + QLatin1String("\r\n");

    if (outputPath.isEmpty()) {
        result.error = QStringLiteral("no output file is configured");
        return result;
    }
    // Written beside the target and renamed into place, so a failed write never leaves a
    // half page behind.
    QSaveFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly)) {
        result.error = out.errorString();
        return result;
    }
    out.write(page.toLatin1());
    if (!out.commit()) {
        result.error = out.errorString();
        return result;
    }
    result.written = true;
    return result;
}
