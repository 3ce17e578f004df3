// The operation texts of the transfer channels and the URLs they become.
#pragma once

#include <QString>

struct TransferOperation
{
    enum Kind { Invalid, Put, Get };
    Kind kind = Invalid;
    QString localFile;  // Put
    QString remotePath; // Put: the remote file as given; Get: the path
};

// "PUT <local> <remote>" or "GET <path>". Both file names of a PUT may hold blanks: the
// local file ends at the first blank where the text before it names an existing file,
// or else at the first blank.
TransferOperation parseTransferOperation(const QString &text);

// The URL of an upload: `host` is a name or address, or a URL with its own scheme
// ("ftps://", "sftp://"), which is kept. The port is added unless the host names one,
// or names a scheme and the port is the plain FTP one (21). The remote file is passed as
// written: relative to the login folder, or from the root when it starts with "/". A
// remote name ending in "/" (or none) means the local file's name in that folder.
QString uploadUrl(const QString &host, int port, const QString &remotePath,
                  const QString &localFile);

// The URL of a download: the same host rules with 80 as the plain port; the path is put
// after the host as written, with a "/" in front when it has none.
QString downloadUrl(const QString &host, int port, const QString &path);
