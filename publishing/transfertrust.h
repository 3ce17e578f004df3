// Whom an encrypted transfer may talk to.
#pragma once

#include <QString>

// Certificates are always verified against the system's CAs unless this says otherwise.
struct TransferTrust
{
    // SFTP: the OpenSSH known_hosts file. A host not in it is added on first contact; a
    // host whose key differs is refused. Without one, SFTP is refused.
    QString knownHostsFile;
    // TLS: the CA (PEM) to verify certificates against instead of the system's.
    QString caFile;
    // TLS: "sha256//BASE64[;...]", the server's public key. A pin alone is the whole
    // check: a home server's self-signed certificate passes when its key is the pinned
    // one. With a CA file as well, both must hold.
    QString pinnedKey;
};
