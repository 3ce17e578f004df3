// Starting an operation: the easy handle's options for limits and trust, and the callbacks
// curl makes with the data, which count it against the cap.
#include "publishing/curltransferchannel_p.h"

#include "publishing/transferoperation.h"
#include "publishing/transferreason.h"

#include <sys/socket.h>

namespace {

QString tooLongCause(qint64 maxBytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    const QString size = maxBytes > 0 && maxBytes % mebibyte == 0
                             ? QStringLiteral("%1 MiB").arg(maxBytes / mebibyte)
                             : QStringLiteral("%1 bytes").arg(maxBytes);
    return QStringLiteral("the reply is longer than the %1 allowed").arg(size);
}

} // namespace

bool CurlTransferChannel::Private::start(const TransferOperation &op, const QString &text)
{
    ++serial;
    busy = true;
    lastState = 0;
    lastError.clear();
    cause.clear();
    operationText = text;
    received.clear();
    receivedTotal = 0;
    readPos = 0;
    errorBuffer[0] = 0;
    uploading = op.kind == TransferOperation::Put;
    url = uploading ? uploadUrl(host, port, op.remotePath, op.localFile)
                    : downloadUrl(host, port, op.remotePath);

    post(TransferState::Resolving);
    if (uploading) {
        upload.setFileName(op.localFile);
        if (!upload.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("cannot read the local file"));
            return true;
        }
        uploadSize = upload.size();
    }
    urlBytes = url.toUtf8();
    userBytes = userName.toUtf8();
    passwordBytes = password.toUtf8();

    easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, this);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // No limit on the whole transfer, which may be a long one on a slow line; a dead
    // line or a silent server is caught by these.
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, long(limits.connectSeconds));
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(limits.serverResponseSeconds));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, long(limits.lowSpeedBytesPerSecond));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(limits.lowSpeedSeconds));
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Private::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    // One connection per operation, closed at its end, as the disconnect states report.
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    // Credentials go in their own options, never in a URL that could be printed.
    if (!userName.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, userBytes.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, passwordBytes.constData());
    }
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L); // feeds onDebug only; nothing is printed
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &Private::onDebug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Private::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Private::onWrite);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    if (uploading) {
        curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, &Private::onRead);
        curl_easy_setopt(easy, CURLOPT_READDATA, this);
        curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(uploadSize));
        // STOR gets the remote name as written, with no change of folder first.
        curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &Private::onSocketOpened);
        curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, this);
    } else {
        // Refused at once when the server announces a longer reply.
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxReceivedBytes));
        // An error page is not a forecast.
        curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (!applyTrust()) {
        stopTransfer();
        return true;
    }
    curl_multi_add_handle(multi, easy);
    return true;
}

// False, with the operation failed, when the trust asked for cannot be given.
bool CurlTransferChannel::Private::applyTrust()
{
    // Certificates are checked by default; said here so that nothing turns it off unseen.
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!trust.caFile.isEmpty()) {
        caFileBytes = QFile::encodeName(trust.caFile);
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFileBytes.constData());
    }
    if (!trust.pinnedKey.isEmpty()) {
        pinnedKeyBytes = trust.pinnedKey.toLatin1();
        curl_easy_setopt(easy, CURLOPT_PINNEDPUBLICKEY, pinnedKeyBytes.constData());
        if (trust.caFile.isEmpty()) {
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
        }
    }
    const bool ssh = url.startsWith(QLatin1String("sftp://"), Qt::CaseInsensitive) ||
                     url.startsWith(QLatin1String("scp://"), Qt::CaseInsensitive);
    if (!ssh)
        return true;
    if (trust.knownHostsFile.isEmpty()) {
        fail(QStringLiteral("no known_hosts file to check the host key against"));
        return false;
    }
    knownHostsBytes = QFile::encodeName(trust.knownHostsFile);
    curl_easy_setopt(easy, CURLOPT_SSH_KNOWNHOSTS, knownHostsBytes.constData());
    curl_easy_setopt(easy, CURLOPT_SSH_KEYFUNCTION, &Private::onHostKey);
    curl_easy_setopt(easy, CURLOPT_SSH_KEYDATA, this);
    return true;
}

void CurlTransferChannel::Private::fail(const QString &why)
{
    lastError = transferFailureReason(operationText, url, why, password);
    received.clear(); // a cut-off reply is no reply
    readPos = 0;
    post(TransferState::Error);
}

void CurlTransferChannel::Private::failWith(CURLcode result)
{
    if (result == CURLE_FILESIZE_EXCEEDED) {
        fail(tooLongCause(limits.maxReceivedBytes));
    } else if (!cause.isEmpty()) {
        fail(cause);
    } else {
        // curl's name for the error, then its details, unless they already hold it.
        const QString name = QString::fromUtf8(curl_easy_strerror(result));
        const QString details = QString::fromUtf8(errorBuffer).trimmed();
        if (details.isEmpty())
            fail(name);
        else
            fail(details.contains(name) ? details : name + QLatin1String(": ") + details);
    }
}

bool CurlTransferChannel::Private::takeReceived(size_t bytes)
{
    receivedTotal += qint64(bytes);
    if (receivedTotal <= limits.maxReceivedBytes)
        return true;
    cause = tooLongCause(limits.maxReceivedBytes);
    return false; // curl ends the transfer with a write error
}

size_t CurlTransferChannel::Private::onWrite(char *data, size_t size, size_t count, void *userp)
{
    auto *d = static_cast<Private *>(userp);
    if (!d->takeReceived(size * count))
        return 0;
    d->received.append(data, qsizetype(size * count));
    d->post(TransferState::RequestSent);
    d->post(TransferState::Receiving);
    return size * count;
}

size_t CurlTransferChannel::Private::onHeader(char *, size_t size, size_t count, void *userp)
{
    return static_cast<Private *>(userp)->takeReceived(size * count) ? size * count : 0;
}

int CurlTransferChannel::Private::onSocketOpened(void *userp, curl_socket_t socket, curlsocktype)
{
    // Keeps the kernel from queueing more of an upload than a slow line clears before
    // the server's final reply is due; curl's progress then follows the line.
    const int bytes = static_cast<Private *>(userp)->limits.sendBufferBytes;
    if (bytes > 0)
        ::setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
    return CURL_SOCKOPT_OK;
}

int CurlTransferChannel::Private::onHostKey(CURL *, const curl_khkey *, const curl_khkey *,
                                            curl_khmatch match, void *userp)
{
    auto *d = static_cast<Private *>(userp);
    switch (match) {
    case CURLKHMATCH_OK:
        return CURLKHSTAT_FINE;
    case CURLKHMATCH_MISSING:
        // Trust on first use, said aloud; curl writes the key to the file.
        d->note(QStringLiteral("Corvane recorded the host key of %1 on first contact.")
                    .arg(transferServer(d->url)));
        return CURLKHSTAT_FINE_ADD_TO_FILE;
    case CURLKHMATCH_MISMATCH:
        d->cause = QStringLiteral("host key changed");
        return CURLKHSTAT_REJECT;
    default:
        d->cause = QStringLiteral("the host key could not be checked");
        return CURLKHSTAT_REJECT;
    }
}

size_t CurlTransferChannel::Private::onRead(char *buffer, size_t size, size_t count, void *userp)
{
    auto *d = static_cast<Private *>(userp);
    const qint64 n = d->upload.read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}
