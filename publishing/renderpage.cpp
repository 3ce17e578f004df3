// Page files: delete-first, read, expand, write whole.
#include "publishing/renderpage.h"

#include "core/regularfile.h"

#include <QFile>
#include <QSaveFile>

RenderResult RenderPage(const QString &templatePath, const QString &outputPath, bool deleteFirst,
                        const TokenValues &values)
{
    RenderResult result;
    if (deleteFirst && !outputPath.isEmpty() && QFile::exists(outputPath))
        QFile::remove(outputPath);

    const RegularFileRead templ = readRegularFile(templatePath, TemplateFileLimit);
    result.templateRead = templ.ok();
    result.templateError = templ.error;

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
    const auto write = [&out](QByteArrayView piece) {
        return out.write(piece.data(), piece.size()) == piece.size();
    };
    const bool whole = out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther) &&
                       ExpandTemplateBytes(templ.bytes, values, write) && write("\r\n");
    if (!whole) {
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
