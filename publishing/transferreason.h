// The line that says why a transfer failed: the operation, the server and the cause.
#pragma once

#include <QString>

// "PUT page.html index.html to ftp://host:21: Login denied: Access denied: 530". The server
// is the scheme, host and port of `url`, without any user or password written into it.
// Every occurrence of `password` is masked, whatever the cause or the names hold.
QString transferFailureReason(const QString &operation, const QString &url, const QString &cause,
                              const QString &password);

// "ftp://host:21": the scheme, host and port of `url`, without user or password.
QString transferServer(const QString &url);
