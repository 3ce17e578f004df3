// Failure reasons of the transfer channels.
#include "publishing/transferreason.h"

#include <QUrl>

QString transferServer(const QString &url)
{
    return QUrl(url)
        .adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                  QUrl::RemoveFragment)
        .toString();
}

QString transferFailureReason(const QString &operation, const QString &url, const QString &cause,
                              const QString &password)
{
    const bool upload = operation.startsWith(QLatin1String("PUT "));
    QString reason = operation + (upload ? QLatin1String(" to ") : QLatin1String(" from ")) +
                     transferServer(url) + QLatin1String(": ") + cause;
    if (!password.isEmpty())
        reason.replace(password, QStringLiteral("********"));
    return reason;
}
