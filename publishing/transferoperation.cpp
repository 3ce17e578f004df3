// Operation texts and transfer URLs.
#include "publishing/transferoperation.h"

#include <QFileInfo>
#include <QUrl>

TransferOperation parseTransferOperation(const QString &text)
{
    TransferOperation op;
    if (text.startsWith(QLatin1String("GET "))) {
        op.kind = TransferOperation::Get;
        op.remotePath = text.mid(4);
        return op;
    }
    if (!text.startsWith(QLatin1String("PUT ")))
        return op;
    const QString rest = text.mid(4);
    qsizetype split = -1;
    for (qsizetype i = rest.indexOf(QLatin1Char(' ')); i >= 0;
         i = rest.indexOf(QLatin1Char(' '), i + 1)) {
        if (split < 0)
            split = i;
        if (QFileInfo(rest.left(i)).isFile()) {
            split = i;
            break;
        }
    }
    if (split <= 0)
        return op; // a PUT needs both names
    op.kind = TransferOperation::Put;
    op.localFile = rest.left(split);
    op.remotePath = rest.mid(split + 1);
    return op;
}

namespace {

// The scheme-and-authority part: "ftp://host:21".
QString baseUrl(const QString &host, int port, const char *plainScheme, int plainPort)
{
    QString base = host.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const bool hasScheme = base.contains(QLatin1String("://"));
    if (!hasScheme)
        base = QLatin1String(plainScheme) + QLatin1String("://") + base;
    const bool hostHasPort = QUrl(base).port() != -1;
    if (!hostHasPort && port > 0 && (!hasScheme || port != plainPort))
        base += QLatin1Char(':') + QString::number(port);
    return base;
}

} // namespace

QString uploadUrl(const QString &host, int port, const QString &remotePath,
                  const QString &localFile)
{
    const QString base = baseUrl(host, port, "ftp", 21);
    QString remote = remotePath;
    if (remote.isEmpty() || remote.endsWith(QLatin1Char('/')))
        remote += QFileInfo(localFile).fileName();
    const bool absolute = remote.startsWith(QLatin1Char('/'));
    const QByteArray encoded = QUrl::toPercentEncoding(absolute ? remote.mid(1) : remote, "/");
    QString path;
    if (base.startsWith(QLatin1String("sftp://"), Qt::CaseInsensitive) ||
        base.startsWith(QLatin1String("scp://"), Qt::CaseInsensitive)) {
        // SSH paths in a URL start at the root; "~" is the login folder.
        path =
            (absolute ? QLatin1String("/") : QLatin1String("/~/")) + QString::fromLatin1(encoded);
    } else {
        // FTP paths in a URL are relative to the login folder; "%2F" makes one absolute.
        path =
            (absolute ? QLatin1String("/%2F") : QLatin1String("/")) + QString::fromLatin1(encoded);
    }
    return base + path;
}

QString downloadUrl(const QString &host, int port, const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char(' '), QLatin1String("%20"));
    if (!p.startsWith(QLatin1Char('/')))
        p.prepend(QLatin1Char('/'));
    return baseUrl(host, port, "http", 80) + p;
}
