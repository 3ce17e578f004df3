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
    // Unbuffered, so that a short write (disk full, size limit) shows in write()'s result:
    // a buffered QSaveFile commits a truncated page as if all were well.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.error = out.errorString();
        return result;
    }
    const QByteArray bytes = page.toLatin1();
    if (out.write(bytes) != bytes.size()) {
        result.error =
            QStringLiteral("the page could not be written whole: %1").arg(out.errorString());
        out.cancelWriting();
        out.commit(); // discards the temporary file
        return result;
    }
    if (!out.commit()) {
        result.error = out.errorString();
        return result;
    }
    result.written = true;
    return result;
}
